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

private:
    struct Connection;
    Connection* connection = nullptr;
    void* handleValue;
};

}  // namespace vorn::checks
