#pragma once
// Small stand-ins shared by the host-layer tests: an effect with nothing of
// its own, and an editor that remembers the keys it is handed.

#include <cstdint>

#include "framework/editor_base.h"
#include "framework/effect_extended.h"
#include "host/equalizer_effect.h"

namespace vorn::test {

// The version-2 layer with every default in place.
class BareEffect : public EffectExtended {
public:
    explicit BareEffect(vst::HostCallback host = nullptr) : EffectExtended(host, 4, 2) {}
    void process(float**, float**, int32_t) override {}
};

class RecordingEditor : public EditorBase {
public:
    using EditorBase::EditorBase;
    int32_t keyPressed(vst::VstKeyCode* key) override {
        pressed = *key;
        ++pressCount;
        return EditorBase::keyPressed(key);
    }
    int32_t keyReleased(vst::VstKeyCode* key) override {
        released = *key;
        ++releaseCount;
        return EditorBase::keyReleased(key);
    }
    int32_t setKnobBehaviour(int32_t mode) override {
        knobMode = mode;
        return EditorBase::setKnobBehaviour(mode);
    }

    vst::VstKeyCode pressed{};
    vst::VstKeyCode released{};
    int pressCount = 0;
    int releaseCount = 0;
    int32_t knobMode = -100;

    // The last one made by the factory below.
    static inline RecordingEditor* last = nullptr;
    static EditorBase* make(EqualizerEffect* effect) { return last = new RecordingEditor(effect); }
};

inline EditorBase* noEditor(EqualizerEffect*) { return nullptr; }

}  // namespace vorn::test
