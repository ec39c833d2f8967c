// The version-2 requests that a plug-in class can send to its host. Each is
// one call of the host callback; without a callback none calls anything and
// each gives its fixed answer. The host's answers are passed on unchecked.

#include "framework/effect_extended.h"

namespace vorn {

bool EffectExtended::hostAgrees(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                float opt) {
    return callHost(opcode, index, value, ptr, opt, 0) != 0;
}

int32_t EffectExtended::hostNumber(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                   float opt) {
    return static_cast<int32_t>(callHost(opcode, index, value, ptr, opt, 0));
}

void* EffectExtended::hostAddress(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt) {
    return reinterpret_cast<void*>(callHost(opcode, index, value, ptr, opt, 0));
}

void EffectExtended::hostWantMidi(int32_t filter) {
    callHost(vst::audioMasterWantMidi, 0, filter, nullptr, 0.0f, 0);
}

vst::VstTimeInfo* EffectExtended::hostTime(int32_t filter) {
    return static_cast<vst::VstTimeInfo*>(hostAddress(vst::audioMasterGetTime, 0, filter, nullptr, 0.0f));
}

int32_t EffectExtended::hostTempoAt(int32_t position) {
    return hostNumber(vst::audioMasterTempoAt, 0, position, nullptr, 0.0f);
}

int32_t EffectExtended::hostNumAutomatableParameters() {
    return hostNumber(vst::audioMasterGetNumAutomatableParameters, 0, 0, nullptr, 0.0f);
}

int32_t EffectExtended::hostParameterQuantization() {
    return hostNumber(vst::audioMasterGetParameterQuantization, 0, 0, nullptr, 0.0f);
}

bool EffectExtended::hostIoChanged() {
    return hostAgrees(vst::audioMasterIOChanged, 0, 0, nullptr, 0.0f);
}

bool EffectExtended::hostNeedIdle() {
    return hostAgrees(vst::audioMasterNeedIdle, 0, 0, nullptr, 0.0f);
}

bool EffectExtended::hostSizeWindow(int32_t width, int32_t height) {
    return hostAgrees(vst::audioMasterSizeWindow, width, height, nullptr, 0.0f);
}

// The host answers these two by storing through effSetSampleRate or
// effSetBlockSize during the call; what it merely returns is not taken.
float EffectExtended::hostSampleRate() {
    callHost(vst::audioMasterGetSampleRate, 0, 0, nullptr, 0.0f, 0);
    return sampleRate.load(std::memory_order_relaxed);
}

int32_t EffectExtended::hostBlockSize() {
    callHost(vst::audioMasterGetBlockSize, 0, 0, nullptr, 0.0f, 0);
    return blockSize.load(std::memory_order_relaxed);
}

int32_t EffectExtended::hostInputLatency() {
    return hostNumber(vst::audioMasterGetInputLatency, 0, 0, nullptr, 0.0f);
}

int32_t EffectExtended::hostOutputLatency() {
    return hostNumber(vst::audioMasterGetOutputLatency, 0, 0, nullptr, 0.0f);
}

// The pin goes in index, where the pin-connection query of the version-1
// layer sends it too.
vst::AEffect* EffectExtended::hostPreviousPlug(int32_t input) {
    return static_cast<vst::AEffect*>(hostAddress(vst::audioMasterGetPreviousPlug, input, 0, nullptr, 0.0f));
}

vst::AEffect* EffectExtended::hostNextPlug(int32_t output) {
    return static_cast<vst::AEffect*>(hostAddress(vst::audioMasterGetNextPlug, output, 0, nullptr, 0.0f));
}

int32_t EffectExtended::hostWillReplaceOrAccumulate() {
    return hostNumber(vst::audioMasterWillReplaceOrAccumulate, 0, 0, nullptr, 0.0f);
}

int32_t EffectExtended::hostCurrentProcessLevel() {
    return hostNumber(vst::audioMasterGetCurrentProcessLevel, 0, 0, nullptr, 0.0f);
}

int32_t EffectExtended::hostAutomationState() {
    return hostNumber(vst::audioMasterGetAutomationState, 0, 0, nullptr, 0.0f);
}

bool EffectExtended::hostOfflineRead(vst::VstOfflineTask* task, int32_t option, bool readSource) {
    return hostAgrees(vst::audioMasterOfflineRead, readSource ? 1 : 0, option, task, 0.0f);
}

bool EffectExtended::hostOfflineWrite(vst::VstOfflineTask* task, int32_t option) {
    return hostAgrees(vst::audioMasterOfflineWrite, 0, option, task, 0.0f);
}

bool EffectExtended::hostOfflineStart(vst::VstAudioFile* files, int32_t numFiles,
                                      int32_t numNewFiles) {
    return hostAgrees(vst::audioMasterOfflineStart, numNewFiles, numFiles, files, 0.0f);
}

int32_t EffectExtended::hostOfflineCurrentPass() {
    return hostAgrees(vst::audioMasterOfflineGetCurrentPass, 0, 0, nullptr, 0.0f) ? 1 : 0;
}

int32_t EffectExtended::hostOfflineCurrentMetaPass() {
    return hostAgrees(vst::audioMasterOfflineGetCurrentMetaPass, 0, 0, nullptr, 0.0f) ? 1 : 0;
}

void EffectExtended::hostSetOutputSampleRate(float rate) {
    callHost(vst::audioMasterSetOutputSampleRate, 0, 0, nullptr, rate, 0);
}

// The input arrangement's address travels in value.
bool EffectExtended::hostSpeakerArrangement(vst::VstSpeakerArrangement* input,
                                            vst::VstSpeakerArrangement* output) {
    return hostAgrees(vst::audioMasterGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(input),
                      output, 0.0f);
}

// A host writes its name into the buffer it is given, so a missing buffer is
// never sent.
bool EffectExtended::hostVendorString(char* text) {
    return text && hostAgrees(vst::audioMasterGetVendorString, 0, 0, text, 0.0f);
}

bool EffectExtended::hostProductString(char* text) {
    return text && hostAgrees(vst::audioMasterGetProductString, 0, 0, text, 0.0f);
}

int32_t EffectExtended::hostVendorVersion() {
    return hostNumber(vst::audioMasterGetVendorVersion, 0, 0, nullptr, 0.0f);
}

intptr_t EffectExtended::hostVendorSpecific(int32_t a, intptr_t b, void* p, float f) {
    return callHost(vst::audioMasterVendorSpecific, a, b, p, f, 0);
}

// Any nonzero reply counts as yes, a negative one too. A host compares the
// text it is given, so a missing text is never sent.
int32_t EffectExtended::hostCanDo(const char* capability) {
    if (!capability) return 0;
    return hostAgrees(vst::audioMasterCanDo, 0, 0, const_cast<char*>(capability), 0.0f) ? 1 : 0;
}

int32_t EffectExtended::hostLanguage() {
    return hostNumber(vst::audioMasterGetLanguage, 0, 0, nullptr, 0.0f);
}

void* EffectExtended::hostOpenWindow(vst::VstWindow* window) {
    return hostAddress(vst::audioMasterOpenWindow, 0, 0, window, 0.0f);
}

bool EffectExtended::hostCloseWindow(vst::VstWindow* window) {
    return hostAgrees(vst::audioMasterCloseWindow, 0, 0, window, 0.0f);
}

void* EffectExtended::hostDirectory() {
    return hostAddress(vst::audioMasterGetDirectory, 0, 0, nullptr, 0.0f);
}

bool EffectExtended::hostUpdateDisplay() {
    return hostAgrees(vst::audioMasterUpdateDisplay, 0, 0, nullptr, 0.0f);
}

bool EffectExtended::hostBeginEdit(int32_t parameter) {
    return hostAgrees(vst::audioMasterBeginEdit, parameter, 0, nullptr, 0.0f);
}

bool EffectExtended::hostEndEdit(int32_t parameter) {
    return hostAgrees(vst::audioMasterEndEdit, parameter, 0, nullptr, 0.0f);
}

bool EffectExtended::hostOpenFileSelector(vst::VstFileSelect* select) {
    return select && hostAgrees(vst::audioMasterOpenFileSelector, 0, 0, select, 0.0f);
}

}  // namespace vorn
