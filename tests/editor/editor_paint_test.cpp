// What a paint puts on the screen: thumbs at the band values, the switch
// lamps, the read-out line and the level bars, over the artwork.

#include <limits>

#include "editor_fixture.h"

namespace vorn::editor_test {
namespace {

using namespace layout;

// --- Thumbs ---

TEST_F(OpenEditorTest, FlatBandsPutEveryIndexLineOnTheMiddleGuide) {
    paint();
    for (int band = 0; band < kBandCount; ++band) {
        EXPECT_EQ(thumbTop(leftThumbX(band)), 82) << "band " << band;
        EXPECT_EQ(indexLine(leftThumbX(band)), 92) << "band " << band;
        EXPECT_EQ(thumbTop(rightThumbX(band)), 82) << "band " << band;
        EXPECT_EQ(indexLine(rightThumbX(band)), 92) << "band " << band;
    }
}

TEST_F(OpenEditorTest, ThumbsFollowTheirOwnBandAndChannel) {
    setBand(0, 1.0f, 0.0f);
    setBand(29, 0.0f, 1.0f);
    setBand(7, 0.75f, 0.25f);
    paint();
    EXPECT_EQ(thumbTop(leftThumbX(0)), 24);
    EXPECT_EQ(thumbTop(rightThumbX(0)), 140);  // lowest row 159
    EXPECT_EQ(thumbTop(leftThumbX(29)), 140);
    EXPECT_EQ(thumbTop(rightThumbX(29)), 24);
    EXPECT_EQ(indexLine(leftThumbX(7)), 63);
    EXPECT_EQ(indexLine(rightThumbX(7)), 121);
    EXPECT_EQ(thumbTop(leftThumbX(8)), 82);
}

TEST_F(OpenEditorTest, ThumbPositionIsTruncatedNotRounded) {
    // Row 37 stands for 113/116, which as a float is a hair below it.
    dragTo(leftThumbX(3) + 2, 37);
    ASSERT_LT(116.0 * left(3), 113.0);
    paint();
    EXPECT_EQ(indexLine(leftThumbX(3)), 38);
}

// The editor never stores such values, but a paint must not trip over them:
// not-a-number shows flat (the engine plays it flat), values far outside
// 0..1 put their thumb out of sight, and a value just past the end still
// follows the line.
TEST_F(OpenEditorTest, OddBandValuesDrawSafely) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    setBand(0, nan, -nan);
    setBand(1, inf, -inf);
    setBand(2, 1e30f, -1e30f);
    setBand(3, 1.1f, -0.1f);
    paint();
    EXPECT_EQ(indexLine(leftThumbX(0)), 92);
    EXPECT_EQ(indexLine(rightThumbX(0)), 92);
    for (int band : {1, 2}) {
        EXPECT_EQ(thumbTop(leftThumbX(band)), -1) << "band " << band;
        EXPECT_EQ(thumbTop(rightThumbX(band)), -1) << "band " << band;
    }
    EXPECT_EQ(thumbTop(leftThumbX(3)), 140 - 127);
    EXPECT_EQ(thumbTop(rightThumbX(3)), 140 + 11);
}

TEST_F(OpenEditorTest, PaintShowsTheCurrentProgram) {
    effect.setBandValue(4, kLeftChannel, 2, 1.0f);
    paint();
    EXPECT_EQ(thumbTop(leftThumbX(2)), 82);
    effect.dispatcher(vst::effSetProgram, 0, 4, nullptr, 0.0f);
    paint();
    EXPECT_EQ(thumbTop(leftThumbX(2)), 24);
}

// --- Switch lamps ---

// Lamp interiors without the highlight pixel in the top left corner.
constexpr Zone kLeftLampBody = {231, 172, 237, 176};
constexpr Zone kRightLampBody = {265, 172, 270, 176};
constexpr Zone kLinkLampBody = {310, 172, 315, 176};
constexpr Zone kLeftLampArea = {230, 171, 237, 176};
constexpr Zone kRightLampArea = {264, 171, 270, 176};
constexpr Zone kLinkLampArea = {309, 171, 315, 176};

TEST_F(OpenEditorTest, LampsShowTheSwitches) {
    paint();
    EXPECT_TRUE(zoneIs(kLeftLampBody, colour::kLampLit));
    EXPECT_EQ(pixel(230, 171), colour::kLampHighlight);
    EXPECT_TRUE(zoneIs(kRightLampBody, colour::kLampLit));
    EXPECT_EQ(pixel(264, 171), colour::kLampHighlight);
    EXPECT_TRUE(zoneShowsArtwork(kLinkLampArea));

    press(233, 174);  // L off
    release(233, 174);
    paint();
    EXPECT_TRUE(zoneShowsArtwork(kLeftLampArea));
    EXPECT_TRUE(zoneIs(kRightLampBody, colour::kLampLit));
}

TEST_F(OpenEditorTest, LinkMasksBothChannelLampsWhateverTheyHold) {
    effect.editorState().editLink = true;
    paint();
    EXPECT_TRUE(zoneIs(kLeftLampArea, colour::kLampMasked));
    EXPECT_TRUE(zoneIs(kRightLampArea, colour::kLampMasked));
    EXPECT_TRUE(zoneIs(kLinkLampBody, colour::kLampLit));
    EXPECT_EQ(pixel(309, 171), colour::kLampLit);  // the link lamp has no highlight

    effect.editorState().editLeft = false;
    effect.editorState().editRight = false;
    paint();
    EXPECT_TRUE(zoneIs(kLeftLampArea, colour::kLampMasked));
    EXPECT_TRUE(zoneIs(kRightLampArea, colour::kLampMasked));
}

// --- Read-out ---

class ReadoutTest : public OpenEditorTest {
protected:
    // The panel as the window system draws the text on its own: only the
    // text's pixels, in the read-out colour, at the read-out position.
    raster::Image textAlone(const std::string& text) {
        platform::Context context = system.createCompatibleContext(nullptr);
        platform::Handle bitmap = system.createCompatibleBitmap(context, kWidth, kHeight);
        platform::Handle font = system.createFont(kReadoutFontHeight, kReadoutFontFace);
        platform::Handle oldBitmap = system.select(context, bitmap);
        platform::Handle oldFont = system.select(context, font);
        system.setTransparentText(context);
        system.setTextColour(context, colour::kReadoutText);
        system.drawText(context, kReadoutX, kReadoutY, text.c_str(), static_cast<int>(text.size()));
        raster::Image picture = system.bitmapImage(bitmap);
        system.select(context, oldFont);
        system.select(context, oldBitmap);
        system.deleteContext(context);
        system.deleteObject(font);
        system.deleteObject(bitmap);
        return picture;
    }

