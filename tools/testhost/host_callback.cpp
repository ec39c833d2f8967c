#include "tools/testhost/host_callback.h"

namespace vorn::testhost {
namespace {

std::vector<HostRequest>& requests() {
    static std::vector<HostRequest> all;
    return all;
}

}  // namespace

intptr_t VORN_CDECL hostCallback(vst::AEffect* effect, int32_t opcode, int32_t index,
                                 intptr_t value, void* ptr, float opt) {
    requests().push_back({effect, opcode, index, value, ptr, opt});
    return opcode == vst::audioMasterVersion ? kHostVersion : 0;
}

intptr_t VORN_CDECL silentHostCallback(vst::AEffect* effect, int32_t opcode, int32_t index,
                                       intptr_t value, void* ptr, float opt) {
    requests().push_back({effect, opcode, index, value, ptr, opt});
    return 0;
}

const std::vector<HostRequest>& hostRequests() { return requests(); }
void clearHostRequests() { requests().clear(); }

}  // namespace vorn::testhost
