// A small host: loads the plug-in the way a real host does, talks to it only
// through its exported entry point and record, and prints what it sees.
//   vorn_host [library]
// or, in the Windows build, one of the editor modes (editor_modes.h).

#include <cstdio>
#include <string>
#include <vector>

#include "tools/testhost/editor_modes.h"
#include "tools/testhost/host_callback.h"
#include "tools/testhost/plugin_instance.h"
#include "tools/testhost/plugin_library.h"
#include "tools/common/signal.h"

namespace {

using namespace vorn;

#if defined(_WIN32)
constexpr const char* kDefaultLibrary = "Vorn.dll";
#else
constexpr const char* kDefaultLibrary = "Vorn.so";
#endif

std::string fourCharacters(int32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) text += char((uint32_t(code) >> shift) & 0xff);
    return text;
}

void printRecord(testhost::PluginInstance& plugin) {
    const vst::AEffect& record = *plugin.record();
    std::printf("record: magic \"%s\", %d programs, %d parameters, %d in, %d out, flags %d, "
                "unique id \"%s\", version %d\n",
                fourCharacters(record.magic).c_str(), record.numPrograms, record.numParams,
                record.numInputs, record.numOutputs, record.flags,
                fourCharacters(record.uniqueID).c_str(), record.version);
    std::printf("names: effect \"%s\", vendor \"%s\", product \"%s\", VST version %ld\n",
                plugin.text(vst::effGetEffectName).c_str(),
                plugin.text(vst::effGetVendorString).c_str(),
                plugin.text(vst::effGetProductString).c_str(),
                long(plugin.dispatch(vst::effGetVstVersion)));
    std::printf("programs:");
    for (int32_t index = 0; index < record.numPrograms; ++index)
        std::printf("%s \"%s\"", index ? "," : "",
                    plugin.text(vst::effGetProgramNameIndexed, index).c_str());
    std::printf("\n");
}

void processSine(testhost::PluginInstance& plugin, double sampleRate) {
    constexpr size_t kBlock = 512;
    constexpr int kBlocks = 40;
    std::vector<float> outLeft(kBlock), outRight(kBlock);
    double inputRms = 0.0, outputRms = 0.0;
    for (int block = 0; block < kBlocks; ++block) {
        auto left = signals::sine(1000.0, sampleRate, 0.5, kBlock, block * kBlock);
        auto right = left;
        inputRms = signals::rms(left);
        plugin.processReplacing(left, right, outLeft, outRight);
        outputRms = signals::rms(outLeft);
    }
    std::printf("audio: 1000 Hz sine at %.0f Hz in %d blocks of %zu: in %.2f dBFS, out %.2f dBFS "
                "(gain %+.3f dB)\n",
                sampleRate, kBlocks, kBlock, signals::decibels(inputRms),
                signals::decibels(outputRms), signals::decibels(outputRms / inputRms));
}

}  // namespace

int main(int argc, char** argv) {
    const int editorStatus = testhost::runEditorMode(argc, argv);
    if (editorStatus >= 0) return editorStatus;

    const std::string path = argc > 1 ? argv[1] : kDefaultLibrary;
    testhost::PluginLibrary library;
    if (!library.load(path)) {
        std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), library.error().c_str());
        return 1;
    }
    vst::EntryProc entry = library.entry("main");
    if (!entry) {
        std::fprintf(stderr, "%s exports no main\n", path.c_str());
        return 1;
    }
    vst::AEffect* record = entry(testhost::hostCallback);
    if (!record || record->magic != vst::kEffectMagic) {
        std::fprintf(stderr, "%s made no instance\n", path.c_str());
        return 1;
    }
    std::printf("loaded %s\n", path.c_str());
    testhost::PluginInstance plugin(record);
    plugin.dispatch(vst::effOpen);
    plugin.dispatch(vst::effSetSampleRate, 0, 0, nullptr, 48000.0f);
    plugin.dispatch(vst::effSetBlockSize, 0, 512);
    printRecord(plugin);
    plugin.dispatch(vst::effMainsChanged, 0, 1);
    processSine(plugin, 48000.0);
    plugin.dispatch(vst::effMainsChanged, 0, 0);
    std::printf("close: %ld\n", long(plugin.close()));
    return 0;
}