    // Within the read-out panel, the screen has the text colour exactly where
    // the text alone has it.
    bool panelShows(const std::string& text) {
        const raster::Image expected = textAlone(text);
        int textPixels = 0;
        for (int y = kReadoutPanel.top; y <= kReadoutPanel.bottom; ++y) {
            for (int x = kReadoutPanel.left; x <= kReadoutPanel.right; ++x) {
                const bool wanted = expected.at(x, y) == colour::kReadoutText;
                textPixels += wanted;
                if ((pixel(x, y) == colour::kReadoutText) != wanted) return false;
            }
        }
        return textPixels > 0;
    }
};

TEST_F(ReadoutTest, ShowsTheTitleAfterConstruction) {
    paint();
    EXPECT_TRUE(panelShows("Tarnwell Vorn"));
}

TEST_F(ReadoutTest, ShowsTheGainOfTheLastDragWithoutTraces) {
    dragTo(13, 20);
    paint();
    EXPECT_TRUE(panelShows("Gain: +12.0 dB"));

    dragTo(13, 93);
    paint();  // the shorter text leaves nothing of the longer one
    EXPECT_TRUE(panelShows("Gain: -0.2 dB"));
}

// --- Level bars ---

class LevelBarTest : public OpenEditorTest {
protected:
    // Length of the bar drawn from the slot's left end, and its colour.
    int barWidth(int slotLeft, Colour colour) {
        int width = 0;
        while (width < kBarMaxWidth + 5 && pixel(slotLeft + width, kBarTop + 1) == colour) ++width;
        for (int row = kBarTop; row < kBarBottom; ++row)
            for (int x = slotLeft; x < slotLeft + width; ++x)
                if (pixel(x, row) != colour) return -1;  // not a clean three-row bar
        return width;
    }
};

TEST_F(LevelBarTest, SilenceDrawsNoBars) {
    paint();
    EXPECT_TRUE(zoneShowsArtwork(kInputSlot));
    EXPECT_TRUE(zoneShowsArtwork(kOutputSlot));
}

TEST_F(LevelBarTest, BarWidthFollowsTheArcTangentOfTheLevel) {
    playBlockWithPeak(0.5f);
    paint();
    EXPECT_EQ(barWidth(kInputBarX, colour::kLevelBar), 62);
    EXPECT_EQ(barWidth(kOutputBarX, colour::kLevelBar), 62);
    EXPECT_EQ(pixel(kInputBarX + 62, kBarTop + 1), colour::kSlot);

    playBlockWithPeak(0.8f);
    paint();
    EXPECT_EQ(barWidth(kInputBarX, colour::kLevelBar), 79);
    EXPECT_EQ(barWidth(kOutputBarX, colour::kLevelBar), 79);

    playBlockWithPeak(1.0f);  // full scale itself is not yet over
    paint();
    EXPECT_EQ(barWidth(kInputBarX, colour::kLevelBar), 79);
}

TEST_F(LevelBarTest, AboveFullScaleTheFullBarTurnsRed) {
    playBlockWithPeak(1.5f);
    paint();
    EXPECT_EQ(barWidth(kInputBarX, colour::kLevelBarOver), 79);
    EXPECT_EQ(barWidth(kOutputBarX, colour::kLevelBarOver), 79);
    EXPECT_TRUE(zoneShowsArtwork({kInputBarX + 79, kBarTop - 2, kInputBarX + 90, kBarBottom + 1}));
}

TEST_F(LevelBarTest, InputAndOutputBarsAreIndependent) {
    std::vector<float> left(16, 0.5f), right(16, 0.5f);
    effect.engineForTests().inputMeter.update(left.data(), right.data(), 16);
    paint();
    EXPECT_EQ(barWidth(kInputBarX, colour::kLevelBar), 62);
    EXPECT_TRUE(zoneShowsArtwork(kOutputSlot));
}

}  // namespace
}  // namespace vorn::editor_test
