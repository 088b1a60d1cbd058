// Every set of the show, one builder each. A builder returns the finished description; writing it
// (and its pictures) is the caller's.
#pragma once

#include <string>
#include <vector>

#include "scene_spec.h"

namespace zelFramework::scenegen {

struct TitleText {
    std::string fileName;
    std::string line1, line2;
    uint32_t accent;  // 0xRRGGBB of the letters
};

// The five feature titles in show order.
std::vector<TitleText> featureTitles();

SceneSpec buildTitleScene(const TitleText& title, int index);
SceneSpec buildLogoScene();
SceneSpec buildIntroScene();
SceneSpec buildArenaTunnelScene();
SceneSpec buildTunnelScene();
SceneSpec buildStadiumScene();

}  // namespace zelFramework::scenegen
