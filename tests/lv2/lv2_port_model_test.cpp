// The LV2 editor's view of the plug-in: what the host sends is what it
// draws, and every edit goes out through the host as decibels.

#include "host/lv2/lv2_port_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "editor/slider_geometry.h"

namespace vorn::lv2 {
namespace {

struct Written {
    uint32_t port;
    float value;
};

class PortModelTest : public ::testing::Test {
protected:
    std::vector<Written> written;
    Lv2PortModel model{[this](uint32_t port, float value) { written.push_back({port, value}); }};
};

TEST_F(PortModelTest, DrawsWhatTheHostSends) {
    EXPECT_EQ(model.bandValue(kLeftChannel, 3), 0.5f);  // the ports' default
    model.portChanged(gainPort(kRightChannel, 3), 6.0f);
    EXPECT_EQ(model.bandValue(kRightChannel, 3), 0.75f);
    EXPECT_EQ(model.bandValue(kLeftChannel, 3), 0.5f);

    // Out of range and not a number: drawn at the end, and flat.
    model.portChanged(gainPort(kLeftChannel, 0), 500.0f);
    model.portChanged(gainPort(kLeftChannel, 1), std::nanf(""));
    EXPECT_EQ(model.bandValue(kLeftChannel, 0), 1.0f);
    EXPECT_EQ(model.bandValue(kLeftChannel, 1), 0.5f);

    model.portChanged(kInputLevelPort, 0.25f);
    model.portChanged(kOutputLevelPort, std::nanf(""));
    EXPECT_EQ(model.inputLevel(), 0.25f);
    EXPECT_EQ(model.outputLevel(), 0.0f);

    // Audio ports and numbers past the table change nothing.
    model.portChanged(kAudioInLeft, 3.0f);
    model.portChanged(kPortCount, 3.0f);
    model.portChanged(0xFFFFFFFFu, 3.0f);
    EXPECT_TRUE(written.empty());
}

TEST_F(PortModelTest, EditsGoThroughTheHostAsDecibels) {
    model.setBandValue(kLeftChannel, 16, 1.0f);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0].port, gainPort(kLeftChannel, 16));
    EXPECT_EQ(written[0].value, 12.0f);
    EXPECT_EQ(model.bandValue(kLeftChannel, 16), 1.0f);  // before any echo

    written.clear();
    model.setLinkedBands(4, 0.25f);
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0].port, gainPort(kLeftChannel, 4));
    EXPECT_EQ(written[1].port, gainPort(kRightChannel, 4));
    EXPECT_EQ(written[0].value, -6.0f);
    EXPECT_EQ(written[1].value, -6.0f);
}

// Every row of the travel: the host's echo of a drag leaves the thumb on the
// row the drag put it on.
TEST_F(PortModelTest, TheEchoOfADragKeepsTheThumbWhereTheDragPutIt) {
    for (unsigned row = 0; row <= 180; ++row) {
        const float value = slider::valueForRow(row);
        written.clear();
        model.setBandValue(kLeftChannel, 9, value);
        ASSERT_EQ(written.size(), 1u);
        model.portChanged(written[0].port, written[0].value);
        EXPECT_EQ(slider::thumbTopForValue(model.bandValue(kLeftChannel, 9)),
                  slider::thumbTopForValue(value))
            << "row " << row;
    }
    // A value from elsewhere (automation) is taken up.
    model.portChanged(gainPort(kLeftChannel, 9), 12.0f);
    EXPECT_EQ(model.bandValue(kLeftChannel, 9), 1.0f);
}

}  // namespace
}  // namespace vorn::lv2
