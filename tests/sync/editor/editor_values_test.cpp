// Values outside 0..1: the curve band widens to the controller's keys, drags move in proportion,
// and nothing the user did not move changes.
#include "editor_fixture.h"

#include "sync/editor/value_band.h"

namespace orvotest {
namespace {

using namespace zelFramework;

TEST(ValueBand, ZeroToOneUnlessTheKeysReachFurtherThenRoundedOut) {
    Controller c;
    EXPECT_EQ(valueBandFor(nullptr), (ValueBand{0.0f, 1.0f}));
    EXPECT_EQ(valueBandFor(&c), (ValueBand{0.0f, 1.0f}));
    c.addKey(0.0f, 0.3f);
    c.addKey(1.0f, 1.0f);
    EXPECT_EQ(valueBandFor(&c), (ValueBand{0.0f, 1.0f}));
    c.addKey(2.0f, -0.22f);  // the show's whitepoint: a step of 0.2 holds it
    EXPECT_NEAR(valueBandFor(&c).low, -0.4f, 1e-6);
    EXPECT_FLOAT_EQ(valueBandFor(&c).high, 1.0f);
    c.keys = {{0.0f, 0.0f}, {1.0f, 195.0f}};  // "Glitch: rand"
    EXPECT_EQ(valueBandFor(&c), (ValueBand{0.0f, 200.0f}));
    c.keys = {{0.0f, 2.0f}};  // "ZEL: Glow Exponent"
    EXPECT_EQ(valueBandFor(&c), (ValueBand{0.0f, 2.0f}));
    c.keys = {{0.0f, std::nanf("")}, {1.0f, INFINITY}, {2.0f, 3.0e38f}, {3.0f, -3.0e38f}};
    const ValueBand huge = valueBandFor(&c);  // no infinity in the span, every finite key inside
    EXPECT_LE(huge.low, -3.0e38f);
    EXPECT_GE(huge.high, 3.0e38f);
    EXPECT_TRUE(std::isfinite(huge.low) && std::isfinite(huge.high));
}

TEST(ValueBand, MapsValuesToTheCurveBandAndBack) {
    const ValueBand band{-0.4f, 1.0f};
    EXPECT_FLOAT_EQ(band.toY(-0.4f), 0.25f);
    EXPECT_FLOAT_EQ(band.toY(1.0f), 0.40f);
    EXPECT_NEAR(band.fromY(band.toY(-0.22f)), -0.22f, 1e-6);
    EXPECT_FLOAT_EQ(valueDragDelta(band, 0.1f), 1.4f);
    EXPECT_FLOAT_EQ(band.clampValue(5.0f), 1.0f);
    EXPECT_TRUE(std::isnan(band.clampValue(std::nanf(""))));
}

// The whitepoint of the show: 0, then 0.08, then -0.22 at 50 s (x 0.5).
Controller* whitepoint(ControllerSet& set) {
    Controller* c = set.get("ZEL: Whitepoint");
    c->addKey(0.0f, 0.0f);
    c->addKey(25.0f, 0.08f);
    c->addKey(50.0f, -0.22f);
    return c;
}

TEST_F(EditorTest, ANegativeKeyKeepsItsValueUntilMovedAndThenMovesByTheBand) {
    Controller* c = whitepoint(set);
    startEditor();
    editor->draw();
    EXPECT_NEAR(editor->view.band.low, -0.4f, 1e-6);
    // Press and release in place: the value is untouched (it used to be clamped to 0).
    move(0.5f, KEY_BAND);
    send(WM_RBUTTONDOWN, 0.5f, KEY_BAND);
    send(WM_RBUTTONUP, 0.5f, KEY_BAND);
    EXPECT_EQ(c->keys[2].value, -0.22f);
    // One pixel up moves it by a thousandth of ten bands (1.4 x 0.01).
    send(WM_RBUTTONDOWN, 0.5f, KEY_BAND);
    move(0.5f, KEY_BAND + 0.001f);
    EXPECT_NEAR(c->keys[2].value, -0.206f, 1e-4);
    // Down far: it stops at the band's bottom, not at 0.
    move(0.5f, 0.0f);
    EXPECT_NEAR(c->keys[2].value, -0.4f, 1e-5);
    EXPECT_NEAR(editor->view.band.low, -0.4f, 1e-6);  // the band stands still during the drag
    send(WM_RBUTTONUP, 0.5f, 0.0f);
    EXPECT_EQ(c->keys[0].value, 0.0f);
    EXPECT_EQ(c->keys[1].value, 0.08f);
}

TEST_F(EditorTest, AControllerUpTo195IsEditedInItsOwnRange) {
    Controller* c = set.get("Glitch: rand");
    c->addKey(10.0f, 0.0f);
    c->addKey(30.0f, 195.0f);
    startEditor();
    editor->draw();
    EXPECT_EQ(editor->view.band, (ValueBand{0.0f, 200.0f}));
    move(0.3f, KEY_BAND);
    send(WM_RBUTTONDOWN, 0.3f, KEY_BAND);
    move(0.3f, KEY_BAND - 0.01f);  // a hundredth of the height: 20 units down
    EXPECT_NEAR(c->keys[1].value, 175.0f, 1e-3);
    send(WM_RBUTTONUP, 0.3f, KEY_BAND - 0.01f);
    EXPECT_EQ(c->keys[0].value, 0.0f);
}

}  // namespace
}  // namespace orvotest
