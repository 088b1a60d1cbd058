// Evaluation and key editing of single controllers.
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

TEST(ControllerEvaluation, WorkedExamplesOfTheCurves) {
    Controller c = twoKeys(0.0f, 0.2f, 2.0f, 0.8f, {CURVE_SMOOTHSTEP, ENDS_VALVAL});
    EXPECT_FLOAT_EQ(valueAt(c, 0.5f), 0.29375f);
    c.segments[0].ends = ENDS_VALONE;
    EXPECT_FLOAT_EQ(valueAt(c, 0.5f), 0.325f);

    Controller e = twoKeys(0.0f, 0.0f, 1.0f, 1.0f, {CURVE_EXPONENTIAL, ENDS_VALVAL});
    EXPECT_EQ(valueAt(e, 0.5f), 0.15625f);
    e.segments[0].curve = CURVE_MINEXPONENTIAL;
    EXPECT_EQ(valueAt(e, 0.5f), 0.84375f);
}

TEST(ControllerEvaluation, LinearUsesTheWeightedSumForm) {
    // (1 - f) A + f B and A + f (B - A) differ in the last bit here; the stored show was tuned with
    // the first.
    Controller c = twoKeys(0.0f, 0.1f, 3.0f, 0.7f, {CURVE_LINEAR, ENDS_VALVAL});
    const float t = 4 * 0.0037f;
    const float f = t / 3.0f;
    const float weighted = (1.0f - f) * 0.1f + f * 0.7f;
    ASSERT_NE(weighted, 0.1f + f * (0.7f - 0.1f));
    EXPECT_EQ(valueAt(c, t), weighted);
}

TEST(ControllerEvaluation, OutsideTheKeysHoldsTheEndValues) {
    Controller c = twoKeys(1.0f, 0.25f, 2.0f, 0.75f, {CURVE_SMOOTHSTEP, ENDS_VALVAL});
    EXPECT_EQ(valueAt(c, 0.0f), 0.25f);
    EXPECT_EQ(valueAt(c, 1.0f), 0.25f);  // at a key that is not the last: its segment starts, f = 0
    EXPECT_EQ(valueAt(c, 2.0f), 0.75f);
    EXPECT_EQ(valueAt(c, 99.0f), 0.75f);

    Controller single;
    single.addKey(5.0f, 0.4f);
    EXPECT_EQ(valueAt(single, -3.0f), 0.4f);
    EXPECT_EQ(valueAt(single, 50.0f), 0.4f);

    Controller none;
    none.value = 0.0f;
    EXPECT_EQ(valueAt(none, 1.0f), 0.0f);
}

TEST(ControllerEvaluation, EndsCodes) {
    const struct {
        int32_t ends;
        float expected;  // at f = 0.5, keys 0.2 -> 0.6, linear
    } cases[] = {{ENDS_VALVAL, 0.4f}, {ENDS_VALZERO, 0.1f}, {ENDS_VALONE, 0.6f},  {ENDS_ZEROVAL, 0.3f},
                 {ENDS_ONEVAL, 0.8f}, {ENDS_ONEONE, 1.0f},  {ENDS_ZEROZERO, 0.0f}, {0, 0.0f},
                 {42, 0.0f}};
    for (const auto& tc : cases) {
        Controller c = twoKeys(0.0f, 0.2f, 1.0f, 0.6f, {CURVE_LINEAR, tc.ends});
        EXPECT_FLOAT_EQ(valueAt(c, 0.5f), tc.expected) << "ends " << tc.ends;
    }
    // zerozero and oneone stay flat whatever the curve.
    for (int32_t curve = CURVE_LINEAR; curve <= CURVE_MINEXPONENTIAL; ++curve) {
        Controller zero = twoKeys(0.0f, 0.5f, 1.0f, 0.9f, {curve, ENDS_ZEROZERO});
        Controller one = twoKeys(0.0f, 0.5f, 1.0f, 0.9f, {curve, ENDS_ONEONE});
        for (float t : {0.0f, 0.3f, 0.99f}) {
            EXPECT_EQ(valueAt(zero, t), 0.0f);
            EXPECT_EQ(valueAt(one, t), 1.0f);
        }
    }
}

