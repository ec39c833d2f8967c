// The version-2 dispatcher and the default answers of the version-2 layer.
// The requests this layer sends to the host are in host_requests.cpp.

#include "framework/effect_extended.h"

#include <cmath>

#include "framework/editor_base.h"

namespace vorn {
namespace {

constexpr uint32_t kFirstOpcode = vst::effProcessEvents;
constexpr uint32_t kOpcodeSpan = vst::effEndSetProgram - vst::effProcessEvents;
constexpr int32_t kVstVersion = 2200;
constexpr int32_t kNoMidiProgram = -1;

intptr_t yesNo(bool answer) { return answer ? 1 : 0; }

// The key modifier travels in opt as a float. Its integer part's low byte is
// the modifier; a value no int32 can hold (or not a number) gives 0, the low
// byte of what the processor's own conversion yields for such a value.
uint8_t modifierFrom(float opt) {
    const double whole = std::trunc(static_cast<double>(opt));
    if (!(whole >= static_cast<double>(INT32_MIN) && whole <= static_cast<double>(INT32_MAX)))
        return 0;
    return static_cast<uint8_t>(static_cast<uint32_t>(static_cast<int32_t>(whole)) & 0xFFu);
}

vst::VstKeyCode keyFrom(int32_t index, intptr_t value, float opt) {
    vst::VstKeyCode key{};
    key.character = index;
    key.virt = static_cast<uint8_t>(static_cast<uintptr_t>(value) & 0xFFu);
    key.modifier = modifierFrom(opt);
    return key;
}

}  // namespace

EffectExtended::EffectExtended(vst::HostCallback audioMaster, int32_t numPrograms,
                               int32_t numParams)
    : EffectBase(audioMaster, numPrograms, numParams) {}

EffectExtended::~EffectExtended() = default;

intptr_t EffectExtended::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                    float opt) {
    // One unsigned test sends opcodes below 25 (negative ones included) and
    // above 68 to the version-1 dispatcher. Subtracting in unsigned arithmetic
    // keeps the most negative opcode well defined.
    if (static_cast<uint32_t>(opcode) - kFirstOpcode > kOpcodeSpan)
        return EffectBase::dispatcher(opcode, index, value, ptr, opt);

    char* text = static_cast<char*>(ptr);
    const int32_t value32 = static_cast<int32_t>(value);
    switch (opcode) {
    case vst::effProcessEvents: return processEvents(static_cast<vst::VstEvents*>(ptr));
    case vst::effCanBeAutomated: return yesNo(canBeAutomated(index));
    case vst::effString2Parameter: return yesNo(string2Parameter(index, text));
    case vst::effGetNumProgramCategories: return getNumProgramCategories();
    case vst::effGetProgramNameIndexed:
        return yesNo(getProgramNameIndexed(value32, index, text));
    case vst::effCopyProgram: return yesNo(copyProgram(index));
    case vst::effConnectInput: connectInput(index, value != 0); return 1;
    case vst::effConnectOutput: connectOutput(index, value != 0); return 1;
    case vst::effGetInputProperties:
        return yesNo(getInputProperties(index, static_cast<vst::VstPinProperties*>(ptr)));
    case vst::effGetOutputProperties:
        return yesNo(getOutputProperties(index, static_cast<vst::VstPinProperties*>(ptr)));
    case vst::effGetPlugCategory: return getPlugCategory();
    case vst::effGetCurrentPosition: return getCurrentPosition();
    case vst::effGetDestinationBuffer: return reinterpret_cast<intptr_t>(getDestinationBuffer());
    case vst::effOfflineNotify:
        return yesNo(offlineNotify(static_cast<vst::VstAudioFile*>(ptr), value32, index != 0));
    case vst::effOfflinePrepare:
        return yesNo(offlinePrepare(static_cast<vst::VstOfflineTask*>(ptr), value32));
    case vst::effOfflineRun:
        return yesNo(offlineRun(static_cast<vst::VstOfflineTask*>(ptr), value32));
    case vst::effProcessVarIo: return yesNo(processVarIo(static_cast<vst::VstVariableIo*>(ptr)));
    case vst::effSetSpeakerArrangement:
        // The input arrangement's address arrives in value.
        return yesNo(setSpeakerArrangement(reinterpret_cast<vst::VstSpeakerArrangement*>(value),
                                           static_cast<vst::VstSpeakerArrangement*>(ptr)));
    case vst::effSetBlockSizeAndSampleRate: setBlockSizeAndSampleRate(value32, opt); return 1;
    case vst::effSetBypass: return yesNo(setBypass(value != 0));
    case vst::effGetEffectName: return yesNo(getEffectName(text));
    case vst::effGetErrorText: return yesNo(getErrorText(text));
    case vst::effGetVendorString: return yesNo(getVendorString(text));
    case vst::effGetProductString: return yesNo(getProductString(text));
    case vst::effGetVendorVersion: return getVendorVersion();
    case vst::effVendorSpecific: return vendorSpecific(index, value, ptr, opt);
    case vst::effCanDo: return canDo(text);
    case vst::effGetTailSize: return getTailSize();
    case vst::effIdle: return idle();
    case vst::effGetIcon: return reinterpret_cast<intptr_t>(getIcon());
    case vst::effSetViewPosition: return yesNo(setViewPosition(index, value32));
    case vst::effGetParameterProperties:
        return yesNo(getParameterProperties(index, static_cast<vst::VstParameterProperties*>(ptr)));
    // Reversed: an effect that needs no keys answers 1.
    case vst::effKeysRequired: return keysRequired() ? 0 : 1;
    case vst::effGetVstVersion: return getVstVersion();
    case vst::effEditKeyDown: {
        if (!editor) return 0;
        vst::VstKeyCode key = keyFrom(index, value, opt);
        return editor->keyPressed(&key);
    }
    case vst::effEditKeyUp: {
        if (!editor) return 0;
        vst::VstKeyCode key = keyFrom(index, value, opt);
        return editor->keyReleased(&key);
    }
    case vst::effSetEditKnobMode: return editor ? editor->setKnobBehaviour(value32) : 0;
    case vst::effGetMidiProgramName:
        return getMidiProgramName(index, static_cast<vst::MidiProgramName*>(ptr));
    case vst::effGetCurrentMidiProgram:
        return getCurrentMidiProgram(index, static_cast<vst::MidiProgramName*>(ptr));
    case vst::effGetMidiProgramCategory:
        return getMidiProgramCategory(index, static_cast<vst::MidiProgramCategory*>(ptr));
    case vst::effHasMidiProgramsChanged: return yesNo(hasMidiProgramsChanged(index));
    case vst::effGetMidiKeyName:
        return yesNo(getMidiKeyName(index, static_cast<vst::MidiKeyName*>(ptr)));
    case vst::effBeginSetProgram: return yesNo(beginSetProgram());
    case vst::effEndSetProgram: return yesNo(endSetProgram());
    default: return 0;
    }
}

