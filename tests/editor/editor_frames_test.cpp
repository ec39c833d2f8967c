// When the editor asks for a frame where the window keeps showing the last
// one (the X11 policy, here in the headless system): at the first idle call
// of a window, and then only when something the frame shows has changed.

#include <cstring>
#include <vector>

#include "editor_fixture.h"

namespace vorn::editor_test {
namespace {

class ChangedFramesTest : public OpenEditorTest {
protected:
    void SetUp() override {
        system.setSkipsUnchangedFrames(true);
        OpenEditorTest::SetUp();
        ASSERT_TRUE(idleAsksForAFrame()) << "a new window is drawn at its first idle call";
    }

    // One host idle call; true if it invalidated the window, which is then
    // painted as the X11 system paints it.
    bool idleAsksForAFrame() {
        const int before = system.invalidationCount(window);
        dispatch(effect, vst::effEditIdle);
        const bool asked = system.invalidationCount(window) > before;
        if (asked) paint();
        return asked;
    }

    void setMeters(float input, float output, int frames = 16) {
        std::vector<float> in(frames, input), out(frames, output);
        effect.engineForTests().inputMeter.update(in.data(), in.data(), frames);
        effect.engineForTests().outputMeter.update(out.data(), out.data(), frames);
    }
};

TEST_F(ChangedFramesTest, IdleCallsWithNothingChangedDrawNothing) {
    for (int call = 0; call < 3; ++call) EXPECT_FALSE(idleAsksForAFrame()) << "call " << call;
}

TEST_F(ChangedFramesTest, ABandAsksForAFrameWhenItsThumbMoves) {
    effect.setBandValue(kRightChannel, 7, 0.75f);
    EXPECT_TRUE(idleAsksForAFrame());
    EXPECT_EQ(indexLine(layout::rightThumbX(7)), 63);
    EXPECT_FALSE(idleAsksForAFrame());

    // 116 x value stays within the same whole number: the same row.
    effect.setBandValue(kRightChannel, 7, 0.755f);
    EXPECT_FALSE(idleAsksForAFrame());
}

TEST_F(ChangedFramesTest, AnotherProgramAsksForAFrameWhenItLooksDifferent) {
    effect.setBandValue(4, kLeftChannel, 2, 1.0f);  // not the current program
    EXPECT_FALSE(idleAsksForAFrame());
    effect.dispatcher(vst::effSetProgram, 0, 4, nullptr, 0.0f);
    EXPECT_TRUE(idleAsksForAFrame());
    EXPECT_EQ(thumbTop(layout::leftThumbX(2)), 24);
    effect.dispatcher(vst::effSetProgram, 0, 0, nullptr, 0.0f);
    EXPECT_TRUE(idleAsksForAFrame());
    effect.dispatcher(vst::effSetProgram, 0, 1, nullptr, 0.0f);  // flat like program 0
    EXPECT_FALSE(idleAsksForAFrame());
}

TEST_F(ChangedFramesTest, SwitchesAndTheReadoutAskForAFrame) {
    effect.editorState().editLink = true;
    EXPECT_TRUE(idleAsksForAFrame());
    EXPECT_TRUE(zoneIs({310, 172, 315, 176}, layout::colour::kLampLit));

    std::strcpy(effect.editorState().displayText, "Gain: +1.0 dB");
    EXPECT_TRUE(idleAsksForAFrame());
    EXPECT_FALSE(idleAsksForAFrame());
}

TEST_F(ChangedFramesTest, ADragShowsAtTheIdleCallAfterIt) {
    press(13, 100);
    move(13, 63);  // moves invalidate nothing themselves
    EXPECT_TRUE(idleAsksForAFrame());
    EXPECT_EQ(indexLine(layout::leftThumbX(0)), 63);
    EXPECT_EQ(readout(), "Gain: +6.0 dB");
    move(13, 63);  // the same place: the same value and text
    EXPECT_FALSE(idleAsksForAFrame());
    release(13, 63);
}

// The meters change with every block of audio, but a frame is needed only
// when a bar's width or colour does.
TEST_F(ChangedFramesTest, LevelsAskForAFrameOnlyWhenTheirBarsLookDifferent) {
    setMeters(0.5f, 0.0f);
    EXPECT_TRUE(idleAsksForAFrame());
    setMeters(0.5003f, 0.0f);  // 62 pixels still
    EXPECT_FALSE(idleAsksForAFrame());
    setMeters(0.52f, 0.0f);  // 63
    EXPECT_TRUE(idleAsksForAFrame());
    setMeters(0.52f, 0.3f);  // the output bar alone
    EXPECT_TRUE(idleAsksForAFrame());

    // Full width either way; only the colour changes across full scale.
    setMeters(1.0002f, 0.3f, 1);
    EXPECT_TRUE(idleAsksForAFrame());
    setMeters(0.0f, 0.3f, 2);  // falls to 0.9999
    ASSERT_LT(effect.inputLevel(), 1.0f);
    EXPECT_TRUE(idleAsksForAFrame());
    EXPECT_EQ(pixel(layout::kInputBarX, layout::kBarTop), layout::colour::kLevelBar);
}

TEST_F(ChangedFramesTest, ARequestedRefreshAndAReopenedWindowAreDrawn) {
    editorOf(effect).requestRefresh();
    EXPECT_TRUE(idleAsksForAFrame());
    close();
    open();
    EXPECT_TRUE(idleAsksForAFrame());
    EXPECT_FALSE(idleAsksForAFrame());
}

// A paint the system asks for by itself (an exposure) shows the news too, so
// the idle call after it has nothing left to draw.
TEST_F(ChangedFramesTest, APaintInBetweenLeavesNothingToDraw) {
    effect.setBandValue(kLeftChannel, 0, 1.0f);
    paint();
    EXPECT_FALSE(idleAsksForAFrame());
}

}  // namespace
}  // namespace vorn::editor_test
