// Drives a built plug-in library only through its exported entry point and
// the record it hands back, as a host would, and checks what it sees.
//   vorn_entry_checks <library> [group filter] [bank files]
//   vorn_entry_checks <library> --digest       (prints the arithmetic fingerprint)
//   vorn_entry_checks <library> --with-digest  (every check, then the fingerprint:
//                                               one start of a slow emulated run)
// Bank files, after the rest:
//   --golden-bank <file.fxb>  the checked-in bank an old project holds
//   --save-bank <file.fxb>    where the fingerprint saves the bank it made
//   --load-bank <file.fxb>    a bank another target saved, for the
//                             fingerprint to play instead of its own

#include <cstdio>
#include <cstring>

#include "tests/through_entry/check.h"
#include "tests/through_entry/plugin_under_test.h"
#include "tools/testhost/plugin_library.h"

namespace vorn::checks {

int printArithmeticDigest();

namespace {

testhost::PluginLibrary library;
BankFiles bankFileOptions;

// Takes the bank-file options off the end of the command line; answers the
// number of arguments left, or -1 for one it does not know.
int takeBankFiles(int argc, char** argv) {
    while (argc >= 4) {
        const char* name = argv[argc - 2];
        const char* value = argv[argc - 1];
        if (std::strcmp(name, "--golden-bank") == 0)
            bankFileOptions.golden = value;
        else if (std::strcmp(name, "--save-bank") == 0)
            bankFileOptions.save = value;
        else if (std::strcmp(name, "--load-bank") == 0)
            bankFileOptions.load = value;
        else
            break;
        argc -= 2;
    }
    for (int k = 2; k < argc; ++k)
        if (std::strncmp(argv[k], "--", 2) == 0 && std::strcmp(argv[k], "--digest") != 0 &&
            std::strcmp(argv[k], "--with-digest") != 0)
            return -1;
    return argc;
}

}  // namespace

const BankFiles& bankFiles() { return bankFileOptions; }

vst::EntryProc pluginEntry() { return library.entry("main"); }
vst::EntryProc pluginEntryNamed(const char* name) { return library.entry(name); }

std::unique_ptr<testhost::PluginInstance> openInstance() {
    vst::AEffect* effect = pluginEntry()(testhost::hostCallback);
    if (!effect) return nullptr;
    return std::make_unique<testhost::PluginInstance>(effect);
}

}  // namespace vorn::checks

int main(int argc, char** argv) {
    argc = vorn::checks::takeBankFiles(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr,
                     "usage: %s <plug-in library> [group filter | --digest | --with-digest]"
                     " [--golden-bank <file>] [--save-bank <file>] [--load-bank <file>]\n",
                     argv[0]);
        return 2;
    }
    if (!vorn::checks::library.load(argv[1])) {
        std::printf("cannot load %s: %s\n", argv[1], vorn::checks::library.error().c_str());
        return 2;
    }
    if (!vorn::checks::pluginEntry()) {
        std::printf("%s exports no main\n", argv[1]);
        return 2;
    }
    const char* option = argc > 2 ? argv[2] : nullptr;
    if (option && std::strcmp(option, "--digest") == 0) return vorn::checks::printArithmeticDigest();
    if (option && std::strcmp(option, "--with-digest") == 0) {
        const int status = vorn::checks::runAll(nullptr);
        const int digestStatus = vorn::checks::printArithmeticDigest();
        return status ? status : digestStatus;
    }
    return vorn::checks::runAll(option);
}
