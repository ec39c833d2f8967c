#include "engine/equalizer_engine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <limits>
#include <tuple>

#include "signals.h"

namespace vorn::engine {
namespace {

using namespace vorn::engine::testing;

constexpr int kBand1000Hz = 16;
constexpr double kRate = 44100.0;

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(EqualizerEngine, FlatSettingsPassAudioUnchanged) {
    EqualizerEngine engine;
    BandValues flat;
    const Stereo input{noise(3000, 1), noise(3000, 2)};
    const Stereo output = processInBlocks(engine, flat, kRate, input, 1000);
    for (int k = 0; k < 3000; ++k) {
        ASSERT_TRUE(sameBits(output.left[k], input.left[k])) << k;
        ASSERT_TRUE(sameBits(output.right[k], input.right[k])) << k;
    }
}

TEST(EqualizerEngine, SilenceComesOutAsTheGuardSignal) {
    EqualizerEngine engine;
    BandValues flat;
    const Stereo output = processInBlocks(engine, flat, kRate, stereo(std::vector<float>(96, 0.0f)), 32);
    for (int k = 0; k < 96; ++k) {
        // The sign pattern restarts with + at every block; 32 is even, so the
        // pattern looks continuous here.
        const float expected = (k % 2 == 0) ? kDenormalGuard : -kDenormalGuard;
        ASSERT_EQ(output.left[k], expected) << k;
        ASSERT_EQ(output.right[k], expected) << k;
    }
    EXPECT_EQ(engine.inputMeter.level(), 0.0f);
    // The fall-back may leave the value a hair below zero.
    EXPECT_LE(std::fabs(engine.outputMeter.level()), 0.0001f);
}

TEST(EqualizerEngine, GuardPatternStartsWithPlusAtEveryBlock) {
    EqualizerEngine engine;
    BandValues flat;
    const Stereo output = processInBlocks(engine, flat, kRate, stereo(std::vector<float>(9, 0.0f)), 3);
    for (int k = 0; k < 9; ++k) {
        const float expected = (k % 3 == 1) ? -kDenormalGuard : kDenormalGuard;
        ASSERT_EQ(output.left[k], expected) << k;
        ASSERT_EQ(output.right[k], expected) << k;
    }
}

// Band 16 (1000 Hz) of one channel at a value; a 1000 Hz sine on both inputs.
struct BandGainCase {
    float value;
    double expectedDb;
};

class BandGainOnSine : public ::testing::TestWithParam<BandGainCase> {};

TEST_P(BandGainOnSine, ChangesOnlyTheChannelItBelongsTo) {
    const int frames = 44100;  // settle for the first half, measure 500 whole periods after
    const std::vector<float> input = sine(1000.0, kRate, 0.5, frames);
    const double inputRms = rms(input, frames / 2, frames);
    for (bool leftChannel : {true, false}) {
        SCOPED_TRACE(leftChannel ? "left" : "right");
        EqualizerEngine engine;
        BandValues program;
        (leftChannel ? program.left : program.right)[kBand1000Hz].store(GetParam().value);
        const Stereo output = processInBlocks(engine, program, kRate, stereo(input), 512);
        const double changedDb = decibels(rms(leftChannel ? output.left : output.right, frames / 2, frames) / inputRms);
        const double otherDb = decibels(rms(leftChannel ? output.right : output.left, frames / 2, frames) / inputRms);
        EXPECT_NEAR(changedDb, GetParam().expectedDb, 0.1);
        EXPECT_NEAR(otherDb, 0.0, 0.001);
    }
}

INSTANTIATE_TEST_SUITE_P(GainLaw, BandGainOnSine,
                         ::testing::Values(BandGainCase{1.0f, 12.0}, BandGainCase{0.75f, 6.0},
                                           BandGainCase{0.25f, -6.0}, BandGainCase{0.0f, -12.0}),
                         [](const ::testing::TestParamInfo<BandGainCase>& info) {
                             return "value" + std::to_string(static_cast<int>(info.param.value * 100));
                         });

TEST(EqualizerEngine, ProcessAddsAndProcessReplacingOverwrites) {
    BandValues program;
    setZigzag(program);
    const int frames = 256;
    const Stereo input{noise(frames, 3, 0.5f), noise(frames, 4, 0.5f)};

    EqualizerEngine replacingEngine;
    Stereo replacingIn = input;
    Stereo replacingOut{std::vector<float>(frames, 7.0f), std::vector<float>(frames, 7.0f)};
    float* rIn[2] = {replacingIn.left.data(), replacingIn.right.data()};
    float* rOut[2] = {replacingOut.left.data(), replacingOut.right.data()};
    replacingEngine.processBlock(rIn, rOut, frames, true, program, kRate);

    EqualizerEngine addingEngine;
    Stereo addingIn = input;
    Stereo addingOut{std::vector<float>(frames, 0.25f), std::vector<float>(frames, -0.25f)};
    float* aIn[2] = {addingIn.left.data(), addingIn.right.data()};
    float* aOut[2] = {addingOut.left.data(), addingOut.right.data()};
    addingEngine.processBlock(aIn, aOut, frames, false, program, kRate);

    bool equalized = false;
    for (int k = 0; k < frames; ++k) {
        equalized = equalized || replacingOut.left[k] != input.left[k];
        // The inputs are the working storage and end up holding the result.
        ASSERT_EQ(replacingIn.left[k], replacingOut.left[k]);
        ASSERT_EQ(replacingIn.right[k], replacingOut.right[k]);
        ASSERT_EQ(addingIn.left[k], replacingOut.left[k]);
        ASSERT_EQ(addingOut.left[k], 0.25f + replacingOut.left[k]);
        ASSERT_EQ(addingOut.right[k], -0.25f + replacingOut.right[k]);
    }
    EXPECT_TRUE(equalized);
    EXPECT_EQ(addingEngine.outputMeter.level(), replacingEngine.outputMeter.level());
}

TEST(EqualizerEngine, EmptyAndNegativeBlocksOnlyRedesign) {
    EqualizerEngine engine;
    BandValues program;
    setZigzag(program);
    processInBlocks(engine, program, kRate, stereo(sine(440.0, kRate, 0.5, 1000)), 1000);

    EqualizerEngine reference;  // the same history, for comparison
    processInBlocks(reference, program, kRate, stereo(sine(440.0, kRate, 0.5, 1000)), 1000);

    setAll(program, 1.0f);
    std::vector<float> left(8, 3.0f), right(8, 3.0f), outLeft(8, 5.0f), outRight(8, 5.0f);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    for (int32_t frames : {0, -1, -4096}) {
        engine.processBlock(inputs, outputs, frames, true, program, 48000.0);
        engine.processBlock(inputs, outputs, frames, false, program, 48000.0);
    }
    engine.processBlock(nullptr, nullptr, 0, true, program, 48000.0);

    EXPECT_EQ(left, std::vector<float>(8, 3.0f));
    EXPECT_EQ(right, std::vector<float>(8, 3.0f));
    EXPECT_EQ(outLeft, std::vector<float>(8, 5.0f));
    EXPECT_EQ(outRight, std::vector<float>(8, 5.0f));
    EXPECT_EQ(engine.inputMeter.level(), reference.inputMeter.level());
    EXPECT_EQ(engine.outputMeter.level(), reference.outputMeter.level());
    for (int band = 0; band < kBandCount; ++band) {
        for (auto [actual, expected] : {std::pair{engine.leftFilters[band], reference.leftFilters[band]},
                                        std::pair{engine.rightFilters[band], reference.rightFilters[band]}}) {
            EXPECT_EQ(actual.y1, expected.y1);
            EXPECT_EQ(actual.y2, expected.y2);
            EXPECT_EQ(actual.x1, expected.x1);
            EXPECT_EQ(actual.x2, expected.x2);
            // ...but the coefficients follow the new gains and sample rate.
            BandFilter designed;
            designed.design(bandCentreHz[band], 48000.0, bandwidthOctaves, 12.0);
            EXPECT_EQ(actual.b0, designed.b0);
            EXPECT_EQ(actual.a2, designed.a2);
        }
    }
}

TEST(EqualizerEngine, BlockSizeDoesNotChangeTheResult) {
    BandValues program;
    setZigzag(program);
    // Loud enough that the guard offsets never change a sample.
    const Stereo input{sine(997.0, kRate, 0.5, 4000), sine(61.0, kRate, 0.5, 4000)};
    EqualizerEngine wholeEngine;
    const Stereo whole = processInBlocks(wholeEngine, program, kRate, input, 4000);
    for (int blockSize : {1, 7, 64, 1023}) {
        SCOPED_TRACE(blockSize);
        EqualizerEngine engine;
        const Stereo pieces = processInBlocks(engine, program, kRate, input, blockSize);
        EXPECT_EQ(pieces.left, whole.left);
        EXPECT_EQ(pieces.right, whole.right);
    }
}

TEST(EqualizerEngine, ProgramSwitchActsAtTheNextBlockWithoutReset) {
    BandValues boost, cut;
    boost.left[kBand1000Hz].store(1.0f);
    cut.left[kBand1000Hz].store(0.0f);
    const int block = 441;  // ten whole periods of 1000 Hz
    const std::vector<float> input = sine(1000.0, kRate, 0.25, 40 * block);

    EqualizerEngine engine;
    Stereo before = processInBlocks(engine, boost, kRate, stereo({input.begin(), input.begin() + 20 * block}), block);
    Stereo after = processInBlocks(engine, cut, kRate, stereo({input.begin() + 20 * block, input.end()}), block);
    const double inputRms = rms(input, 0, block);
    EXPECT_NEAR(decibels(rms(before.left, 19 * block, 20 * block) / inputRms), 12.0, 0.1);
    EXPECT_NEAR(decibels(rms(after.left, 19 * block, 20 * block) / inputRms), -12.0, 0.1);

    // The first block after the switch starts from the boosted history: it
    // neither falls silent nor matches a filter started from rest.
    EqualizerEngine fromRest;
    Stereo restStart = processInBlocks(fromRest, cut, kRate, stereo({input.begin() + 20 * block, input.begin() + 21 * block}), block);
    EXPECT_GT(rms(after.left, 0, 44), 0.5 * inputRms);
    double largestDifference = 0.0;
    for (int k = 0; k < block; ++k) {
        largestDifference = std::max(largestDifference, std::fabs(double(after.left[k]) - restStart.left[k]));
    }
    EXPECT_GT(largestDifference, 0.05);
    EXPECT_EQ(after.right, std::vector<float>(input.begin() + 20 * block, input.end()));
}

TEST(EqualizerEngine, MetersFollowInputAndEqualizedOutput) {
    EqualizerEngine engine;
    BandValues program;
    program.left[kBand1000Hz].store(1.0f);
    program.right[kBand1000Hz].store(1.0f);
    processInBlocks(engine, program, kRate, stereo(sine(1000.0, kRate, 0.1, 22050)), 512);
    EXPECT_NEAR(engine.inputMeter.level(), 0.1, 0.002);
    EXPECT_NEAR(engine.outputMeter.level(), 0.398, 0.01);
}

class NonFiniteInput : public ::testing::TestWithParam<float> {};

TEST_P(NonFiniteInput, OutputIsFiniteAgainAfterOneBlock) {
    EqualizerEngine engine;
    BandValues program;
    setZigzag(program);
    const int block = 512;
    Stereo poisoned{noise(block, 5, 0.5f), noise(block, 6, 0.5f)};
    poisoned.left[100] = GetParam();
    poisoned.right[block - 1] = GetParam();
    processInBlocks(engine, program, kRate, poisoned, block);
    EXPECT_TRUE(std::isfinite(engine.inputMeter.level()));
    EXPECT_TRUE(std::isfinite(engine.outputMeter.level()));

    const Stereo clean = processInBlocks(engine, program, kRate, {noise(block, 7, 0.5f), noise(block, 8, 0.5f)}, block);
    EXPECT_TRUE(allFinite(clean.left));
    EXPECT_TRUE(allFinite(clean.right));
    EXPECT_GT(rms(clean.left, 0, block), 0.05);
    EXPECT_GT(rms(clean.right, 0, block), 0.05);
    EXPECT_LT(engine.outputMeter.level(), 4.0f);
    EXPECT_LT(engine.inputMeter.level(), 0.5f);
}

INSTANTIATE_TEST_SUITE_P(Samples, NonFiniteInput,
                         ::testing::Values(std::numeric_limits<float>::quiet_NaN(),
                                           std::numeric_limits<float>::infinity(),
                                           -std::numeric_limits<float>::infinity()));

// A single huge but finite sample, as a source upstream sends on its way to
// blowing up, must not outlive its block: from the next block on a flat
// program hands back its input exactly, at any rate.
class HugeInput : public ::testing::TestWithParam<std::tuple<float, double>> {};

TEST_P(HugeInput, AFlatProgramIsExactAgainFromTheNextBlock) {
    const auto [huge, rate] = GetParam();
    EqualizerEngine engine;
    BandValues flat;
    const int block = 512;
    Stereo spoiled{noise(block, 11, 0.5f), noise(block, 12, 0.5f)};
    spoiled.left[200] = huge;
    spoiled.right[511] = -huge;
    processInBlocks(engine, flat, rate, spoiled, block);

    const int frames = 16 * block;
    const Stereo input{noise(frames, 13, 0.5f), noise(frames, 14, 0.5f)};
    const Stereo output = processInBlocks(engine, flat, rate, input, block);
    EXPECT_EQ(output.left, input.left);
    EXPECT_EQ(output.right, input.right);
}

INSTANTIATE_TEST_SUITE_P(
    SamplesAndRates, HugeInput,
    ::testing::Combine(::testing::Values(1e20f, std::numeric_limits<float>::max(), 3e10f),
                       ::testing::Values(44100.0, 192000.0, 768000.0)));

// The bound on the history is far above anything real: a mix 120 dB above
// full scale through every band at +12 dB keeps its history, so its output
// is exactly the quiet mix's output scaled (a power of two scales exactly).
TEST(EqualizerEngine, LoudMixesThroughEveryBoostKeepTheirHistory) {
    BandValues boosted;
    setAll(boosted, 1.0f);
    constexpr float kScale = 1048576.0f;  // 2^20
    const Stereo quiet{noise(8192, 15, 0.9f), noise(8192, 16, 0.9f)};
    Stereo loud = quiet;
    for (float& sample : loud.left) sample *= kScale;
    for (float& sample : loud.right) sample *= kScale;
    EqualizerEngine quietEngine, loudEngine;
    const Stereo quietOut = processInBlocks(quietEngine, boosted, kRate, quiet, 256);
    const Stereo loudOut = processInBlocks(loudEngine, boosted, kRate, loud, 256);
    for (size_t k = 0; k < quietOut.left.size(); ++k) {
        ASSERT_EQ(loudOut.left[k], quietOut.left[k] * kScale) << k;
        ASSERT_EQ(loudOut.right[k], quietOut.right[k] * kScale) << k;
    }
}

TEST(EqualizerEngine, AwkwardSampleRatesKeepEveryOutputFinite) {
    BandValues loud;
    setAll(loud, 1.0f);
    const double rates[] = {8000.0, 11025.0, 16000.0, 32000.0, 40000.0, 0.0, -48000.0,
                            std::numeric_limits<double>::quiet_NaN()};
    for (double rate : rates) {
        SCOPED_TRACE(rate);
        EqualizerEngine engine;
        // Bands above half the rate fold onto the same region and their boosts
        // stack, so the gain can be large; it must stay finite and not grow.
        const Stereo output = processInBlocks(engine, loud, rate, {noise(32768, 9, 0.25f), noise(32768, 10, 0.25f)}, 256);
        ASSERT_TRUE(allFinite(output.left));
        ASSERT_TRUE(allFinite(output.right));
        EXPECT_LT(rms(output.left, 24576, 32768), 1.5 * rms(output.left, 8192, 16384));
        EXPECT_LT(rms(output.right, 24576, 32768), 1.5 * rms(output.right, 8192, 16384));
    }
    // With no usable sample rate every band is bypassed.
    EqualizerEngine engine;
    const std::vector<float> input = noise(64, 11, 0.5f);
    EXPECT_EQ(processInBlocks(engine, loud, 0.0, stereo(input), 64).left, input);
}

}  // namespace
}  // namespace vorn::engine
