#include "host/lv2/lv2_port_model.h"

#include <utility>

namespace vorn::lv2 {

Lv2PortModel::Lv2PortModel(PortWriter writer) : write(std::move(writer)) {
    for (int channel = 0; channel < kChannelCount; ++channel) {
        for (int band = 0; band < kBandCount; ++band) {
            gains[channel][band] = kDefaultGainDb;
            values[channel][band] = bandValueForGain(kDefaultGainDb);
        }
    }
}

void Lv2PortModel::portChanged(uint32_t port, float value) {
    if (port >= kPortCount) return;
    switch (portKind(port)) {
    case PortKind::gainControl: {
        const Channel channel = portChannel(port);
        const int band = portBand(port);
        if (value == gains[channel][band]) break;  // NaN never equals: it is taken up
        gains[channel][band] = value;
        values[channel][band] = bandValueForGain(value);
        break;
    }
    case PortKind::levelOutput: levels[port == kInputLevelPort ? 0 : 1] = reportedLevel(value); break;
    default: break;
    }
}

float Lv2PortModel::bandValue(Channel channel, int band) const {
    return values[channel][band];
}

void Lv2PortModel::setBandValue(Channel channel, int band, float value) {
    const float gain = gainForBandValue(value);
    gains[channel][band] = gain;
    values[channel][band] = value;
    write(gainPort(channel, band), gain);
}

void Lv2PortModel::setLinkedBands(int band, float value) {
    setBandValue(kLeftChannel, band, value);
    setBandValue(kRightChannel, band, value);
}

}  // namespace vorn::lv2
