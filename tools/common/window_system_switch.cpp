#include "tools/common/window_system_switch.h"

#include "platform/headless/headless_window_system.h"
#include "platform/x11/x11_window_system.h"

namespace vorn {
namespace {

tools::NativeWindowSystem inUse = tools::NativeWindowSystem::headless;

}  // namespace

platform::WindowSystem& platform::windowSystem() {
    if (inUse == tools::NativeWindowSystem::x11) return x11WindowSystem();
    return headlessWindowSystem();
}

tools::UsingWindowSystem::UsingWindowSystem(NativeWindowSystem system) : previous(inUse) {
    inUse = system;
}

tools::UsingWindowSystem::~UsingWindowSystem() { inUse = previous; }

}  // namespace vorn
