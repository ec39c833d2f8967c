// Programs, names and the version-2 answers, as a host reads them.

#include <cstring>

#include "tests/through_entry/check.h"
#include "tests/through_entry/plugin_under_test.h"

namespace vorn::checks {
namespace {

constexpr unsigned char kUnwritten = 0xAB;

// Sends a text opcode into a buffer filled with a marker and answers the
// number of bytes written, NUL included (the first run of changed bytes).
struct TextAnswer {
    intptr_t result;
    std::string text;
    size_t bytesWritten;
};

TextAnswer askText(testhost::PluginInstance& plugin, int32_t opcode, int32_t index = 0,
                   intptr_t value = 0) {
    unsigned char buffer[128];
    std::memset(buffer, kUnwritten, sizeof buffer);
    intptr_t result = plugin.dispatch(opcode, index, value, buffer);
    size_t written = 0;
    while (written < sizeof buffer && buffer[written] != kUnwritten) ++written;
    size_t length = strnlen(reinterpret_cast<char*>(buffer), written);
    return {result, std::string(reinterpret_cast<char*>(buffer), length), written};
}

CHECK_GROUP("names and their byte counts") {
    auto plugin = openInstance();
    TextAnswer effect = askText(*plugin, vst::effGetEffectName);
    CHECK_EQ(effect.result, intptr_t(1));
    CHECK_TEXT(effect.text, "Vorn Demo");
    CHECK_EQ(effect.bytesWritten, size_t(10));
    TextAnswer product = askText(*plugin, vst::effGetProductString);
    CHECK_EQ(product.result, intptr_t(1));
    CHECK_TEXT(product.text, "Vorn Demo");
    CHECK_EQ(product.bytesWritten, size_t(10));
    TextAnswer vendor = askText(*plugin, vst::effGetVendorString);
    CHECK_EQ(vendor.result, intptr_t(1));
    CHECK_TEXT(vendor.text, "Tarnwell");
    CHECK_EQ(vendor.bytesWritten, size_t(9));
    for (int32_t index : {0, 59, 1000}) {
        TextAnswer name = askText(*plugin, vst::effGetParamName, index);
        CHECK_TEXT(name.text, "Demo");
        CHECK_EQ(name.bytesWritten, size_t(5));
        CHECK_EQ(askText(*plugin, vst::effGetParamLabel, index).bytesWritten, size_t(1));
        CHECK_EQ(askText(*plugin, vst::effGetParamDisplay, index).bytesWritten, size_t(1));
    }
    TextAnswer program = askText(*plugin, vst::effGetProgramName);
    CHECK_TEXT(program.text, "Default EQ");
    CHECK_EQ(program.bytesWritten, size_t(11));
}

CHECK_GROUP("programs by index") {
    auto plugin = openInstance();
    for (int32_t index = 0; index < 16; ++index) {
        TextAnswer name = askText(*plugin, vst::effGetProgramNameIndexed, index);
        CHECK_EQ(name.result, intptr_t(1));
        CHECK_TEXT(name.text, "Default EQ");
    }
    plugin->dispatch(vst::effSetProgram, 0, 3);
    char newName[] = "Vocal 100% presence";
    plugin->dispatch(vst::effSetProgramName, 0, 0, newName);
    CHECK_TEXT(askText(*plugin, vst::effGetProgramName).text, newName);
    TextAnswer indexed = askText(*plugin, vst::effGetProgramNameIndexed, 3, 5);
    CHECK_EQ(indexed.result, intptr_t(1));
    CHECK_TEXT(indexed.text, newName);
    CHECK_TEXT(askText(*plugin, vst::effGetProgramNameIndexed, 2).text, "Default EQ");
    CHECK_TEXT(askText(*plugin, vst::effGetProgramNameIndexed, 4).text, "Default EQ");
    for (int32_t outside : {-1, 16, 1000}) {
        TextAnswer none = askText(*plugin, vst::effGetProgramNameIndexed, outside);
        CHECK_EQ(none.result, intptr_t(0));
        CHECK_EQ(none.bytesWritten, size_t(0));
    }
}

CHECK_GROUP("a long program name is cut to the field") {
    auto plugin = openInstance();
    char longName[] = "A program name far longer than thirty-one characters";
    plugin->dispatch(vst::effSetProgramName, 0, 0, longName);
    TextAnswer name = askText(*plugin, vst::effGetProgramName);
    CHECK_EQ(name.text.size(), size_t(31));
    CHECK_EQ(name.bytesWritten, size_t(32));
    CHECK_TEXT(name.text, std::string(longName, 31));
    CHECK_TEXT(askText(*plugin, vst::effGetProgramNameIndexed, 1).text, "Default EQ");
}

CHECK_GROUP("null text pointers are harmless") {
    auto plugin = openInstance();
    for (int32_t opcode : {vst::effSetProgramName, vst::effGetProgramName, vst::effGetParamLabel,
                           vst::effGetParamDisplay, vst::effGetParamName,
                           vst::effGetProgramNameIndexed, vst::effGetEffectName,
                           vst::effGetVendorString, vst::effGetProductString, vst::effCanDo,
                           vst::effString2Parameter, vst::effGetErrorText})
        CHECK_EQ(plugin->dispatch(opcode, 0, 0, nullptr), intptr_t(0));
    CHECK_TEXT(askText(*plugin, vst::effGetProgramName).text, "Default EQ");
}

CHECK_GROUP("version-2 answers") {
    auto plugin = openInstance();
    CHECK_EQ(plugin->dispatch(vst::effGetVstVersion), intptr_t(2200));
    CHECK_EQ(plugin->dispatch(vst::effKeysRequired), intptr_t(1));
    CHECK_EQ(plugin->dispatch(vst::effGetPlugCategory), intptr_t(0));
    CHECK_EQ(plugin->dispatch(vst::effGetNumProgramCategories), intptr_t(1));
    CHECK_EQ(plugin->dispatch(vst::effGetCurrentMidiProgram), intptr_t(-1));
    for (int32_t index : {0, 59, 60, -1}) {
        CHECK_EQ(plugin->dispatch(vst::effCanBeAutomated, index), intptr_t(1));
        CHECK_EQ(plugin->dispatch(vst::effConnectInput, index, 0), intptr_t(1));
        CHECK_EQ(plugin->dispatch(vst::effConnectOutput, index, 1), intptr_t(1));
    }
    const char* texts[] = {"2in2out", "1in1out", "receiveVstEvents", "plugAsChannelInsert",
                           "sendVstMidiEvent", "midiProgramNames", "bypass", "", "noSuchThing"};
    for (const char* text : texts)
        CHECK_EQ(plugin->dispatch(vst::effCanDo, 0, 0, const_cast<char*>(text)), intptr_t(0));
    CHECK_EQ(plugin->dispatch(vst::effSetBypass, 0, 1), intptr_t(0));
    CHECK_EQ(plugin->dispatch(vst::effGetTailSize), intptr_t(0));
    CHECK_EQ(plugin->dispatch(vst::effGetVendorVersion), intptr_t(0));
    CHECK_EQ(plugin->dispatch(vst::effProcessEvents), intptr_t(0));
    CHECK_EQ(plugin->dispatch(vst::effGetIcon), intptr_t(0));
    for (int32_t opcode : {69, -1, -2, -100})
        CHECK_EQ(plugin->dispatch(opcode), intptr_t(0));
}

CHECK_GROUP("block size and sample rate together") {
    auto plugin = openInstance();
    CHECK_EQ(plugin->dispatch(vst::effSetBlockSizeAndSampleRate, 0, 512, nullptr, 48000.0f), intptr_t(1));
    Inside equalizer = inside(*plugin);
    CHECK_EQ(equalizer.blockSize(), 512);
    CHECK(equalizer.sampleRate() == 48000.0f);
}

CHECK_GROUP("the editor's key opcodes") {
    auto plugin = openInstance();
    CHECK_EQ(plugin->dispatch(vst::effEditKeyDown, 'a', 0, nullptr, 3.9f), intptr_t(-1));
    CHECK_EQ(plugin->dispatch(vst::effEditKeyUp, 'a', 0, nullptr, -1.0f), intptr_t(-1));
    CHECK_EQ(plugin->dispatch(vst::effSetEditKnobMode, 0, 2), intptr_t(0));
}

CHECK_GROUP("the synth flag sets the category") {
    auto plugin = openInstance();
    Inside equalizer = inside(*plugin);
    equalizer.setIsSynth(true);
    CHECK_EQ(plugin->dispatch(vst::effGetPlugCategory), intptr_t(2));
    CHECK_EQ(plugin->record()->flags, 57 | 256);
    equalizer.setIsSynth(false);
    CHECK_EQ(plugin->dispatch(vst::effGetPlugCategory), intptr_t(0));
    CHECK_EQ(plugin->record()->flags, 57);
}

}  // namespace
}  // namespace vorn::checks
