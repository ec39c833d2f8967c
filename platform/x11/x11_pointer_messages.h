#pragma once
// X pointer events as the editor's window procedure expects them: the Win32
// mouse messages with their wParam (buttons held) and lParam (position).

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>

#include "platform/window_system.h"

namespace vorn::platform {

struct PointerMessage {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

// The message for a press, release or motion of the pointer; none for other
// events and for buttons other than the first. X reports the button state
// as it was before the event, Win32 as it is after it; wParam follows Win32
// and tells only of the left button, the one the editor looks at. Positions
// are relative to the window that got the event and may be negative under a
// grab; they are packed like Win32's, 16 bits each.
std::optional<PointerMessage> pointerMessage(const xcb_generic_event_t& event);

}  // namespace vorn::platform
