// Evaluation and key editing of single controllers, and the named set.
#include <gtest/gtest.h>

#include "sync/controller.h"
#include "sync/controller_set.h"

using namespace zelFramework;

namespace {

Controller twoKeys(float t0, float v0, float t1, float v1, ControllerSegment seg) {
    Controller c;
    c.addKey(t0, v0);
    c.addKey(t1, v1);
    c.segments[0] = seg;
    return c;
}

float valueAt(Controller& c, float t) {
    c.update(t);
    return c.value;
}

}  // namespace

TEST(ControllerEvaluation, WorkedExamplesAndEndsCodes) {
    const struct {
        float v0, v1;
        ControllerSegment seg;
        float t, expected;  // keys at 0 and 2 s
    } cases[] = {
        {0.2f, 0.8f, {CURVE_SMOOTHSTEP, ENDS_VALVAL}, 0.5f, 0.29375f},
        {0.2f, 0.8f, {CURVE_SMOOTHSTEP, ENDS_VALONE}, 0.5f, 0.325f},
        {0.0f, 1.0f, {CURVE_EXPONENTIAL, ENDS_VALVAL}, 1.0f, 0.15625f},
        {0.0f, 1.0f, {CURVE_MINEXPONENTIAL, ENDS_VALVAL}, 1.0f, 0.84375f},
        // Linear at f = 0.5 from 0.2 to 0.6 through every ends code; unknown codes give 0.
        {0.2f, 0.6f, {CURVE_LINEAR, ENDS_VALVAL}, 1.0f, 0.4f},   {0.2f, 0.6f, {CURVE_LINEAR, ENDS_VALZERO}, 1.0f, 0.1f},
        {0.2f, 0.6f, {CURVE_LINEAR, ENDS_VALONE}, 1.0f, 0.6f},   {0.2f, 0.6f, {CURVE_LINEAR, ENDS_ZEROVAL}, 1.0f, 0.3f},
        {0.2f, 0.6f, {CURVE_LINEAR, ENDS_ONEVAL}, 1.0f, 0.8f},   {0.2f, 0.6f, {CURVE_LINEAR, ENDS_ONEONE}, 1.0f, 1.0f},
        {0.2f, 0.6f, {CURVE_LINEAR, ENDS_ZEROZERO}, 1.0f, 0.0f}, {0.2f, 0.6f, {CURVE_LINEAR, 0}, 1.0f, 0.0f},
        {0.2f, 0.6f, {CURVE_LINEAR, 42}, 1.0f, 0.0f},
        // zerozero and oneone stay flat whatever the curve.
        {0.5f, 0.9f, {CURVE_MINEXPONENTIAL, ENDS_ZEROZERO}, 0.6f, 0.0f},
        {0.5f, 0.9f, {CURVE_SMOOTHSTEP, ENDS_ONEONE}, 1.98f, 1.0f},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(testing::Message() << "curve " << tc.seg.curve << " ends " << tc.seg.ends);
        Controller c = twoKeys(0.0f, tc.v0, 2.0f, tc.v1, tc.seg);
        EXPECT_FLOAT_EQ(valueAt(c, tc.t), tc.expected);
    }

    // (1 - f) A + f B and A + f (B - A) differ in the last bit here; the stored show was tuned with the first.
    Controller lin = twoKeys(0.0f, 0.1f, 3.0f, 0.7f, {CURVE_LINEAR, ENDS_VALVAL});
    const float t = 4 * 0.0037f, f = t / 3.0f, weighted = (1.0f - f) * 0.1f + f * 0.7f;
    ASSERT_NE(weighted, 0.1f + f * (0.7f - 0.1f));
    EXPECT_EQ(valueAt(lin, t), weighted);
}

TEST(ControllerEvaluation, OutsideTheKeysTiesAndUnknownCurves) {
    Controller c = twoKeys(1.0f, 0.25f, 2.0f, 0.75f, {CURVE_SMOOTHSTEP, ENDS_VALVAL});
    EXPECT_EQ(valueAt(c, 0.0f), 0.25f);
    EXPECT_EQ(valueAt(c, 1.0f), 0.25f);  // at a key that is not the last: its segment starts, f = 0
    EXPECT_EQ(valueAt(c, 99.0f), 0.75f);
    Controller single;
    single.addKey(5.0f, 0.4f);
    EXPECT_EQ(valueAt(single, -3.0f), 0.4f);
    EXPECT_EQ(valueAt(single, 50.0f), 0.4f);

    // An unknown curve leaves the value alone inside its span; outside it the key values apply.
    Controller odd = twoKeys(0.0f, 0.2f, 1.0f, 0.6f, {0, ENDS_VALVAL});
    odd.value = 0.123f;
    EXPECT_EQ(valueAt(odd, 0.5f), 0.123f);
    EXPECT_EQ(valueAt(odd, 2.0f), 0.6f);

    // A key at a middle key's time goes after it; the zero-length span between them is never evaluated.
    Controller tied;
    for (auto [t, v] : {std::pair{0.0f, 0.0f}, {2.0f, 1.0f}, {1.0f, 0.3f}, {1.0f, 0.7f}}) tied.addKey(t, v);
    ASSERT_EQ(tied.keys.size(), 4u);
    EXPECT_EQ(tied.keys[1].value, 0.3f);
    EXPECT_EQ(valueAt(tied, 1.0f), 0.7f);
    EXPECT_FLOAT_EQ(valueAt(tied, 0.5f), 0.15f);
}

