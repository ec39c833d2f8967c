#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "resources/bmp_file.h"
#include "tools/common/picture_compare.h"
#include "tools/common/picture_file.h"
#include "tools/common/png_file.h"

namespace vorn::tools {
namespace {

// Every pixel different, so that a swapped channel, a flipped row order or a
// lost padding byte shows.
Picture pattern(int width, int height) {
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.set(x, y, Rgb{uint8_t(x * 7 + y), uint8_t(x ^ (y * 3)), uint8_t(255 - y)});
    return picture;
}

void expectSamePixels(const Picture& expected, const Picture& actual) {
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);
    EXPECT_EQ(comparePictures(expected, actual, std::nullopt).differing, 0);
}

uint32_t big32(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 |
           uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
}

TEST(Png, FileHasSignatureHeaderDataAndEndInOrder) {
    const std::vector<uint8_t> file = encodePng(pattern(700, 180));
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    ASSERT_GT(file.size(), 8u + 25u);
    EXPECT_EQ(std::memcmp(file.data(), signature, 8), 0);
    EXPECT_EQ(big32(file, 8), 13u);
    EXPECT_EQ(std::string(file.begin() + 12, file.begin() + 16), "IHDR");
    EXPECT_EQ(big32(file, 16), 700u);
    EXPECT_EQ(big32(file, 20), 180u);
    EXPECT_EQ(file[24], 8);  // bits per channel
    EXPECT_EQ(file[25], 2);  // RGB
    EXPECT_EQ(std::string(file.end() - 8, file.end() - 4), "IEND");
    EXPECT_EQ(big32(file, file.size() - 4), 0xAE426082u);  // the CRC every IEND carries
}

TEST(Png, RoundTripsEveryPixel) {
    const Picture original = pattern(700, 180);
    Picture decoded;
    std::string error;
    ASSERT_TRUE(decodePng(encodePng(original), decoded, error)) << error;
    expectSamePixels(original, decoded);

    const Picture tiny = pattern(1, 1);
    ASSERT_TRUE(decodePng(encodePng(tiny), decoded, error)) << error;
    expectSamePixels(tiny, decoded);
}

TEST(Png, ReaderRefusesWhatItCannotReadWhole) {
    const std::vector<uint8_t> good = encodePng(pattern(20, 10));
    Picture decoded;
    std::string error;

    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    EXPECT_FALSE(decodePng(cut, decoded, error));
    EXPECT_FALSE(error.empty());

    EXPECT_FALSE(decodePng({'B', 'M', 0, 0}, decoded, error));
    EXPECT_FALSE(decodePng({}, decoded, error));

    // A header claiming 10000 x 10000 pixels is refused before anything is
    // allocated for it.
    std::vector<uint8_t> huge = good;
    const uint8_t side[4] = {0x00, 0x00, 0x27, 0x10};
    std::copy(side, side + 4, huge.begin() + 16);  // width in IHDR
    std::copy(side, side + 4, huge.begin() + 20);  // height
    EXPECT_FALSE(decodePng(huge, decoded, error));
    EXPECT_NE(error.find("size"), std::string::npos) << error;
}

TEST(Png, EmptyPictureIsNotWritten) {
    EXPECT_TRUE(encodePng(Picture()).empty());
    EXPECT_FALSE(writePicture(::testing::TempDir() + "/empty.png", Picture()));
}

TEST(Bmp, RoundTripsWithRowPadding) {
    for (int width : {1, 2, 3, 4, 5}) {
        const Picture original = pattern(width, 3);
        const std::vector<uint8_t> file = resources::encodeBmp(original);
        EXPECT_EQ(file.size(), 54u + 3u * ((width * 3u + 3u) & ~3u)) << "width " << width;
        Picture decoded;
        std::string error;
        ASSERT_TRUE(decodeBmp(file, decoded, error)) << error;
        expectSamePixels(original, decoded);
    }
}

TEST(Bmp, ReadsTopDown32BitLikeAScreenGrab) {
    // 2x2, rows top first (negative height), blue-green-red-unused.
    std::vector<uint8_t> file = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0,
                                 2,   0,   0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 32, 0, 0, 0, 0, 0};
    file.resize(54, 0);
    const uint8_t pixels[16] = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0};
    file.insert(file.end(), pixels, pixels + 16);
    Picture decoded;
    std::string error;
    ASSERT_TRUE(decodeBmp(file, decoded, error)) << error;
    EXPECT_EQ(decoded.at(0, 0), (Rgb{3, 2, 1}));
    EXPECT_EQ(decoded.at(1, 0), (Rgb{6, 5, 4}));
    EXPECT_EQ(decoded.at(0, 1), (Rgb{9, 8, 7}));
    EXPECT_EQ(decoded.at(1, 1), (Rgb{12, 11, 10}));
}

