#pragma once
// The editor as the effect layers see it: every operation the host's editor
// opcodes reach, each with a default that does nothing useful.

#include <cstdint>

#include "common/vst2.h"
#include "platform/window_system.h"

namespace vorn {

class EffectBase;

class EditorBase {
public:
    explicit EditorBase(EffectBase* owner) : effect(owner) {}
    EditorBase(const EditorBase&) = delete;
    EditorBase& operator=(const EditorBase&) = delete;

    // Virtual operations, in slot order.
    virtual ~EditorBase() = default;
    virtual int32_t getEditorRect(vst::ERect** rect);
    virtual int32_t openWindow(void* parent);
    virtual void closeWindow() {}
    virtual void idleTick();
    virtual void refresh() {}
    virtual void requestRefresh() { refreshRequested = 1; }
    virtual int32_t keyPressed(vst::VstKeyCode*) { return -1; }
    virtual int32_t keyReleased(vst::VstKeyCode*) { return -1; }
    virtual int32_t setKnobBehaviour(int32_t) { return 0; }
    virtual bool wheelTurned(float) { return false; }

protected:
    // Null for an editor that no effect owns; nothing here reaches through it.
    EffectBase* effect;
    platform::Window parentWindow = nullptr;
    int32_t refreshRequested = 0;
};

}  // namespace vorn
