// The fast engine against the plain one: every output bit, every meter
// reading and every filter's state, at each instruction set this processor
// offers, through random programs, edits, sample rates, block sizes and
// hostile input.

#include "engine/fast/fast_equalizer_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/equalizer_engine.h"
#include "bits.h"
#include "levels.h"

namespace vorn::engine {
namespace {

using testing::bitsOf;
using testing::levelName;
using testing::offeredLevels;
using testing::sameSample;

// The plain engine and a fast one at one level, fed the same blocks.
class Pair {
public:
    explicit Pair(SimdLevel level) : fast(level) {}

    // Runs one block through both and reports the first difference.
    ::testing::AssertionResult block(const std::vector<float>& left, const std::vector<float>& right,
                                     bool replacing, const BandValues& bands, double rate) {
        const int frames = static_cast<int>(left.size());
        std::vector<float> plainLeft = left, plainRight = right, fastLeft = left, fastRight = right;
        // Accumulating outputs start from the same non-zero contents.
        std::vector<float> plainOutLeft(frames, 0.25f), plainOutRight(frames, -0.5f);
        std::vector<float> fastOutLeft = plainOutLeft, fastOutRight = plainOutRight;
        float* plainIn[2] = {plainLeft.data(), plainRight.data()};
        float* plainOut[2] = {plainOutLeft.data(), plainOutRight.data()};
        float* fastIn[2] = {fastLeft.data(), fastRight.data()};
        float* fastOut[2] = {fastOutLeft.data(), fastOutRight.data()};
        plain.processBlock(plainIn, plainOut, frames, replacing, bands, rate);
        fast.processBlock(fastIn, fastOut, frames, replacing, bands, rate);
        ++blocks;

        for (int k = 0; k < frames; ++k) {
            if (!sameSample(plainOutLeft[k], fastOutLeft[k]) ||
                !sameSample(plainOutRight[k], fastOutRight[k]))
                return ::testing::AssertionFailure()
                       << "block " << blocks << " (" << frames << " frames at " << rate
                       << " Hz), frame " << k << ": plain " << plainOutLeft[k] << "/"
                       << plainOutRight[k] << ", fast " << fastOutLeft[k] << "/" << fastOutRight[k];
        }
        if (bitsOf(plain.inputMeter.level()) != bitsOf(fast.inputMeter.level()) ||
            bitsOf(plain.outputMeter.level()) != bitsOf(fast.outputMeter.level()))
            return ::testing::AssertionFailure() << "block " << blocks << ": meters differ";
        for (int band = 0; band < kBandCount; ++band) {
            for (int channel = 0; channel < 2; ++channel) {
                const BandFilter& expected =
                    channel == 0 ? plain.leftFilters[band] : plain.rightFilters[band];
                const BandFilter actual = fast.filter(band, channel);
                if (std::memcmp(&expected, &actual, sizeof expected) != 0)
                    return ::testing::AssertionFailure()
                           << "block " << blocks << ": band " << band << " channel " << channel
                           << " holds other coefficients or history";
            }
        }
        return ::testing::AssertionSuccess();
    }

    EqualizerEngine plain;
    FastEqualizerEngine fast;
    int blocks = 0;
};

class FastEngine : public ::testing::TestWithParam<SimdLevel> {
protected:
    std::mt19937 random{20261208};

