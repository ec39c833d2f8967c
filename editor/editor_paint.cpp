// The editor's paint: the whole frame is composed off-screen and copied to the
// window in one transfer, so the window never shows a half-drawn frame and
// never needs erasing. Every context and brush made here is deleted here.

#include "common/editor_layout.h"
#include "editor/equalizer_editor.h"
#include "editor/level_bar.h"
#include "editor/slider_geometry.h"

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

    platform::Context windowContext = system.beginPaint(target);
    platform::Context frame = system.createCompatibleContext(windowContext);
    if (!backBuffer)  // in the screen's colour format; kept for all later paints
        backBuffer = system.createCompatibleBitmap(windowContext, layout::kWidth, layout::kHeight);
    platform::Handle previousBitmap = system.select(frame, backBuffer);
    platform::Handle previousFont = system.select(frame, readoutFont);

    drawBackground(frame);
    drawThumbs(frame);
    drawSwitchLamps(frame);
    drawReadout(frame);
    drawLevelBars(frame);

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

void EqualizerEditor::drawThumbs(platform::Context frame) {
    for (int band = 0; band < kBandCount; ++band) {
        const int leftTop = slider::thumbTopForValue(model.bandValue(kLeftChannel, band));
        const int rightTop = slider::thumbTopForValue(model.bandValue(kRightChannel, band));
        drawBitmap(frame, thumbBitmap, layout::leftThumbX(band), leftTop, layout::kThumbWidth,
                   layout::kThumbHeight);
        drawBitmap(frame, thumbBitmap, layout::rightThumbX(band), rightTop, layout::kThumbWidth,
                   layout::kThumbHeight);
    }
}

void EqualizerEditor::drawSwitchLamps(platform::Context frame) {
    using namespace layout;
    if (state.editLeft) {
        fillSolid(frame, kLeftLamp, colour::kLampLit);
        fillSolid(frame, highlightPixel(kLeftLamp), colour::kLampHighlight);
    }
    if (state.editRight) {
        fillSolid(frame, kRightLamp, colour::kLampLit);
        fillSolid(frame, highlightPixel(kRightLamp), colour::kLampHighlight);
    }
    // While linked, the single-channel switches have no say: their lamps are
    // masked whatever they hold.
    if (state.editLink) {
        fillSolid(frame, kLeftLamp, colour::kLampMasked);
        fillSolid(frame, kRightLamp, colour::kLampMasked);
        fillSolid(frame, kLinkLamp, colour::kLampLit);
    }
}

void EqualizerEditor::drawReadout(platform::Context frame) {
    platform::WindowSystem& system = platform::windowSystem();
    // Transparent: the background copy has just cleared the panel.
    system.setTransparentText(frame);
    system.setTextColour(frame, layout::colour::kReadoutText);
    const char* text = state.displayText;
    const auto length = static_cast<int>(strnlen(text, sizeof state.displayText));
    system.drawText(frame, layout::kReadoutX, layout::kReadoutY, text, length);
}

void EqualizerEditor::drawLevelBars(platform::Context frame) {
    const struct {
        int left;
        float level;
    } bars[] = {{layout::kInputBarX, model.inputLevel()},
                {layout::kOutputBarX, model.outputLevel()}};
    for (const auto& bar : bars) {
        const int width = levelBarWidth(bar.level);
        if (width == 0) continue;
        fillSolid(frame, {bar.left, layout::kBarTop, bar.left + width, layout::kBarBottom},
                  levelBarColour(bar.level));
    }
}

}  // namespace vorn
