// What a host's idle call costs with the Linux editor open, measured as CPU
// time over 600 calls, in two states: nothing changes between the calls
// (still), or a block of audio between them moves both level bars (levels).
//
//   editor/x11/reference/STATE     the editor in a window of a private Xvfb,
//                                  presenting frames the way it did before:
//                                  every idle call composes the whole
//                                  picture, converts every pixel with
//                                  xcb_image_put_pixel and sends all rows
//                                  (unless the frame equals the last one).
//   editor/x11/changed_rows/STATE  as the module ships it: a frame only when
//                                  something shown changed, and only the
//                                  rows that differ, converted a row at a time.
//   editor/headless/every_idle/STATE, editor/headless/changed_only/STATE
//                                  the compose alone, in the headless window
//                                  system, at every idle call or only when
//                                  something shown changed. Runs without an
//                                  X server.
// Counters: process_ms, the CPU time of this process in the idle call (and
// the paint it asks for), per call; server_ms, the CPU time of the X server
// over the whole run, per call; frames, the frames composed per call. The X11
// cases are skipped, with the reason, when no Xvfb can be started.

#include "tools/bench/editor_bench.h"

#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "editor/equalizer_editor.h"
#include "host/equalizer_effect.h"
#include "platform/headless/headless_window_system.h"
#include "platform/x11/x11_window_system.h"
#include "tools/common/private_x_server.h"
#include "tools/common/signal.h"
#include "tools/common/window_system_switch.h"
#include "tools/testhost/x11_host_display.h"

