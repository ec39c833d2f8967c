#include "platform/x11/x11_pointer_messages.h"

#include "platform/software/software_window_system.h"

namespace vorn::platform {
namespace {

constexpr uint8_t kLeftButton = 1;
// The top bit of an event's type says it was sent by a client.
constexpr uint8_t kEventTypeMask = 0x7F;

uintptr_t leftButtonState(uint16_t state) {
    return (state & XCB_BUTTON_MASK_1) ? kLeftButtonHeld : 0;
}

intptr_t position(int16_t x, int16_t y) { return SoftwareWindowSystem::pointerPosition(x, y); }

}  // namespace

std::optional<PointerMessage> pointerMessage(const xcb_generic_event_t& event) {
    switch (event.response_type & kEventTypeMask) {
    case XCB_BUTTON_PRESS: {
        const auto& press = reinterpret_cast<const xcb_button_press_event_t&>(event);
        if (press.detail != kLeftButton) return std::nullopt;
        return PointerMessage{kMessageLeftButtonDown, kLeftButtonHeld,
                              position(press.event_x, press.event_y)};
    }
    case XCB_BUTTON_RELEASE: {
        const auto& release = reinterpret_cast<const xcb_button_release_event_t&>(event);
        if (release.detail != kLeftButton) return std::nullopt;
        return PointerMessage{kMessageLeftButtonUp, 0, position(release.event_x, release.event_y)};
    }
    case XCB_MOTION_NOTIFY: {
        const auto& motion = reinterpret_cast<const xcb_motion_notify_event_t&>(event);
        return PointerMessage{kMessageMouseMove, leftButtonState(motion.state),
                              position(motion.event_x, motion.event_y)};
    }
    default: return std::nullopt;
    }
}

}  // namespace vorn::platform
