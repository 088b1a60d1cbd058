// An editor save writes the curves into their source text and into the binary; a build of that text
// then gives the same keys, and the text keeps every comment.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/trace_capture.h"
#include "sync/controller_set.h"
#include "sync/snapshots.h"
#include "sync/sync_data.h"
#include "sync/sync_source.h"
#include "sync/sync_text.h"
#include "sync_test_support.h"
#include "support/file_text.h"

namespace zelFramework {
namespace {

using orvotest::fileText;

namespace fs = std::filesystem;

std::vector<std::string> commentLines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.find('#') != std::string::npos) out.push_back(line.substr(line.find('#')));
    return out;
}

// What the build makes of a text: the same steps as `orvo-sync build`.
std::vector<uint8_t> buildText(const std::string& text) {
    SyncData data;
    std::string problem;
    EXPECT_TRUE(parseSyncText(text, data, problem)) << problem;
    return serializeSyncData(data);
}

// Keys, curves and ends of every controller with keys, as a set loaded from `bytes` holds them.
std::string keysOf(const std::vector<uint8_t>& bytes) {
    ControllerSet set;
    EXPECT_TRUE(set.loadFromBytes(bytes, "test"));
    std::ostringstream out;
    for (uint32_t i = 0; i < set.count(); ++i) {
        const Controller& c = *set.at(i);
        if (c.keys.empty()) continue;
        out << c.name << ":";
        for (size_t k = 0; k < c.keys.size(); ++k) {
            out << " " << c.keys[k].time << "=" << c.keys[k].value;
            if (k > 0) out << "/" << c.segments[k - 1].curve << c.segments[k - 1].ends;
        }
        out << "\n";
    }
    return out.str();
}

class SyncSourceTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(folder.path / "data");
        fs::create_directories(folder.path / "content");
        original = fileText(std::string(ORVO_SOURCE_DIR) + "/content/sync/demosynch.txt");
        ASSERT_FALSE(original.empty());
        text = folder.path / "content" / "demosynch.txt";
        std::ofstream(text, std::ios::binary) << original;
        std::ofstream(folder.path / "data" / "demosynch.source") << text.string() << "\n";
        const std::vector<uint8_t> built = buildText(original);
        synctest::writeBytes(folder.path / "data" / "demosynch.dat", built);
        fs::current_path(folder.path);
        ASSERT_TRUE(set.load(SYNC_DATA_FILE));
    }
    void TearDown() override { fs::current_path(previous); }

    fs::path previous = fs::current_path();
    synctest::ScratchFolder folder;
    std::string original;
    fs::path text;
    ControllerSet set;
};

TEST_F(SyncSourceTest, ASaveFollowedByABuildGivesTheSameKeysAndKeepsTheComments) {
    Controller* white = set.get("ZEL: Whitepoint");
    ASSERT_GE(white->keys.size(), 7u);
    white->keys[6].value = -0.3f;
    white->addKey(180.0f, 0.05f);
    set.get("Glitch: rand")->keys.back().value = 250.0f;
    Controller* added = set.get("A controller of our own");
    added->addKey(1.0f, 2.0f);
    added->addKey(3.0f, -4.0f);

    const CurveSaveReport report = saveShowCurves(set);
    EXPECT_TRUE(report.textSaved) << report.message;
    EXPECT_TRUE(report.binarySaved);
    EXPECT_EQ(report.textPath, text.string());
    const std::string saved = fileText(text);
    EXPECT_NE(saved, original);
    EXPECT_EQ(commentLines(saved), commentLines(original));
    EXPECT_GE(commentLines(original).size(), 49u);
    // The clean build: the text alone gives what the editor saved.
    const std::vector<uint8_t> binary = synctest::readBytes(folder.path / "data" / "demosynch.dat");
    EXPECT_EQ(keysOf(buildText(saved)), keysOf(binary));
    EXPECT_NE(keysOf(buildText(saved)).find("A controller of our own: 1=2 3=-4/11"), std::string::npos);
    // The binary is the newer file, so a build that follows has nothing to redo.
    EXPECT_GE(fs::last_write_time(folder.path / "data" / "demosynch.dat"), fs::last_write_time(text));
    // Saving again without edits changes nothing in the text.
    saveShowCurves(set);
    EXPECT_EQ(fileText(text), saved);
}

