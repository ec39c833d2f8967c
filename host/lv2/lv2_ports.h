#pragma once
// The LV2 plug-in's ports, in index order: two audio inputs, two audio
// outputs, one gain control per band and channel (left bands first, then
// right, lowest band first), and the two level meters. The Turtle generator
// writes the description from this table and the band table, and the DSP and
// UI libraries read ports by the same numbers, so a port is said once.

#include <cstdint>
#include <string>

#include "common/bands.h"

namespace vorn::lv2 {

enum class PortKind { audioInput, audioOutput, gainControl, levelOutput };

constexpr uint32_t kAudioInLeft = 0;
constexpr uint32_t kAudioInRight = 1;
constexpr uint32_t kAudioOutLeft = 2;
constexpr uint32_t kAudioOutRight = 3;
constexpr uint32_t kFirstGainPort = 4;
constexpr uint32_t kInputLevelPort = kFirstGainPort + kChannelCount * kBandCount;
constexpr uint32_t kOutputLevelPort = kInputLevelPort + 1;
constexpr uint32_t kPortCount = kOutputLevelPort + 1;

// Gain ports are in decibels, as a host shows and automates them; the band
// value the engine and the editor work with is (dB + 12) / 24.
constexpr float kMinGainDb = -12.0f;
constexpr float kMaxGainDb = 12.0f;
constexpr float kDefaultGainDb = 0.0f;
// Levels are linear peak amplitude, 1 at full scale. Reported up to this
// (+12 dB over full scale); the editor's bar is full well before.
constexpr float kMaxReportedLevel = 4.0f;

constexpr uint32_t gainPort(Channel channel, int band) {
    return kFirstGainPort + static_cast<uint32_t>(channel * kBandCount + band);
}

PortKind portKind(uint32_t port);
// For gain ports only.
Channel portChannel(uint32_t port);
int portBand(uint32_t port);

// A name a script can use, e.g. "left_1000", and one a person reads, e.g.
// "Left 1 kHz".
std::string portSymbol(uint32_t port);
std::string portName(uint32_t port);

// The band value for a gain port's value: clamped to the port's range, and
// the default for a value that is not a number, so nothing a host sends can
// put a stray value into the filters.
float bandValueForGain(float gainDb);
// The port value that stands for a band value (the editor's drags).
float gainForBandValue(float value);
// A level port's value: clamped to 0..kMaxReportedLevel, NaN as 0.
float reportedLevel(float level);

}  // namespace vorn::lv2
