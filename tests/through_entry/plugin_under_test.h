#pragma once
// The library named on the command line, and instances made through its
// exported entry point.

#include <memory>

#include "tests/through_entry/check.h"

#include "common/bands.h"
#include "host/instance_hook.h"
#include "tools/testhost/host_callback.h"
#include "tools/testhost/plugin_instance.h"

namespace vorn::checks {

// The library's `main`, as a host finds it.
vst::EntryProc pluginEntry();
// The Linux name of the entry point; null where the library has none.
vst::EntryProc pluginEntryNamed(const char* name);

std::unique_ptr<testhost::PluginInstance> openInstance();

// Bank files named on the command line; null where none was given.
struct BankFiles {
    const char* golden = nullptr;
    const char* save = nullptr;
    const char* load = nullptr;
};
const BankFiles& bankFiles();

// Test seam: band values are set only by the editor in the product. The
// checks reach them, the meters and a few settings through the small hook
// the library publishes after its record, never through the instance's class
// layout: this program is built apart from the library.
class Inside {
public:
    static constexpr int32_t kCurrent = InstanceHook::kCurrentProgram;
    static constexpr InstanceHook::Channel kLeft = InstanceHook::kLeft;
    static constexpr InstanceHook::Channel kRight = InstanceHook::kRight;

    explicit Inside(const vst::AEffect* record) : hook(instanceHook(record)) {
        report(hook != nullptr, "the library publishes its instance hook", __FILE__, __LINE__);
    }

    void setBand(InstanceHook::Channel channel, int band, float value, int32_t program = kCurrent) {
        if (hook) hook->setBandValue(hook->instance, program, channel, band, value);
    }
    float band(InstanceHook::Channel channel, int band, int32_t program = kCurrent) const {
        return hook ? hook->bandValue(hook->instance, program, channel, band) : -1.0f;
    }
    float inputLevel() const { return hook ? hook->level(hook->instance, InstanceHook::kInput) : -1.0f; }
    float outputLevel() const {
        return hook ? hook->level(hook->instance, InstanceHook::kOutput) : -1.0f;
    }
    float sampleRate() const { return hook ? hook->sampleRate(hook->instance) : -1.0f; }
    int32_t blockSize() const { return hook ? hook->blockSize(hook->instance) : -1; }
    void setIsSynth(bool state) {
        if (hook) hook->setIsSynth(hook->instance, state ? 1 : 0);
    }
    const void* editor() const { return hook ? hook->editor(hook->instance) : nullptr; }

private:
    const InstanceHook* hook;
};

inline Inside inside(const testhost::PluginInstance& instance) { return Inside(instance.record()); }

}  // namespace vorn::checks
