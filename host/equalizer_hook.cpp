// The instance hook's functions: what the checks outside the library may do
// to an instance, each a plain function over the instance pointer.

#include "host/equalizer_effect.h"

namespace vorn {
namespace {

EqualizerEffect& effectAt(void* instance) { return *static_cast<EqualizerEffect*>(instance); }

// The program a check names (or the current one), or -1 when the program,
// channel or band is out of range: a wrong number must not reach past the
// bank.
int32_t programFor(void* instance, int32_t program, int32_t channel, int32_t band) {
    if (band < 0 || band >= kBandCount) return -1;
    if (channel != InstanceHook::kLeft && channel != InstanceHook::kRight) return -1;
    if (program == InstanceHook::kCurrentProgram) return effectAt(instance).getProgram();
    return program >= 0 && program < ProgramBank::kSize ? program : -1;
}

void setBandValue(void* instance, int32_t program, int32_t channel, int32_t band, float value) {
    const int32_t target = programFor(instance, program, channel, band);
    if (target >= 0) effectAt(instance).setBandValue(target, Channel(channel), band, value);
}

float bandValue(void* instance, int32_t program, int32_t channel, int32_t band) {
    const int32_t target = programFor(instance, program, channel, band);
    return target >= 0 ? effectAt(instance).programs().bandValue(target, Channel(channel), band)
                       : -1.0f;
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
