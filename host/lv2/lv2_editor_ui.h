#pragma once
// The equalizer's editor as an LV2 X11 user interface: the same editor the
// VST 2 module opens, as a child of the window the host gives (ui:parent),
// repainted and fed its mouse input on the host's idle calls
// (ui:idleInterface), drawing the port values the host sends and writing
// every drag through the host.

#include <cstdint>
#include <memory>

#include "editor/editor_state.h"
#include "editor/equalizer_editor.h"
#include "host/lv2/lv2_port_model.h"

namespace vorn::lv2 {

class Lv2EditorUi {
public:
    // Opens the window in `parent`, an X11 window id. Null when the window
    // cannot be made (no display, no such window); nothing stays open then.
    static std::unique_ptr<Lv2EditorUi> open(uintptr_t parent, Lv2PortModel::PortWriter writer);
    ~Lv2EditorUi();
    Lv2EditorUi(const Lv2EditorUi&) = delete;
    Lv2EditorUi& operator=(const Lv2EditorUi&) = delete;

    // The editor's own X11 window, the UI's widget.
    uint32_t windowId() const;
    void portChanged(uint32_t port, float value) { model.portChanged(port, value); }
    void idle() { editor.idleTick(); }

private:
    explicit Lv2EditorUi(Lv2PortModel::PortWriter writer);

    Lv2PortModel model;
    EditorState state;
    EqualizerEditor editor;
};

}  // namespace vorn::lv2
