// Names that do nothing: in the sync data but read by no layer, or read but absent, with the nearest
// name of the other side.
#include <gtest/gtest.h>

#include "support/trace_capture.h"
#include "sync/beat_grid.h"
#include "sync/controller_check.h"
#include "sync/controller_set.h"
#include "sync/sync_data.h"

namespace zelFramework {
namespace {

TEST(ControllerCheck, DistancesCountEditsAndSwaps) {
    EXPECT_EQ(nameDistance("ZEL: Contrast", "ZEL: Contrast"), 0u);
    EXPECT_EQ(nameDistance("ZEL: Contrst", "ZEL: Contrast"), 1u);
    EXPECT_EQ(nameDistance("ZEL: Cnotrast", "ZEL: Contrast"), 1u);  // two neighbours swapped
    EXPECT_EQ(nameDistance("", "abc"), 3u);
    EXPECT_EQ(nameDistance("kitten", "sitting"), 3u);
    EXPECT_EQ(nearestName("ZEL: Contrst", {"ZEL: Gamma", "ZEL: Contrast", "ZEL: Contras"}), "ZEL: Contrast");
    EXPECT_EQ(nearestName("Logo Stripe 1", {"ZEL: Gamma"}), "");  // nothing close: no guess
}

TEST(ControllerCheck, ATypoIsReportedBothWaysWithTheOtherName) {
    const ControllerCheck check =
        checkControllerNames({"ZEL: Gamma", "ZEL: Contrst", "Spare"}, {"ZEL: Gamma", "ZEL: Contrast", "TNL:Zoom"});
    ASSERT_EQ(check.unread.size(), 2u);
    EXPECT_EQ(check.unread[0].name, "ZEL: Contrst");
    EXPECT_EQ(check.unread[0].nearest, "ZEL: Contrast");
    EXPECT_EQ(didYouMean(check.unread[0]), " (did you mean \"ZEL: Contrast\"?)");
    EXPECT_EQ(check.unread[1].name, "Spare");
    EXPECT_EQ(didYouMean(check.unread[1]), "");
    ASSERT_EQ(check.missing.size(), 2u);
    EXPECT_EQ(check.missing[0].name, "ZEL: Contrast");
    EXPECT_EQ(check.missing[0].nearest, "ZEL: Contrst");
    EXPECT_EQ(check.missing[1].name, "TNL:Zoom");
    EXPECT_TRUE(checkControllerNames({"a", "a"}, {"a"}).unread.empty());
}

TEST(ControllerCheck, TheLoadedSetWarnsAboutNamesNoLayerAskedFor) {
    ControllerSet set;
    SyncData data;
    data.controllers.push_back({"ZEL: Contrst", {{0.0f, 0.1f, 0, 0}}});
    data.controllers.push_back({"ZEL: Gamma", {{0.0f, 1.0f, 0, 0}}});
    data.controllers.push_back({BEAT_GRID_CONTROLLER, {{0.0f, 120.0f, 0, 0}}});  // the editor's, not a layer's
    applySyncData(data, set);
    {
        orvotest::TraceCapture quiet;
        traceControllerCheck(set);  // no layer has asked yet: nothing to compare with
        EXPECT_EQ(quiet.text(), "");
    }
    set.get("ZEL: Gamma");
    set.get("ZEL: Contrast");
    EXPECT_TRUE(set.requestedAt(1) && set.fromFileAt(1));
    EXPECT_FALSE(set.requestedAt(0));
    EXPECT_FALSE(set.fromFileAt(3));
    orvotest::TraceCapture capture;
    traceControllerCheck(set);
    EXPECT_NE(capture.text().find("WARNING (syncData): the sync data's controller \"ZEL: Contrst\" is read by no layer "
                                  "(did you mean \"ZEL: Contrast\"?)"),
              std::string::npos)
        << capture.text();
    EXPECT_NE(capture.text().find("INFO (syncData): 1 controller(s) read by the layers have no keys"), std::string::npos);
    EXPECT_EQ(capture.text().find(BEAT_GRID_CONTROLLER), std::string::npos);
}

TEST(BeatGridTest, StoredTempoAndNearestBeats) {
    ControllerSet set;
    EXPECT_FALSE(storedBeatGrid(set));
    Controller* c = set.getForFile(BEAT_GRID_CONTROLLER);
    c->addKey(0.5f, 120.0f);
    const std::optional<BeatGrid> grid = storedBeatGrid(set);
    ASSERT_TRUE(grid);
    EXPECT_FLOAT_EQ(grid->beatLength(), 0.5f);
    EXPECT_FLOAT_EQ(grid->nearestBeat(10.2f), 10.0f);
    EXPECT_FLOAT_EQ(grid->nearestBeat(10.3f), 10.5f);
    EXPECT_FLOAT_EQ(grid->nearestBeat(-0.1f), 0.0f);
    c->keys[0].value = 5000.0f;  // not a tempo
    EXPECT_FALSE(storedBeatGrid(set));
    EXPECT_FLOAT_EQ(BeatGrid{}.nearestBeat(3.3f), 3.3f);
}

}  // namespace
}  // namespace zelFramework
