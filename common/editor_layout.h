#pragma once
// The editor's geometry and colours. The artwork generator draws from these
// numbers, the paint places thumbs, lamps, text and bars by them, and the
// mouse handling hit-tests against them: one set of numbers for all three.
// Rectangles are left, top, right, bottom with right and bottom exclusive;
// "zones" are inclusive ranges, as the mouse sees them.

#include "common/bands.h"
#include "common/geometry.h"

namespace vorn::layout {

constexpr int kWidth = 700;
constexpr int kHeight = 180;

constexpr int kBackgroundBitmapId = 114;
constexpr int kThumbBitmapId = 101;
constexpr int kThumbWidth = 10;
constexpr int kThumbHeight = 20;
constexpr int kThumbIndexRow = 10;  // the black line across the thumb

// Bands: band i's left thumb starts at x = kFirstThumbX + kBandPitch * i,
// its right thumb kThumbWidth further on.
constexpr int kBandPitch = 23;
constexpr int kFirstThumbX = 8;
constexpr int leftThumbX(int band) { return kFirstThumbX + kBandPitch * band; }
constexpr int rightThumbX(int band) { return leftThumbX(band) + kThumbWidth; }
constexpr int leftTrackX(int band) { return leftThumbX(band) + 5; }   // first of two core columns
constexpr int rightTrackX(int band) { return rightThumbX(band) + 4; }  // first of two core columns

// Value travel: the index line sits on kZeroRow for 0.0 and kZeroRow - kTravel
// for 1.0; the thumb's top is kThumbIndexRow above the index line.
constexpr int kTravel = 116;
constexpr int kZeroRow = 150;
constexpr int kFullRow = kZeroRow - kTravel;  // 34
constexpr int kThumbTopAtZero = kZeroRow - kThumbIndexRow;  // 140
constexpr int kTrackTopRow = 26;
constexpr int kTrackBottomRow = 155;
constexpr int kGuideRows[3] = {63, 92, 121};  // +6, 0 and -6 dB
constexpr int kBandLabelTopRow = 7;
constexpr int kBandLabelBottomRow = 13;

// Slider zones, inclusive: a thumb's columns plus one to the right.
constexpr int kSliderZoneTop = 0;
constexpr int kSliderZoneBottom = 164;
constexpr int kMouseMaxY = 180;  // moves below this row (or above the window) are ignored

// The bottom strip.
constexpr int kStripTopRow = 167;
struct Zone {
    int left, top, right, bottom;  // inclusive
    constexpr bool contains(unsigned x, unsigned y) const {
        return x >= static_cast<unsigned>(left) && x <= static_cast<unsigned>(right) &&
               y >= static_cast<unsigned>(top) && y <= static_cast<unsigned>(bottom);
    }
};
constexpr Zone kTitlePlateZone = {0, 167, 80, 179};
constexpr Zone kLeftSwitchZone = {230, 171, 237, 177};
constexpr Zone kRightSwitchZone = {264, 171, 271, 177};
constexpr Zone kLinkSwitchZone = {309, 171, 316, 177};

// Switch boxes in the artwork (inclusive) and the lamps painted over them.
constexpr Zone kLeftSwitchBox = {228, 170, 237, 177};
constexpr Zone kRightSwitchBox = {262, 170, 271, 177};
constexpr Zone kLinkSwitchBox = {307, 170, 316, 177};
constexpr Rect kLeftLamp = {230, 171, 238, 177};
constexpr Rect kRightLamp = {264, 171, 271, 177};
constexpr Rect kLinkLamp = {309, 171, 316, 177};

// Panels of the bottom strip (inclusive, approximate outlines for the artwork).
constexpr Zone kTitlePlate = {0, 167, 86, 179};
constexpr Zone kInputPanel = {91, 167, 208, 179};
constexpr Zone kReadoutPanel = {327, 167, 487, 179};
constexpr Zone kOutputPanel = {497, 167, 613, 179};
constexpr Zone kRightPlate = {622, 167, 699, 179};

// Meter slots (inclusive) and the bars painted into them.
constexpr Zone kInputSlot = {116, 173, 194, 175};
constexpr Zone kOutputSlot = {527, 173, 605, 175};
constexpr int kInputBarX = 116;
constexpr int kOutputBarX = 527;
constexpr int kBarTop = 173;
constexpr int kBarBottom = 176;  // exclusive
constexpr int kBarMaxWidth = 79;

// The read-out line's top left corner and its font.
constexpr int kReadoutX = 366;
constexpr int kReadoutY = 169;
constexpr int kReadoutFontHeight = 10;
constexpr const char* kReadoutFontFace = "Lucida Console";

// Colours (red, green, blue).
namespace colour {
constexpr Colour kGround = {91, 118, 162};
constexpr Colour kLabel = {255, 255, 255};
constexpr Colour kTrackCore = {51, 51, 51};
constexpr Colour kGuideCentre = {239, 242, 246};
constexpr Colour kGuideSide = {145, 163, 193};
constexpr Colour kPlate = {42, 52, 73};
constexpr Colour kPanel = {151, 168, 196};
constexpr Colour kSlot = {0, 0, 0};
constexpr Colour kSwitchBox = {128, 128, 128};
constexpr Colour kThumbFrame = {102, 102, 102};
constexpr Colour kThumbBodyTop = {255, 255, 255};
constexpr Colour kThumbBodyBottom = {205, 205, 205};
constexpr Colour kThumbIndex = {0, 0, 0};
constexpr Colour kLampLit = {0, 255, 0};
constexpr Colour kLampHighlight = {68, 255, 68};
constexpr Colour kLampMasked = {128, 128, 128};
constexpr Colour kReadoutText = {52, 68, 97};
constexpr Colour kLevelBar = {211, 219, 231};
constexpr Colour kLevelBarOver = {255, 60, 60};
}  // namespace colour

// The labels printed above the bands, lowest band first.
constexpr const char* kBandLabels[kBandCount] = {
    "20",  "31",  "40",  "50",  "62",   "80",   "100",  "125", "160", "200",
    "250", "320", "400", "500", "640",  "800",  "1k",   "1.3k", "1.6k", "2k",
    "2.5k", "3.1k", "4k", "5k", "6k",  "8k",   "10k",  "13k", "16k", "20k"};

}  // namespace vorn::layout
