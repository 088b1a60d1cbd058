// The text form of the sync data: its layout, what it accepts, and exact round trips.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "sync/controller.h"
#include "sync/sync_data.h"
#include "sync/sync_text.h"

using namespace zelFramework;

namespace {

float fromBits(uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
}

SyncData parseOk(const std::string& text) {
    SyncData data;
    std::string problem;
    EXPECT_TRUE(parseSyncText(text, data, problem)) << problem;
    return data;
}

std::string parseProblem(const std::string& text) {
    SyncData data;
    data.controllers.resize(1);  // must stay as it is on failure
    std::string problem;
    EXPECT_FALSE(parseSyncText(text, data, problem));
    EXPECT_EQ(data.controllers.size(), 1u);
    return problem;
}

}  // namespace

TEST(SyncText, LayoutOfABlock) {
    SyncData data;
    data.controllers.push_back({"ZEL: Gamma", {{0.0f, 1.0f, 0, 0}, {2.5f, 0.8f, CURVE_SMOOTHSTEP, ENDS_VALVAL}}});
    data.controllers.push_back({"empty", {}});
    EXPECT_EQ(formatSyncText(data),
              "# Sync data: one block per controller, one key per line.\n"
              "# TIME VALUE, then from the second key on: CURVE ENDS of the segment into the key.\n"
              "\n"
              "controller \"ZEL: Gamma\"\n"
              "    0            1\n"
              "    2.5          0.8          smoothstep     valval\n"
              "\n"
              "controller \"empty\"\n");
}

TEST(SyncText, ReadsHandWrittenText) {
    const SyncData data = parseOk(
        "# curves for the intro\r\n"
        "controller \"RE:DOF Radius\"   # shared by three layers\r\n"
        "  0 0\r\n"
        "\t1.5\t0.25  exponential  zerozero  # fade out\n"
        "  3 1 4 7\n"
        "  4 1 0 0\n"
        "controller\"a \\\"q\\\" \\\\ \\x01\"\n");
    ASSERT_EQ(data.controllers.size(), 2u);
    const SyncControllerRecord& dof = data.controllers[0];
    EXPECT_EQ(dof.storedName, "RE:DOF Radius");
    ASSERT_EQ(dof.keys.size(), 4u);
    EXPECT_EQ(dof.keys[1].time, 1.5f);
    EXPECT_EQ(dof.keys[1].curve, CURVE_EXPONENTIAL);
    EXPECT_EQ(dof.keys[1].ends, ENDS_ZEROZERO);
    EXPECT_EQ(dof.keys[2].curve, CURVE_MINEXPONENTIAL);  // codes may be given as numbers
    EXPECT_EQ(dof.keys[3].curve, 0);
    EXPECT_EQ(data.controllers[1].storedName, "a \"q\" \\ \x01");
}

TEST(SyncText, RoundTripsEveryFloatAndByteExactly) {
    SyncData data;
    data.controllers.push_back({std::string("cut\0after\xff", 10),
                                {{fromBits(0x7FC00001), -0.0f, 0, 0},
                                 {INFINITY, fromBits(1), -5, 1234567},
                                 {-INFINITY, 0.1f, CURVE_LINEAR, ENDS_ONEONE},
                                 {fromBits(0xFFFFFFFF), 3.4028235e38f, CURVE_MINEXPONENTIAL, 0}}});
    data.controllers.push_back({"", {{1e-7f, 16777217.0f, 0, 0}}});
    const std::vector<uint8_t> bytes = serializeSyncData(data);
    const std::string text = formatSyncText(data);
    const SyncData back = parseOk(text);
    EXPECT_EQ(serializeSyncData(back), bytes);
    EXPECT_EQ(formatSyncText(back), text);
    EXPECT_NE(text.find("raw:7FC00001"), std::string::npos);
    EXPECT_NE(text.find("\"cut\\x00after\\xFF\""), std::string::npos);
}

TEST(SyncText, ReportsTheLineOfAMistake) {
    EXPECT_EQ(parseProblem("0 1\n"), "line 1: a key before the first 'controller' line");
    EXPECT_EQ(parseProblem("controller \"a\"\n 0 1 linear valval\n"), "line 2: a controller's first key is: TIME VALUE");
    EXPECT_EQ(parseProblem("controller \"a\"\n0 1\n\n# x\n2 3\n"), "line 5: a key after the first is: TIME VALUE CURVE ENDS");
    EXPECT_EQ(parseProblem("controller \"a\"\n0,5 1\n"), "line 2: bad time '0,5'");
    EXPECT_EQ(parseProblem("controller \"a\"\n0 1\n1 1 bumpy valval\n"), "line 3: unknown curve 'bumpy'");
    EXPECT_EQ(parseProblem("controller \"a\"\n0 1\n1 1 linear valvalval\n"), "line 3: unknown ends 'valvalval'");
    EXPECT_EQ(parseProblem("controller \"a\n"), "line 1: name without its closing quote");
    EXPECT_EQ(parseProblem("controller \"a\\n\"\n"), "line 1: unknown escape in the name (use \\\", \\\\ or \\xNN)");
    EXPECT_EQ(parseProblem("controller \"a\" b\n"), "line 1: unexpected text after the controller's name");
    EXPECT_EQ(parseProblem("controller \"a\"\nraw:7FC0 1\n"), "line 2: bad time 'raw:7FC0'");
}
