// The native build has no load notification to hand over a module handle, so
// it starts with a token of its own: any non-null value serves, since the
// software window system only needs to tell "our module" from "none".

#include <atomic>

#include "platform/window_system.h"

namespace vorn::platform {
namespace {
char nativeModuleToken;
std::atomic<Module> recordedModule{reinterpret_cast<Module>(&nativeModuleToken)};
}  // namespace

Module moduleHandle() { return recordedModule.load(std::memory_order_relaxed); }
void setModuleHandle(Module module) { recordedModule.store(module, std::memory_order_relaxed); }

}  // namespace vorn::platform
