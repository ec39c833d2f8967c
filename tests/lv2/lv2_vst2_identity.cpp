// The LV2 plug-in, loaded and run through lilv from its bundle, against the
// VST 2 module, loaded through its exported entry: for the same band values
// the two give the same audio, bit for bit, when both hosts use the same
// block lengths, whatever those are: from one frame to several times the LV2
// instance's working buffers, which it fills in pieces of an even length so
// that the denormal guard's alternating sign runs on as in one block. (Not
// so for a block holding a sample beyond the engine's usable range, after
// which the engine restarts its filters at the end of the block, and the
// LV2 instance at the end of the piece; the audio here stays within +-1.)
// Random settings, sample rates (common ones and any at all) and signals
// (noise, sines, digital silence), with settings changed between blocks on
// both sides alike.
//
// Usage: vorn_lv2_vst2_identity <VST 2 module> <plug-in URI> [seeds]
// (LV2_PATH names the folder that holds the bundle). Prints one line per
// seed and exits 0 when every sample matched.

#include <lilv/lilv.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "host/instance_hook.h"
#include "host/lv2/lv2_ports.h"
#include "tools/common/signal.h"
#include "tools/testhost/host_callback.h"
#include "tools/testhost/plugin_instance.h"
#include "tools/testhost/plugin_library.h"

namespace {

using namespace vorn;

constexpr double kRates[] = {22050.0, 32000.0, 44100.0, 48000.0, 88200.0, 96000.0, 192000.0};
// Short, odd, ordinary, the LV2 working length and past it, several times.
constexpr uint32_t kBlocks[] = {1, 3, 64, 333, 512, 1024, 4096, 4097, 9000, 20000};

struct Gains {
    float db[kChannelCount][kBandCount];
};

// The law both formats share: band value = (dB + 12) / 24.
float bandValue(float db) { return static_cast<float>((static_cast<double>(db) + 12.0) / 24.0); }

Gains randomGains(std::mt19937& random) {
    std::uniform_real_distribution<float> any(-12.0f, 12.0f);
    std::uniform_int_distribution<int> tenths(-120, 120);
    Gains gains;
    for (auto& channel : gains.db)
        for (float& db : channel)
            db = random() % 2 ? any(random) : static_cast<float>(tenths(random)) / 10.0f;
    return gains;
}

class Lv2Side {
public:
    Lv2Side(LilvWorld* world, const LilvPlugin* plugin, double rate)
        : instance(lilv_plugin_instantiate(plugin, rate, nullptr)) {
        if (!instance) return;
        for (uint32_t port = 0; port < lv2::kPortCount; ++port) {
            if (lv2::portKind(port) == lv2::PortKind::gainControl ||
                lv2::portKind(port) == lv2::PortKind::levelOutput) {
                LilvNode* symbol = lilv_new_string(world, lv2::portSymbol(port).c_str());
                const LilvPort* found = lilv_plugin_get_port_by_symbol(plugin, symbol);
                lilv_node_free(symbol);
                if (!found) {
                    lilv_instance_free(instance);
                    instance = nullptr;
                    return;
                }
                lilv_instance_connect_port(instance, lilv_port_get_index(plugin, found),
                                           &controls[port]);
            }
        }
        lilv_instance_activate(instance);
    }
    ~Lv2Side() {
        if (!instance) return;
        lilv_instance_deactivate(instance);
        lilv_instance_free(instance);
    }
    bool ok() const { return instance != nullptr; }

    void set(const Gains& gains) {
        for (int channel = 0; channel < kChannelCount; ++channel)
            for (int band = 0; band < kBandCount; ++band)
                controls[lv2::gainPort(Channel(channel), band)] = gains.db[channel][band];
    }

    void run(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
             uint32_t frames) {
        lilv_instance_connect_port(instance, lv2::kAudioInLeft, const_cast<float*>(inLeft));
        lilv_instance_connect_port(instance, lv2::kAudioInRight, const_cast<float*>(inRight));
        lilv_instance_connect_port(instance, lv2::kAudioOutLeft, outLeft);
        lilv_instance_connect_port(instance, lv2::kAudioOutRight, outRight);
        lilv_instance_run(instance, frames);
    }

private:
    LilvInstance* instance;
    float controls[lv2::kPortCount] = {};
};

class Vst2Side {
public:
    Vst2Side(vst::EntryProc entry, double rate)
        : instance(entry ? entry(testhost::hostCallback) : nullptr) {
        if (!instance.record()) return;
        hook = instanceHook(instance.record());
        instance.dispatch(vst::effOpen);
        instance.dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
        instance.dispatch(vst::effSetBlockSize, 0, 20000);
        instance.dispatch(vst::effMainsChanged, 0, 1);
    }
    bool ok() const { return instance.record() && hook; }

