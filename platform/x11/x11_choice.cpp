// The window system of the Linux module: linked into the module as an object
// file, it supplies windowSystem() before the headless default could be taken
// from the platform library.

#include "platform/x11/x11_window_system.h"

namespace vorn::platform {

WindowSystem& windowSystem() { return x11WindowSystem(); }

}  // namespace vorn::platform
