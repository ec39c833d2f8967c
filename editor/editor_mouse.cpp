// The editor's mouse handling: a press starts a drag (and works the switches
// and the title plate), every move during a drag sets the bands under the
// pointer, a release ends it. Moves never repaint; the host's next idle call
// shows the new thumbs and read-out.

#include "editor/editor_layout.h"
#include "editor/equalizer_editor.h"
#include "editor/readout_text.h"
#include "editor/slider_geometry.h"
#include "host/equalizer_effect.h"

namespace vorn {

void EqualizerEditor::pressLeftButton(platform::Window target, unsigned x, unsigned y) {
    platform::WindowSystem& system = platform::windowSystem();
    equalizer->dragging = true;  // wherever the press is

    if (layout::kTitlePlateZone.contains(x, y)) system.openWebAddress(kMakerWebAddress);

    if (layout::kLeftSwitchZone.contains(x, y))
        equalizer->editLeft = !equalizer->editLeft;
    else if (layout::kRightSwitchZone.contains(x, y))
        equalizer->editRight = !equalizer->editRight;
    else if (layout::kLinkSwitchZone.contains(x, y))
        equalizer->editLink = !equalizer->editLink;

    // Capture so that moves and the release still arrive outside the window.
    system.setCapture(target);
    system.invalidate(target);  // show the switch states
}

void EqualizerEditor::movePointer(unsigned x, unsigned y) {
    // Below the window, or above it under capture (the row then reads as a
    // large number).
    if (y > static_cast<unsigned>(layout::kMouseMaxY)) return;

    // The window class has no cursor of its own.
    platform::windowSystem().setCursor(layout::kTitlePlateZone.contains(x, y)
                                           ? platform::Cursor::hand
                                           : platform::Cursor::arrow);

    // Only the flag counts, not the button state: if the release went to
    // another window, moves keep editing until the next release here.
    if (!equalizer->dragging) return;

    const float value = slider::valueForRow(y);
    setBandsUnderPointer(x, y, value);
    formatGainReadout(value, equalizer->displayText, sizeof equalizer->displayText);
}

void EqualizerEditor::setBandsUnderPointer(unsigned x, unsigned y, float value) {
    constexpr auto relaxed = std::memory_order_relaxed;
    for (int band = 0; band < layout::kBandCount; ++band) {
        if (equalizer->editLeft && slider::leftZone(band).contains(x, y))
            equalizer->currentProgramRecord().left[band].store(value, relaxed);
        if (equalizer->editRight && slider::rightZone(band).contains(x, y))
            equalizer->currentProgramRecord().right[band].store(value, relaxed);
        if (equalizer->editLink && slider::linkedZone(band).contains(x, y)) {
            equalizer->currentProgramRecord().right[band].store(value, relaxed);
            equalizer->currentProgramRecord().left[band].store(value, relaxed);
        }
    }
}

void EqualizerEditor::releaseLeftButton() {
    equalizer->dragging = false;
    platform::windowSystem().releaseCapture();
}

}  // namespace vorn
