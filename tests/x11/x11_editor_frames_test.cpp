// The Linux editor's frames in a real X11 window, on an X server of the
// test's own: the window's pixels, read back from the server, against the
// headless render of the same effect state. The editor sends only the rows
// that changed, so a mark the host paints elsewhere in the window survives a
// level change, and a part of the window the server lost is drawn again.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "common/editor_layout.h"
#include "editor/equalizer_editor.h"
#include "host/equalizer_effect.h"
#include "platform/headless/headless_window_system.h"
#include "tools/common/private_x_server.h"
#include "tools/common/signal.h"
#include "tools/common/window_system_switch.h"
#include "tools/testhost/x11_host_display.h"

namespace vorn {
namespace {

using tools::NativeWindowSystem;
using tools::Picture;
using tools::UsingWindowSystem;

constexpr double kSampleRate = 48000.0;
constexpr int kBlockFrames = 480;  // ten periods of 1 kHz
constexpr auto kSettleTime = std::chrono::seconds(3);
constexpr auto kSettlePoll = std::chrono::milliseconds(10);
// Where the host puts its frame and where the editor sits in it.
constexpr int kFrameX = 20, kFrameY = 20, kFrameWidth = 720, kFrameHeight = 220;
// A colour the editor never draws.
constexpr Colour kMarkColour = {255, 0, 255};
// The mark: on the rows of the band labels, far from the level bars.
constexpr Rect kMark = {300, 8, 320, 12};

intptr_t VORN_CDECL answeringHost(vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*,
                                  float) {
    return opcode == vst::audioMasterVersion ? 1 : 0;
}

void prepare(EqualizerEffect& effect) {
    effect.dispatcher(vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
    effect.dispatcher(vst::effSetBlockSize, 0, kBlockFrames, nullptr, 0.0f);
}

// A block of a 1 kHz sine through the effect: the level bars move, nothing
// else the editor shows changes.
void playSine(EqualizerEffect& effect, double amplitude) {
    auto left = signals::sine(1000.0, kSampleRate, amplitude, kBlockFrames);
    auto right = left;
    std::vector<float> outLeft(kBlockFrames), outRight(kBlockFrames);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    effect.processReplacing(inputs, outputs, kBlockFrames);
}

using Steps = std::function<void(EqualizerEffect&)>;

// The picture the headless window system paints for a fresh effect after
// `steps`, with an idle call first as a host makes it. Made while no editor
// window of the other system is open: the editor counts its windows across
// the process, as the window class is registered once for all of them.
Picture headlessRender(const Steps& steps) {
    UsingWindowSystem headless(NativeWindowSystem::headless);
    static char hostWindow;  // the headless system wants a parent, not a real one
    EqualizerEffect effect(&answeringHost);
    prepare(effect);
    effect.dispatcher(vst::effEditOpen, 0, 0, &hostWindow, 0.0f);
    steps(effect);
    effect.dispatcher(vst::effEditIdle, 0, 0, nullptr, 0.0f);
    const platform::Window window =
        static_cast<EqualizerEditor*>(effect.editorObject())->openWindowHandle();
    platform::headlessWindowSystem().paint(window);
    Picture picture = platform::headlessWindowSystem().screen(window);
    effect.dispatcher(vst::effEditClose, 0, 0, nullptr, 0.0f);
    return picture;
}

bool sameOutside(const Picture& first, const Picture& second, const Rect& left) {
    if (first.width != second.width || first.height != second.height) return false;
    for (int y = 0; y < first.height; ++y)
        for (int x = 0; x < first.width; ++x) {
            const bool inside = x >= left.left && x < left.right && y >= left.top && y < left.bottom;
            if (!inside && first.at(x, y) != second.at(x, y)) return false;
        }
    return true;
}

bool filledWith(const Picture& picture, const Rect& area, Colour colour) {
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (picture.at(x, y) != colour) return false;
    return true;
}

class X11EditorFrames : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server = std::make_unique<tools::PrivateXServer>();
        if (server->started()) setenv("DISPLAY", server->display().c_str(), 1);
        fresh = headlessRender([](EqualizerEffect&) {});
        playing = headlessRender([](EqualizerEffect& effect) { playSine(effect, 0.5); });
        louder = headlessRender([](EqualizerEffect& effect) {
            playSine(effect, 0.5);
            playSine(effect, 0.8);
        });
    }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override {
        if (!server->started()) GTEST_SKIP() << "no X server of our own: " << server->failure();
        std::string error;
        ASSERT_TRUE(display.connect(error)) << error;
        frame = display.createFrame(kFrameX, kFrameY, kFrameWidth, kFrameHeight);
        ASSERT_NE(frame, 0u);
        effect = std::make_unique<EqualizerEffect>(&answeringHost);
        prepare(*effect);
        void* parent = reinterpret_cast<void*>(uintptr_t{frame});
        ASSERT_EQ(effect->dispatcher(vst::effEditOpen, 0, 0, parent, 0.0f), 1);
        const auto children = display.children(frame);
        ASSERT_EQ(children.size(), 1u);
        editor = children.front();
    }

