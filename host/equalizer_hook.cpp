// The instance hook's functions: what the checks outside the library may do
// to an instance, each a plain function over the instance pointer.

#include "host/equalizer_effect.h"

namespace vorn {
namespace {

EqualizerEffect& effectAt(void* instance) { return *static_cast<EqualizerEffect*>(instance); }

// Null for a program or band out of range: the checks only ever read and
// write through this, so a wrong number must not reach past the bank.
std::atomic<float>* bandValueAt(void* instance, int32_t program, int32_t channel, int32_t band) {
    ProgramBank& bank = effectAt(instance).programs();
    if (band < 0 || band >= kBandCount) return nullptr;
    if (program != InstanceHook::kCurrentProgram && (program < 0 || program >= ProgramBank::kSize))
        return nullptr;
    engine::BandValues& bands =
        program == InstanceHook::kCurrentProgram ? bank.current().bands : bank[program].bands;
    return channel == InstanceHook::kLeft ? &bands.left[band] : &bands.right[band];
}

void setBandValue(void* instance, int32_t program, int32_t channel, int32_t band, float value) {
    if (auto* slot = bandValueAt(instance, program, channel, band))
        slot->store(value, std::memory_order_relaxed);
}

float bandValue(void* instance, int32_t program, int32_t channel, int32_t band) {
    const auto* slot = bandValueAt(instance, program, channel, band);
    return slot ? slot->load(std::memory_order_relaxed) : -1.0f;
}

float level(void* instance, int32_t meter) {
    const EqualizerEffect& effect = effectAt(instance);
    return meter == InstanceHook::kInput ? effect.inputLevel() : effect.outputLevel();
}

float sampleRate(void* instance) { return effectAt(instance).getSampleRate(); }
int32_t blockSize(void* instance) { return effectAt(instance).getBlockSize(); }
void setIsSynth(void* instance, int32_t state) { effectAt(instance).setIsSynth(state != 0); }
const void* editor(void* instance) { return effectAt(instance).editorObject(); }

}  // namespace

InstanceHook makeInstanceHook(EqualizerEffect* effect) {
    return {InstanceHook::kMagic, sizeof(InstanceHook), effect, setBandValue, bandValue, level,
            sampleRate, blockSize, setIsSynth, editor};
}

}  // namespace vorn
