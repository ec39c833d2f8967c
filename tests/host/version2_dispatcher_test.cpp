// The version-2 dispatcher: the layer's default answers, the equalizer's
// names and programs, the editor's key opcodes, flags and capabilities.

#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "framework/capabilities.h"
#include "tests/host/test_effects.h"

namespace vorn::test {
namespace {

constexpr unsigned char kGuard = 0x7F;

// A host text buffer with guard bytes, so a write past what a text needs is seen.
struct GuardedBuffer {
    char bytes[64];
    GuardedBuffer() { std::memset(bytes, kGuard, sizeof bytes); }
    bool untouchedFrom(size_t offset) const {
        for (size_t i = offset; i < sizeof bytes; ++i)
            if (static_cast<unsigned char>(bytes[i]) != kGuard) return false;
        return true;
    }
};

intptr_t dispatch(EffectBase& effect, int32_t opcode, int32_t index = 0, intptr_t value = 0,
                  void* ptr = nullptr, float opt = 0.0f) {
    return effect.dispatcher(opcode, index, value, ptr, opt);
}

TEST(Version2Defaults, EveryOpcodeAnswersItsDefaultAndLeavesPtrAlone) {
    // Answers for opcodes 25..68, in order.
    const intptr_t expected[] = {
        0, 1, 0, 1, 0, 0, 1, 1, 0, 0,  // 25..34
        0, 0, 0, 0, 0, 0, 0, 0, 1, 0,  // 35..44
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 45..54
        0, 0, 1, 2200, 0, 0, 0, 0, -1, 0,  // 55..64
        0, 0, 0, 0,  // 65..68
    };
    static_assert(sizeof expected / sizeof expected[0] == 44, "one answer per opcode");
    BareEffect effect;
    GuardedBuffer buffer;
    for (int32_t opcode = 25; opcode <= 68; ++opcode) {
        EXPECT_EQ(dispatch(effect, opcode, 3, 7, buffer.bytes, 1.5f), expected[opcode - 25])
            << "opcode " << opcode;
        EXPECT_EQ(dispatch(effect, opcode, 0, 0, nullptr, 0.0f), expected[opcode - 25])
            << "opcode " << opcode << " with null ptr";
    }
    EXPECT_TRUE(buffer.untouchedFrom(0));
}

TEST(Version2Defaults, OpcodesOutsideTheRangeGoToTheVersion1Dispatcher) {
    BareEffect effect;
    EXPECT_EQ(dispatch(effect, vst::effIdentify), vst::fourCharacterCode("NvEf"));
    EXPECT_EQ(dispatch(effect, vst::effSetChunk, 0, 10, nullptr), 0);
    for (int32_t opcode : {69, 70, 1000, -1, -25, std::numeric_limits<int32_t>::min()})
        EXPECT_EQ(dispatch(effect, opcode, 1, 1, nullptr, 1.0f), 0) << "opcode " << opcode;
}

// An effect that overrides a few appended operations, to see the dispatcher
// reach them through the virtual table and shape their answers.
class OverridingEffect : public BareEffect {
public:
    bool keysRequired() override { return true; }
    int32_t canDo(char*) override { return -1; }
    bool setBypass(bool bypass) override { return bypass; }
    void setBlockSize(int32_t) override { ++versionOneSetterCalls; }
    void setSampleRate(float) override { ++versionOneSetterCalls; }
    int versionOneSetterCalls = 0;
};

TEST(Version2Dispatch, ReachesOverridesAndShapesTheirAnswers) {
    OverridingEffect effect;
    EXPECT_EQ(dispatch(effect, vst::effKeysRequired), 0);  // reversed
    EXPECT_EQ(dispatch(effect, vst::effCanDo, 0, 0, const_cast<char*>("offline")), -1);  // as is
    EXPECT_EQ(dispatch(effect, vst::effSetBypass, 0, 0x100), 1);  // any nonzero value is true
    EXPECT_EQ(dispatch(effect, vst::effSetBypass, 0, 0), 0);

    // Block size and rate together go straight into the fields.
    EXPECT_EQ(dispatch(effect, vst::effSetBlockSizeAndSampleRate, 0, 512, nullptr, 48000.0f), 1);
    EXPECT_EQ(effect.getBlockSize(), 512);
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
    EXPECT_EQ(effect.versionOneSetterCalls, 0);
}

TEST(Version2Flags, SettersChangeOnlyTheirBitAndSynthSetsTheCategory) {
    EqualizerEffect effect(nullptr, &noEditor);
    const int32_t initial = effect.record()->flags;
    EXPECT_EQ(dispatch(effect, vst::effGetPlugCategory), 0);

    effect.setIsSynth(true);
    EXPECT_EQ(effect.record()->flags, initial | 256);
    EXPECT_EQ(dispatch(effect, vst::effGetPlugCategory), 2);
    effect.setNoSoundInStop(true);
    effect.setExtIsAsync(true);
    effect.setExtHasBuffer(true);
    EXPECT_EQ(effect.record()->flags, initial | 256 | 512 | 1024 | 2048);

    effect.setIsSynth(false);
    EXPECT_EQ(dispatch(effect, vst::effGetPlugCategory), 0);
    effect.setNoSoundInStop(false);
    effect.setExtIsAsync(false);
    effect.setExtHasBuffer(false);
    EXPECT_EQ(effect.record()->flags, initial);
}

TEST(EqualizerNames, FixedTextsAndTheirByteCounts) {
    EqualizerEffect effect(nullptr, &noEditor);
    struct Case {
        int32_t opcode;
        const char* text;
    };
    for (Case c : {Case{vst::effGetEffectName, "Vorn Demo"}, Case{vst::effGetProductString, "Vorn Demo"},
                   Case{vst::effGetVendorString, "Tarnwell"}}) {
        GuardedBuffer buffer;
        EXPECT_EQ(dispatch(effect, c.opcode, 0, 0, buffer.bytes), 1);
        EXPECT_STREQ(buffer.bytes, c.text);
        EXPECT_TRUE(buffer.untouchedFrom(std::strlen(c.text) + 1)) << c.text;
    }
}

TEST(EqualizerNames, NullTextPointersAnswerZeroAndDoNothing) {
    EqualizerEffect effect(nullptr, &noEditor);
    for (int32_t opcode : {vst::effGetEffectName, vst::effGetVendorString, vst::effGetProductString,
                           vst::effGetProgramNameIndexed, vst::effString2Parameter,
                           vst::effGetErrorText, vst::effCanDo, vst::effSetProgramName,
                           vst::effGetProgramName, vst::effGetParamName, vst::effGetParamLabel,
                           vst::effGetParamDisplay})
        EXPECT_EQ(dispatch(effect, opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
    GuardedBuffer buffer;
    dispatch(effect, vst::effGetProgramName, 0, 0, buffer.bytes);
    EXPECT_STREQ(buffer.bytes, "Default EQ");
}

TEST(EqualizerPrograms, NamesByNumberAndByIndex) {
    EqualizerEffect effect(nullptr, &noEditor);
    for (int32_t index = 0; index < 16; ++index) {
        GuardedBuffer buffer;
        EXPECT_EQ(dispatch(effect, vst::effGetProgramNameIndexed, index, 0, buffer.bytes), 1);
        EXPECT_STREQ(buffer.bytes, "Default EQ");
    }

    dispatch(effect, vst::effSetProgram, 0, 3);
    char name[] = "Bright 50% vocal";
    dispatch(effect, vst::effSetProgramName, 0, 0, name);
    dispatch(effect, vst::effSetProgram, 0, 16);  // out of range: ignored
    EXPECT_EQ(dispatch(effect, vst::effGetProgram), 3);

    GuardedBuffer current;
    dispatch(effect, vst::effGetProgramName, 0, 0, current.bytes);
    EXPECT_STREQ(current.bytes, name);
    GuardedBuffer byIndex;
    EXPECT_EQ(dispatch(effect, vst::effGetProgramNameIndexed, 3, 5, byIndex.bytes), 1);  // category 5
    EXPECT_STREQ(byIndex.bytes, name);
    EXPECT_TRUE(byIndex.untouchedFrom(std::strlen(name) + 1));
    for (int32_t other : {0, 2, 4, 15}) {
        GuardedBuffer buffer;
        dispatch(effect, vst::effGetProgramNameIndexed, other, 0, buffer.bytes);
        EXPECT_STREQ(buffer.bytes, "Default EQ") << "program " << other;
    }
}

TEST(EqualizerPrograms, OutOfRangeIndexAnswersZeroAndLeavesTheBufferAlone) {
    EqualizerEffect effect(nullptr, &noEditor);
    for (int32_t index : {16, -1, 1000}) {
        GuardedBuffer buffer;
        EXPECT_EQ(dispatch(effect, vst::effGetProgramNameIndexed, index, 0, buffer.bytes), 0);
        EXPECT_TRUE(buffer.untouchedFrom(0)) << "index " << index;
    }
}

TEST(EqualizerPrograms, LongNamesKeepThirtyOneCharactersAndWriteAtMostThirtyTwoBytes) {
    EqualizerEffect effect(nullptr, &noEditor);
    char longName[] = "0123456789012345678901234567890123456789";
    dispatch(effect, vst::effSetProgramName, 0, 0, longName);
    for (int32_t opcode : {vst::effGetProgramName, vst::effGetProgramNameIndexed}) {
        GuardedBuffer buffer;
        dispatch(effect, opcode, 0, 0, buffer.bytes);
        EXPECT_EQ(std::string(buffer.bytes), std::string(longName, 31));
        EXPECT_TRUE(buffer.untouchedFrom(32));
    }
}

TEST(EqualizerAnswers, VersionKeysConnectionsAndCategory) {
    EqualizerEffect effect(nullptr, &noEditor);
    EXPECT_EQ(dispatch(effect, vst::effGetVstVersion), 2200);
    EXPECT_EQ(dispatch(effect, vst::effKeysRequired), 1);
    EXPECT_EQ(dispatch(effect, vst::effGetNumProgramCategories), 1);
    EXPECT_EQ(dispatch(effect, vst::effGetCurrentMidiProgram), -1);
    EXPECT_EQ(dispatch(effect, vst::effGetPlugCategory), 0);
    for (intptr_t value : {intptr_t{0}, intptr_t{1}, intptr_t{-7}}) {
        EXPECT_EQ(dispatch(effect, vst::effConnectInput, 5, value), 1);
        EXPECT_EQ(dispatch(effect, vst::effConnectOutput, -2, value), 1);
    }
}

TEST(Capabilities, TheEqualizerClaimsNone) {
    EqualizerEffect effect(nullptr, &noEditor);
    for (const char* text : hostCapabilities)
        EXPECT_EQ(dispatch(effect, vst::effCanDo, 0, 0, const_cast<char*>(text)), 0) << text;
    for (const char* text : plugCapabilities)
        EXPECT_EQ(dispatch(effect, vst::effCanDo, 0, 0, const_cast<char*>(text)), 0) << text;
    for (const char* text : {"", "fly"})
        EXPECT_EQ(dispatch(effect, vst::effCanDo, 0, 0, const_cast<char*>(text)), 0);
    EXPECT_EQ(dispatch(effect, vst::effCanDo, 0, 0, nullptr), 0);
}

TEST(Capabilities, ListsHoldDistinctTextsAndShareTheEventAndOfflineOnes) {
    const std::set<std::string> host(hostCapabilities.begin(), hostCapabilities.end());
    const std::set<std::string> plug(plugCapabilities.begin(), plugCapabilities.end());
    EXPECT_EQ(host.size(), hostCapabilities.size());
    EXPECT_EQ(plug.size(), plugCapabilities.size());
    std::set<std::string> shared;
    for (const std::string& text : host)
        if (plug.count(text)) shared.insert(text);
    EXPECT_EQ(shared, (std::set<std::string>{"sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo",
                                             "receiveVstEvents", "receiveVstMidiEvent",
                                             "receiveVstTimeInfo", "offline"}));
}

class EditorKeys : public ::testing::Test {
protected:
    EditorKeys() : effect(nullptr, &RecordingEditor::make), editor(*RecordingEditor::last) {}
    EqualizerEffect effect;
    RecordingEditor& editor;
};

TEST_F(EditorKeys, KeyCodeIsBuiltFromIndexValueAndOpt) {
    EXPECT_EQ(dispatch(effect, vst::effEditKeyDown, 'a', 0x1234, nullptr, 3.9f), -1);
    EXPECT_EQ(editor.pressCount, 1);
    EXPECT_EQ(editor.pressed.character, 'a');
    EXPECT_EQ(editor.pressed.virt, 0x34);
    EXPECT_EQ(editor.pressed.modifier, 3);

    EXPECT_EQ(dispatch(effect, vst::effEditKeyUp, 0x20AC, 7, nullptr, -1.0f), -1);
    EXPECT_EQ(editor.releaseCount, 1);
    EXPECT_EQ(editor.released.character, 0x20AC);
    EXPECT_EQ(editor.released.virt, 7);
    EXPECT_EQ(editor.released.modifier, 255);
}

TEST_F(EditorKeys, ModifierBeyondAnyIntegerBecomesZero) {
    for (float opt : {std::nanf(""), 1e10f, -1e10f, std::numeric_limits<float>::infinity()}) {
        dispatch(effect, vst::effEditKeyDown, 1, 2, nullptr, opt);
        EXPECT_EQ(editor.pressed.modifier, 0) << opt;
    }
    dispatch(effect, vst::effEditKeyDown, 1, 2, nullptr, 258.7f);
    EXPECT_EQ(editor.pressed.modifier, 2);
}

TEST_F(EditorKeys, KnobModeReachesTheEditor) {
    EXPECT_EQ(dispatch(effect, vst::effSetEditKnobMode, 0, 2), 0);
    EXPECT_EQ(editor.knobMode, 2);
}

TEST(EditorKeysWithoutEditor, AnswerZero) {
    EqualizerEffect effect(nullptr, &noEditor);
    EXPECT_EQ(dispatch(effect, vst::effEditKeyDown, 'a', 1, nullptr, 1.0f), 0);
    EXPECT_EQ(dispatch(effect, vst::effEditKeyUp, 'a', 1, nullptr, 1.0f), 0);
    EXPECT_EQ(dispatch(effect, vst::effSetEditKnobMode, 0, 2), 0);
}

}  // namespace
}  // namespace vorn::test
