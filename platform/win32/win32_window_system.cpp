// The window system on Windows: each operation is the USER32, GDI32 or
// SHELL32 call of the same meaning, the abstract handles cast to and from the
// Win32 ones.

#include <windows.h>
#include <shellapi.h>

#include <map>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace vorn::platform {
namespace {

HWND toWindow(Window window) { return reinterpret_cast<HWND>(window); }
HDC toContext(Context context) { return reinterpret_cast<HDC>(context); }
HGDIOBJ toObject(Handle object) { return reinterpret_cast<HGDIOBJ>(object); }
HINSTANCE toInstance(Module module) { return reinterpret_cast<HINSTANCE>(module); }
Window fromWindow(HWND window) { return reinterpret_cast<Window>(window); }
Context fromContext(HDC context) { return reinterpret_cast<Context>(context); }
Handle fromObject(HGDIOBJ object) { return reinterpret_cast<Handle>(object); }

// The classes registered through this layer, with their procedures, found
// by the class atom of the window a message is for. Touched on the
// user-interface thread only.
struct RegisteredClass {
    std::string name;
    HINSTANCE instance;
    ATOM atom;
    WindowProcedure procedure;
};

std::vector<RegisteredClass>& registeredClasses() {
    static std::vector<RegisteredClass> classes;
    return classes;
}

// Every class registered here gets this procedure, which hands the message
// on in the layer's own terms.
LRESULT CALLBACK classProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const ATOM atom = static_cast<ATOM>(GetClassWord(window, GCW_ATOM));
    for (const RegisteredClass& registered : registeredClasses()) {
        if (registered.atom == atom) {
            return registered.procedure(fromWindow(window), message, wParam, lParam);
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class Win32WindowSystem final : public WindowSystem {
public:
    Handle loadBitmap(Module module, int resourceId) override {
        return fromObject(LoadBitmapA(toInstance(module), MAKEINTRESOURCEA(resourceId)));
    }

    Handle createFont(int height, const char* face) override {
        return fromObject(CreateFontA(height, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, face));
    }

    Handle createSolidBrush(Colour colour) override {
        return fromObject(CreateSolidBrush(RGB(colour.red, colour.green, colour.blue)));
    }

    void deleteObject(Handle object) override { DeleteObject(toObject(object)); }

    void registerClass(const char* className, WindowProcedure procedure, Module module) override {
        WNDCLASSA windowClass = {};
        windowClass.style = 0;
        windowClass.lpfnWndProc = classProcedure;
        windowClass.hInstance = toInstance(module);
        windowClass.lpszClassName = className;
        const ATOM atom = RegisterClassA(&windowClass);
        if (atom != 0) {
            registeredClasses().push_back({className, toInstance(module), atom, procedure});
        }
    }

    void unregisterClass(const char* className, Module module) override {
        if (!UnregisterClassA(className, toInstance(module))) return;
        auto& classes = registeredClasses();
        for (auto entry = classes.begin(); entry != classes.end(); ++entry) {
            if (entry->name == className && entry->instance == toInstance(module)) {
                classes.erase(entry);
                return;
            }
        }
    }

    Window createChildWindow(const char* className, const char* windowName, Window parent, int x,
                             int y, int width, int height, Module module) override {
        return fromWindow(CreateWindowExA(0, className, windowName, WS_CHILD | WS_VISIBLE, x, y,
                                          width, height, toWindow(parent), nullptr,
                                          toInstance(module), nullptr));
    }

    void destroyWindow(Window window) override { DestroyWindow(toWindow(window)); }

    // A pointer fits the 32-bit user-data slot only on 32-bit Windows.
    void setWindowUserData(Window window, void* data) override {
#ifdef _WIN64
        SetWindowLongPtrA(toWindow(window), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
#else
        SetWindowLongA(toWindow(window), GWL_USERDATA, reinterpret_cast<LONG>(data));
#endif
    }

    void* windowUserData(Window window) override {
#ifdef _WIN64
        return reinterpret_cast<void*>(GetWindowLongPtrA(toWindow(window), GWLP_USERDATA));
#else
        return reinterpret_cast<void*>(GetWindowLongA(toWindow(window), GWL_USERDATA));
#endif
    }

    intptr_t defaultWindowProcedure(Window window, uint32_t message, uintptr_t wParam,
                                    intptr_t lParam) override {
        return DefWindowProcA(toWindow(window), message, wParam, lParam);
    }

    void invalidate(Window window) override { InvalidateRect(toWindow(window), nullptr, FALSE); }
    // The host's message loop delivers the editor's messages and paints.
    void deliverInput(Window) override {}
    void updateWindow(Window) override {}
    // The editor repaints on every idle call.
    bool skipsUnchangedFrames() const override { return false; }

    Context beginPaint(Window window) override {
        return fromContext(BeginPaint(toWindow(window), &paints[toWindow(window)]));
    }

    void endPaint(Window window) override {
        const auto found = paints.find(toWindow(window));
        if (found == paints.end()) return;
        EndPaint(toWindow(window), &found->second);
        paints.erase(found);
    }

    Context createCompatibleContext(Context context) override {
        return fromContext(CreateCompatibleDC(toContext(context)));
    }

    Handle createCompatibleBitmap(Context context, int width, int height) override {
        return fromObject(CreateCompatibleBitmap(toContext(context), width, height));
    }

    Handle select(Context context, Handle object) override {
        return fromObject(SelectObject(toContext(context), toObject(object)));
    }

    void deleteContext(Context context) override { DeleteDC(toContext(context)); }

    void copyPixels(Context target, int x, int y, int width, int height, Context source,
                    int sourceX, int sourceY) override {
        BitBlt(toContext(target), x, y, width, height, toContext(source), sourceX, sourceY,
               SRCCOPY);
    }

    void fillRect(Context context, const Rect& rect, Handle brush) override {
        const RECT area = {rect.left, rect.top, rect.right, rect.bottom};
        FillRect(toContext(context), &area, reinterpret_cast<HBRUSH>(brush));
    }

    void setTransparentText(Context context) override { SetBkMode(toContext(context), TRANSPARENT); }

    void setTextColour(Context context, Colour colour) override {
        SetTextColor(toContext(context), RGB(colour.red, colour.green, colour.blue));
    }

    void drawText(Context context, int x, int y, const char* text, int length) override {
        TextOutA(toContext(context), x, y, text, length);
    }

    void setCapture(Window window) override { SetCapture(toWindow(window)); }
    void releaseCapture() override { ReleaseCapture(); }

    void setCursor(Cursor cursor) override {
        SetCursor(LoadCursorA(nullptr, cursor == Cursor::hand ? IDC_HAND : IDC_ARROW));
    }

    void openWebAddress(const char* address) override {
        ShellExecuteA(nullptr, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
    }

private:
    // One paint per window at a time, its record kept from BeginPaint to
    // EndPaint.
    std::map<HWND, PAINTSTRUCT> paints;
};

}  // namespace

WindowSystem& windowSystem() {
    static Win32WindowSystem system;
    return system;
}

}  // namespace vorn::platform
