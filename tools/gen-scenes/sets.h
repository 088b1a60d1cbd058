// Every set of the show, one builder each. A builder returns the finished description; writing it
// (and its pictures) is the caller's.
#pragma once

#include <string>
#include <vector>

#include "set_description.h"

namespace zelFramework::scenegen {

struct TitleText {
    std::string fileName;
    std::string line1, line2;
    uint32_t accent;  // 0xRRGGBB of the letters
};

// The five feature titles in show order.
std::vector<TitleText> featureTitles();

SetDescription buildTitleScene(const TitleText& title, int index);
SetDescription buildLogoScene();
SetDescription buildIntroScene();
SetDescription buildArenaTunnelScene();
SetDescription buildTunnelScene();
SetDescription buildStadiumScene();

}  // namespace zelFramework::scenegen
