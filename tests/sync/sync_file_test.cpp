// The sync data file: the stored bytes, the loading rules, refusal of damaged files and safe saving.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/trace_capture.h"
#include "sync/controller_set.h"
#include "sync/file_io.h"
#include "sync/sync_data.h"
#include "sync_test_support.h"

using namespace zelFramework;
using synctest::putF32;
using synctest::putU32;
using synctest::readBytes;
using synctest::ScratchFolder;
using synctest::writeBytes;

namespace {

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

TEST(SyncFile, SavesTheDocumentedBytes) {
    ScratchFolder dir;
    ControllerSet set;
    Controller* fade = set.get("fade");
    fade->addKey(0.0f, 0.0f);
    fade->addKey(2.0f, 1.0f);
    fade->segments[0].curve = CURVE_SMOOTHSTEP;
    ASSERT_TRUE(set.save(dir.file("demosynch.dat")));
    EXPECT_EQ(readBytes(dir.file("demosynch.dat")), FADE_FILE);
    EXPECT_FALSE(std::filesystem::exists(dir.file("demosynch.dat.saving")));

    ControllerSet empty;
    ASSERT_TRUE(empty.save(dir.file("empty.dat")));
    EXPECT_EQ(readBytes(dir.file("empty.dat")), (std::vector<uint8_t>{0, 0, 0, 0}));
    ASSERT_TRUE(set.load(dir.file("empty.dat")));
    EXPECT_EQ(set.count(), 1u);
    EXPECT_EQ(fade->keys.size(), 2u);

    ControllerSet one;
    one.get("x")->addKey(1.5f, 0.25f);
    ASSERT_TRUE(one.save(dir.file("one.dat")));
    std::vector<uint8_t> expected;
    putU32(expected, 1);
    putU32(expected, 2);
    expected.push_back('x');
    expected.push_back(0);
    putU32(expected, 1);
    putF32(expected, 1.5f);
    putF32(expected, 0.25f);
    EXPECT_EQ(readBytes(dir.file("one.dat")), expected);
}

TEST(SyncFile, LoadsTheDocumentedBytes) {
    ControllerSet set;
    ASSERT_TRUE(set.loadFromBytes(FADE_FILE, "fade"));
    ASSERT_EQ(set.count(), 1u);
    const Controller& fade = *set.at(0);
    EXPECT_EQ(fade.name, "fade");
    ASSERT_EQ(fade.keys.size(), 2u);
    EXPECT_EQ(fade.keys[1].time, 2.0f);
    EXPECT_EQ(fade.keys[1].value, 1.0f);
    EXPECT_EQ(fade.segments[0].curve, CURVE_SMOOTHSTEP);
    EXPECT_EQ(fade.segments[0].ends, ENDS_VALVAL);
}

TEST(SyncFile, RoundTripKeepsKeysCurvesAndEnds) {
    ScratchFolder dir;
    ControllerSet set;
    fillSample(set);
    Controller* odd = set.get("Glitch: intensity");
    for (float t : {0.0f, 1.0f, 2.0f, 3.0f}) odd->addKey(t, t * 0.5f);
    odd->segments[0] = {0, ENDS_ZEROZERO};  // a 0 code in memory reloads as the default
    odd->segments[1] = {CURVE_EXPONENTIAL, 0};
    odd->segments[2] = {77, -3};            // unknown codes survive as they are
    ASSERT_TRUE(set.save(dir.file("s.dat")));

    ControllerSet loaded;
    ASSERT_TRUE(loaded.load(dir.file("s.dat")));
    ASSERT_EQ(loaded.count(), set.count());
    for (uint32_t i = 0; i < set.count(); ++i) {
        EXPECT_EQ(loaded.nameAt(i), set.nameAt(i));
        ASSERT_EQ(loaded.at(i)->keys.size(), set.at(i)->keys.size());
        EXPECT_EQ(loaded.at(i)->value, 0.0f);
    }
    const Controller& g = *loaded.get("Glitch: intensity");
    EXPECT_EQ(g.segments[0].curve, CURVE_LINEAR);
    EXPECT_EQ(g.segments[0].ends, ENDS_ZEROZERO);
    EXPECT_EQ(g.segments[1].curve, CURVE_EXPONENTIAL);
    EXPECT_EQ(g.segments[1].ends, ENDS_VALVAL);
    EXPECT_EQ(g.segments[2].curve, 77);
    EXPECT_EQ(g.segments[2].ends, -3);
    EXPECT_EQ(loaded.get("ZEL: Gamma")->segments[0].curve, CURVE_MINEXPONENTIAL);
}

TEST(SyncFile, ReloadKeepsControllerIdentity) {
    ScratchFolder dir;
    ControllerSet set;
    fillSample(set);
    ASSERT_TRUE(set.save(dir.file("s.dat")));
    Controller* gamma = set.get("ZEL: Gamma");
    gamma->addKey(5.0f, 0.0f);  // an edit since the save
    Controller* layerOnly = set.get("TNL:Zoom");
    layerOnly->addKey(0.0f, 2.0f);

    ASSERT_TRUE(set.load(dir.file("s.dat")));
    EXPECT_EQ(set.get("ZEL: Gamma"), gamma);
    EXPECT_EQ(gamma->keys.size(), 2u);  // the edit is gone
    EXPECT_EQ(gamma->value, 0.0f);
    EXPECT_EQ(layerOnly->keys.size(), 1u);  // not in the file: untouched
    EXPECT_EQ(set.count(), 4u);
}

TEST(SyncFile, LoadSortsKeysThroughAddKey) {
    std::vector<uint8_t> bytes;
    putU32(bytes, 1);
    putU32(bytes, 2);
    bytes.insert(bytes.end(), {'c', 0});
    putU32(bytes, 4);
    const struct {
        float t, v;
        int32_t curve, ends;
    } keys[] = {{2.0f, 1.0f, 0, 0}, {0.0f, 0.0f, CURVE_SMOOTHSTEP, ENDS_VALONE},
                {1.0f, 0.5f, CURVE_EXPONENTIAL, 0}, {2.0f, 9.0f, CURVE_LINEAR, ENDS_ONEONE}};
    for (size_t k = 0; k < 4; ++k) {
        putF32(bytes, keys[k].t);
        putF32(bytes, keys[k].v);
        if (k > 0) {
            putU32(bytes, uint32_t(keys[k].curve));
            putU32(bytes, uint32_t(keys[k].ends));
        }
    }
    ControllerSet set;
    ASSERT_TRUE(set.loadFromBytes(bytes, "unsorted"));
    const Controller& c = *set.at(0);
    ASSERT_EQ(c.keys.size(), 3u);  // the second key at the last key's time is dropped
    EXPECT_EQ(c.keys[0].time, 0.0f);
    EXPECT_EQ(c.keys[1].time, 1.0f);
    EXPECT_EQ(c.keys[2].value, 1.0f);
    // Stored segments land by the key's place in the file.
    EXPECT_EQ(c.segments[0].curve, CURVE_SMOOTHSTEP);
    EXPECT_EQ(c.segments[0].ends, ENDS_VALONE);
    EXPECT_EQ(c.segments[1].curve, CURVE_EXPONENTIAL);
    EXPECT_EQ(c.segments[1].ends, ENDS_VALONE);
}

TEST(SyncFile, NamesAreReadWholeAndUpToTheirFirstZero) {
    const std::string longName(2000, 'n');
    ControllerSet set;
    set.get(longName)->addKey(0.0f, 1.0f);
    const std::vector<uint8_t> bytes = savedBytes(set);
    ControllerSet loaded;
    ASSERT_TRUE(loaded.loadFromBytes(bytes, "long"));
    EXPECT_EQ(loaded.nameAt(0), longName);
    EXPECT_EQ(loaded.at(0)->keys.size(), 1u);

    std::vector<uint8_t> tail;
    putU32(tail, 1);
    putU32(tail, 6);
    tail.insert(tail.end(), {'a', 'b', 0, 'z', 'z', 0});
    putU32(tail, 0);
    ControllerSet cut;
    ASSERT_TRUE(cut.loadFromBytes(tail, "tail"));
    EXPECT_EQ(cut.nameAt(0), "ab");
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
    std::vector<uint8_t> cutInKey = FADE_FILE;
    cutInKey.resize(cutInKey.size() - 1);
    std::vector<uint8_t> trailing = FADE_FILE;
    trailing.push_back(0);
    std::vector<uint8_t> secondMissing = FADE_FILE;
    secondMissing[0] = 2;

    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* problem;
    } cases[] = {
        {"empty", {}, "shorter than the 4-byte controller count"},
        {"three bytes", {1, 0, 0}, "shorter than the 4-byte controller count"},
        {"huge count", {0xFF, 0xFF, 0xFF, 0xFF}, "controller count 4294967295 cannot fit"},
        {"cut in the key count", {1, 0, 0, 0, 5, 0, 0, 0, 'x', 0, 0, 0, 0}, "key count cut off at byte 13"},
        {"name longer than the file", {1, 0, 0, 0, 6, 0, 0, 0, 'x', 0, 0, 0, 0}, "name size 6 exceeds the 5 bytes"},
        {"zero name size", header(1, std::string(8, '\0'), 0), "name size 0"},
        {"huge name size", header(1, std::string(8, 'q'), 0xFFFFFFF0u), "exceeds"},
        {"no zero byte", noZero, "name without its zero byte"},
        {"key count too big", keyCountTooBig, "key count 3 needs 40 bytes, 36 left"},
        {"cut inside a key", cutInKey, "key count 2 needs 24 bytes, 23 left"},
        {"trailing bytes", trailing, "1 unexpected bytes after the last controller"},
        {"missing second controller", secondMissing, "controller 1: name size cut off at byte 41"},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.what);
        ScratchFolder dir;
        const std::string path = dir.file("bad.dat");
        writeBytes(path, tc.bytes);
        ControllerSet set;
        fillSample(set);
        Controller* gamma = set.get("ZEL: Gamma");
        const std::vector<uint8_t> before = savedBytes(set);

