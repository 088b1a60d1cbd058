// The sync data file: the stored bytes, the loading rules, refusal of damaged files and safe saving.
#include <gtest/gtest.h>

#include "support/trace_capture.h"
#include "sync/controller_set.h"
#include "sync/file_io.h"
#include "sync/sync_data.h"
#include "sync_test_support.h"

using namespace zelFramework;
using namespace synctest;

namespace {

// "fade": keys (0, 0) and (2, 1), the segment smoothstep/valval.
const std::vector<uint8_t> FADE_FILE = {
    0x01, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x66, 0x61, 0x64, 0x65, 0x00, 0x02,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x40, 0x00, 0x00, 0x80, 0x3F, 0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};

std::vector<uint8_t> savedBytes(const ControllerSet& set) { return serializeSyncData(syncDataFromSet(set)); }

// A set with a bit of everything, to compare before and after a refused load.
void fillSample(ControllerSet& set) {
    Controller* a = set.get("ZEL: Gamma");
    a->addKey(0.0f, 0.5f);
    a->addKey(2.0f, 1.0f);
    a->segments[0] = {CURVE_MINEXPONENTIAL, ENDS_ONEVAL};
    a->value = 0.75f;
    set.get("RE:DOF Radius")->addKey(1.0f, 3.0f);
    set.get("empty");
}

}  // namespace

TEST(SyncFile, SavesAndLoadsTheDocumentedBytes) {
    ScratchFolder dir;
    ControllerSet set;
    Controller* fade = set.get("fade");
    fade->addKey(0.0f, 0.0f);
    fade->addKey(2.0f, 1.0f);
    fade->segments[0].curve = CURVE_SMOOTHSTEP;
    ASSERT_TRUE(set.save(dir.file("demosynch.dat")));
    EXPECT_EQ(readBytes(dir.file("demosynch.dat")), FADE_FILE);
    EXPECT_FALSE(std::filesystem::exists(dir.file("demosynch.dat.saving")));

    ControllerSet loaded;
    ASSERT_TRUE(loaded.loadFromBytes(FADE_FILE, "fade"));
    EXPECT_EQ(savedBytes(loaded), FADE_FILE);

    // An empty set is a zero count; loading it leaves the controllers it does not name alone.
    ASSERT_TRUE(ControllerSet().save(dir.file("empty.dat")));
    EXPECT_EQ(readBytes(dir.file("empty.dat")), (std::vector<uint8_t>{0, 0, 0, 0}));
    ASSERT_TRUE(set.load(dir.file("empty.dat")));
    EXPECT_EQ(fade->keys.size(), 2u);
}

TEST(SyncFile, ReloadKeepsCodesAndControllerIdentity) {
    ScratchFolder dir;
    ControllerSet set;
    fillSample(set);
    Controller* odd = set.get("Glitch: intensity");
    for (float t : {0.0f, 1.0f, 2.0f, 3.0f}) odd->addKey(t, t * 0.5f);
    odd->segments[0] = {0, ENDS_ZEROZERO};  // a 0 code in memory reloads as the default
    odd->segments[1] = {CURVE_EXPONENTIAL, 0};
    odd->segments[2] = {77, -3};  // unknown codes survive as they are
    ASSERT_TRUE(set.save(dir.file("s.dat")));
    Controller* gamma = set.get("ZEL: Gamma");
    gamma->addKey(5.0f, 0.0f);  // an edit since the save
    Controller* layerOnly = set.get("TNL:Zoom");
    layerOnly->addKey(0.0f, 2.0f);

    ASSERT_TRUE(set.load(dir.file("s.dat")));
    EXPECT_EQ(set.get("ZEL: Gamma"), gamma);
    EXPECT_EQ(gamma->keys.size(), 2u);  // the edit is gone
    EXPECT_EQ(gamma->value, 0.0f);
    EXPECT_EQ(gamma->segments[0].curve, CURVE_MINEXPONENTIAL);
    EXPECT_EQ(layerOnly->keys.size(), 1u);  // not in the file: untouched
    EXPECT_EQ(set.count(), 5u);
    const ControllerSegment expected[] = {{CURVE_LINEAR, ENDS_ZEROZERO}, {CURVE_EXPONENTIAL, ENDS_VALVAL}, {77, -3}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(odd->segments[i].curve, expected[i].curve) << i;
        EXPECT_EQ(odd->segments[i].ends, expected[i].ends) << i;
    }
}

