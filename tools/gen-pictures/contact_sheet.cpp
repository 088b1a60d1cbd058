#include "contact_sheet.h"

#include <algorithm>
#include <cmath>

#include "draw.h"
#include "image_io.h"
#include "text.h"

namespace zelFramework::content {

namespace {

constexpr int kCellW = 200;
constexpr int kCellH = 110;
constexpr int kLabelH = 26;
constexpr int kColumns = 8;
constexpr int kLargeColumns = 4;
constexpr int kPad = 8;
constexpr int kLargeW = (kColumns * (kCellW + kPad) - kPad - (kLargeColumns - 1) * kPad) / kLargeColumns;
constexpr int kLargeH = static_cast<int>(kLargeW / 2.28f);

struct Grid {
    int columns, cellW, cellH;
};

}  // namespace

Image thumbnailOf(const Image& img, bool opaque, bool large)
{
    float cw = large ? kLargeW : kCellW, ch = large ? kLargeH : kCellH;
    float scale = std::min(cw / img.width, ch / img.height);
    int w = std::max(1, static_cast<int>(img.width * scale)), h = std::max(1, static_cast<int>(img.height * scale));
    Image small = resized(img, w, h);
    Image out(w, h);
    // A checkerboard shows where a layer is transparent.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float check = ((x / 8 + y / 8) % 2) ? 0.32f : 0.22f;
            out.at(x, y) = rgb(check, check, check);
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgba p = small.at(x, y);
            if (opaque)
                p.a = 1;
            blendPixel(out, x, y, p, 1.0f);
        }
    return out;
}

namespace {

// Lays out one group of entries as a grid from y, returns the y below it.
int placeGrid(Image* sheet, const std::vector<const ContactSheetEntry*>& entries, Grid grid, int y)
{
    int rows = static_cast<int>((entries.size() + grid.columns - 1) / grid.columns);
    if (sheet)
        for (size_t i = 0; i < entries.size(); ++i) {
            int col = static_cast<int>(i % grid.columns), row = static_cast<int>(i / grid.columns);
            int x = kPad + col * (grid.cellW + kPad), top = y + row * (grid.cellH + kLabelH + kPad);
            const Image& t = entries[i]->thumbnail;
            compose(*sheet, t, x + (grid.cellW - t.width) / 2, top + (grid.cellH - t.height) / 2);
            TextStyle label{Face::Sans, 12, 0, Align::Left};
            label.size = fitSize(entries[i]->label, label, grid.cellW);
            drawText(*sheet, entries[i]->label, x, top + grid.cellH + 18, label, solid(rgb(0.85f, 0.85f, 0.9f)));
        }
    return y + rows * (grid.cellH + kLabelH + kPad);
}

}  // namespace

bool writeContactSheet(const std::string& path, const std::vector<ContactSheetEntry>& entries)
{
    std::vector<const ContactSheetEntry*> large, small;
    for (const ContactSheetEntry& e : entries)
        (e.large ? large : small).push_back(&e);
    const Grid largeGrid{kLargeColumns, kLargeW, kLargeH}, smallGrid{kColumns, kCellW, kCellH};
    int top = 40 + kPad;
    int height = placeGrid(nullptr, small, smallGrid, placeGrid(nullptr, large, largeGrid, top)) + kPad;
    int w = kColumns * (kCellW + kPad) + kPad;
    Image sheet(w, height, rgb(0.09f, 0.09f, 0.11f));
    TextStyle title{Face::SansBold, 22, 0, Align::Left};
    drawText(sheet, "Show pictures (tools/gen-pictures): composed slides first, then every file", kPad, 30, title,
             solid(rgb(1, 1, 1)));
    placeGrid(&sheet, small, smallGrid, placeGrid(&sheet, large, largeGrid, top));
    clampAll(sheet);
    return writePng(path, sheet, PngChannels::Rgb);
}

}  // namespace zelFramework::content
