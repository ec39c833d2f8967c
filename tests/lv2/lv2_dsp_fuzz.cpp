// A hostile LV2 host, reproducible from a seed, against the DSP library
// through its one export: instances at odd sample rates, ports connected
// late, never, twice, to the same buffer, to each other's buffers and at odd
// offsets, control ports fed NaN, infinities and huge values, audio full of
// NaN, infinities, subnormals and huge samples, empty and long runs, and
// activation at any moment. Checked throughout: the level ports hold a value
// in their declared range; after each hostile stretch, with every gain at
// 0 dB and clean audio in, what comes out is finite. Run under the address
// and undefined-behaviour sanitizers in the sanitizer build. A failure names
// the seed and the step.
//
//   vorn_lv2_dsp_fuzz <DSP library> [first seed] [seeds] [steps]

#include <dlfcn.h>
#include <lv2/core/lv2.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <vector>

#include "host/lv2/lv2_ports.h"

namespace {

using namespace vorn;

constexpr uint32_t kMaxFrames = 3 * 4096 + 123;
constexpr size_t kPoolFloats = 4 * kMaxFrames + 64;
constexpr int kStepsPerStretch = 30;
constexpr float kInf = std::numeric_limits<float>::infinity();

const float kHostileControls[] = {std::nanf(""), -std::nanf(""), kInf, -kInf, 1e30f, -1e30f,
                                  1e-40f, 0.0f, -0.0f, 12.0f, -12.0f, 12.0001f, 6.5f};
const float kHostileSamples[] = {std::nanf(""), kInf, -kInf, 3e38f, -1e20f, 1e-42f, 0.0f, 1.0f};

class Fuzzer {
public:
    Fuzzer(const LV2_Descriptor* plugin, uint32_t seed)
        : plugin(plugin), seed(seed), random(seed), pool(kPoolFloats), controls(lv2::kPortCount) {}

    bool run(int steps) {
        for (step = 0; step < steps; step += kStepsPerStretch) {
            if (!instance || random() % 8 == 0) renew();
            if (!instance) continue;
            fillHostile(pool.data(), static_cast<uint32_t>(pool.size()));
            for (int k = 0; k < kStepsPerStretch; ++k) hostileStep();
            if (!cleanStretchIsFinite()) return false;
        }
        return ok;
    }

    ~Fuzzer() {
        if (instance) plugin->cleanup(instance);
    }

private:
    double hostileRate() {
        const double rates[] = {44100.0, 48000.0, 8000.0, 192000.0, 1.0, 0.0, -44100.0,
                                std::nan(""), 1e300, 31999.5};
        return rates[random() % std::size(rates)];
    }

    void renew() {
        if (instance) plugin->cleanup(instance);
        const double rate = hostileRate();
        instance = plugin->instantiate(plugin, rate, "/nonexistent", nullptr);
        const bool usable = std::isfinite(rate) && rate >= 1.0 && rate < 1e38;
        if (usable != (instance != nullptr))
            fail(usable ? "no instance at a usable rate" : "an instance at an unusable rate");
        if (instance && random() % 2) plugin->activate(instance);
    }

    // Anywhere that still holds the longest run: a host must give audio
    // ports room for every frame it asks for, whenever it connected them.
    float* poolAt() { return pool.data() + random() % (kPoolFloats - kMaxFrames + 1); }

    void fillHostile(float* samples, uint32_t frames) {
        std::uniform_real_distribution<float> ordinary(-1.0f, 1.0f);
        for (uint32_t k = 0; k < frames; ++k)
            samples[k] = random() % 50 == 0 ? kHostileSamples[random() % std::size(kHostileSamples)]
                                            : ordinary(random);
    }

    void connectSomething() {
        // Port numbers past the table too. A single value will do for a
        // control port (or a port that does not exist), not for audio.
        const uint32_t port = random() % (lv2::kPortCount + 4);
        const bool audio = port < lv2::kFirstGainPort;
        void* where = nullptr;
        switch (random() % 5) {
        case 0: where = nullptr; break;
        case 1: where = audio ? static_cast<void*>(poolAt()) : &controls[random() % controls.size()]; break;
        default: where = poolAt(); break;
        }
        plugin->connect_port(instance, port, where);
    }

    void connectAllAudio(bool sameBuffer) {
        float* in = poolAt();
        plugin->connect_port(instance, lv2::kAudioInLeft, in);
        plugin->connect_port(instance, lv2::kAudioInRight, random() % 4 ? poolAt() : in);
        plugin->connect_port(instance, lv2::kAudioOutLeft, sameBuffer ? in : poolAt());
        plugin->connect_port(instance, lv2::kAudioOutRight, poolAt());
    }

