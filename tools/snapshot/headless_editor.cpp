#include "tools/snapshot/headless_editor.h"

#include "editor/equalizer_editor.h"
#include "host/equalizer_effect.h"
#include "platform/headless/headless_window_system.h"
#include "tools/common/editor_demo.h"

namespace vorn::tools {
namespace {

constexpr intptr_t kHostVersion = 2400;
using platform::kLeftButtonHeld;

intptr_t VORN_CDECL plainHost(vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == vst::audioMasterVersion ? kHostVersion : 0;
}

// The headless system only needs a parent that is not null; this stands for
// the host's frame window.
char hostFrameToken;

}  // namespace

Picture toPicture(const raster::Image& image) {
    Picture picture(image.width, image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const Colour colour = image.at(x, y);
            picture.set(x, y, Rgb{colour.red, colour.green, colour.blue});
        }
    return picture;
}

HeadlessEditor::HeadlessEditor() {
    auto* created = new EqualizerEffect(&plainHost);
    effectRecord = created->record();
    effectRecord->dispatcher(effectRecord, vst::effOpen, 0, 0, nullptr, 0.0f);
    effectRecord->dispatcher(effectRecord, vst::effSetSampleRate, 0, 0, nullptr,
                             static_cast<float>(demo::kSampleRate));
    effectRecord->dispatcher(effectRecord, vst::effSetBlockSize, 0, demo::kBlockFrames, nullptr,
                             0.0f);
    effectRecord->dispatcher(effectRecord, vst::effEditOpen, 0, 0,
                             reinterpret_cast<void*>(&hostFrameToken), 0.0f);
    if (auto* editor = dynamic_cast<EqualizerEditor*>(created->editorObject()))
        window = editor->openWindowHandle();
}

HeadlessEditor::~HeadlessEditor() {
    effectRecord->dispatcher(effectRecord, vst::effEditClose, 0, 0, nullptr, 0.0f);
    // The dispatcher entry deletes the instance after effClose.
    effectRecord->dispatcher(effectRecord, vst::effClose, 0, 0, nullptr, 0.0f);
}

EqualizerEffect& HeadlessEditor::effect() const {
    return *static_cast<EqualizerEffect*>(EffectBase::fromRecord(effectRecord));
}

intptr_t HeadlessEditor::mouse(uint32_t message, uintptr_t buttons, int x, int y) {
    auto& system = platform::headlessWindowSystem();
    return system.sendMessage(window, message, buttons,
                              platform::HeadlessWindowSystem::pointerPosition(x, y));
}

void HeadlessEditor::drag(int x, int y) {
    mouse(platform::kMessageLeftButtonDown, kLeftButtonHeld, x, y);
    mouse(platform::kMessageMouseMove, kLeftButtonHeld, x, y);
    mouse(platform::kMessageLeftButtonUp, 0, x, y);
}

void HeadlessEditor::click(int x, int y) {
    mouse(platform::kMessageLeftButtonDown, kLeftButtonHeld, x, y);
    mouse(platform::kMessageLeftButtonUp, 0, x, y);
}

void HeadlessEditor::playSine() { demo::playSine(effectRecord); }

void HeadlessEditor::playDemo() {
    for (const demo::Drag& step : demo::drags()) drag(step.x, step.y);
    playSine();
}

Picture HeadlessEditor::render() {
    effectRecord->dispatcher(effectRecord, vst::effEditIdle, 0, 0, nullptr, 0.0f);
    auto& system = platform::headlessWindowSystem();
    system.paint(window);
    return toPicture(system.screen(window));
}

}  // namespace vorn::tools