TEST(ControllerEvaluation, UnknownCurveLeavesTheValueAlone) {
    Controller c = twoKeys(0.0f, 0.2f, 1.0f, 0.6f, {0, ENDS_VALVAL});
    c.value = 0.123f;
    EXPECT_EQ(valueAt(c, 0.5f), 0.123f);
    // Outside the segment the key values still apply.
    EXPECT_EQ(valueAt(c, 2.0f), 0.6f);
    EXPECT_EQ(valueAt(c, 0.5f), 0.6f);
}

TEST(ControllerEvaluation, TiedKeysResolveToTheLaterOne) {
    Controller c;
    c.addKey(0.0f, 0.0f);
    c.addKey(2.0f, 1.0f);
    c.addKey(1.0f, 0.3f);  // middle
    c.addKey(1.0f, 0.7f);  // same time as a middle key: goes after it
    ASSERT_EQ(c.keys.size(), 4u);
    EXPECT_EQ(c.keys[1].value, 0.3f);
    EXPECT_EQ(c.keys[2].value, 0.7f);
    // At t = 1 the later key starts its segment; the zero-length one is never evaluated.
    EXPECT_EQ(valueAt(c, 1.0f), 0.7f);
    EXPECT_FLOAT_EQ(valueAt(c, 0.5f), 0.15f);
}

TEST(ControllerKeys, AddKeyRules) {
    Controller c;
    c.addKey(1.0f, 0.5f);
    EXPECT_EQ(c.keys.size(), 1u);
    EXPECT_TRUE(c.segments.empty());

    c.addKey(3.0f, 1.0f);
    ASSERT_EQ(c.segments.size(), 1u);
    c.segments[0] = {CURVE_EXPONENTIAL, ENDS_ONEVAL};

    c.addKey(3.0f, 9.0f);  // the last key's time: ignored
    EXPECT_EQ(c.keys.size(), 2u);
    EXPECT_EQ(c.segments.size(), 1u);

    c.addKey(2.0f, 0.0f);  // earlier: inserted, the new following segment copies segment 0
    ASSERT_EQ(c.keys.size(), 3u);
    ASSERT_EQ(c.segments.size(), 2u);
    EXPECT_EQ(c.keys[1].time, 2.0f);
    EXPECT_EQ(c.segments[0].curve, CURVE_EXPONENTIAL);
    EXPECT_EQ(c.segments[1].curve, CURVE_EXPONENTIAL);
    EXPECT_EQ(c.segments[1].ends, ENDS_ONEVAL);

    c.addKey(0.0f, 0.1f);  // before the first key
    EXPECT_EQ(c.keys.front().time, 0.0f);
    EXPECT_EQ(c.segments.size(), 3u);
    c.addKey(5.0f, 0.1f);  // after the last: a fresh linear/valval segment
    EXPECT_EQ(c.segments.back().curve, CURVE_LINEAR);
    EXPECT_EQ(c.segments.back().ends, ENDS_VALVAL);
}

TEST(ControllerKeys, MoveKeyNeverPassesANeighbour) {
    Controller c;
    for (float t : {1.0f, 2.0f, 3.0f}) c.addKey(t, t);
    c.moveKey(0, 2.0f);  // not strictly before key 1
    EXPECT_EQ(c.keyTime(0), 1.0f);
    c.moveKey(0, -4.0f);
    EXPECT_EQ(c.keyTime(0), -4.0f);
    c.moveKey(1, 3.0f);
    EXPECT_EQ(c.keyTime(1), 2.0f);
    c.moveKey(1, 2.5f);
    EXPECT_EQ(c.keyTime(1), 2.5f);
    c.moveKey(2, 2.5f);
    EXPECT_EQ(c.keyTime(2), 3.0f);
    c.moveKey(2, 10.0f);
    EXPECT_EQ(c.keyTime(2), 10.0f);
    c.moveKey(3, 0.0f);
    c.moveKey(-1, 0.0f);
    EXPECT_EQ(c.keyValue(1), 2.0f);

    Controller one;
    one.addKey(1.0f, 0.0f);
    one.moveKey(0, 7.0f);
    EXPECT_EQ(one.keyTime(0), 7.0f);
}