    std::vector<float> noise(int frames, float amplitude = 0.8f) {
        std::uniform_real_distribution<float> sample(-amplitude, amplitude);
        std::vector<float> samples(frames);
        for (float& s : samples) s = sample(random);
        return samples;
    }
    void randomise(BandValues& bands) {
        std::uniform_real_distribution<float> value(0.0f, 1.0f);
        for (int band = 0; band < kBandCount; ++band) {
            bands.left[band].store(value(random));
            bands.right[band].store(value(random));
        }
    }
    void editSome(BandValues& bands) {
        std::uniform_int_distribution<int> band(0, kBandCount - 1);
        std::uniform_real_distribution<float> value(0.0f, 1.0f);
        for (int edit = 0; edit < 3; ++edit) {
            (random() % 2 ? bands.left : bands.right)[band(random)].store(value(random));
        }
    }
};

TEST_P(FastEngine, UsesTheLevelAskedFor) { EXPECT_EQ(FastEqualizerEngine(GetParam()).level(), GetParam()); }

TEST_P(FastEngine, EveryBlockSizeFromOneToAFewHundredAndLargeOnes) {
    Pair pair(GetParam());
    BandValues bands;
    randomise(bands);
    std::vector<int> sizes;
    for (int frames = 1; frames <= 67; ++frames) sizes.push_back(frames);
    for (int frames : {97, 127, 128, 256, 509, 512, 1024, 2039, 4096}) sizes.push_back(frames);
    for (int frames : sizes) {
        ASSERT_TRUE(pair.block(noise(frames), noise(frames), true, bands, 48000.0));
    }
}

TEST_P(FastEngine, EditsRatesProgramsAndBothWaysOfWriting) {
    Pair pair(GetParam());
    BandValues programs[3];
    for (BandValues& program : programs) randomise(program);
    const double rates[] = {8000.0, 11025.0, 22050.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0};
    std::uniform_int_distribution<int> size(1, 700);
    for (int round = 0; round < 300; ++round) {
        BandValues& bands = programs[random() % 3];  // a program switch
        if (round % 2) editSome(bands);
        const double rate = rates[(round / 7) % 8];  // changes every few blocks
        const int frames = size(random);
        ASSERT_TRUE(pair.block(noise(frames), noise(frames), round % 3 != 0, bands, rate));
    }
}

TEST_P(FastEngine, NaNInfinityDenormalsAndHugeValuesAreHandledAlike) {
    Pair pair(GetParam());
    BandValues bands;
    randomise(bands);
    const float specials[] = {std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity(),
                              std::numeric_limits<float>::denorm_min(),
                              -1e-40f,
                              std::numeric_limits<float>::max(),
                              1e20f};
    // Bursts in long blocks and in short ones, which the widest registers
    // run through another kernel.
    for (int burstFrames : {300, 40}) {
        for (float special : specials) {
            std::vector<float> left = noise(burstFrames), right = noise(burstFrames);
            for (int k = burstFrames - 30; k < burstFrames - 10; ++k) (k % 2 ? left : right)[k] = special;
            ASSERT_TRUE(pair.block(left, right, true, bands, 44100.0))
                << "burst of " << special << " in " << burstFrames << " frames";
            // Clean blocks afterwards: the history restarts alike.
            for (int frames : {64, 1, 300, 32})
                ASSERT_TRUE(pair.block(noise(frames), noise(frames), true, bands, 44100.0));
            // Silence, where the denormal guard does its work.
            ASSERT_TRUE(pair.block(std::vector<float>(512), std::vector<float>(512), true, bands, 44100.0));
        }
    }
}

// A loud but not huge sample can leave one band's history unusable (so it is
// cleared) while the next band, cut by 12 dB, keeps a usable history that
// still holds the cleared band's old output. From then on a band's input
// history is no longer its predecessor's output history, which the fast
// engine must notice.
TEST_P(FastEngine, AHistoryClearedInOneBandButNotTheNextIsFollowedAlike) {
    Pair pair(GetParam());
    BandValues bands;
    for (int band = 0; band < kBandCount; ++band) {
        bands.left[band].store(band == 0 ? 1.0f : 0.0f);
        bands.right[band].store(band == 0 ? 1.0f : 0.0f);
    }
    std::vector<float> left = noise(64), right = noise(64);
    left[63] = right[63] = 9.999e9f;
    ASSERT_TRUE(pair.block(left, right, true, bands, 48000.0));
    bool broken = false;
    for (int band = 0; band + 1 < kBandCount; ++band) {
        const BandFilter& cleared = pair.plain.leftFilters[band];
        const BandFilter& next = pair.plain.leftFilters[band + 1];
        if (cleared.y1 == 0.0f && cleared.x1 == 0.0f && next.x1 != 0.0f) broken = true;
    }
    ASSERT_TRUE(broken) << "the block no longer clears one band without the next";
    for (int frames : {1, 2, 40, 300})
        ASSERT_TRUE(pair.block(noise(frames), noise(frames), true, bands, 48000.0));
}

// A huge input sample restarts every filter at the block's end, also those
// whose history has meanwhile become usable again.
TEST_P(FastEngine, AHugeSampleRestartsEvenTheFiltersThatRecovered) {
    Pair pair(GetParam());
    BandValues bands;
    randomise(bands);
    for (int frames : {4096, 48}) {
        std::vector<float> left = noise(frames), right = noise(frames);
        left[0] = 3e10f;
        ASSERT_TRUE(pair.block(left, right, true, bands, 48000.0)) << frames << " frames";
        ASSERT_TRUE(pair.block(noise(64), noise(64), true, bands, 48000.0));
    }
}

TEST_P(FastEngine, StrangeSettingsAndEmptyBlocks) {
    Pair pair(GetParam());
    BandValues bands;
    randomise(bands);
    bands.left[3].store(std::numeric_limits<float>::quiet_NaN());
    bands.right[7].store(-4.0f);
    bands.left[29].store(9.0f);
    bands.right[0].store(-0.0f);
    for (double rate : {0.0, -48000.0, std::numeric_limits<double>::infinity(), 1.0, 44100.0, 3e6}) {
        ASSERT_TRUE(pair.block({}, {}, true, bands, rate));  // designs only
        ASSERT_TRUE(pair.block(noise(100), noise(100), true, bands, rate)) << rate;
    }
}

// A caller whose input must stay as it is gives arrays of its own to work
// in; the input is copied there on the way.
TEST_P(FastEngine, ABlockFromArraysThatStayAsTheyAre) {
    EqualizerEngine plain;
    FastEqualizerEngine fast(GetParam());
    BandValues bands;
    randomise(bands);
    fast.design(bands, 48000.0);
    // Silence first: from fresh meters, a meter that read the guard's
    // offsets would show them.
    int blocks = 0;
    for (int frames : {64, 1, 17, 32, 33, 40, 64, 100, 512}) {
        for (bool replacing : {true, false}) {
            const bool silence = blocks++ < 2;
            const std::vector<float> left = silence ? std::vector<float>(frames) : noise(frames);
            const std::vector<float> right = silence ? std::vector<float>(frames) : noise(frames);
            std::vector<float> plainLeft = left, plainRight = right;
            std::vector<float> plainOutLeft(frames, 0.25f), plainOutRight(frames, -0.5f);
            std::vector<float> outLeft = plainOutLeft, outRight = plainOutRight;
            std::vector<float> workLeft(frames), workRight(frames);
            float* plainIn[2] = {plainLeft.data(), plainRight.data()};
            float* plainOut[2] = {plainOutLeft.data(), plainOutRight.data()};
            const float* sources[2] = {left.data(), right.data()};
            float* working[2] = {workLeft.data(), workRight.data()};
            float* outputs[2] = {outLeft.data(), outRight.data()};
            plain.processBlock(plainIn, plainOut, frames, replacing, bands, 48000.0);
            fast.processDesigned(sources, working, outputs, frames, replacing);
            for (int k = 0; k < frames; ++k) {
                ASSERT_TRUE(sameSample(plainOutLeft[k], outLeft[k]) &&
                            sameSample(plainOutRight[k], outRight[k]))
                    << frames << " frames, frame " << k;
                ASSERT_TRUE(sameSample(plainLeft[k], workLeft[k]) &&
                            sameSample(plainRight[k], workRight[k]))
                    << "the working arrays hold the equalized block";
            }
            ASSERT_EQ(bitsOf(plain.inputMeter.level()), bitsOf(fast.inputMeter.level()));
            ASSERT_EQ(bitsOf(plain.outputMeter.level()), bitsOf(fast.outputMeter.level()));
        }
    }
    for (int band = 0; band < kBandCount; ++band) {
        const BandFilter left = fast.filter(band, 0), right = fast.filter(band, 1);
        EXPECT_EQ(std::memcmp(&plain.leftFilters[band], &left, sizeof left), 0) << band;
        EXPECT_EQ(std::memcmp(&plain.rightFilters[band], &right, sizeof right), 0) << band;
    }
}

// Output arrays that overlap an input array, or each other, without being
// it: no sensible host does that, but what comes out is still the plain
// engine's, which writes frame by frame.
TEST_P(FastEngine, OutputArraysThatOverlapOthersWithoutBeingThem) {
    BandValues bands;
    randomise(bands);
    constexpr int kFrames = 48;
    struct Arrangement {
        int inputLeft, inputRight, outputLeft, outputRight;  // offsets into one storage
    };
    const Arrangement arrangements[] = {
        {0, 100, 3, 100},   // left output three frames into the left input
        {0, 100, 0, 97},    // right output three frames before the right input
        {0, 100, 200, 201}, // the outputs one frame apart
        {0, 100, 200, 200}, // the same output array twice: the right channel wins
    };
    for (const Arrangement& at : arrangements) {
        for (bool replacing : {true, false}) {
            EqualizerEngine plain;
            FastEqualizerEngine fast(GetParam());
            std::vector<float> plainStorage = noise(300);
            std::vector<float> fastStorage = plainStorage;
            auto arrays = [&](std::vector<float>& storage, float** in, float** out) {
                in[0] = storage.data() + at.inputLeft;
                in[1] = storage.data() + at.inputRight;
                out[0] = storage.data() + at.outputLeft;
                out[1] = storage.data() + at.outputRight;
            };
            float *plainIn[2], *plainOut[2], *fastIn[2], *fastOut[2];
            arrays(plainStorage, plainIn, plainOut);
            arrays(fastStorage, fastIn, fastOut);
            plain.processBlock(plainIn, plainOut, kFrames, replacing, bands, 44100.0);
            fast.processBlock(fastIn, fastOut, kFrames, replacing, bands, 44100.0);
            for (size_t k = 0; k < plainStorage.size(); ++k)
                ASSERT_TRUE(sameSample(plainStorage[k], fastStorage[k]))
                    << "outputs at " << at.outputLeft << " and " << at.outputRight
                    << ", replacing " << replacing << ": sample " << k;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EachOfferedLevel, FastEngine, ::testing::ValuesIn(offeredLevels()), levelName);

TEST(SimdLevels, TheBestIsSupportedAndSse2IsAlways) {
    EXPECT_TRUE(simdLevelSupported(SimdLevel::sse2));
    EXPECT_TRUE(simdLevelSupported(bestSimdLevel()));
}

}  // namespace
}  // namespace vorn::engine
