#pragma once
// The sixteen programs held in memory and which one is current.
//
// Who writes what: the user-interface thread (the host's dispatcher calls and
// the editor) writes the current number, the names and the band values; the
// audio thread only reads the current number and that program's band values,
// once per block. Names never reach the audio thread.

#include <atomic>
#include <cstdint>

#include "common/plugin_identity.h"
#include "engine/band_values.h"

namespace vorn {

constexpr int kProgramNameSize = 32;  // 31 characters and the NUL

struct Program {
    char name[kProgramNameSize] = {};
    engine::BandValues bands;
};

class ProgramBank {
public:
    static constexpr int kSize = identity::kNumPrograms;

    // The host's number is kept to its low 8 bits; callers keep it below kSize.
    void select(int32_t number) { current_.store(static_cast<uint8_t>(number), relaxed); }
    int32_t currentNumber() const { return current_.load(relaxed); }

    Program& current() { return programs_[current_.load(relaxed)]; }
    const Program& current() const { return programs_[current_.load(relaxed)]; }
    Program& operator[](int index) { return programs_[index]; }
    const Program& operator[](int index) const { return programs_[index]; }

    Program* begin() { return programs_; }
    Program* end() { return programs_ + kSize; }

private:
    static constexpr auto relaxed = std::memory_order_relaxed;
    std::atomic<uint8_t> current_{0};
    Program programs_[kSize];
};

}  // namespace vorn
