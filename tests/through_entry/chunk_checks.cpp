// The settings a host saves with its project and gives back when the
// project is reopened: the bank and program chunks through the dispatcher,
// in the orders real hosts use, refused whole when they are damaged, and an
// old project's bank file that must keep loading.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/through_entry/bank_settings.h"
#include "tests/through_entry/check.h"
#include "tests/through_entry/plugin_under_test.h"
#include "tools/common/signal.h"
#include "tools/testhost/bank_file.h"

namespace vorn::checks {
namespace {

using testhost::PluginInstance;
using Bytes = std::vector<uint8_t>;

// Where the chunk layout puts things, for damaging a chunk on purpose.
constexpr size_t kVersionOffset = 4;
constexpr size_t kKindOffset = 8;
constexpr size_t kCurrentOffset = 12;
constexpr size_t kFirstNameOffset = 16;
constexpr size_t kFirstValueOffset = kFirstNameOffset + 32;

void putUint32(Bytes& bytes, size_t offset, uint32_t value) {
    if (bytes.size() < offset + 4) return;  // no chunk to damage; the checks fail on it
    for (int byte = 0; byte < 4; ++byte) bytes[offset + byte] = uint8_t(value >> (8 * byte));
}

// A name field filled to its end, leaving no room for its NUL.
void fillName(Bytes& bytes, size_t offset) {
    if (bytes.size() < offset + 32) return;
    std::fill(bytes.begin() + offset, bytes.begin() + offset + 32, uint8_t('x'));
}

// Everything a host can see of the settings, and the audio they give.
struct Observed {
    Bytes bank;
    int32_t current = -1;
    std::vector<std::string> names;
    std::vector<float> values;
};

Observed observe(PluginInstance& plugin) {
    Observed seen;
    seen.bank = chunkOf(plugin);
    seen.current = static_cast<int32_t>(plugin.dispatch(vst::effGetProgram));
    Inside equalizer = inside(plugin);
    for (int32_t program = 0; program < kPrograms; ++program) {
        seen.names.push_back(plugin.text(vst::effGetProgramNameIndexed, program));
        for (auto channel : {Inside::kLeft, Inside::kRight})
            for (int band = 0; band < kBandCount; ++band)
                seen.values.push_back(equalizer.band(channel, band, program));
    }
    return seen;
}

bool sameState(PluginInstance& plugin, const Observed& expected) {
    const Observed seen = observe(plugin);
    return seen.bank == expected.bank && seen.current == expected.current &&
           seen.names == expected.names && seen.values == expected.values;
}

// The gain of each channel for a 1 kHz sine over its last, settled blocks.
void sineGain(PluginInstance& plugin, double& leftDb, double& rightDb) {
    constexpr double kRate = 48000.0;
    constexpr size_t kBlock = 480;
    plugin.dispatch(vst::effSetSampleRate, 0, 0, nullptr, float(kRate));
    std::vector<float> outLeft(kBlock), outRight(kBlock);
    double input = 0.0, left = 0.0, right = 0.0;
    for (int block = 0; block < 60; ++block) {
        std::vector<float> inLeft = signals::sine(1000.0, kRate, 0.25, kBlock, block * kBlock);
        std::vector<float> inRight = inLeft;
        const double level = signals::rms(inLeft);
        plugin.processReplacing(inLeft, inRight, outLeft, outRight);
        if (block < 30) continue;
        input += level * level;
        left += signals::rms(outLeft) * signals::rms(outLeft);
        right += signals::rms(outRight) * signals::rms(outRight);
    }
    leftDb = 10.0 * std::log10(left / input);
    rightDb = 10.0 * std::log10(right / input);
}

CHECK_GROUP("the bank comes back whole in a fresh instance") {
    auto original = openInstance();
    makeDistinctBank(*original);
    const Observed saved = observe(*original);
    CHECK_EQ(saved.bank.size(), size_t(4368));
    CHECK(chunkOf(*original) == saved.bank);  // the same state, the same bytes

    auto reopened = openInstance();
    CHECK_EQ(setChunk(*reopened, saved.bank), intptr_t(1));
    CHECK(sameState(*reopened, saved));
    CHECK(playNoise(*reopened) == playNoise(*original));
}

CHECK_GROUP("the program chunk replaces the current program only") {
    auto original = openInstance();
    makeDistinctBank(*original);
    const Bytes program = chunkOf(*original, kProgramChunk);
    CHECK_EQ(program.size(), size_t(284));
    const Observed fresh = observe(*openInstance());

    auto other = openInstance();
    other->dispatch(vst::effSetProgram, 0, 3);
    CHECK_EQ(setChunk(*other, program, kProgramChunk), intptr_t(1));
    const Observed seen = observe(*other);
    const Observed source = observe(*original);
    const size_t valuesPerProgram = 2 * kBandCount;
    CHECK_EQ(seen.current, int32_t(3));
    for (int32_t index = 0; index < kPrograms; ++index) {
        const bool replaced = index == 3;
        const int32_t from = replaced ? kDistinctCurrent : index;
        const Observed& expected = replaced ? source : fresh;
        CHECK_TEXT(seen.names[index], expected.names[from]);
        CHECK(std::equal(seen.values.begin() + index * valuesPerProgram,
                         seen.values.begin() + (index + 1) * valuesPerProgram,
                         expected.values.begin() + from * valuesPerProgram));
    }
    CHECK(chunkOf(*other, kProgramChunk) == program);
}

CHECK_GROUP("hosts that restore in another order end on the saved state") {
    auto original = openInstance();
    makeDistinctBank(*original);
    const Observed saved = observe(*original);

    // A program chosen before the bank arrives.
    auto selectFirst = openInstance();
    selectFirst->dispatch(vst::effSetProgram, 0, 2);
    CHECK_EQ(setChunk(*selectFirst, saved.bank), intptr_t(1));
    CHECK(sameState(*selectFirst, saved));

    // The saved program chosen again after the bank.
    auto selectAfter = openInstance();
    CHECK_EQ(setChunk(*selectAfter, saved.bank), intptr_t(1));
    selectAfter->dispatch(vst::effSetProgram, 0, saved.current);
    CHECK(sameState(*selectAfter, saved));

    // The bank before the host opens the effect and turns the mains on,
    // and again while audio runs.
    vst::AEffect* record = pluginEntry()(testhost::hostCallback);
    PluginInstance early(record);
    CHECK_EQ(setChunk(early, saved.bank), intptr_t(1));
    early.dispatch(vst::effOpen);
    early.dispatch(vst::effSetSampleRate, 0, 0, nullptr, 44100.0f);
    early.dispatch(vst::effMainsChanged, 0, 1);
    CHECK(sameState(early, saved));
    CHECK(playNoise(early) == playNoise(*original));
    CHECK_EQ(setChunk(early, saved.bank), intptr_t(1));
    CHECK(sameState(early, saved));
}

CHECK_GROUP("a damaged chunk is refused and changes nothing") {
    auto plugin = openInstance();
    makeDistinctBank(*plugin);
    const Observed before = observe(*plugin);
    const Bytes good = before.bank;
    const Bytes goodProgram = chunkOf(*plugin, kProgramChunk);

    std::vector<std::pair<const char*, Bytes>> bad;
    bad.push_back({"truncated", Bytes(good.begin(), good.end() - 1)});
    Bytes longer = good;
    longer.push_back(0);
    bad.push_back({"too long", longer});
    Bytes version = good;
    putUint32(version, kVersionOffset, 2);
    bad.push_back({"a later format version", version});
    Bytes kind = good;
    putUint32(kind, kKindOffset, 2);
    bad.push_back({"the program kind in a bank's place", kind});
    Bytes current = good;
    putUint32(current, kCurrentOffset, 16);
    bad.push_back({"a current program past the bank", current});
    Bytes notANumber = good;
    putUint32(notANumber, kFirstValueOffset + 4 * 17, 0x7fc00000u);
    bad.push_back({"a band value that is not a number", notANumber});
    Bytes tooHigh = good;
    putUint32(tooHigh, kFirstValueOffset, 0x3f800001u);  // just above 1
    bad.push_back({"a band value above 1", tooHigh});
    Bytes endless = good;
    fillName(endless, kFirstNameOffset + 272 * 4);
    bad.push_back({"a name without its NUL", endless});

    for (const auto& [what, chunk] : bad) {
        const intptr_t answer = setChunk(*plugin, chunk);
        report(answer == 0, std::string(what) + ": refused", __FILE__, __LINE__);
        report(sameState(*plugin, before), std::string(what) + ": nothing changed", __FILE__,
               __LINE__);
    }
    CHECK_EQ(setChunk(*plugin, goodProgram), intptr_t(0));  // a program where a bank belongs
    CHECK_EQ(setChunk(*plugin, good, kProgramChunk), intptr_t(0));
    Bytes bank = good;
    CHECK_EQ(plugin->dispatch(vst::effSetChunk, 0, intptr_t(good.size()), nullptr), intptr_t(0));
    CHECK_EQ(plugin->dispatch(vst::effSetChunk, 0, 0, bank.data()), intptr_t(0));
    CHECK_EQ(plugin->dispatch(vst::effSetChunk, 0, -1, bank.data()), intptr_t(0));
    CHECK(sameState(*plugin, before));
}

CHECK_GROUP("an old project's bank file still loads") {
    const char* path = bankFiles().golden;
    CHECK(path != nullptr);
    if (!path) return;
    auto plugin = openInstance();
    std::string error;
    report(testhost::loadBankFile(*plugin, path, error), "loads " + std::string(path) + error,
           __FILE__, __LINE__);
    CHECK_EQ(plugin->dispatch(vst::effGetProgram), intptr_t(kGoldenCurrent));
    Inside equalizer = inside(*plugin);
    for (int32_t program = 0; program < kPrograms; ++program) {
        CHECK_TEXT(plugin->text(vst::effGetProgramNameIndexed, program), goldenName(program));
        for (auto channel : {Inside::kLeft, Inside::kRight})
            for (int band = 0; band < kBandCount; ++band)
                CHECK(equalizer.band(channel, band, program) == goldenValue(program, channel, band));
    }
    // Its current program lifts 1 kHz by 12 dB on the left and lowers it
    // by 6 on the right; the neighbouring bands are flat.
    double leftDb = 0.0, rightDb = 0.0;
    sineGain(*plugin, leftDb, rightDb);
    CHECK_NEAR(leftDb, 12.0, 0.05);
    CHECK_NEAR(rightDb, -6.0, 0.05);
}

}  // namespace
}  // namespace vorn::checks
