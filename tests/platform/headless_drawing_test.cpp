// Drawing through the headless window system: what the editor's paint relies
// on (exclusive fill edges, clipping, copies, transparent text) and the
// Win32 object rules it must not break.

#include <gtest/gtest.h>

#include "platform/headless/headless_window_system.h"

namespace vorn::platform {
namespace {

constexpr Colour kBlack = {0, 0, 0};
constexpr Colour kRed = {255, 0, 0};
constexpr Colour kBlue = {0, 0, 255};

class HeadlessDrawing : public ::testing::Test {
protected:
    HeadlessWindowSystem& system = headlessWindowSystem();
    Context context = nullptr;
    Handle bitmap = nullptr;
    Handle stockBitmap = nullptr;

    void SetUp() override {
        system.reset();
        context = system.createCompatibleContext(nullptr);
        bitmap = system.createCompatibleBitmap(context, 10, 10);
        stockBitmap = system.select(context, bitmap);
    }

    Colour at(int x, int y) const { return system.bitmapImage(bitmap).at(x, y); }

    void fill(const Rect& rect, Colour colour) {
        Handle brush = system.createSolidBrush(colour);
        system.fillRect(context, rect, brush);
        system.deleteObject(brush);
    }
};

TEST_F(HeadlessDrawing, FillCoversLeftAndTopEdgesButNotRightAndBottom) {
    fill({2, 3, 5, 7}, kRed);
    EXPECT_EQ(at(2, 3), kRed);
    EXPECT_EQ(at(4, 6), kRed);
    EXPECT_EQ(at(5, 3), kBlack);
    EXPECT_EQ(at(2, 7), kBlack);
    EXPECT_EQ(at(1, 3), kBlack);
    EXPECT_EQ(at(2, 2), kBlack);
}

TEST_F(HeadlessDrawing, FillIsClippedToTheBitmapAndEmptyRectanglesDrawNothing) {
    fill({-5, -5, 2, 2}, kRed);
    fill({8, 8, 50, 50}, kBlue);
    fill({4, 4, 4, 9}, kRed);  // no width
    fill({6, 6, 3, 3}, kRed);  // inverted
    EXPECT_EQ(at(0, 0), kRed);
    EXPECT_EQ(at(1, 1), kRed);
    EXPECT_EQ(at(2, 2), kBlack);
    EXPECT_EQ(at(9, 9), kBlue);
    EXPECT_EQ(at(4, 4), kBlack);
    EXPECT_EQ(at(5, 5), kBlack);
}

TEST_F(HeadlessDrawing, FillWithoutABrushDrawsNothing) {
    system.fillRect(context, {0, 0, 10, 10}, nullptr);
    Handle font = system.createFont(10, "Lucida Console");
    system.fillRect(context, {0, 0, 10, 10}, font);
    EXPECT_EQ(at(5, 5), kBlack);
}

TEST_F(HeadlessDrawing, CopyMovesABlockAndClipsItAgainstBothBitmaps) {
    fill({0, 0, 2, 2}, kRed);
    Context target = system.createCompatibleContext(context);
    Handle targetBitmap = system.createCompatibleBitmap(context, 4, 4);
    system.select(target, targetBitmap);

    system.copyPixels(target, 1, 1, 2, 2, context, 0, 0);
    const auto& picture = system.bitmapImage(targetBitmap);
    EXPECT_EQ(picture.at(0, 0), kBlack);
    EXPECT_EQ(picture.at(1, 1), kRed);
    EXPECT_EQ(picture.at(2, 2), kRed);
    EXPECT_EQ(picture.at(3, 3), kBlack);

    // Sticking out on every side: only the overlapping pixels move.
    fill({9, 9, 10, 10}, kBlue);
    system.copyPixels(target, -2, -2, 30, 30, context, 7, 7);
    EXPECT_EQ(picture.at(0, 0), kBlue);  // source (9, 9)
    EXPECT_EQ(picture.at(1, 1), kRed);  // beyond the source: left as it was
}

TEST_F(HeadlessDrawing, CopyWithinOneBitmapMayOverlap) {
    for (int x = 0; x < 10; ++x) fill({x, 0, x + 1, 1}, {static_cast<uint8_t>(x), 0, 0});
    system.copyPixels(context, 2, 0, 8, 1, context, 0, 0);
    for (int x = 2; x < 10; ++x) EXPECT_EQ(at(x, 0).red, x - 2) << "column " << x;
}

TEST_F(HeadlessDrawing, TransparentTextDrawsOnlyTheGlyphsInTheTextColour) {
    fill({0, 0, 10, 10}, kBlue);
    Handle font = system.createFont(10, "Lucida Console");
    Handle stockFont = system.select(context, font);
    system.setTransparentText(context);
    system.setTextColour(context, kRed);
    system.drawText(context, 0, 0, "8", 1);

    int glyphPixels = 0;
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const Colour colour = at(x, y);
            EXPECT_TRUE(colour == kRed || colour == kBlue) << x << ", " << y;
            if (colour == kRed) {
                ++glyphPixels;
                EXPECT_LT(x, 6) << "outside the character cell";
            }
        }
    }
    EXPECT_GT(glyphPixels, 10);
    system.select(context, stockFont);
}

