// What real hosts do that a careful one would not: audio before the plug-in
// was opened or switched on, the mains switched a thousand times, the rate
// changed between blocks, blocks longer than announced, arrays shared
// between input and output, editor calls out of order, and instances made
// and dropped by the thousand. None of it may crash, leak or spoil the audio.

#include <cmath>
#include <cstdint>
#include <vector>

#include "tests/through_entry/check.h"
#include "tests/through_entry/heap_in_use.h"
#include "tests/through_entry/plugin_under_test.h"

namespace vorn::checks {
namespace {

using Samples = std::vector<float>;

// Audio away from zero, where the guard offset itself would show: a flat
// program hands it back unchanged.
Samples testSignal(size_t frames, uint32_t seed) {
    Samples samples(frames);
    for (float& sample : samples) {
        seed = seed * 1664525u + 1013904223u;
        const float value = float(seed >> 8) / float(1u << 24) - 0.5f;
        sample = value >= 0.0f ? value + 0.01f : value - 0.01f;
    }
    return samples;
}

// One block through processReplacing; answers whether the output is the input.
bool passesUnchanged(testhost::PluginInstance& plugin, size_t frames, uint32_t seed) {
    const Samples left = testSignal(frames, seed), right = testSignal(frames, seed + 1);
    Samples inLeft = left, inRight = right, outLeft(frames), outRight(frames);
    plugin.processReplacing(inLeft, inRight, outLeft, outRight);
    return outLeft == left && outRight == right;
}

bool allFinite(const Samples& samples) {
    for (float sample : samples)
        if (!std::isfinite(sample)) return false;
    return true;
}

CHECK_GROUP("quirk: audio before effOpen and before the mains are on") {
    vst::AEffect* record = pluginEntry()(testhost::hostCallback);
    CHECK(record != nullptr);
    if (!record) return;
    testhost::PluginInstance plugin(record);
    CHECK(passesUnchanged(plugin, 256, 1));
    plugin.dispatch(vst::effOpen);
    CHECK(passesUnchanged(plugin, 256, 2));
}

CHECK_GROUP("quirk: the mains switched a thousand times") {
    auto plugin = openInstance();
    for (int i = 0; i < 1000; ++i) {
        plugin->dispatch(vst::effMainsChanged, 0, 0);
        plugin->dispatch(vst::effMainsChanged, 0, 1);
    }
    CHECK(passesUnchanged(*plugin, 512, 3));
}

CHECK_GROUP("quirk: the sample rate changed between blocks") {
    auto plugin = openInstance();
    const float rates[] = {44100.0f, 96000.0f, 22050.0f, 192000.0f, 8000.0f, 48000.0f};
    bool unchanged = true;
    for (int block = 0; block < 24; ++block) {
        plugin->dispatch(vst::effSetSampleRate, 0, 0, nullptr, rates[block % 6]);
        unchanged = passesUnchanged(*plugin, 300, 10 + block) && unchanged;
    }
    CHECK(unchanged);
    // With a real setting the output stays finite through the same changes.
    inside(*plugin).setBand(Inside::kLeft, 20, 1.0f);
    inside(*plugin).setBand(Inside::kRight, 3, 0.0f);
    for (int block = 0; block < 24; ++block) {
        plugin->dispatch(vst::effSetSampleRate, 0, 0, nullptr, rates[(block * 5) % 6]);
        Samples left = testSignal(300, 40 + block), right = left, outLeft(300), outRight(300);
        plugin->processReplacing(left, right, outLeft, outRight);
        CHECK(allFinite(outLeft) && allFinite(outRight));
    }
}

CHECK_GROUP("quirk: blocks longer than announced, and of one frame") {
    auto plugin = openInstance();
    plugin->dispatch(vst::effSetBlockSize, 0, 64);
    plugin->dispatch(vst::effMainsChanged, 0, 1);
    CHECK(passesUnchanged(*plugin, 8192, 50));
    bool unchanged = true;
    for (int i = 0; i < 100; ++i) unchanged = passesUnchanged(*plugin, 1, 60 + i) && unchanged;
    CHECK(unchanged);
}

CHECK_GROUP("quirk: input and output in the same arrays") {
    auto plugin = openInstance();
    vst::AEffect* record = plugin->record();
    const Samples left = testSignal(512, 70), right = testSignal(512, 71);
    Samples bufferLeft = left, bufferRight = right;
    float* both[2] = {bufferLeft.data(), bufferRight.data()};
    record->processReplacing(record, both, both, 512);
    CHECK(bufferLeft == left && bufferRight == right);
    // Accumulating into the input: the host's signal plus the equalized one.
    record->process(record, both, both, 512);
    bool doubled = true;
    for (size_t k = 0; k < left.size(); ++k)
        doubled = doubled && bufferLeft[k] == 2.0f * left[k] && bufferRight[k] == 2.0f * right[k];
    CHECK(doubled);
}

CHECK_GROUP("quirk: editor calls out of order") {
    // A parent no window system knows: the open may fail, nothing may crash.
    void* const strangeParent = reinterpret_cast<void*>(uintptr_t(0x7ffff));
    {
        auto plugin = openInstance();
        CHECK_EQ(plugin->dispatch(vst::effEditIdle), intptr_t(0));
        CHECK_EQ(plugin->dispatch(vst::effEditClose), intptr_t(0));
        CHECK_EQ(plugin->dispatch(vst::effEditOpen, 0, 0, nullptr) <= 1, true);
        plugin->dispatch(vst::effEditIdle);
        plugin->dispatch(vst::effEditClose);
        plugin->dispatch(vst::effEditClose);
    }
    {
        auto plugin = openInstance();
        plugin->dispatch(vst::effEditOpen, 0, 0, strangeParent);
        plugin->dispatch(vst::effEditOpen, 0, 0, strangeParent);  // twice, no close between
        plugin->dispatch(vst::effEditIdle);
        plugin->dispatch(vst::effEditClose);
    }
    {
        // Closed with its editor open: the instance goes, its window with it.
        auto plugin = openInstance();
        plugin->dispatch(vst::effEditOpen, 0, 0, strangeParent);
        CHECK_EQ(plugin->close(), intptr_t(1));
    }
    auto plugin = openInstance();
    CHECK(passesUnchanged(*plugin, 128, 80));
}

CHECK_GROUP("quirk: a thousand instances made and dropped, the heap as before") {
    auto cycle = [] {
        auto plugin = openInstance();
        plugin->dispatch(vst::effSetSampleRate, 0, 0, nullptr, 48000.0f);
        plugin->dispatch(vst::effMainsChanged, 0, 1);
        Samples left = testSignal(64, 90), right = left, outLeft(64), outRight(64);
        plugin->processReplacing(left, right, outLeft, outRight);
        plugin->dispatch(vst::effMainsChanged, 0, 0);
        testhost::clearHostRequests();  // the recording host keeps what it was asked
    };
    for (int i = 0; i < 20; ++i) cycle();  // first-use allocations of the runtime
    const size_t before = heapInUse();
    for (int i = 0; i < 1000; ++i) cycle();
    const size_t after = heapInUse();
    // A few bytes of slack for the runtime's own bookkeeping; one lost
    // instance would be several kilobytes, a thousand of them megabytes.
    CHECK(after <= before + 1024);
    if (after > before + 1024)
        std::printf("heap grew from %zu to %zu bytes\n", before, after);
}

}  // namespace
}  // namespace vorn::checks
