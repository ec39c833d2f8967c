#pragma once
// The version-2 layer of an effect: every host opcode from 25 to 68 reaches an
// overridable operation with a default answer, plug-in classes get the
// version-2 requests to the host, and four more flag bits can be set.
//
// The virtual operations below are appended after those of EffectBase in a
// fixed slot order; do not reorder, insert or remove any of them.

#include <cstdint>

#include "framework/effect_base.h"
#include "common/vst2.h"

namespace vorn {

class EffectExtended : public EffectBase {
public:
    EffectExtended(vst::HostCallback audioMaster, int32_t numPrograms, int32_t numParams);
    ~EffectExtended() override;

    // Opcodes 25..68 here, everything else to the version-1 dispatcher.
    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                        float opt) override;

    // Appended virtual operations, in slot order.
    virtual EditorBase* getEditor();
    virtual void hostWantMidi(int32_t filter);
    virtual vst::VstTimeInfo* hostTime(int32_t filter);
    virtual int32_t hostTempoAt(int32_t position);
    virtual int32_t processEvents(vst::VstEvents* events);
    virtual int32_t hostNumAutomatableParameters();
    virtual int32_t hostParameterQuantization();
    virtual bool canBeAutomated(int32_t index);
    virtual bool string2Parameter(int32_t index, char* text);
    virtual float getChannelValue(int32_t channel, int32_t index);
    virtual int32_t getNumProgramCategories();
    virtual bool getProgramNameIndexed(int32_t category, int32_t index, char* text);
    virtual bool copyProgram(int32_t destination);
    virtual bool hostIoChanged();
    virtual bool hostNeedIdle();
    virtual bool hostSizeWindow(int32_t width, int32_t height);
    virtual float hostSampleRate();
    virtual int32_t hostBlockSize();
    virtual int32_t hostInputLatency();
    virtual int32_t hostOutputLatency();
    virtual vst::AEffect* hostPreviousPlug(int32_t input);
    virtual vst::AEffect* hostNextPlug(int32_t output);
    virtual void connectInput(int32_t index, bool connected);
    virtual void connectOutput(int32_t index, bool connected);
    virtual bool getInputProperties(int32_t index, vst::VstPinProperties* properties);
    virtual bool getOutputProperties(int32_t index, vst::VstPinProperties* properties);
    virtual int32_t getPlugCategory();
    virtual int32_t hostWillReplaceOrAccumulate();
    virtual int32_t hostCurrentProcessLevel();
    virtual int32_t hostAutomationState();
    virtual void setExtIsAsync(bool state);
    virtual void setExtHasBuffer(bool state);
    virtual int32_t getCurrentPosition();
    virtual float* getDestinationBuffer();
    virtual bool hostOfflineRead(vst::VstOfflineTask* task, int32_t option, bool readSource);
    virtual bool hostOfflineWrite(vst::VstOfflineTask* task, int32_t option);
    virtual bool hostOfflineStart(vst::VstAudioFile* files, int32_t numFiles, int32_t numNewFiles);
    virtual int32_t hostOfflineCurrentPass();
    virtual int32_t hostOfflineCurrentMetaPass();
    virtual bool offlineNotify(vst::VstAudioFile* files, int32_t numFiles, bool start);
    virtual bool offlinePrepare(vst::VstOfflineTask* tasks, int32_t count);
    virtual bool offlineRun(vst::VstOfflineTask* tasks, int32_t count);
    virtual int32_t offlinePassCount();
    virtual int32_t offlineMetaPassCount();
    virtual void hostSetOutputSampleRate(float rate);
    virtual bool hostSpeakerArrangement(vst::VstSpeakerArrangement* input,
                                        vst::VstSpeakerArrangement* output);
    virtual bool hostVendorString(char* text);
    virtual bool hostProductString(char* text);
    virtual int32_t hostVendorVersion();
    virtual intptr_t hostVendorSpecific(int32_t a, intptr_t b, void* p, float f);
    virtual int32_t hostCanDo(const char* capability);
    virtual void setIsSynth(bool state);
    virtual void setNoSoundInStop(bool state);
    virtual int32_t hostLanguage();
    virtual void* hostOpenWindow(vst::VstWindow* window);
    virtual bool hostCloseWindow(vst::VstWindow* window);
    virtual void* hostDirectory();
    virtual bool hostUpdateDisplay();
    virtual bool processVarIo(vst::VstVariableIo* io);
    virtual bool setSpeakerArrangement(vst::VstSpeakerArrangement* input,
                                       vst::VstSpeakerArrangement* output);
    virtual void setBlockSizeAndSampleRate(int32_t size, float rate);
    virtual bool setBypass(bool bypass);
    virtual bool getEffectName(char* name);
    virtual bool getErrorText(char* text);
    virtual bool getVendorString(char* text);
    virtual bool getProductString(char* text);
    virtual int32_t getVendorVersion();
    virtual intptr_t vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt);
    virtual int32_t canDo(char* capability);
    virtual void* getIcon();
    virtual bool setViewPosition(int32_t x, int32_t y);
    virtual int32_t getTailSize();
    virtual int32_t idle();
    virtual bool getParameterProperties(int32_t index, vst::VstParameterProperties* properties);
    virtual bool keysRequired();
    virtual int32_t getVstVersion();
    virtual int32_t getMidiProgramName(int32_t channel, vst::MidiProgramName* name);
    virtual int32_t getCurrentMidiProgram(int32_t channel, vst::MidiProgramName* current);
    virtual int32_t getMidiProgramCategory(int32_t channel, vst::MidiProgramCategory* category);
    virtual bool hasMidiProgramsChanged(int32_t channel);
    virtual bool getMidiKeyName(int32_t channel, vst::MidiKeyName* keyName);
    virtual bool beginSetProgram();
    virtual bool endSetProgram();
    virtual bool hostBeginEdit(int32_t parameter);
    virtual bool hostEndEdit(int32_t parameter);
    virtual bool hostOpenFileSelector(vst::VstFileSelect* select);

private:
    // A request whose answer counts only as yes (nonzero) or no; no host is no.
    bool hostAgrees(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    // A request whose answer is an int32 taken as is; no host answers 0.
    int32_t hostNumber(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    // A request whose answer is an address taken as is; no host answers none.
    void* hostAddress(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
};

}  // namespace vorn
