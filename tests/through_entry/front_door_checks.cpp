// The record, the version-1 opcodes and the instance's life, through `main`.

#include <cstring>

#include "tests/through_entry/check.h"
#include "tests/through_entry/plugin_under_test.h"

namespace vorn::checks {
namespace {

using testhost::PluginInstance;

bool allZero(const char* bytes, size_t count) {
    for (size_t k = 0; k < count; ++k)
        if (bytes[k] != 0) return false;
    return true;
}

CHECK_GROUP("record right after main") {
    testhost::clearHostRequests();
    auto instance = openInstance();
    CHECK(instance != nullptr);
    if (!instance) return;
    const vst::AEffect& record = *instance->record();
    CHECK_EQ(record.magic, vst::fourCharacterCode("VstP"));
    CHECK_EQ(record.numPrograms, 16);
    CHECK_EQ(record.numParams, 60);
    CHECK_EQ(record.numInputs, 2);
    CHECK_EQ(record.numOutputs, 2);
    CHECK_EQ(record.flags, 57);
    CHECK_EQ(record.uniqueID, 0x566F726E);
    CHECK_EQ(record.version, 1);
    CHECK(record.ioRatio == 1.0f);
    CHECK_EQ(record.initialDelay, 0);
    CHECK_EQ(record.realQualities, 0);
    CHECK_EQ(record.offQualities, 0);
    CHECK(record.resvd1 == 0 && record.resvd2 == 0);
    CHECK(record.object != nullptr);
    CHECK(record.user == nullptr);
    CHECK(record.dispatcher && record.process && record.processReplacing);
    CHECK(record.setParameter && record.getParameter);
    CHECK(allZero(record.future, sizeof record.future));

    // The only request made on its own: the version query, with no record.
    const auto& requests = testhost::hostRequests();
    CHECK_EQ(requests.size(), size_t(1));
    if (!requests.empty()) {
        CHECK_EQ(requests[0].opcode, int32_t(vst::audioMasterVersion));
        CHECK(requests[0].effect == nullptr);
        CHECK(requests[0].index == 0 && requests[0].value == 0 && requests[0].ptr == nullptr);
    }
    CHECK_EQ(instance->dispatch(vst::effGetProgram), intptr_t(0));
    CHECK_TEXT(instance->text(vst::effGetProgramName), "Default EQ");
}

CHECK_GROUP("a host answering 0 to the version query gets nothing") {
    testhost::clearHostRequests();
    CHECK(pluginEntry()(testhost::silentHostCallback) == nullptr);
    CHECK_EQ(testhost::hostRequests().size(), size_t(1));
    CHECK(pluginEntry()(nullptr) == nullptr);
}

CHECK_GROUP("both entry names on Linux") {
#if !defined(_WIN32)
    vst::EntryProc linuxEntry = pluginEntryNamed("VSTPluginMain");
    CHECK(linuxEntry != nullptr);
    if (linuxEntry) {
        PluginInstance instance(linuxEntry(testhost::hostCallback));
        CHECK(instance.record() != nullptr && instance.record()->magic == vst::kEffectMagic);
    }
#else
    CHECK(pluginEntryNamed("VSTPluginMain") == nullptr);
#endif
}

CHECK_GROUP("program selection by number") {
    auto instance = openInstance();
    CHECK_EQ(instance->dispatch(vst::effSetProgram, 0, 15), intptr_t(0));
    CHECK_EQ(instance->dispatch(vst::effGetProgram), intptr_t(15));
    CHECK_EQ(instance->dispatch(vst::effSetProgram, 0, 16), intptr_t(0));
    CHECK_EQ(instance->dispatch(vst::effGetProgram), intptr_t(15));
    instance->dispatch(vst::effSetProgram, 0, -1);
    CHECK_EQ(instance->dispatch(vst::effGetProgram), intptr_t(15));
    instance->dispatch(vst::effSetProgram, 0, -256);
    CHECK_EQ(instance->dispatch(vst::effGetProgram), intptr_t(15));
    instance->dispatch(vst::effSetProgram, 0, 3);
    CHECK_EQ(instance->dispatch(vst::effGetProgram), intptr_t(3));
}

CHECK_GROUP("version-1 answers") {
    auto instance = openInstance();
    CHECK_EQ(instance->dispatch(vst::effIdentify), intptr_t(0x4e764566));
    CHECK_EQ(instance->dispatch(vst::effGetVu), intptr_t(0));
    CHECK_EQ(instance->dispatch(vst::effOpen), intptr_t(0));
    CHECK_EQ(instance->dispatch(vst::effMainsChanged, 0, 1), intptr_t(0));
    CHECK_EQ(instance->dispatch(vst::effMainsChanged, 0, 0), intptr_t(0));
    // Chunk calls without an address have nothing to give or take.
    CHECK_EQ(instance->dispatch(vst::effGetChunk), intptr_t(0));
    CHECK_EQ(instance->dispatch(vst::effSetChunk), intptr_t(0));
    CHECK_EQ(instance->dispatch(vst::effEditDraw), intptr_t(0));
    CHECK_EQ(instance->dispatch(vst::effEditMouse), intptr_t(0));
    CHECK_EQ(instance->dispatch(vst::effEditKey), intptr_t(0));
    CHECK_EQ(instance->dispatch(vst::effEditTop), intptr_t(0));
    CHECK_EQ(instance->dispatch(vst::effEditSleep), intptr_t(0));
    for (int32_t opcode : {-1, -25, 69, 70, 1000, 0x7fffffff})
        CHECK_EQ(instance->dispatch(opcode), intptr_t(0));
    CHECK_EQ(instance->dispatch(vst::effGetProgram), intptr_t(0));
}

CHECK_GROUP("sample rate and block size reach the instance") {
    auto instance = openInstance();
    Inside equalizer = inside(*instance);
    CHECK(equalizer.sampleRate() == 44100.0f);
    CHECK_EQ(equalizer.blockSize(), 1024);
    instance->dispatch(vst::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    instance->dispatch(vst::effSetBlockSize, 0, 256);
    CHECK(equalizer.sampleRate() == 48000.0f);
    CHECK_EQ(equalizer.blockSize(), 256);
}

CHECK_GROUP("the instance hook keeps to the bank") {
    auto instance = openInstance();
    Inside equalizer = inside(*instance);
    // Numbers outside the bank or the bands reach nothing and read as -1.
    for (int32_t program : {-2, 16, 255}) {
        equalizer.setBand(Inside::kLeft, 0, 0.9f, program);
        CHECK(equalizer.band(Inside::kLeft, 0, program) == -1.0f);
    }
    for (int band : {-1, 30}) {
        equalizer.setBand(Inside::kRight, band, 0.9f);
        CHECK(equalizer.band(Inside::kRight, band) == -1.0f);
    }
    for (int32_t program = 0; program < 16; ++program)
        CHECK(equalizer.band(Inside::kLeft, 0, program) == 0.5f);
    // The current program is the one the host chose.
    instance->dispatch(vst::effSetProgram, 0, 4);
    equalizer.setBand(Inside::kRight, 29, 0.25f);
    CHECK(equalizer.band(Inside::kRight, 29, 4) == 0.25f);
    CHECK(equalizer.band(Inside::kRight, 29, 0) == 0.5f);
}

CHECK_GROUP("two instances are independent") {
    auto first = openInstance();
    auto second = openInstance();
    CHECK(first->record() != second->record());
    first->dispatch(vst::effSetProgram, 0, 7);
    char name[] = "Only the first";
    first->dispatch(vst::effSetProgramName, 0, 0, name);
    CHECK_EQ(second->dispatch(vst::effGetProgram), intptr_t(0));
    second->dispatch(vst::effSetProgram, 0, 7);
    CHECK_TEXT(second->text(vst::effGetProgramName), "Default EQ");
    CHECK_TEXT(first->text(vst::effGetProgramName), "Only the first");

    inside(*first).setBand(Inside::kLeft, 3, 0.9f, 7);
    CHECK(inside(*second).band(Inside::kLeft, 3, 7) == 0.5f);
    CHECK(inside(*first).editor() != inside(*second).editor());
}

CHECK_GROUP("close answers 1 and ends the instance") {
    for (int round = 0; round < 3; ++round) {
        auto instance = openInstance();
        instance->dispatch(vst::effOpen);
        instance->dispatch(vst::effMainsChanged, 0, 1);
        instance->dispatch(vst::effMainsChanged, 0, 0);
        CHECK_EQ(instance->close(), intptr_t(1));
    }
}

CHECK_GROUP("the inert parameters") {
    auto instance = openInstance();
    vst::AEffect* record = instance->record();
    for (int32_t index : {0, 59, 60, -1}) {
        record->setParameter(record, index, 1.0f);
        CHECK(record->getParameter(record, index) == 0.0f);
    }
}

}  // namespace
}  // namespace vorn::checks
