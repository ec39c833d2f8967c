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

void X11WindowSystem::registerClass(const char* className, WindowProcedure procedure,
                                    Module module) {
    drawing.registerClass(className, procedure, module);
}

void X11WindowSystem::unregisterClass(const char* className, Module module) {
    drawing.unregisterClass(className, module);
}

Window X11WindowSystem::createChildWindow(const char* className, const char* windowName,
                                          Window parent, int x, int y, int width, int height,
                                          Module module) {
    uint32_t parentId = 0;
    if (!windowIdOf(parent, parentId)) return nullptr;
    auto real = XcbChildWindow::create(parentId, {x, y, x + width, y + height}, windowName);
    if (!real) return nullptr;
    Window window =
        drawing.createChildWindow(className, windowName, parent, x, y, width, height, module);
    if (!window) return nullptr;  // the real one goes with its connection
    real->map();
    shown.emplace(window, std::move(real));
    return window;
}

void X11WindowSystem::destroyWindow(Window window) {
    drawing.destroyWindow(window);
    if (captured == window) captured = nullptr;
    if (dispatching == window) dispatching = nullptr;
    shown.erase(window);
}

void X11WindowSystem::setWindowUserData(Window window, void* data) {
    drawing.setWindowUserData(window, data);
}

void* X11WindowSystem::windowUserData(Window window) { return drawing.windowUserData(window); }

intptr_t X11WindowSystem::defaultWindowProcedure(Window window, uint32_t message,
                                                 uintptr_t wParam, intptr_t lParam) {
    return drawing.defaultWindowProcedure(window, message, wParam, lParam);
}

void X11WindowSystem::invalidate(Window window) {
    drawing.invalidate(window);
    if (!window) {  // as on Windows: every window
        for (auto& entry : shown) entry.second->needsPaint = true;
    } else if (XcbChildWindow* real = shownWindow(window)) {
        real->needsPaint = true;
    }
}

void X11WindowSystem::processEvents(Window window) {
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
    if (!real) return;

    if (real->needsPaint && !real->gone()) {
        real->needsPaint = false;
        drawing.sendMessage(window, kMessagePaint, 0, 0);  // endPaint shows the frame
    }
    if ((real = shownWindow(window))) real->flush();
}

void X11WindowSystem::deliver(Window window, const xcb_generic_event_t& event) {
    // Errors (type 0) arrive here too; the requests they answer had no effect
    // and need none.
    if ((event.response_type & kEventTypeMask) == XCB_EXPOSE) {
        if (XcbChildWindow* real = shownWindow(window)) {
            real->markExposed();
            real->needsPaint = true;
        }
        return;
    }
    if (const auto message = pointerMessage(event))
        drawing.sendMessage(window, message->message, message->wParam, message->lParam);
}

// --- Painting: drawn headless, the finished frame put on the real window ---

Context X11WindowSystem::beginPaint(Window window) { return drawing.beginPaint(window); }

void X11WindowSystem::endPaint(Window window) {
    drawing.endPaint(window);
    if (XcbChildWindow* real = shownWindow(window)) real->present(drawing.screen(window));
}

Handle X11WindowSystem::loadBitmap(Module module, int resourceId) {
    return drawing.loadBitmap(module, resourceId);
}

Handle X11WindowSystem::createFont(int height, const char* face) {
    return drawing.createFont(height, face);
}

Handle X11WindowSystem::createSolidBrush(Colour colour) { return drawing.createSolidBrush(colour); }

void X11WindowSystem::deleteObject(Handle object) { drawing.deleteObject(object); }

Context X11WindowSystem::createCompatibleContext(Context context) {
    return drawing.createCompatibleContext(context);
}

Handle X11WindowSystem::createCompatibleBitmap(Context context, int width, int height) {
    return drawing.createCompatibleBitmap(context, width, height);
}

Handle X11WindowSystem::select(Context context, Handle object) {
    return drawing.select(context, object);
}

void X11WindowSystem::deleteContext(Context context) { drawing.deleteContext(context); }

void X11WindowSystem::copyPixels(Context target, int x, int y, int width, int height,
                                 Context source, int sourceX, int sourceY) {
    drawing.copyPixels(target, x, y, width, height, source, sourceX, sourceY);
}

void X11WindowSystem::fillRect(Context context, const Rect& rect, Handle brush) {
    drawing.fillRect(context, rect, brush);
}

void X11WindowSystem::setTransparentText(Context context) { drawing.setTransparentText(context); }

void X11WindowSystem::setTextColour(Context context, Colour colour) {
    drawing.setTextColour(context, colour);
}

void X11WindowSystem::drawText(Context context, int x, int y, const char* text, int length) {
    drawing.drawText(context, x, y, text, length);
}

// --- Mouse and shell ---

void X11WindowSystem::setCapture(Window window) {
    XcbChildWindow* real = shownWindow(window);
    if (!real) return;
    if (captured && captured != window) releaseCapture();  // one capture at a time
    drawing.setCapture(window);
    real->grabPointer();
    captured = window;
}

void X11WindowSystem::releaseCapture() {
    drawing.releaseCapture();
    if (XcbChildWindow* real = shownWindow(captured)) real->ungrabPointer();
    captured = nullptr;
}

void X11WindowSystem::setCursor(Cursor cursor) {
    drawing.setCursor(cursor);
    // Win32 sets the cursor of whatever the pointer is over; here it belongs
    // to the window whose move asked for it.
    if (XcbChildWindow* real = shownWindow(dispatching ? dispatching : captured))
        real->showCursor(cursor);
}

void X11WindowSystem::openWebAddress(const char* address) {
    openers.start(kWebAddressOpener, address);
}

}  // namespace vorn::platform
