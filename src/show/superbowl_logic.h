// The stadium's time rules, as plain functions: camera flashes, the fading stand lights, the video on
// the two characters and the phases of the studio light.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "renderengine/scene_records.h"
#include "show/flash_table.h"

namespace zelFramework {

constexpr float STADIUM_CHARACTERS_FROM = 87.946f;  // characters and pale blue studio light after this
constexpr float STADIUM_LIGHTS_OUT_FROM = 102.709f;  // no flashes, red pulsing light after this
constexpr float STADIUM_VIDEO_FROM = 82.6918f;
constexpr int STADIUM_FLASHES = 400;
constexpr int STADIUM_FLASH_RANGE = 11000;  // flashes pick among the table's first 11000 points
constexpr int VIDEO_FIRST_IMAGE = 58;
constexpr int VIDEO_LAST_IMAGE = 174;
constexpr int VIDEO_IMAGE_COUNT = VIDEO_LAST_IMAGE - VIDEO_FIRST_IMAGE + 1;

// The 400 flashes at scene time S into `out` (emptied first). Reseeds the process-wide generator
// 20 times a second. A flash whose point lies beyond a short table is left out.
void stadiumFlashes(float sceneSeconds, const std::vector<FlashPoint>& table, std::vector<RenderEngine::Flare>& out);

// The brightness factor of stand light i (0..6) as "FadeOutLights" runs from 0 to 1: the lights go
// out one after the other, each flickering as it goes.
float stadiumLightFactor(int i, float fade);

// The video image number on the characters at show time T (58..174, then random ones from 151 to 173),
// or 0 before the video starts. Draws from the process-wide generator once the sequence has run out.
int stadiumVideoImage(float T);

// The characters' pictures in the order their texture plays them: the still they wear before the
// video starts (image 1), then the video's images VIDEO_FIRST_IMAGE .. VIDEO_LAST_IMAGE.
std::vector<std::string> stadiumVideoFiles();
// Where the file of video image `image` (a stadiumVideoImage result other than 0) is in that list.
size_t stadiumVideoFileIndex(int image);

enum class StudioPhase { Stands, Characters, LightsOut };
StudioPhase studioPhase(float T);

// The red pulse of the studio light after the lights went out, scaled by 1 - fade.
std::array<float, 3> studioPulseColour(float sceneSeconds, float fade);

}  // namespace zelFramework
