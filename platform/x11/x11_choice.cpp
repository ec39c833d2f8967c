// The X11 window system as the program's window system: the choice of the
// Linux module, linked by name as the object library vorn_window_system_x11.

#include "platform/x11/x11_window_system.h"

namespace vorn::platform {

WindowSystem& windowSystem() { return x11WindowSystem(); }

}  // namespace vorn::platform
