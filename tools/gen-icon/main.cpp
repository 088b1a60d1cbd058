// gen-icon: paints the program's desktop icon, the show's event mark on a rounded night tile.
//   gen-icon OUTPUT.png [SIZE]     (SIZE in pixels, 16 to 1024, default 256)
// The same size always gives the same bytes, like every other generated picture.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

#include "brand.h"
#include "image_io.h"
#include "tool_usage.h"

using namespace zelFramework::content;

namespace {

Image paintIcon(int size) {
    const float s = float(size);
    Image img(size, size);
    fillRoundRect(img, s * 0.03f, s * 0.03f, s * 0.94f, s * 0.94f, s * 0.18f,
                  linearGradient({0, 0}, palette::violet, {0, s}, palette::night));
    drawStormhaloMark(img, s * 0.5f, s * 0.5f, s * 0.33f);
    clampAll(img);
    return img;
}

bool parseSize(const char* text, int& size) {
    const char* end = text + std::strlen(text);
    const auto [ptr, ec] = std::from_chars(text, end, size);
    return ec == std::errc() && ptr == end && size >= 16 && size <= 1024;
}

}  // namespace

int main(int argc, char** argv) {
    int size = 256;
    const bool help = zelFramework::toolfiles::helpRequested(argc, argv);
    if (help || argc < 2 || argc > 3 || (argc == 3 && !parseSize(argv[2], size)))
        return zelFramework::toolfiles::printUsage("usage: gen-icon OUTPUT.png [SIZE from 16 to 1024]\n", help);
    if (!writePng(argv[1], paintIcon(size), PngChannels::Rgba)) return 1;  // writePng said why
    return 0;
}
