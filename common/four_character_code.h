#pragma once
// The four-character codes the interface uses for magic numbers and ids.

#include <cstdint>

namespace vorn {

// Four characters read with the first one in the most significant byte.
constexpr int32_t fourCharacterCode(const char (&text)[5]) {
    return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint8_t>(text[0])) << 24) |
                                (static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 16) |
                                (static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 8) |
                                static_cast<uint32_t>(static_cast<uint8_t>(text[3])));
}

}  // namespace vorn
