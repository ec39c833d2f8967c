// The frame in the X server's layout, without a server: rows written directly
// must hold the bytes xcb_image_put_pixel would have written, and a frame
// must report exactly the rows that changed or were lost.

#include <gtest/gtest.h>

#include <xcb/xcb_image.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/x11/server_frame.h"

namespace vorn::platform {
namespace {

constexpr int kWidth = 700;
constexpr int kHeight = 180;
constexpr uint8_t kNoScanlinePadding = 32;

struct DestroyImage {
    void operator()(xcb_image_t* image) const { xcb_image_destroy(image); }
};
using OwnedImage = std::unique_ptr<xcb_image_t, DestroyImage>;

OwnedImage makeImage(uint8_t depth, uint8_t bitsPerPixel, xcb_image_order_t byteOrder) {
    // A pixel map's unit is its pixel size.
    return OwnedImage(xcb_image_create(kWidth, kHeight, XCB_IMAGE_FORMAT_Z_PIXMAP,
                                       kNoScanlinePadding, depth, bitsPerPixel, bitsPerPixel,
                                       byteOrder,
                                       XCB_IMAGE_ORDER_MSB_FIRST, nullptr, 0, nullptr));
}

// Every channel value in every channel somewhere, so a wrong table entry or
// byte shows.
raster::Image busyPicture() {
    raster::Image picture(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            picture.set(x, y, {static_cast<uint8_t>(x * 7 + y), static_cast<uint8_t>(x ^ y),
                               static_cast<uint8_t>(255 - x - 3 * y)});
    return picture;
}

bool rowsEqual(const xcb_image_t& a, const xcb_image_t& b) {
    for (int y = 0; y < kHeight; ++y) {
        const uint8_t* first = a.data + static_cast<size_t>(y) * a.stride;
        const uint8_t* second = b.data + static_cast<size_t>(y) * b.stride;
        const size_t usedBytes = static_cast<size_t>(kWidth) * a.bpp / 8;
        if (!std::equal(first, first + usedBytes, second)) return false;
    }
    return true;
}

struct Layout {
    const char* name;
    uint8_t depth, bitsPerPixel;
    xcb_image_order_t byteOrder;
    uint32_t red, green, blue;
};

TEST(ServerFrame, RowsHoldWhatPuttingEachPixelWouldHaveWritten) {
    const Layout layouts[] = {
        {"32 bits, least significant byte first", 24, 32, XCB_IMAGE_ORDER_LSB_FIRST, 0xFF0000,
         0x00FF00, 0x0000FF},
        {"32 bits, most significant byte first", 24, 32, XCB_IMAGE_ORDER_MSB_FIRST, 0xFF0000,
         0x00FF00, 0x0000FF},
        {"32 bits, blue high", 24, 32, XCB_IMAGE_ORDER_LSB_FIRST, 0x0000FF, 0x00FF00, 0xFF0000},
        {"30 bits deep", 30, 32, XCB_IMAGE_ORDER_LSB_FIRST, 0x3FF00000, 0x000FFC00, 0x000003FF},
        {"24 bits packed", 24, 24, XCB_IMAGE_ORDER_LSB_FIRST, 0xFF0000, 0x00FF00, 0x0000FF},
        {"24 bits packed, most significant first", 24, 24, XCB_IMAGE_ORDER_MSB_FIRST, 0xFF0000,
         0x00FF00, 0x0000FF},
        {"16 bits, 5-6-5", 16, 16, XCB_IMAGE_ORDER_LSB_FIRST, 0xF800, 0x07E0, 0x001F},
        {"16 bits, 5-6-5, most significant first", 16, 16, XCB_IMAGE_ORDER_MSB_FIRST, 0xF800,
         0x07E0, 0x001F},
        {"8 bits, 3-3-2", 8, 8, XCB_IMAGE_ORDER_LSB_FIRST, 0xE0, 0x1C, 0x03},
    };
    const raster::Image picture = busyPicture();
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        const PixelFormat format(layout.red, layout.green, layout.blue);
        OwnedImage byPixel = makeImage(layout.depth, layout.bitsPerPixel, layout.byteOrder);
        OwnedImage byRow = makeImage(layout.depth, layout.bitsPerPixel, layout.byteOrder);
        ASSERT_TRUE(byPixel && byRow);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                xcb_image_put_pixel(byPixel.get(), x, y, format.pixel(picture.at(x, y)));

        ServerFrame frame(*byRow, format);
        frame.take(picture);
        EXPECT_TRUE(rowsEqual(*byPixel, *byRow));
    }
}

class ServerFrameRows : public ::testing::Test {
protected:
    OwnedImage image = makeImage(24, 32, XCB_IMAGE_ORDER_LSB_FIRST);
    ServerFrame frame{*image, PixelFormat(0xFF0000, 0x00FF00, 0x0000FF)};
    raster::Image picture = busyPicture();

