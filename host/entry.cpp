// The library's front door: the one exported function that makes instances,
// and on Windows the load notification that records the module handle.

#include <new>

#include "host/equalizer_effect.h"
#include "platform/window_system.h"

#if defined(_WIN32)
#define VORN_EXPORT
#else
#define VORN_EXPORT __attribute__((visibility("default")))
#endif

namespace {

vorn::vst::AEffect* createInstance(vorn::vst::HostCallback audioMaster) {
    if (!audioMaster) return nullptr;
    // A host that answers 0 to the version query gets nothing.
    if (audioMaster(nullptr, vorn::vst::audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    auto* effect = new (std::nothrow) vorn::EqualizerEffect(audioMaster);
    return effect ? effect->record() : nullptr;
}

}  // namespace

extern "C" {

// Exported as `main` (and, on Linux, also under the name Linux hosts look for
// first). A C++ function may not be called main, so the alias is made by the
// module-definition file on Windows and by the assembler name below elsewhere.
VORN_EXPORT vorn::vst::AEffect* VORN_CDECL VSTPluginMain(vorn::vst::HostCallback audioMaster) {
    return createInstance(audioMaster);
}

#if !defined(_WIN32)
VORN_EXPORT vorn::vst::AEffect* vornMainAlias(vorn::vst::HostCallback audioMaster)
    __asm__("main") __attribute__((alias("VSTPluginMain")));
#endif

}  // extern "C"
