#include "host/settings_chunk.h"

#include <cmath>
#include <cstring>

namespace vorn::chunk {
namespace {

constexpr uint8_t kTag[4] = {'V', 'n', 'E', 'Q'};

void putUint32(uint8_t*& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) *out++ = static_cast<uint8_t>(value >> shift);
}

uint32_t getUint32(const uint8_t*& in) {
    uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8) value |= static_cast<uint32_t>(*in++) << shift;
    return value;
}

void putFloat(uint8_t*& out, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    putUint32(out, bits);
}

float getFloat(const uint8_t*& in) {
    const uint32_t bits = getUint32(in);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void putHeader(uint8_t*& out, Kind kind) {
    std::memcpy(out, kTag, sizeof kTag);
    out += sizeof kTag;
    putUint32(out, kFormatVersion);
    putUint32(out, static_cast<uint32_t>(kind));
}

bool takeHeader(const uint8_t*& in, Kind kind) {
    if (std::memcmp(in, kTag, sizeof kTag) != 0) return false;
    in += sizeof kTag;
    const uint32_t version = getUint32(in);
    const uint32_t chunkKind = getUint32(in);
    return version == kFormatVersion && chunkKind == static_cast<uint32_t>(kind);
}

void putProgram(uint8_t*& out, const ProgramSettings& program) {
    // Only the text and its NUL are copied; whatever followed in memory
    // must not make equal settings give different bytes.
    const size_t length = strnlen(program.name, kProgramNameSize - 1);
    std::memset(out, 0, kProgramNameSize);
    std::memcpy(out, program.name, length);
    out += kProgramNameSize;
    for (const auto& channel : program.values)
        for (float value : channel) putFloat(out, value);
}

bool takeProgram(const uint8_t*& in, ProgramSettings& program) {
    if (std::memchr(in, '\0', kProgramNameSize) == nullptr) return false;
    std::memcpy(program.name, in, kProgramNameSize);
    in += kProgramNameSize;
    for (auto& channel : program.values) {
        for (float& value : channel) {
            value = getFloat(in);
            // Also false for NaN.
            if (!(value >= 0.0f && value <= 1.0f)) return false;
        }
    }
    return true;
}

}  // namespace

size_t writeBank(const BankSettings& bank, uint8_t* out) {
    uint8_t* const start = out;
    putHeader(out, Kind::bank);
    putUint32(out, static_cast<uint32_t>(bank.current));
    for (const ProgramSettings& program : bank.programs) putProgram(out, program);
    return static_cast<size_t>(out - start);
}

size_t writeProgram(const ProgramSettings& program, uint8_t* out) {
    uint8_t* const start = out;
    putHeader(out, Kind::program);
    putProgram(out, program);
    return static_cast<size_t>(out - start);
}

std::optional<BankSettings> readBank(const uint8_t* data, size_t size) {
    if (!data || size != kBankSize || !takeHeader(data, Kind::bank)) return std::nullopt;
    BankSettings bank;
    const uint32_t current = getUint32(data);
    if (current >= static_cast<uint32_t>(ProgramBank::kSize)) return std::nullopt;
    bank.current = static_cast<int32_t>(current);
    for (ProgramSettings& program : bank.programs)
        if (!takeProgram(data, program)) return std::nullopt;
    return bank;
}

std::optional<ProgramSettings> readProgram(const uint8_t* data, size_t size) {
    if (!data || size != kProgramSize || !takeHeader(data, Kind::program)) return std::nullopt;
    ProgramSettings program;
    if (!takeProgram(data, program)) return std::nullopt;
    return program;
}

}  // namespace vorn::chunk
