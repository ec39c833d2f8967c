#pragma once
// One plug-in instance as a host holds it: the record and the calls made
// through its entry points, nothing else.

#include <string>
#include <vector>

#include "common/vst2.h"

namespace vorn::testhost {

class PluginInstance {
public:
    explicit PluginInstance(vst::AEffect* record) : effect(record) {}
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;
    ~PluginInstance() { close(); }

    vst::AEffect* record() const { return effect; }
    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);
    std::string text(int32_t opcode, int32_t index = 0, intptr_t value = 0);

    // Stereo blocks; the plug-in works in the input arrays, so they are copied.
    void processReplacing(std::vector<float>& left, std::vector<float>& right,
                          std::vector<float>& outLeft, std::vector<float>& outRight);
    void process(std::vector<float>& left, std::vector<float>& right,
                 std::vector<float>& outLeft, std::vector<float>& outRight);

    // Sends effClose and answers what the dispatcher entry answered.
    intptr_t close();

private:
    vst::AEffect* effect;
};

}  // namespace vorn::testhost
