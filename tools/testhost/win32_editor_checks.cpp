// The editor checks of the Windows host: the plug-in's editor in a frame
// window of ours, driven with mouse messages sent to its window.

#include "tools/testhost/editor_checks.h"

#include <cstdio>

#include "tools/common/editor_demo.h"
#include "tools/common/picture_file.h"
#include "tools/testhost/editor_check_support.h"
#include "tools/testhost/editor_session.h"

namespace vorn::testhost {
namespace {

void openAndInspect(EditorSession& session, CheckList& checks) {
    const vst::ERect* rect = nullptr;
    const intptr_t rectAnswer = session.editorRect(rect);
    checks.check(rectAnswer == 1 && rect != nullptr, "effEditGetRect answers 1 with a rectangle");
    if (rect)
        checks.check(rect->top == 0 && rect->left == 0 && rect->bottom == layout::kHeight &&
                         rect->right == layout::kWidth,
                     "rectangle top " + std::to_string(rect->top) + ", left " +
                         std::to_string(rect->left) + ", bottom " + std::to_string(rect->bottom) +
                         ", right " + std::to_string(rect->right) + " (0, 0, " +
                         std::to_string(layout::kHeight) + ", " + std::to_string(layout::kWidth) +
                         ")");

    checks.check(session.open() == 1, "effEditOpen answers 1");
    checks.check(session.findEditorWindow() != nullptr,
                 std::string("a child window of class ") + EditorSession::kEditorClassName +
                     " is in the frame");
    int width = 0, height = 0;
    session.editorWindowSize(width, height);
    checks.check(width == layout::kWidth && height == layout::kHeight,
                 "its client area is " + sizeText(width, height) + " (" +
                     sizeText(layout::kWidth, layout::kHeight) + ")");
    const std::string expectedName = EditorSession::kEditorWindowName;
    checks.check(session.editorWindowName() == expectedName,
                 "its window name is \"" + session.editorWindowName() + "\" (\"" + expectedName +
                     "\")");
    checks.check(session.editorWindowIsChildOfFrame(), "it is a visible child of the frame");
}

void dragAndListen(EditorSession& session, PluginInstance& plugin, CheckList& checks) {
    session.pressLeftButton(kDragX, kDragFromY);
    session.movePointer(kDragX, kDragToY, true);
    session.releaseLeftButton(kDragX, kDragToY);
    session.idle(kIdleCalls);

    tools::Picture dragged;
    if (checks.check(session.capture(dragged), "capture after dragging band " +
                                                   std::to_string(kDraggedBand) + " left to y " +
                                                   std::to_string(kDragToY)))
        checkDraggedThumbs(dragged, checks);
    checkDraggedGain(plugin, checks);
}

// A move without the button after a press whose release went elsewhere:
// the drag is over and hovering sets nothing.
void hoverAfterALostRelease(EditorSession& session, CheckList& checks) {
    constexpr int kHoverX = layout::leftThumbX(kDraggedBand - 1) + layout::kThumbWidth / 2;
    tools::Picture before, after;
    session.idle(1);
    session.capture(before);
    session.pressLeftButton(kHoverX, kDragFromY);
    session.movePointer(kHoverX, kDragToY, false);
    session.movePointer(kHoverX, kDragToY + 1, false);
    session.idle(kIdleCalls);
    session.capture(after);
    checks.check(!before.pixels.empty() && after.pixels == before.pixels,
                 "moves without the button after a lost release change nothing");
}

}  // namespace

int editorCheck(const std::string& libraryPath, const std::string& capturePath) {
    LoadedPlugin plugin;
    if (!plugin.load(libraryPath)) return 1;
    CheckList checks;
    {
        EditorSession session(*plugin.instance);
        if (!checks.check(session.createFrame(), "host frame window created"))
            return checks.exitCode();
        openAndInspect(session, checks);
        checks.check(EditorSession::editorClassRegistered(libraryPath),
                     "the window class is registered with the library's module while open");

        session.idle(kIdleCalls);
        tools::Picture picture;
        if (checks.check(session.capture(picture), "editor pixels captured after idle calls")) {
            checks.check(picture.at(1, 1) == kGround, "the capture shows the painted background");
            checks.check(tools::writePicture(capturePath, picture), "capture written to " + capturePath);
        }

        dragAndListen(session, *plugin.instance, checks);
        hoverAfterALostRelease(session, checks);

        session.close();
        checks.check(session.findEditorWindow() == nullptr,
                     "effEditClose removes the editor's window");
        checks.check(!EditorSession::editorClassRegistered(libraryPath),
                     "and unregisters the window class");
    }
    plugin.unload();
    return checks.exitCode();
}

int editorCapture(const std::string& libraryPath, const std::string& picturePath,
                  const std::string& bankPath) {
    LoadedPlugin plugin;
    if (!plugin.load(libraryPath)) return 1;
    int status = 1;
    {
        EditorSession session(*plugin.instance);
        if (session.createFrame() && session.open() == 1 && session.findEditorWindow()) {
            for (const tools::demo::Drag& step : tools::demo::drags()) {
                session.pressLeftButton(step.x, step.y);
                session.movePointer(step.x, step.y, true);
                session.releaseLeftButton(step.x, step.y);
            }
            status = captureAfterDemo(session, *plugin.instance, picturePath, bankPath);
        } else {
            std::fprintf(stderr, "cannot open the editor in a frame window\n");
        }
    }
    plugin.unload();
    return status;
}

}  // namespace vorn::testhost
