#pragma once
// A plain 24-bit RGB picture for the tools: what a capture, a render or a plot
// is before it becomes a file. The same picture the artwork is drawn in, so
// that the Windows test host needs nothing of the editor or platform layers.

#include "resources/image.h"

namespace vorn::tools {

using Rgb = platform::Colour;
using Picture = resources::Image;

}  // namespace vorn::tools
