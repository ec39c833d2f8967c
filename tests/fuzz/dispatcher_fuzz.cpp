// A hostile host, reproducible from a seed: random dispatcher calls (every
// opcode from -5 to 80, extreme index, value and opt, null pointers or
// guard-padded buffers) through the exported entry point, interleaved with
// audio full of NaN, infinities, subnormals and huge values. After every
// hostile stretch, clean audio must come back finite and, since nothing here
// sets a band, exactly as it went in.
//
// Checked after every call: the guard bytes around the buffer are intact, no
// more bytes were written than the opcode may write, the record is as the
// plug-in made it. A failure names the seed and the call number.
//
//   vorn_dispatch_fuzz <library> [--seed N] [--seeds N] [--calls N]

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "common/vst2.h"
#include "tools/common/command_line.h"
#include "tools/testhost/host_callback.h"
#include "tools/testhost/plugin_library.h"

namespace {

using namespace vorn;

constexpr int kFirstOpcode = -5;
constexpr int kLastOpcode = 80;
constexpr size_t kGuardBytes = 64;
constexpr size_t kPayloadBytes = 256;
constexpr uint8_t kGuardByte = 0xA5;
constexpr int kCallsPerStretch = 40;

// The most bytes each opcode may write into the buffer its ptr names; zero
// for every opcode not listed.
size_t writableBytes(int32_t opcode) {
    switch (opcode) {
    case vst::effGetProgramName:
    case vst::effGetProgramNameIndexed: return 32;  // 31 characters and the NUL
    case vst::effGetParamLabel:
    case vst::effGetParamDisplay: return 1;  // ""
    case vst::effGetParamName: return 5;     // "Demo"
    case vst::effGetEffectName:
    case vst::effGetProductString: return 10;  // "Vorn Demo"
    case vst::effGetVendorString: return 9;    // "Tarnwell"
    case vst::effEditGetRect:
    case vst::effGetChunk: return sizeof(void*);  // the address of a record
    default: return 0;
    }
}

class Fuzzer {
public:
    Fuzzer(vst::EntryProc entry, uint32_t seed) : entry(entry), seed(seed), random(seed) {}
    Fuzzer(const Fuzzer&) = delete;
    Fuzzer& operator=(const Fuzzer&) = delete;
    ~Fuzzer() { closeInstance(); }

    bool run(long calls) {
        if (!openInstance()) return false;
        for (call = 0; call < calls; ++call) {
            if (!oneCall()) return false;
            if (call % kCallsPerStretch == kCallsPerStretch - 1 && !hostileAudioThenClean())
                return false;
        }
        closeInstance();
        std::printf("seed %u: %ld calls, %ld blocks, %ld editor opens answered 1\n", seed, calls,
                    blocks, editorOpens);
        return true;
    }

private:
    bool fail(const char* what, int32_t opcode = 0, int32_t index = 0, intptr_t value = 0,
              float opt = 0.0f) {
        std::printf("FAILED seed %u call %ld: %s (opcode %d, index %d, value %" PRIdPTR ", opt %g)\n",
                    seed, call, what, opcode, index, value, double(opt));
        return false;
    }

    void closeInstance() {
        if (record) record->dispatcher(record, vst::effClose, 0, 0, nullptr, 0.0f);
        record = nullptr;
    }

    bool openInstance() {
        record = entry(testhost::hostCallback);
        if (!record) return fail("main made no instance");
        record->dispatcher(record, vst::effOpen, 0, 0, nullptr, 0.0f);
        std::memcpy(&recordAsMade, record, sizeof recordAsMade);
        return true;
    }

    int32_t pick(std::initializer_list<int32_t> choices) {
        return *(choices.begin() + random() % choices.size());
    }

    int32_t extremeInt() {
        switch (random() % 6) {
        case 0: return pick({0, 1, -1, 15, 16, 29, 30, 255, 256});
        case 1: return std::numeric_limits<int32_t>::min();
        case 2: return std::numeric_limits<int32_t>::max();
        default: return int32_t(random());
        }
    }

    float extremeFloat() {
        switch (random() % 10) {
        case 0: return std::numeric_limits<float>::quiet_NaN();
        case 1: return std::numeric_limits<float>::infinity();
        case 2: return -std::numeric_limits<float>::infinity();
        case 3: return std::numeric_limits<float>::denorm_min();
        case 4: return std::numeric_limits<float>::max();
        case 5: return -1e30f;
        case 6: return 0.0f;
        case 7: return float(pick({8000, 44100, 48000, 96000, 192000, 768000}));
        default: return std::uniform_real_distribution<float>(-1e6f, 1e6f)(random);
        }
    }

    // The guard-padded buffer: random printable text with a NUL somewhere in
    // it, so that a plug-in reading a text stops inside the buffer.
    void fillBuffer() {
        buffer.assign(kGuardBytes + kPayloadBytes + kGuardBytes, kGuardByte);
        for (size_t i = 0; i < kPayloadBytes; ++i)
            buffer[kGuardBytes + i] = uint8_t(' ' + random() % 95);
        buffer[kGuardBytes + random() % kPayloadBytes] = 0;
        before.assign(buffer.begin(), buffer.end());
    }

