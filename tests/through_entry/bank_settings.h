#pragma once
// Settings for the chunk checks and the fingerprint: a bank in which every
// program, name and band differs, made through the dispatcher and the hook
// the same way on every target; the settings the checked-in golden bank
// file holds; and the chunk calls as a host makes them.

#include <cstdint>
#include <string>
#include <vector>

#include "tests/through_entry/plugin_under_test.h"

namespace vorn::checks {

// Deterministic noise in -0.5..0.5, the same on every target.
struct Noise {
    uint32_t state;
    explicit Noise(uint32_t seed) : state(seed) {}
    float next() {
        state = state * 1664525u + 1013904223u;
        return float(state >> 8) / float(1u << 24) - 0.5f;
    }
};

constexpr int32_t kPrograms = 16;
constexpr bool kProgramChunk = true;

// effGetChunk's bytes, copied (the plug-in's own stay valid only until the
// next call); empty if it gave none.
std::vector<uint8_t> chunkOf(testhost::PluginInstance& plugin, bool program = false);
intptr_t setChunk(testhost::PluginInstance& plugin, std::vector<uint8_t> chunk,
                  bool program = false);

// Every band of every program set, every program renamed, and program
// kDistinctCurrent chosen.
constexpr int32_t kDistinctCurrent = 11;
void makeDistinctBank(testhost::PluginInstance& plugin);

// A few blocks of noise through the plug-in at 44.1 kHz, odd sizes among
// them; the outputs, left and right interleaved.
std::vector<float> playNoise(testhost::PluginInstance& plugin);

// What tests/data/golden-bank.fxb holds: made once and kept, so that a
// change that can no longer read an old project fails.
constexpr int32_t kGoldenCurrent = 5;
std::string goldenName(int32_t program);
float goldenValue(int32_t program, InstanceHook::Channel channel, int band);

}  // namespace vorn::checks