namespace vorn::bench {
namespace {

using platform::Presentation;
using tools::NativeWindowSystem;
using tools::UsingWindowSystem;

constexpr int kIdleCalls = 600;
constexpr int kWarmUpCalls = 30;
// A host calls idle tens of times a second; the share of a core is given at
// this rate, and the audio between two calls is as long as at this rate.
constexpr double kHostIdleRate = 30.0;
constexpr double kSampleRate = 48000.0;
constexpr int kFramesPerIdle = static_cast<int>(kSampleRate / kHostIdleRate);
// The sine's amplitude climbs from the lower to the upper value over a cycle
// of idle calls, then drops back: the bars grow at every call while it
// climbs, and fall back by the meters' own fall-back after the drop.
constexpr int kLevelCycle = 40;
constexpr double kLowestAmplitude = 0.05;
constexpr double kHighestAmplitude = 0.7;
// Where the host's frame goes, and the frame's size: room for the editor.
constexpr int kFrameX = 20, kFrameY = 20, kFrameWidth = 720, kFrameHeight = 220;
// After the last call, how long the X server may take for what is queued.
constexpr auto kSettlePoll = std::chrono::milliseconds(20);
constexpr int kMaxSettlePolls = 50;
constexpr double kMillisecondsPerSecond = 1e3;

enum class Activity { still, levels };

const char* activityName(Activity activity) {
    return activity == Activity::still ? "still" : "levels";
}

intptr_t VORN_CDECL answeringHost(vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*,
                                  float) {
    return opcode == vst::audioMasterVersion ? 1 : 0;
}

double seconds(clockid_t clock) {
    timespec now{};
    if (clock_gettime(clock, &now) != 0) return 0.0;
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double processSeconds() { return seconds(CLOCK_PROCESS_CPUTIME_ID); }

// An effect as a host sets it up, with a block of audio at each call when the
// levels are to move.
class BenchEffect {
public:
    BenchEffect() : left(kFramesPerIdle), right(kFramesPerIdle) {
        effect.dispatcher(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
        effect.dispatcher(vst::effSetBlockSize, 0, kFramesPerIdle, nullptr, 0.0f);
    }
    ~BenchEffect() { effect.dispatcher(vst::effEditClose, 0, 0, nullptr, 0.0f); }

    intptr_t open(void* parent) { return effect.dispatcher(vst::effEditOpen, 0, 0, parent, 0.0f); }
    platform::Window window() {
        return static_cast<EqualizerEditor*>(effect.editorObject())->openWindowHandle();
    }
    void idle() { effect.dispatcher(vst::effEditIdle, 0, 0, nullptr, 0.0f); }

    void playBeforeCall(int call) {
        const double climb = static_cast<double>(call % kLevelCycle) / (kLevelCycle - 1);
        const double amplitude = kLowestAmplitude + (kHighestAmplitude - kLowestAmplitude) * climb;
        const std::vector<float> sine =
            signals::sine(1000.0, kSampleRate, amplitude, kFramesPerIdle,
                          static_cast<size_t>(call) * kFramesPerIdle);
        std::vector<float> inLeft = sine, inRight = sine;
        float* inputs[2] = {inLeft.data(), inRight.data()};
        float* outputs[2] = {left.data(), right.data()};
        effect.processReplacing(inputs, outputs, kFramesPerIdle);
    }

private:
    EqualizerEffect effect{&answeringHost};
    std::vector<float> left, right;
};

// The idle calls of one case, timed one by one; `call` makes one and answers
// whether it asked for a frame.
template <typename Call>
void timeIdleCalls(benchmark::State& state, BenchEffect& effect, Activity activity, Call call) {
    double spent = 0.0;
    int calls = 0, frames = 0;
    for (auto _ : state) {
        if (activity == Activity::levels) effect.playBeforeCall(calls);
        const double start = processSeconds();
        const bool framed = call();
        const double time = processSeconds() - start;
        state.SetIterationTime(time);
        spent += time;
        frames += framed ? 1 : 0;
        ++calls;
    }
    if (calls == 0) return;
    state.counters["process_ms"] = spent * kMillisecondsPerSecond / calls;
    state.counters["frames"] = static_cast<double>(frames) / calls;
}

// --- Headless: the compose alone ---

void headlessIdles(benchmark::State& state, bool changedOnly, Activity activity) {
    UsingWindowSystem headless(NativeWindowSystem::headless);
    platform::HeadlessWindowSystem& system = platform::headlessWindowSystem();
    system.setSkipsUnchangedFrames(changedOnly);
    {
        static char hostWindow;  // the headless system wants a parent, not a real one
        BenchEffect effect;
        effect.open(&hostWindow);
        const platform::Window window = effect.window();
        // As a host's message loop or the X11 system would: the paint an
        // invalidation asks for, right after the call.
        const auto call = [&] {
            const int before = system.invalidationCount(window);
            effect.idle();
            const bool asked = system.invalidationCount(window) != before;
            if (asked) system.paint(window);
            return asked;
        };
        for (int warmUp = 0; warmUp < kWarmUpCalls; ++warmUp) call();
        timeIdleCalls(state, effect, activity, call);
    }
    system.setSkipsUnchangedFrames(false);
}

// --- X11: the editor in a window of a private X server ---

// The X server and the host's display the X11 cases share, started on first
// use; what stands in the way if that fails.
struct XSide {
    tools::PrivateXServer server;
    testhost::X11HostDisplay display;
    std::string failure;

    XSide() {
        if (!server.started()) {
            failure = "no private X server: " + server.failure();
            return;
        }
        setenv("DISPLAY", server.display().c_str(), 1);
        if (!display.connect(failure)) failure = "no host display: " + failure;
    }
    bool ready() const { return failure.empty(); }
};

// Made by the first X11 case; null while none has run.
std::unique_ptr<XSide>& startedXSide() {
    static std::unique_ptr<XSide> side;
    return side;
}

XSide& xSide() {
    std::unique_ptr<XSide>& side = startedXSide();
    if (!side) side = std::make_unique<XSide>();
    return *side;
}

// The CPU time the X server has used so far.
class ServerClock {
public:
    explicit ServerClock(pid_t server) { available = clock_getcpuclockid(server, &clock) == 0; }
    bool isAvailable() const { return available; }
    double now() const { return available ? seconds(clock) : 0.0; }

private:
    clockid_t clock{};
    bool available = false;
};

// The server serves the editor's connection after ours as it likes: wait
// until it has stopped working.
double settledServerTime(const ServerClock& clock) {
    double last = clock.now();
    for (int poll = 0; poll < kMaxSettlePolls; ++poll) {
        std::this_thread::sleep_for(kSettlePoll);
        const double now = clock.now();
        if (now == last) break;
        last = now;
    }
    return last;
}

void x11Idles(benchmark::State& state, Presentation presentation, Activity activity) {
    XSide& side = xSide();
    if (!side.ready()) {
        state.SkipWithError(side.failure.c_str());
        return;
    }
    const ServerClock serverClock(side.server.pid());
    UsingWindowSystem x11(NativeWindowSystem::x11);
    platform::X11WindowSystem& system = platform::x11WindowSystem();
    system.setPresentation(presentation);
    const uint32_t frame = side.display.createFrame(kFrameX, kFrameY, kFrameWidth, kFrameHeight);
    {
        BenchEffect effect;
        if (!frame || effect.open(reinterpret_cast<void*>(uintptr_t{frame})) != 1) {
            state.SkipWithError("the editor did not open in the host's window");
        } else {
            const platform::Window window = effect.window();
            // A host's idle call, then a round trip on its own connection.
            const auto call = [&] {
                const int before = system.invalidationCount(window);
                effect.idle();
                side.display.sync();
                return system.invalidationCount(window) != before;
            };
            for (int warmUp = 0; warmUp < kWarmUpCalls; ++warmUp) call();
            const double serverStart = settledServerTime(serverClock);
            timeIdleCalls(state, effect, activity, call);
            const double serverSpent = settledServerTime(serverClock) - serverStart;
            if (serverClock.isAvailable() && state.iterations() > 0)
                state.counters["server_ms"] =
                    serverSpent * kMillisecondsPerSecond / static_cast<double>(state.iterations());
        }
    }
    if (frame) side.display.destroyWindow(frame);
    system.setPresentation(Presentation::changedRows);
}

// --- Names and the closing table ---

const char* presentationName(Presentation presentation) {
    return presentation == Presentation::everyPixel ? "reference" : "changed_rows";
}

std::string x11Name(Presentation presentation, Activity activity) {
    return std::string("editor/x11/") + presentationName(presentation) + "/" +
           activityName(activity);
}

std::string headlessName(bool changedOnly, Activity activity) {
    return std::string("editor/headless/") + (changedOnly ? "changed_only" : "every_idle") + "/" +
           activityName(activity);
}

constexpr Activity kActivities[] = {Activity::still, Activity::levels};

const char* stateText(Activity activity) {
    return activity == Activity::still ? "nothing changes" : "level bars moving";
}

std::string milliseconds(double value) { return Figures::figure(value, 3); }

// Process and server together, as a share of one core at the host's rate.
std::string coreShare(double processMs, double serverMs) {
    if (processMs <= 0.0) return "-";
    const double share = (processMs + serverMs) / kMillisecondsPerSecond * kHostIdleRate * 100.0;
    return Figures::figure(share, 2) + "%";
}

}  // namespace

void registerEditorBenchmarks() {
    for (Activity activity : kActivities) {
        for (Presentation presentation : {Presentation::everyPixel, Presentation::changedRows})
            benchmark::RegisterBenchmark(x11Name(presentation, activity).c_str(), x11Idles,
                                         presentation, activity)
                ->Iterations(kIdleCalls)
                ->UseManualTime()
                ->Unit(benchmark::kMicrosecond);
        for (bool changedOnly : {false, true})
            benchmark::RegisterBenchmark(headlessName(changedOnly, activity).c_str(),
                                         headlessIdles, changedOnly, activity)
                ->Iterations(kIdleCalls)
                ->UseManualTime()
                ->Unit(benchmark::kMicrosecond);
    }
}

void printEditorTable(const Figures& figures) {
    const std::unique_ptr<XSide>& side = startedXSide();
    if (!side && !figures.hasAny("editor/")) return;
    std::printf("\nLinux editor, CPU time per host idle call in ms (%d calls each; ratio = "
                "before / after)\n",
                kIdleCalls);
    std::printf("  before: every idle call composes the frame, converts every pixel with "
                "xcb_image_put_pixel and sends all rows\n");
    std::printf("  after:  a frame only when something shown changed; the rows that differ, "
                "converted a row at a time\n");
    std::printf("%-18s %26s %26s %22s\n", "", "plug-in process", "X server",
                "core share at 30/s");
    std::printf("%-18s %8s %8s %8s %8s %8s %8s %10s %10s\n", "state", "before", "after", "ratio",
                "before", "after", "ratio", "before", "after");
    for (Activity activity : kActivities) {
        const std::string before = x11Name(Presentation::everyPixel, activity);
        const std::string after = x11Name(Presentation::changedRows, activity);
        const double processBefore = figures.find(before, "process_ms");
        const double processAfter = figures.find(after, "process_ms");
        const double serverBefore = figures.find(before, "server_ms");
        const double serverAfter = figures.find(after, "server_ms");
        std::printf("%-18s %8s %8s %8s %8s %8s %8s %10s %10s\n", stateText(activity),
                    milliseconds(processBefore).c_str(), milliseconds(processAfter).c_str(),
                    Figures::ratio(processBefore, processAfter).c_str(),
                    milliseconds(serverBefore).c_str(), milliseconds(serverAfter).c_str(),
                    Figures::ratio(serverBefore, serverAfter).c_str(),
                    coreShare(processBefore, serverBefore).c_str(),
                    coreShare(processAfter, serverAfter).c_str());
    }
    if (side && !side->ready()) std::printf("  (X11 cases skipped: %s)\n", side->failure.c_str());

    std::printf("\nHeadless compose, no X server: plug-in process per idle call in ms\n");
    std::printf("%-18s %11s %13s %8s %16s\n", "state", "every idle", "changed only", "ratio",
                "frames per call");
    for (Activity activity : kActivities) {
        const double every = figures.find(headlessName(false, activity), "process_ms");
        const double changed = figures.find(headlessName(true, activity), "process_ms");
        const double frames = figures.find(headlessName(true, activity), "frames");
        std::printf("%-18s %11s %13s %8s %16s\n", stateText(activity), milliseconds(every).c_str(),
                    milliseconds(changed).c_str(), Figures::ratio(every, changed).c_str(),
                    frames > 0.0 ? Figures::figure(frames, 2).c_str() : "0");
    }
}

}  // namespace vorn::bench
