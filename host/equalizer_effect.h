#pragma once
// The equalizer instance: the host-visible numbers, the program bank, the
// engine, and the editor's state record, kept here so that it outlives any
// one editor window.

#include <cstdint>

#include "common/plugin_identity.h"
#include "editor/editor_state.h"
#include "editor/equalizer_model.h"
#include "engine/fast/fast_equalizer_engine.h"
#include "framework/effect_extended.h"
#include "host/instance_hook.h"
#include "host/program_bank.h"
#include "host/settings_chunk.h"

namespace vorn {

class EqualizerEffect;
using EditorFactory = EditorBase* (*)(EqualizerEffect* effect);

// The product's editor; tests substitute a factory that fails.
EditorBase* createEqualizerEditor(EqualizerEffect* effect);

class EqualizerEffect : public EffectExtended, public EqualizerModel {
public:
    explicit EqualizerEffect(vst::HostCallback audioMaster,
                             EditorFactory makeEditor = &createEqualizerEditor);

    void process(float** inputs, float** outputs, int32_t sampleFrames) override;
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;

    // Programs and names.
    int32_t getProgram() override;
    void setProgram(int32_t program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(int32_t category, int32_t index, char* text) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    void getParamName(int32_t index, char* text) override;
    void getParamLabel(int32_t index, char* text) override;
    void getParamDisplay(int32_t index, char* text) override;
    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;

    // The settings a host saves with its project: the bank, or with
    // isPreset the current program (settings_chunk.h).
    int32_t getChunk(void** data, bool isPreset) override;
    int32_t setChunk(void* data, int32_t byteSize, bool isPreset) override;

    // What the editor sees and sets: the current program's band values.
    float bandValue(Channel channel, int band) const override;
    void setBandValue(Channel channel, int band, float value) override;
    void setLinkedBands(int band, float value) override;
    float inputLevel() const override { return engine.inputMeter.level(); }
    float outputLevel() const override { return engine.outputMeter.level(); }

    // The other changes to the user's settings; every writer goes through
    // these or the setters above.
    void setBandValue(int32_t program, Channel channel, int band, float value);
    void replaceProgram(int32_t program, const ProgramSettings& settings);
    void replaceBank(const BankSettings& settings);

    const ProgramBank& programs() const { return bank; }
    EditorState& editorState() { return editorStateRecord; }
    const EditorState& editorState() const { return editorStateRecord; }
    // Filter states and meters, for tests that look at the engine itself.
    const engine::FastEqualizerEngine& engineState() const { return engine; }
    // Test hook: feeds the meters directly.
    engine::FastEqualizerEngine& engineForTests() { return engine; }

private:
    void processBlock(float** inputs, float** outputs, int32_t sampleFrames, bool replacing);

    EditorState editorStateRecord;
    ProgramBank bank;
    // The last chunk handed to the host, valid until the next getChunk or
    // the instance's end. User-interface thread only.
    uint8_t chunkBytes[chunk::kBankSize];
    // Written on the audio thread only.
    engine::FastEqualizerEngine engine;
    InstanceHook hook;
};

}  // namespace vorn