    bool oneCall() {
        const int32_t opcode = kFirstOpcode + int32_t(random() % (kLastOpcode - kFirstOpcode + 1));
        const int32_t index = extremeInt();
        const intptr_t value = random() % 2 ? intptr_t(extremeInt()) : intptr_t(random() % 4);
        const float opt = extremeFloat();
        const bool withBuffer = random() % 4 != 0;
        fillBuffer();
        void* ptr = withBuffer ? buffer.data() + kGuardBytes : nullptr;
        if (opcode == vst::effEditOpen && withBuffer) {
            // A parent no window system knows, as a host with a bug would send.
            ptr = reinterpret_cast<void*>(uintptr_t(random()));
        }
        const intptr_t answer = record->dispatcher(record, opcode, index, value, ptr, opt);
        if (opcode == vst::effEditOpen && answer == 1) ++editorOpens;
        if (opcode == vst::effClose) {
            // The instance is gone; a host would make a new one.
            return openInstance();
        }

        for (size_t i = 0; i < kGuardBytes; ++i) {
            if (buffer[i] != kGuardByte || buffer[kGuardBytes + kPayloadBytes + i] != kGuardByte)
                return fail("a guard byte around the buffer changed", opcode, index, value, opt);
        }
        size_t lastWritten = 0;
        for (size_t i = 0; i < kPayloadBytes; ++i)
            if (buffer[kGuardBytes + i] != before[kGuardBytes + i]) lastWritten = i + 1;
        if (lastWritten > writableBytes(opcode))
            return fail(("wrote " + std::to_string(lastWritten) + " bytes").c_str(), opcode, index,
                        value, opt);
        if (std::memcmp(&recordAsMade, record, sizeof recordAsMade) != 0)
            return fail("the record changed", opcode, index, value, opt);
        return true;
    }

    float hostileSample() {
        switch (random() % 12) {
        case 0: return std::numeric_limits<float>::quiet_NaN();
        case 1: return std::numeric_limits<float>::infinity();
        case 2: return -std::numeric_limits<float>::infinity();
        case 3: return std::numeric_limits<float>::denorm_min() * float(random() % 1000);
        case 4: return pick({1, -1}) * std::numeric_limits<float>::max();
        case 5: return pick({1, -1}) * 1e20f;
        case 6: return pick({1, -1}) * 1e12f;
        default: return std::uniform_real_distribution<float>(-1e6f, 1e6f)(random);
        }
    }

    // Clean audio away from zero, where the guard offset would show.
    float cleanSample() {
        const float value = std::uniform_real_distribution<float>(-0.5f, 0.5f)(random);
        return value >= 0.0f ? value + 0.01f : value - 0.01f;
    }

    void processBlock(std::vector<float>& left, std::vector<float>& right, bool replacing) {
        const int32_t frames = int32_t(left.size());
        std::vector<float> outLeft(frames, 0.0f), outRight(frames, 0.0f);
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        if (replacing)
            record->processReplacing(record, inputs, outputs, frames);
        else
            record->process(record, inputs, outputs, frames);
        left = outLeft;
        right = outRight;
        ++blocks;
    }

    bool hostileAudioThenClean() {
        const int hostileBlocks = 1 + int(random() % 3);
        for (int b = 0; b < hostileBlocks; ++b) {
            const size_t frames = random() % 1025;
            std::vector<float> left(frames), right(frames);
            for (size_t k = 0; k < frames; ++k) {
                left[k] = random() % 8 ? cleanSample() : hostileSample();
                right[k] = random() % 8 ? cleanSample() : hostileSample();
            }
            processBlock(left, right, random() % 2);
        }
        // One clean block lets the filters restart; the next must be exact.
        for (int b = 0; b < 2; ++b) {
            const size_t frames = 1 + random() % 512;
            std::vector<float> left(frames), right(frames);
            for (size_t k = 0; k < frames; ++k) {
                left[k] = cleanSample();
                right[k] = cleanSample();
            }
            const std::vector<float> inLeft = left, inRight = right;
            processBlock(left, right, true);
            if (b == 0) continue;
            for (size_t k = 0; k < frames; ++k) {
                if (!std::isfinite(left[k]) || !std::isfinite(right[k]))
                    return fail("clean audio came back not finite");
                if (left[k] != inLeft[k] || right[k] != inRight[k])
                    return fail("clean audio through flat programs came back changed");
            }
        }
        testhost::clearHostRequests();
        return true;
    }

    vst::EntryProc entry;
    uint32_t seed;
    std::mt19937 random;
    vst::AEffect* record = nullptr;
    vst::AEffect recordAsMade{};
    std::vector<uint8_t> buffer, before;
    long call = 0;
    long blocks = 0;
    long editorOpens = 0;
};

}  // namespace

int main(int argc, char** argv) {
    cxxopts::Options options(argv[0], "Random dispatcher calls and hostile audio through a plug-in's entry point");
    options.add_options()("library", "the plug-in library", cxxopts::value<std::string>())(
        "seed", "first seed", cxxopts::value<uint32_t>()->default_value("1"))(
        "seeds", "how many seeds, one after the other", cxxopts::value<uint32_t>()->default_value("1"))(
        "calls", "dispatcher calls per seed", cxxopts::value<long>()->default_value("100000"));
    options.parse_positional({"library"});
    options.positional_help("<library>");
    int exitCode = 0;
    const auto parsed = tools::parseCommandLine(options, argc, argv, exitCode);
    if (!parsed) return exitCode;
    if (!parsed->count("library")) return tools::usageError(options, "no library named");

    const std::string path = (*parsed)["library"].as<std::string>();
    testhost::PluginLibrary library;
    if (!library.load(path)) {
        std::printf("cannot load %s: %s\n", path.c_str(), library.error().c_str());
        return 2;
    }
    vst::EntryProc entry = library.entry("main");
    if (!entry) {
        std::printf("%s exports no main\n", path.c_str());
        return 2;
    }
    const uint32_t first = (*parsed)["seed"].as<uint32_t>();
    const uint32_t seeds = (*parsed)["seeds"].as<uint32_t>();
    const long calls = (*parsed)["calls"].as<long>();
    for (uint32_t seed = first; seed < first + seeds; ++seed)
        if (!Fuzzer(entry, seed).run(calls)) return 1;
    return 0;
}
