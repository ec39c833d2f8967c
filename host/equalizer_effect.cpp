#include "host/equalizer_effect.h"

#include <cstring>

namespace vorn {

EqualizerEffect::EqualizerEffect(vst::HostCallback audioMaster, EditorFactory makeEditor)
    : EffectExtended(audioMaster, identity::kNumPrograms, identity::kNumParams) {
    setProgram(0);
    setNumInputs(identity::kNumInputs);
    setNumOutputs(identity::kNumOutputs);
    setCanReplacing(true);
    setCanMono(true);
    setUniqueId(identity::kUniqueId);

    attachEditor(makeEditor ? makeEditor(this) : nullptr);

    for (Program& program : programs)
        std::strcpy(program.name, identity::kDefaultProgramName);
    std::strcpy(displayText, identity::kTitleText);
}

void EqualizerEffect::process(float** inputs, float** outputs, int32_t sampleFrames) {
    processBlock(inputs, outputs, sampleFrames, false);
}

void EqualizerEffect::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    processBlock(inputs, outputs, sampleFrames, true);
}

void EqualizerEffect::processBlock(float** inputs, float** outputs, int32_t sampleFrames,
                                   bool replacing) {
    // Both read once per block: a change reaches the engine at the next block.
    const double rate = getSampleRate();
    const Program& program = currentProgramRecord();
    engine.processBlock(inputs, outputs, sampleFrames, replacing, program, rate);
}

}  // namespace vorn
