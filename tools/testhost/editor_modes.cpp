#include "tools/testhost/editor_modes.h"

#include <cstdio>
#include <string>

#include "tools/testhost/editor_checks.h"

namespace vorn::testhost {

int runEditorMode(int argc, char** argv) {
    if (argc < 2) return -1;
    const std::string mode = argv[1];
    if (mode != "--editor-check" && mode != "--editor-capture") return -1;
    const bool check = mode == "--editor-check";
    // The capture mode takes a bank file after its picture; the check mode
    // a demo picture, and then a bank file for it.
    const int most = check ? 6 : 5;
    if (argc < 4 || argc > most) {
        std::fprintf(stderr, "usage: %s %s <library> <picture file>%s\n", argv[0], mode.c_str(),
                     check ? " [<demo picture file> [<bank file>]]" : " [<bank file>]");
        return 2;
    }
    const std::string bank = argc == most ? argv[most - 1] : "";
    if (!check) return editorCapture(argv[2], argv[3], bank);
    const int checkStatus = editorCheck(argv[2], argv[3]);
    const int captureStatus = argc >= 5 ? editorCapture(argv[2], argv[4], bank) : 0;
    return checkStatus ? checkStatus : captureStatus;
}

}  // namespace vorn::testhost
