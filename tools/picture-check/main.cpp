// picture-check FILE.png ...: for each frame the number of isolated bright and dark pixels (a pixel
// whose luma differs from all 8 neighbours by more than 0.25 the same way) and the sharpness of the
// focus region, then the totals. Used on frames of --capture to find sparkle and dot clusters that a
// viewer sees as faults, and a blur where the depth of field should keep the picture in focus.
#include <cstdio>
#include <cstring>
#include <string>

#include "image_io.h"
#include "picture_metrics.h"

int main(int argc, char** argv) {
    using namespace zelFramework::content;
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::printf("usage: picture-check FILE.png ...\n"
                    "prints per file the isolated bright and dark pixels (luma beyond all 8 neighbours by\n"
                    "more than 0.25) and the focus region's sharpness (mean absolute Laplacian of the luma\n"
                    "over the centre fifth of the width by the middle third of the height), then the totals\n");
        return argc < 2 ? 2 : 0;
    }
    size_t bright = 0, dark = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        Image img;
        if (!readPng(argv[i], img)) {
            std::fprintf(stderr, "picture-check: %s: not a readable PNG picture\n", argv[i]);
            ok = false;
            continue;
        }
        const IsolatedPixels n = countIsolatedPixels(img);
        std::printf("%s bright=%zu dark=%zu sharpness=%.4f\n", argv[i], n.bright, n.dark, focusSharpness(img));
        bright += n.bright;
        dark += n.dark;
    }
    std::printf("total bright=%zu dark=%zu\n", bright, dark);
    return ok ? 0 : 1;
}
