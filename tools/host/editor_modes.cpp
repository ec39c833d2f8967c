#include "tools/host/editor_modes.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#if defined(_WIN32)
#include "tools/common/editor_demo.h"
#include "tools/common/picture_file.h"
#include "tools/host/editor_session.h"
#include "tools/host/host_callback.h"
#include "tools/host/plugin_library.h"
#include "tools/host/signal.h"
#endif

namespace vorn::testhost {

#if defined(_WIN32)
namespace {

constexpr int kEditorWidth = 700;
constexpr int kEditorHeight = 180;
constexpr int kIdleCalls = 10;

// The drag the check makes: band 16 (1 kHz) left slider from its flat row to
// above the top of its travel, which sets +12 dB on the left channel only.
constexpr int kDraggedBand = 16;
constexpr int kDragX = 8 + 23 * kDraggedBand + 5;  // inside the left thumb, off the right zone
constexpr int kDragFromY = 100;
constexpr int kDragToY = 20;
constexpr int kFullValueIndexRow = 34;  // a thumb at 1.0 has its index line here
constexpr int kFlatIndexRow = 92;
constexpr int kRightThumbMiddleX = kDragX + 10;
constexpr double kExpectedLeftDb = 12.0;
constexpr double kLeftToleranceDb = 0.1;
constexpr double kRightToleranceDb = 0.01;

constexpr double kSampleRate = 48000.0;
constexpr int kBlockFrames = 480;  // ten periods of 1 kHz: whole periods in every block
constexpr int kBlocks = 100;       // the first half lets the filters settle
constexpr tools::Rgb kGround = {91, 118, 162};
constexpr tools::Rgb kBlack = {0, 0, 0};

class CheckList {
public:
    bool check(bool passed, const std::string& what) {
        std::printf("%s %s\n", passed ? "ok  " : "FAIL", what.c_str());
        std::fflush(stdout);
        if (!passed) ++failures;
        return passed;
    }
    int exitCode() const {
        std::printf("editor check: %d failed\n", failures);
        return failures ? 1 : 0;
    }

private:
    int failures = 0;
};

std::string format(const char* pattern, double a, double b = 0.0) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, a, b);
    return text;
}

// A loaded library with one open instance at the demo rate, audio running.
struct LoadedPlugin {
    PluginLibrary library;
    std::unique_ptr<PluginInstance> instance;

    bool load(const std::string& path) {
        if (!library.load(path)) {
            std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), library.error().c_str());
            return false;
        }
        vst::EntryProc entry = library.entry("main");
        vst::AEffect* record = entry ? entry(hostCallback) : nullptr;
        if (!record || record->magic != vst::kEffectMagic) {
            std::fprintf(stderr, "%s made no instance\n", path.c_str());
            return false;
        }
        instance = std::make_unique<PluginInstance>(record);
        instance->dispatch(vst::effOpen);
        instance->dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
        instance->dispatch(vst::effSetBlockSize, 0, kBlockFrames);
        instance->dispatch(vst::effMainsChanged, 0, 1);
        return true;
    }

    void unload() {
        if (!instance) return;
        instance->dispatch(vst::effMainsChanged, 0, 0);
        instance->close();
        instance.reset();
    }
};

// The gain of each channel for a 1 kHz sine, over the settled second half.
void measureSineGain(PluginInstance& plugin, double& leftDb, double& rightDb) {
    std::vector<float> outLeft(kBlockFrames), outRight(kBlockFrames);
    double inputEnergy = 0.0, leftEnergy = 0.0, rightEnergy = 0.0;
    for (int block = 0; block < kBlocks; ++block) {
        auto left = sine(1000.0, kSampleRate, 0.25, kBlockFrames,
                         static_cast<size_t>(block) * kBlockFrames);
        auto right = left;
        const double blockInput = rms(left);
        plugin.processReplacing(left, right, outLeft, outRight);
        if (block < kBlocks / 2) continue;
        const double blockLeft = rms(outLeft), blockRight = rms(outRight);
        inputEnergy += blockInput * blockInput;
        leftEnergy += blockLeft * blockLeft;
        rightEnergy += blockRight * blockRight;
    }
    leftDb = 10.0 * std::log10(leftEnergy / inputEnergy);
    rightDb = 10.0 * std::log10(rightEnergy / inputEnergy);
}

void openAndInspect(EditorSession& session, CheckList& checks) {
    const vst::ERect* rect = nullptr;
    const intptr_t rectAnswer = session.editorRect(rect);
    checks.check(rectAnswer == 1 && rect != nullptr, "effEditGetRect answers 1 with a rectangle");
    if (rect)
        checks.check(rect->top == 0 && rect->left == 0 && rect->bottom == kEditorHeight &&
                         rect->right == kEditorWidth,
                     "rectangle top " + std::to_string(rect->top) + ", left " +
                         std::to_string(rect->left) + ", bottom " + std::to_string(rect->bottom) +
                         ", right " + std::to_string(rect->right) + " (0, 0, 180, 700)");

    checks.check(session.open() == 1, "effEditOpen answers 1");
    checks.check(session.findEditorWindow() != nullptr,
                 "a child window of class VSTEditorClass is in the frame");
    int width = 0, height = 0;
    session.editorWindowSize(width, height);
    checks.check(width == kEditorWidth && height == kEditorHeight,
                 "its client area is " + std::to_string(width) + "x" + std::to_string(height) +
                     " (700x180)");
    checks.check(session.editorWindowName() == "Window",
                 "its window name is \"" + session.editorWindowName() + "\" (\"Window\")");
    checks.check(session.editorWindowIsChildOfFrame(), "it is a visible child of the frame");
}

