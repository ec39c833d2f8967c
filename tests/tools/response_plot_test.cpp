#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tools/plot/response_plot.h"

namespace vorn::plot {
namespace {

constexpr Colour kLeft = {30, 90, 200};
constexpr Colour kRight = {222, 104, 16};

int countColour(const raster::Image& image, Colour colour, int top, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.at(x, y) == colour) ++count;
    return count;
}

std::vector<response::ResponsePoint> sweep(double leftDb, double rightDb) {
    std::vector<response::ResponsePoint> points;
    for (double hz = 20.0; hz <= 20000.0; hz *= 1.1) points.push_back({hz, leftDb, rightDb});
    return points;
}

TEST(ResponsePlot, ChannelsAreDrawnInTheirOwnColoursAtTheirOwnHeights) {
    const raster::Image plot = drawResponsePlot(sweep(6.0, -6.0), {}, "two lines");
    ASSERT_EQ(plot.width, kPlotWidth);
    ASSERT_EQ(plot.height, kPlotHeight);
    // +6 dB lies in the upper half of the frame, -6 dB in the lower half.
    const int middle = kPlotHeight / 2;
    EXPECT_GT(countColour(plot, kLeft, 0, middle), 500);
    EXPECT_LT(countColour(plot, kLeft, middle, kPlotHeight), 20);  // the legend swatch aside
    EXPECT_GT(countColour(plot, kRight, middle, kPlotHeight), 500);
}

TEST(ResponsePlot, CurvesOffTheScaleStopAtTheFrame) {
    // +17 dB and -17 dB would land on the title and on the axis labels: nothing
    // of the curves may spill over them.
    const raster::Image high = drawResponsePlot(sweep(17.0, -17.0), {}, "");
    const raster::Image flat = drawResponsePlot(sweep(0.0, 0.0), {}, "");
    EXPECT_EQ(countColour(high, kLeft, 0, 30), countColour(flat, kLeft, 0, 30));
    EXPECT_EQ(countColour(high, kRight, kPlotHeight - 34, kPlotHeight),
              countColour(flat, kRight, kPlotHeight - 34, kPlotHeight));
}

TEST(ResponsePlot, UnmeasurablePointsBreakTheCurve) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    auto points = sweep(0.0, 0.0);
    for (auto& point : points)
        if (point.hz > 1000.0) point.leftDb = point.rightDb = nan;
    const raster::Image plot = drawResponsePlot(points, {}, "");
    const raster::Image whole = drawResponsePlot(sweep(0.0, 0.0), {}, "");
    EXPECT_LT(countColour(plot, kLeft, 40, kPlotHeight - 40),
              countColour(whole, kLeft, 40, kPlotHeight - 40) * 3 / 4);
}

}  // namespace
}  // namespace vorn::plot
