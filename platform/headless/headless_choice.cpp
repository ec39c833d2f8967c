// The window system of every native program but the Linux module: the unit
// tests and the tools draw headless. Alone in its file so that a program that
// links another choice (the module's x11/x11_choice.cpp) never pulls it in.

#include "platform/headless/headless_window_system.h"

namespace vorn::platform {

WindowSystem& windowSystem() { return headlessWindowSystem(); }

}  // namespace vorn::platform
