#pragma once
// Loads a plug-in library the way a host does and finds its entry point.

#include <string>

#include "common/vst2.h"

namespace vorn::testhost {

class PluginLibrary {
public:
    PluginLibrary() = default;
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;
    ~PluginLibrary();

    bool load(const std::string& path);
    const std::string& error() const { return lastError; }
    // The exported function of that name, or null.
    vst::EntryProc entry(const char* name) const;

private:
    void* handle = nullptr;
    std::string lastError;
};

}  // namespace vorn::testhost
