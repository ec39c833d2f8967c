// The BMP files the resource compiler reads: headers, bottom-up rows in
// blue-green-red order, rows padded to four bytes.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "resources/artwork.h"
#include "resources/bmp_file.h"

namespace vorn::resources {
namespace {

uint32_t read32(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}
uint16_t read16(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

// Reads back what encodeBmp writes, following the headers.
Image decode(const std::vector<uint8_t>& bytes) {
    const uint32_t offset = read32(bytes, 10);
    const int width = static_cast<int>(read32(bytes, 18));
    const int height = static_cast<int>(read32(bytes, 22));
    const size_t rowSize = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        const size_t row = offset + rowSize * static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const size_t at = row + 3 * static_cast<size_t>(x);
            image.set(x, y, {bytes[at + 2], bytes[at + 1], bytes[at]});
        }
    }
    return image;
}

TEST(BmpFile, ThumbRowsArePaddedToFourBytesAndStoredBottomUp) {
    Image thumb = drawThumb();
    thumb.set(0, 0, {1, 2, 3});    // top left, marked
    thumb.set(9, 19, {4, 5, 6});   // bottom right, marked
    const std::vector<uint8_t> bytes = encodeBmp(thumb);

    const size_t rowSize = 32;  // 10 pixels * 3 = 30 bytes, padded
    ASSERT_EQ(bytes.size(), 54 + rowSize * 20);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(read32(bytes, 2), bytes.size());
    EXPECT_EQ(read32(bytes, 10), 54u);
    EXPECT_EQ(read32(bytes, 14), 40u);
    EXPECT_EQ(read32(bytes, 18), 10u);
    EXPECT_EQ(read32(bytes, 22), 20u);  // positive height: bottom-up
    EXPECT_EQ(read16(bytes, 26), 1);
    EXPECT_EQ(read16(bytes, 28), 24);
    EXPECT_EQ(read32(bytes, 30), 0u);  // uncompressed

    // The first stored row is the picture's lowest, blue first.
    EXPECT_EQ(bytes[54 + 27], 6);
    EXPECT_EQ(bytes[54 + 28], 5);
    EXPECT_EQ(bytes[54 + 29], 4);
    EXPECT_EQ(bytes[54 + 30], 0);  // padding
    EXPECT_EQ(bytes[54 + 31], 0);
    // The last stored row is the top one.
    const size_t topRow = 54 + rowSize * 19;
    EXPECT_EQ(bytes[topRow], 3);
    EXPECT_EQ(bytes[topRow + 2], 1);

    EXPECT_EQ(decode(bytes).pixels, thumb.pixels);
}

TEST(BmpFile, BackgroundRoundTripsWithoutPadding) {
    const Image background = drawBackground();
    const std::vector<uint8_t> bytes = encodeBmp(background);
    EXPECT_EQ(bytes.size(), 54u + 2100u * 180u);
    EXPECT_EQ(decode(bytes).pixels, background.pixels);
}

TEST(BmpFile, WritesTheWholeFileOrReportsFailure) {
    const Image thumb = drawThumb();
    const std::string path = ::testing::TempDir() + "vorn_thumb_test.bmp";
    ASSERT_TRUE(writeBmp(path, thumb));
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> written{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(written, encodeBmp(thumb));
    std::remove(path.c_str());

    EXPECT_FALSE(writeBmp("/nonexistent-directory/thumb.bmp", thumb));
}

}  // namespace
}  // namespace vorn::resources
