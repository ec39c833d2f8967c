#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/file_writer.h"

namespace vorn {
namespace {

std::vector<uint8_t> readBack(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(FileWriter, WritesExactlyTheBytesAndReplacesWhatWasThere) {
    const std::string path = ::testing::TempDir() + "/file_writer_test.bin";
    // Line ends and a zero byte must pass untranslated.
    const std::vector<uint8_t> bytes = {'a', '\n', 0, '\r', '\n', 0xFF};
    ASSERT_TRUE(writeFile(path, std::vector<uint8_t>(100, 'x')));
    ASSERT_TRUE(writeFile(path, bytes));
    EXPECT_EQ(readBack(path), bytes);

    ASSERT_TRUE(writeFile(path, std::string()));
    EXPECT_TRUE(readBack(path).empty());
}

TEST(FileWriter, AnswersFalseWhenTheFileCannotBeMadeOrFilled) {
    EXPECT_FALSE(writeFile(::testing::TempDir() + "/no_such_directory/file", std::string("x")));
    EXPECT_FALSE(writeFile(::testing::TempDir(), std::string("x")));  // a directory

    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    // A few bytes fit the buffer, so only the flush can tell that the disk is full.
    EXPECT_FALSE(writeFile("/dev/full", std::string("a few bytes")));
}

}  // namespace
}  // namespace vorn
