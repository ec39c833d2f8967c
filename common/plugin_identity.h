#pragma once
// What the plug-in tells the host about itself, named once.

#include <cstdint>

#include "common/four_character_code.h"

namespace vorn::identity {

constexpr int32_t kNumPrograms = 16;
constexpr int32_t kNumParams = 60;
constexpr int32_t kNumInputs = 2;
constexpr int32_t kNumOutputs = 2;
constexpr int32_t kUniqueId = fourCharacterCode("Vorn");
constexpr int32_t kVersion = 1;

constexpr const char* kEffectName = "Vorn Demo";
constexpr const char* kProductString = "Vorn Demo";
constexpr const char* kVendorString = "Tarnwell";
constexpr const char* kParamName = "Demo";
constexpr const char* kDefaultProgramName = "Default EQ";
constexpr const char* kTitleText = "Tarnwell Vorn";

}  // namespace vorn::identity
