// The DSP library's one export: the plug-in's descriptor. Every entry finds
// its instance through the handle and does nothing with a null one.

#include <lv2/core/lv2.h>

#include <new>

#include "host/lv2/lv2_equalizer.h"
#include "host/lv2/lv2_identity.h"

namespace vorn::lv2 {
namespace {

Lv2Equalizer* equalizerAt(LV2_Handle handle) { return static_cast<Lv2Equalizer*>(handle); }

LV2_Handle instantiate(const LV2_Descriptor*, double sampleRate, const char*,
                       const LV2_Feature* const*) {
    if (!Lv2Equalizer::usableSampleRate(sampleRate)) return nullptr;
    return new (std::nothrow) Lv2Equalizer(sampleRate);
}

void connectPort(LV2_Handle handle, uint32_t port, void* data) {
    if (handle) equalizerAt(handle)->connectPort(port, data);
}

void activate(LV2_Handle handle) {
    if (handle) equalizerAt(handle)->activate();
}

void run(LV2_Handle handle, uint32_t frames) {
    if (handle) equalizerAt(handle)->run(frames);
}

void deactivate(LV2_Handle) {}

void cleanup(LV2_Handle handle) { delete equalizerAt(handle); }

const void* extensionData(const char*) { return nullptr; }

const LV2_Descriptor descriptor = {kPluginUri, instantiate, connectPort, activate,
                                   run,        deactivate,  cleanup,     extensionData};

}  // namespace
}  // namespace vorn::lv2

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
    return index == 0 ? &vorn::lv2::descriptor : nullptr;
}
