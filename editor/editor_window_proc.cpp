#include "editor/editor_window_proc.h"

#include "editor/equalizer_editor.h"

namespace vorn {

intptr_t editorWindowProc(platform::Window window, uint32_t message, uintptr_t wParam,
                          intptr_t lParam) {
    platform::WindowSystem& system = platform::windowSystem();
    auto* editor = static_cast<EqualizerEditor*>(system.windowUserData(window));
    // Messages sent while the window is being created arrive before the
    // editor's address is stored.
    if (!editor) return system.defaultWindowProcedure(window, message, wParam, lParam);

    // Unsigned on purpose: under capture a position left of or above the
    // window reads as a large number, which the mouse handling then ignores.
    const auto position = static_cast<uintptr_t>(lParam);
    const unsigned x = static_cast<unsigned>(position & 0xFFFF);
    const unsigned y = static_cast<unsigned>((position >> 16) & 0xFFFF);

    switch (message) {
    case platform::kMessagePaint: editor->paint(window); break;
    case platform::kMessageLeftButtonDown: editor->pressLeftButton(window, x, y); break;
    case platform::kMessageMouseMove:
        editor->movePointer(x, y, (wParam & platform::kLeftButtonHeld) != 0);
        break;
    case platform::kMessageLeftButtonUp: editor->releaseLeftButton(); break;
    default: break;
    }
    return system.defaultWindowProcedure(window, message, wParam, lParam);
}

}  // namespace vorn
