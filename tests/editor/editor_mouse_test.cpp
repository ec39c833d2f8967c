// Dragging over the sliders, the switches, the title plate, capture and
// cursor, through the window procedure as the system delivers them.

#include <utility>
#include <vector>

#include "editor_fixture.h"

namespace vorn::editor_test {
namespace {

using layout::leftThumbX;

constexpr int kBands = kBandCount;

class MouseTest : public OpenEditorTest {
protected:
    // Band values that differ from the flat 0.5 a drag would be compared to.
    std::vector<std::pair<float, float>> changedBands() {
        std::vector<std::pair<float, float>> changed;
        for (int band = 0; band < kBands; ++band)
            if (left(band) != 0.5f || right(band) != 0.5f) changed.push_back({left(band), right(band)});
        return changed;
    }
    void setSwitches(bool leftOn, bool rightOn, bool linkOn) {
        effect.editorState().editLeft = leftOn;
        effect.editorState().editRight = rightOn;
        effect.editorState().editLink = linkOn;
    }
};

TEST_F(MouseTest, DragSetsTheLeftValueUnderThePointer) {
    press(13, 100);
    EXPECT_TRUE(effect.editorState().dragging);
    EXPECT_EQ(left(0), 0.5f);  // the press itself changes nothing
    move(13, 63);
    EXPECT_EQ(left(0), 0.75f);
    EXPECT_EQ(right(0), 0.5f);
    EXPECT_EQ(readout(), "Gain: +6.0 dB");
    EXPECT_EQ(changedBands().size(), 1u);
    release(13, 63);
    EXPECT_FALSE(effect.editorState().dragging);
}

TEST_F(MouseTest, SharedColumnSetsBothChannelsItsNeighboursOne) {
    for (int band : {0, 14, 29}) {
        const int x = leftThumbX(band);
        setBand(band, 0.5f, 0.5f);
        dragTo(x + 10, 34);  // 18 + 23i
        EXPECT_EQ(left(band), 1.0f);
        EXPECT_EQ(right(band), 1.0f);

        dragTo(x + 9, 150);  // 17 + 23i
        EXPECT_EQ(left(band), 0.0f);
        EXPECT_EQ(right(band), 1.0f);

        dragTo(x + 11, 92);  // 19 + 23i
        EXPECT_EQ(left(band), 0.0f);
        EXPECT_EQ(right(band), 0.5f);
        setBand(band, 0.5f, 0.5f);
        EXPECT_TRUE(changedBands().empty()) << "band " << band;
    }
}

TEST_F(MouseTest, ZonesEndWhereTheSlidersEnd) {
    // The gaps between bands, both window edges and the bottom strip.
    for (int x : {0, 7, 29, 30, 29 + 23 * 13, 30 + 23 * 13, 696, 699})
        dragTo(x, 40);
    dragTo(13, 165);
    EXPECT_TRUE(changedBands().empty());

    dragTo(8, 164);  // first column and last row of band 0
    dragTo(695, 0);  // last column of band 29's right slider, top row
    EXPECT_EQ(left(0), 0.0f);
    EXPECT_EQ(right(29), 1.0f);
    EXPECT_EQ(changedBands().size(), 2u);
}

TEST_F(MouseTest, LinkAloneSetsBothChannelsAcrossTheWholeBand) {
    setSwitches(false, false, true);
    for (int x = leftThumbX(5); x <= leftThumbX(5) + 20; ++x) {
        setBand(5, 0.5f, 0.5f);
        dragTo(x, 63);
        EXPECT_EQ(left(5), 0.75f) << "x " << x;
        EXPECT_EQ(right(5), 0.75f) << "x " << x;
    }
    EXPECT_EQ(changedBands().size(), 1u);
}

TEST_F(MouseTest, SwitchesChooseTheChannels) {
    setSwitches(false, true, false);
    dragTo(13, 63);
    dragTo(22, 63);
    EXPECT_EQ(left(0), 0.5f);
    EXPECT_EQ(right(0), 0.75f);

    setSwitches(false, false, false);
    dragTo(13, 121);
    dragTo(22, 121);
    EXPECT_EQ(left(0), 0.5f);
    EXPECT_EQ(right(0), 0.75f);
    EXPECT_EQ(readout(), "Gain: -6.0 dB");  // the text follows even so
}

TEST_F(MouseTest, HeightMapsToValueAndReadout) {
    const struct {
        int y;
        float value;
        const char* text;
    } rows[] = {
        {20, 1.0f, "Gain: +12.0 dB"},  {34, 1.0f, "Gain: +12.0 dB"},
        {91, 59.0f / 116, "Gain: +0.2 dB"}, {92, 0.5f, "Gain: +0.0 dB"},
        {93, 57.0f / 116, "Gain: -0.2 dB"}, {121, 0.25f, "Gain: -6.0 dB"},
        {150, 0.0f, "Gain: -12.0 dB"}, {164, 0.0f, "Gain: -12.0 dB"},
    };
    for (const auto& row : rows) {
        dragTo(13, row.y);
        EXPECT_FLOAT_EQ(left(0), row.value) << "y " << row.y;
        EXPECT_EQ(readout(), row.text) << "y " << row.y;
    }
}

TEST_F(MouseTest, BottomStripSetsOnlyTheText) {
    for (int y = 165; y <= 180; ++y) {
        dragTo(93, 63);  // some other text first
        dragTo(13, y);
        EXPECT_EQ(readout(), "Gain: -12.0 dB") << "y " << y;
    }
    EXPECT_EQ(left(0), 0.5f);
}

TEST_F(MouseTest, BelowOrAboveTheWindowNothingHappensAtAll) {
    press(13, 100);
    const std::string before = readout();
    for (int y : {181, 200, 65535, -1, -30}) move(13, y);  // negative rows arrive under capture
    EXPECT_EQ(readout(), before);
    EXPECT_EQ(left(0), 0.5f);
    EXPECT_FALSE(system.lastCursor().has_value());
    release(13, 100);
}

TEST_F(MouseTest, PressCapturesAndRepaintsMovesDoNotReleaseLetsGo) {
    const int before = system.invalidationCount(window);
    press(400, 100);
    EXPECT_EQ(system.capturedWindow(), window);
    EXPECT_EQ(system.invalidationCount(window), before + 1);
    move(13, 60);
    move(40, 60);
    release(40, 60);
    EXPECT_EQ(system.capturedWindow(), nullptr);
    EXPECT_EQ(system.invalidationCount(window), before + 1);
}

TEST_F(MouseTest, SwitchPressesToggleOnlyTheirOwnSwitch) {
    press(233, 174);
    EXPECT_FALSE(effect.editorState().editLeft);
    press(230, 171);
    EXPECT_TRUE(effect.editorState().editLeft);
    press(271, 177);
    EXPECT_FALSE(effect.editorState().editRight);
    press(309, 174);
    EXPECT_TRUE(effect.editorState().editLink);
    EXPECT_TRUE(effect.editorState().editLeft);
    EXPECT_FALSE(effect.editorState().editRight);
    press(238, 174);  // between the boxes
    press(316, 178);
    EXPECT_TRUE(effect.editorState().editLeft);
    EXPECT_FALSE(effect.editorState().editRight);
    EXPECT_TRUE(effect.editorState().editLink);
    release(316, 178);
}

TEST_F(MouseTest, CursorIsTheHandOverTheTitlePlateOnly) {
    move(40, 170, 0);
    EXPECT_EQ(system.lastCursor(), platform::Cursor::hand);
    move(81, 170, 0);
    EXPECT_EQ(system.lastCursor(), platform::Cursor::arrow);
    move(0, 179, 0);
    EXPECT_EQ(system.lastCursor(), platform::Cursor::hand);
    move(80, 166, 0);
    EXPECT_EQ(system.lastCursor(), platform::Cursor::arrow);
    EXPECT_TRUE(changedBands().empty());  // no drag without a press
}

TEST_F(MouseTest, TitlePlatePressOpensTheAddressAndStartsADrag) {
    press(20, 172);
    ASSERT_EQ(system.openedAddresses().size(), 1u);
    EXPECT_EQ(system.openedAddresses()[0], EqualizerEditor::kMakerWebAddress);
    move(13, 63);
    EXPECT_EQ(left(0), 0.75f);
    release(13, 63);
    EXPECT_EQ(system.openedAddresses().size(), 1u);
}

// The release went to another window (capture lost, window hidden): the
// first move without the button ends the drag, so hovering edits nothing.
TEST_F(MouseTest, MoveWithoutTheButtonEndsADragWhoseReleaseWasLost) {
    press(13, 100);
    move(13, 63);
    EXPECT_EQ(left(0), 0.75f);
    const std::string text = readout();

    system.releaseCapture();  // another window took the mouse and the release
    move(36, 63, 0);
    EXPECT_EQ(left(1), 0.5f);
    EXPECT_FALSE(effect.editorState().dragging);
    EXPECT_EQ(system.capturedWindow(), nullptr);
    EXPECT_EQ(readout(), text);
    move(59, 40, 0);
    move(59, 40);  // the button held again, but pressed elsewhere
    EXPECT_EQ(left(2), 0.5f);
    EXPECT_EQ(changedBands().size(), 1u);

    press(59, 100);  // a press here starts the next drag as before
    move(59, 63);
    EXPECT_EQ(left(2), 0.75f);
    release(59, 63);
}

// Only the left button's flag counts in wParam, as Win32 packs it with
// the others (MK_SHIFT 0x04, MK_CONTROL 0x08, MK_MBUTTON 0x10).
TEST_F(MouseTest, OtherFlagsWithoutTheLeftButtonAlsoEndTheDrag) {
    press(13, 100);
    move(13, 63, 0x0001 | 0x0004 | 0x0008);
    EXPECT_EQ(left(0), 0.75f);
    move(13, 121, 0x0004 | 0x0010);
    EXPECT_EQ(left(0), 0.75f);
    EXPECT_FALSE(effect.editorState().dragging);
}

// Under capture a move outside the window, without the button, ends the
// drag as well, though it is too far off to set anything.
TEST_F(MouseTest, MoveOutsideWithoutTheButtonEndsTheDragToo) {
    press(13, 100);
    move(13, -20, 0);
    EXPECT_FALSE(effect.editorState().dragging);
    EXPECT_EQ(system.capturedWindow(), nullptr);
    move(13, 63, 0);
    EXPECT_EQ(left(0), 0.5f);
}

TEST_F(MouseTest, TextStaysAfterReleaseAndDragsEditTheCurrentProgram) {
    dragTo(13, 63);
    EXPECT_EQ(readout(), "Gain: +6.0 dB");

    effect.dispatcher(vst::effSetProgram, 0, 6, nullptr, 0.0f);
    const bool leftBefore = effect.editorState().editLeft;
    dragTo(13, 121);
    EXPECT_EQ(effect.programs().bandValue(6, kLeftChannel, 0), 0.25f);
    EXPECT_EQ(effect.programs().bandValue(0, kLeftChannel, 0), 0.75f);
    EXPECT_EQ(effect.editorState().editLeft, leftBefore);
}

}  // namespace
}  // namespace vorn::editor_test
