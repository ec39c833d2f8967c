#include "tools/plot/response_plot.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "resources/pixel_font.h"
#include "tools/plot/raster.h"

namespace vorn::plot {
namespace {

constexpr double kLowHz = 20.0;
constexpr double kHighHz = 20000.0;
constexpr double kMinDb = -15.0;
constexpr double kMaxDb = 15.0;
constexpr double kGridStepDb = 3.0;
constexpr double kLabelStepDb = 6.0;

// The frame of the plotting area inside the picture.
constexpr Rect kFrame = {52, 34, kPlotWidth - 20, kPlotHeight - 36};

namespace colour {
constexpr Colour kPaper = {250, 250, 252};
constexpr Colour kFrameLine = {60, 60, 70};
constexpr Colour kDecade = {170, 176, 190};
constexpr Colour kBandCentre = {226, 229, 236};
constexpr Colour kDbStep = {214, 218, 228};
constexpr Colour kZeroDb = {120, 126, 140};
constexpr Colour kText = {40, 40, 48};
constexpr Colour kLeft = {30, 90, 200};
constexpr Colour kRight = {222, 104, 16};
}  // namespace colour

double xOf(double hz) {
    const double t = std::log10(hz / kLowHz) / std::log10(kHighHz / kLowHz);
    return kFrame.left + t * (kFrame.right - 1 - kFrame.left);
}

double yOf(double db) {
    const double t = (kMaxDb - db) / (kMaxDb - kMinDb);
    return kFrame.top + t * (kFrame.bottom - 1 - kFrame.top);
}

int pixel(double position) { return static_cast<int>(std::lround(position)); }

void drawCentred(Image& image, int centreX, int y, const std::string& text) {
    resources::drawText(image, centreX - resources::textWidth(text) / 2, y, text, colour::kText);
}

void drawGrid(Image& image, const std::vector<response::ResponsePoint>& markers) {
    for (const auto& marker : markers)
        drawDashedVertical(image, pixel(xOf(marker.hz)), kFrame.top, kFrame.bottom - 1,
                           colour::kBandCentre, 2, 2);
    for (double db = kMinDb; db <= kMaxDb; db += kGridStepDb)
        drawDashedHorizontal(image, kFrame.left, kFrame.right - 1, pixel(yOf(db)),
                             db == 0.0 ? colour::kZeroDb : colour::kDbStep, db == 0.0 ? 1 : 2,
                             db == 0.0 ? 0 : 2);
    for (double hz : {100.0, 1000.0, 10000.0})
        drawDashedVertical(image, pixel(xOf(hz)), kFrame.top, kFrame.bottom - 1, colour::kDecade,
                           1, 0);
}

void drawAxes(Image& image) {
    const Rect frame = kFrame;
    image.fill({frame.left - 1, frame.top - 1, frame.right + 1, frame.top}, colour::kFrameLine);
    image.fill({frame.left - 1, frame.bottom, frame.right + 1, frame.bottom + 1},
               colour::kFrameLine);
    image.fill({frame.left - 1, frame.top, frame.left, frame.bottom}, colour::kFrameLine);
    image.fill({frame.right, frame.top, frame.right + 1, frame.bottom}, colour::kFrameLine);

    const int labelRow = frame.bottom + 6;
    const struct {
        double hz;
        const char* text;
    } ticks[] = {{20, "20"},     {50, "50"},    {100, "100"}, {200, "200"},  {500, "500"},
                 {1000, "1k"},   {2000, "2k"},  {5000, "5k"}, {10000, "10k"}, {20000, "20k"}};
    for (const auto& tick : ticks) {
        const int x = pixel(xOf(tick.hz));
        image.fill({x, frame.bottom + 1, x + 1, frame.bottom + 4}, colour::kFrameLine);
        drawCentred(image, x, labelRow, tick.text);
    }
    drawCentred(image, (frame.left + frame.right) / 2, labelRow + 13, "frequency (Hz)");

    for (double db = kMinDb + 3.0; db <= kMaxDb - 3.0; db += kLabelStepDb) {
        char text[8];
        std::snprintf(text, sizeof text, db > 0 ? "+%.0f" : "%.0f", db);
        const int y = pixel(yOf(db));
        image.fill({frame.left - 4, y, frame.left - 1, y + 1}, colour::kFrameLine);
        resources::drawText(image, frame.left - 7 - resources::textWidth(text),
                            y - resources::kGlyphHeight / 2, text, colour::kText);
    }
    resources::drawText(image, 8, frame.top - 14, "dB", colour::kText);
}

void drawLegend(Image& image, const std::string& title) {
    resources::drawText(image, kFrame.left, 12, title, colour::kText, resources::Weight::bold);
    int x = kFrame.right - 110;
    for (const auto& entry : {std::pair{colour::kLeft, "left"}, std::pair{colour::kRight, "right"}}) {
        image.fill({x, 14, x + 16, 17}, entry.first);
        resources::drawText(image, x + 20, 12, entry.second, colour::kText);
        x += 56;
    }
}

void drawCurve(Image& image, const std::vector<response::ResponsePoint>& curve, bool left,
               Colour colour) {
    bool havePrevious = false;
    double previousX = 0.0, previousY = 0.0;
    for (const auto& point : curve) {
        const double db = left ? point.leftDb : point.rightDb;
        if (std::isnan(db) || point.hz < kLowHz || point.hz > kHighHz) {
            havePrevious = false;
            continue;
        }
        const double x = xOf(point.hz), y = yOf(db);
        if (havePrevious) drawLine(image, previousX, previousY, x, y, colour, 2, kFrame);
        previousX = x;
        previousY = y;
        havePrevious = true;
    }
}

void drawMarkers(Image& image, const std::vector<response::ResponsePoint>& markers, bool left,
                 Colour colour) {
    for (const auto& marker : markers) {
        const double db = left ? marker.leftDb : marker.rightDb;
        if (std::isnan(db)) continue;
        drawLine(image, xOf(marker.hz), yOf(db), xOf(marker.hz), yOf(db), colour, 5, kFrame);
    }
}

}  // namespace

raster::Image drawResponsePlot(const std::vector<response::ResponsePoint>& curve,
                                  const std::vector<response::ResponsePoint>& markers,
                                  const std::string& title) {
    Image image(kPlotWidth, kPlotHeight, colour::kPaper);
    drawGrid(image, markers);
    drawAxes(image);
    drawLegend(image, title);
    // Right first, so that where the channels agree the left curve shows.
    drawCurve(image, curve, false, colour::kRight);
    drawCurve(image, curve, true, colour::kLeft);
    drawMarkers(image, markers, false, colour::kRight);
    drawMarkers(image, markers, true, colour::kLeft);
    return image;
}

}  // namespace vorn::plot
