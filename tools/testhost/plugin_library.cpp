#include "tools/testhost/plugin_library.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace vorn::testhost {

#if defined(_WIN32)

bool PluginLibrary::load(const std::string& path) {
    handle = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
    if (!handle) lastError = "LoadLibrary failed with error " + std::to_string(GetLastError());
    return handle != nullptr;
}

vst::EntryProc PluginLibrary::entry(const char* name) const {
    if (!handle) return nullptr;
    return reinterpret_cast<vst::EntryProc>(
        reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name)));
}

PluginLibrary::~PluginLibrary() {
    if (handle) FreeLibrary(static_cast<HMODULE>(handle));
}

#else

bool PluginLibrary::load(const std::string& path) {
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* message = dlerror();
        lastError = message ? message : "dlopen failed";
    }
    return handle != nullptr;
}

vst::EntryProc PluginLibrary::entry(const char* name) const {
    if (!handle) return nullptr;
    return reinterpret_cast<vst::EntryProc>(dlsym(handle, name));
}

PluginLibrary::~PluginLibrary() {
    if (handle) dlclose(handle);
}

#endif

}  // namespace vorn::testhost