TEST(ControllerKeys, RemovedKeyLeavesItsSegmentToSpanTheGap) {
    Controller c;
    for (float t : {0.0f, 1.0f, 2.0f}) c.addKey(t, t);
    c.segments[0] = {CURVE_SMOOTHSTEP, ENDS_VALVAL};
    c.segments[1] = {CURVE_EXPONENTIAL, ENDS_ZEROZERO};
    c.removeKey(1);  // segment 0 goes; the one that left key 1 now spans 0..2
    ASSERT_EQ(c.keys.size(), 2u);
    ASSERT_EQ(c.segments.size(), 1u);
    EXPECT_EQ(c.segments[0].curve, CURVE_EXPONENTIAL);
    EXPECT_EQ(valueAt(c, 1.0f), 0.0f);

    c.removeKey(5);
    EXPECT_EQ(c.keys.size(), 2u);
}

TEST(ControllerKeys, UnusedSegmentGovernsALaterSpan) {
    Controller c = twoKeys(0.0f, 0.0f, 1.0f, 1.0f, {CURVE_SMOOTHSTEP, ENDS_ONEONE});
    c.removeKey(1);  // one key left: the segment stays, unused
    EXPECT_EQ(c.segments.size(), 1u);
    c.addKey(4.0f, 0.5f);  // a second segment is appended, but span 0 is governed by the old one
    EXPECT_EQ(c.segments.size(), 2u);
    EXPECT_EQ(valueAt(c, 2.0f), 1.0f);

    c.removeKey(0);
    c.removeKey(0);
    EXPECT_TRUE(c.keys.empty());
    EXPECT_EQ(c.value, 0.0f);
}

TEST(ControllerKeys, Queries) {
    Controller c;
    EXPECT_EQ(c.segmentAt(0.0f), -1);
    for (float t : {1.0f, 2.0f, 4.0f}) c.addKey(t, t * 10.0f);
    EXPECT_EQ(c.segmentAt(0.0f), 0);
    EXPECT_EQ(c.segmentAt(1.5f), 0);
    EXPECT_EQ(c.segmentAt(2.0f), 0);  // exactly at key 1 still belongs to the span before it
    EXPECT_EQ(c.segmentAt(3.0f), 1);
    EXPECT_EQ(c.segmentAt(4.5f), -1);
    EXPECT_EQ(c.keyValue(2), 40.0f);
    EXPECT_EQ(c.keyValue(3), 0.0f);
    EXPECT_EQ(c.keyTime(-1), 0.0f);
    EXPECT_EQ(c.nextKeyTime(0), 2.0f);
    EXPECT_EQ(c.nextKeyTime(2), 0.0f);
    EXPECT_EQ(c.nextKeyTime(2147483647), 0.0f);
}

TEST(ControllerSetTest, GetFindsOrCreatesByExactName) {
    ControllerSet set;
    Controller* gamma = set.get("ZEL: Gamma");
    EXPECT_EQ(set.get("ZEL: Gamma"), gamma);
    Controller* other = set.get("ZEL: gamma");
    EXPECT_NE(other, gamma);
    EXPECT_NE(set.get("ZEL: Gamma "), gamma);
    EXPECT_EQ(set.count(), 3u);
    EXPECT_EQ(set.at(0), gamma);
    EXPECT_EQ(set.at(3), nullptr);
    EXPECT_EQ(set.nameAt(1), "ZEL: gamma");
    EXPECT_EQ(gamma->value, 0.0f);

    gamma->addKey(0.0f, 0.0f);
    gamma->addKey(1.0f, 1.0f);
    set.update(0.25f);
    EXPECT_EQ(gamma->value, 0.25f);
    EXPECT_EQ(other->value, 0.0f);
}
