#pragma once
// The equalizer instance: the host-visible numbers, the program bank, the
// engine, and the few pieces of state the editor keeps in the effect so that
// they outlive its window.

#include <atomic>
#include <cstdint>

#include "engine/equalizer_engine.h"
#include "engine/program.h"
#include "host/effect_extended.h"
#include "host/plugin_identity.h"

namespace vorn {

class EqualizerEffect;
using EditorFactory = EditorBase* (*)(EqualizerEffect* effect);

// The product's editor; tests substitute a factory that fails.
EditorBase* createEqualizerEditor(EqualizerEffect* effect);

constexpr int kDisplayTextSize = 36;

class EqualizerEffect : public EffectExtended {
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

    Program& currentProgramRecord() {
        return programs[currentProgram.load(std::memory_order_relaxed)];
    }
    float inputLevel() const { return engine.inputMeter.level(); }
    float outputLevel() const { return engine.outputMeter.level(); }

    // Editor state, touched only on the user-interface thread.
    char displayText[kDisplayTextSize] = {};
    bool dragging = false;
    bool editLeft = true;
    bool editRight = true;
    bool editLink = false;

    // Written on the user-interface thread, read once per block by the engine.
    std::atomic<uint8_t> currentProgram{0};
    Program programs[identity::kNumPrograms];

    // Filter states and meters, written on the audio thread.
    engine::EqualizerEngine engine;

private:
    void processBlock(float** inputs, float** outputs, int32_t sampleFrames, bool replacing);
};

}  // namespace vorn
