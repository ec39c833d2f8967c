#pragma once
// What the LV2 bundle says about itself, named once: the URIs of the
// plug-in and of its editor. The names and maker are the VST 2 module's
// (common/plugin_identity.h).

namespace vorn::lv2 {

constexpr const char* kPluginUri = "https://example.invalid/plugins/vorn";
constexpr const char* kUiUri = "https://example.invalid/plugins/vorn#ui";

}  // namespace vorn::lv2
