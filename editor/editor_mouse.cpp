// The editor's mouse handling: a press starts a drag (and works the switches
// and the title plate), every move during a drag sets the bands under the
// pointer, a release ends it, and so does a move without the button held.
// Moves never repaint; the host's next idle call shows the new thumbs and
// read-out.

#include "common/editor_layout.h"
#include "editor/equalizer_editor.h"
#include "editor/readout_text.h"
#include "editor/slider_geometry.h"

namespace vorn {

void EqualizerEditor::pressLeftButton(platform::Window target, unsigned x, unsigned y) {
    platform::WindowSystem& system = platform::windowSystem();
    state.dragging = true;  // wherever the press is

    if (layout::kTitlePlateZone.contains(x, y)) system.openWebAddress(kMakerWebAddress);

    if (layout::kLeftSwitchZone.contains(x, y))
        state.editLeft = !state.editLeft;
    else if (layout::kRightSwitchZone.contains(x, y))
        state.editRight = !state.editRight;
    else if (layout::kLinkSwitchZone.contains(x, y))
        state.editLink = !state.editLink;

    // Capture so that moves and the release still arrive outside the window.
    system.setCapture(target);
    system.invalidate(target);  // show the switch states
}

void EqualizerEditor::movePointer(unsigned x, unsigned y, bool leftButtonHeld) {
    // The release went to another window (capture lost, window hidden): the
    // drag is over, or hovering would go on changing the user's settings.
    if (state.dragging && !leftButtonHeld) releaseLeftButton();

    // Below the window, or above it under capture (the row then reads as a
    // large number).
    if (y > static_cast<unsigned>(layout::kMouseMaxY)) return;

    // The window class has no cursor of its own.
    platform::windowSystem().setCursor(layout::kTitlePlateZone.contains(x, y)
                                           ? platform::Cursor::hand
                                           : platform::Cursor::arrow);

    if (!state.dragging) return;

    const float value = slider::valueForRow(y);
    setBandsUnderPointer(x, y, value);
    formatGainReadout(value, state.displayText, sizeof state.displayText);
}

void EqualizerEditor::setBandsUnderPointer(unsigned x, unsigned y, float value) {
    for (int band = 0; band < kBandCount; ++band) {
        if (state.editLeft && slider::leftZone(band).contains(x, y))
            model.setBandValue(kLeftChannel, band, value);
        if (state.editRight && slider::rightZone(band).contains(x, y))
            model.setBandValue(kRightChannel, band, value);
        if (state.editLink && slider::linkedZone(band).contains(x, y))
            model.setLinkedBands(band, value);
    }
}

void EqualizerEditor::releaseLeftButton() {
    state.dragging = false;
    platform::windowSystem().releaseCapture();
}

}  // namespace vorn