// The author edited the text after the last build; the show still holds the older keys. The save
// writes the show's keys, but the author's text survives whole beside it.
TEST_F(SyncSourceTest, ATextEditedSinceTheBuildIsKeptBeforeTheSaveWritesOverIt) {
    const std::string edited = original + "\n# an edit the build has not seen\ncontroller \"Hand written\"\n    2   0.5\n";
    std::ofstream(text, std::ios::binary) << edited;
    fs::last_write_time(text, fs::last_write_time(folder.path / "data" / "demosynch.dat") + std::chrono::seconds(5));
    set.get("ZEL: Whitepoint")->keys[0].value = 0.25f;

    orvotest::TraceCapture capture;
    const CurveSaveReport report = saveShowCurves(set);
    EXPECT_TRUE(report.textSaved) << report.message;
    const fs::path copy = text.string() + ".before-save";
    EXPECT_EQ(fileText(copy), edited);
    EXPECT_NE(report.message.find("kept in " + copy.string()), std::string::npos) << report.message;
    EXPECT_NE(capture.text().find("WARNING (syncData): save:"), std::string::npos) << capture.text();
    // Blocks the show does not hold stay in the text too.
    EXPECT_NE(fileText(text).find("controller \"Hand written\""), std::string::npos);

    // A second save finds the text older than the binary it wrote: no new copy is taken.
    fs::remove(copy);
    EXPECT_EQ(saveShowCurves(set).message.find("kept in"), std::string::npos);
    EXPECT_FALSE(fs::exists(copy));
}

TEST_F(SyncSourceTest, WithoutAWritableSourceTheBinaryIsSavedAndTheReasonTold) {
    set.get("ZEL: Whitepoint")->keys[0].value = 0.5f;
    fs::remove(folder.path / "data" / "demosynch.source");
    {
        orvotest::TraceCapture capture;
        const CurveSaveReport report = saveShowCurves(set);
        EXPECT_FALSE(report.textSaved);
        EXPECT_TRUE(report.binarySaved);
        EXPECT_NE(report.message.find("no record of the source text"), std::string::npos) << report.message;
        EXPECT_NE(capture.text().find("WARNING (syncData): save: NOT saved"), std::string::npos) << capture.text();
    }
    EXPECT_EQ(fileText(text), original);
    ControllerSet reloaded;
    ASSERT_TRUE(reloaded.load(SYNC_DATA_FILE));
    EXPECT_EQ(reloaded.get("ZEL: Whitepoint")->keys[0].value, 0.5f);

    // A recorded text that is not there, or does not parse, is not written either.
    std::ofstream(folder.path / "data" / "demosynch.source") << (folder.path / "gone.txt").string() << "\n";
    orvotest::TraceCapture capture;
    CurveSaveReport report = saveShowCurves(set);
    EXPECT_FALSE(report.textSaved);
    EXPECT_NE(report.message.find("gone.txt"), std::string::npos) << report.message;
    std::ofstream(text, std::ios::binary) << "controller \"x\"\n    1\n";
    std::ofstream(folder.path / "data" / "demosynch.source") << text.string() << "\n";
    report = saveShowCurves(set);
    EXPECT_FALSE(report.textSaved);
    EXPECT_NE(report.message.find("does not read as sync text"), std::string::npos) << report.message;
    EXPECT_EQ(fileText(text), "controller \"x\"\n    1\n");
    EXPECT_TRUE(report.binarySaved);
}

}  // namespace
}  // namespace zelFramework
