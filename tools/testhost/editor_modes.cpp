#include "tools/testhost/editor_modes.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#if defined(_WIN32)
#include "common/editor_layout.h"
#include "engine/bands.h"
#include "tools/common/editor_demo.h"
#include "tools/common/picture_file.h"
#include "tools/testhost/editor_session.h"
#include "tools/testhost/host_callback.h"
#include "tools/testhost/plugin_library.h"
#include "tools/common/signal.h"
#endif

namespace vorn::testhost {

#if defined(_WIN32)
namespace {

constexpr int kIdleCalls = 10;

// The drag the check makes: band 16 (1 kHz) left slider from its flat row to
// above the top of its travel, which sets the largest gain on the left
// channel only.
constexpr int kDraggedBand = 16;
// The middle of each thumb: the left one's is inside the left slider's zone
// and off the right one's.
constexpr int kDragX = layout::leftThumbX(kDraggedBand) + layout::kThumbWidth / 2;
constexpr int kRightThumbMiddleX = layout::rightThumbX(kDraggedBand) + layout::kThumbWidth / 2;
constexpr int kDragFromY = 100;  // on the thumb at its flat row
constexpr int kDragToY = 20;
// Where a thumb's index line sits at the top of the travel and at flat.
constexpr int kFullValueIndexRow = layout::kFullRow;
constexpr int kFlatIndexRow =
    layout::kZeroRow - static_cast<int>(layout::kTravel * kFlatBandValue);
constexpr double kExpectedLeftDb = engine::kMinGainDb + engine::kGainRangeDb;
constexpr double kLeftToleranceDb = 0.1;
constexpr double kRightToleranceDb = 0.01;

// The demo's rate and block, since the capture mode plays the demo's sine
// through the same instance; a block holds ten periods of 1 kHz, so every
// block is whole periods.
constexpr double kSampleRate = tools::demo::kSampleRate;
constexpr int kBlockFrames = tools::demo::kBlockFrames;
constexpr int kBlocks = 100;       // the first half lets the filters settle
constexpr tools::Rgb kGround = layout::colour::kGround;
constexpr tools::Rgb kIndexLine = layout::colour::kThumbIndex;

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

template <typename... Numbers>
std::string format(const char* pattern, Numbers... numbers) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, numbers...);
    return text;
}

std::string sizeText(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
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
        auto left = signals::sine(1000.0, kSampleRate, 0.25, kBlockFrames,
                         static_cast<size_t>(block) * kBlockFrames);
        auto right = left;
        const double blockInput = signals::rms(left);
        plugin.processReplacing(left, right, outLeft, outRight);
        if (block < kBlocks / 2) continue;
        const double blockLeft = signals::rms(outLeft), blockRight = signals::rms(outRight);
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
        checks.check(rect->top == 0 && rect->left == 0 && rect->bottom == layout::kHeight &&
                         rect->right == layout::kWidth,
                     "rectangle top " + std::to_string(rect->top) + ", left " +
                         std::to_string(rect->left) + ", bottom " + std::to_string(rect->bottom) +
                         ", right " + std::to_string(rect->right) + " (0, 0, " +
                         std::to_string(layout::kHeight) + ", " + std::to_string(layout::kWidth) +
                         ")");

    checks.check(session.open() == 1, "effEditOpen answers 1");
    checks.check(session.findEditorWindow() != nullptr,
                 std::string("a child window of class ") + EditorSession::kEditorClassName +
                     " is in the frame");
    int width = 0, height = 0;
    session.editorWindowSize(width, height);
    checks.check(width == layout::kWidth && height == layout::kHeight,
                 "its client area is " + sizeText(width, height) + " (" +
                     sizeText(layout::kWidth, layout::kHeight) + ")");
    const std::string expectedName = EditorSession::kEditorWindowName;
    checks.check(session.editorWindowName() == expectedName,
                 "its window name is \"" + session.editorWindowName() + "\" (\"" + expectedName +
                     "\")");
    checks.check(session.editorWindowIsChildOfFrame(), "it is a visible child of the frame");
}

void dragAndListen(EditorSession& session, PluginInstance& plugin, CheckList& checks) {
    session.pressLeftButton(kDragX, kDragFromY);
    session.movePointer(kDragX, kDragToY, true);
    session.releaseLeftButton(kDragX, kDragToY);
    session.idle(kIdleCalls);

    const std::string band = "band " + std::to_string(kDraggedBand);
    const std::string fullRow = "row " + std::to_string(kFullValueIndexRow);
    const std::string flatRow = "row " + std::to_string(kFlatIndexRow);
    tools::Picture dragged;
    if (checks.check(session.capture(dragged),
                     "capture after dragging " + band + " left to y " + std::to_string(kDragToY))) {
        checks.check(dragged.at(kDragX, kFullValueIndexRow) == kIndexLine,
                     band + "'s left thumb now has its index line on " + fullRow);
        checks.check(dragged.at(kDragX, kFlatIndexRow) != kIndexLine, "and has left " + flatRow);
        checks.check(dragged.at(kRightThumbMiddleX, kFlatIndexRow) == kIndexLine,
                     band + "'s right thumb stays on " + flatRow);
    }

    double leftDb = 0.0, rightDb = 0.0;
    measureSineGain(plugin, leftDb, rightDb);
    checks.check(std::fabs(leftDb - kExpectedLeftDb) <= kLeftToleranceDb,
                 format("1 kHz sine, left channel: %+.3f dB (%+.0f +-%.1f)", leftDb,
                        kExpectedLeftDb, kLeftToleranceDb));
    checks.check(std::fabs(rightDb) <= kRightToleranceDb,
                 format("1 kHz sine, right channel: %+.4f dB (0 +-%.2f)", rightDb,
                        kRightToleranceDb));
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
