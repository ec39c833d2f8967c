// The version-1 layer: how an instance is built and torn down, the opcodes
// 0 to 24, and the calls it offers into the host.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "tests/host/test_effects.h"

namespace vorn::test {
namespace {

intptr_t dispatch(EffectBase& effect, int32_t opcode, int32_t index = 0, intptr_t value = 0,
                  void* ptr = nullptr, float opt = 0.0f) {
    return effect.dispatcher(opcode, index, value, ptr, opt);
}

// An editor that notes every editor opcode that reaches it, and its end.
class CountingEditor : public EditorBase {
public:
    using EditorBase::EditorBase;
    ~CountingEditor() override { ++destroyed; }
    int32_t getEditorRect(vst::ERect** rect) override { ++calls; return EditorBase::getEditorRect(rect); }
    int32_t openWindow(void* parent) override { ++calls; return EditorBase::openWindow(parent); }
    void closeWindow() override { ++calls; }
    void idleTick() override { ++calls; }

    static inline int calls = 0;
    static inline int destroyed = 0;
    static EditorBase* make(EqualizerEffect* effect) { return new CountingEditor(effect); }
};

TEST(EffectConstruction, FillsTheRecordForTheEqualizer) {
    EqualizerEffect effect(nullptr, &noEditor);
    const vst::AEffect& record = *effect.record();
    EXPECT_EQ(record.numInputs, 2);
    EXPECT_EQ(record.uniqueID, vst::fourCharacterCode("Vorn"));
    // Without an editor the has-editor bit stays clear: 56, not 57.
    EXPECT_EQ(record.flags, 56);
    EXPECT_EQ(record.object, static_cast<void*>(static_cast<EffectBase*>(&effect)));
    EXPECT_FLOAT_EQ(effect.getSampleRate(), 44100.0f);
    EXPECT_EQ(effect.getBlockSize(), 1024);
    EXPECT_STREQ(effect.editorState().displayText, "Tarnwell Vorn");
    EXPECT_TRUE(effect.editorState().editLeft && effect.editorState().editRight && !effect.editorState().editLink && !effect.editorState().dragging);
    for (const Program& program : effect.programs()) {
        EXPECT_STREQ(program.name, "Default EQ");
        for (int band = 0; band < kBandCount; ++band) {
            EXPECT_EQ(program.bands.left[band].load(), 0.5f);
            EXPECT_EQ(program.bands.right[band].load(), 0.5f);
        }
    }
}

TEST(EffectConstruction, TheBaseAloneAnnouncesNothingYet) {
    BareEffect effect;
    const vst::AEffect& record = *effect.record();
    EXPECT_EQ(record.magic, vst::kEffectMagic);
    EXPECT_EQ(record.numPrograms, 4);
    EXPECT_EQ(record.numParams, 2);
    EXPECT_EQ(record.numInputs, 1);
    EXPECT_EQ(record.numOutputs, 2);
    EXPECT_EQ(record.flags, 0);
    EXPECT_EQ(record.uniqueID, vst::fourCharacterCode("NoEf"));
    EXPECT_EQ(record.version, 1);
    EXPECT_EQ(record.ioRatio, 1.0f);
}

TEST(EditorOpcodes, WithoutAnEditorAnswerZeroAndTouchNothing) {
    EqualizerEffect effect(nullptr, &noEditor);
    vst::ERect* rect = reinterpret_cast<vst::ERect*>(0x1234);
    EXPECT_EQ(dispatch(effect, vst::effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(rect, reinterpret_cast<vst::ERect*>(0x1234));
    for (int32_t opcode : {vst::effEditOpen, vst::effEditClose, vst::effEditIdle, vst::effEditDraw,
                           vst::effEditMouse, vst::effEditKey, vst::effEditTop, vst::effEditSleep})
        EXPECT_EQ(dispatch(effect, opcode, 0, 0, reinterpret_cast<void*>(0x10)), 0) << opcode;
}

TEST(EditorOpcodes, ReachTheEditorAndTheInstanceDeletesIt) {
    CountingEditor::calls = 0;
    CountingEditor::destroyed = 0;
    {
        EqualizerEffect effect(nullptr, &CountingEditor::make);
        EXPECT_EQ(effect.record()->flags, 57);
        for (int32_t opcode : {vst::effEditGetRect, vst::effEditOpen, vst::effEditIdle, vst::effEditClose})
            dispatch(effect, opcode);
        // Drawing, mouse, key, top and sleep never reach it.
        for (int32_t opcode : {vst::effEditDraw, vst::effEditMouse, vst::effEditKey, vst::effEditTop,
                               vst::effEditSleep})
            dispatch(effect, opcode);
        EXPECT_EQ(CountingEditor::calls, 4);
    }
    EXPECT_EQ(CountingEditor::destroyed, 1);
}

TEST(Version1Dispatcher, OpcodesAboveItsRangeAndNegativeOnesDoNothing) {
    EqualizerEffect effect(nullptr, &noEditor);
    char text[32] = "untouched";
    for (int32_t opcode : {25, 29, 45, 58, 68, 69, -1, -45})
        EXPECT_EQ(effect.EffectBase::dispatcher(opcode, 3, 0, text, 0.0f), 0) << opcode;
    EXPECT_STREQ(text, "untouched");
}

TEST(Version1Dispatcher, ProgramNumbersOutsideTheBankAreIgnored) {
    EqualizerEffect effect(nullptr, &noEditor);
    EXPECT_EQ(dispatch(effect, vst::effSetProgram, 0, 15), 0);
    EXPECT_EQ(dispatch(effect, vst::effGetProgram), 15);
    for (intptr_t value : {intptr_t(16), intptr_t(256), intptr_t(-1), intptr_t(-241)}) {
        EXPECT_EQ(dispatch(effect, vst::effSetProgram, 0, value), 0);
        EXPECT_EQ(dispatch(effect, vst::effGetProgram), 15) << value;
    }
}

// A meter that reads whatever the test sets.
class MeteredEffect : public BareEffect {
public:
    float getVu() override { return reading; }
    float reading = 0.0f;
};

TEST(Version1Dispatcher, VuIsScaledTruncatedAndKeptWithinAnInteger) {
    MeteredEffect effect;
    EXPECT_EQ(dispatch(effect, vst::effGetVu), 0);
    effect.reading = 1.0f;
    EXPECT_EQ(dispatch(effect, vst::effGetVu), 32767);
    effect.reading = 0.5f;
    EXPECT_EQ(dispatch(effect, vst::effGetVu), 16383);  // 16383.5 cut, not rounded
    effect.reading = -0.5f;
    EXPECT_EQ(dispatch(effect, vst::effGetVu), -16383);
    // Readings beyond any int32 saturate; not a number reads as silence.
    effect.reading = 1e9f;
    EXPECT_EQ(dispatch(effect, vst::effGetVu), INT32_MAX);
    effect.reading = -std::numeric_limits<float>::infinity();
    EXPECT_EQ(dispatch(effect, vst::effGetVu), INT32_MIN);
    effect.reading = std::nanf("");
    EXPECT_EQ(dispatch(effect, vst::effGetVu), 0);
}

TEST(Version1Dispatcher, MainsSwitchingKeepsTheFilterHistory) {
    EqualizerEffect effect(nullptr, &noEditor);
    std::vector<float> left(64, 0.25f), right(64, -0.25f), out(64), outRight(64);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {out.data(), outRight.data()};
    effect.processReplacing(inputs, outputs, 64);
    const float before = effect.engineState().filter(0, 0).y1;
    dispatch(effect, vst::effMainsChanged, 0, 0);
    dispatch(effect, vst::effMainsChanged, 0, 1);
    EXPECT_EQ(effect.engineState().filter(0, 0).y1, before);
    EXPECT_NE(before, 0.0f);
}

TEST(EntryPoints, ACallWithoutARecordReachesNothing) {
    EqualizerEffect effect(nullptr, &noEditor);
    vst::AEffect* record = effect.record();
    float sample[1] = {0.5f};
    float* channels[2] = {sample, sample};
    EXPECT_EQ(record->dispatcher(nullptr, vst::effIdentify, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(record->dispatcher(nullptr, vst::effClose, 0, 0, nullptr, 0.0f), 0);
    record->process(nullptr, channels, channels, 1);
    record->processReplacing(nullptr, channels, channels, 1);
    record->setParameter(nullptr, 0, 1.0f);
    EXPECT_EQ(record->getParameter(nullptr, 0), 0.0f);
    EXPECT_EQ(sample[0], 0.5f);
    // The instance is still there and answers through its own record.
    EXPECT_EQ(record->dispatcher(record, vst::effIdentify, 0, 0, nullptr, 0.0f),
              vst::fourCharacterCode("NvEf"));
}

// A host whose answer the test chooses; it records the last request.
struct ScriptedHost {
    static inline intptr_t answer = 0;
    static inline int calls = 0;
    static inline vst::AEffect* effect = nullptr;
    static inline int32_t opcode = -1, index = -1;
    static inline intptr_t value = -1;
    static inline float opt = -1.0f;

    static intptr_t VORN_CDECL callback(vst::AEffect* e, int32_t op, int32_t i, intptr_t v, void*,
                                        float o) {
        ++calls;
        effect = e, opcode = op, index = i, value = v, opt = o;
        return answer;
    }
    static void reset(intptr_t reply) {
        answer = reply;
        calls = 0;
        opcode = index = -1;
        value = -1;
    }
};

// The parameter an automation request set, seen by the host first.
class AutomatedEffect : public BareEffect {
public:
    using BareEffect::BareEffect;
    void setParameter(int32_t index, float value) override {
        lastIndex = index;
        lastValue = value;
        callsBeforeSet = ScriptedHost::calls;
    }
    int32_t lastIndex = -1;
    float lastValue = 0.0f;
    int callsBeforeSet = -1;
};

TEST(HostCalls, SendTheirOpcodeAndReadTheAnswer) {
    AutomatedEffect effect(&ScriptedHost::callback);

    ScriptedHost::reset(0);
    EXPECT_EQ(effect.hostVersion(), 1);  // a host that answers 0 still counts as version 1
    EXPECT_EQ(ScriptedHost::opcode, vst::audioMasterVersion);
    EXPECT_EQ(ScriptedHost::effect, effect.record());
    ScriptedHost::reset(2400);
    EXPECT_EQ(effect.hostVersion(), 2400);

    ScriptedHost::reset(77);
    EXPECT_EQ(effect.hostCurrentId(), 77);
    EXPECT_EQ(ScriptedHost::opcode, vst::audioMasterCurrentId);
    effect.hostIdle();
    EXPECT_EQ(ScriptedHost::opcode, vst::audioMasterIdle);

    // A connected pin is answered with 0.
    ScriptedHost::reset(0);
    EXPECT_TRUE(effect.inputPinConnected(1));
    EXPECT_EQ(ScriptedHost::opcode, vst::audioMasterPinConnected);
    EXPECT_EQ(ScriptedHost::index, 1);
    EXPECT_EQ(ScriptedHost::value, 0);
    EXPECT_TRUE(effect.outputPinConnected(0));
    EXPECT_EQ(ScriptedHost::value, 1);
    ScriptedHost::reset(1);
    EXPECT_FALSE(effect.inputPinConnected(0));
    EXPECT_FALSE(effect.outputPinConnected(0));

    ScriptedHost::reset(0);
    effect.automateParameter(7, 0.25f);
    EXPECT_EQ(effect.lastIndex, 7);
    EXPECT_EQ(effect.lastValue, 0.25f);
    EXPECT_EQ(effect.callsBeforeSet, 0);
    EXPECT_EQ(ScriptedHost::opcode, vst::audioMasterAutomate);
    EXPECT_EQ(ScriptedHost::index, 7);
    EXPECT_EQ(ScriptedHost::opt, 0.25f);
}

TEST(HostCalls, WithoutAHostGiveTheirFallbacks) {
    AutomatedEffect effect(nullptr);
    EXPECT_EQ(effect.hostVersion(), 1);
    EXPECT_EQ(effect.hostCurrentId(), 0);
    effect.hostIdle();
    EXPECT_TRUE(effect.inputPinConnected(0));
    EXPECT_TRUE(effect.outputPinConnected(1));
    effect.automateParameter(3, 0.5f);
    EXPECT_EQ(effect.lastIndex, 3);
}

}  // namespace
}  // namespace vorn::test