TEST(PictureFiles, FormatFollowsTheNameOnWriteAndTheContentOnRead) {
    const Picture original = pattern(9, 4);
    const std::string bmp = ::testing::TempDir() + "/picture_files_test.BMP";
    const std::string png = ::testing::TempDir() + "/picture_files_test.png";
    ASSERT_TRUE(writePicture(bmp, original));
    ASSERT_TRUE(writePicture(png, original));
    for (const std::string& path : {bmp, png}) {
        Picture decoded;
        std::string error;
        ASSERT_TRUE(readPicture(path, decoded, error)) << path << ": " << error;
        expectSamePixels(original, decoded);
    }
    Picture decoded;
    std::string error;
    EXPECT_FALSE(readPicture(::testing::TempDir() + "/no_such_picture.png", decoded, error));
}

TEST(PictureFiles, WriteFailureIsReportedInEitherFormat) {
    const Picture picture = pattern(9, 4);
    for (const std::string extension : {".png", ".bmp"}) {
        EXPECT_FALSE(
            writePicture(::testing::TempDir() + "/no_such_directory/picture" + extension, picture))
            << extension;
        // A full disk takes the bytes into the buffer and refuses them on the flush.
        if (!std::filesystem::exists("/dev/full")) continue;
        const std::string full = ::testing::TempDir() + "/picture_on_full_disk" + extension;
        std::filesystem::remove(full);
        std::filesystem::create_symlink("/dev/full", full);
        EXPECT_FALSE(writePicture(full, picture)) << extension;
        std::filesystem::remove(full);
    }
}

TEST(Compare, CountsOnlyPixelsOutsideTheExcludedBox) {
    const Picture expected = pattern(10, 6);
    Picture actual = expected;
    actual.set(4, 2, Rgb{1, 1, 1});  // inside the box below
    actual.set(9, 5, Rgb{2, 2, 2});  // outside it

    const Difference all = comparePictures(expected, actual, std::nullopt);
    EXPECT_EQ(all.differing, 2);
    EXPECT_EQ(all.compared, 60);
    EXPECT_EQ(all.firstX, 4);
    EXPECT_EQ(all.firstY, 2);

    const Difference outside = comparePictures(expected, actual, PixelBox{3, 1, 5, 2});
    EXPECT_EQ(outside.differing, 1);
    EXPECT_EQ(outside.compared, 60 - 6);
    EXPECT_EQ(outside.firstX, 9);
    EXPECT_EQ(outside.firstActual, (Rgb{2, 2, 2}));

    EXPECT_FALSE(comparePictures(expected, pattern(10, 7), std::nullopt).sameSize);
}

TEST(Compare, BoxTextIsFourOrderedIntegers) {
    const auto box = parsePixelBox("366,169,486,179");
    ASSERT_TRUE(box.has_value());
    EXPECT_TRUE(box->contains(366, 169));
    EXPECT_TRUE(box->contains(486, 179));
    EXPECT_FALSE(box->contains(487, 179));
    for (const char* bad : {"", "1,2,3", "1,2,3,4,5", "1,2,3,4x", "5,0,1,0", "0,5,1,0", "a,b,c,d"})
        EXPECT_FALSE(parsePixelBox(bad).has_value()) << bad;
}

}  // namespace
}  // namespace vorn::tools
