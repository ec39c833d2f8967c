// Fixed-width value texts for parameter displays: eight characters and a NUL,
// so the caller's buffer must hold nine bytes and nothing beyond them is
// written. Digits are truncated, never rounded upward, so a display never
// shows a value the parameter has not reached.

#include <cmath>
#include <cstdio>
#include <cstring>

#include "framework/effect_base.h"

namespace vorn {
namespace {

constexpr int kWidth = 8;
constexpr const char* kHugeText = " Huge!  ";
constexpr const char* kMinusInfinityText = "  -oo   ";
constexpr const char* kNotANumberText = "  NaN   ";

// The largest magnitudes whose digits fit the width: eight digits, or a sign
// and seven digits.
constexpr double kLargestPositive = 99999999.0;
constexpr double kLargestNegativeMagnitude = 9999999.0;
constexpr int32_t kLargestPositiveInteger = 99999999;
constexpr int32_t kSmallestNegativeInteger = -9999999;

constexpr double kPowersOfTen[kWidth + 1] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};

void writeFixed(char* text, const char* fixed) { std::memcpy(text, fixed, kWidth + 1); }

char digitOf(double x) { return static_cast<char>('0' + static_cast<int>(std::fmod(x, 10.0))); }

}  // namespace

void EffectBase::formatFloat(float value, char* text) {
    if (!text) return;
    double magnitude = value;
    if (std::isnan(magnitude)) return writeFixed(text, kNotANumberText);
    const bool negative = magnitude < 0.0;
    if (negative) magnitude = -magnitude;
    if (magnitude > (negative ? kLargestNegativeMagnitude : kLargestPositive))
        return writeFixed(text, kHugeText);

    // The integer digits, lowest first, taken one at a time from the whole part.
    char integerDigits[kWidth];
    int digitCount = 0;
    double whole = std::floor(magnitude);
    do {
        integerDigits[digitCount++] = digitOf(whole);
        whole *= 0.1;
    } while (whole >= 1.0 && digitCount < kWidth);

    char out[kWidth + 1];
    int used = 0;
    if (negative) out[used++] = '-';
    for (int i = digitCount - 1; i >= 0; --i) out[used++] = integerDigits[i];

    // A number with every position taken by its digits drops the point rather
    // than its leading digit.
    if (used < kWidth) {
        out[used++] = '.';
        const int fractionCount = kWidth - used;
        double fraction = std::fmod(magnitude, 1.0) * kPowersOfTen[fractionCount];
        for (int position = kWidth - 1; position >= used; --position) {
            if (fraction > 0.0) {
                out[position] = digitOf(fraction);
                fraction *= 0.1;
            } else {
                out[position] = '0';
            }
        }
        used = kWidth;
    }
    out[used] = '\0';
    std::memcpy(text, out, static_cast<size_t>(used) + 1);
}

void EffectBase::formatInteger(int32_t value, char* text) {
    if (!text) return;
    if (value > kLargestPositiveInteger || value < kSmallestNegativeInteger)
        return writeFixed(text, kHugeText);
    char out[16];
    int length = std::snprintf(out, sizeof out, "%7d", static_cast<int>(value));
    if (length < 0) length = 0;
    if (length > kWidth) length = kWidth;
    std::memcpy(text, out, static_cast<size_t>(length));
    text[length] = '\0';
}

void EffectBase::formatDecibels(float value, char* text) {
    if (!text) return;
    // Not above zero covers not-a-number too: every comparison with it fails.
    if (!(value > 0.0f)) return writeFixed(text, kMinusInfinityText);
    formatFloat(static_cast<float>(20.0 * std::log10(static_cast<double>(value))), text);
}

void EffectBase::formatHertz(float samples, char* text) {
    if (!text) return;
    if (samples == 0.0f) return formatFloat(0.0f, text);
    const double rate = sampleRate.load(std::memory_order_relaxed);
    formatFloat(static_cast<float>(rate * (1.0 / static_cast<double>(samples))), text);
}

void EffectBase::formatMilliseconds(float samples, char* text) {
    if (!text) return;
    const double rate = sampleRate.load(std::memory_order_relaxed);
    formatFloat(static_cast<float>(static_cast<double>(samples) * 1000.0 / rate), text);
}

}  // namespace vorn
