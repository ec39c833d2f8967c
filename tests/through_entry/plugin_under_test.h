#pragma once
// The library named on the command line, and instances made through its
// exported entry point.

#include <memory>

#include "host/equalizer_effect.h"
#include "tools/host/host_callback.h"
#include "tools/host/plugin_instance.h"

namespace vorn::checks {

// The library's `main`, as a host finds it.
vst::EntryProc pluginEntry();
// The Linux name of the entry point; null where the library has none.
vst::EntryProc pluginEntryNamed(const char* name);

std::unique_ptr<testhost::PluginInstance> openInstance();

// Test seam: band values are set only by the editor in the product. The check
// program is built from the same headers as the library, so it may look at
// the instance behind the record.
inline EqualizerEffect& equalizerBehind(const testhost::PluginInstance& instance) {
    return *static_cast<EqualizerEffect*>(EffectBase::fromRecord(instance.record()));
}

}  // namespace vorn::checks
