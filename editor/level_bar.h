#pragma once
// The level bars in the meter slots: width and colour for a peak level.

#include "platform/window_system.h"

namespace vorn {

// trunc(79 * atan(2 * level)) pixels, at most the slot's width: half scale
// shows 62 pixels, and the bar is full from about 0.78 upwards. A level that
// is not a positive number shows no bar.
int levelBarWidth(float level);

// The bar turns red only above full scale.
platform::Colour levelBarColour(float level);

}  // namespace vorn
