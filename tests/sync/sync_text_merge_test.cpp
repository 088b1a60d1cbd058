// Edited curves written back into their text: comments, blank lines, block order and the comment
// after a key all stay; only key lines change, in the text's own columns.
#include <gtest/gtest.h>

#include "sync/sync_text.h"
#include "sync/sync_text_merge.h"
#include "support/file_text.h"

namespace zelFramework {
namespace {

SyncData parsed(const std::string& text) {
    SyncData data;
    std::string problem;
    EXPECT_TRUE(parseSyncText(text, data, problem)) << problem;
    return data;
}

std::string merged(const std::string& original, const SyncData& data) {
    std::string out, problem;
    EXPECT_TRUE(mergeSyncText(original, data, out, problem)) << problem;
    return out;
}

const std::string TEXT =
    "# The show's curves.\n"
    "\n"
    "# Lifts the black point.\n"
    "controller \"A\"\n"
    "    0          0\n"
    "    # the lift\n"
    "    10         0.5      smoothstep      valval    # halfway\n"
    "    20         1        linear          valone\n"
    "\n"
    "# Second.\n"
    "controller \"B\"\n"
    "    5          2\n";

TEST(SyncTextMerge, TheShowsOwnTextComesBackByteForByte) {
    const std::string text = orvotest::fileText(std::string(ORVO_SOURCE_DIR) + "/content/sync/demosynch.txt");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(merged(text, parsed(text)), text);
    EXPECT_EQ(merged(TEXT, parsed(TEXT)), TEXT);
}

TEST(SyncTextMerge, ChangedValuesAndTimesKeepEveryComment) {
    SyncData data = parsed(TEXT);
    data.controllers[0].keys[1].value = -0.22f;
    data.controllers[0].keys[2].time = 25.5f;
    data.controllers[1].keys[0].value = 195.0f;
    const std::string out = merged(TEXT, data);
    EXPECT_EQ(out,
              "# The show's curves.\n"
              "\n"
              "# Lifts the black point.\n"
              "controller \"A\"\n"
              "    0          0\n"
              "    # the lift\n"
              "    10         -0.22    smoothstep      valval    # halfway\n"
              "    25.5       1        linear          valone\n"
              "\n"
              "# Second.\n"
              "controller \"B\"\n"
              "    5          195\n");
    // What the text now builds is exactly the edited data.
    SyncData back = parsed(out);
    ASSERT_EQ(back.controllers.size(), 2u);
    EXPECT_EQ(back.controllers[0].keys[1].value, -0.22f);
    EXPECT_EQ(back.controllers[0].keys[2].time, 25.5f);
    EXPECT_EQ(back.controllers[1].keys[0].value, 195.0f);
}

TEST(SyncTextMerge, AddedAndRemovedKeysKeepTheCommentsOfTheKeysThatStay) {
    SyncData data = parsed(TEXT);
    auto& keys = data.controllers[0].keys;
    // The key at 10 s goes; keys at 15 and 30 s come.
    keys.erase(keys.begin() + 1);
    keys.insert(keys.begin() + 1, SyncKeyRecord{15.0f, 0.25f, 2, 1});
    keys.push_back(SyncKeyRecord{30.0f, 0.0f, 1, 7});
    const std::string out = merged(TEXT, data);
    EXPECT_EQ(out,
              "# The show's curves.\n"
              "\n"
              "# Lifts the black point.\n"
              "controller \"A\"\n"
              "    0          0\n"
              "    # the lift\n"
              "    # halfway\n"
              "    15         0.25     smoothstep      valval\n"
              "    20         1        linear          valone\n"
              "    30         0        linear          zerozero\n"
              "\n"
              "# Second.\n"
              "controller \"B\"\n"
              "    5          2\n");
}

TEST(SyncTextMerge, NewControllersGoAtTheEndAndUnknownBlocksStay) {
    SyncData data;
    data.controllers.push_back({"New one", {{1.0f, 3.0f, 0, 0}, {2.0f, 4.0f, 3, 2}}});
    data.controllers.push_back({"Keyless", {}});
    const std::string out = merged(TEXT, data);
    EXPECT_EQ(out, TEXT +
                       "\ncontroller \"New one\"\n"
                       "    1          3\n"
                       "    2          4        exponential     valzero\n");
    EXPECT_EQ(parsed(out).controllers.size(), 3u);
}

TEST(SyncTextMerge, TheLastOfTwoBlocksOfANameTakesTheKeysAndLineEndsAreKept) {
    const std::string twice = "controller \"A\"\r\n    1 1\r\ncontroller \"A\"\r\n    2 2";
    SyncData data;
    data.controllers.push_back({"A", {{3.0f, 3.0f, 0, 0}}});
    EXPECT_EQ(merged(twice, data), "controller \"A\"\r\n    1 1\r\ncontroller \"A\"\r\n    3          3");
}

TEST(SyncTextMerge, ATextThatDoesNotParseIsRefusedAndOutIsUntouched) {
    std::string out = "kept", problem;
    EXPECT_FALSE(mergeSyncText("controller \"A\"\n    1\n", SyncData{}, out, problem));
    EXPECT_EQ(out, "kept");
    EXPECT_NE(problem.find("line 2"), std::string::npos) << problem;
}

}  // namespace
}  // namespace zelFramework
