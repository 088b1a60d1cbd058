// A full-screen pattern of blocky grey and magenta dropout cells, like a broken compressed video
// stream. The generator is reseeded with a fixed seed every frame, so every frame is the same picture.
#pragma once

#include <array>
#include <cstdint>

#include "runtime/layer_base.h"

namespace zelFramework {

constexpr int DV_COLUMNS = 80;
constexpr int DV_ROWS = 160;
constexpr int DV_CELLS = DV_COLUMNS * DV_ROWS;

using DvCells = std::array<uint8_t, DV_CELLS>;

// Fills the grid from the process-wide generator (seeded with 1 first): scattered cells with a shade
// seed, then runs smeared to the right of some of them. Never writes outside the grid.
void buildDvPattern(DvCells& cells);

struct DvCellColour {
    float r, g, b;
};
// The colour of a cell of value v (not 0): a grey from the generator seeded with v, or magenta.
DvCellColour dvCellColour(uint8_t v);

class Layer_DVGlitch : public Layer_Base {
public:
    bool init(GL_TextureManager*, ControllerSet*) override { return true; }
    void setTime(const LayerTime& t) override { time = t.time; }
    void render() override;
    void release() override {}

    const DvCells& pattern() const { return cells; }

private:
    float time = 0.0f;
    DvCells cells{};
};

}  // namespace zelFramework
