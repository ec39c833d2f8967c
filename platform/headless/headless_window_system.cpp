#include "platform/headless/headless_window_system.h"

namespace vorn::platform {

HeadlessWindowSystem& headlessWindowSystem() {
    static HeadlessWindowSystem system;
    return system;
}

void HeadlessWindowSystem::destroyWindow(Window window) {
    SoftwareWindowSystem::destroyWindow(window);
    if (captured == window) captured = nullptr;
}

void HeadlessWindowSystem::setCapture(Window window) {
    if (isWindow(window)) captured = window;
}

void HeadlessWindowSystem::releaseCapture() { captured = nullptr; }

void HeadlessWindowSystem::setCursor(Cursor shown) { cursor = shown; }

void HeadlessWindowSystem::openWebAddress(const char* address) {
    addresses.emplace_back(address ? address : "");
}

void HeadlessWindowSystem::reset() {
    SoftwareWindowSystem::reset();
    captured = nullptr;
    cursor.reset();
    addresses.clear();
    skipUnchangedFrames = false;
}

}  // namespace vorn::platform
