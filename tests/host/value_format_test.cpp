// The fixed-width value texts: eight characters and a NUL, digits truncated,
// and never a byte beyond the ninth.

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "tests/host/test_effects.h"

namespace vorn::test {
namespace {

constexpr unsigned char kGuard = 0x7F;
constexpr size_t kTextBytes = 9;

class ValueFormat : public ::testing::Test {
protected:
    // Formats into a guarded buffer and checks the guard before handing back
    // the text.
    template <typename Format>
    std::string formatted(Format format) {
        char buffer[32];
        std::memset(buffer, kGuard, sizeof buffer);
        format(buffer);
        for (size_t i = kTextBytes; i < sizeof buffer; ++i)
            EXPECT_EQ(static_cast<unsigned char>(buffer[i]), kGuard) << "byte " << i << " written";
        EXPECT_NE(std::memchr(buffer, '\0', kTextBytes), nullptr) << "no NUL within nine bytes";
        return std::string(buffer, strnlen(buffer, kTextBytes));
    }
    std::string asFloat(float v) { return formatted([&](char* t) { effect.formatFloat(v, t); }); }
    std::string asInteger(int32_t v) { return formatted([&](char* t) { effect.formatInteger(v, t); }); }
    std::string asDecibels(float v) { return formatted([&](char* t) { effect.formatDecibels(v, t); }); }
    std::string asHertz(float v) { return formatted([&](char* t) { effect.formatHertz(v, t); }); }
    std::string asMilliseconds(float v) {
        return formatted([&](char* t) { effect.formatMilliseconds(v, t); });
    }

    BareEffect effect;
};

TEST_F(ValueFormat, FloatFillsEightPositionsWithTruncatedDigits) {
    EXPECT_EQ(asFloat(1.5f), "1.500000");
    EXPECT_EQ(asFloat(-1.5f), "-1.50000");
    EXPECT_EQ(asFloat(0.0f), "0.000000");
    EXPECT_EQ(asFloat(-0.0f), "0.000000");
    EXPECT_EQ(asFloat(123.456f), "123.4560");
    EXPECT_EQ(asFloat(1e-3f), "0.001000");
    EXPECT_EQ(asFloat(0.7f), "0.699999");  // 0.699999988 as a float: cut, not rounded up
    EXPECT_EQ(asFloat(1234567.0f), "1234567.");
    EXPECT_EQ(asFloat(-999999.0f), "-999999.");
}

TEST_F(ValueFormat, FloatTooWideIsHuge) {
    EXPECT_EQ(asFloat(100000000.0f), " Huge!  ");
    EXPECT_EQ(asFloat(99999999.0f), " Huge!  ");  // the nearest float is 1e8
    EXPECT_EQ(asFloat(-10000000.0f), " Huge!  ");
    EXPECT_EQ(asFloat(std::numeric_limits<float>::infinity()), " Huge!  ");
    EXPECT_EQ(asFloat(-std::numeric_limits<float>::infinity()), " Huge!  ");
}

// Numbers whose digits take all eight positions keep every digit and give up
// the point, rather than losing their leading digit.
TEST_F(ValueFormat, FloatWithEightPositionsOfDigitsKeepsItsLeadingDigit) {
    EXPECT_EQ(asFloat(12345678.0f), "12345678");
    EXPECT_EQ(asFloat(99999992.0f), "99999992");
    EXPECT_EQ(asFloat(-1234567.0f), "-1234567");
    EXPECT_EQ(asFloat(-9999999.0f), "-9999999");
}

TEST_F(ValueFormat, FloatNotANumberIsSaidSo) { EXPECT_EQ(asFloat(std::nanf("")), "  NaN   "); }

TEST_F(ValueFormat, IntegerIsRightAlignedInSevenColumns) {
    EXPECT_EQ(asInteger(42), "     42");
    EXPECT_EQ(asInteger(0), "      0");
    EXPECT_EQ(asInteger(-42), "    -42");
    EXPECT_EQ(asInteger(99999999), "99999999");
    EXPECT_EQ(asInteger(-9999999), "-9999999");
}

// Below -9999999 the sign and digits need nine characters; cutting them to
// eight would show a different number.
TEST_F(ValueFormat, IntegerTooWideIsHuge) {
    EXPECT_EQ(asInteger(100000000), " Huge!  ");
    EXPECT_EQ(asInteger(std::numeric_limits<int32_t>::max()), " Huge!  ");
    EXPECT_EQ(asInteger(-10000000), " Huge!  ");
    EXPECT_EQ(asInteger(std::numeric_limits<int32_t>::min()), " Huge!  ");
}

TEST_F(ValueFormat, DecibelsOfAGainFactor) {
    EXPECT_EQ(asDecibels(1.0f), "0.000000");
    EXPECT_EQ(asDecibels(10.0f), "20.00000");
    EXPECT_EQ(asDecibels(0.5f), "-6.02059");
    for (float silent : {0.0f, -1.0f, std::nanf("")}) EXPECT_EQ(asDecibels(silent), "  -oo   ");
    EXPECT_EQ(asDecibels(std::numeric_limits<float>::infinity()), " Huge!  ");
}

TEST_F(ValueFormat, HertzAndMillisecondsUseTheStoredRate) {
    EXPECT_EQ(asHertz(0.0f), "0.000000");
    EXPECT_EQ(asHertz(100.0f), "441.0000");
    EXPECT_EQ(asMilliseconds(441.0f), "10.00000");
    effect.setSampleRate(48000.0f);
    EXPECT_EQ(asHertz(480.0f), "100.0000");
    EXPECT_EQ(asMilliseconds(48000.0f), "1000.000");
    effect.setSampleRate(0.0f);  // no rate yet: a clear text, not a crash
    EXPECT_EQ(asMilliseconds(0.0f), "  NaN   ");
    EXPECT_EQ(asMilliseconds(1.0f), " Huge!  ");
}

TEST_F(ValueFormat, NullTextIsIgnored) {
    effect.formatFloat(1.0f, nullptr);
    effect.formatInteger(1, nullptr);
    effect.formatDecibels(1.0f, nullptr);
    effect.formatHertz(1.0f, nullptr);
    effect.formatMilliseconds(1.0f, nullptr);
}

}  // namespace
}  // namespace vorn::test
