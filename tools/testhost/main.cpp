// A small host: loads the plug-in the way a real host does, talks to it only
// through its exported entry point and record, and prints what it sees and
// the gain a 1 kHz sine gets on each channel.
//   vorn_host [--load-bank <file.fxb>] [--save-bank <file.fxb>] [library]
//     --load-bank puts a bank file's settings into the instance first,
//     --save-bank saves the instance's bank at the end.
// or, in the Windows build, one of the editor modes (editor_modes.h).

#include <cstdio>
#include <string>
#include <vector>

#include "tools/testhost/bank_file.h"
#include "tools/testhost/editor_check_support.h"
#include "tools/testhost/editor_modes.h"
#include "tools/testhost/host_callback.h"
#include "tools/testhost/plugin_instance.h"
#include "tools/testhost/plugin_library.h"

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

// The host's own options, taken from the front of the command line.
struct Options {
    std::string loadBank;
    std::string saveBank;
    std::string library = kDefaultLibrary;
};

bool parseOptions(int argc, char** argv, Options& options) {
    int next = 1;
    for (; next + 1 < argc; next += 2) {
        const std::string name = argv[next];
        if (name == "--load-bank")
            options.loadBank = argv[next + 1];
        else if (name == "--save-bank")
            options.saveBank = argv[next + 1];
        else
            break;
    }
    if (next < argc) options.library = argv[next++];
    return next == argc && (options.library.empty() || options.library[0] != '-');
}

}  // namespace

int main(int argc, char** argv) {
    const int editorStatus = testhost::runEditorMode(argc, argv);
    if (editorStatus >= 0) return editorStatus;

    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: %s [--load-bank <file.fxb>] [--save-bank <file.fxb>] [library]\n",
                     argv[0]);
        return 2;
    }
    const std::string& path = options.library;
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
    plugin.dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(testhost::kSampleRate));
    plugin.dispatch(vst::effSetBlockSize, 0, testhost::kBlockFrames);
    printRecord(plugin);
    std::string error;
    if (!options.loadBank.empty()) {
        if (!testhost::loadBankFile(plugin, options.loadBank, error)) {
            std::fprintf(stderr, "cannot load the bank %s: %s\n", options.loadBank.c_str(),
                         error.c_str());
            return 1;
        }
        std::printf("bank: loaded %s; current program %ld, \"%s\"\n", options.loadBank.c_str(),
                    long(plugin.dispatch(vst::effGetProgram)),
                    plugin.text(vst::effGetProgramName).c_str());
    }
    plugin.dispatch(vst::effMainsChanged, 0, 1);
    testhost::printSineGain(plugin, "audio");
    plugin.dispatch(vst::effMainsChanged, 0, 0);
    if (!options.saveBank.empty()) {
        if (!testhost::saveBankFile(plugin, options.saveBank, error)) {
            std::fprintf(stderr, "cannot save the bank: %s\n", error.c_str());
            return 1;
        }
        std::printf("bank: saved as %s\n", options.saveBank.c_str());
    }
    std::printf("close: %ld\n", long(plugin.close()));
    return 0;
}
