#include <gtest/gtest.h>

#include "host/equalizer_effect.h"
#include "tools/common/editor_demo.h"
#include "tools/snapshot/headless_editor.h"

namespace vorn::tools {
namespace {

constexpr Rgb kLevelBar = {211, 219, 231};
constexpr Rgb kSlot = {0, 0, 0};
constexpr int kInputBarX = 116;
constexpr int kOutputBarX = 527;
constexpr int kBarRow = 174;

// The value a drag to row y leaves in a band: the editor's mapping.
float valueForRow(int y) {
    double value = (150 - y) * (1.0 / 116);
    if (value < 0.0) value = 0.0;
    if (value > 1.0) value = 1.0;
    return static_cast<float>(value);
}

TEST(EditorDemo, EveryDragStaysInsideTheTravel) {
    // Rows outside 34..150 would clamp and the picture would not show the curve.
    for (const demo::Drag& drag : demo::drags()) {
        EXPECT_GE(drag.y, 34) << "x " << drag.x;
        EXPECT_LE(drag.y, 150) << "x " << drag.x;
    }
}

TEST(HeadlessEditor, DemoDragsSetEachChannelsCurveAndNothingElse) {
    HeadlessEditor editor;
    ASSERT_TRUE(editor.isOpen());
    editor.playDemo();
    const std::vector<demo::Drag> drags = demo::drags();
    ASSERT_EQ(drags.size(), 2u * demo::kBands);
    const EqualizerEffect& effect = editor.effect();
    for (int band = 0; band < demo::kBands; ++band) {
        EXPECT_EQ(effect.bandValue(kLeftChannel, band), valueForRow(drags[band].y))
            << "left band " << band;
        EXPECT_EQ(effect.bandValue(kRightChannel, band), valueForRow(drags[demo::kBands + band].y))
            << "right band " << band;
    }
    // Only the current program changed.
    EXPECT_EQ(editor.effect().programs().bandValue(1, kLeftChannel, 0), kFlatBandValue);
    EXPECT_FALSE(editor.effect().editorState().dragging);
}

TEST(HeadlessEditor, RenderShowsTheLevelsTheSineLeft) {
    HeadlessEditor editor;
    const Picture silent = editor.render();
    ASSERT_EQ(silent.width, 700);
    ASSERT_EQ(silent.height, 180);
    EXPECT_EQ(silent.at(kInputBarX, kBarRow), kSlot);
    EXPECT_EQ(silent.at(kOutputBarX, kBarRow), kSlot);

    editor.playSine();
    const Picture playing = editor.render();
    EXPECT_EQ(playing.at(kInputBarX, kBarRow), kLevelBar);
    EXPECT_EQ(playing.at(kOutputBarX, kBarRow), kLevelBar);
}

TEST(HeadlessEditor, ClickOnASwitchTogglesItAndChangesNoBand) {
    HeadlessEditor editor;
    editor.click(233, 174);  // the L switch
    EXPECT_FALSE(editor.effect().editorState().editLeft);
    EXPECT_TRUE(editor.effect().editorState().editRight);
    editor.drag(12, 34);  // band 0's left slider: L is off now
    EXPECT_EQ(editor.effect().bandValue(kLeftChannel, 0), kFlatBandValue);
    editor.click(233, 174);
    EXPECT_TRUE(editor.effect().editorState().editLeft);
}

}  // namespace
}  // namespace vorn::tools
