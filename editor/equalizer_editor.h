#pragma once
// The equalizer's editor: a 700 by 180 child window in the host's window,
// drawn from two bitmaps, with one slider per band and channel. Everything the
// user sees or changes lives in the effect (the model and the state record);
// the editor owns only its window, three bitmaps and a font.

#include <optional>

#include "common/vst2.h"
#include "editor/editor_state.h"
#include "editor/equalizer_model.h"
#include "editor/frame_content.h"
#include "framework/editor_base.h"
#include "platform/window_system.h"

namespace vorn {

class EqualizerEditor : public EditorBase {
public:
    // Opened by a press on the title plate. A placeholder: the product has no
    // web presence of its own.
    static constexpr const char* kMakerWebAddress = "https://example.invalid/vorn";
    static constexpr const char* kWindowClassName = "VSTEditorClass";
    static constexpr const char* kWindowName = "Window";

    EqualizerEditor(EffectBase* owner, EqualizerModel& model, EditorState& state);
    // An editor that no VST 2 effect owns (the LV2 user interface): it shows
    // and sets everything through the model, as the effect's editor does.
    EqualizerEditor(EqualizerModel& model, EditorState& state)
        : EqualizerEditor(nullptr, model, state) {}
    ~EqualizerEditor() override;

    int32_t getEditorRect(vst::ERect** rect) override;
    int32_t openWindow(void* parent) override;
    void closeWindow() override;
    void idleTick() override;
    void refresh() override;

    // The halves of the window procedure; `target` is the window the message
    // came to.
    void paint(platform::Window target);
    void pressLeftButton(platform::Window target, unsigned x, unsigned y);
    void movePointer(unsigned x, unsigned y, bool leftButtonHeld);
    void releaseLeftButton();

    // The window while it is open, else null; for tools and tests.
    platform::Window openWindowHandle() const { return windowOpen ? window : nullptr; }

private:
    // Steps of a paint, each drawing its part of the content into the
    // off-screen frame.
    void drawBackground(platform::Context frame);
    void drawThumbs(platform::Context frame, const FrameContent& content);
    void drawSwitchLamps(platform::Context frame, const FrameContent& content);
    void drawReadout(platform::Context frame, const FrameContent& content);
    void drawLevelBars(platform::Context frame, const FrameContent& content);
    void drawBitmap(platform::Context frame, platform::Handle bitmap, int x, int y, int width,
                    int height);

    void setBandsUnderPointer(unsigned x, unsigned y, float value);
    // Destroys the window and counts it down, delivering nothing more.
    void removeWindow();

    // Open and actually made: a window the system refused is null, and
    // invalidating null would repaint every window there is.
    bool hasWindow() const { return windowOpen && window != nullptr; }
    // Whether the effect now holds something the window does not show.
    bool frameIsStale() const;

    EqualizerModel& model;
    EditorState& state;
    platform::Window window = nullptr;  // keeps its last value after closeWindow
    platform::Handle backgroundBitmap;
    platform::Handle thumbBitmap;
    platform::Handle readoutFont;
    platform::Handle backBuffer = nullptr;  // made by the first paint, kept until destruction
    bool windowOpen = false;
    std::optional<FrameContent> shownContent;  // what the window's last paint drew
};

}  // namespace vorn
