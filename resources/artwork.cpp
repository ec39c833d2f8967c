#include "resources/artwork.h"

#include <string_view>

#include "common/editor_layout.h"
#include "common/plugin_identity.h"
#include "resources/pixel_font.h"

namespace vorn::resources {
namespace {

namespace colour = layout::colour;
using layout::Zone;

// Shades that only the artwork uses: the walls of a slider groove, the rims
// of a meter slot, the shadow of a switch box, the meter labels.
constexpr Colour kGrooveShadow = {62, 81, 112};
constexpr Colour kGrooveHighlight = {170, 186, 212};
constexpr Colour kSlotRimAbove = {88, 100, 122};
constexpr Colour kSlotRimBelow = {214, 222, 234};
constexpr Colour kSwitchShadow = {72, 72, 72};
constexpr Colour kPanelLabel = colour::kPlate;

// Text in the bottom strip sits with its lowest row on the switch boxes'
// lowest row; the title is centred on its plate.
constexpr int kStripLabelTop = layout::kLeftSwitchBox.bottom - kGlyphHeight + 1;
constexpr int kSwitchLabelGap = 3;  // columns between a switch's label and its box

static_assert(layout::kBandLabelBottomRow - layout::kBandLabelTopRow + 1 == kGlyphHeight,
              "band labels are one glyph high");

Rect toRect(const Zone& zone) { return {zone.left, zone.top, zone.right + 1, zone.bottom + 1}; }

// Rounded corners: how many columns each of a panel's first rows gives up at
// a rounded corner.
constexpr int kCornerInset[] = {3, 1, 1};

enum Corners { kSquare = 0, kRoundTopLeft = 1, kRoundTopRight = 2 };

void drawPanel(Image& image, const Zone& zone, Colour fill, int corners) {
    image.fill(toRect(zone), fill);
    int row = zone.top;
    for (int inset : kCornerInset) {
        if (corners & kRoundTopLeft) {
            image.fill({zone.left, row, zone.left + inset, row + 1}, colour::kGround);
        }
        if (corners & kRoundTopRight) {
            image.fill({zone.right + 1 - inset, row, zone.right + 1, row + 1}, colour::kGround);
        }
        ++row;
    }
}

void drawBandLabels(Image& image) {
    for (int band = 0; band < kBandCount; ++band) {
        const std::string_view label = layout::kBandLabels[band];
        // Centred over the span from the left groove's core to the right one's.
        const int spanLeft = layout::leftTrackX(band);
        const int spanWidth = layout::rightTrackX(band) + 2 - spanLeft;
        const int x = spanLeft + (spanWidth - textWidth(label)) / 2;
        drawText(image, x, layout::kBandLabelTopRow, label, colour::kLabel);
    }
}

// A groove two columns wide: shadow on its left wall and its top end,
// highlight on its right wall and its bottom end.
void drawGroove(Image& image, int coreX) {
    const int top = layout::kTrackTopRow;
    const int bottom = layout::kTrackBottomRow + 1;
    image.fill({coreX - 1, top, coreX, bottom}, kGrooveShadow);
    image.fill({coreX, top, coreX + 2, bottom}, colour::kTrackCore);
    image.fill({coreX + 2, top, coreX + 3, bottom}, kGrooveHighlight);
    image.fill({coreX, top - 1, coreX + 2, top}, kGrooveShadow);
    image.fill({coreX, bottom, coreX + 2, bottom + 1}, kGrooveHighlight);
}

void drawGuideLines(Image& image) {
    for (int row : layout::kGuideRows) {
        const bool flat = row == layout::kGuideRows[1];  // the 0 dB line
        const Colour line = flat ? colour::kGuideCentre : colour::kGuideSide;
        image.fill({0, row, layout::kWidth, row + 1}, line);
    }
}

void drawTitlePlate(Image& image) {
    const Zone& plate = layout::kTitlePlate;
    drawPanel(image, plate, colour::kPlate, kRoundTopRight);
    const std::string_view title = identity::kTitleText;
    const int plateWidth = plate.right - plate.left + 1;
    const int plateHeight = plate.bottom - plate.top + 1;
    drawText(image, plate.left + (plateWidth - textWidth(title, Weight::bold)) / 2,
             plate.top + (plateHeight - kGlyphHeight) / 2, title, colour::kLabel, Weight::bold);
}

// A light panel with its label centred in the room left of a black slot that
// has a dark rim above it and a light one below.
void drawMeterPanel(Image& image, const Zone& panel, const Zone& slot, std::string_view label) {
    drawPanel(image, panel, colour::kPanel, kRoundTopLeft | kRoundTopRight);
    const int labelRoom = slot.left - panel.left;
    drawText(image, panel.left + (labelRoom - textWidth(label)) / 2, kStripLabelTop, label,
             kPanelLabel);
    image.fill(toRect(slot), colour::kSlot);
    image.fill({slot.left, slot.top - 1, slot.right + 1, slot.top}, kSlotRimAbove);
    image.fill({slot.left, slot.bottom + 1, slot.right + 1, slot.bottom + 2}, kSlotRimBelow);
}

// A grey box with a shadow along its right and bottom edges, its label
// printed just before it.
void drawSwitch(Image& image, const Zone& box, std::string_view label) {
    image.fill(toRect(box), colour::kSwitchBox);
    image.fill({box.right, box.top, box.right + 1, box.bottom + 1}, kSwitchShadow);
    image.fill({box.left, box.bottom, box.right + 1, box.bottom + 1}, kSwitchShadow);
    drawText(image, box.left - kSwitchLabelGap - textWidth(label), kStripLabelTop, label,
             colour::kLabel);
}

}  // namespace

Image drawBackground() {
    Image image(layout::kWidth, layout::kHeight, colour::kGround);
    drawBandLabels(image);
    for (int band = 0; band < kBandCount; ++band) {
        drawGroove(image, layout::leftTrackX(band));
        drawGroove(image, layout::rightTrackX(band));
    }
    // The guide lines run across the grooves too, marking the index line's
    // place for +6, 0 and -6 dB on every slider.
    drawGuideLines(image);

    drawTitlePlate(image);
    drawMeterPanel(image, layout::kInputPanel, layout::kInputSlot, "IN");
    drawSwitch(image, layout::kLeftSwitchBox, "L");
    drawSwitch(image, layout::kRightSwitchBox, "R");
    drawSwitch(image, layout::kLinkSwitchBox, "LR");
    drawPanel(image, layout::kReadoutPanel, colour::kPanel, kRoundTopLeft | kRoundTopRight);
    drawMeterPanel(image, layout::kOutputPanel, layout::kOutputSlot, "OUT");
    drawPanel(image, layout::kRightPlate, colour::kPlate, kRoundTopLeft);
    return image;
}

Image drawThumb() {
    const int width = layout::kThumbWidth;
    const int height = layout::kThumbHeight;
    Image image(width, height, colour::kThumbFrame);

    // The body inside the frame shades evenly from its top row to its lowest.
    const Colour top = colour::kThumbBodyTop;
    const Colour bottom = colour::kThumbBodyBottom;
    const int bodyRows = height - 2;
    auto blend = [&](uint8_t from, uint8_t to, int step) {
        return static_cast<uint8_t>(from + (to - from) * step / (bodyRows - 1));
    };
    for (int step = 0; step < bodyRows; ++step) {
        const Colour shade = {blend(top.red, bottom.red, step), blend(top.green, bottom.green, step),
                              blend(top.blue, bottom.blue, step)};
        image.fill({1, 1 + step, width - 1, 2 + step}, shade);
    }

    const int index = layout::kThumbIndexRow;
    image.fill({0, index, width, index + 1}, colour::kThumbIndex);
    return image;
}

Image drawBitmapResource(int resourceId) {
    switch (resourceId) {
        case layout::kBackgroundBitmapId: return drawBackground();
        case layout::kThumbBitmapId: return drawThumb();
        default: return {};
    }
}

}  // namespace vorn::resources
