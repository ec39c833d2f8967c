#include "tools/response/band_presets.h"

namespace vorn::response {

namespace {

float presetValue(const std::string& name, int band) {
    if (name == "zigzag") {
        return band % 2 == 0 ? 0.75f : 0.25f;
    }
    // smile: a parabola over the band index, 0.8 (+7.2 dB) at both ends and
    // 0.3 (-4.8 dB) in the middle.
    const double middle = (kBandCount - 1) / 2.0;
    const double t = (band - middle) / middle;
    return static_cast<float>(0.3 + 0.5 * t * t);
}

}  // namespace

bool applyPreset(const std::string& name, engine::BandValues& program) {
    if (name != "flat" && name != "zigzag" && name != "smile") {
        return false;
    }
    for (int band = 0; band < kBandCount; ++band) {
        const float value = name == "flat" ? kFlatBandValue : presetValue(name, band);
        program.left[band].store(value, std::memory_order_relaxed);
        program.right[band].store(value, std::memory_order_relaxed);
    }
    return true;
}

}  // namespace vorn::response
