#include "tools/common/png_writer.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>

namespace vorn::tools {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint8_t kBitDepth = 8;
constexpr uint8_t kColourTypeRgb = 2;
constexpr uint8_t kFilterNone = 0;
// zlib header: deflate with a 32 KiB window (0x78), no preset dictionary,
// lowest compression level, and check bits making the pair a multiple of 31.
constexpr uint8_t kZlibMethod = 0x78;
constexpr uint8_t kZlibFlags = 0x01;
constexpr size_t kMaxStoredBlock = 65535;  // a stored block's length field is 16 bits

const std::array<uint32_t, 256>& crcTable() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> entries{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    return table;
}

void putBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void putChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
    putBigEndian32(out, static_cast<uint32_t>(data.size()));
    const size_t typeStart = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    putBigEndian32(out, crc32(out.data() + typeStart, out.size() - typeStart));
}

// The scanlines as the format wants them before compression: each row led
// by its filter byte.
std::vector<uint8_t> scanlines(const Picture& picture) {
    std::vector<uint8_t> raw;
    raw.reserve(static_cast<size_t>(picture.height) * (1 + 3 * static_cast<size_t>(picture.width)));
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back(kFilterNone);
        for (int x = 0; x < picture.width; ++x) {
            const Rgb colour = picture.at(x, y);
            raw.push_back(colour.red);
            raw.push_back(colour.green);
            raw.push_back(colour.blue);
        }
    }
    return raw;
}

std::vector<uint8_t> zlibStored(const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> out = {kZlibMethod, kZlibFlags};
    size_t offset = 0;
    do {
        const size_t length = std::min(kMaxStoredBlock, payload.size() - offset);
        const bool last = offset + length == payload.size();
        out.push_back(last ? 1 : 0);  // BFINAL, then BTYPE 00 (stored)
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), payload.begin() + static_cast<std::ptrdiff_t>(offset),
                   payload.begin() + static_cast<std::ptrdiff_t>(offset + length));
        offset += length;
    } while (offset < payload.size());
    putBigEndian32(out, adler32(payload.data(), payload.size()));
    return out;
}

}  // namespace

uint32_t crc32(const uint8_t* data, size_t size, uint32_t previous) {
    const auto& table = crcTable();
    uint32_t c = previous ^ 0xFFFFFFFFu;
    for (size_t k = 0; k < size; ++k) c = table[(c ^ data[k]) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

uint32_t adler32(const uint8_t* data, size_t size, uint32_t previous) {
    constexpr uint32_t kModulus = 65521;
    uint32_t a = previous & 0xFFFF;
    uint32_t b = previous >> 16;
    for (size_t k = 0; k < size; ++k) {
        a = (a + data[k]) % kModulus;
        b = (b + a) % kModulus;
    }
    return (b << 16) | a;
}

std::vector<uint8_t> encodePng(const Picture& picture) {
    // The format has no empty pictures.
    if (picture.width <= 0 || picture.height <= 0) return {};
    std::vector<uint8_t> out(std::begin(kSignature), std::end(kSignature));

    std::vector<uint8_t> header;
    putBigEndian32(header, static_cast<uint32_t>(picture.width));
    putBigEndian32(header, static_cast<uint32_t>(picture.height));
    header.push_back(kBitDepth);
    header.push_back(kColourTypeRgb);
    header.push_back(0);  // compression method: deflate
    header.push_back(0);  // filter method: adaptive (every row says "none")
    header.push_back(0);  // no interlace
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", zlibStored(scanlines(picture)));
    putChunk(out, "IEND", {});
    return out;
}

bool writePng(const std::string& path, const Picture& picture) {
    const std::vector<uint8_t> bytes = encodePng(picture);
    if (bytes.empty()) return false;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace vorn::tools
