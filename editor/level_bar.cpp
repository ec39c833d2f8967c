#include "editor/level_bar.h"

#include <cmath>

#include "common/editor_layout.h"

namespace vorn {

int levelBarWidth(float level) {
    const double width = layout::kBarMaxWidth * std::atan(2.0 * static_cast<double>(level));
    if (!(width > 0.0)) return 0;  // also a level that is not a number
    if (width > layout::kBarMaxWidth) return layout::kBarMaxWidth;
    return static_cast<int>(width);
}

platform::Colour levelBarColour(float level) {
    return level > 1.0f ? layout::colour::kLevelBarOver : layout::colour::kLevelBar;
}

}  // namespace vorn
