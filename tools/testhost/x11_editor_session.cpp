#include "tools/testhost/x11_editor_session.h"

#include <chrono>
#include <thread>

namespace vorn::testhost {
namespace {

constexpr int kFrameX = 20;
constexpr int kFrameY = 20;
constexpr int kFrameGap = 20;
// A host calls idle tens of times a second.
constexpr auto kIdleInterval = std::chrono::milliseconds(20);
constexpr auto kSettleTime = std::chrono::seconds(3);
constexpr auto kSettlePoll = std::chrono::milliseconds(10);

template <typename Condition>
bool becomes(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + kSettleTime;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(kSettlePoll);
    }
    return true;
}

void* asParent(uint32_t window) { return reinterpret_cast<void*>(uintptr_t{window}); }

}  // namespace

X11EditorSession::X11EditorSession(X11HostDisplay& hostDisplay, PluginInstance& instance)
    : display(hostDisplay), plugin(instance) {}

X11EditorSession::~X11EditorSession() {
    close();
    destroyFrame();
}

bool X11EditorSession::createFrame(int row) {
    frameWindow = display.createFrame(kFrameX, kFrameY + row * (kFrameHeight + kFrameGap),
                                      kFrameWidth, kFrameHeight);
    return frameWindow != 0;
}

void X11EditorSession::destroyFrame() {
    if (frameWindow) display.destroyWindow(frameWindow);
    frameWindow = 0;
}

intptr_t X11EditorSession::open() { return openWith(asParent(frameWindow)); }

intptr_t X11EditorSession::openWith(void* parent) {
    const intptr_t answer = plugin.dispatch(vst::effEditOpen, 0, 0, parent);
    editorOpen = true;
    display.sync();
    return answer;
}

void X11EditorSession::close() {
    if (!editorOpen) return;
    editorOpen = false;
    plugin.dispatch(vst::effEditClose);
    display.sync();
}

uint32_t X11EditorSession::editorWindow() {
    const auto children = display.children(frameWindow);
    return children.size() == 1 ? children.front() : 0;
}

size_t X11EditorSession::editorWindowCount() { return display.children(frameWindow).size(); }

bool X11EditorSession::editorWindowCountBecomes(size_t count) {
    return becomes([&] { return editorWindowCount() == count; });
}

bool X11EditorSession::editorWindowBecomesViewable() {
    return becomes([&] {
        const uint32_t editor = editorWindow();
        return editor && display.isViewable(editor);
    });
}

void X11EditorSession::idle(int calls) {
    for (int call = 0; call < calls; ++call) {
        plugin.dispatch(vst::effEditIdle);
        std::this_thread::sleep_for(kIdleInterval);
    }
    display.sync();
}

bool X11EditorSession::capture(tools::Picture& picture) {
    const uint32_t editor = editorWindow();
    return editor && display.capture(editor, picture);
}

void X11EditorSession::pointerTo(int x, int y) {
    if (const uint32_t editor = editorWindow()) display.movePointer(editor, x, y);
}

void X11EditorSession::pressLeftButton() { display.pressLeftButton(); }
void X11EditorSession::releaseLeftButton() { display.releaseLeftButton(); }

}  // namespace vorn::testhost