    void hostileStep() {
        const uint32_t frames = random() % 4 == 0 ? random() % (kMaxFrames + 1) : random() % 300;
        switch (random() % 6) {
        case 0: connectSomething(); break;
        case 1: plugin->activate(instance); break;
        case 2: plugin->deactivate(instance); break;
        default: break;
        }
        for (float& control : controls)
            control = random() % 3 ? kHostileControls[random() % std::size(kHostileControls)]
                                   : std::uniform_real_distribution<float>(-20.0f, 20.0f)(random);
        if (random() % 3) connectAllAudio(random() % 3 == 0);
        // Gains from the control array, most of them; the levels always,
        // where they are checked.
        for (uint32_t port = lv2::kFirstGainPort; port < lv2::kInputLevelPort; ++port)
            if (random() % 16) plugin->connect_port(instance, port, &controls[port]);
        for (uint32_t port : {lv2::kInputLevelPort, lv2::kOutputLevelPort})
            plugin->connect_port(instance, port, &controls[port]);
        plugin->run(instance, frames);
        checkLevels();
    }

    void checkLevels() {
        for (uint32_t port : {lv2::kInputLevelPort, lv2::kOutputLevelPort}) {
            const float level = controls[port];
            if (!(level >= 0.0f && level <= lv2::kMaxReportedLevel))
                fail("a level port outside its range");
        }
    }

    // Clean audio through properly connected ports: two blocks with flat
    // gains, which flush whatever the hostile stretch left in the filters,
    // then one with hostile gains, which must not reach the filters either.
    bool cleanStretchIsFinite() {
        // The instance keeps these buffers after the stretch, as a host's
        // ports stay connected: they last as long as the fuzzer, and hold
        // the longest run.
        std::vector<float>& inLeft = clean[0];
        std::vector<float>& inRight = clean[1];
        std::vector<float>& outLeft = clean[2];
        std::vector<float>& outRight = clean[3];
        constexpr uint32_t kCleanFrames = 2048;
        std::uniform_real_distribution<float> ordinary(-0.9f, 0.9f);
        for (uint32_t port = lv2::kFirstGainPort; port < lv2::kPortCount; ++port) {
            controls[port] = lv2::kDefaultGainDb;
            plugin->connect_port(instance, port, &controls[port]);
        }
        plugin->connect_port(instance, lv2::kAudioInLeft, inLeft.data());
        plugin->connect_port(instance, lv2::kAudioInRight, inRight.data());
        plugin->connect_port(instance, lv2::kAudioOutLeft, outLeft.data());
        plugin->connect_port(instance, lv2::kAudioOutRight, outRight.data());
        for (int block = 0; block < 3; ++block) {
            if (block == 2)
                for (uint32_t port = lv2::kFirstGainPort; port < lv2::kInputLevelPort; ++port)
                    controls[port] = kHostileControls[random() % std::size(kHostileControls)];
            for (size_t k = 0; k < kCleanFrames; ++k) {
                inLeft[k] = ordinary(random);
                inRight[k] = ordinary(random);
            }
            plugin->run(instance, kCleanFrames);
            checkLevels();
        }
        for (size_t k = 0; k < kCleanFrames; ++k)
            if (!std::isfinite(outLeft[k]) || !std::isfinite(outRight[k])) {
                fail("clean audio came out not finite");
                break;
            }
        return ok;
    }

    void fail(const char* what) {
        if (ok) std::printf("seed %u, step %d: %s\n", seed, step, what);
        ok = false;
    }

    const LV2_Descriptor* plugin;
    const uint32_t seed;
    std::mt19937 random;
    std::vector<float> pool;
    std::vector<float> controls;
    std::vector<float> clean[4] = {std::vector<float>(kMaxFrames), std::vector<float>(kMaxFrames),
                                   std::vector<float>(kMaxFrames), std::vector<float>(kMaxFrames)};
    LV2_Handle instance = nullptr;
    int step = 0;
    bool ok = true;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <DSP library> [first seed] [seeds] [steps]\n", argv[0]);
        return 2;
    }
    const uint32_t first = argc > 2 ? static_cast<uint32_t>(std::atoi(argv[2])) : 1;
    const int seeds = argc > 3 ? std::atoi(argv[3]) : 3;
    const int steps = argc > 4 ? std::atoi(argv[4]) : 3000;

    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror());
        return 1;
    }
    auto entry = reinterpret_cast<LV2_Descriptor_Function>(dlsym(library, "lv2_descriptor"));
    const LV2_Descriptor* plugin = entry ? entry(0) : nullptr;
    if (!plugin || entry(1) != nullptr) {
        std::fprintf(stderr, "%s: expected exactly one plug-in descriptor\n", argv[1]);
        return 1;
    }
    int failed = 0;
    for (uint32_t seed = first; seed < first + static_cast<uint32_t>(seeds); ++seed) {
        Fuzzer fuzzer(plugin, seed);
        if (fuzzer.run(steps))
            std::printf("seed %u: %d steps, nothing wrong\n", seed, steps);
        else
            ++failed;
    }
    dlclose(library);
    return failed == 0 ? 0 : 1;
}
