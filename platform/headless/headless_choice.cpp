// The headless window system as the program's window system: the choice of
// the unit tests and the tools, linked by name as the object library
// vorn_window_system_headless.

#include "platform/headless/headless_window_system.h"

namespace vorn::platform {

WindowSystem& windowSystem() { return headlessWindowSystem(); }

}  // namespace vorn::platform
