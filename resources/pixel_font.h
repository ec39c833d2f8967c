#pragma once
// A small bitmap font, seven rows high (two more below the line for g, j, p,
// q and y), used for the labels printed into the artwork and for the text the
// headless window system draws. Glyphs have
// their own widths (a "1" or an "l" is narrower than an "M"), which keeps the
// labels compact enough to sit over one band.

#include <string_view>

#include "common/image.h"

namespace vorn::resources {

using raster::Image;

constexpr int kGlyphHeight = 7;
constexpr int kGlyphDescent = 2;  // rows below the line, for g, j, p, q and y
constexpr int kGlyphGap = 1;  // blank columns between two glyphs

enum class Weight { normal, bold };

// The width in pixels of a line of text, gaps included but no trailing gap.
int textWidth(std::string_view text, Weight weight = Weight::normal);

// Draws text with the top of its glyphs on row y, each glyph placed right
// after the previous one. Only the glyphs' pixels are touched.
void drawText(Image& image, int x, int y, std::string_view text, Colour colour,
              Weight weight = Weight::normal);

// Draws text in fixed cells of cellWidth columns, each glyph centred in its
// cell: the look of a fixed-pitch font.
void drawTextInCells(Image& image, int x, int y, std::string_view text, Colour colour,
                     int cellWidth);

}  // namespace vorn::resources
