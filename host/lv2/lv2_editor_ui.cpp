#include "host/lv2/lv2_editor_ui.h"

#include <cstring>
#include <new>
#include <utility>

#include "common/plugin_identity.h"
#include "platform/x11/x11_window_system.h"

namespace vorn::lv2 {

Lv2EditorUi::Lv2EditorUi(Lv2PortModel::PortWriter writer)
    : model(std::move(writer)), editor(model, state) {
    // As the VST 2 editor opens: the title in the read-out until a drag.
    std::strncpy(state.displayText, identity::kTitleText, sizeof state.displayText - 1);
}

// The editor's destructor takes the window down without delivering queued
// input: nothing may reach the host once it is cleaning the UI up.
Lv2EditorUi::~Lv2EditorUi() = default;

std::unique_ptr<Lv2EditorUi> Lv2EditorUi::open(uintptr_t parent,
                                               Lv2PortModel::PortWriter writer) {
    std::unique_ptr<Lv2EditorUi> ui(new (std::nothrow) Lv2EditorUi(std::move(writer)));
    if (!ui || !ui->editor.openWindow(reinterpret_cast<void*>(parent))) return nullptr;
    return ui;
}

uint32_t Lv2EditorUi::windowId() const {
    return platform::x11WindowSystem().windowId(editor.openWindowHandle());
}

}  // namespace vorn::lv2
