#pragma once

#include <cstdint>

#include "platform/window_system.h"

namespace vorn {

// The editor window class's procedure: paints and mouse messages go to the
// editor stored in the window's user data; every message, handled or not, is
// then answered by the default procedure.
intptr_t editorWindowProc(platform::Window window, uint32_t message, uintptr_t wParam,
                          intptr_t lParam);

}  // namespace vorn
