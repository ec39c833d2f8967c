#include "tests/through_entry/bank_settings.h"

#include <cstdio>

#include "common/bands.h"

namespace vorn::checks {
namespace {

constexpr int kGoldenBand = 16;  // 1 kHz

}  // namespace

std::vector<uint8_t> chunkOf(testhost::PluginInstance& plugin, bool program) {
    void* data = nullptr;
    const intptr_t size = plugin.dispatch(vst::effGetChunk, program ? 1 : 0, 0, &data);
    if (size <= 0 || !data) return {};
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

intptr_t setChunk(testhost::PluginInstance& plugin, std::vector<uint8_t> chunk, bool program) {
    return plugin.dispatch(vst::effSetChunk, program ? 1 : 0, static_cast<intptr_t>(chunk.size()),
                           chunk.data());
}

void makeDistinctBank(testhost::PluginInstance& plugin) {
    Inside equalizer = inside(plugin);
    for (int32_t program = 0; program < kPrograms; ++program) {
        for (int band = 0; band < kBandCount; ++band) {
            equalizer.setBand(Inside::kLeft, band, float((program * 13 + band * 5) % 41) / 40.0f,
                              program);
            equalizer.setBand(Inside::kRight, band,
                              float((program * 13 + band * 5 + 7) % 41) / 40.0f, program);
        }
        char name[32];
        std::snprintf(name, sizeof name, "Curve %d of the session", int(program));
        plugin.dispatch(vst::effSetProgram, 0, program);
        plugin.dispatch(vst::effSetProgramName, 0, 0, name);
    }
    plugin.dispatch(vst::effSetProgram, 0, kDistinctCurrent);
}

std::vector<float> playNoise(testhost::PluginInstance& plugin) {
    plugin.dispatch(vst::effSetSampleRate, 0, 0, nullptr, 44100.0f);
    Noise noise(2024);
    std::vector<float> heard;
    for (size_t frames : {size_t(512), size_t(37), size_t(512), size_t(1)}) {
        std::vector<float> left(frames), right(frames), outLeft(frames), outRight(frames);
        for (size_t k = 0; k < frames; ++k) {
            left[k] = noise.next();
            right[k] = noise.next();
        }
        plugin.processReplacing(left, right, outLeft, outRight);
        for (size_t k = 0; k < frames; ++k) {
            heard.push_back(outLeft[k]);
            heard.push_back(outRight[k]);
        }
    }
    return heard;
}

std::string goldenName(int32_t program) {
    if (program == kGoldenCurrent) return "1 kHz up left, down right";
    char name[32];
    std::snprintf(name, sizeof name, "Golden %02d", int(program));
    return name;
}

float goldenValue(int32_t program, InstanceHook::Channel channel, int band) {
    if (program == kGoldenCurrent) {
        if (band != kGoldenBand) return kFlatBandValue;
        return channel == Inside::kLeft ? 1.0f : 0.25f;
    }
    const int channelStep = channel == Inside::kLeft ? 0 : 11;
    return float((program * 7 + band * 3 + channelStep) % 33) / 32.0f;
}

}  // namespace vorn::checks
