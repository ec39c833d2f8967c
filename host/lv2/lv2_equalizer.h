#pragma once
// The equalizer as an LV2 plug-in instance: the engine the VST 2 module
// ships, fed from the gain ports and feeding the level ports. An LV2 host's
// input buffers are its own (and may be the output buffers), so the engine
// works in buffers made with the instance, copying the input there on the
// way, in pieces when the host's block is longer.

#include <cstdint>
#include <optional>

#include "common/bands.h"
#include "engine/band_values.h"
#include "engine/fast/fast_equalizer_engine.h"
#include "host/lv2/lv2_ports.h"

namespace vorn::lv2 {

class Lv2Equalizer {
public:
    // Frames per piece. Even, so that the engine's alternating denormal
    // guard (which starts with + at every piece) runs on across pieces as it
    // would over the whole block: the output is the same as for one block.
    static constexpr uint32_t kWorkingFrames = 4096;
    static_assert(kWorkingFrames % 2 == 0, "the guard's sign pattern must continue");

    // False for a rate no audio runs at (not finite, not positive).
    static bool usableSampleRate(double rate);

    explicit Lv2Equalizer(double sampleRate);

    void connectPort(uint32_t port, void* data);
    // Back to the state of a new instance: filters and meters from silence.
    void activate();
    // No allocation, lock or system call. With an audio port not connected
    // only the gains are taken up; no sample is touched.
    void run(uint32_t frames);

private:
    // Takes up the gain controls; true if one changed.
    bool readGains();
    void publishLevels();

    // The rate as the VST 2 interface carries it (a float), so both formats
    // design the same filters; the rounding is far below anything audible.
    const double sampleRate;

    const float* audioIn[kChannelCount] = {};
    float* audioOut[kChannelCount] = {};
    // Control ports may sit anywhere in the host's memory: read and written
    // byte-wise. A gain control that is not connected reads the default.
    const void* gainPorts[kChannelCount][kBandCount];
    void* inputLevelPort = nullptr;
    void* outputLevelPort = nullptr;

    // The port values the band values were last taken from, bit for bit: a
    // run converts only the gains that changed.
    uint32_t gainBits[kChannelCount][kBandCount];
    engine::BandValues bands;
    std::optional<engine::FastEqualizerEngine> engine;
    alignas(64) float working[kChannelCount][kWorkingFrames];
};

}  // namespace vorn::lv2
