// The editor's paint: the whole frame is composed off-screen and copied to the
// window in one transfer, so the window never shows a half-drawn frame and
// never needs erasing. Every context and brush made here is deleted here.

#include "common/editor_layout.h"
#include "editor/equalizer_editor.h"

#include <cstring>

namespace vorn {

namespace {

void fillSolid(platform::Context context, const platform::Rect& rect, platform::Colour colour) {
    platform::WindowSystem& system = platform::windowSystem();
    platform::Handle brush = system.createSolidBrush(colour);
    system.fillRect(context, rect, brush);
    system.deleteObject(brush);
}

// The single highlight pixel in a lamp's top left corner.
platform::Rect highlightPixel(const platform::Rect& lamp) {
    return {lamp.left, lamp.top, lamp.left + 1, lamp.top + 1};
}

}  // namespace

void EqualizerEditor::paint(platform::Window target) {
    platform::WindowSystem& system = platform::windowSystem();
    // Everything the frame shows, read once and kept: the next idle call
    // compares it with what the effect holds then.
    shownContent = readFrameContent(model, state);
    const FrameContent& content = *shownContent;

    platform::Context windowContext = system.beginPaint(target);
    platform::Context frame = system.createCompatibleContext(windowContext);
    if (!backBuffer)  // in the screen's colour format; kept for all later paints
        backBuffer = system.createCompatibleBitmap(windowContext, layout::kWidth, layout::kHeight);
    platform::Handle previousBitmap = system.select(frame, backBuffer);
    platform::Handle previousFont = system.select(frame, readoutFont);

    drawBackground(frame);
    drawThumbs(frame, content);
    drawSwitchLamps(frame, content);
    drawReadout(frame, content);
    drawLevelBars(frame, content);

    system.select(frame, previousFont);
    system.copyPixels(windowContext, 0, 0, layout::kWidth, layout::kHeight, frame, 0, 0);
    system.select(frame, previousBitmap);
    system.endPaint(target);
    system.deleteContext(frame);
}

void EqualizerEditor::drawBitmap(platform::Context frame, platform::Handle bitmap, int x, int y,
                                 int width, int height) {
    platform::WindowSystem& system = platform::windowSystem();
    platform::Context source = system.createCompatibleContext(frame);
    platform::Handle previous = system.select(source, bitmap);
    system.copyPixels(frame, x, y, width, height, source, 0, 0);
    system.select(source, previous);
    system.deleteContext(source);
}

void EqualizerEditor::drawBackground(platform::Context frame) {
    drawBitmap(frame, backgroundBitmap, 0, 0, layout::kWidth, layout::kHeight);
}

void EqualizerEditor::drawThumbs(platform::Context frame, const FrameContent& content) {
    for (int band = 0; band < kBandCount; ++band) {
        drawBitmap(frame, thumbBitmap, layout::leftThumbX(band),
                   content.thumbTops[kLeftChannel][band], layout::kThumbWidth,
                   layout::kThumbHeight);
        drawBitmap(frame, thumbBitmap, layout::rightThumbX(band),
                   content.thumbTops[kRightChannel][band], layout::kThumbWidth,
                   layout::kThumbHeight);
    }
}

void EqualizerEditor::drawSwitchLamps(platform::Context frame, const FrameContent& content) {
    using namespace layout;
    if (content.editLeft) {
        fillSolid(frame, kLeftLamp, colour::kLampLit);
        fillSolid(frame, highlightPixel(kLeftLamp), colour::kLampHighlight);
    }
    if (content.editRight) {
        fillSolid(frame, kRightLamp, colour::kLampLit);
        fillSolid(frame, highlightPixel(kRightLamp), colour::kLampHighlight);
    }
    // While linked, the single-channel switches have no say: their lamps are
    // masked whatever they hold.
    if (content.editLink) {
        fillSolid(frame, kLeftLamp, colour::kLampMasked);
        fillSolid(frame, kRightLamp, colour::kLampMasked);
        fillSolid(frame, kLinkLamp, colour::kLampLit);
    }
}

void EqualizerEditor::drawReadout(platform::Context frame, const FrameContent& content) {
    platform::WindowSystem& system = platform::windowSystem();
    // Transparent: the background copy has just cleared the panel.
    system.setTransparentText(frame);
    system.setTextColour(frame, layout::colour::kReadoutText);
    const char* text = content.readout.data();
    const auto length = static_cast<int>(strnlen(text, content.readout.size()));
    system.drawText(frame, layout::kReadoutX, layout::kReadoutY, text, length);
}

void EqualizerEditor::drawLevelBars(platform::Context frame, const FrameContent& content) {
    const int lefts[FrameContent::kMeterCount] = {layout::kInputBarX, layout::kOutputBarX};
    for (int meter = 0; meter < FrameContent::kMeterCount; ++meter) {
        const LevelBarLook& bar = content.levelBars[meter];
        if (bar.width == 0) continue;
        fillSolid(frame,
                  {lefts[meter], layout::kBarTop, lefts[meter] + bar.width, layout::kBarBottom},
                  bar.colour);
    }
}

}  // namespace vorn
