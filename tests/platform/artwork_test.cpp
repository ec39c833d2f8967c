// The artwork against the layout that the paint and the mouse handling use:
// where the grooves, guide lines, switch boxes and meter slots lie, and what
// the thumb looks like.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "common/editor_layout.h"
#include "resources/artwork.h"
#include "resources/pixel_font.h"

namespace vorn::resources {
namespace {

namespace colour = layout::colour;

int brightness(Colour colour) { return colour.red + colour.green + colour.blue; }

class Background : public ::testing::Test {
protected:
    static const Image& image() {
        static const Image background = drawBackground();
        return background;
    }
    static bool allPixels(const layout::Zone& zone, Colour expected) {
        for (int y = zone.top; y <= zone.bottom; ++y) {
            for (int x = zone.left; x <= zone.right; ++x) {
                if (image().at(x, y) != expected) return false;
            }
        }
        return true;
    }
};

TEST_F(Background, CoversTheWindowOnGround) {
    ASSERT_EQ(image().width, layout::kWidth);
    ASSERT_EQ(image().height, layout::kHeight);
    EXPECT_EQ(image().at(0, 0), colour::kGround);
    EXPECT_EQ(image().at(3, 100), colour::kGround);
    EXPECT_EQ(image().at(699, 160), colour::kGround);
    EXPECT_EQ(image().at(250, 179), colour::kGround);  // between the switches
}

TEST_F(Background, GroovesLieOnTheTrackColumnsOfTheFirstAndLastBands) {
    for (int band : {0, 29}) {
        for (int coreX : {layout::leftTrackX(band), layout::rightTrackX(band)}) {
            for (int row : {layout::kTrackTopRow, 100, layout::kTrackBottomRow}) {
                EXPECT_EQ(image().at(coreX, row), colour::kTrackCore) << coreX << ", " << row;
                EXPECT_EQ(image().at(coreX + 1, row), colour::kTrackCore) << coreX << ", " << row;
                EXPECT_LT(brightness(image().at(coreX - 1, row)), brightness(colour::kGround));
                EXPECT_GT(brightness(image().at(coreX + 2, row)), brightness(colour::kGround));
            }
            // End caps just beyond the core, then ground.
            EXPECT_NE(image().at(coreX, layout::kTrackTopRow - 1), colour::kTrackCore);
            EXPECT_NE(image().at(coreX, layout::kTrackBottomRow + 1), colour::kTrackCore);
            EXPECT_EQ(image().at(coreX, layout::kTrackBottomRow + 2), colour::kGround);
        }
    }
    // Band 0's left groove is at columns 13 and 14, band 29's right one at 689 and 690.
    EXPECT_EQ(image().at(13, 26), colour::kTrackCore);
    EXPECT_EQ(image().at(690, 155), colour::kTrackCore);
}

TEST_F(Background, GuideLinesRunFullWidthInTheirColours) {
    for (int x : {0, 13, 350, 699}) {
        EXPECT_EQ(image().at(x, 63), colour::kGuideSide) << x;
        EXPECT_EQ(image().at(x, 92), colour::kGuideCentre) << x;
        EXPECT_EQ(image().at(x, 121), colour::kGuideSide) << x;
    }
    EXPECT_EQ(image().at(0, 91), colour::kGround);
    EXPECT_EQ(image().at(0, 93), colour::kGround);
}

TEST_F(Background, EveryBandHasAWhiteLabelCentredOverItsTracksWithinTheLabelRows) {
    for (int band = 0; band < kBandCount; ++band) {
        int left = layout::kWidth, right = -1;
        for (int y = 0; y < layout::kTrackTopRow - 1; ++y) {
            for (int x = layout::leftThumbX(band); x < layout::rightThumbX(band) + 10; ++x) {
                if (image().at(x, y) != colour::kLabel) continue;
                EXPECT_GE(y, layout::kBandLabelTopRow);
                EXPECT_LE(y, layout::kBandLabelBottomRow);
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        ASSERT_GE(right, left) << "band " << band << " has no label";
        const int middle2 = left + right;  // twice the label's middle
        const int tracks2 = layout::leftTrackX(band) + layout::rightTrackX(band) + 1;
        EXPECT_LE(std::abs(middle2 - tracks2), 2) << "band " << band;
    }
}

TEST_F(Background, TitlePlateIsDarkWithWhiteLettering) {
    EXPECT_EQ(image().at(2, 178), colour::kPlate);
    EXPECT_EQ(image().at(layout::kTitlePlate.right, layout::kTitlePlate.top), colour::kGround)
        << "the top right corner is rounded";
    int white = 0;
    for (int y = layout::kTitlePlate.top; y <= layout::kTitlePlate.bottom; ++y) {
        for (int x = layout::kTitlePlate.left; x <= layout::kTitlePlate.right; ++x) {
            white += image().at(x, y) == colour::kLabel;
        }
    }
    EXPECT_GT(white, 100);
}

TEST_F(Background, SwitchBoxesAreGreyUnderTheirLampsWithAShadowOutside) {
    const layout::Zone boxes[] = {layout::kLeftSwitchBox, layout::kRightSwitchBox,
                                  layout::kLinkSwitchBox};
    for (const layout::Zone& box : boxes) {
        EXPECT_EQ(image().at(box.left, box.top), colour::kSwitchBox);
        EXPECT_EQ(image().at(box.right - 1, box.bottom - 1), colour::kSwitchBox);
        EXPECT_LT(brightness(image().at(box.right, box.top + 2)), brightness(colour::kSwitchBox));
        EXPECT_LT(brightness(image().at(box.left + 2, box.bottom)), brightness(colour::kSwitchBox));
        EXPECT_EQ(image().at(box.left - 1, box.top + 3), colour::kGround);
        int labelPixels = 0;  // each box has its white label just before it
        for (int x = box.left - 14; x < box.left; ++x) {
            for (int y = box.top; y <= box.bottom; ++y) labelPixels += image().at(x, y) == colour::kLabel;
        }
        EXPECT_GT(labelPixels, 8);
    }
}

TEST_F(Background, MeterSlotsAreBlackBetweenADarkAndALightRim) {
    for (const layout::Zone& slot : {layout::kInputSlot, layout::kOutputSlot}) {
        EXPECT_TRUE(allPixels(slot, colour::kSlot));
        EXPECT_EQ(slot.right - slot.left + 1, layout::kBarMaxWidth);
        const Colour above = image().at(slot.left + 10, slot.top - 1);
        const Colour below = image().at(slot.left + 10, slot.bottom + 1);
        EXPECT_LT(brightness(above), brightness(colour::kPanel));
        EXPECT_GT(brightness(below), brightness(colour::kPanel));
        EXPECT_EQ(image().at(slot.right + 1, slot.top), colour::kPanel);
    }
}

TEST_F(Background, TheReadoutPanelIsEmptyWhereTheTextGoes) {
    const layout::Zone textArea = {layout::kReadoutX, layout::kReadoutY,
                                   layout::kReadoutPanel.right - 2,
                                   layout::kReadoutY + layout::kReadoutFontHeight - 1};
    EXPECT_TRUE(allPixels(textArea, colour::kPanel));
    EXPECT_EQ(image().at(layout::kRightPlate.right, layout::kRightPlate.bottom), colour::kPlate);
}

TEST(Thumb, HasAGreyFrameALightShadedBodyAndAFullWidthIndexLine) {
    const Image thumb = drawThumb();
    ASSERT_EQ(thumb.width, 10);
    ASSERT_EQ(thumb.height, 20);
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(thumb.at(x, layout::kThumbIndexRow), colour::kThumbIndex) << x;
        EXPECT_EQ(thumb.at(x, 0), colour::kThumbFrame);
        EXPECT_EQ(thumb.at(x, 19), colour::kThumbFrame);
    }
    for (int y : {1, 9, 11, 18}) {
        EXPECT_EQ(thumb.at(0, y), colour::kThumbFrame);
        EXPECT_EQ(thumb.at(9, y), colour::kThumbFrame);
    }
    EXPECT_EQ(thumb.at(4, 1), colour::kThumbBodyTop);
    EXPECT_EQ(thumb.at(4, 18), colour::kThumbBodyBottom);
    for (int y = 2; y <= 18; ++y) {
        if (y == layout::kThumbIndexRow || y == layout::kThumbIndexRow + 1) continue;
        EXPECT_LE(brightness(thumb.at(4, y)), brightness(thumb.at(4, y - 1))) << y;
    }
}

TEST(BitmapResources, AreFoundByNumber) {
    EXPECT_EQ(drawBitmapResource(layout::kBackgroundBitmapId).width, 700);
    EXPECT_EQ(drawBitmapResource(layout::kThumbBitmapId).width, 10);
    EXPECT_TRUE(drawBitmapResource(102).pixels.empty());
}

// Lowest row that a line of text lights, -1 if none; the text's top is row 0.
int lowestLitRow(std::string_view text) {
    Image canvas(64, 16);
    drawText(canvas, 0, 0, text, {255, 255, 255});
    for (int y = canvas.height - 1; y >= 0; --y)
        for (int x = 0; x < canvas.width; ++x)
            if (canvas.at(x, y) != Colour{0, 0, 0}) return y;
    return -1;
}

// Letters with a tail hang below the line, so that g, p and q do not read as
// 9, P and a raised q; everything else stays within the glyph height.
TEST(PixelFont, OnlyTheTailedLettersReachBelowTheLine) {
    for (char letter : std::string_view("gjpqy"))
        EXPECT_EQ(lowestLitRow(std::string(1, letter)), kGlyphHeight + kGlyphDescent - 1) << letter;
    EXPECT_EQ(lowestLitRow("Tarnwell Vorn 0123456789.k+-:dB"), kGlyphHeight - 1);
}

}  // namespace
}  // namespace vorn::resources
