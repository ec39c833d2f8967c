#include "tools/testhost/bank_file.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "common/file_writer.h"
#include "common/four_character_code.h"

namespace vorn::testhost {
namespace {

constexpr int32_t kFileMagic = fourCharacterCode("CcnK");
constexpr int32_t kOpaqueBankMagic = fourCharacterCode("FBCh");
constexpr int32_t kParameterBankMagic = fourCharacterCode("FxBk");
constexpr int32_t kFormatVersion = 2;
constexpr size_t kChunkSizeOffset = 156;

void putInt32(std::vector<uint8_t>& out, size_t offset, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int byte = 0; byte < 4; ++byte) out[offset + byte] = uint8_t(bits >> (24 - 8 * byte));
}

int32_t getInt32(const std::vector<uint8_t>& in, size_t offset) {
    uint32_t bits = 0;
    for (int byte = 0; byte < 4; ++byte) bits = (bits << 8) | in[offset + byte];
    return static_cast<int32_t>(bits);
}

}  // namespace

std::vector<uint8_t> encodeBankFile(const BankFile& bank) {
    std::vector<uint8_t> bytes(kBankFileHeaderSize + bank.chunk.size(), 0);
    putInt32(bytes, 0, kFileMagic);
    putInt32(bytes, 4, static_cast<int32_t>(kBankFileHeaderSize - 8 + bank.chunk.size()));
    putInt32(bytes, 8, kOpaqueBankMagic);
    putInt32(bytes, 12, kFormatVersion);
    putInt32(bytes, 16, bank.pluginId);
    putInt32(bytes, 20, bank.pluginVersion);
    putInt32(bytes, 24, bank.numPrograms);
    putInt32(bytes, 28, bank.currentProgram);
    putInt32(bytes, kChunkSizeOffset, static_cast<int32_t>(bank.chunk.size()));
    std::copy(bank.chunk.begin(), bank.chunk.end(), bytes.begin() + kBankFileHeaderSize);
    return bytes;
}

bool decodeBankFile(const std::vector<uint8_t>& bytes, BankFile& bank, std::string& error) {
    if (bytes.size() < kBankFileHeaderSize || getInt32(bytes, 0) != kFileMagic) {
        error = "not a VST 2 bank or program file";
        return false;
    }
    const int32_t kind = getInt32(bytes, 8);
    if (kind != kOpaqueBankMagic) {
        error = kind == kParameterBankMagic ? "a bank of parameter values, not of a chunk"
                                            : "not a bank file";
        return false;
    }
    const auto rest = static_cast<uint32_t>(getInt32(bytes, 4));
    const auto chunkSize = static_cast<uint32_t>(getInt32(bytes, kChunkSizeOffset));
    if (rest != bytes.size() - 8 || chunkSize != bytes.size() - kBankFileHeaderSize) {
        error = "the file's sizes do not add up (truncated or extended)";
        return false;
    }
    bank.pluginId = getInt32(bytes, 16);
    bank.pluginVersion = getInt32(bytes, 20);
    bank.numPrograms = getInt32(bytes, 24);
    bank.currentProgram = getInt32(bytes, 12) >= 2 ? getInt32(bytes, 28) : 0;
    bank.chunk.assign(bytes.begin() + kBankFileHeaderSize, bytes.end());
    return true;
}

bool saveBankFile(PluginInstance& plugin, const std::string& path, std::string& error) {
    const vst::AEffect& record = *plugin.record();
    void* data = nullptr;
    const intptr_t size = plugin.dispatch(vst::effGetChunk, 0, 0, &data);
    if (size <= 0 || !data) {
        error = "the plug-in gave no bank";
        return false;
    }
    BankFile bank;
    bank.pluginId = record.uniqueID;
    bank.pluginVersion = record.version;
    bank.numPrograms = record.numPrograms;
    bank.currentProgram = static_cast<int32_t>(plugin.dispatch(vst::effGetProgram));
    const auto* bytes = static_cast<const uint8_t*>(data);
    bank.chunk.assign(bytes, bytes + size);
    if (!writeFile(path, encodeBankFile(bank))) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool loadBankFile(PluginInstance& plugin, const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read " + path;
        return false;
    }
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file),
                                     std::istreambuf_iterator<char>()};
    BankFile bank;
    if (!decodeBankFile(bytes, bank, error)) return false;
    if (bank.pluginId != plugin.record()->uniqueID) {
        error = "the bank was saved by another plug-in";
        return false;
    }
    if (plugin.dispatch(vst::effSetChunk, 0, static_cast<intptr_t>(bank.chunk.size()),
                        bank.chunk.data()) != 1) {
        error = "the plug-in refused the bank";
        return false;
    }
    return true;
}

}  // namespace vorn::testhost