TEST(ControllerKeys, AddKeyRules) {
    Controller c;
    c.addKey(1.0f, 0.5f);
    EXPECT_TRUE(c.segments.empty());
    c.addKey(3.0f, 1.0f);
    c.segments[0] = {CURVE_EXPONENTIAL, ENDS_ONEVAL};
    c.addKey(3.0f, 9.0f);  // the last key's time: ignored
    EXPECT_EQ(c.keys.size(), 2u);
    EXPECT_EQ(c.segments.size(), 1u);

    c.addKey(2.0f, 0.0f);  // earlier: inserted, the new following segment copies segment 0
    ASSERT_EQ(c.segments.size(), 2u);
    EXPECT_EQ(c.keys[1].time, 2.0f);
    EXPECT_EQ(c.segments[1].curve, CURVE_EXPONENTIAL);
    EXPECT_EQ(c.segments[1].ends, ENDS_ONEVAL);
    c.addKey(5.0f, 0.1f);  // after the last: a fresh linear/valval segment
    EXPECT_EQ(c.segments.back().curve, CURVE_LINEAR);
    EXPECT_EQ(c.segments.back().ends, ENDS_VALVAL);
}

TEST(ControllerKeys, MoveKeyNeverPassesANeighbourOrLeavesTheList) {
    Controller c;
    for (float t : {1.0f, 2.0f, 3.0f}) c.addKey(t, t);
    const struct {
        int key;
        float to, expected;
    } moves[] = {{0, 2.0f, 1.0f}, {0, -4.0f, -4.0f}, {1, 3.0f, 2.0f}, {1, 2.5f, 2.5f}, {2, 2.5f, 3.0f}, {2, 10.0f, 10.0f}};
    for (const auto& m : moves) {
        c.moveKey(m.key, m.to);
        EXPECT_EQ(c.keyTime(m.key), m.expected) << "key " << m.key << " to " << m.to;
    }
    c.moveKey(3, 0.0f);
    c.moveKey(-1, 0.0f);
    c.removeKey(5);
    EXPECT_EQ(c.keys.size(), 3u);
    EXPECT_EQ(c.keyValue(3), 0.0f);
    EXPECT_EQ(c.keyTime(-1), 0.0f);
    EXPECT_EQ(c.nextKeyTime(2147483647), 0.0f);
}

TEST(ControllerKeys, RemovedKeysLeaveTheirSegmentToSpanTheGap) {
    Controller c;
    for (float t : {0.0f, 1.0f, 2.0f}) c.addKey(t, t);
    c.segments[0] = {CURVE_SMOOTHSTEP, ENDS_VALVAL};
    c.segments[1] = {CURVE_EXPONENTIAL, ENDS_ONEONE};
    c.removeKey(1);  // segment 0 goes; the one that left key 1 now spans 0..2
    ASSERT_EQ(c.segments.size(), 1u);
    EXPECT_EQ(valueAt(c, 1.0f), 1.0f);

    c.removeKey(1);  // one key left: the segment stays, unused, and governs the next span
    c.addKey(4.0f, 0.5f);
    EXPECT_EQ(c.segments.size(), 2u);
    EXPECT_EQ(valueAt(c, 2.0f), 1.0f);
    c.removeKey(0);
    c.removeKey(0);
    EXPECT_TRUE(c.keys.empty());
    EXPECT_EQ(c.value, 0.0f);
}

TEST(ControllerKeys, SegmentAtTakesAKeyTimeAsTheSpanBeforeIt) {
    Controller c;
    EXPECT_EQ(c.segmentAt(0.0f), -1);
    for (float t : {1.0f, 2.0f, 4.0f}) c.addKey(t, t * 10.0f);
    for (auto [t, seg] : {std::pair{0.0f, 0}, {2.0f, 0}, {3.0f, 1}, {4.5f, -1}}) EXPECT_EQ(c.segmentAt(t), seg) << t;
    EXPECT_EQ(c.nextKeyTime(0), 2.0f);
    EXPECT_EQ(c.nextKeyTime(2), 0.0f);
}

TEST(ControllerSetTest, GetFindsOrCreatesByExactName) {
    ControllerSet set;
    Controller* gamma = set.get("ZEL: Gamma");
    EXPECT_EQ(set.get("ZEL: Gamma"), gamma);
    Controller* other = set.get("ZEL: gamma");
    EXPECT_NE(other, gamma);
    EXPECT_NE(set.get("ZEL: Gamma "), gamma);
    EXPECT_EQ(set.count(), 3u);
    EXPECT_EQ(set.at(3), nullptr);
    EXPECT_EQ(set.nameAt(1), "ZEL: gamma");
    gamma->addKey(0.0f, 0.0f);
    gamma->addKey(1.0f, 1.0f);
    set.update(0.25f);
    EXPECT_EQ(gamma->value, 0.25f);
    EXPECT_EQ(other->value, 0.0f);
}
