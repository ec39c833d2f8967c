// The UI library's one export: the editor's descriptor. The host must give
// the parent window and drive the editor through its idle interface; without
// either the editor would have nowhere to show or would never repaint, so
// instantiation answers null. A resize feature, where given, learns the
// editor's size.

#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>

#include <cstring>
#include <memory>

#include "common/editor_layout.h"
#include "host/lv2/lv2_editor_ui.h"
#include "host/lv2/lv2_identity.h"

namespace vorn::lv2 {
namespace {

const LV2_Feature* findFeature(const LV2_Feature* const* features, const char* uri) {
    if (!features) return nullptr;
    for (; *features; ++features)
        if ((*features)->URI && std::strcmp((*features)->URI, uri) == 0) return *features;
    return nullptr;
}

Lv2EditorUi* uiAt(LV2UI_Handle handle) { return static_cast<Lv2EditorUi*>(handle); }

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function writeFunction, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features) {
    if (!pluginUri || std::strcmp(pluginUri, kPluginUri) != 0 || !writeFunction || !widget)
        return nullptr;
    const LV2_Feature* parent = findFeature(features, LV2_UI__parent);
    if (!parent || !findFeature(features, LV2_UI__idleInterface)) return nullptr;

    auto writer = [writeFunction, controller](uint32_t port, float value) {
        writeFunction(controller, port, sizeof value, 0, &value);
    };
    std::unique_ptr<Lv2EditorUi> ui =
        Lv2EditorUi::open(reinterpret_cast<uintptr_t>(parent->data), writer);
    if (!ui) return nullptr;

    *widget = reinterpret_cast<LV2UI_Widget>(static_cast<uintptr_t>(ui->windowId()));
    if (const LV2_Feature* resize = findFeature(features, LV2_UI__resize)) {
        const auto* host = static_cast<const LV2UI_Resize*>(resize->data);
        if (host && host->ui_resize) host->ui_resize(host->handle, layout::kWidth, layout::kHeight);
    }
    return ui.release();
}

void cleanup(LV2UI_Handle handle) { delete uiAt(handle); }

void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t bufferSize, uint32_t format,
               const void* buffer) {
    // Only plain control values (format 0: one float).
    if (!handle || format != 0 || bufferSize != sizeof(float) || !buffer) return;
    float value;
    std::memcpy(&value, buffer, sizeof value);
    uiAt(handle)->portChanged(port, value);
}

int idle(LV2UI_Handle handle) {
    if (handle) uiAt(handle)->idle();
    return 0;
}

const LV2UI_Idle_Interface idleInterface = {idle};

const void* extensionData(const char* uri) {
    if (uri && std::strcmp(uri, LV2_UI__idleInterface) == 0) return &idleInterface;
    return nullptr;
}

const LV2UI_Descriptor descriptor = {kUiUri, instantiate, cleanup, portEvent, extensionData};

}  // namespace
}  // namespace vorn::lv2

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
    return index == 0 ? &vorn::lv2::descriptor : nullptr;
}
