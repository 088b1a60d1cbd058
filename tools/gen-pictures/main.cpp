// gen-pictures: paints every picture of the show into a resources folder.
//   gen-pictures OUTPUT_DIR [--contact-sheet FILE.png] [--only SUBSTRING]
// The output is byte-identical from run to run: no clock, no unseeded randomness, fixed encoder settings.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "brand.h"
#include "contact_sheet.h"
#include "image_io.h"
#include "picture_asset.h"
#include "slide_previews.h"
#include "tool_usage.h"

using namespace zelFramework::content;

int main(int argc, char** argv)
{
    const bool help = zelFramework::toolfiles::helpRequested(argc, argv);
    if (help || argc < 2)
        return zelFramework::toolfiles::printUsage(
            "usage: gen-pictures OUTPUT_DIR [--contact-sheet FILE.png] [--only SUBSTRING]\n", help);
    std::string outDir = argv[1];
    std::string sheetPath, only;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--contact-sheet") == 0)
            sheetPath = argv[i + 1];
        else if (std::strcmp(argv[i], "--only") == 0)
            only = argv[i + 1];
    }

    auto started = std::chrono::steady_clock::now();
    std::vector<ContactSheetEntry> sheet;
    int failures = 0, written = 0;
    for (const PictureAsset& asset : allPictures()) {
        if (!only.empty() && asset.path.find(only) == std::string::npos)
            continue;
        Image img = asset.paint();
        if (!writePicture(outDir, asset, img)) {
            ++failures;
            continue;
        }
        ++written;
        if (!sheetPath.empty())
            sheet.push_back({asset.path, thumbnailOf(asset.storedMirrored ? flippedVertically(img) : img, asset.kind != FileKind::PngRgba)});
    }
    if (!sheetPath.empty()) {
        std::string previewDir = sheetPath + ".previews";
        for (ContactSheetEntry& preview : slidePreviews(outDir)) {
            std::string file = previewDir + "/" + std::to_string(sheet.size()) + ".png";
            writePng(file, preview.thumbnail, PngChannels::Rgb);  // full-size copies for close review
            sheet.push_back({preview.label, thumbnailOf(preview.thumbnail, true, true), true});
        }
        if (!writeContactSheet(sheetPath, sheet))
            ++failures;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("gen-pictures: %d pictures written to %s in %.1f s\n", written, outDir.c_str(), seconds);
    return failures == 0 ? 0 : 1;
}