TEST(SyncFile, LoadSortsKeysThroughAddKeyAndReadsNamesToTheirFirstZero) {
    std::vector<uint8_t> bytes;
    putU32(bytes, 2);
    putU32(bytes, 6);
    bytes.insert(bytes.end(), {'a', 'b', 0, 'z', 'z', 0});
    putU32(bytes, 4);
    const struct {
        float t, v;
        int32_t curve, ends;
    } keys[] = {{2.0f, 1.0f, 0, 0}, {0.0f, 0.0f, CURVE_SMOOTHSTEP, ENDS_VALONE},
                {1.0f, 0.5f, CURVE_EXPONENTIAL, 0}, {2.0f, 9.0f, CURVE_LINEAR, ENDS_ONEONE}};
    for (size_t k = 0; k < 4; ++k) {
        putF32(bytes, keys[k].t);
        putF32(bytes, keys[k].v);
        if (k > 0) putU32(bytes, uint32_t(keys[k].curve)), putU32(bytes, uint32_t(keys[k].ends));
    }
    // A long name has no fixed buffer to overflow.
    const std::string longName(2000, 'n');
    putU32(bytes, uint32_t(longName.size() + 1));
    bytes.insert(bytes.end(), longName.begin(), longName.end() + 1);
    putU32(bytes, 0);

    ControllerSet set;
    ASSERT_TRUE(set.loadFromBytes(bytes, "unsorted"));
    EXPECT_EQ(set.nameAt(0), "ab");
    EXPECT_EQ(set.nameAt(1), longName);
    const Controller& c = *set.at(0);
    ASSERT_EQ(c.keys.size(), 3u);  // the second key at the last key's time is dropped
    EXPECT_EQ(c.keys[1].time, 1.0f);
    EXPECT_EQ(c.keys[2].value, 1.0f);
    // Stored segments land by the key's place in the file.
    EXPECT_EQ(c.segments[0].curve, CURVE_SMOOTHSTEP);
    EXPECT_EQ(c.segments[0].ends, ENDS_VALONE);
    EXPECT_EQ(c.segments[1].curve, CURVE_EXPONENTIAL);
    EXPECT_EQ(c.segments[1].ends, ENDS_VALONE);
}