TEST_F(HeadlessDrawing, OpaqueTextFillsItsCellsAndTheLengthIsTakenAsGiven) {
    Handle font = system.createFont(10, "Lucida Console");
    system.select(context, font);
    system.setTextColour(context, kRed);
    system.drawText(context, 0, 0, "+-", 1);  // one character only
    EXPECT_EQ(at(0, 0), (Colour{255, 255, 255}));  // cell background
    EXPECT_EQ(at(6, 5), kBlack);                   // no second cell
}

TEST_F(HeadlessDrawing, ObjectsAreCountedUntilDeleted) {
    const int before = system.liveObjectCount();  // the fixture's context and bitmap
    EXPECT_EQ(before, 2);
    Handle brush = system.createSolidBrush(kRed);
    Handle font = system.createFont(10, "Lucida Console");
    Context other = system.createCompatibleContext(context);
    EXPECT_EQ(system.liveObjectCount(), before + 3);
    system.deleteObject(brush);
    system.deleteObject(font);
    system.deleteContext(other);
    EXPECT_EQ(system.liveObjectCount(), before);
}

TEST_F(HeadlessDrawing, SelectedObjectsCannotBeDeletedAndBitmapsSitInOneContextAtATime) {
    system.deleteObject(bitmap);  // still selected: refused
    EXPECT_EQ(system.bitmapImage(bitmap).width, 10);

    Context other = system.createCompatibleContext(context);
    EXPECT_EQ(system.select(other, bitmap), nullptr);

    EXPECT_EQ(system.select(context, stockBitmap), bitmap);  // the restore answers the bitmap
    system.deleteObject(bitmap);
    EXPECT_EQ(system.bitmapImage(bitmap).width, 0);
    system.deleteObject(stockBitmap);  // stock objects stay
    system.deleteContext(other);
    system.deleteContext(context);
    EXPECT_EQ(system.liveObjectCount(), 0);
}

TEST_F(HeadlessDrawing, AFreshContextDrawsNothingUntilABitmapIsSelected) {
    Context fresh = system.createCompatibleContext(context);
    Handle brush = system.createSolidBrush(kRed);
    system.fillRect(fresh, {0, 0, 10, 10}, brush);  // into the 1x1 stock bitmap: ignored
    system.copyPixels(context, 0, 0, 10, 10, fresh, 0, 0);
    EXPECT_EQ(at(0, 0), kBlack);
    system.deleteObject(brush);
}

TEST_F(HeadlessDrawing, BitmapsLoadOnlyFromTheLibrarysModule) {
    EXPECT_NE(moduleHandle(), nullptr);
    EXPECT_EQ(system.loadBitmap(nullptr, 114), nullptr);
    EXPECT_EQ(system.loadBitmap(moduleHandle(), 999), nullptr);
    Handle background = system.loadBitmap(moduleHandle(), 114);
    Handle thumb = system.loadBitmap(moduleHandle(), 101);
    EXPECT_EQ(system.bitmapImage(background).width, 700);
    EXPECT_EQ(system.bitmapImage(background).height, 180);
    EXPECT_EQ(system.bitmapImage(thumb).width, 10);
    EXPECT_EQ(system.bitmapImage(thumb).height, 20);
}

}  // namespace
}  // namespace vorn::platform
