#pragma once
// What the editor checks of every platform share: the list of checks and its
// exit code, the plug-in loaded at the demo rate, the drag they all make and
// the sine that hears it.

#include <memory>
#include <string>

#include "common/editor_layout.h"
#include "engine/bands.h"
#include "tools/common/editor_demo.h"
#include "tools/common/picture.h"
#include "tools/testhost/plugin_instance.h"
#include "tools/testhost/plugin_library.h"

namespace vorn::testhost {

constexpr int kIdleCalls = 10;

// The drag the checks make: band 16 (1 kHz) left slider from its flat row to
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
constexpr tools::Rgb kGround = layout::colour::kGround;
constexpr tools::Rgb kIndexLine = layout::colour::kThumbIndex;

class CheckList {
public:
    // Prints one line; answers `passed`.
    bool check(bool passed, const std::string& what);
    int failures() const { return failed; }
    int exitCode() const;  // prints the summary

private:
    int failed = 0;
};

std::string format(const char* pattern, double first, double second = 0.0, double third = 0.0);
std::string sizeText(int width, int height);

// A loaded library with one open instance at the demo rate, audio running;
// more instances of the same library on request.
struct LoadedPlugin {
    PluginLibrary library;
    std::unique_ptr<PluginInstance> instance;

    bool load(const std::string& path);
    // Another instance through the entry, opened like the first; null if the
    // entry made none.
    std::unique_ptr<PluginInstance> startInstance();
    // Audio off and effClose; the instance is gone afterwards.
    static void stop(std::unique_ptr<PluginInstance>& instance);
    void unload() { stop(instance); }
};

// Writes a captured editor to `path` and says so; answers the exit code
// (0, or 1 if the capture failed or the file could not be written).
int writeCapture(bool captured, const tools::Picture& picture, const std::string& path);

// The gain of each channel for a 1 kHz sine, over the settled second half.
void measureSineGain(PluginInstance& plugin, double& leftDb, double& rightDb);
// Measures and prints it: "<what>: 1 kHz gain left +x.xxx dB, right +y.yyy dB".
void printSineGain(PluginInstance& plugin, const char* what);

// Saves the instance's bank as a bank file (unless `bankPath` is empty),
// with the gain it gives printed first. Answers the exit code.
int saveDemoBank(PluginInstance& plugin, const std::string& bankPath);

// The end of every demo capture, after the drag: the demo's sine through the
// instance a block at a time with an idle call after each, so that the editor
// shows the meters while they move; then time to show where they settled, the
// picture written, and the bank the drags made saved if asked for. Answers
// the exit code, as writeCapture.
template <typename Session>
int captureAfterDemo(Session& session, PluginInstance& instance, const std::string& picturePath,
                     const std::string& bankPath) {
    for (int block = 0; block < tools::demo::kBlocks; ++block) {
        tools::demo::playBlock(instance.record(), block);
        session.idle(1);
    }
    session.idle(kIdleCalls);
    tools::Picture picture;
    const int status = writeCapture(session.capture(picture), picture, picturePath);
    return status ? status : saveDemoBank(instance, bankPath);
}

// The checks a capture after the drag makes: band 16's left thumb at the top
// of its travel, its right thumb still flat.
void checkDraggedThumbs(const tools::Picture& dragged, CheckList& checks);
// The 1 kHz sine: the drag's gain on the left, none on the right.
void checkDraggedGain(PluginInstance& plugin, CheckList& checks);

}  // namespace vorn::testhost
