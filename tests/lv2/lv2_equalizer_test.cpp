// The LV2 instance around the engine: its output is the engine's for the
// same band values whatever the host's block length and buffers, it takes
// nothing from a control port that could upset the filters, and it survives
// what a careless host does.

#include "host/lv2/lv2_equalizer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "tools/common/signal.h"

namespace vorn::lv2 {
namespace {

constexpr double kRate = 48000.0;

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct Stereo {
    std::vector<float> left, right;
};

Stereo music(size_t frames, uint32_t seed) {
    Stereo signal{signals::noise(frames, seed, 0.5f), signals::noise(frames, seed + 1, 0.5f)};
    const auto tone = signals::sine(1000.0, kRate, 0.3, frames);
    for (size_t k = 0; k < frames; ++k) signal.left[k] += tone[k];
    return signal;
}

// One instance with every port connected to buffers of its own.
class Instance {
public:
    Instance() : equalizer(std::make_unique<Lv2Equalizer>(kRate)) {
        for (int channel = 0; channel < kChannelCount; ++channel)
            for (int band = 0; band < kBandCount; ++band)
                equalizer->connectPort(gainPort(Channel(channel), band), &gains[channel][band]);
        equalizer->connectPort(kInputLevelPort, &inputLevel);
        equalizer->connectPort(kOutputLevelPort, &outputLevel);
        equalizer->activate();
    }

    // Runs the signal in blocks of `block` frames into fresh output buffers.
    Stereo run(const Stereo& input, size_t block) {
        Stereo output{std::vector<float>(input.left.size()), std::vector<float>(input.left.size())};
        for (size_t start = 0; start < input.left.size(); start += block)
            runAt(input, output, start, std::min(block, input.left.size() - start));
        return output;
    }

    // One run of `frames` frames from `start` of the signal into `output`.
    void runAt(const Stereo& input, Stereo& output, size_t start, size_t frames) {
        connectAudio(input.left.data() + start, input.right.data() + start,
                     output.left.data() + start, output.right.data() + start);
        equalizer->run(static_cast<uint32_t>(frames));
    }

    void connectAudio(const float* inLeft, const float* inRight, float* outLeft, float* outRight) {
        equalizer->connectPort(kAudioInLeft, const_cast<float*>(inLeft));
        equalizer->connectPort(kAudioInRight, const_cast<float*>(inRight));
        equalizer->connectPort(kAudioOutLeft, outLeft);
        equalizer->connectPort(kAudioOutRight, outRight);
    }

    std::unique_ptr<Lv2Equalizer> equalizer;
    float gains[kChannelCount][kBandCount] = {};
    float inputLevel = -1.0f;
    float outputLevel = -1.0f;
};

// The engine alone, given the blocks a host gives the instance and the band
// values of the instance's gain ports: what the instance must put out.
class EngineAlone {
public:
    explicit EngineAlone(const Stereo& input)
        : output{std::vector<float>(input.left.size()), std::vector<float>(input.left.size())},
          work(input) {}

    void runAt(const float (&gains)[kChannelCount][kBandCount], size_t start, size_t frames) {
        for (int band = 0; band < kBandCount; ++band) {
            bands.left[band].store(bandValueForGain(gains[kLeftChannel][band]));
            bands.right[band].store(bandValueForGain(gains[kRightChannel][band]));
        }
        float* in[2] = {work.left.data() + start, work.right.data() + start};
        float* out[2] = {output.left.data() + start, output.right.data() + start};
        engine->processBlock(in, out, static_cast<int32_t>(frames), true, bands, kRate);
    }