TEST(SyncFile, DamagedFilesAreRefusedAndChangeNothing) {
    auto header = [](uint32_t count, std::string name, uint32_t nameSize) {
        std::vector<uint8_t> b;
        putU32(b, count);
        putU32(b, nameSize);
        b.insert(b.end(), name.begin(), name.end());
        return b;
    };
    std::vector<uint8_t> noZero = header(1, "abc", 3);
    putU32(noZero, 0);
    std::vector<uint8_t> keyCountTooBig = header(1, std::string("ab\0", 3), 3);
    putU32(keyCountTooBig, 3);
    for (int i = 0; i < 9; ++i) putU32(keyCountTooBig, 0);  // 36 of the 40 bytes three keys need
    std::vector<uint8_t> cutInKey(FADE_FILE.begin(), FADE_FILE.end() - 1), trailing = FADE_FILE, secondMissing = FADE_FILE;
    trailing.push_back(0);
    secondMissing[0] = 2;

    const struct {
        std::vector<uint8_t> bytes;
        const char* problem;
    } cases[] = {
        {{}, "shorter than the 4-byte controller count"},
        {{1, 0, 0}, "shorter than the 4-byte controller count"},
        {{0xFF, 0xFF, 0xFF, 0xFF}, "controller count 4294967295 cannot fit"},
        {{1, 0, 0, 0, 5, 0, 0, 0, 'x', 0, 0, 0, 0}, "key count cut off at byte 13"},
        {{1, 0, 0, 0, 6, 0, 0, 0, 'x', 0, 0, 0, 0}, "name size 6 exceeds the 5 bytes"},
        {header(1, std::string(8, '\0'), 0), "name size 0"},
        {header(1, std::string(8, 'q'), 0xFFFFFFF0u), "exceeds"},
        {noZero, "name without its zero byte"},
        {keyCountTooBig, "key count 3 needs 40 bytes, 36 left"},
        {cutInKey, "key count 2 needs 24 bytes, 23 left"},
        {trailing, "1 unexpected bytes after the last controller"},
        {secondMissing, "controller 1: name size cut off at byte 41"},
    };
    ScratchFolder dir;
    const std::string path = dir.file("bad.dat");
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.problem);
        writeBytes(path, tc.bytes);
        ControllerSet set;
        fillSample(set);
        Controller* gamma = set.get("ZEL: Gamma");
        const std::vector<uint8_t> before = savedBytes(set);

        orvotest::TraceCapture capture;
        EXPECT_FALSE(set.load(path));
        EXPECT_EQ(savedBytes(set), before);
        EXPECT_EQ(gamma->value, 0.75f);
        ASSERT_EQ(capture.lines().size(), 1u);
        EXPECT_EQ(capture.lines()[0].rfind("WARNING (syncData): " + path, 0), 0u) << capture.lines()[0];
        EXPECT_NE(capture.lines()[0].find(tc.problem), std::string::npos) << capture.lines()[0];
    }

    // A missing file is quietly left alone; a folder in its place is worth a warning.
    ControllerSet set;
    fillSample(set);
    orvotest::TraceCapture capture;
    EXPECT_FALSE(set.load(dir.file("nowhere.dat")));
    EXPECT_TRUE(capture.text().empty());
    EXPECT_FALSE(set.load(dir.path.string()));
    EXPECT_TRUE(capture.contains("is a folder"));
}

TEST(SyncFile, FailedSaveKeepsThePreviousFile) {
    ScratchFolder dir;
    const std::string path = dir.file("demosynch.dat");
    writeBytes(path, FADE_FILE);
    ControllerSet set;
    fillSample(set);

    orvotest::TraceCapture capture;
    // Something in the way of the temporary file: the save fails before the target is touched.
    std::filesystem::create_directory(temporaryNameFor(path));
    EXPECT_FALSE(set.save(path));
    EXPECT_EQ(readBytes(path), FADE_FILE);
    EXPECT_TRUE(capture.contains("WARNING (syncData): saving " + path + " failed"));
    std::filesystem::remove(temporaryNameFor(path));

    EXPECT_FALSE(set.save(dir.file("no/such/folder/x.dat")));
    // A target that cannot be replaced: the new bytes must not be left behind half-way.
    const std::string folderTarget = dir.file("taken");
    std::filesystem::create_directory(folderTarget);
    writeBytes(folderTarget + "/inside", {1});
    EXPECT_FALSE(set.save(folderTarget));
    EXPECT_FALSE(std::filesystem::exists(temporaryNameFor(folderTarget)));

    ASSERT_TRUE(set.save(path));
    EXPECT_EQ(readBytes(path), savedBytes(set));

}

TEST(SyncFile, SaveIntoAReadOnlyFolderFails) {
    ScratchFolder dir;
    const std::string path = dir.file("demosynch.dat");
    writeBytes(path, FADE_FILE);
    std::filesystem::permissions(dir.path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    // The superuser writes into read-only folders regardless; the case cannot arise then.
    if (std::ofstream(dir.file("probe"))) GTEST_SKIP() << "running with rights that ignore folder permissions";
    ControllerSet set;
    fillSample(set);
    EXPECT_FALSE(set.save(path));
    EXPECT_EQ(readBytes(path), FADE_FILE);
}