        orvotest::TraceCapture capture;
        EXPECT_FALSE(set.load(path));
        EXPECT_EQ(savedBytes(set), before);
        EXPECT_EQ(set.get("ZEL: Gamma"), gamma);
        EXPECT_EQ(gamma->value, 0.75f);
        ASSERT_EQ(capture.lines().size(), 1u);
        const std::string line = capture.lines()[0];
        EXPECT_EQ(line.rfind("WARNING (syncData): ", 0), 0u) << line;
        EXPECT_NE(line.find(path), std::string::npos) << line;
        EXPECT_NE(line.find(tc.problem), std::string::npos) << line;
        EXPECT_FALSE(capture.quitPosted());
    }
}

TEST(SyncFile, MissingFileIsQuietlyLeftAlone) {
    ScratchFolder dir;
    ControllerSet set;
    fillSample(set);
    const std::vector<uint8_t> before = savedBytes(set);
    orvotest::TraceCapture capture;
    EXPECT_FALSE(set.load(dir.file("nowhere.dat")));
    EXPECT_EQ(savedBytes(set), before);
    EXPECT_TRUE(capture.text().empty());

    // A folder where the file should be is not a missing file: it is worth a warning.
    EXPECT_FALSE(set.load(dir.path().string()));
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

    // A folder that does not exist.
    EXPECT_FALSE(set.save(dir.file("no/such/folder/x.dat")));

    // A target that cannot be replaced: the new bytes must not be left behind half-way.
    const std::string folderTarget = dir.file("taken");
    std::filesystem::create_directory(folderTarget);
    std::ofstream(folderTarget + "/inside") << "x";
    EXPECT_FALSE(set.save(folderTarget));
    EXPECT_FALSE(std::filesystem::exists(temporaryNameFor(folderTarget)));

    ASSERT_TRUE(set.save(path));
    EXPECT_EQ(readBytes(path), savedBytes(set));
}

TEST(SyncFile, SaveIntoReadOnlyFolderFails) {
    ScratchFolder dir;
    const std::filesystem::path folder = dir.path() / "locked";
    std::filesystem::create_directory(folder);
    const std::string path = (folder / "demosynch.dat").string();
    writeBytes(path, FADE_FILE);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    {
        // The superuser writes into read-only folders regardless; the case cannot arise then.
        std::ofstream probe(folder / "probe");
        if (probe) GTEST_SKIP() << "running with rights that ignore folder permissions";
    }
    ControllerSet set;
    fillSample(set);
    orvotest::TraceCapture capture;
    EXPECT_FALSE(set.save(path));
    EXPECT_EQ(readBytes(path), FADE_FILE);
    EXPECT_TRUE(capture.contains("failed"));
}
