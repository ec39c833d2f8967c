// The port table as hosts and scripts see it, and the law between a gain
// port's decibels and the band value the engine and the editor use.

#include "host/lv2/lv2_ports.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <limits>
#include <set>
#include <string>

#include "editor/slider_geometry.h"

namespace vorn::lv2 {
namespace {

TEST(Lv2Ports, KindsAndNamesFollowTheBandTable) {
    int counts[4] = {};
    std::set<std::string> symbols;
    for (uint32_t port = 0; port < kPortCount; ++port) {
        ++counts[static_cast<int>(portKind(port))];
        const std::string symbol = portSymbol(port);
        // A symbol is a C identifier, unique in the plug-in.
        ASSERT_FALSE(symbol.empty());
        EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(symbol[0]))) << symbol;
        for (char c : symbol) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '_') << symbol;
        EXPECT_TRUE(symbols.insert(symbol).second) << symbol << " twice";
    }
    EXPECT_EQ(counts[static_cast<int>(PortKind::audioInput)], 2);
    EXPECT_EQ(counts[static_cast<int>(PortKind::audioOutput)], 2);
    EXPECT_EQ(counts[static_cast<int>(PortKind::gainControl)], kChannelCount * kBandCount);
    EXPECT_EQ(counts[static_cast<int>(PortKind::levelOutput)], 2);

    EXPECT_EQ(portSymbol(gainPort(kLeftChannel, 16)), "left_1000");
    EXPECT_EQ(portName(gainPort(kLeftChannel, 16)), "Left 1 kHz");
    EXPECT_EQ(portSymbol(gainPort(kRightChannel, 0)), "right_25");
    EXPECT_EQ(portName(gainPort(kRightChannel, 0)), "Right 25 Hz");
    EXPECT_EQ(portName(gainPort(kRightChannel, 21)), "Right 3.15 kHz");
    EXPECT_EQ(portName(gainPort(kLeftChannel, 17)), "Left 1.3 kHz");
    EXPECT_EQ(portSymbol(gainPort(kRightChannel, 29)), "right_20000");
    for (int band = 0; band < kBandCount; ++band) {
        for (Channel channel : {kLeftChannel, kRightChannel}) {
            const uint32_t port = gainPort(channel, band);
            EXPECT_EQ(portChannel(port), channel);
            EXPECT_EQ(portBand(port), band);
        }
    }
}

TEST(Lv2Ports, GainLawAndItsClamping) {
    EXPECT_EQ(bandValueForGain(-12.0f), 0.0f);
    EXPECT_EQ(bandValueForGain(0.0f), 0.5f);
    EXPECT_EQ(bandValueForGain(6.0f), 0.75f);
    EXPECT_EQ(bandValueForGain(12.0f), 1.0f);
    // Whatever a host sends stays in the port's range; NaN is the default.
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(bandValueForGain(1e30f), 1.0f);
    EXPECT_EQ(bandValueForGain(inf), 1.0f);
    EXPECT_EQ(bandValueForGain(-inf), 0.0f);
    EXPECT_EQ(bandValueForGain(-13.0f), 0.0f);
    EXPECT_EQ(bandValueForGain(std::nanf("")), 0.5f);
    EXPECT_EQ(bandValueForGain(-std::nanf("")), 0.5f);

    EXPECT_EQ(reportedLevel(0.5f), 0.5f);
    EXPECT_EQ(reportedLevel(inf), kMaxReportedLevel);
    EXPECT_EQ(reportedLevel(std::nanf("")), 0.0f);
    EXPECT_EQ(reportedLevel(-1.0f), 0.0f);
}

// The trip from a band value to decibels and back stays within a rounding
// step (the editor keeps its own value for its echo: lv2_port_model.h).
TEST(Lv2Ports, EveryEditorRowSurvivesTheTripThroughDecibelsNearly) {
    for (unsigned row = 0; row <= 180; ++row) {
        const float value = slider::valueForRow(row);
        EXPECT_NEAR(bandValueForGain(gainForBandValue(value)), value, 1e-7f) << "row " << row;
    }
}

}  // namespace
}  // namespace vorn::lv2
