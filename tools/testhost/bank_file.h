#pragma once
// A VST 2 bank file of the opaque-chunk kind (.fxb), the file hosts and
// users exchange a plug-in's whole bank with. Written and read from the
// published layout; every number is big-endian:
//
//   0    "CcnK"
//   4    int32 byte count of the rest of the file (the file's size - 8)
//   8    "FBCh" (a bank held as the plug-in's own chunk)
//   12   int32 format version (2: with the current program)
//   16   int32 the plug-in's unique id
//   20   int32 the plug-in's version
//   24   int32 number of programs
//   28   int32 current program (version 2), then zeros up to byte 156
//   156  int32 chunk size
//   160  the chunk, to the end of the file

#include <cstdint>
#include <string>
#include <vector>

#include "tools/testhost/plugin_instance.h"

namespace vorn::testhost {

struct BankFile {
    int32_t pluginId = 0;
    int32_t pluginVersion = 0;
    int32_t numPrograms = 0;
    int32_t currentProgram = 0;
    std::vector<uint8_t> chunk;
};

constexpr size_t kBankFileHeaderSize = 160;

std::vector<uint8_t> encodeBankFile(const BankFile& bank);
// False, with the reason in `error`, for anything but a whole opaque-chunk
// bank file.
bool decodeBankFile(const std::vector<uint8_t>& bytes, BankFile& bank, std::string& error);

// The plug-in's bank through effGetChunk into a file, and a file's bank
// through effSetChunk into the plug-in, refused unless it was made for this
// plug-in and the plug-in takes it. False, with the reason in `error`.
bool saveBankFile(PluginInstance& plugin, const std::string& path, std::string& error);
bool loadBankFile(PluginInstance& plugin, const std::string& path, std::string& error);

}  // namespace vorn::testhost
