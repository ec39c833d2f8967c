#pragma once
// The host's side of a plug-in editor on X11: a connection of its own, the
// top-level windows it hands to the plug-in, what it can ask the server about
// them, their pixels read back, real pointer input through the XTEST
// extension, and the cursor shown through XFIXES. Native builds only.

#include <xcb/xcb.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/common/picture.h"

namespace vorn::testhost {

// The picture of a cursor, as the server shows it.
struct CursorImage {
    int width = 0, height = 0, hotX = 0, hotY = 0;
    std::vector<uint32_t> pixels;  // ARGB
    bool operator==(const CursorImage& other) const {
        return width == other.width && height == other.height && hotX == other.hotX &&
               hotY == other.hotY && pixels == other.pixels;
    }
    bool operator!=(const CursorImage& other) const { return !(*this == other); }
};

class X11HostDisplay {
public:
    X11HostDisplay() = default;
    ~X11HostDisplay();
    X11HostDisplay(const X11HostDisplay&) = delete;
    X11HostDisplay& operator=(const X11HostDisplay&) = delete;

    // The display DISPLAY names; false if there is none or it lacks XTEST
    // or XFIXES.
    bool connect(std::string& error);

    // A mapped top-level window, shown before it is answered; 0 on failure.
    uint32_t createFrame(int x, int y, int width, int height);
    void destroyWindow(uint32_t window);
    void unmap(uint32_t window);
    void map(uint32_t window);

    // An id no window has, and a pixmap's id: parents a plug-in must refuse.
    uint32_t unusedId();
    uint32_t createPixmap();
    void freePixmap(uint32_t pixmap);

    // The screen's root window, where other programs' top-level windows are.
    uint32_t root() const;
    std::vector<uint32_t> children(uint32_t window);
    bool size(uint32_t window, int& width, int& height);
    uint32_t parentOf(uint32_t window);
    bool isViewable(uint32_t window);
    std::string name(uint32_t window);
    // The window's pixels, read back from the server.
    bool capture(uint32_t window, tools::Picture& picture);
    // Paints a rectangle of `window` in one colour, as any client may draw
    // into any window: a mark that shows whether the window's owner draws
    // over it again.
    void fill(uint32_t window, int x, int y, int width, int height, tools::Rgb colour);

    // Real pointer input at a position in `window`.
    void movePointer(uint32_t window, int x, int y);
    void pressLeftButton();
    void releaseLeftButton();
    // Whether another client holds the pointer: this one's own grab fails.
    bool pointerGrabbedElsewhere();
    // The cursor the pointer shows now.
    CursorImage cursor();
    // A glyph of the standard cursor font as the window's cursor.
    void setFontCursor(uint32_t window, uint16_t glyph);
    // The window shows its parent's cursor again.
    void clearCursor(uint32_t window);

    // Waits until the server has handled every request so far.
    void sync();
    // X errors that reached this connection so far.
    int errorCount();

private:
    void readEvents();

    xcb_connection_t* connection = nullptr;
    const xcb_screen_t* screen = nullptr;
    int errors = 0;
};

}  // namespace vorn::testhost
