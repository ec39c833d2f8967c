#include "framework/effect_base.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "framework/editor_base.h"

namespace vorn {
namespace {

constexpr int32_t kNoEffectId = vst::fourCharacterCode("NoEf");
constexpr intptr_t kIdentifyAnswer = vst::fourCharacterCode("NvEf");
constexpr double kVuScale = 32767.0;

// The five entry points stored in the record. Each finds its instance again
// through the record's `object` field; a call without a record (or with one
// that names no instance) reaches nothing and answers 0.
EffectBase* instanceBehind(vst::AEffect* record) {
    return record ? EffectBase::fromRecord(record) : nullptr;
}

intptr_t VORN_CDECL dispatcherEntry(vst::AEffect* record, int32_t opcode, int32_t index,
                                    intptr_t value, void* ptr, float opt) {
    EffectBase* effect = instanceBehind(record);
    if (!effect) return 0;
    intptr_t answer = effect->dispatcher(opcode, index, value, ptr, opt);
    if (opcode == vst::effClose) {
        // The host's last word: the instance goes, and the record with it.
        delete effect;
        return 1;
    }
    return answer;
}

void VORN_CDECL processEntry(vst::AEffect* record, float** inputs, float** outputs,
                             int32_t sampleFrames) {
    if (EffectBase* effect = instanceBehind(record)) effect->process(inputs, outputs, sampleFrames);
}

void VORN_CDECL processReplacingEntry(vst::AEffect* record, float** inputs, float** outputs,
                                      int32_t sampleFrames) {
    if (EffectBase* effect = instanceBehind(record))
        effect->processReplacing(inputs, outputs, sampleFrames);
}

void VORN_CDECL setParameterEntry(vst::AEffect* record, int32_t index, float value) {
    if (EffectBase* effect = instanceBehind(record)) effect->setParameter(index, value);
}

float VORN_CDECL getParameterEntry(vst::AEffect* record, int32_t index) {
    EffectBase* effect = instanceBehind(record);
    return effect ? effect->getParameter(index) : 0.0f;
}

// The meter reading as the host's integer, truncated toward zero. A reading no
// int32 can hold saturates, and one that is not a number reads as silence,
// rather than leaving the conversion undefined.
intptr_t vuAnswer(float reading) {
    const double scaled = std::trunc(static_cast<double>(reading) * kVuScale);
    if (std::isnan(scaled)) return 0;
    if (scaled >= static_cast<double>(INT32_MAX)) return INT32_MAX;
    if (scaled <= static_cast<double>(INT32_MIN)) return INT32_MIN;
    return static_cast<int32_t>(scaled);
}

void writeEmpty(char* text) {
    if (text) text[0] = '\0';
}

}  // namespace

EffectBase::EffectBase(vst::HostCallback host, int32_t programs, int32_t params)
    : audioMaster(host), numPrograms(programs), numParams(params) {
    std::memset(&published.record, 0, sizeof published.record);
    published.record.magic = vst::kEffectMagic;
    published.record.dispatcher = dispatcherEntry;
    published.record.process = processEntry;
    published.record.setParameter = setParameterEntry;
    published.record.getParameter = getParameterEntry;
    published.record.numPrograms = programs;
    published.record.numParams = params;
    published.record.numInputs = 1;
    published.record.numOutputs = 2;
    published.record.flags = 0;
    published.record.ioRatio = 1.0f;
    published.record.object = this;
    published.record.uniqueID = kNoEffectId;
    published.record.version = 1;
    published.record.processReplacing = processReplacingEntry;
}

EffectBase::~EffectBase() { delete editor; }

void EffectBase::attachEditor(EditorBase* newEditor) {
    editor = newEditor;
    if (editor) setFlag(vst::effFlagsHasEditor, true);
}

intptr_t EffectBase::callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt,
                              intptr_t fallback) {
    if (!audioMaster) return fallback;
    return audioMaster(&published.record, opcode, index, value, ptr, opt);
}

void EffectBase::setFlag(int32_t flag, bool state) {
    if (state)
        published.record.flags |= flag;
    else
        published.record.flags &= ~flag;
}

void EffectBase::setParameter(int32_t, float) {}
float EffectBase::getParameter(int32_t) { return 0.0f; }

void EffectBase::automateParameter(int32_t index, float value) {
    setParameter(index, value);
    callHost(vst::audioMasterAutomate, index, 0, nullptr, value, 0);
}

void EffectBase::processReplacing(float**, float**, int32_t) {}

