#pragma once
// The host's side of a plug-in editor on Windows: a top-level frame window of
// our own with the editor opened inside it through the dispatcher, a message
// pump driven by idle calls, mouse messages sent to the editor's real window,
// and that window's painted pixels read back. Windows builds only.

#include <string>

#include "common/vst2.h"
#include "editor/equalizer_editor.h"
#include "tools/common/picture.h"
#include "tools/testhost/plugin_instance.h"

namespace vorn::testhost {

class EditorSession {
public:
    // The frame's client area: room for the editor and a margin around it.
    static constexpr int kFrameClientWidth = 720;
    static constexpr int kFrameClientHeight = 220;
    // The class and name the plug-in's editor gives its window.
    static constexpr const char* kEditorClassName = EqualizerEditor::kWindowClassName;
    static constexpr const char* kEditorWindowName = EqualizerEditor::kWindowName;

    explicit EditorSession(PluginInstance& plugin);
    ~EditorSession();  // closes the editor if still open, then the frame
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    // Registers the frame's class and shows the frame; false if either fails.
    bool createFrame();
    // effEditGetRect: the dispatcher's answer, and the rectangle (null if none).
    intptr_t editorRect(const vst::ERect*& rect);
    // effEditOpen with the frame as parent; answers the dispatcher's answer.
    intptr_t open();
    // effEditClose.
    void close();

    // The editor's child window of class kEditorClassName, found afresh in
    // the frame (FindWindowExA); null when there is none.
    void* findEditorWindow() const;
    bool editorWindowSize(int& width, int& height) const;
    std::string editorWindowName() const;
    bool editorWindowIsChildOfFrame() const;

    // `calls` host idle calls, each followed by pumping the message queue and
    // updating the editor's window, so that the paint each one asks for runs.
    void idle(int calls);

    // Mouse messages sent straight to the editor's window, as the system
    // delivers them: a press, a move with the button held, a release.
    void pressLeftButton(int x, int y);
    void movePointer(int x, int y, bool buttonHeld);
    void releaseLeftButton(int x, int y);

    // The editor window's pixels as the screen shows them.
    bool capture(tools::Picture& picture) const;

    // Whether the library at `libraryPath` (found by its file name among the
    // loaded modules) has the editor's window class registered.
    static bool editorClassRegistered(const std::string& libraryPath);

private:
    PluginInstance& plugin;
    void* frame = nullptr;
    bool editorOpen = false;
};

}  // namespace vorn::testhost
