// The library's load notification and the module handle it hands over. The
// handle is kept here, next to the only code that sets it, so that anything
// asking for the handle also pulls this entry point into the library.

#include <windows.h>

#include <atomic>

#include "platform/window_system.h"

namespace vorn::platform {
namespace {
std::atomic<Module> recordedModule{nullptr};
}  // namespace

Module moduleHandle() { return recordedModule.load(std::memory_order_relaxed); }
void setModuleHandle(Module module) { recordedModule.store(module, std::memory_order_relaxed); }

}  // namespace vorn::platform

// Recorded on every notification, whatever the reason: the handle is the same
// for process and thread attach and detach alike.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
    vorn::platform::setModuleHandle(reinterpret_cast<vorn::platform::Module>(instance));
    return TRUE;
}
