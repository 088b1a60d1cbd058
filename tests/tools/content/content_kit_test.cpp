// The drawing kit the picture generator is built on: compositing, shapes, text and the file writers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <vector>

#include "brand.h"
#include "draw.h"
#include "image_io.h"
#include "text.h"
#include "support/file_text.h"

using namespace zelFramework::content;

namespace {

using orvotest::fileText;

float alphaSum(const Image& img)
{
    float sum = 0;
    for (const Rgba& p : img.pixels)
        sum += p.a;
    return sum;
}

std::filesystem::path tempDir()
{
    auto dir = std::filesystem::temp_directory_path() / ("orvo-content-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    return dir;
}

}  // namespace

TEST(ContentCompositing, BlendingKeepsStraightAlphaColours)
{
    Image img(2, 1);
    // Half-transparent red over nothing stays pure red at half alpha (no darkening by the empty pixel).
    blendPixel(img, 0, 0, rgb(1, 0, 0, 0.5f), 1.0f);
    EXPECT_FLOAT_EQ(img.at(0, 0).r, 1.0f);
    EXPECT_FLOAT_EQ(img.at(0, 0).a, 0.5f);
    // The same over opaque blue mixes half and half and becomes opaque.
    img.at(1, 0) = rgb(0, 0, 1, 1);
    blendPixel(img, 1, 0, rgb(1, 0, 0, 0.5f), 1.0f);
    EXPECT_NEAR(img.at(1, 0).r, 0.5f, 1e-6);
    EXPECT_NEAR(img.at(1, 0).b, 0.5f, 1e-6);
    EXPECT_FLOAT_EQ(img.at(1, 0).a, 1.0f);
    // Writes outside the picture are ignored, not out-of-bounds.
    blendPixel(img, -1, 0, rgb(1, 1, 1), 1.0f);
    blendPixel(img, 2, 5, rgb(1, 1, 1), 1.0f);
}

TEST(ContentShapes, AreasMatchGeometryWithSoftEdges)
{
    Image circle(100, 100);
    fillCircle(circle, 50, 50, 30, solid(rgb(1, 1, 1)));
    EXPECT_NEAR(alphaSum(circle), 3.14159f * 30 * 30, 30.0f);
    // The edge is anti-aliased: some pixels are partly covered.
    int partial = 0;
    for (const Rgba& p : circle.pixels)
        partial += (p.a > 0.05f && p.a < 0.95f);
    EXPECT_GT(partial, 50);

    Image square(40, 40);
    fillPolygon(square, {{10, 10}, {30, 10}, {30, 30}, {10, 30}}, solid(rgb(1, 1, 1)));
    EXPECT_NEAR(alphaSum(square), 400.0f, 2.0f);
    // A bow-tie polygon: even-odd filling covers both triangles, no more.
    Image bow(40, 40);
    fillPolygon(bow, {{0, 0}, {40, 40}, {40, 0}, {0, 40}}, solid(rgb(1, 1, 1)));
    EXPECT_NEAR(alphaSum(bow), 800.0f, 20.0f);

    Image line(50, 10);
    drawLine(line, {5, 5}, {45, 5}, 2, solid(rgb(1, 1, 1)));
    EXPECT_NEAR(alphaSum(line), 40 * 2 + 3.14159f, 4.0f);
}

TEST(ContentShapes, FlipAndResizeKeepContent)
{
    Image img(8, 6);
    img.at(1, 0) = rgb(1, 0, 0);
    Image flipped = flippedVertically(img);
    EXPECT_FLOAT_EQ(flipped.at(1, 5).r, 1.0f);
    EXPECT_FLOAT_EQ(flippedVertically(flipped).at(1, 0).r, 1.0f);

    Image grey(64, 32, rgb(0.25f, 0.5f, 0.75f));
    Image small = resized(grey, 8, 4);
    for (const Rgba& p : small.pixels) {
        EXPECT_NEAR(p.r, 0.25f, 1e-4);
        EXPECT_NEAR(p.b, 0.75f, 1e-4);
    }
    // Transparent neighbours do not darken an opaque colour when shrinking.
    Image half(4, 4);
    fillRect(half, 0, 0, 2, 4, solid(rgb(1, 1, 1)));
    Image one = resized(half, 1, 1);
    EXPECT_NEAR(one.at(0, 0).r, 1.0f, 1e-4);
    EXPECT_NEAR(one.at(0, 0).a, 0.5f, 0.05f);
}

TEST(ContentText, SetsInkWhereTheLayoutSays)
{
    TextStyle style{Face::SansBold, 40, 0, Align::Left};
    float width = measureText("ARENA", style);
    EXPECT_GT(width, 80.0f);
    EXPECT_GT(measureText("ARENA ARENA", style), 2 * width);
    Image img(400, 80);
    EXPECT_FLOAT_EQ(drawText(img, "ARENA", 20, 60, style, solid(rgb(1, 1, 1))), width);
    // All ink lies inside the advance box (with a pixel of slack) and above the baseline.
    int minX = 400, maxX = -1, maxY = -1;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            if (img.at(x, y).a > 0.1f) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                maxY = std::max(maxY, y);
            }
    EXPECT_GE(minX, 19);
    EXPECT_LE(maxX, 20 + static_cast<int>(width) + 1);
    EXPECT_LE(maxY, 61);
    EXPECT_GT(alphaSum(img), 200.0f);

