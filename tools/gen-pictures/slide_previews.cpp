#include "slide_previews.h"

#include <cstdio>

#include "brand.h"
#include "image_io.h"

namespace zelFramework::content {

namespace {

constexpr int kPreviewW = 1280, kPreviewH = 561;  // the smallest picture the show is judged at

struct PreviewLayer {
    const char* path;
    bool mirrored = false;
    float x = 0, y = 0, w = 1, h = 1;  // placement as fractions of the picture
    float opacity = 1;
};

Image stack(const std::string& dir, const std::vector<PreviewLayer>& layers)
{
    Image frame(kPreviewW, kPreviewH, rgb(0.05f, 0.05f, 0.06f));
    for (const PreviewLayer& layer : layers) {
        Image img;
        if (!readPng(dir + "/" + layer.path, img)) {
            std::fprintf(stderr, "preview: cannot read %s\n", layer.path);
            continue;
        }
        if (layer.mirrored)
            img = flippedVertically(img);
        int w = static_cast<int>(layer.w * kPreviewW), h = static_cast<int>(layer.h * kPreviewH);
        compose(frame, resized(img, w, h), static_cast<int>(layer.x * kPreviewW), static_cast<int>(layer.y * kPreviewH),
                layer.opacity);
    }
    return frame;
}

const PreviewLayer kGeneric1{"00-Generic/kvt_generic_l1.png", true};
const PreviewLayer kGeneric2{"00-Generic/kvt_generic_l2.png", true};
const PreviewLayer kGeneric3{"00-Generic/kvt_generic_l3.png"};

}  // namespace

std::vector<ContactSheetEntry> slidePreviews(const std::string& dir)
{
    struct Named {
        const char* label;
        std::vector<PreviewLayer> layers;
    };
    const std::vector<Named> slides = {
        {"preview: arena title 1 + corner logo", {{"ArenaBuildup/01-logos.png"},
                                                  {"lunavex-logo.png", true, 1664 / 1920.f, 1 - 86 / 842.f, 256 / 1920.f, 86 / 842.f}}},
        {"preview: host band (upper half)", {{"gralle.png", true, 0, 0, 1, 0.5f}}},
        {"preview: event logo", {{"stormhalo.png"}}},
        {"preview: slide 1", {{"01-LunavexTestimage/lunavex_l1.png"}, {"01-LunavexTestimage/lunavex_l2.png"},
                              {"01-LunavexTestimage/lunavex_l3.png"}}},
        {"preview: slide 2", {kGeneric1, kGeneric2, kGeneric3, {"02-KVTTestimage/kvt_testimage_l1.png", false, 0, 0, 1, 1, 0.7f},
                              {"02-KVTTestimage/kvt_testimage_l2.png"},
                              {"02-KVTTestimage/kvt_testimage_l3.png", true, 0.28f, 0, 0.44f, 1}}},
        {"preview: slide 3", {kGeneric1, kGeneric2, kGeneric3, {"03-KVTMessage/message_slide_l1.png", false, 0.0f, -0.06f, 0.6f, 1.1f},
                              {"03-KVTMessage/message_slide_l2.png", false, 0.04f, 0.19f, 0.43f, 0.6f},
                              {"03-KVTMessage/message_slide_l3.png"}, {"03-KVTMessage/message_slide_l4.png"}}},
        {"preview: slide 4", {{"04-KVTLogo/kvt_logo_slide_l1.png"}, kGeneric2, kGeneric3, {"04-KVTLogo/kvt_logo_slide_l2.png"}}},
        {"preview: slide 5", {kGeneric1, kGeneric2, kGeneric3, {"05-Credits/groups_slide_l1.png", false, -0.3f, 0.05f, 1.6f, 0.9f},
                              {"05-Credits/groups_slide_l2.png", false, 0, 0, 1, 1, 0.8f}}},
        {"preview: slide 6", {kGeneric1, kGeneric2, kGeneric3, {"06-MessageForYou/message_for_you_l1.png"}}},
        {"preview: end screen", {{"Endscreen/endscreen_l1.png"}, {"Endscreen/endscreen_l2.png", true, 0.45f, 0.45f, 0.9f, 1.6f},
                                 {"Endscreen/endscreen_l3.png"}, {"Endscreen/endscreen_l4.png"},
                                 {"Endscreen/endscreen_l6.png"}}},
        {"preview: end screen, last", {{"Endscreen/endscreen_l1.png"}, {"Endscreen/endscreen_l3.png"},
                                       {"Endscreen/endscreen_l4.png"}, {"Endscreen/endscreen_l5.png"}}},
        {"preview: tunnel stand 3", {{"tv_background_details.png", false, 0.2f, 0.05f, 0.6f, 0.9f},
                                     {"screen2_0.png", false, 0.2f, 0.05f, 0.6f, 0.9f},
                                     {"screen2_1.png", false, 0.2f, 0.05f, 0.6f, 0.9f}}},
    };
    std::vector<ContactSheetEntry> out;
    for (const Named& s : slides)
        out.push_back({s.label, stack(dir, s.layers)});
    return out;
}

}  // namespace zelFramework::content