    void TearDown() override {
        if (effect) effect->dispatcher(vst::effEditClose, 0, 0, nullptr, 0.0f);
        effect.reset();
        if (frame) display.destroyWindow(frame);
    }

    void idle() {
        effect->dispatcher(vst::effEditIdle, 0, 0, nullptr, 0.0f);
        display.sync();
    }

    Picture capture() {
        Picture picture;
        display.capture(editor, picture);
        return picture;
    }

    // The editor's requests travel on a connection of its own, which the
    // server may serve after ours: the window may take a moment to show them.
    bool windowBecomes(const std::function<bool(const Picture&)>& condition) {
        const auto deadline = std::chrono::steady_clock::now() + kSettleTime;
        while (!condition(capture())) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            std::this_thread::sleep_for(kSettlePoll);
        }
        return true;
    }
    bool windowShows(const Picture& expected) {
        return windowBecomes([&](const Picture& shown) { return shown.pixels == expected.pixels; });
    }

    static std::unique_ptr<tools::PrivateXServer> server;
    // The headless renders: as opened, after a block of a sine at half scale,
    // and after a louder one.
    static Picture fresh, playing, louder;
    UsingWindowSystem x11{NativeWindowSystem::x11};
    testhost::X11HostDisplay display;
    uint32_t frame = 0;
    uint32_t editor = 0;
    std::unique_ptr<EqualizerEffect> effect;
};

std::unique_ptr<tools::PrivateXServer> X11EditorFrames::server;
Picture X11EditorFrames::fresh, X11EditorFrames::playing, X11EditorFrames::louder;

TEST_F(X11EditorFrames, AfterALevelChangeTheWindowShowsTheHeadlessRenderAndKeepsTheOtherRows) {
    idle();
    ASSERT_TRUE(windowShows(fresh));

    playSine(*effect, 0.5);
    idle();
    EXPECT_TRUE(windowShows(playing)) << "every pixel as the headless render";

    // A mark the editor did not draw: idle calls with nothing new leave it,
    // and so does a frame in which only the level bars change.
    display.fill(editor, kMark.left, kMark.top, kMark.right - kMark.left,
                 kMark.bottom - kMark.top, kMarkColour);
    for (int call = 0; call < 3; ++call) idle();
    playSine(*effect, 0.8);
    idle();
    ASSERT_NE(louder.pixels, playing.pixels);
    EXPECT_TRUE(windowBecomes([&](const Picture& shown) { return sameOutside(shown, louder, kMark); }))
        << "the bars as the headless render draws them";
    EXPECT_TRUE(filledWith(capture(), kMark, kMarkColour)) << "the rows above them not sent again";
}

TEST_F(X11EditorFrames, APartOfTheWindowTheServerLostIsDrawnAgain) {
    idle();
    ASSERT_TRUE(windowShows(fresh));

    // A window of the host's over part of the editor, then gone: the server
    // keeps no pixels of what it covered, and tells the editor so.
    const Rect covered = {100, 40, 400, 120};
    const uint32_t cover =
        display.createFrame(kFrameX + covered.left, kFrameY + covered.top,
                            covered.right - covered.left, covered.bottom - covered.top);
    ASSERT_NE(cover, 0u);
    display.destroyWindow(cover);
    EXPECT_NE(capture().pixels, fresh.pixels) << "the covered part is lost until the editor draws";

    idle();
    EXPECT_TRUE(windowShows(fresh)) << "the exposed part is drawn again";
}

}  // namespace
}  // namespace vorn
