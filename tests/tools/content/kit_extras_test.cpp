// Seeded randomness and the review page: the parts of the kit whose faults would show only as a changed or
// broken picture set.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "contact_sheet.h"
#include "image_io.h"
#include "noise.h"

using namespace zelFramework::content;

TEST(ContentNoise, SeededSequencesRepeatAndStayInRange)
{
    Rng a(42), b(42), c(43);
    int differences = 0, buckets[10] = {};
    for (int i = 0; i < 10000; ++i) {
        float x = a.uniform();
        EXPECT_EQ(x, b.uniform());
        differences += x != c.uniform();
        ASSERT_GE(x, 0.0f);
        ASSERT_LT(x, 1.0f);
        ++buckets[static_cast<int>(x * 10)];
        int k = a.below(7);
        b.below(7);
        ASSERT_GE(k, 0);
        ASSERT_LT(k, 7);
    }
    EXPECT_GT(differences, 9900);
    for (int n : buckets)
        EXPECT_NEAR(n, 1000, 150);  // roughly even
    EXPECT_EQ(Rng(1).below(0), 0);
}

TEST(ContentNoise, ValueNoiseIsSmoothAndTilesWithItsPeriod)
{
    for (float y : {0.25f, 3.5f, 7.75f})
        for (float x : {0.1f, 2.6f, 5.3f}) {
            float v = valueNoise(x, y, 9, 8);
            EXPECT_NEAR(v, valueNoise(x + 8, y, 9, 8), 1e-6);
            EXPECT_NEAR(v, valueNoise(x, y - 8, 9, 8), 1e-6);
            EXPECT_GE(v, 0.0f);
            EXPECT_LT(v, 1.0f);
            // Small steps give small changes: no jumps at lattice lines.
            EXPECT_NEAR(v, valueNoise(x + 0.01f, y, 9, 8), 0.05f);
            float f = fractalNoise(x, y, 4, 9, 8);
            EXPECT_NEAR(f, fractalNoise(x + 8, y, 4, 9, 8), 1e-5);
        }
    EXPECT_NE(valueNoise(1.5f, 1.5f, 1), valueNoise(1.5f, 1.5f, 2));
}

TEST(ContactSheet, ThumbnailsFitTheirCellsAndThePageHoldsEveryEntry)
{
    Image wide(1920, 842, rgb(1, 0, 0));
    Image thumb = thumbnailOf(wide, true);
    EXPECT_LE(thumb.width, 200);
    EXPECT_LE(thumb.height, 110);
    EXPECT_NEAR(static_cast<float>(thumb.width) / thumb.height, 2.28f, 0.05f);
    Image large = thumbnailOf(wide, true, true);
    EXPECT_GT(large.width, 2 * thumb.width);

    // A transparent picture shows the checkerboard through, an opaque one does not.
    Image clear(64, 64);
    Image checked = thumbnailOf(clear, false);
    float minR = 1, maxR = 0;
    for (const Rgba& p : checked.pixels) {
        minR = std::min(minR, p.r);
        maxR = std::max(maxR, p.r);
    }
    EXPECT_GT(maxR - minR, 0.05f);

    std::vector<ContactSheetEntry> entries;
    for (int i = 0; i < 10; ++i)
        entries.push_back({"picture " + std::to_string(i), thumb});
    entries.push_back({"preview", large, true});
    auto path = std::filesystem::temp_directory_path() / "orvo-contact-sheet-test.png";
    ASSERT_TRUE(writeContactSheet(path.string(), entries));
    Image sheet;
    ASSERT_TRUE(readPng(path.string(), sheet));
    // One row of large previews and two rows of eight small cells, under the title.
    EXPECT_EQ(sheet.width, 8 * (200 + 8) + 8);
    EXPECT_GT(sheet.height, large.height + 2 * 110);
    std::filesystem::remove(path);
}
