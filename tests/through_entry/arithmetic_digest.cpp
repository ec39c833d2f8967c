// A fingerprint of the plug-in's arithmetic: the exact bits of its outputs
// for a fixed signal and program at several sample rates. Every target
// computes in the same double precision, so the Linux module and both
// Windows DLLs must print the same lines. (The coefficients themselves may
// differ in bits far below what a float sample can show: the math libraries
// round cos(pi/2) differently, and b1 of a band at a quarter of the sample
// rate is about 1e-16.)

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tests/through_entry/bank_settings.h"
#include "tests/through_entry/plugin_under_test.h"
#include "tools/testhost/bank_file.h"

namespace vorn::checks {
namespace {

struct Fnv1a {
    uint64_t value = 0xcbf29ce484222325ull;
    void addByte(uint8_t byte) {
        value ^= byte;
        value *= 0x100000001b3ull;
    }
    void add(float sample) {
        uint32_t bits;
        std::memcpy(&bits, &sample, sizeof bits);
        for (int shift = 0; shift < 32; shift += 8) addByte(uint8_t(bits >> shift));
    }
};

// The bank made the same way on every target: the bytes of its chunk (saved
// to a file when asked), then the audio of a fresh instance that took it
// back, either this target's own bank or one another target saved.
int printBankDigest() {
    auto maker = openInstance();
    if (!maker) return 1;
    makeDistinctBank(*maker);
    const std::vector<uint8_t> chunk = chunkOf(*maker);
    Fnv1a chunkBytes;
    for (uint8_t byte : chunk) chunkBytes.addByte(byte);
    std::string error;
    if (bankFiles().save && !testhost::saveBankFile(*maker, bankFiles().save, error)) {
        std::printf("cannot save the bank: %s\n", error.c_str());
        return 1;
    }

    auto player = openInstance();
    if (!player) return 1;
    if (bankFiles().load ? !testhost::loadBankFile(*player, bankFiles().load, error)
                         : setChunk(*player, chunk) != 1) {
        std::printf("the bank did not load: %s\n", error.c_str());
        return 1;
    }
    Fnv1a heard;
    for (float sample : playNoise(*player)) heard.add(sample);
    std::printf("bank: chunk %016llx, audio %016llx\n",
                static_cast<unsigned long long>(chunkBytes.value),
                static_cast<unsigned long long>(heard.value));
    return 0;
}

}  // namespace

int printArithmeticDigest() {
    const float rates[] = {44100.0f, 48000.0f, 96000.0f, 32000.0f, 8000.0f};
    for (float rate : rates) {
        auto plugin = openInstance();
        if (!plugin) return 1;
        plugin->dispatch(vst::effSetSampleRate, 0, 0, nullptr, rate);
        Inside equalizer = inside(*plugin);
        for (int band = 0; band < kBandCount; ++band) {
            equalizer.setBand(Inside::kLeft, band, band % 2 ? 0.9f : 0.15f);
            equalizer.setBand(Inside::kRight, band, float(band) / float(kBandCount - 1));
        }
        Noise noise(12345);
        Fnv1a outputs;
        for (size_t blockSize : {size_t(512), size_t(1), size_t(37), size_t(4096)}) {
            std::vector<float> left(blockSize), right(blockSize), outLeft(blockSize), outRight(blockSize);
            for (size_t k = 0; k < blockSize; ++k) {
                left[k] = noise.next();
                right[k] = noise.next() * 0.1f;
            }
            plugin->processReplacing(left, right, outLeft, outRight);
            for (size_t k = 0; k < blockSize; ++k) {
                outputs.add(outLeft[k]);
                outputs.add(outRight[k]);
            }
        }
        std::printf("rate %.0f: outputs %016llx, levels %.9g %.9g\n", rate,
                    static_cast<unsigned long long>(outputs.value), equalizer.inputLevel(),
                    equalizer.outputLevel());
    }
    return printBankDigest();
}

}  // namespace vorn::checks
