#include "tools/testhost/editor_check_support.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "tools/common/picture_file.h"
#include "tools/common/signal.h"
#include "tools/testhost/bank_file.h"
#include "tools/testhost/host_callback.h"

namespace vorn::testhost {
namespace {

constexpr int kBlocks = 100;  // the first half lets the filters settle
constexpr double kSineAmplitude = 0.25;

}  // namespace

bool CheckList::check(bool passed, const std::string& what) {
    std::printf("%s %s\n", passed ? "ok  " : "FAIL", what.c_str());
    std::fflush(stdout);
    if (!passed) ++failed;
    return passed;
}

int CheckList::exitCode() const {
    std::printf("editor check: %d failed\n", failed);
    return failed ? 1 : 0;
}

std::string format(const char* pattern, double first, double second, double third) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, first, second, third);
    return text;
}

std::string sizeText(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

bool LoadedPlugin::load(const std::string& path) {
    if (!library.load(path)) {
        std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), library.error().c_str());
        return false;
    }
    instance = startInstance();
    if (!instance) std::fprintf(stderr, "%s made no instance\n", path.c_str());
    return instance != nullptr;
}

std::unique_ptr<PluginInstance> LoadedPlugin::startInstance() {
    vst::EntryProc entry = library.entry("main");
    vst::AEffect* record = entry ? entry(hostCallback) : nullptr;
    if (!record || record->magic != vst::kEffectMagic) return nullptr;
    auto started = std::make_unique<PluginInstance>(record);
    started->dispatch(vst::effOpen);
    started->dispatch(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
    started->dispatch(vst::effSetBlockSize, 0, kBlockFrames);
    started->dispatch(vst::effMainsChanged, 0, 1);
    return started;
}

void LoadedPlugin::stop(std::unique_ptr<PluginInstance>& instance) {
    if (!instance) return;
    instance->dispatch(vst::effMainsChanged, 0, 0);
    instance->close();
    instance.reset();
}

int writeCapture(bool captured, const tools::Picture& picture, const std::string& path) {
    if (!captured || !tools::writePicture(path, picture)) {
        std::fprintf(stderr, "cannot capture the editor into %s\n", path.c_str());
        return 1;
    }
    std::printf("wrote %s (%dx%d)\n", path.c_str(), picture.width, picture.height);
    return 0;
}

void measureSineGain(PluginInstance& plugin, double& leftDb, double& rightDb) {
    std::vector<float> outLeft(kBlockFrames), outRight(kBlockFrames);
    double inputEnergy = 0.0, leftEnergy = 0.0, rightEnergy = 0.0;
    for (int block = 0; block < kBlocks; ++block) {
        auto left = signals::sine(1000.0, kSampleRate, kSineAmplitude, kBlockFrames,
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

void printSineGain(PluginInstance& plugin, const char* what) {
    double leftDb = 0.0, rightDb = 0.0;
    measureSineGain(plugin, leftDb, rightDb);
    std::printf("%s: 1 kHz gain left %+.3f dB, right %+.3f dB\n", what, leftDb, rightDb);
}

int saveDemoBank(PluginInstance& plugin, const std::string& bankPath) {
    if (bankPath.empty()) return 0;
    printSineGain(plugin, "after the demo drags");
    std::string error;
    if (!saveBankFile(plugin, bankPath, error)) {
        std::fprintf(stderr, "cannot save the bank: %s\n", error.c_str());
        return 1;
    }
    std::printf("saved the bank the drags made as %s\n", bankPath.c_str());
    return 0;
}

void checkDraggedThumbs(const tools::Picture& dragged, CheckList& checks) {
    const std::string band = "band " + std::to_string(kDraggedBand);
    const std::string fullRow = "row " + std::to_string(kFullValueIndexRow);
    const std::string flatRow = "row " + std::to_string(kFlatIndexRow);
    checks.check(dragged.at(kDragX, kFullValueIndexRow) == kIndexLine,
                 band + "'s left thumb now has its index line on " + fullRow);
    checks.check(dragged.at(kDragX, kFlatIndexRow) != kIndexLine, "and has left " + flatRow);
    checks.check(dragged.at(kRightThumbMiddleX, kFlatIndexRow) == kIndexLine,
                 band + "'s right thumb stays on " + flatRow);
}

void checkDraggedGain(PluginInstance& plugin, CheckList& checks) {
    double leftDb = 0.0, rightDb = 0.0;
    measureSineGain(plugin, leftDb, rightDb);
    checks.check(std::fabs(leftDb - kExpectedLeftDb) <= kLeftToleranceDb,
                 format("1 kHz sine, left channel: %+.3f dB (%+.0f +-%.1f)", leftDb,
                        kExpectedLeftDb, kLeftToleranceDb));
    checks.check(std::fabs(rightDb) <= kRightToleranceDb,
                 format("1 kHz sine, right channel: %+.4f dB (0 +-%.2f)", rightDb,
                        kRightToleranceDb));
}

}  // namespace vorn::testhost
