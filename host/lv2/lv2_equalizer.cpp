#include "host/lv2/lv2_equalizer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace vorn::lv2 {
namespace {

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Where a gain control that is not connected reads its value.
const float defaultGain = kDefaultGainDb;

// A control port's value, as bits.
uint32_t readPortBits(const void* port) {
    uint32_t bits;
    std::memcpy(&bits, port, sizeof bits);
    return bits;
}

float fromBits(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void writePort(void* port, float value) {
    if (port) std::memcpy(port, &value, sizeof value);
}

}  // namespace

bool Lv2Equalizer::usableSampleRate(double rate) {
    return std::isfinite(rate) && rate >= 1.0 &&
           rate <= static_cast<double>(std::numeric_limits<float>::max());
}

Lv2Equalizer::Lv2Equalizer(double rate)
    : sampleRate(static_cast<double>(static_cast<float>(rate))) {
    for (auto& channel : gainBits)
        for (uint32_t& bits : channel) bits = bitsOf(kDefaultGainDb);
    for (auto& channel : gainPorts)
        for (const void*& port : channel) port = &defaultGain;
    engine.emplace();
    engine->design(bands, sampleRate);
}

void Lv2Equalizer::connectPort(uint32_t port, void* data) {
    if (port >= kPortCount) return;
    switch (portKind(port)) {
    case PortKind::audioInput: audioIn[port - kAudioInLeft] = static_cast<const float*>(data); break;
    case PortKind::audioOutput: audioOut[port - kAudioOutLeft] = static_cast<float*>(data); break;
    case PortKind::gainControl:
        gainPorts[portChannel(port)][portBand(port)] = data ? data : &defaultGain;
        break;
    case PortKind::levelOutput:
        (port == kInputLevelPort ? inputLevelPort : outputLevelPort) = data;
        break;
    }
}

void Lv2Equalizer::activate() {
    engine.emplace(engine->level());
    engine->design(bands, sampleRate);
}

bool Lv2Equalizer::readGains() {
    // Most runs find every gain as it was: one pass without branches or
    // stores compares them all, and only a run that finds a change reads
    // them again to convert the ones that changed.
    const void* const* ports = &gainPorts[0][0];
    const uint32_t* known = &gainBits[0][0];
    uint32_t changed = 0;
#pragma GCC unroll 60
    for (int port = 0; port < kChannelCount * kBandCount; ++port)
        changed |= readPortBits(ports[port]) ^ known[port];
    if (!changed) return false;

    for (int channel = 0; channel < kChannelCount; ++channel) {
        std::atomic<float>* values = channel == kLeftChannel ? bands.left : bands.right;
        for (int band = 0; band < kBandCount; ++band) {
            const uint32_t bits = readPortBits(gainPorts[channel][band]);
            if (bits == gainBits[channel][band]) continue;
            gainBits[channel][band] = bits;
            values[band].store(bandValueForGain(fromBits(bits)), std::memory_order_relaxed);
        }
    }
    return true;
}

void Lv2Equalizer::publishLevels() {
    writePort(inputLevelPort, reportedLevel(engine->inputMeter.level()));
    writePort(outputLevelPort, reportedLevel(engine->outputMeter.level()));
}

void Lv2Equalizer::run(uint32_t frames) {
    // The instance alone writes its band values, so the engine designs only
    // after a gain changed (an empty run takes up new gains too).
    if (readGains()) engine->design(bands, sampleRate);
    const bool connected = audioIn[0] && audioIn[1] && audioOut[0] && audioOut[1];
    if (!connected) frames = 0;

    float* workingArrays[kChannelCount] = {working[0], working[1]};
    for (uint32_t done = 0; done < frames;) {
        const uint32_t piece = std::min(frames - done, kWorkingFrames);
        // The engine reads the host's input once, on its way into the
        // working buffers, before anything is written: the host may have
        // given the same buffer for input and output.
        const float* sources[kChannelCount] = {audioIn[0] + done, audioIn[1] + done};
        float* outputs[kChannelCount] = {audioOut[0] + done, audioOut[1] + done};
        engine->processDesigned(sources, workingArrays, outputs, static_cast<int32_t>(piece), true);
        done += piece;
    }

    publishLevels();
}

}  // namespace vorn::lv2
