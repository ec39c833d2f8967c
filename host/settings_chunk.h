#pragma once
// The bytes a host saves with a project: the whole bank, or one program.
//
// The layout is ours and is kept for good: projects saved by one version
// open in every later one. Fixed-size little-endian fields, the same on
// every target, and the same bytes for the same settings (hosts compare
// chunks to tell whether anything was edited):
//
//   header, 12 bytes
//     0  tag, the four bytes "VnEQ"
//     4  format version, uint32 (1)
//     8  kind, uint32: 1 the bank, 2 one program
//   bank: header, then
//     12 current program, uint32 (0..15)
//     16 sixteen program records
//   program: header, then one program record
//
//   program record, 272 bytes
//     0   name, 32 bytes: the text, its NUL, NULs to the end
//     32  left band values, 30 float32, lowest band first
//     152 right band values, 30 float32
//
// A chunk is taken back only whole and sound: the exact size, tag, version
// and kind, a current program in range, every band value a number in 0..1,
// every name ending within its field. Anything else is refused as a whole.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "host/program_bank.h"

namespace vorn::chunk {

enum class Kind : uint32_t { bank = 1, program = 2 };

constexpr uint32_t kFormatVersion = 1;
constexpr size_t kHeaderSize = 12;
constexpr size_t kProgramRecordSize = kProgramNameSize + sizeof(float) * kChannelCount * kBandCount;
constexpr size_t kBankSize = kHeaderSize + 4 + ProgramBank::kSize * kProgramRecordSize;
constexpr size_t kProgramSize = kHeaderSize + kProgramRecordSize;
static_assert(kProgramRecordSize == 272 && kBankSize == 4368 && kProgramSize == 284,
              "the saved layout never changes");

// Write into `out`, which holds kBankSize or kProgramSize bytes; answer the
// number of bytes written.
size_t writeBank(const BankSettings& bank, uint8_t* out);
size_t writeProgram(const ProgramSettings& program, uint8_t* out);

// The settings a chunk holds, or nothing if it is not a sound chunk of
// that kind.
std::optional<BankSettings> readBank(const uint8_t* data, size_t size);
std::optional<ProgramSettings> readProgram(const uint8_t* data, size_t size);

}  // namespace vorn::chunk
