// The picture set: every name the show loads is there, in the right format, and layered slides are real
// layers (opaque bases, transparent overlays).
#include <gtest/gtest.h>

#include <cmath>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "image_io.h"
#include "picture_asset.h"
#include "support/file_text.h"

using namespace zelFramework::content;

namespace {

std::map<std::string, PictureAsset> picturesByPath()
{
    std::map<std::string, PictureAsset> byPath;
    for (PictureAsset& a : allPictures())
        byPath.emplace(a.path, a);
    return byPath;
}

Image paint(const std::string& path)
{
    auto all = picturesByPath();
    auto it = all.find(path);
    return it == all.end() ? Image() : it->second.paint();
}

float fractionWithAlpha(const Image& img, bool (*test)(float))
{
    size_t n = 0;
    for (const Rgba& p : img.pixels)
        n += test(p.a);
    return img.pixels.empty() ? 0.0f : static_cast<float>(n) / img.pixels.size();
}

bool opaque(float a) { return a >= 0.999f; }
bool clear(float a) { return a <= 0.001f; }

}  // namespace

// Whether these are the pictures the show and the editor load is checked where they load them: the
// whole show and the editor's run on the built resources fail on any missing picture's warning.
TEST(PictureSet, PaintsEachNameOnceInTheFormatItsNameSays)
{
    auto all = allPictures();
    std::set<std::string> seen;
    for (const PictureAsset& a : all) {
        EXPECT_TRUE(seen.insert(a.path).second) << "painted twice: " << a.path;
        std::string ext = a.path.substr(a.path.rfind('.') + 1);
        std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
        EXPECT_EQ(ext == "jpg", a.kind == FileKind::Jpeg) << a.path;
        EXPECT_EQ(a.path.find('\\'), std::string::npos) << a.path;
    }
}

TEST(PictureSet, SlideBasesAreOpaqueAndOverlaysLetTheLayersBeneathShow)
{
    for (const char* base : {"00-Generic/kvt_generic_l1.png", "01-LunavexTestimage/lunavex_l1.png",
                             "04-KVTLogo/kvt_logo_slide_l1.png", "Endscreen/endscreen_l1.png"}) {
        Image img = paint(base);
        ASSERT_GT(img.width, 0) << base;
        EXPECT_GT(fractionWithAlpha(img, opaque), 0.999f) << base;
    }
    for (const char* overlay : {"00-Generic/kvt_generic_l2.png", "00-Generic/kvt_generic_l3.png",
                                "01-LunavexTestimage/lunavex_l2.png", "02-KVTTestimage/kvt_testimage_l1.png",
                                "03-KVTMessage/message_slide_l3.png", "06-MessageForYou/message_for_you_l1.png",
                                "Endscreen/endscreen_l3.png", "Endscreen/endscreen_l5.png", "stormhalo.png",
                                "ArenaBuildup/02-bring-you.png", "screen4_1.png"}) {
        Image img = paint(overlay);
        ASSERT_GT(img.width, 0) << overlay;
        float c = fractionWithAlpha(img, clear);
        EXPECT_GT(c, 0.3f) << overlay << " hides too much of the layers beneath";
        EXPECT_LT(c, 0.999f) << overlay << " is empty";
    }
}

TEST(PictureSet, FullPictureLayersHaveTheShowsAspectAndTheVignetteDarkensOnlyTheEdges)
{
    for (const char* path : {"loading.jpg", "01-LunavexTestimage/lunavex_l3.png", "Endscreen/endscreen_l4.png"}) {
        Image img = paint(path);
        EXPECT_NEAR(static_cast<float>(img.width) / img.height, 2.28f, 0.01f) << path;
    }
    Image v = paint("vignette.png");
    ASSERT_GT(v.width, 0);
    EXPECT_LT(v.at(v.width / 2, v.height / 2).a, 0.01f);
    EXPECT_GT(v.at(0, 0).a, 0.5f);
    EXPECT_GT(v.at(v.width - 1, v.height - 1).a, 0.5f);
}

TEST(PictureSet, EditorButtonsAreDistinctIconsOnTransparentCorners)
{
    std::vector<Image> buttons;
    for (const char* b : {"linear", "smoothstep", "exponential", "minexponential", "man-valzero", "man-zeroval"}) {
        Image img = paint(std::string("editor/button-") + b + ".png");
        ASSERT_EQ(img.width, 64) << b;
        EXPECT_LT(img.at(0, 0).a, 0.01f) << b;
        EXPECT_GT(img.at(32, 32).a, 0.99f) << b;
        buttons.push_back(img);
    }
    for (size_t a = 0; a < buttons.size(); ++a)
        for (size_t b = a + 1; b < buttons.size(); ++b) {
            float diff = 0;
            for (size_t i = 0; i < buttons[a].pixels.size(); ++i)
                diff += std::fabs(buttons[a].pixels[i].r - buttons[b].pixels[i].r);
            EXPECT_GT(diff, 20.0f) << "buttons " << a << " and " << b << " look the same";
        }
}

// The pictures as the build laid them out: every file is there and decodes, and painting again gives the
// very same bytes.
TEST(PictureFiles, TheBuiltResourcesHoldEveryPictureByteForByte)
{
    std::filesystem::path resources(ORVO_RESOURCES_DIR);
    if (!std::filesystem::exists(resources / ".pictures.stamp"))
        GTEST_SKIP() << "resources not built";
    for (const PictureAsset& a : allPictures()) {
        std::filesystem::path file = resources / a.path;
        ASSERT_TRUE(std::filesystem::exists(file)) << a.path;
        if (a.kind != FileKind::Jpeg) {
            Image img;
            EXPECT_TRUE(readPng(file.string(), img)) << a.path;
        }
    }
    auto dir = std::filesystem::temp_directory_path() / "orvo-pictures-again";
    for (const char* path : {"grading/grading_nfl.png", "lunavex-logo.png", "tvscreen-2.jpg", "editor/button-record.png"}) {
        auto all = picturesByPath();
        const PictureAsset& a = all.at(path);
        Image img = a.paint();
        ASSERT_TRUE(writePicture(dir.string(), a, img)) << path;
        EXPECT_EQ(orvotest::fileText(dir / path), orvotest::fileText(resources / path)) << path << " differs from the built file";
    }
    std::filesystem::remove_all(dir);
}
