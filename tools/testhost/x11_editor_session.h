#pragma once
// The host's side of a plug-in editor on X11: a top-level window of ours with
// the editor opened inside it through the dispatcher (its id in ptr), idle
// calls at a host's pace, real pointer input at positions in the editor, and
// the editor window's pixels read back. The X11 counterpart of
// editor_session.h.

#include <cstdint>

#include "tools/common/picture.h"
#include "tools/testhost/plugin_instance.h"
#include "tools/testhost/x11_host_display.h"

namespace vorn::testhost {

class X11EditorSession {
public:
    // Room for the editor and a margin around it.
    static constexpr int kFrameWidth = 720;
    static constexpr int kFrameHeight = 220;

    X11EditorSession(X11HostDisplay& display, PluginInstance& plugin);
    ~X11EditorSession();  // closes the editor if still open, then the frame
    X11EditorSession(const X11EditorSession&) = delete;
    X11EditorSession& operator=(const X11EditorSession&) = delete;

    // In one of the screen's rows of frames, so that frames shown at the
    // same time do not cover each other.
    bool createFrame(int row = 0);
    uint32_t frame() const { return frameWindow; }
    // effEditOpen with the frame, or with any other value in ptr.
    intptr_t open();
    intptr_t openWith(void* parent);
    void close();  // effEditClose
    // The effect was closed or the frame destroyed by other means.
    void forgetEditor() { editorOpen = false; }
    void destroyFrame();

    // The frame's only child, or 0 when it has none or more than one.
    uint32_t editorWindow();
    size_t editorWindowCount();
    // Whether the frame comes to have `count` children, or the editor's
    // window to be viewable, within a short while: the plug-in's requests
    // travel on a connection of their own, which the server may serve after
    // ours.
    bool editorWindowCountBecomes(size_t count);
    bool editorWindowBecomesViewable();

    // `calls` host idle calls, a host's pace apart.
    void idle(int calls);
    bool capture(tools::Picture& picture);

    // Real pointer input at a position in the editor window.
    void pointerTo(int x, int y);
    void pressLeftButton();
    void releaseLeftButton();

private:
    X11HostDisplay& display;
    PluginInstance& plugin;
    uint32_t frameWindow = 0;
    bool editorOpen = false;
};

}  // namespace vorn::testhost
