// Two threads per instance, as hosts run them: an audio thread processing
// blocks of 64 to 1024 frames while the user-interface thread switches
// programs, sets and reads names, changes the sample rate and block size,
// switches the mains, gets and sets the bank and program chunks, and opens,
// idles (the editor paints and reads the meters), drags a slider with the
// real pointer and closes the editor. Built with ThreadSanitizer, which
// fails the run on any data race; bounded in calls and in seconds.
//
//   vorn_thread_checks <library> [seconds per case]

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "common/bands.h"
#include "common/editor_layout.h"
#include "common/vst2.h"
#include "tests/threads/parent_window.h"
#include "tools/testhost/host_callback.h"
#include "tools/testhost/plugin_library.h"

namespace {

using namespace vorn;
using Clock = std::chrono::steady_clock;

constexpr long kAudioBlocks = 2000000;  // in practice the seconds bound the run
constexpr long kInterfaceCalls = 4000;

intptr_t dispatch(vst::AEffect* record, int32_t opcode, int32_t index = 0, intptr_t value = 0,
                  void* ptr = nullptr, float opt = 0.0f) {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

// The audio thread: blocks until told to stop, or the bound is reached.
void audioThread(vst::AEffect* record, uint32_t seed, const std::atomic<bool>& stop, long& blocks) {
    std::mt19937 random(seed);
    std::vector<float> left(1024), right(1024), outLeft(1024), outRight(1024);
    for (blocks = 0; blocks < kAudioBlocks && !stop.load(); ++blocks) {
        const int32_t frames = 64 + int32_t(random() % 961);
        for (int32_t k = 0; k < frames; ++k) {
            left[k] = std::uniform_real_distribution<float>(-0.5f, 0.5f)(random);
            right[k] = left[k] * 0.5f;
        }
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        if (blocks % 4 == 3)
            record->process(record, inputs, outputs, frames);
        else
            record->processReplacing(record, inputs, outputs, frames);
    }
}

// A host saving the bank or the current program and restoring it, with
// one band changed on the way, so that the restore changes something.
void chunkRoundTrip(vst::AEffect* record, std::mt19937& random) {
    const int32_t program = int32_t(random() % 2);
    void* data = nullptr;
    const intptr_t size = dispatch(record, vst::effGetChunk, program, 0, &data);
    if (size <= 0 || !data) return;
    std::vector<uint8_t> chunk(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    // A band value's low byte, somewhere after the header: still in 0..1.
    const size_t firstValue = program ? 12 + 32 : 16 + 32;
    chunk[firstValue + 4 * (random() % 60)] ^= 1;
    dispatch(record, vst::effSetChunk, program, intptr_t(chunk.size()), chunk.data());
}

std::vector<uint8_t> bankChunk(vst::AEffect* record) {
    void* data = nullptr;
    const intptr_t size = dispatch(record, vst::effGetChunk, 0, 0, &data);
    const auto* bytes = static_cast<const uint8_t*>(data);
    return size > 0 && bytes ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>();
}

// Drags that changed a band value; none at all means the drags never
// reached the editor and the case did not test what it says.
long effectiveDrags = 0;

// The editor opened, a slider dragged with the real pointer, idled so the
// editor reads the drag and paints, and closed.
void dragInEditor(vst::AEffect* record, std::mt19937& random, checks::ParentWindow& parent) {
    const std::vector<uint8_t> before = bankChunk(record);
    dispatch(record, vst::effEditOpen, 0, 0, parent.handle());
    dispatch(record, vst::effEditIdle);
    const int band = int(random() % kBandCount);
    const int middle = layout::leftThumbX(band) + layout::kThumbWidth / 2;
    parent.drag(middle, layout::kZeroRow - layout::kTravel / 2,
                layout::kFullRow + int(random() % layout::kTravel));
    for (int idle = 0; idle < 3; ++idle) dispatch(record, vst::effEditIdle);
    dispatch(record, vst::effEditClose);
    if (bankChunk(record) != before) ++effectiveDrags;
}

// The user-interface thread's share of one instance: one call of many kinds.
void interfaceCall(vst::AEffect* record, long call, std::mt19937& random,
                   checks::ParentWindow& parent) {
    void* const window = parent.handle();
    char text[64] = {};
    switch (call % 11) {
    case 0: dispatch(record, vst::effSetProgram, 0, intptr_t(random() % 16)); break;
    case 1:
        std::snprintf(text, sizeof text, "Program %ld", call);
        dispatch(record, vst::effSetProgramName, 0, 0, text);
        dispatch(record, vst::effGetProgramName, 0, 0, text);
        break;
    case 2: dispatch(record, vst::effGetProgramNameIndexed, int32_t(random() % 16), 0, text); break;
    case 3: {
        const float rates[] = {44100.0f, 48000.0f, 96000.0f, 22050.0f};
        dispatch(record, vst::effSetSampleRate, 0, 0, nullptr, rates[random() % 4]);
        break;
    }
    case 4: dispatch(record, vst::effSetBlockSize, 0, intptr_t(64 << (random() % 5))); break;
    case 5:
        dispatch(record, vst::effMainsChanged, 0, 0);
        dispatch(record, vst::effMainsChanged, 0, 1);
        break;
    case 6:
        dispatch(record, vst::effEditOpen, 0, 0, window);
        for (int idle = 0; idle < 3; ++idle) dispatch(record, vst::effEditIdle);
        dispatch(record, vst::effEditClose);
        break;
    case 7: dispatch(record, vst::effGetVu); break;
    case 8: chunkRoundTrip(record, random); break;
    case 9: dragInEditor(record, random, parent); break;
    default: dispatch(record, vst::effGetEffectName, 0, 0, text); break;
    }
}

// Instances, each with an audio thread, and this thread as the user
// interface of all of them, for at most `seconds`.
bool runCase(vst::EntryProc entry, int instances, double seconds, checks::ParentWindow& parent) {
    std::vector<vst::AEffect*> records;
    for (int i = 0; i < instances; ++i) {
        vst::AEffect* record = entry(testhost::hostCallback);
        if (!record) return false;
        dispatch(record, vst::effOpen);
        dispatch(record, vst::effSetSampleRate, 0, 0, nullptr, 48000.0f);
        dispatch(record, vst::effSetBlockSize, 0, 1024);
        dispatch(record, vst::effMainsChanged, 0, 1);
        records.push_back(record);
    }
    std::atomic<bool> stop{false};
    std::vector<long> blocks(instances, 0);
    std::vector<std::thread> audio;
    for (int i = 0; i < instances; ++i)
        audio.emplace_back(audioThread, records[i], 100u + i, std::cref(stop), std::ref(blocks[i]));

    std::mt19937 random(7);
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    long calls = 0;
    for (; calls < kInterfaceCalls && Clock::now() < deadline; ++calls)
        interfaceCall(records[calls % instances], calls / instances, random, parent);
    stop.store(true);
    for (std::thread& thread : audio) thread.join();

    for (vst::AEffect* record : records) {
        dispatch(record, vst::effMainsChanged, 0, 0);
        dispatch(record, vst::effClose);
    }
    std::printf("%d instance(s): %ld interface calls,", instances, calls);
    for (long count : blocks) std::printf(" %ld", count);
    std::printf(" audio blocks\n");
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <library> [seconds per case]\n", argv[0]);
        return 2;
    }
    const double seconds = argc > 2 ? std::atof(argv[2]) : 20.0;
    testhost::PluginLibrary library;
    if (!library.load(argv[1])) {
        std::printf("cannot load %s: %s\n", argv[1], library.error().c_str());
        return 2;
    }
    vst::EntryProc entry = library.entry("main");
    if (!entry) return 2;
    // hostCallback records every request; the audio thread makes none.
    checks::ParentWindow parent;
    std::printf("editor parent: %s\n", parent.describe().c_str());
    const bool ok = runCase(entry, 1, seconds, parent) && runCase(entry, 2, seconds, parent);
    std::printf("%ld drags changed a band\n", effectiveDrags);
    if (parent.canDrag() && effectiveDrags == 0) {
        std::printf("FAIL: no drag reached the editor\n");
        return 1;
    }
    return ok ? 0 : 1;
}
