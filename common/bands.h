#pragma once
// The numbers every layer agrees on about the bands: how many per channel,
// and the band value that leaves a band flat. A band value runs 0..1.

namespace vorn {

constexpr int kBandCount = 30;
constexpr float kFlatBandValue = 0.5f;

}  // namespace vorn
