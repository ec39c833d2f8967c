#pragma once
// Numbers the signal code on every side shares.

namespace vorn {

constexpr double kPi = 3.14159265358979323846;

}  // namespace vorn
