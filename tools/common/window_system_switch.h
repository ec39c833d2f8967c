#pragma once
// The window-system choice of the programs that run the editor under both
// native window systems in one process: the benchmark, which composes frames
// headless and presents them in real X11 windows, and the test that holds an
// X11 window to the headless render. Their windowSystem() answers the system
// in use; an editor must be made, driven and destroyed under one of them,
// since its bitmaps, font and window belong to the system that made them.
// Linked as the object library vorn_window_system_switch.

namespace vorn::tools {

enum class NativeWindowSystem { headless, x11 };

// While one of these lives, windowSystem() answers its system; the one in use
// before comes back with its end. Headless when none lives.
class UsingWindowSystem {
public:
    explicit UsingWindowSystem(NativeWindowSystem system);
    ~UsingWindowSystem();
    UsingWindowSystem(const UsingWindowSystem&) = delete;
    UsingWindowSystem& operator=(const UsingWindowSystem&) = delete;

private:
    NativeWindowSystem previous;
};

}  // namespace vorn::tools
