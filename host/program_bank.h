#pragma once
// The sixteen programs held in memory and which one is current: the one
// owner of the user's settings. Every change goes through the operations
// below, whoever makes it (the host's dispatcher calls, the editor, a saved
// project being restored).
//
// Who writes what: the user-interface thread writes the current number, the
// names and the band values; the audio thread only reads the current number
// and that program's band values, once per block. Each band value is one
// relaxed atomic, so a block sees either the old or the new value of a band,
// never a torn one. Names never reach the audio thread.

#include <atomic>
#include <cstdint>

#include "common/bands.h"
#include "common/plugin_identity.h"
#include "engine/band_values.h"

namespace vorn {

constexpr int kProgramNameSize = 32;  // 31 characters and the NUL

struct Program {
    char name[kProgramNameSize] = {};
    engine::BandValues bands;
};

// A program's settings as plain values, as a saved project holds them.
struct ProgramSettings {
    char name[kProgramNameSize] = {};
    float values[kChannelCount][kBandCount] = {};
};

// The whole bank as plain values.
struct BankSettings {
    ProgramSettings programs[identity::kNumPrograms];
    int32_t current = 0;
};

class ProgramBank {
public:
    static constexpr int kSize = identity::kNumPrograms;

    // The host's number is kept to its low 8 bits; callers keep it below kSize.
    void select(int32_t number) { current_.store(static_cast<uint8_t>(number), relaxed); }
    int32_t currentNumber() const { return current_.load(relaxed); }

    const Program& current() const { return programs_[currentNumber()]; }
    const Program& operator[](int index) const { return programs_[index]; }
    const Program* begin() const { return programs_; }
    const Program* end() const { return programs_ + kSize; }

    float bandValue(int program, Channel channel, int band) const;
    void setBandValue(int program, Channel channel, int band, float value);
    // Both channels of a band at once, as a linked drag sets them.
    void setLinkedBands(int program, int band, float value);
    // Keeps the first 31 characters of a longer name.
    void rename(int program, const char* name);

    ProgramSettings settings(int program) const;
    BankSettings settings() const;
    void replaceProgram(int program, const ProgramSettings& settings);
    // Every program, then the current number; the settings must be checked
    // already (current below kSize).
    void replaceBank(const BankSettings& settings);

private:
    static constexpr auto relaxed = std::memory_order_relaxed;
    std::atomic<float>& slot(int program, Channel channel, int band);

    std::atomic<uint8_t> current_{0};
    Program programs_[kSize];
};

}  // namespace vorn
