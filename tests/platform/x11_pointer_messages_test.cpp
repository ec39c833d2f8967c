// X pointer events turned into the editor's mouse messages.

#include <gtest/gtest.h>

#include <cstring>

#include "platform/headless/headless_window_system.h"
#include "platform/x11/x11_pointer_messages.h"

namespace vorn::platform {
namespace {

constexpr uint8_t kSentByAClient = 0x80;

xcb_generic_event_t buttonEvent(uint8_t type, uint8_t button, int16_t x, int16_t y,
                                uint16_t state) {
    xcb_button_press_event_t event = {};
    event.response_type = type;
    event.detail = button;
    event.event_x = x;
    event.event_y = y;
    event.state = state;
    xcb_generic_event_t generic = {};
    static_assert(sizeof event <= sizeof generic);  // the generic one adds a full sequence
    std::memcpy(&generic, &event, sizeof event);
    return generic;
}

xcb_generic_event_t motionEvent(int16_t x, int16_t y, uint16_t state) {
    return buttonEvent(XCB_MOTION_NOTIFY, 0, x, y, state);
}

TEST(X11PointerMessages, LeftButtonPressMoveAndReleaseBecomeTheWin32Messages) {
    const auto press = pointerMessage(buttonEvent(XCB_BUTTON_PRESS, 1, 13, 100, 0));
    ASSERT_TRUE(press);
    EXPECT_EQ(press->message, kMessageLeftButtonDown);
    EXPECT_EQ(press->wParam, kLeftButtonHeld);  // held once pressed, though X says "before"
    EXPECT_EQ(press->lParam, HeadlessWindowSystem::pointerPosition(13, 100));

    const auto move = pointerMessage(motionEvent(13, 63, XCB_BUTTON_MASK_1));
    ASSERT_TRUE(move);
    EXPECT_EQ(move->message, kMessageMouseMove);
    EXPECT_EQ(move->wParam, kLeftButtonHeld);

    const auto release =
        pointerMessage(buttonEvent(XCB_BUTTON_RELEASE, 1, 13, 63, XCB_BUTTON_MASK_1));
    ASSERT_TRUE(release);
    EXPECT_EQ(release->message, kMessageLeftButtonUp);
    EXPECT_EQ(release->wParam, 0u);  // released once it arrives, though X says "before"
}

// The mend rests on this: a move is "button held" only with Button1Mask,
// whatever else the state holds.
TEST(X11PointerMessages, AMoveCarriesTheLeftButtonOnlyWhenItIsHeld) {
    EXPECT_EQ(pointerMessage(motionEvent(5, 5, 0))->wParam, 0u);
    const uint16_t othersOnly = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_BUTTON_MASK_2 |
                                XCB_BUTTON_MASK_3;
    EXPECT_EQ(pointerMessage(motionEvent(5, 5, othersOnly))->wParam, 0u);
    EXPECT_EQ(pointerMessage(motionEvent(5, 5, othersOnly | XCB_BUTTON_MASK_1))->wParam,
              kLeftButtonHeld);
}

TEST(X11PointerMessages, OtherButtonsAndOtherEventsAreNotMouseMessages) {
    for (uint8_t button : {2, 3, 4, 5}) {
        EXPECT_FALSE(pointerMessage(buttonEvent(XCB_BUTTON_PRESS, button, 1, 1, 0)));
        EXPECT_FALSE(pointerMessage(buttonEvent(XCB_BUTTON_RELEASE, button, 1, 1, 0)));
    }
    xcb_generic_event_t expose = {};
    expose.response_type = XCB_EXPOSE;
    EXPECT_FALSE(pointerMessage(expose));
    xcb_generic_event_t error = {};  // errors arrive as type 0
    EXPECT_FALSE(pointerMessage(error));
}

// Under a grab, positions left of or above the window are negative; they
// are packed as Win32 packs them, so the editor reads them as far off.
TEST(X11PointerMessages, NegativePositionsArePackedLikeWin32) {
    const auto move = pointerMessage(motionEvent(-3, -30, XCB_BUTTON_MASK_1));
    ASSERT_TRUE(move);
    const auto packed = static_cast<uintptr_t>(move->lParam);
    EXPECT_EQ(packed & 0xFFFF, 0xFFFDu);
    EXPECT_EQ((packed >> 16) & 0xFFFF, 0xFFE2u);
}

TEST(X11PointerMessages, EventsSentByAClientCountAsTheirType) {
    const auto press = pointerMessage(buttonEvent(XCB_BUTTON_PRESS | kSentByAClient, 1, 2, 3, 0));
    ASSERT_TRUE(press);
    EXPECT_EQ(press->message, kMessageLeftButtonDown);
}

}  // namespace
}  // namespace vorn::platform