    void set(const Gains& gains) {
        for (int channel = 0; channel < kChannelCount; ++channel)
            for (int band = 0; band < kBandCount; ++band)
                hook->setBandValue(hook->instance, InstanceHook::kCurrentProgram, channel, band,
                                   bandValue(gains.db[channel][band]));
    }

    void run(std::vector<float> left, std::vector<float> right, std::vector<float>& outLeft,
             std::vector<float>& outRight) {
        instance.processReplacing(left, right, outLeft, outRight);
    }

private:
    testhost::PluginInstance instance;
    const InstanceHook* hook = nullptr;
};

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// A stretch of the test signal: noise, a sine, or digital silence.
std::vector<float> signalPiece(std::mt19937& random, double rate, size_t frames, size_t start) {
    switch (random() % 3) {
    case 0: return signals::noise(frames, random(), 0.7f);
    case 1: return signals::sine(50.0 + random() % 15000, rate, 0.5, frames, start);
    default: return std::vector<float>(frames, 0.0f);
    }
}

// One seed: a rate, a run of blocks with changing settings. Answers false
// and says where at the first differing sample.
bool compareSeed(uint32_t seed, LilvWorld* world, const LilvPlugin* plugin, vst::EntryProc entry,
                 size_t& framesCompared) {
    std::mt19937 random(seed);
    // Common rates, and any rate at all (the VST 2 interface carries it as a
    // float, the LV2 one as a double).
    const double rate = seed % 2 ? kRates[random() % std::size(kRates)]
                                 : std::uniform_real_distribution<double>(8000.0, 192000.0)(random);
    Lv2Side lv2(world, plugin, rate);
    Vst2Side vst2(entry, rate);
    if (!lv2.ok() || !vst2.ok()) {
        std::printf("seed %u: could not make both instances\n", seed);
        return false;
    }
    size_t position = 0;
    for (int block = 0; block < 24; ++block) {
        if (block % 4 == 0) {
            const Gains gains = randomGains(random);
            lv2.set(gains);
            vst2.set(gains);
        }
        const uint32_t frames = kBlocks[random() % std::size(kBlocks)];
        const std::vector<float> left = signalPiece(random, rate, frames, position);
        const std::vector<float> right = signalPiece(random, rate, frames, position);
        std::vector<float> lv2Left(frames), lv2Right(frames), vstLeft(frames), vstRight(frames);
        lv2.run(left.data(), right.data(), lv2Left.data(), lv2Right.data(), frames);
        vst2.run(left, right, vstLeft, vstRight);
        for (uint32_t k = 0; k < frames; ++k) {
            if (!sameBits(lv2Left[k], vstLeft[k]) || !sameBits(lv2Right[k], vstRight[k])) {
                std::printf("seed %u at %.3f Hz: block %d (%u frames), frame %u: LV2 %.9g/%.9g, "
                            "VST 2 %.9g/%.9g\n",
                            seed, rate, block, frames, k, lv2Left[k], lv2Right[k], vstLeft[k],
                            vstRight[k]);
                return false;
            }
        }
        position += frames;
    }
    framesCompared += position;
    std::printf("seed %u at %.3f Hz: %zu frames identical\n", seed, rate, position);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <VST 2 module> <plug-in URI> [seeds]\n", argv[0]);
        return 2;
    }
    const int seeds = argc > 3 ? std::atoi(argv[3]) : 12;

    // lilv 0.24 crashes while loading a bundle from a relative folder.
    if (const char* path = std::getenv("LV2_PATH")) {
        for (const char* entry = path; *entry; ) {
            if (*entry != '/' && *entry != ':') {
                std::fprintf(stderr, "LV2_PATH must name absolute folders: %s\n", path);
                return 2;
            }
            const char* next = std::strchr(entry, ':');
            if (!next) break;
            entry = next + 1;
        }
    }

    testhost::PluginLibrary library;
    if (!library.load(argv[1])) {
        std::fprintf(stderr, "cannot load %s: %s\n", argv[1], library.error().c_str());
        return 1;
    }
    LilvWorld* world = lilv_world_new();
    lilv_world_load_all(world);
    LilvNode* uri = lilv_new_uri(world, argv[2]);
    const LilvPlugin* plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
    lilv_node_free(uri);
    if (!plugin) {
        std::fprintf(stderr, "lilv finds no plug-in %s (LV2_PATH?)\n", argv[2]);
        lilv_world_free(world);
        return 1;
    }

    int failed = 0;
    size_t frames = 0;
    for (int seed = 1; seed <= seeds; ++seed)
        if (!compareSeed(static_cast<uint32_t>(seed), world, plugin, library.entry("VSTPluginMain"),
                         frames))
            ++failed;
    lilv_world_free(world);
    std::printf("%d of %d seeds identical, %zu stereo frames compared\n", seeds - failed, seeds,
                frames);
    return failed == 0 ? 0 : 1;
}