intptr_t EffectBase::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                float opt) {
    // Compared as unsigned: negative opcodes fall out with those above 24.
    switch (static_cast<uint32_t>(opcode)) {
    case vst::effOpen: open(); break;
    case vst::effClose: close(); break;
    case vst::effSetProgram:
        // Below zero is no program either, whatever a signed test would let through.
        if (value >= 0 && value < numPrograms) setProgram(static_cast<int32_t>(value));
        break;
    case vst::effGetProgram: return getProgram();
    case vst::effSetProgramName: setProgramName(static_cast<char*>(ptr)); break;
    case vst::effGetProgramName: getProgramName(static_cast<char*>(ptr)); break;
    case vst::effGetParamLabel: getParamLabel(index, static_cast<char*>(ptr)); break;
    case vst::effGetParamDisplay: getParamDisplay(index, static_cast<char*>(ptr)); break;
    case vst::effGetParamName: getParamName(index, static_cast<char*>(ptr)); break;
    case vst::effGetVu: return vuAnswer(getVu());
    case vst::effSetSampleRate: setSampleRate(opt); break;
    case vst::effSetBlockSize: setBlockSize(static_cast<int32_t>(value)); break;
    case vst::effMainsChanged:
        if (value == 0)
            suspend();
        else
            resume();
        break;
    case vst::effEditGetRect:
        return editor ? editor->getEditorRect(static_cast<vst::ERect**>(ptr)) : 0;
    case vst::effEditOpen: return editor ? editor->openWindow(ptr) : 0;
    case vst::effEditClose:
        if (editor) editor->closeWindow();
        break;
    case vst::effEditIdle:
        if (editor) editor->idleTick();
        break;
    case vst::effIdentify: return kIdentifyAnswer;
    case vst::effGetChunk: return getChunk(static_cast<void**>(ptr), index != 0);
    case vst::effSetChunk:
        // A size that does not fit the operation's int32 is no size at all.
        if (value < 0 || value > INT32_MAX) return 0;
        return setChunk(ptr, static_cast<int32_t>(value), index != 0);
    default: break;
    }
    return 0;
}

void EffectBase::open() {}
void EffectBase::close() {}
int32_t EffectBase::getProgram() { return programIndex; }
void EffectBase::setProgram(int32_t program) { programIndex = program; }
void EffectBase::setProgramName(char* name) { writeEmpty(name); }
void EffectBase::getProgramName(char* name) { writeEmpty(name); }
void EffectBase::getParamLabel(int32_t, char* text) { writeEmpty(text); }
void EffectBase::getParamDisplay(int32_t, char* text) { writeEmpty(text); }
void EffectBase::getParamName(int32_t, char* text) { writeEmpty(text); }
float EffectBase::getVu() { return 0.0f; }
int32_t EffectBase::getChunk(void**, bool) { return 0; }
int32_t EffectBase::setChunk(void*, int32_t, bool) { return 0; }
void EffectBase::setSampleRate(float rate) { sampleRate.store(rate, std::memory_order_relaxed); }
void EffectBase::setBlockSize(int32_t size) { blockSize.store(size, std::memory_order_relaxed); }
void EffectBase::suspend() {}
void EffectBase::resume() {}
void EffectBase::setUniqueId(int32_t id) { published.record.uniqueID = id; }
void EffectBase::setNumInputs(int32_t count) { published.record.numInputs = count; }
void EffectBase::setNumOutputs(int32_t count) { published.record.numOutputs = count; }
void EffectBase::setHasVu(bool state) { setFlag(vst::effFlagsHasVu, state); }
void EffectBase::setHasClip(bool state) { setFlag(vst::effFlagsHasClip, state); }
void EffectBase::setCanMono(bool state) { setFlag(vst::effFlagsCanMono, state); }
void EffectBase::setCanReplacing(bool state) { setFlag(vst::effFlagsCanReplacing, state); }
void EffectBase::setProgramChunks(bool state) { setFlag(vst::effFlagsProgramChunks, state); }
void EffectBase::setRealQualities(int32_t qualities) { published.record.realQualities = qualities; }
void EffectBase::setOffQualities(int32_t qualities) { published.record.offQualities = qualities; }
void EffectBase::setInitialDelay(int32_t delay) { published.record.initialDelay = delay; }
float EffectBase::getSampleRate() { return sampleRate.load(std::memory_order_relaxed); }
int32_t EffectBase::getBlockSize() { return blockSize.load(std::memory_order_relaxed); }

int32_t EffectBase::hostVersion() {
    intptr_t answer = callHost(vst::audioMasterVersion, 0, 0, nullptr, 0.0f, 1);
    return answer == 0 ? 1 : static_cast<int32_t>(answer);
}

int32_t EffectBase::hostCurrentId() {
    return static_cast<int32_t>(callHost(vst::audioMasterCurrentId, 0, 0, nullptr, 0.0f, 0));
}

void EffectBase::hostIdle() { callHost(vst::audioMasterIdle, 0, 0, nullptr, 0.0f, 0); }

// The host answers 0 for a connected pin.
bool EffectBase::inputPinConnected(int32_t input) {
    return callHost(vst::audioMasterPinConnected, input, 0, nullptr, 0.0f, 0) == 0;
}

bool EffectBase::outputPinConnected(int32_t output) {
    return callHost(vst::audioMasterPinConnected, output, 1, nullptr, 0.0f, 0) == 0;
}

}  // namespace vorn
