#pragma once
// The host side of the callback: answers the plug-in's requests the way a
// plain host does and remembers every request it was sent.

#include <cstdint>
#include <vector>

#include "common/vst2.h"

namespace vorn::testhost {

struct HostRequest {
    vst::AEffect* effect;
    int32_t opcode;
    int32_t index;
    intptr_t value;
    void* ptr;
    float opt;
};

// The version this host reports; 0 makes a plug-in refuse to start.
constexpr intptr_t kHostVersion = 2400;

intptr_t VORN_CDECL hostCallback(vst::AEffect* effect, int32_t opcode, int32_t index,
                                 intptr_t value, void* ptr, float opt);
// A host that answers 0 to everything, the version query included.
intptr_t VORN_CDECL silentHostCallback(vst::AEffect* effect, int32_t opcode, int32_t index,
                                       intptr_t value, void* ptr, float opt);

const std::vector<HostRequest>& hostRequests();
void clearHostRequests();

}  // namespace vorn::testhost