    std::vector<std::pair<int, int>> take(const raster::Image& next) {
        std::vector<std::pair<int, int>> bands;
        for (const RowBand& band : frame.take(next)) bands.emplace_back(band.top, band.count);
        return bands;
    }
    using Bands = std::vector<std::pair<int, int>>;
};

TEST_F(ServerFrameRows, TheFirstFrameIsSentWholeAndTheSameFrameNotAgain) {
    EXPECT_EQ(take(picture), (Bands{{0, kHeight}}));
    EXPECT_EQ(take(picture), Bands{});
}

TEST_F(ServerFrameRows, OnlyTheRowsThatChangedAreSentInBandsOfNeighbours) {
    take(picture);
    // A level bar: three neighbouring rows, a few pixels each.
    raster::Image next = picture;
    next.fill({116, 173, 178, 176}, {211, 219, 231});
    EXPECT_EQ(take(next), (Bands{{173, 3}}));

    next.set(699, 0, {1, 2, 3});
    next.set(0, 10, {1, 2, 3});
    next.set(5, 12, {1, 2, 3});
    next.set(5, 179, {1, 2, 3});
    EXPECT_EQ(take(next), (Bands{{0, 1}, {10, 1}, {12, 1}, {179, 1}}));

    // Back to the first picture: the same rows again, converted anew.
    EXPECT_EQ(take(picture), (Bands{{0, 1}, {10, 1}, {12, 1}, {173, 3}, {179, 1}}));
    OwnedImage whole = makeImage(24, 32, XCB_IMAGE_ORDER_LSB_FIRST);
    ServerFrame(*whole, PixelFormat(0xFF0000, 0x00FF00, 0x0000FF)).take(picture);
    EXPECT_TRUE(rowsEqual(*whole, *image));
}

TEST_F(ServerFrameRows, LostRowsAreSentAgainUnchanged) {
    take(picture);
    frame.markLost(50, 60);
    frame.markLost(-5, 2);      // clipped at the top
    frame.markLost(178, 400);   // and at the bottom
    frame.markLost(90, 90);     // nothing
    EXPECT_EQ(take(picture), (Bands{{0, 2}, {50, 10}, {178, 2}}));
    EXPECT_EQ(take(picture), Bands{});
    frame.markAllLost();
    EXPECT_EQ(take(picture), (Bands{{0, kHeight}}));
}

TEST_F(ServerFrameRows, AFrameOfAnotherSizeIsSentWholeWithinTheImage) {
    take(picture);
    const raster::Image taller(kWidth + 20, kHeight + 20, {9, 9, 9});
    EXPECT_EQ(take(taller), (Bands{{0, kHeight}}));
    const raster::Image shorter(kWidth, 100, {9, 9, 9});
    EXPECT_EQ(take(shorter), (Bands{{0, 100}}));
}

}  // namespace
}  // namespace vorn::platform
