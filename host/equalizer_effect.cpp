#include "host/equalizer_effect.h"

#include <cstring>
#include <new>

#include "editor/equalizer_editor.h"

namespace vorn {

InstanceHook makeInstanceHook(EqualizerEffect* effect);

EditorBase* createEqualizerEditor(EqualizerEffect* effect) {
    return new (std::nothrow) EqualizerEditor(effect, *effect, effect->editorState());
}

EqualizerEffect::EqualizerEffect(vst::HostCallback audioMaster, EditorFactory makeEditor)
    : EffectExtended(audioMaster, identity::kNumPrograms, identity::kNumParams),
      hook(makeInstanceHook(this)) {
    setProgram(0);
    setNumInputs(identity::kNumInputs);
    setNumOutputs(identity::kNumOutputs);
    setCanReplacing(true);
    setCanMono(true);
    setUniqueId(identity::kUniqueId);
    setProgramChunks(true);

    attachEditor(makeEditor ? makeEditor(this) : nullptr);
    publishExtension(&hook);

    for (int program = 0; program < ProgramBank::kSize; ++program)
        bank.rename(program, identity::kDefaultProgramName);
    std::strcpy(editorStateRecord.displayText, identity::kTitleText);
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
    const engine::BandValues& bands = bank.current().bands;
    engine.processBlock(inputs, outputs, sampleFrames, replacing, bands, rate);
}

}  // namespace vorn
