// The show's curves as authored: each label once with its keys in order, and values that make sense at the
// moments the show depends on.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "sync/controller_set.h"
#include "sync/sync_data.h"
#include "sync/sync_text.h"
#include "support/file_text.h"

using namespace zelFramework;

namespace {

class ShowCurves : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string text = orvotest::fileText(std::string(ORVO_SOURCE_DIR) + "/content/sync/demosynch.txt");
        ASSERT_FALSE(text.empty());
        std::string problem;
        ASSERT_TRUE(parseSyncText(text, data, problem)) << problem;
        applySyncData(data, set);
    }

    float at(const char* name, float seconds)
    {
        set.update(seconds);
        return set.get(name)->value;
    }

    SyncData data;
    ControllerSet set;
};

}  // namespace

TEST_F(ShowCurves, AuthorEachLabelOnceWithKeysInTimeOrder)
{
    std::set<std::string> names;
    for (const SyncControllerRecord& c : data.controllers) {
        EXPECT_TRUE(names.insert(c.controllerName()).second) << "twice: " << c.controllerName();
        EXPECT_FALSE(c.keys.empty()) << c.controllerName();
        for (size_t i = 1; i < c.keys.size(); ++i)
            EXPECT_LT(c.keys[i - 1].time, c.keys[i].time) << c.controllerName() << " key " << i;
    }
    // Whether these are the names the layers read is checked against the list the show writes of its
    // reads (the show_curves_check test), not against a copy kept here.
}

TEST_F(ShowCurves, FadeFromAndToBlackWithFlashesOnTheBigHits)
{
    EXPECT_FLOAT_EQ(at("ZEL: To Black", 0.0f), 1.0f);
    EXPECT_FLOAT_EQ(at("ZEL: To Black", 20.0f), 0.0f);
    EXPECT_FLOAT_EQ(at("ZEL: To Black", 195.0f), 1.0f);
    EXPECT_FLOAT_EQ(at("ZEL: To Black", 124.138f), 0.0f);
    EXPECT_FLOAT_EQ(at("ZEL: To White", 124.138f), 1.0f);
    EXPECT_FLOAT_EQ(at("ZEL: To White", 41.291f), 1.0f);
    EXPECT_FLOAT_EQ(at("ZEL: To White", 90.0f), 0.0f);
}

TEST_F(ShowCurves, QuietMomentsAreNeutralAndGlitchesBurstOnlyOnCuts)
{
    for (float t : {20.0f, 90.0f, 140.0f}) {
        for (const char* name : {"ZEL: Blackpoint", "ZEL: Brightness", "ZEL: To White", "ZEL: Gamma",
                                 "Glitch: intensity", "Swoosh Wipe", "Logo Stripe 1", "Logo Stripe 2", "Logo Stripe 3"})
            EXPECT_FLOAT_EQ(at(name, t), 0.0f) << name << " at " << t;
    }
    for (float cut : {35.833f, 57.583f, 76.916f, 124.138f, 173.852f})
        EXPECT_GT(at("Glitch: intensity", cut), 0.9f) << cut;
    // The glitch pattern seed moves on every frame-ish (a new pattern each 1/30 s).
    EXPECT_GE(at("Glitch: rand", 10.0f) * 30.0f - at("Glitch: rand", 9.9f) * 30.0f, 2.9f);
}

TEST_F(ShowCurves, SceneAndOverlayCuesFallWhereTheShowNeedsThem)
{
    EXPECT_FLOAT_EQ(at("FadeOutLights", 90.0f), 0.0f);
    EXPECT_FLOAT_EQ(at("FadeOutLights", 112.0f), 1.0f);
    EXPECT_FLOAT_EQ(at("Tunnel goto C64", 150.0f), 0.0f);
    EXPECT_FLOAT_EQ(at("Tunnel goto C64", 173.0f), 1.0f);  // fully over before the end screen covers the tunnel
    // The four arena titles come one after another during the intro, never two at full at once.
    const char* titles[] = {"Logo Build 1", "Logo Build 2", "Logo Build 3", "Logo Fade In"};
    for (float t = 0; t < 35.833f; t += 0.25f) {
        int full = 0;
        for (const char* title : titles) {
            float v = at(title, t);
            EXPECT_GE(v, 0.0f);
            EXPECT_LE(v, 1.0f);
            full += v > 0.99f;
        }
        EXPECT_LE(full, 1) << t;
    }
    for (const char* title : titles)
        EXPECT_FLOAT_EQ(at(title, 35.833f), 0.0f) << title;
    EXPECT_GT(at("TV Logo", 90.0f), 0.5f);
    EXPECT_FLOAT_EQ(at("TV Logo", 118.0f), 0.0f);  // the build-up slides carry their own frame
    EXPECT_FLOAT_EQ(at("TV Logo", 180.0f), 0.0f);
    // Intro glow is scaled by 80 in its layer: keep it small there.
    EXPECT_LT(at("RE:Glow Intensity", 20.0f) * 80.0f, 2.0f);
}

TEST_F(ShowCurves, TheBuiltSyncFileIsTheTextCompiled)
{
    const std::string file = orvotest::fileText(std::string(ORVO_RESOURCES_DIR) + "/data/demosynch.dat");
    if (file.empty())
        GTEST_SKIP() << "resources not built";
    const std::vector<uint8_t> built(file.begin(), file.end());
    EXPECT_EQ(built, serializeSyncData(data));
    // And the show's own loader takes it whole.
    ControllerSet fromFile;
    ASSERT_TRUE(fromFile.loadFromBytes(built, "demosynch.dat"));
    EXPECT_EQ(fromFile.count(), data.controllers.size());
}
