#pragma once
// The effect as the LV2 editor sees it: the last value the host sent for
// each port, and every edit written back through the host. The user interface
// shares no memory with the DSP instance (the host may run it in another
// process); the ports are all it knows.

#include <cstdint>
#include <functional>

#include "common/bands.h"
#include "editor/equalizer_model.h"
#include "host/lv2/lv2_ports.h"

namespace vorn::lv2 {

class Lv2PortModel final : public EqualizerModel {
public:
    // Sends one port value to the host (its write_function).
    using PortWriter = std::function<void(uint32_t port, float value)>;

    explicit Lv2PortModel(PortWriter writer);

    // A value the host sent for a port (port_event). Values outside a port's
    // range are drawn at its end; a port that is no control of ours is ignored.
    // The echo of the editor's own last write keeps the band value the drag
    // set: the trip through decibels can move a value by a rounding step,
    // and its thumb by a row.
    void portChanged(uint32_t port, float value);

    float bandValue(Channel channel, int band) const override;
    // Kept here at once, so the thumb follows the drag before the host
    // echoes the value, and written through the host.
    void setBandValue(Channel channel, int band, float value) override;
    void setLinkedBands(int band, float value) override;
    float inputLevel() const override { return levels[0]; }
    float outputLevel() const override { return levels[1]; }

private:
    PortWriter write;
    float values[kChannelCount][kBandCount];  // band values, as the editor draws them
    float gains[kChannelCount][kBandCount];   // decibels, as the ports carry them
    float levels[2] = {0.0f, 0.0f};
};

}  // namespace vorn::lv2
