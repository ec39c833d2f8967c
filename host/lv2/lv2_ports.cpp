#include "host/lv2/lv2_ports.h"

#include <cmath>
#include <cstdio>

#include "engine/bands.h"

namespace vorn::lv2 {
namespace {

const char* channelWord(Channel channel, bool capital) {
    if (channel == kLeftChannel) return capital ? "Left" : "left";
    return capital ? "Right" : "right";
}

}  // namespace

PortKind portKind(uint32_t port) {
    if (port == kAudioInLeft || port == kAudioInRight) return PortKind::audioInput;
    if (port == kAudioOutLeft || port == kAudioOutRight) return PortKind::audioOutput;
    if (port >= kFirstGainPort && port < kInputLevelPort) return PortKind::gainControl;
    return PortKind::levelOutput;
}

Channel portChannel(uint32_t port) {
    return (port - kFirstGainPort) < static_cast<uint32_t>(kBandCount) ? kLeftChannel
                                                                        : kRightChannel;
}

int portBand(uint32_t port) { return static_cast<int>((port - kFirstGainPort) % kBandCount); }

std::string portSymbol(uint32_t port) {
    switch (port) {
    case kAudioInLeft: return "in_left";
    case kAudioInRight: return "in_right";
    case kAudioOutLeft: return "out_left";
    case kAudioOutRight: return "out_right";
    case kInputLevelPort: return "level_in";
    case kOutputLevelPort: return "level_out";
    default: break;
    }
    const double hz = engine::bandCentreHz[portBand(port)];
    char text[32];
    std::snprintf(text, sizeof text, "%s_%.0f", channelWord(portChannel(port), false), hz);
    return text;
}

std::string portName(uint32_t port) {
    switch (port) {
    case kAudioInLeft: return "Left in";
    case kAudioInRight: return "Right in";
    case kAudioOutLeft: return "Left out";
    case kAudioOutRight: return "Right out";
    case kInputLevelPort: return "Input level";
    case kOutputLevelPort: return "Output level";
    default: break;
    }
    const double hz = engine::bandCentreHz[portBand(port)];
    const char* channel = channelWord(portChannel(port), true);
    char text[32];
    if (hz >= 1000.0)
        std::snprintf(text, sizeof text, "%s %g kHz", channel, hz / 1000.0);
    else
        std::snprintf(text, sizeof text, "%s %g Hz", channel, hz);
    return text;
}

float bandValueForGain(float gainDb) {
    if (std::isnan(gainDb)) gainDb = kDefaultGainDb;
    if (gainDb < kMinGainDb) gainDb = kMinGainDb;
    if (gainDb > kMaxGainDb) gainDb = kMaxGainDb;
    return static_cast<float>((static_cast<double>(gainDb) - engine::kMinGainDb) /
                              engine::kGainRangeDb);
}

float gainForBandValue(float value) { return static_cast<float>(engine::gainDb(value)); }

float reportedLevel(float level) {
    if (!(level > 0.0f)) return 0.0f;  // NaN too
    return level < kMaxReportedLevel ? level : kMaxReportedLevel;
}

}  // namespace vorn::lv2
