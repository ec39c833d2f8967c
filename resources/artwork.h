#pragma once
// The editor's two bitmaps, drawn by code from the editor's layout: the
// 700x180 background (ground, band labels, slider grooves, guide lines and
// the bottom strip of plates, meter panels and switch boxes) and the 10x20
// slider thumb. The Windows builds compile them into the library as bitmap
// resources; the native build hands them out from its headless window system.

#include "common/image.h"

namespace vorn::resources {

using raster::Image;

Image drawBackground();
Image drawThumb();

// The picture for a bitmap resource number, or an empty picture for a number
// that names no bitmap.
Image drawBitmapResource(int resourceId);

}  // namespace vorn::resources
