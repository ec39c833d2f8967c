#pragma once
// The names by which a host and a plug-in ask each other about optional
// abilities: effCanDo from the host, hostCanDo from the plug-in. A plug-in
// class picks its texts from these lists when it answers canDo or asks the host.

#include <array>

namespace vorn {

// Abilities of a host, in their established order.
extern const std::array<const char*, 16> hostCapabilities;

// Abilities of a plug-in, in their established order.
extern const std::array<const char*, 25> plugCapabilities;

}  // namespace vorn
