#include "editor/equalizer_editor.h"

#include <new>

#include "common/editor_layout.h"
#include "editor/editor_window_proc.h"

namespace vorn {

namespace {

// Editor windows open in the whole process, over all instances. The window
// class is registered while it is above zero. Touched only on the host's
// user-interface thread.
int editorClassUseCount = 0;

// Handed to the host, which may keep the pointer: static and never changed.
vst::ERect editorRect = {0, 0, layout::kHeight, layout::kWidth};

}  // namespace

EqualizerEditor::EqualizerEditor(EffectBase* owner, EqualizerModel& effectModel,
                                 EditorState& editorState)
    : EditorBase(owner), model(effectModel), state(editorState) {
    platform::WindowSystem& system = platform::windowSystem();
    // A font or bitmap that cannot be made stays null; drawing with it draws nothing.
    readoutFont = system.createFont(layout::kReadoutFontHeight, layout::kReadoutFontFace);
    backgroundBitmap = system.loadBitmap(platform::moduleHandle(), layout::kBackgroundBitmapId);
    thumbBitmap = system.loadBitmap(platform::moduleHandle(), layout::kThumbBitmapId);
}

EqualizerEditor::~EqualizerEditor() {
    // A host may close the effect without closing the editor first; the window
    // must not outlive the editor whose address it holds, and the class count
    // must still come back to zero. No queued input is delivered now: the
    // effect that holds the model is already being taken apart.
    removeWindow();

    platform::WindowSystem& system = platform::windowSystem();
    if (backBuffer) system.deleteObject(backBuffer);
    if (readoutFont) system.deleteObject(readoutFont);
    if (backgroundBitmap) system.deleteObject(backgroundBitmap);
    if (thumbBitmap) system.deleteObject(thumbBitmap);
}

int32_t EqualizerEditor::getEditorRect(vst::ERect** rect) {
    if (rect) *rect = &editorRect;
    return 1;
}

int32_t EqualizerEditor::openWindow(void* parent) {
    EditorBase::openWindow(parent);
    platform::WindowSystem& system = platform::windowSystem();

    if (windowOpen) {
        // Opened again without a close: the earlier window goes, or it would
        // stay counted for ever and keep pointing at this editor. The new one
        // takes its place in the count.
        system.destroyWindow(window);
    } else if (++editorClassUseCount == 1) {
        system.registerClass(kWindowClassName, &editorWindowProc, platform::moduleHandle());
    }
    shownContent.reset();  // the new window shows nothing yet
    window = system.createChildWindow(kWindowClassName, kWindowName, parentWindow, 0, 0,
                                      layout::kWidth, layout::kHeight, platform::moduleHandle());
    windowOpen = true;
    if (!window) {
        // No usable parent or no display: the host hears so, and nothing
        // stays counted or registered for a window that does not exist.
        removeWindow();
        return 0;
    }
    system.setWindowUserData(window, this);
    return 1;
}

void EqualizerEditor::closeWindow() {
    // Input that arrived since the last idle call still counts, a release
    // above all: the next window would otherwise open in the middle of a drag.
    if (hasWindow()) platform::windowSystem().deliverInput(window);
    removeWindow();
}

void EqualizerEditor::removeWindow() {
    if (!windowOpen) return;  // never count a window twice down
    windowOpen = false;

    platform::WindowSystem& system = platform::windowSystem();
    if (window) system.destroyWindow(window);
    if (--editorClassUseCount == 0)
        system.unregisterClass(kWindowClassName, platform::moduleHandle());
}

void EqualizerEditor::idleTick() {
    platform::WindowSystem& system = platform::windowSystem();
    // Input the window system has queued (X11) first, so that this call's
    // frame shows it.
    if (hasWindow()) system.deliverInput(window);
    // Win32 repaints on every idle call: dragged thumbs, the read-out and the
    // meters all reach the screen this way. Where the window keeps showing its
    // last frame (X11), a frame is composed only when something in it changed.
    if (hasWindow() && (!system.skipsUnchangedFrames() || frameIsStale()))
        system.invalidate(window);
    EditorBase::idleTick();
    if (hasWindow()) system.updateWindow(window);
}

bool EqualizerEditor::frameIsStale() const {
    return !shownContent || readFrameContent(model, state) != *shownContent;
}

void EqualizerEditor::refresh() {
    if (hasWindow()) platform::windowSystem().invalidate(window);
}

}  // namespace vorn
