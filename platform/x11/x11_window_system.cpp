#include "platform/x11/x11_window_system.h"

#include <cstdint>
#include <limits>

#include "platform/x11/x11_pointer_messages.h"

namespace vorn::platform {
namespace {

constexpr uint8_t kEventTypeMask = 0x7F;  // the top bit marks events sent by a client
// Events delivered by one call at most, so that a flood of them cannot hold
// the host's idle call; the rest wait for the next one.
constexpr int kMaxEventsPerCall = 512;

// An X window id travels in a pointer-sized value; ids are 32 bits.
bool windowIdOf(Window parent, uint32_t& id) {
    const auto value = reinterpret_cast<uintptr_t>(parent);
    if (value == 0 || value > std::numeric_limits<uint32_t>::max()) return false;
    id = static_cast<uint32_t>(value);
    return true;
}

}  // namespace

X11WindowSystem& x11WindowSystem() {
    static X11WindowSystem system;
    return system;
}

X11WindowSystem::X11WindowSystem() = default;
X11WindowSystem::~X11WindowSystem() = default;

XcbChildWindow* X11WindowSystem::shownWindow(Window window) const {
    const auto found = shown.find(window);
    return found == shown.end() ? nullptr : found->second.get();
}

// --- Windows ---

Window X11WindowSystem::createChildWindow(const char* className, const char* windowName,
                                          Window parent, int x, int y, int width, int height,
                                          Module module) {
    uint32_t parentId = 0;
    if (!windowIdOf(parent, parentId)) return nullptr;
    auto real =
        XcbChildWindow::create(parentId, {x, y, x + width, y + height}, windowName, presentation);
    if (!real) return nullptr;
    Window window = SoftwareWindowSystem::createChildWindow(className, windowName, parent, x, y,
                                                            width, height, module);
    if (!window) return nullptr;  // the real one goes with its connection
    real->map();
    shown.emplace(window, std::move(real));
    return window;
}

void X11WindowSystem::destroyWindow(Window window) {
    SoftwareWindowSystem::destroyWindow(window);
    if (captured == window) captured = nullptr;
    if (dispatching == window) dispatching = nullptr;
    shown.erase(window);
}

void X11WindowSystem::invalidate(Window window) {
    SoftwareWindowSystem::invalidate(window);
    if (!window) {  // as on Windows: every window
        for (auto& entry : shown) entry.second->needsPaint = true;
    } else if (XcbChildWindow* real = shownWindow(window)) {
        real->needsPaint = true;
    }
}

bool X11WindowSystem::skipsUnchangedFrames() const {
    return presentation == Presentation::changedRows;
}

void X11WindowSystem::deliverInput(Window window) {
    openers.reapEnded();
    XcbChildWindow* real = shownWindow(window);
    if (!real) return;

    dispatching = window;
    for (int count = 0; count < kMaxEventsPerCall; ++count) {
        XcbChildWindow::Event event = real->nextEvent();
        if (!event) break;
        deliver(window, *event);
        real = shownWindow(window);  // the procedure may have destroyed it
        if (!real) break;
    }
    dispatching = nullptr;
    if (real) real->flush();  // grabs and cursors asked for on the way
}

void X11WindowSystem::deliver(Window window, const xcb_generic_event_t& event) {
    // Errors (type 0) arrive here too; the requests they answer had no effect
    // and need none.
    if ((event.response_type & kEventTypeMask) == XCB_EXPOSE) {
        if (XcbChildWindow* real = shownWindow(window)) {
            const auto& exposure = reinterpret_cast<const xcb_expose_event_t&>(event);
            real->markExposed(exposure.y, exposure.y + exposure.height);
            real->needsPaint = true;
        }
        return;
    }
    if (const auto message = pointerMessage(event))
        sendMessage(window, message->message, message->wParam, message->lParam);
}

void X11WindowSystem::updateWindow(Window window) {
    XcbChildWindow* real = shownWindow(window);
    if (!real) return;
    if (real->needsPaint && !real->gone()) {
        real->needsPaint = false;
        paint(window);  // endPaint shows the frame
    }
    if ((real = shownWindow(window))) real->flush();
}

// --- Painting: drawn in software, the finished frame put on the real window ---

void X11WindowSystem::endPaint(Window window) {
    SoftwareWindowSystem::endPaint(window);
    if (XcbChildWindow* real = shownWindow(window)) real->present(screen(window));
}

// --- Mouse and shell ---

void X11WindowSystem::setCapture(Window window) {
    XcbChildWindow* real = shownWindow(window);
    if (!real) return;
    if (captured && captured != window) releaseCapture();  // one capture at a time
    real->grabPointer();
    captured = window;
}

void X11WindowSystem::releaseCapture() {
    if (XcbChildWindow* real = shownWindow(captured)) real->ungrabPointer();
    captured = nullptr;
}

void X11WindowSystem::setCursor(Cursor cursor) {
    // Win32 sets the cursor of whatever the pointer is over; here it belongs
    // to the window whose move asked for it.
    if (XcbChildWindow* real = shownWindow(dispatching ? dispatching : captured))
        real->showCursor(cursor);
}

uint32_t X11WindowSystem::windowId(Window window) const {
    const XcbChildWindow* real = shownWindow(window);
    return real ? real->id() : 0;
}

void X11WindowSystem::openWebAddress(const char* address) {
    openers.start(kWebAddressOpener, address);
}

}  // namespace vorn::platform
