// Bank files as hosts and users exchange them: the header laid out as
// published, and anything but a whole opaque-chunk bank turned down with a
// reason.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tools/testhost/bank_file.h"

namespace vorn::testhost {
namespace {

using Bytes = std::vector<uint8_t>;

BankFile sampleBank() {
    BankFile bank;
    bank.pluginId = 0x566F726E;
    bank.pluginVersion = 1;
    bank.numPrograms = 16;
    bank.currentProgram = 9;
    bank.chunk = {1, 2, 3, 4, 5};
    return bank;
}

TEST(BankFile, TheHeaderIsBigEndianAndTheChunkFollowsAtByte160) {
    const Bytes bytes = encodeBankFile(sampleBank());
    ASSERT_EQ(bytes.size(), 165u);
    const Bytes expectedStart = {'C', 'c', 'n', 'K', 0, 0, 0, 157, 'F', 'B', 'C', 'h', 0, 0, 0, 2,
                                 'V', 'o', 'r', 'n', 0, 0, 0, 1, 0, 0, 0, 16, 0, 0, 0, 9};
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 32), expectedStart);
    EXPECT_EQ(Bytes(bytes.begin() + 156, bytes.end()), (Bytes{0, 0, 0, 5, 1, 2, 3, 4, 5}));

    BankFile read;
    std::string error;
    ASSERT_TRUE(decodeBankFile(bytes, read, error)) << error;
    EXPECT_EQ(read.pluginId, 0x566F726E);
    EXPECT_EQ(read.currentProgram, 9);
    EXPECT_EQ(read.chunk, sampleBank().chunk);
}

TEST(BankFile, AnythingButAWholeChunkBankIsTurnedDown) {
    const Bytes good = encodeBankFile(sampleBank());
    std::vector<std::pair<const char*, Bytes>> bad = {
        {"empty", {}},
        {"header cut short", Bytes(good.begin(), good.begin() + 100)},
        {"chunk cut short", Bytes(good.begin(), good.end() - 1)},
    };
    Bytes longer = good;
    longer.push_back(0);
    bad.push_back({"bytes after the chunk", longer});
    Bytes parameters = good;
    parameters.at(9) = 'x';  // "FxBk"
    parameters.at(10) = 'B';
    parameters.at(11) = 'k';
    bad.push_back({"a bank of parameter values", parameters});
    Bytes otherMagic = good;
    otherMagic[0] = 'X';
    bad.push_back({"not a bank file at all", otherMagic});

    for (const auto& [what, bytes] : bad) {
        BankFile read;
        std::string error;
        EXPECT_FALSE(decodeBankFile(bytes, read, error)) << what;
        EXPECT_FALSE(error.empty()) << what;
    }
}

TEST(BankFile, TheGoldenBankIsAWholeBankOfOurs) {
    std::ifstream file(VORN_GOLDEN_BANK, std::ios::binary);
    ASSERT_TRUE(file) << VORN_GOLDEN_BANK;
    const Bytes bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    BankFile bank;
    std::string error;
    ASSERT_TRUE(decodeBankFile(bytes, bank, error)) << error;
    EXPECT_EQ(bank.pluginId, 0x566F726E);
    EXPECT_EQ(bank.numPrograms, 16);
    EXPECT_EQ(bank.chunk.size(), 4368u);
}

}  // namespace
}  // namespace vorn::testhost
