#pragma once
// The numbers every layer agrees on about the bands: how many per channel,
// the band value that leaves a band flat, and how the two channels are
// numbered. A band value runs 0..1.

namespace vorn {

constexpr int kBandCount = 30;
constexpr float kFlatBandValue = 0.5f;

// Channel 0 is the left one: the first input and output, and the first
// thirty values of a program.
enum Channel : int { kLeftChannel = 0, kRightChannel = 1 };
constexpr int kChannelCount = 2;

}  // namespace vorn
