#pragma once
// A window for the editor to open in, as a host makes one: a top-level X11
// window where a display can be reached, else a stand-in handle (enough for
// a window system that draws into memory, refused by a real one).

#include <string>

namespace vorn::checks {

class ParentWindow {
public:
    ParentWindow();
    ~ParentWindow();
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;

    void* handle() const { return handleValue; }
    std::string describe() const;

    // A drag with the real pointer (XTEST) from (x, fromY) to (x, toY) in
    // the window, as a user makes one over an editor opened at 0, 0 in it.
    // Does nothing where there is no display or no XTEST.
    void drag(int x, int fromY, int toY);
    bool canDrag() const;

private:
    struct Connection;
    Connection* connection = nullptr;
    void* handleValue;
};

}  // namespace vorn::checks
