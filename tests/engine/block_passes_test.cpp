// The passes over a block around the wavefront kernel, at each instruction
// set this processor offers, against the plain engine's loops they stand in
// for: every block length from 0 to past a few registers (so that whole
// registers and the frames left over both run), in place and from arrays
// that must stay as they are.

#include "engine/fast/block_passes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "engine/band_filter.h"
#include "engine/equalizer_engine.h"
#include "bits.h"
#include "levels.h"

namespace vorn::engine {
namespace {

using testing::levelName;
using testing::offeredLevels;
using testing::sameSample;

constexpr int kLongestBlock = 70;  // four registers of the widest set and some

class Passes : public ::testing::TestWithParam<SimdLevel> {
protected:
    const BlockPasses& passes = blockPassesFor(GetParam());
    std::mt19937 random{20261208};

    std::vector<float> noise(int frames) {
        std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
        std::vector<float> samples(frames);
        for (float& s : samples) s = sample(random);
        return samples;
    }
};

::testing::AssertionResult sameSamples(const std::vector<float>& expected,
                                       const std::vector<float>& actual) {
    for (size_t k = 0; k < expected.size(); ++k)
        if (!sameSample(expected[k], actual[k]))
            return ::testing::AssertionFailure()
                   << "sample " << k << ": " << expected[k] << " against " << actual[k];
    return ::testing::AssertionSuccess();
}

// The guard from arrays of their own and in place, with at most one odd
// sample, against holdsHugeSample and addDenormalGuard.
TEST_P(Passes, TheGuardAndTheHugeSampleCheckAreThePlainEnginesAtEveryLength) {
    const float odd[] = {kLargestUsableHistory,
                         std::nextafter(kLargestUsableHistory, 2e10f),
                         -3e10f,
                         std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::denorm_min(),
                         -1e-25f};
    for (int frames = 0; frames <= kLongestBlock; ++frames) {
        for (int trial = 0; trial < 40; ++trial) {
            std::vector<float> left = noise(frames), right = noise(frames);
            if (frames > 0 && trial > 0) {
                const float sample = odd[trial % 7];
                (trial % 2 ? left : right)[random() % frames] = sample;
            }
            std::vector<float> expectedLeft = left, expectedRight = right;
            const bool expectedHuge = holdsHugeSample(left.data(), right.data(), frames);
            addDenormalGuard(expectedLeft.data(), expectedRight.data(), frames);

            // Room past the end, which must stay as it was.
            std::vector<float> toLeft(frames + 1, 7.0f), toRight(frames + 1, 7.0f);
            const std::vector<float> fromLeft = left, fromRight = right;
            ASSERT_EQ(passes.guard(left.data(), right.data(), toLeft.data(), toRight.data(), frames),
                      expectedHuge)
                << frames << " frames, trial " << trial;
            ASSERT_EQ(toLeft[frames], 7.0f);
            ASSERT_EQ(toRight[frames], 7.0f);
            toLeft.pop_back();
            toRight.pop_back();
            ASSERT_TRUE(sameSamples(expectedLeft, toLeft)) << frames << " frames, left";
            ASSERT_TRUE(sameSamples(expectedRight, toRight)) << frames << " frames, right";
            ASSERT_TRUE(sameSamples(fromLeft, left)) << "the source was written";
            ASSERT_TRUE(sameSamples(fromRight, right)) << "the source was written";

            ASSERT_EQ(passes.guard(left.data(), right.data(), left.data(), right.data(), frames),
                      expectedHuge);
            ASSERT_TRUE(sameSamples(expectedLeft, left)) << frames << " frames in place, left";
            ASSERT_TRUE(sameSamples(expectedRight, right)) << frames << " frames in place, right";
        }
    }
}

// A host may give one array for both channels: each sample then takes the
// offset twice, as in the plain engine.
TEST_P(Passes, TheGuardInPlaceOnOneArrayForBothChannels) {
    for (int frames : {1, 15, 16, 17, 32, 33, kLongestBlock}) {
        std::vector<float> expected = noise(frames);
        std::vector<float> both = expected;
        addDenormalGuard(expected.data(), expected.data(), frames);
        passes.guard(both.data(), both.data(), both.data(), both.data(), frames);
        ASSERT_TRUE(sameSamples(expected, both)) << frames << " frames";
    }
}

TEST_P(Passes, TheDeliveryIsThePlainEnginesAtEveryLength) {
    for (int frames = 0; frames <= kLongestBlock; ++frames) {
        for (bool replacing : {true, false}) {
            const std::vector<float> left = noise(frames), right = noise(frames);
            std::vector<float> expectedLeft = noise(frames + 1), expectedRight = noise(frames + 1);
            std::vector<float> outLeft = expectedLeft, outRight = expectedRight;
            float* expected[2] = {expectedLeft.data(), expectedRight.data()};
            deliverBlock(left.data(), right.data(), expected, frames, replacing);
            passes.deliver(left.data(), right.data(), outLeft.data(), outRight.data(), frames,
                           replacing);
            // The sample past the end included: it must be as it was.
            ASSERT_TRUE(sameSamples(expectedLeft, outLeft))
                << frames << " frames, replacing " << replacing;
            ASSERT_TRUE(sameSamples(expectedRight, outRight))
                << frames << " frames, replacing " << replacing;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EachOfferedLevel, Passes, ::testing::ValuesIn(offeredLevels()), levelName);

}  // namespace
}  // namespace vorn::engine