    Stereo output;

private:
    Stereo work;  // the engine works in its input arrays
    engine::BandValues bands;
    std::unique_ptr<engine::FastEqualizerEngine> engine =
        std::make_unique<engine::FastEqualizerEngine>();
};

::testing::AssertionResult sameAudio(const Stereo& a, const Stereo& b) {
    for (size_t k = 0; k < a.left.size(); ++k)
        if (!sameBits(a.left[k], b.left[k]) || !sameBits(a.right[k], b.right[k]))
            return ::testing::AssertionFailure() << "frame " << k << " differs";
    return ::testing::AssertionSuccess();
}

void setZigzag(float (&gains)[kChannelCount][kBandCount]) {
    for (int band = 0; band < kBandCount; ++band) {
        gains[kLeftChannel][band] = band % 2 ? -7.5f : 9.25f;
        gains[kRightChannel][band] = band % 3 ? 4.0f : -11.0f;
    }
}

// Blocks longer than the working buffers go through in pieces whose guard
// pattern continues, so every block length gives the engine's own output.
TEST(Lv2Equalizer, AnyBlockLengthGivesTheEnginesOutput) {
    const size_t frames = 3 * Lv2Equalizer::kWorkingFrames + 1001;
    const Stereo input = music(frames, 7);
    for (size_t block : {size_t{1}, size_t{31}, size_t{512}, size_t{Lv2Equalizer::kWorkingFrames},
                         size_t{Lv2Equalizer::kWorkingFrames + 1}, frames}) {
        Instance lv2;
        setZigzag(lv2.gains);
        EngineAlone alone(input);
        for (size_t start = 0; start < frames; start += block)
            alone.runAt(lv2.gains, start, std::min(block, frames - start));
        EXPECT_TRUE(sameAudio(lv2.run(input, block), alone.output)) << "blocks of " << block;
    }
}

// The instance has the engine design only after a gain changed: a change
// between runs reaches the very next run, and a run without one keeps the
// last designs.
TEST(Lv2Equalizer, AGainChangedBetweenRunsActsFromTheNextRun) {
    const size_t block = 32;
    const Stereo input = music(block * 12, 5);
    Instance lv2;
    EngineAlone alone(input);
    Stereo output = alone.output;
    for (size_t start = 0, run = 0; start < input.left.size(); start += block, ++run) {
        if (run == 3) setZigzag(lv2.gains);
        if (run == 7) lv2.gains[kRightChannel][12] = -3.5f;
        alone.runAt(lv2.gains, start, block);
        lv2.runAt(input, output, start, block);
    }
    EXPECT_TRUE(sameAudio(output, alone.output));

    // A host that runs an instance it never activated gets the same audio.
    Lv2Equalizer unactivated(kRate);
    float flat[kChannelCount][kBandCount] = {};
    for (int channel = 0; channel < kChannelCount; ++channel)
        for (int band = 0; band < kBandCount; ++band)
            unactivated.connectPort(gainPort(Channel(channel), band), &flat[channel][band]);
    Instance activated;
    Stereo first{std::vector<float>(block), std::vector<float>(block)};
    unactivated.connectPort(kAudioInLeft, const_cast<float*>(input.left.data()));
    unactivated.connectPort(kAudioInRight, const_cast<float*>(input.right.data()));
    unactivated.connectPort(kAudioOutLeft, first.left.data());
    unactivated.connectPort(kAudioOutRight, first.right.data());
    unactivated.run(static_cast<uint32_t>(block));
    const Stereo opening{{input.left.begin(), input.left.begin() + block},
                         {input.right.begin(), input.right.begin() + block}};
    EXPECT_TRUE(sameAudio(first, activated.run(opening, block)));
}

// Every gain port is looked at: one changed alone, each in turn, reaches
// the very next run.
TEST(Lv2Equalizer, AChangeOfAnyOneGainIsTakenUp) {
    const size_t block = 32;
    const Stereo input = music(block * kChannelCount * kBandCount, 9);
    Instance lv2;
    EngineAlone alone(input);
    Stereo output = alone.output;
    for (size_t start = 0, run = 0; start < input.left.size(); start += block, ++run) {
        lv2.gains[run / kBandCount][run % kBandCount] = run % 2 ? 6.5f : -9.0f;
        alone.runAt(lv2.gains, start, block);
        lv2.runAt(input, output, start, block);
    }
    EXPECT_TRUE(sameAudio(output, alone.output));
}

TEST(Lv2Equalizer, InPlaceBuffersAndTheInputLeftAlone) {
    const Stereo input = music(Lv2Equalizer::kWorkingFrames * 2 + 77, 11);
    Instance separate, shared;
    setZigzag(separate.gains);
    setZigzag(shared.gains);
    const Stereo expected = separate.run(input, input.left.size());

    Stereo buffers = input;  // input and output in the same arrays
    shared.connectAudio(buffers.left.data(), buffers.right.data(), buffers.left.data(),
                        buffers.right.data());
    shared.equalizer->run(static_cast<uint32_t>(buffers.left.size()));
    EXPECT_TRUE(sameAudio(buffers, expected));

    // With separate buffers the host's input is not written.
    Stereo kept = input;
    Stereo out{std::vector<float>(input.left.size()), std::vector<float>(input.left.size())};
    Instance again;
    again.connectAudio(kept.left.data(), kept.right.data(), out.left.data(), out.right.data());
    again.equalizer->run(static_cast<uint32_t>(kept.left.size()));
    EXPECT_TRUE(sameAudio(kept, input));
}

TEST(Lv2Equalizer, ControlValuesAreClampedBeforeTheFilters) {
    const Stereo input = music(4000, 3);
    Instance hostile, sane;
    const float inf = std::numeric_limits<float>::infinity();
    for (int band = 0; band < kBandCount; ++band) {
        hostile.gains[kLeftChannel][band] = band % 2 ? std::nanf("") : 1e30f;
        hostile.gains[kRightChannel][band] = band % 2 ? -inf : -1e9f;
        sane.gains[kLeftChannel][band] = band % 2 ? 0.0f : 12.0f;
        sane.gains[kRightChannel][band] = -12.0f;
    }
    const Stereo out = hostile.run(input, 256);
    EXPECT_TRUE(sameAudio(out, sane.run(input, 256)));
    for (float sample : out.left) ASSERT_TRUE(std::isfinite(sample));
}

TEST(Lv2Equalizer, EmptyRunsAndMissingPortsTouchNoSample) {
    Instance lv2;
    std::vector<float> in(64, 0.5f), out(64, 7.0f);
    lv2.connectAudio(in.data(), in.data(), out.data(), out.data());
    lv2.equalizer->run(0);
    EXPECT_EQ(out[0], 7.0f);
    EXPECT_EQ(lv2.inputLevel, 0.0f);  // published even so

    // An output never connected: nothing is processed, nothing crashes.
    auto lonely = std::make_unique<Lv2Equalizer>(kRate);
    lonely->connectPort(kAudioInLeft, in.data());
    lonely->connectPort(kAudioInRight, in.data());
    lonely->connectPort(kAudioOutLeft, out.data());
    lonely->run(64);
    EXPECT_EQ(out[0], 7.0f);
    // Port numbers past the table are ignored.
    lonely->connectPort(kPortCount, out.data());
    lonely->connectPort(0xFFFFFFFFu, out.data());
    lonely->run(64);
    EXPECT_EQ(out[0], 7.0f);
}

TEST(Lv2Equalizer, LevelsAreReportedInRangeAndActivateStartsAfresh) {
    Instance lv2;
    const Stereo tone{signals::sine(1000.0, kRate, 0.5, 4800), signals::sine(1000.0, kRate, 0.5, 4800)};
    lv2.run(tone, 480);
    EXPECT_NEAR(lv2.inputLevel, 0.5f, 0.005f);  // the peak, less its fall-back since
    EXPECT_NEAR(lv2.outputLevel, 0.5f, 0.01f);

    Stereo loud = tone;
    loud.left[100] = 1e10f;
    lv2.run(loud, 480);
    EXPECT_EQ(lv2.inputLevel, kMaxReportedLevel);

    // A fresh start: the same output as a new instance.
    lv2.equalizer->activate();
    Instance fresh;
    EXPECT_TRUE(sameAudio(lv2.run(tone, 480), fresh.run(tone, 480)));
}

TEST(Lv2Equalizer, OnlyUsableSampleRatesMakeAnInstance) {
    EXPECT_TRUE(Lv2Equalizer::usableSampleRate(44100.0));
    EXPECT_TRUE(Lv2Equalizer::usableSampleRate(8000.0));
    for (double rate : {0.0, -48000.0, std::nan(""), std::numeric_limits<double>::infinity(), 1e300})
        EXPECT_FALSE(Lv2Equalizer::usableSampleRate(rate)) << rate;
}

}  // namespace
}  // namespace vorn::lv2
