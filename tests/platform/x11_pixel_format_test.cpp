// Colours packed into the pixel values of true-colour visuals.

#include <gtest/gtest.h>

#include "platform/x11/x11_pixel_format.h"

namespace vorn::platform {
namespace {

TEST(X11PixelFormat, EightBitChannelsGoToTheirMasksUnchanged) {
    const PixelFormat rgb(0xFF0000, 0x00FF00, 0x0000FF);
    EXPECT_EQ(rgb.pixel({91, 118, 162}), 0x5B76A2u);
    EXPECT_EQ(rgb.pixel({255, 255, 255}), 0xFFFFFFu);
    EXPECT_EQ(rgb.pixel({0, 0, 0}), 0u);

    const PixelFormat bgr(0x0000FF, 0x00FF00, 0xFF0000);  // e.g. some 32-bit visuals
    EXPECT_EQ(bgr.pixel({91, 118, 162}), 0xA2765Bu);
}

TEST(X11PixelFormat, NarrowAndWideChannelsAreScaledToTheNearestStep) {
    const PixelFormat rgb565(0xF800, 0x07E0, 0x001F);
    EXPECT_EQ(rgb565.pixel({255, 255, 255}), 0xFFFFu);
    EXPECT_EQ(rgb565.pixel({0, 0, 0}), 0u);
    // 91 of 255 is 11.06 of 31, 118 is 29.15 of 63 and 162 is 19.69 of 31.
    EXPECT_EQ(rgb565.pixel({91, 118, 162}), (11u << 11) | (29u << 5) | 20u);

    const PixelFormat rgb30(0x3FF00000, 0x000FFC00, 0x000003FF);
    EXPECT_EQ(rgb30.pixel({255, 0, 0}), 0x3FF00000u);
    EXPECT_EQ(rgb30.pixel({0, 128, 0}), 514u << 10);  // 128 of 255 is 513.5 of 1023
}

}  // namespace
}  // namespace vorn::platform