void dragAndListen(EditorSession& session, PluginInstance& plugin, CheckList& checks) {
    session.pressLeftButton(kDragX, kDragFromY);
    session.movePointer(kDragX, kDragToY, true);
    session.releaseLeftButton(kDragX, kDragToY);
    session.idle(kIdleCalls);

    tools::Picture dragged;
    if (checks.check(session.capture(dragged), "capture after dragging band 16 left to y 20")) {
        checks.check(dragged.at(kDragX, kFullValueIndexRow) == kBlack,
                     "band 16's left thumb now has its index line on row 34");
        checks.check(dragged.at(kDragX, kFlatIndexRow) != kBlack,
                     "and has left row 92");
        checks.check(dragged.at(kRightThumbMiddleX, kFlatIndexRow) == kBlack,
                     "band 16's right thumb stays on row 92");
    }

    double leftDb = 0.0, rightDb = 0.0;
    measureSineGain(plugin, leftDb, rightDb);
    checks.check(std::fabs(leftDb - kExpectedLeftDb) <= kLeftToleranceDb,
                 format("1 kHz sine, left channel: %+.3f dB (+12 +-0.1)", leftDb));
    checks.check(std::fabs(rightDb) <= kRightToleranceDb,
                 format("1 kHz sine, right channel: %+.4f dB (0 +-0.01)", rightDb));
}

int editorCheck(const std::string& libraryPath, const std::string& capturePath) {
    LoadedPlugin plugin;
    if (!plugin.load(libraryPath)) return 1;
    CheckList checks;
    {
        EditorSession session(*plugin.instance);
        if (!checks.check(session.createFrame(), "host frame window created"))
            return checks.exitCode();
        openAndInspect(session, checks);
        checks.check(EditorSession::editorClassRegistered(libraryPath),
                     "the window class is registered with the library's module while open");

        session.idle(kIdleCalls);
        tools::Picture picture;
        if (checks.check(session.capture(picture), "editor pixels captured after idle calls")) {
            checks.check(picture.at(1, 1) == kGround, "the capture shows the painted background");
            checks.check(tools::writePicture(capturePath, picture), "capture written to " + capturePath);
        }

        dragAndListen(session, *plugin.instance, checks);

        session.close();
        checks.check(session.findEditorWindow() == nullptr,
                     "effEditClose removes the editor's window");
        checks.check(!EditorSession::editorClassRegistered(libraryPath),
                     "and unregisters the window class");
    }
    plugin.unload();
    return checks.exitCode();
}

int editorCapture(const std::string& libraryPath, const std::string& picturePath) {
    LoadedPlugin plugin;
    if (!plugin.load(libraryPath)) return 1;
    int status = 1;
    {
        EditorSession session(*plugin.instance);
        if (session.createFrame() && session.open() == 1 && session.findEditorWindow()) {
            for (const tools::demo::Drag& step : tools::demo::drags()) {
                session.pressLeftButton(step.x, step.y);
                session.movePointer(step.x, step.y, true);
                session.releaseLeftButton(step.x, step.y);
            }
            tools::demo::playSine(plugin.instance->record());
            session.idle(kIdleCalls);
            tools::Picture picture;
            if (session.capture(picture) && tools::writePicture(picturePath, picture)) {
                std::printf("wrote %s (%dx%d)\n", picturePath.c_str(), picture.width,
                            picture.height);
                status = 0;
            } else {
                std::fprintf(stderr, "cannot capture the editor into %s\n", picturePath.c_str());
            }
        } else {
            std::fprintf(stderr, "cannot open the editor in a frame window\n");
        }
    }
    plugin.unload();
    return status;
}

}  // namespace
#endif

int runEditorMode(int argc, char** argv) {
    if (argc < 2) return -1;
    const std::string mode = argv[1];
    if (mode != "--editor-check" && mode != "--editor-capture") return -1;
    const bool check = mode == "--editor-check";
    if (argc != 4 && !(check && argc == 5)) {
        std::fprintf(stderr, "usage: %s %s <library> <picture file>%s\n", argv[0], mode.c_str(),
                     check ? " [<demo picture file>]" : "");
        return 2;
    }
#if defined(_WIN32)
    if (!check) return editorCapture(argv[2], argv[3]);
    const int checkStatus = editorCheck(argv[2], argv[3]);
    const int captureStatus = argc == 5 ? editorCapture(argv[2], argv[4]) : 0;
    return checkStatus ? checkStatus : captureStatus;
#else
    std::fprintf(stderr, "%s needs the Windows build of the host\n", mode.c_str());
    return 2;
#endif
}

}  // namespace vorn::testhost
