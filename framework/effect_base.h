#pragma once
// The version-1 layer of an effect: owns the record the host holds, turns the
// host's calls through it into virtual operations, answers opcodes 0 to 24,
// and offers a few calls back into the host.

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "common/vst2.h"

namespace vorn {

class EditorBase;

// The record handed to the host, and right after it one pointer a subclass
// may set for programs that check a built library from outside, through the
// record alone. The place of that pointer is fixed on every target.
struct PublishedRecord {
    vst::AEffect record;
    const void* extension;
};
static_assert(offsetof(PublishedRecord, extension) == sizeof(vst::AEffect),
              "the extension pointer follows the record directly");

class EffectBase {
public:
    EffectBase(vst::HostCallback audioMaster, int32_t numPrograms, int32_t numParams);
    EffectBase(const EffectBase&) = delete;
    EffectBase& operator=(const EffectBase&) = delete;

    // Virtual operations, in slot order.
    virtual ~EffectBase();
    virtual void setParameter(int32_t index, float value);
    virtual float getParameter(int32_t index);
    virtual void automateParameter(int32_t index, float value);
    virtual void process(float** inputs, float** outputs, int32_t sampleFrames) = 0;
    virtual void processReplacing(float** inputs, float** outputs, int32_t sampleFrames);
    virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    virtual void open();
    virtual void close();
    virtual int32_t getProgram();
    virtual void setProgram(int32_t program);
    virtual void setProgramName(char* name);
    virtual void getProgramName(char* name);
    virtual void getParamLabel(int32_t index, char* text);
    virtual void getParamDisplay(int32_t index, char* text);
    virtual void getParamName(int32_t index, char* text);
    virtual float getVu();
    virtual int32_t getChunk(void** data, bool isPreset);
    virtual int32_t setChunk(void* data, int32_t byteSize, bool isPreset);
    virtual void setSampleRate(float rate);
    virtual void setBlockSize(int32_t size);
    virtual void suspend();
    virtual void resume();
    virtual void setUniqueId(int32_t id);
    virtual void setNumInputs(int32_t count);
    virtual void setNumOutputs(int32_t count);
    virtual void setHasVu(bool state);
    virtual void setHasClip(bool state);
    virtual void setCanMono(bool state);
    virtual void setCanReplacing(bool state);
    virtual void setProgramChunks(bool state);
    virtual void setRealQualities(int32_t qualities);
    virtual void setOffQualities(int32_t qualities);
    virtual void setInitialDelay(int32_t delay);
    virtual float getSampleRate();
    virtual int32_t getBlockSize();
    virtual int32_t hostVersion();
    virtual int32_t hostCurrentId();
    virtual void hostIdle();
    virtual bool inputPinConnected(int32_t input);
    virtual bool outputPinConnected(int32_t output);
    virtual void formatDecibels(float value, char* text);
    virtual void formatHertz(float samples, char* text);
    virtual void formatMilliseconds(float samples, char* text);
    virtual void formatFloat(float value, char* text);
    virtual void formatInteger(int32_t value, char* text);

    vst::AEffect* record() { return &published.record; }
    EditorBase* editorObject() const { return editor; }

    // The instance behind a record handed out by this layer.
    static EffectBase* fromRecord(vst::AEffect* effect) {
        return static_cast<EffectBase*>(effect->object);
    }

protected:
    // One call into the host, or the fallback when there is no host callback.
    intptr_t callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt,
                      intptr_t fallback);
    void setFlag(int32_t flag, bool state);
    void attachEditor(EditorBase* newEditor);
    void publishExtension(const void* extension) { published.extension = extension; }

    // Written by the dispatcher on the user-interface thread, read by the
    // audio thread at every block.
    std::atomic<float> sampleRate{44100.0f};
    EditorBase* editor = nullptr;
    vst::HostCallback audioMaster;
    int32_t numPrograms;
    int32_t numParams;
    int32_t programIndex = 0;
    std::atomic<int32_t> blockSize{1024};
    PublishedRecord published{};
};

}  // namespace vorn
