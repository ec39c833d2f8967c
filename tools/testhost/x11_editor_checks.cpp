// The editor checks of the Linux host: the plug-in's editor in a top-level X
// window of ours, driven with real pointer input (XTEST), its pixels read
// back from the X server, and the plug-in reached only through its entry.

#include "tools/testhost/editor_checks.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "editor/equalizer_editor.h"
#include "platform/x11/x11_window_system.h"
#include "tools/common/editor_demo.h"
#include "tools/common/picture_file.h"
#include "tools/testhost/editor_check_support.h"
#include "tools/testhost/fake_web_opener.h"
#include "tools/testhost/process_probes.h"
#include "tools/testhost/x11_editor_session.h"

namespace vorn::testhost {
namespace {

// The middle of the title plate, and the band the hover check moves over.
constexpr int kTitlePlateX = (layout::kTitlePlateZone.left + layout::kTitlePlateZone.right) / 2;
constexpr int kTitlePlateY = (layout::kTitlePlateZone.top + layout::kTitlePlateZone.bottom) / 2;
constexpr int kHoverBand = kDraggedBand - 1;
constexpr int kHoverX = layout::leftThumbX(kHoverBand) + layout::kThumbWidth / 2;
// How long the opener may take to run and be reaped, and the cursor to change.
constexpr auto kOpenerWait = std::chrono::seconds(5);
constexpr auto kCursorWait = std::chrono::seconds(3);
// The standard cursor font's pointing hand (hand2) and arrow (left_ptr).
constexpr uint16_t kHandGlyph = 60;
constexpr uint16_t kArrowGlyph = 68;
// A point of the frame outside the editor, where the host sets cursors of
// its own to compare with.
constexpr int kFrameMarginX = X11EditorSession::kFrameWidth - 10;
constexpr int kFrameMarginY = X11EditorSession::kFrameHeight - 10;
// The demo's drags press a row off their target and move onto it: a press
// alone sets nothing, and the pointer has to move for X to report a motion.
constexpr int kDemoPressOffset = 1;

void* asParent(uint32_t id) { return reinterpret_cast<void*>(uintptr_t{id}); }

// The context every check runs in.
struct Run {
    X11HostDisplay& display;
    LoadedPlugin& plugin;
    CheckList& checks;
    tools::Picture fresh;  // the first editor's pixels right after opening
};

// Opening that must fail: nothing may be left behind, not a window, not a
// connection, and the host goes on.
void refusedParents(Run& run) {
    X11EditorSession session(run.display, *run.plugin.instance);
    if (!run.checks.check(session.createFrame(), "host frame window for the refused openings"))
        return;
    const int filesBefore = openFileCount();

    const char* display = std::getenv("DISPLAY");
    const std::string savedDisplay = display ? display : "";
    unsetenv("DISPLAY");
    const intptr_t withoutDisplay = session.open();
    setenv("DISPLAY", savedDisplay.c_str(), 1);
    run.checks.check(withoutDisplay == 0 && session.editorWindowCount() == 0,
                     "without DISPLAY, effEditOpen answers 0 and makes no window");

    const uint32_t pixmap = run.display.createPixmap();
    const struct {
        void* parent;
        const char* what;
    } refused[] = {{asParent(run.display.unusedId()), "an id that names no window"},
                   {asParent(pixmap), "a pixmap's id"},
                   {nullptr, "a null pointer"}};
    for (const auto& parent : refused)
        run.checks.check(session.openWith(parent.parent) == 0,
                         std::string("with ") + parent.what + " in ptr, effEditOpen answers 0");
    run.display.freePixmap(pixmap);
    session.close();
    run.checks.check(openFileCount() == filesBefore,
                     "the refused openings leave no connection open (" +
                         std::to_string(openFileCount()) + " files, " +
                         std::to_string(filesBefore) + " before)");
}

void openAndInspect(Run& run, X11EditorSession& session) {
    vst::ERect* rect = nullptr;
    const intptr_t rectAnswer = run.plugin.instance->dispatch(vst::effEditGetRect, 0, 0, &rect);
    run.checks.check(rectAnswer == 1 && rect && rect->top == 0 && rect->left == 0 &&
                         rect->bottom == layout::kHeight && rect->right == layout::kWidth,
                     "effEditGetRect answers 1 with 0, 0, " + std::to_string(layout::kHeight) +
                         ", " + std::to_string(layout::kWidth));

    run.checks.check(session.open() == 1, "effEditOpen with the frame's X window id answers 1");
    const uint32_t editor = session.editorWindow();
    run.checks.check(editor != 0, "the frame has one child window: the editor's");
    int width = 0, height = 0;
    run.display.size(editor, width, height);
    run.checks.check(width == layout::kWidth && height == layout::kHeight,
                     "it is " + sizeText(width, height) + " (" +
                         sizeText(layout::kWidth, layout::kHeight) + ")");
    run.checks.check(run.display.parentOf(editor) == session.frame(),
                     "its parent is the host's window");
    run.checks.check(session.editorWindowBecomesViewable(), "it is mapped and viewable");
    const std::string name = run.display.name(editor);
    run.checks.check(name == EqualizerEditor::kWindowName,
                     "its name is \"" + name + "\" (\"" + EqualizerEditor::kWindowName + "\")");
}

void captureFresh(Run& run, X11EditorSession& session, const std::string& capturePath) {
    session.idle(kIdleCalls);
    if (!run.checks.check(session.capture(run.fresh), "editor pixels read back after idle calls"))
        return;
    run.checks.check(run.fresh.at(1, 1) == kGround, "they show the painted background");
    run.checks.check(tools::writePicture(capturePath, run.fresh),
                     "capture written to " + capturePath);
}

// Band 16's left slider dragged to the top with the real pointer. The grab
// is the editor's own: it outlasts the release until the editor reads it.
void dragAndListen(Run& run, X11EditorSession& session) {
    session.pointerTo(kDragX, kDragFromY);
    session.idle(2);
    session.pressLeftButton();
    session.idle(kIdleCalls);  // time to read the press and grab
    session.pointerTo(kDragX, kDragToY);
    session.releaseLeftButton();
    run.checks.check(run.display.pointerGrabbedElsewhere(),
                     "the editor holds the pointer grabbed until it has read the release");
    session.idle(kIdleCalls);
    run.checks.check(!run.display.pointerGrabbedElsewhere(), "and lets go after reading it");

    tools::Picture dragged;
    if (run.checks.check(session.capture(dragged),
                         "capture after dragging band " + std::to_string(kDraggedBand) +
                             " left to y " + std::to_string(kDragToY)))
        checkDraggedThumbs(dragged, run.checks);
    checkDraggedGain(*run.plugin.instance, run.checks);
}

// A press in the editor whose release goes elsewhere: the host hides its
// window mid-drag, which ends the grab, and the button comes up meanwhile.
// Hovering over the sliders afterwards must change nothing.
void hoverAfterALostRelease(Run& run, X11EditorSession& session) {
    tools::Picture before, after;
    session.pointerTo(kHoverX, kDragFromY);
    session.idle(2);
    session.capture(before);
    session.pressLeftButton();
    session.idle(2);
    run.display.unmap(session.frame());
    session.releaseLeftButton();
    run.display.map(session.frame());
    session.idle(2);
    session.pointerTo(kHoverX, kDragToY);
    session.pointerTo(kHoverX, kDragToY + 5);
    session.idle(kIdleCalls);
    session.capture(after);
    run.checks.check(!before.pixels.empty() && after.pixels == before.pixels,
                     "hovering over band " + std::to_string(kHoverBand) +
                         " after a release delivered elsewhere changes nothing");
    run.checks.check(!run.display.pointerGrabbedElsewhere(), "and holds no grab");
}

// The title plate starts the desktop's opener with the address as its one
// argument, and the ended opener is reaped, not left to the host.
void titlePlateOpensTheAddress(Run& run, X11EditorSession& session) {
    FakeWebOpener opener(platform::X11WindowSystem::kWebAddressOpener);
    if (!run.checks.check(opener.ready(), "a stand-in opener first on PATH")) return;
    session.pointerTo(kTitlePlateX, kTitlePlateY);
    session.idle(1);
    session.pressLeftButton();
    session.releaseLeftButton();
    const std::string expected = std::string("1\n") + EqualizerEditor::kMakerWebAddress + "\n";
    const auto deadline = std::chrono::steady_clock::now() + kOpenerWait;
    do {
        session.idle(1);
    } while ((opener.record().empty() || childProcessCount() != 0) &&
             std::chrono::steady_clock::now() < deadline);
    const std::string record = opener.record();
    std::string shown;  // on one line: the count, then the arguments
    for (char character : record)
        shown += character == '\n' ? std::string(" | ") : std::string(1, character);
    run.checks.check(record == expected,
                     "a press on the title plate runs the opener with the address as its one "
                     "argument (count and arguments: " + shown + ")");
    run.checks.check(childProcessCount() == 0, "the ended opener has been reaped");
}

// The editor's cursor: the standard hand over the title plate, the arrow
// elsewhere, compared with the same glyphs set on the frame by the host.
void cursorFollowsTheTitlePlate(Run& run, X11EditorSession& session) {
    X11HostDisplay& display = run.display;
    const uint32_t frame = session.frame();
    display.movePointer(frame, kFrameMarginX, kFrameMarginY);
    display.setFontCursor(frame, kHandGlyph);
    const CursorImage hand = display.cursor();
    display.setFontCursor(frame, kArrowGlyph);
    const CursorImage arrow = display.cursor();
    display.clearCursor(frame);
    if (!run.checks.check(!hand.pixels.empty() && hand != arrow,
                          "the cursor font's hand and arrow read back and differ"))
        return;

    const auto shows = [&](const CursorImage& expected) {
        const auto deadline = std::chrono::steady_clock::now() + kCursorWait;
        while (display.cursor() != expected) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            session.idle(1);
        }
        return true;
    };
    session.pointerTo(kTitlePlateX, kTitlePlateY);
    run.checks.check(shows(hand), "over the title plate the editor shows the hand");
    session.pointerTo(kHoverX, kDragToY);
    run.checks.check(shows(arrow), "over the sliders it shows the arrow");
}

void reopenWithoutClose(Run& run, X11EditorSession& session) {
    tools::Picture first, second;
    session.idle(1);
    session.capture(first);
    run.checks.check(session.open() == 1, "a second effEditOpen without a close answers 1");
    session.idle(kIdleCalls);
    run.checks.check(session.editorWindowCountBecomes(1), "and the frame still has one child");
    run.checks.check(session.capture(second) && second.pixels == first.pixels,
                     "which shows the same pixels as the first");
}

void twoEditorsAtOnce(Run& run) {
    auto secondPlugin = run.plugin.startInstance();
    auto thirdPlugin = run.plugin.startInstance();
    if (!run.checks.check(secondPlugin && thirdPlugin, "two more instances made")) return;
    {
        X11EditorSession second(run.display, *secondPlugin);
        X11EditorSession third(run.display, *thirdPlugin);
        // One above the other: the server keeps no pixels of a covered window.
        const bool opened = second.createFrame(0) && third.createFrame(1) && second.open() == 1 &&
                            third.open() == 1;
        run.checks.check(opened, "two instances open their editors at the same time");
        for (int call = 0; call < kIdleCalls; ++call) {
            second.idle(1);
            third.idle(1);
        }
        tools::Picture secondPicture, thirdPicture;
        run.checks.check(second.capture(secondPicture) &&
                             secondPicture.pixels == run.fresh.pixels &&
                             third.capture(thirdPicture) && thirdPicture.pixels == run.fresh.pixels,
                         "each shows a freshly opened editor");
        second.close();
        run.checks.check(second.editorWindowCountBecomes(0) && third.editorWindowCount() == 1,
                         "closing one leaves the other's window");
    }
    LoadedPlugin::stop(secondPlugin);
    LoadedPlugin::stop(thirdPlugin);
}

void effectClosedWithItsEditorOpen(Run& run) {
    auto instance = run.plugin.startInstance();
    if (!instance) return;
    X11EditorSession session(run.display, *instance);
    if (!session.createFrame() || session.open() != 1) return;
    session.idle(2);
    LoadedPlugin::stop(instance);
    session.forgetEditor();
    run.display.sync();
    run.checks.check(session.editorWindowCountBecomes(0),
                     "effClose with the editor open removes its window");
}

void hostWindowDestroyedFirst(Run& run) {
    auto instance = run.plugin.startInstance();
    if (!instance) return;
    {
        X11EditorSession session(run.display, *instance);
        if (!session.createFrame() || session.open() != 1) return;
        session.idle(2);
        session.destroyFrame();
        session.idle(2);
        session.close();
    }
    X11EditorSession session(run.display, *instance);
    run.checks.check(session.createFrame() && session.open() == 1 && session.editorWindow(),
                     "after the host destroyed its window before effEditClose, the editor opens "
                     "again in a new one");
    session.close();
    LoadedPlugin::stop(instance);
}

// The host's display connection and the plug-in, as both modes start.
bool connectAndLoad(X11HostDisplay& display, LoadedPlugin& plugin, const std::string& libraryPath) {
    std::string error;
    if (!display.connect(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    return plugin.load(libraryPath);
}

}  // namespace

int editorCheck(const std::string& libraryPath, const std::string& capturePath) {
    X11HostDisplay display;
    LoadedPlugin plugin;
    if (!connectAndLoad(display, plugin, libraryPath)) return 1;
    CheckList checks;
    Run run{display, plugin, checks, {}};
    const int filesBefore = openFileCount();

    refusedParents(run);
    {
        X11EditorSession session(display, *plugin.instance);
        if (!checks.check(session.createFrame(), "host frame window created"))
            return checks.exitCode();
        openAndInspect(run, session);
        captureFresh(run, session, capturePath);
        dragAndListen(run, session);
        hoverAfterALostRelease(run, session);
        cursorFollowsTheTitlePlate(run, session);
        titlePlateOpensTheAddress(run, session);
        reopenWithoutClose(run, session);
        session.close();
        checks.check(session.editorWindowCountBecomes(0),
                     "effEditClose removes the editor's window");
    }
    twoEditorsAtOnce(run);
    effectClosedWithItsEditorOpen(run);
    hostWindowDestroyedFirst(run);
    plugin.unload();

    checks.check(openFileCount() == filesBefore,
                 "every connection the editors opened is closed (" +
                     std::to_string(openFileCount()) + " files, " + std::to_string(filesBefore) +
                     " before)");
    checks.check(display.errorCount() == 0, "no X error reached the host's connection");
    return checks.exitCode();
}

int editorCapture(const std::string& libraryPath, const std::string& picturePath,
                  const std::string& bankPath) {
    X11HostDisplay display;
    LoadedPlugin plugin;
    if (!connectAndLoad(display, plugin, libraryPath)) return 1;
    int status = 1;
    {
        X11EditorSession session(display, *plugin.instance);
        if (session.createFrame() && session.open() == 1 && session.editorWindow()) {
            for (const tools::demo::Drag& step : tools::demo::drags()) {
                session.pointerTo(step.x, step.y + kDemoPressOffset);
                session.pressLeftButton();
                session.pointerTo(step.x, step.y);
                session.releaseLeftButton();
                session.idle(1);
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
