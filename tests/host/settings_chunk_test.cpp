// The saved settings: a layout that never changes, the same bytes for the
// same settings, and chunks taken back whole or not at all, however they
// were damaged.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "host/settings_chunk.h"
#include "tests/host/test_effects.h"

namespace vorn::test {
namespace {

using Bytes = std::vector<uint8_t>;

uint32_t uint32At(const Bytes& bytes, size_t offset) {
    return uint32_t(bytes[offset]) | uint32_t(bytes[offset + 1]) << 8 |
           uint32_t(bytes[offset + 2]) << 16 | uint32_t(bytes[offset + 3]) << 24;
}

Bytes bankChunk(EqualizerEffect& effect) {
    void* data = nullptr;
    const auto size = effect.dispatcher(vst::effGetChunk, 0, 0, &data, 0.0f);
    const auto* bytes = static_cast<const uint8_t*>(data);
    return Bytes(bytes, bytes + size);
}

intptr_t setChunk(EqualizerEffect& effect, Bytes chunk, bool program = false) {
    return effect.dispatcher(vst::effSetChunk, program ? 1 : 0, intptr_t(chunk.size()),
                             chunk.data(), 0.0f);
}

// An effect whose every band, name and current program differ from a
// fresh one's.
void editEverything(EqualizerEffect& effect) {
    for (int32_t program = 0; program < ProgramBank::kSize; ++program) {
        for (int band = 0; band < kBandCount; ++band) {
            effect.setBandValue(program, kLeftChannel, band, float(program + band) / 64.0f);
            effect.setBandValue(program, kRightChannel, band, 1.0f - float(band) / 30.0f);
        }
        effect.dispatcher(vst::effSetProgram, 0, program, nullptr, 0.0f);
        char name[32];
        std::snprintf(name, sizeof name, "Edited %d", int(program));
        effect.setProgramName(name);
    }
    effect.dispatcher(vst::effSetProgram, 0, 13, nullptr, 0.0f);
}

TEST(SettingsChunk, TheLayoutIsFixedLittleEndianFieldsWithAHeader) {
    BankSettings bank;
    std::strcpy(bank.programs[0].name, "Warm");
    bank.programs[0].values[kLeftChannel][0] = 0.25f;
    bank.programs[0].values[kRightChannel][29] = 1.0f;
    bank.programs[15].values[kRightChannel][29] = 0.75f;
    bank.current = 7;
    Bytes bytes(chunk::kBankSize);
    ASSERT_EQ(chunk::writeBank(bank, bytes.data()), size_t(4368));

    EXPECT_EQ(std::memcmp(bytes.data(), "VnEQ", 4), 0);
    EXPECT_EQ(uint32At(bytes, 4), 1u);   // format version
    EXPECT_EQ(uint32At(bytes, 8), 1u);   // the bank
    EXPECT_EQ(uint32At(bytes, 12), 7u);  // current program
    EXPECT_EQ(std::memcmp(bytes.data() + 16, "Warm\0\0\0", 7), 0);
    EXPECT_EQ(uint32At(bytes, 16 + 32), 0x3e800000u);              // left band 0 = 0.25
    EXPECT_EQ(uint32At(bytes, 16 + 32 + 120 + 29 * 4), 0x3f800000u);  // right band 29 = 1
    EXPECT_EQ(uint32At(bytes, 4368 - 4), 0x3f400000u);  // program 15, right band 29 = 0.75

    Bytes program(chunk::kProgramSize);
    ASSERT_EQ(chunk::writeProgram(bank.programs[0], program.data()), size_t(284));
    EXPECT_EQ(uint32At(program, 8), 2u);  // one program
    EXPECT_EQ(std::memcmp(program.data() + 12, bytes.data() + 16, 272), 0);
}

TEST(SettingsChunk, EqualSettingsGiveEqualBytesWhateverFollowsANameInMemory) {
    ProgramSettings clean, littered;
    std::strcpy(clean.name, "Air");
    std::memset(littered.name, '#', sizeof littered.name);
    std::strcpy(littered.name, "Air");
    Bytes first(chunk::kProgramSize), second(chunk::kProgramSize);
    chunk::writeProgram(clean, first.data());
    chunk::writeProgram(littered, second.data());
    EXPECT_EQ(first, second);
}

TEST(SettingsChunk, TheEffectHandsOutTheSameBytesUntilSomethingChanges) {
    EqualizerEffect effect(nullptr, &noEditor);
    editEverything(effect);
    const Bytes first = bankChunk(effect);
    EXPECT_EQ(bankChunk(effect), first);
    effect.setBandValue(kRightChannel, 4, 0.5f);
    EXPECT_NE(bankChunk(effect), first);
    EXPECT_EQ(effect.dispatcher(vst::effGetChunk, 0, 0, nullptr, 0.0f), 0);  // nowhere to put it
}

TEST(SettingsChunk, ValuesAtTheEdgesOfTheRangeAreKept) {
    EqualizerEffect source(nullptr, &noEditor), target(nullptr, &noEditor);
    source.setBandValue(kLeftChannel, 0, 0.0f);
    source.setBandValue(kLeftChannel, 1, 1.0f);
    source.setBandValue(kRightChannel, 2, -0.0f);
    source.setBandValue(kRightChannel, 3, 1e-40f);  // subnormal, still in range
    ASSERT_EQ(setChunk(target, bankChunk(source)), 1);
    EXPECT_EQ(bankChunk(target), bankChunk(source));
}

// A chunk after the plug-in has taken it back: names end at their NUL.
Bytes canonical(Bytes chunk, bool program) {
    const size_t first = program ? chunk::kHeaderSize : chunk::kHeaderSize + 4;
    const int count = program ? 1 : ProgramBank::kSize;
    for (int index = 0; index < count; ++index) {
        uint8_t* name = chunk.data() + first + index * chunk::kProgramRecordSize;
        const size_t length = strnlen(reinterpret_cast<char*>(name), kProgramNameSize);
        std::memset(name + length, 0, kProgramNameSize - length);
    }
    return chunk;
}

// Seeded, so a failure names a case that can be run again.
TEST(SettingsChunk, MutatedChunksAreTakenWholeOrNotAtAll) {
    std::mt19937 random(20261208);
    const uint32_t specialBits[] = {0x7fc00000u, 0x7f800000u, 0xff800000u, 0x3f800001u,
                                    0xbf800000u, 0x80000000u, 0x00000001u, 0x3f000000u};
    int accepted = 0, refused = 0;
    for (int round = 0; round < 4000; ++round) {
        const bool program = round % 4 == 3;
        EqualizerEffect effect(nullptr, &noEditor);
        editEverything(effect);
        const Bytes before = bankChunk(effect);
        void* data = nullptr;
        const auto size = effect.dispatcher(vst::effGetChunk, program ? 1 : 0, 0, &data, 0.0f);
        Bytes chunk(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);

        const int mutations = 1 + int(random() % 3);
        for (int step = 0; step < mutations; ++step) {
            const size_t at = random() % chunk.size();
            switch (random() % 6) {
            case 0: chunk[at] ^= uint8_t(1u << (random() % 8)); break;
            case 1: chunk[at] = uint8_t(random()); break;
            case 2: chunk.resize(random() % chunk.size()); break;
            case 3: chunk.push_back(uint8_t(random())); break;
            case 4: {  // a value of the special kinds, at a value's place
                const size_t value = (at / 4) * 4;
                if (value + 4 <= chunk.size())
                    std::memcpy(&chunk[value], &specialBits[random() % 8], 4);
                break;
            }
            default: chunk[at] = 0; break;  // ends a name early, clears a byte of a header
            }
            if (chunk.empty()) chunk.push_back(0);
        }

        const intptr_t answer = setChunk(effect, chunk, program);
        if (answer == 0) {
            ++refused;
            ASSERT_EQ(bankChunk(effect), before) << "round " << round;
            ASSERT_EQ(effect.getProgram(), 13) << "round " << round;
            continue;
        }
        ++accepted;
        ASSERT_EQ(answer, 1) << "round " << round;
        void* after = nullptr;
        const auto afterSize =
            effect.dispatcher(vst::effGetChunk, program ? 1 : 0, 0, &after, 0.0f);
        ASSERT_EQ(Bytes(static_cast<uint8_t*>(after), static_cast<uint8_t*>(after) + afterSize),
                  canonical(chunk, program))
            << "round " << round;
    }
    // Both outcomes were reached often enough to mean something.
    EXPECT_GT(accepted, 400);
    EXPECT_GT(refused, 400);
}

}  // namespace
}  // namespace vorn::test
