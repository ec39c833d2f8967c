// The window half of the software window system: classes, windows, painting,
// and what tests read back.

#include <algorithm>
#include <cstdint>

#include "platform/software/software_state.h"

namespace vorn::platform {

SoftwareWindowSystem::SoftwareWindowSystem() : state(std::make_unique<State>()) {}
SoftwareWindowSystem::~SoftwareWindowSystem() = default;

WindowObject* SoftwareWindowSystem::State::window(Window handle) const {
    return windows.count(handle) ? handle : nullptr;
}

void SoftwareWindowSystem::registerClass(const char* className, WindowProcedure procedure,
                                         Module module) {
    ++state->registerCalls;
    if (!className || !*className || !procedure) return;
    state->classes.emplace(className, State::RegisteredClass{procedure, module});  // keeps the first
}

void SoftwareWindowSystem::unregisterClass(const char* className, Module module) {
    ++state->unregisterCalls;
    if (!className) return;
    auto found = state->classes.find(className);
    if (found == state->classes.end() || found->second.module != module) return;
    const bool inUse = std::any_of(state->windows.begin(), state->windows.end(),
                                   [&](const auto& entry) {
                                       return entry.second->info.className == className;
                                   });
    if (!inUse) state->classes.erase(found);
}

Window SoftwareWindowSystem::createChildWindow(const char* className, const char* windowName,
                                               Window parent, int x, int y, int width, int height,
                                               Module module) {
    if (!className || !parent) return nullptr;
    auto found = state->classes.find(className);
    if (found == state->classes.end() || found->second.module != module) return nullptr;

    auto window = std::make_unique<WindowObject>();
    window->info.className = className;
    window->info.windowName = windowName ? windowName : "";
    window->info.parent = parent;
    window->info.bounds = {x, y, x + width, y + height};
    window->module = module;
    window->screen = raster::Image(width, height);
    Window handle = window.get();
    state->windows.emplace(handle, std::move(window));

    if (sendMessage(handle, kMessageNonClientCreate, 0, 0) == 0) {
        state->windows.erase(handle);
        return nullptr;
    }
    if (sendMessage(handle, kMessageCreate, 0, 0) == -1) {
        destroyWindow(handle);
        return nullptr;
    }
    return state->window(handle);
}

void SoftwareWindowSystem::destroyWindow(Window handle) {
    if (!state->window(handle)) return;
    sendMessage(handle, kMessageDestroy, 0, 0);
    sendMessage(handle, kMessageNonClientDestroy, 0, 0);
    WindowObject* window = state->window(handle);  // the procedure may have gone further
    if (!window) return;
    if (window->paintContext) state->contexts.erase(window->paintContext);
    state->windows.erase(handle);
}

void SoftwareWindowSystem::setWindowUserData(Window handle, void* data) {
    if (WindowObject* window = state->window(handle)) window->userData = data;
}

void* SoftwareWindowSystem::windowUserData(Window handle) {
    WindowObject* window = state->window(handle);
    return window ? window->userData : nullptr;
}

intptr_t SoftwareWindowSystem::defaultWindowProcedure(Window, uint32_t message, uintptr_t,
                                                      intptr_t) {
    // Going on with the creation is the only answer that is not 0.
    return message == kMessageNonClientCreate ? 1 : 0;
}

void SoftwareWindowSystem::invalidate(Window handle) {
    // As on Windows, no window at all means every window, so that an editor
    // that invalidates a window it never got shows up in the counts.
    if (!handle) {
        for (auto& entry : state->windows) ++entry.second->invalidations;
        return;
    }
    if (WindowObject* window = state->window(handle)) ++window->invalidations;
}

Context SoftwareWindowSystem::beginPaint(Window handle) {
    WindowObject* window = state->window(handle);
    if (!window) return nullptr;
    if (window->paintContext) state->contexts.erase(window->paintContext);
    auto context = std::make_unique<ContextObject>();
    context->window = window;
    context->font = &state->stockFont;
    window->paintContext = state->addContext(std::move(context));
    return window->paintContext;
}

void SoftwareWindowSystem::endPaint(Window handle) {
    WindowObject* window = state->window(handle);
    if (!window || !window->paintContext) return;
    state->contexts.erase(window->paintContext);
    window->paintContext = nullptr;
}

intptr_t SoftwareWindowSystem::sendMessage(Window handle, uint32_t message, uintptr_t wParam,
                                           intptr_t lParam) {
    WindowObject* window = state->window(handle);
    if (!window) return 0;
    auto found = state->classes.find(window->info.className);
    if (found == state->classes.end()) return 0;
    return found->second.procedure(handle, message, wParam, lParam);
}

intptr_t SoftwareWindowSystem::pointerPosition(int x, int y) {
    const uint32_t low = static_cast<uint16_t>(x);
    const uint32_t high = static_cast<uint16_t>(y);
    return static_cast<intptr_t>(low | (high << 16));
}

Colour SoftwareWindowSystem::pixel(Window window, int x, int y) const {
    return screen(window).at(x, y);
}

const raster::Image& SoftwareWindowSystem::screen(Window handle) const {
    static const raster::Image kNone;
    WindowObject* window = state->window(handle);
    return window ? window->screen : kNone;
}

bool SoftwareWindowSystem::isWindow(Window handle) const { return state->window(handle) != nullptr; }

WindowInfo SoftwareWindowSystem::windowInfo(Window handle) const {
    WindowObject* window = state->window(handle);
    return window ? window->info : WindowInfo{};
}

int SoftwareWindowSystem::invalidationCount(Window handle) const {
    WindowObject* window = state->window(handle);
    return window ? window->invalidations : 0;
}

bool SoftwareWindowSystem::isClassRegistered(const std::string& className) const {
    return state->classes.count(className) != 0;
}

int SoftwareWindowSystem::registerCallCount() const { return state->registerCalls; }
int SoftwareWindowSystem::unregisterCallCount() const { return state->unregisterCalls; }

int SoftwareWindowSystem::liveWindowCount() const { return static_cast<int>(state->windows.size()); }

void SoftwareWindowSystem::reset() { state = std::make_unique<State>(); }

}  // namespace vorn::platform