// Defaults. None of them reads or writes through a pointer it is handed, so a
// null pointer from the host is harmless here.

EditorBase* EffectExtended::getEditor() { return editor; }
int32_t EffectExtended::processEvents(vst::VstEvents*) { return 0; }
bool EffectExtended::canBeAutomated(int32_t) { return true; }
bool EffectExtended::string2Parameter(int32_t, char*) { return false; }
float EffectExtended::getChannelValue(int32_t, int32_t) { return 0.0f; }
int32_t EffectExtended::getNumProgramCategories() { return 1; }
bool EffectExtended::getProgramNameIndexed(int32_t, int32_t, char*) { return false; }
bool EffectExtended::copyProgram(int32_t) { return false; }
void EffectExtended::connectInput(int32_t, bool) {}
void EffectExtended::connectOutput(int32_t, bool) {}
bool EffectExtended::getInputProperties(int32_t, vst::VstPinProperties*) { return false; }
bool EffectExtended::getOutputProperties(int32_t, vst::VstPinProperties*) { return false; }

int32_t EffectExtended::getPlugCategory() {
    return (published.record.flags & vst::effFlagsIsSynth) ? vst::kPlugCategSynth : vst::kPlugCategUnknown;
}

void EffectExtended::setExtIsAsync(bool state) { setFlag(vst::effFlagsExtIsAsync, state); }
void EffectExtended::setExtHasBuffer(bool state) { setFlag(vst::effFlagsExtHasBuffer, state); }
int32_t EffectExtended::getCurrentPosition() { return 0; }
float* EffectExtended::getDestinationBuffer() { return nullptr; }
bool EffectExtended::offlineNotify(vst::VstAudioFile*, int32_t, bool) { return false; }
bool EffectExtended::offlinePrepare(vst::VstOfflineTask*, int32_t) { return false; }
bool EffectExtended::offlineRun(vst::VstOfflineTask*, int32_t) { return false; }
int32_t EffectExtended::offlinePassCount() { return 0; }
int32_t EffectExtended::offlineMetaPassCount() { return 0; }
void EffectExtended::setIsSynth(bool state) { setFlag(vst::effFlagsIsSynth, state); }
void EffectExtended::setNoSoundInStop(bool state) { setFlag(vst::effFlagsNoSoundInStop, state); }
bool EffectExtended::processVarIo(vst::VstVariableIo*) { return false; }

bool EffectExtended::setSpeakerArrangement(vst::VstSpeakerArrangement*,
                                           vst::VstSpeakerArrangement*) {
    return false;
}

// Straight into the fields: overrides of setBlockSize and setSampleRate are
// deliberately bypassed.
void EffectExtended::setBlockSizeAndSampleRate(int32_t size, float rate) {
    blockSize.store(size, std::memory_order_relaxed);
    sampleRate.store(rate, std::memory_order_relaxed);
}

bool EffectExtended::setBypass(bool) { return false; }
bool EffectExtended::getEffectName(char*) { return false; }
bool EffectExtended::getErrorText(char*) { return false; }
bool EffectExtended::getVendorString(char*) { return false; }
bool EffectExtended::getProductString(char*) { return false; }
int32_t EffectExtended::getVendorVersion() { return 0; }
intptr_t EffectExtended::vendorSpecific(int32_t, intptr_t, void*, float) { return 0; }
int32_t EffectExtended::canDo(char*) { return 0; }
void* EffectExtended::getIcon() { return nullptr; }
bool EffectExtended::setViewPosition(int32_t, int32_t) { return false; }
int32_t EffectExtended::getTailSize() { return 0; }
int32_t EffectExtended::idle() { return 0; }
bool EffectExtended::getParameterProperties(int32_t, vst::VstParameterProperties*) { return false; }
bool EffectExtended::keysRequired() { return false; }
int32_t EffectExtended::getVstVersion() { return kVstVersion; }
int32_t EffectExtended::getMidiProgramName(int32_t, vst::MidiProgramName*) { return 0; }
int32_t EffectExtended::getCurrentMidiProgram(int32_t, vst::MidiProgramName*) { return kNoMidiProgram; }
int32_t EffectExtended::getMidiProgramCategory(int32_t, vst::MidiProgramCategory*) { return 0; }
bool EffectExtended::hasMidiProgramsChanged(int32_t) { return false; }
bool EffectExtended::getMidiKeyName(int32_t, vst::MidiKeyName*) { return false; }
bool EffectExtended::beginSetProgram() { return false; }
bool EffectExtended::endSetProgram() { return false; }

}  // namespace vorn