    // Centred text has its ink balanced about the anchor.
    Image centred(400, 80);
    TextStyle c = style;
    c.align = Align::Centre;
    drawText(centred, "OHO", 200, 60, c, solid(rgb(1, 1, 1)));
    double moment = 0, mass = 0;
    for (int y = 0; y < centred.height; ++y)
        for (int x = 0; x < centred.width; ++x) {
            moment += centred.at(x, y).a * (x + 0.5);
            mass += centred.at(x, y).a;
        }
    EXPECT_NEAR(moment / mass, 200.0, 3.0);

    // fitSize never returns a size whose text is wider than asked.
    float fitted = fitSize("A LONG LINE OF TEXT", style, 150);
    EXPECT_LT(fitted, 40.0f);
    EXPECT_LE(measureText("A LONG LINE OF TEXT", TextStyle{Face::SansBold, fitted, 0, Align::Left}), 150.0f);
}

TEST(ContentFiles, PngRoundTripsAndEveryWriterIsRepeatable)
{
    auto dir = tempDir();
    Image img(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            img.at(x, y) = rgb(x / 4.0f, y / 2.0f, 0.3f, (x + y) / 6.0f);
    ASSERT_TRUE(writePng((dir / "sub/a.png").string(), img, PngChannels::Rgba));
    Image back;
    ASSERT_TRUE(readPng((dir / "sub/a.png").string(), back));
    ASSERT_EQ(back.width, 5);
    ASSERT_EQ(back.height, 3);
    for (size_t i = 0; i < img.pixels.size(); ++i) {
        EXPECT_EQ(toByte(back.pixels[i].r), toByte(img.pixels[i].r));
        EXPECT_EQ(toByte(back.pixels[i].a), toByte(img.pixels[i].a));
    }
    // An RGB file reads back opaque.
    ASSERT_TRUE(writePng((dir / "rgb.png").string(), img, PngChannels::Rgb));
    ASSERT_TRUE(readPng((dir / "rgb.png").string(), back));
    EXPECT_FLOAT_EQ(back.at(0, 0).a, 1.0f);

    // Same picture, same bytes: nothing time-dependent goes into the files.
    ASSERT_TRUE(writePng((dir / "b.png").string(), img, PngChannels::Rgba));
    EXPECT_EQ(fileText(dir / "sub/a.png"), fileText(dir / "b.png"));
    ASSERT_TRUE(writeJpeg((dir / "a.jpg").string(), img, 90));
    ASSERT_TRUE(writeJpeg((dir / "b.jpg").string(), img, 90));
    auto jpeg = fileText(dir / "a.jpg");
    ASSERT_GT(jpeg.size(), 4u);
    EXPECT_EQ(static_cast<unsigned char>(jpeg[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(jpeg[1]), 0xD8);
    EXPECT_EQ(jpeg, fileText(dir / "b.jpg"));

    // A folder that cannot be created or a missing file is a failure, not a crash.
    EXPECT_FALSE(writePng((dir / "rgb.png" / "x.png").string(), img, PngChannels::Rgb));
    EXPECT_FALSE(readPng((dir / "missing.png").string(), back));
    std::filesystem::remove_all(dir);
}
