#pragma once
// The window system as the editor uses it: a window class and a child window,
// painting from bitmaps into an off-screen bitmap, solid fills, one line of
// text, mouse capture and cursors, and opening a web address. The Windows
// builds implement it with Win32. Natively there are two: a headless software
// canvas that tests and tools look into, and the X11 one of the Linux module,
// which draws the same way and shows the result in a real window. Each
// program links exactly one windowSystem(), by name (platform/CMakeLists.txt).

#include <cstdint>

#include "common/geometry.h"

namespace vorn::platform {

// Opaque handles; each implementation decides what they point at.
struct WindowObject;
struct ContextObject;
struct GdiObject;  // bitmaps, fonts and brushes
struct ModuleObject;
using Window = WindowObject*;
using Context = ContextObject*;
using Handle = GdiObject*;
using Module = ModuleObject*;

using WindowProcedure = intptr_t (*)(Window window, uint32_t message, uintptr_t wParam,
                                     intptr_t lParam);

// The message numbers the editor handles, with their Win32 values.
enum Message : uint32_t {
    kMessagePaint = 0x000F,
    kMessageMouseMove = 0x0200,
    kMessageLeftButtonDown = 0x0201,
    kMessageLeftButtonUp = 0x0202,
};

// In wParam of the mouse messages: the left button is held (Win32's MK_LBUTTON).
constexpr uintptr_t kLeftButtonHeld = 0x0001;

using vorn::Colour;
using vorn::Rect;

enum class Cursor { arrow, hand };

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Resources and GDI objects.
    virtual Handle loadBitmap(Module module, int resourceId) = 0;
    virtual Handle createFont(int height, const char* face) = 0;
    virtual Handle createSolidBrush(Colour colour) = 0;
    virtual void deleteObject(Handle object) = 0;

    // Window class and window.
    virtual void registerClass(const char* className, WindowProcedure procedure, Module module) = 0;
    virtual void unregisterClass(const char* className, Module module) = 0;
    virtual Window createChildWindow(const char* className, const char* windowName, Window parent,
                                     int x, int y, int width, int height, Module module) = 0;
    virtual void destroyWindow(Window window) = 0;
    virtual void setWindowUserData(Window window, void* data) = 0;
    virtual void* windowUserData(Window window) = 0;
    virtual intptr_t defaultWindowProcedure(Window window, uint32_t message, uintptr_t wParam,
                                            intptr_t lParam) = 0;
    virtual void invalidate(Window window) = 0;
    // Delivers the input the system has queued for the window, without
    // waiting, to its procedure. Where the host's own message loop delivers
    // everything (Windows), and in the headless system, it does nothing.
    virtual void deliverInput(Window window) = 0;
    // Paints the window now if an invalidation or the loss of its contents
    // asks for it, and sends what is pending. Where the host's message loop
    // paints (Windows), and in the headless system, it does nothing.
    virtual void updateWindow(Window window) = 0;
    // Whether the window keeps showing the last frame by itself, so that an
    // idle call after which nothing shown has changed needs no paint (X11).
    // Win32 editors repaint on every idle call.
    virtual bool skipsUnchangedFrames() const = 0;

    // Painting.
    virtual Context beginPaint(Window window) = 0;
    virtual void endPaint(Window window) = 0;
    virtual Context createCompatibleContext(Context context) = 0;
    virtual Handle createCompatibleBitmap(Context context, int width, int height) = 0;
    virtual Handle select(Context context, Handle object) = 0;  // answers the object it replaces
    virtual void deleteContext(Context context) = 0;
    virtual void copyPixels(Context target, int x, int y, int width, int height, Context source,
                            int sourceX, int sourceY) = 0;
    virtual void fillRect(Context context, const Rect& rect, Handle brush) = 0;
    virtual void setTransparentText(Context context) = 0;
    virtual void setTextColour(Context context, Colour colour) = 0;
    virtual void drawText(Context context, int x, int y, const char* text, int length) = 0;

    // Mouse and shell.
    virtual void setCapture(Window window) = 0;
    virtual void releaseCapture() = 0;
    virtual void setCursor(Cursor cursor) = 0;
    virtual void openWebAddress(const char* address) = 0;
};

// The implementation this build was made with.
WindowSystem& windowSystem();

// The library's own module handle, recorded when the library is loaded.
Module moduleHandle();
void setModuleHandle(Module module);

}  // namespace vorn::platform
