#include "framework/editor_base.h"

namespace vorn {

int32_t EditorBase::getEditorRect(vst::ERect** rect) {
    if (rect) *rect = nullptr;
    return 0;
}

int32_t EditorBase::openWindow(void* parent) {
    parentWindow = static_cast<platform::Window>(parent);
    return 0;
}

void EditorBase::idleTick() {
    if (refreshRequested != 0) {
        refreshRequested = 0;
        refresh();
    }
}

}  // namespace vorn
