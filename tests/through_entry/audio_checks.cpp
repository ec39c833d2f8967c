// The equalizing as a host hears it, measured on signals sent through the
// record's audio entry points.

#include <cmath>
#include <limits>
#include <vector>

#include "tests/through_entry/check.h"
#include "tests/through_entry/plugin_under_test.h"
#include "tools/common/signal.h"

namespace vorn::checks {
namespace {

using testhost::PluginInstance;
using Samples = std::vector<float>;

constexpr double kRate = 44100.0;
constexpr size_t kBlock = 441;
constexpr int kBand1000Hz = 16;
const float kGuard = 1e-25f;

struct StereoRun {
    Samples left, right;
};

// Sends `blocks` blocks of a 1000 Hz sine through and returns the last one.
StereoRun runSine(PluginInstance& plugin, int blocks, double amplitude = 0.25) {
    Samples outLeft(kBlock), outRight(kBlock);
    for (int block = 0; block < blocks; ++block) {
        Samples left = signals::sine(1000.0, kRate, amplitude, kBlock, block * kBlock);
        Samples right = left;
        plugin.processReplacing(left, right, outLeft, outRight);
    }
    return {outLeft, outRight};
}

CHECK_GROUP("flat settings pass audio unchanged") {
    auto plugin = openInstance();
    // Kept away from zero, where the guard offset itself would show.
    Samples left = signals::sine(1000.0, kRate, 0.5, 4096);
    Samples right = signals::sine(250.0, kRate, 0.5, 4096);
    for (size_t k = 0; k < left.size(); ++k) {
        left[k] = left[k] >= 0.0f ? left[k] + 0.01f : left[k] - 0.01f;
        right[k] = right[k] >= 0.0f ? right[k] + 0.01f : right[k] - 0.01f;
    }
    Samples inLeft = left, inRight = right;
    Samples outLeft(4096, 7.0f), outRight(4096, 7.0f);
    plugin->processReplacing(inLeft, inRight, outLeft, outRight);
    CHECK(outLeft == left);
    CHECK(outRight == right);
    // The input arrays are the working storage and hold the result too.
    CHECK(inLeft == left);
}

CHECK_GROUP("silence becomes the alternating guard signal") {
    auto plugin = openInstance();
    for (size_t frames : {size_t(64), size_t(7)}) {
        Samples left(frames, 0.0f), right(frames, 0.0f), outLeft(frames), outRight(frames);
        plugin->processReplacing(left, right, outLeft, outRight);
        bool guardPattern = true;
        for (size_t k = 0; k < frames; ++k) {
            float expected = (k % 2 == 0) ? kGuard : -kGuard;
            guardPattern = guardPattern && outLeft[k] == expected && outRight[k] == expected;
        }
        CHECK(guardPattern);
    }
}

CHECK_GROUP("band 16 of one channel sets the gain at 1000 Hz") {
    const float values[] = {1.0f, 0.75f, 0.25f, 0.0f};
    const double expectedDb[] = {12.0, 6.0, -6.0, -12.0};
    for (int channel = 0; channel < 2; ++channel) {
        for (int k = 0; k < 4; ++k) {
            auto plugin = openInstance();
            inside(*plugin).setBand(channel == 0 ? Inside::kLeft : Inside::kRight, kBand1000Hz,
                                    values[k]);
            StereoRun out = runSine(*plugin, 60);
            double reference = signals::rms(signals::sine(1000.0, kRate, 0.25, kBlock));
            double changed = signals::decibels(signals::rms(channel == 0 ? out.left : out.right) / reference);
            double untouched = signals::decibels(signals::rms(channel == 0 ? out.right : out.left) / reference);
            CHECK_NEAR(changed, expectedDb[k], 0.1);
            CHECK_NEAR(untouched, 0.0, 0.01);
        }
    }
}

CHECK_GROUP("the sample rate moves the bands") {
    // At 96 kHz the same band value still acts at 1000 Hz.
    auto plugin = openInstance();
    plugin->dispatch(vst::effSetSampleRate, 0, 0, nullptr, 96000.0f);
    inside(*plugin).setBand(Inside::kLeft, kBand1000Hz, 1.0f);
    Samples outLeft(960), outRight(960);
    for (int block = 0; block < 60; ++block) {
        Samples left = signals::sine(1000.0, 96000.0, 0.25, 960, block * 960), right = left;
        plugin->processReplacing(left, right, outLeft, outRight);
    }
    CHECK_NEAR(signals::decibels(signals::rms(outLeft) / (0.25 / std::sqrt(2.0))), 12.0, 0.1);
}

CHECK_GROUP("process adds and processReplacing overwrites") {
    auto plugin = openInstance();
    inside(*plugin).setBand(Inside::kLeft, 3, 0.8f);
    auto twin = openInstance();
    inside(*twin).setBand(Inside::kLeft, 3, 0.8f);
    Samples left = signals::sine(50.0, kRate, 0.3, 2048), right = left;
    Samples leftCopy = left, rightCopy = right;
    Samples replaced(2048, 0.125f), replacedRight(2048, 0.125f);
    Samples added(2048, 0.125f), addedRight(2048, -0.5f);
    plugin->processReplacing(left, right, replaced, replacedRight);
    twin->process(leftCopy, rightCopy, added, addedRight);
    bool sums = true;
    for (size_t k = 0; k < 2048; ++k) {
        sums = sums && added[k] == 0.125f + replaced[k];
        sums = sums && addedRight[k] == -0.5f + replacedRight[k];
    }
    CHECK(sums);
    CHECK(left == replaced);
}

CHECK_GROUP("zero and negative frame counts touch nothing") {
    auto plugin = openInstance();
    inside(*plugin).setBand(Inside::kRight, 20, 1.0f);
    for (int32_t frames : {0, -1, -1000}) {
        float left[4] = {0.5f, 0.25f, 0.0f, 1.0f}, right[4] = {0.1f, 0.2f, 0.3f, 0.4f};
        float outLeft[4] = {9, 9, 9, 9}, outRight[4] = {8, 8, 8, 8};
        float* inputs[2] = {left, right};
        float* outputs[2] = {outLeft, outRight};
        vst::AEffect* record = plugin->record();
        record->processReplacing(record, inputs, outputs, frames);
        record->process(record, inputs, outputs, frames);
        CHECK(left[0] == 0.5f && left[3] == 1.0f && right[2] == 0.3f);
        CHECK(outLeft[0] == 9 && outLeft[3] == 9 && outRight[1] == 8);
        CHECK(inside(*plugin).inputLevel() == 0.0f);
        CHECK(inside(*plugin).outputLevel() == 0.0f);
    }
}

CHECK_GROUP("one big block equals many small ones") {
    auto whole = openInstance();
    auto pieces = openInstance();
    for (auto* plugin : {whole.get(), pieces.get()}) {
        Inside program = inside(*plugin);
        for (int band = 0; band < kBandCount; ++band) {
            program.setBand(Inside::kLeft, band, band % 2 ? 0.9f : 0.2f);
            program.setBand(Inside::kRight, band, band % 3 ? 0.35f : 0.7f);
        }
    }
    const size_t frames = 3000;
    Samples left = signals::sine(440.0, kRate, 0.5, frames), right = signals::sine(3000.0, kRate, 0.5, frames);
    Samples wholeLeft(frames), wholeRight(frames);
    {
        Samples l = left, r = right;
        whole->processReplacing(l, r, wholeLeft, wholeRight);
    }
    Samples pieceLeft, pieceRight;
    size_t sizes[] = {1, 2, 3, 64, 500, 1};
    size_t at = 0, turn = 0;
    while (at < frames) {
        size_t size = std::min(sizes[turn++ % 6], frames - at);
        Samples l(left.begin() + at, left.begin() + at + size), r(right.begin() + at, right.begin() + at + size);
        Samples outL(size), outR(size);
        pieces->processReplacing(l, r, outL, outR);
        pieceLeft.insert(pieceLeft.end(), outL.begin(), outL.end());
        pieceRight.insert(pieceRight.end(), outR.begin(), outR.end());
        at += size;
    }
    CHECK(pieceLeft == wholeLeft);
    CHECK(pieceRight == wholeRight);
}

CHECK_GROUP("a program switch acts at the next block without a reset") {
    auto plugin = openInstance();
    Inside equalizer = inside(*plugin);
    equalizer.setBand(Inside::kLeft, kBand1000Hz, 1.0f, 0);
    equalizer.setBand(Inside::kLeft, kBand1000Hz, 0.0f, 1);
    StereoRun boosted = runSine(*plugin, 40);
    plugin->dispatch(vst::effSetProgram, 0, 1);
    StereoRun first = runSine(*plugin, 1);
    // The first block after the switch starts from the old history: no
    // silence, no jump back to zero.
    CHECK(std::fabs(first.left[0]) > 1e-3f || std::fabs(first.left[1]) > 1e-3f);
    StereoRun cut = runSine(*plugin, 40);
    double reference = signals::rms(signals::sine(1000.0, kRate, 0.25, kBlock));
    CHECK_NEAR(signals::decibels(signals::rms(boosted.left) / reference), 12.0, 0.1);
    CHECK_NEAR(signals::decibels(signals::rms(cut.left) / reference), -12.0, 0.1);
    CHECK(equalizer.band(Inside::kLeft, kBand1000Hz, 0) == 1.0f);
}

CHECK_GROUP("bad samples do not poison the channel") {
    auto plugin = openInstance();
    inside(*plugin).setBand(Inside::kLeft, 10, 0.9f);
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity()};
    for (float value : bad) {
        Samples left = signals::sine(1000.0, kRate, 0.25, kBlock), right = left;
        left[100] = value;
        right[kBlock - 1] = value;
        Samples outLeft(kBlock), outRight(kBlock);
        plugin->processReplacing(left, right, outLeft, outRight);
        StereoRun after = runSine(*plugin, 1);
        bool finite = true;
        for (size_t k = 0; k < kBlock; ++k)
            finite = finite && std::isfinite(after.left[k]) && std::isfinite(after.right[k]);
        CHECK(finite);
        CHECK(std::isfinite(inside(*plugin).inputLevel()));
        CHECK(std::isfinite(inside(*plugin).outputLevel()));
    }
}

CHECK_GROUP("level meters follow the peaks") {
    auto plugin = openInstance();
    Inside equalizer = inside(*plugin);
    Samples left(256, 1.0f), right(256, -1.0f), outLeft(256), outRight(256);
    plugin->processReplacing(left, right, outLeft, outRight);
    CHECK(equalizer.inputLevel() == 0.9999f);
    for (int block = 0; block < 40; ++block) {
        Samples quietLeft(256, 0.0f), quietRight(256, 0.0f);
        plugin->processReplacing(quietLeft, quietRight, outLeft, outRight);
    }
    CHECK(equalizer.inputLevel() == 0.0f);
    CHECK(equalizer.outputLevel() < 0.0001f);
}

}  // namespace
}  // namespace vorn::checks
