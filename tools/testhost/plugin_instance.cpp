#include "tools/testhost/plugin_instance.h"

#include <cstring>

namespace vorn::testhost {

intptr_t PluginInstance::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string PluginInstance::text(int32_t opcode, int32_t index, intptr_t value) {
    char buffer[256];
    std::memset(buffer, 0, sizeof buffer);
    dispatch(opcode, index, value, buffer);
    return std::string(buffer);
}

void PluginInstance::processReplacing(std::vector<float>& left, std::vector<float>& right,
                                      std::vector<float>& outLeft, std::vector<float>& outRight) {
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    effect->processReplacing(effect, inputs, outputs, static_cast<int32_t>(left.size()));
}

void PluginInstance::process(std::vector<float>& left, std::vector<float>& right,
                             std::vector<float>& outLeft, std::vector<float>& outRight) {
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    effect->process(effect, inputs, outputs, static_cast<int32_t>(left.size()));
}

intptr_t PluginInstance::close() {
    if (!effect) return 0;
    intptr_t answer = dispatch(vst::effClose);
    effect = nullptr;
    return answer;
}

}  // namespace vorn::testhost
