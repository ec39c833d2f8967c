#pragma once
// The LV2 bundle's description as Turtle text: the manifest, which names the
// two libraries, and the plug-in's file with its ports and its editor.

#include <string>

namespace vorn::tools {

std::string manifestTurtle(const std::string& dspBinary, const std::string& uiBinary);
std::string pluginTurtle();

}  // namespace vorn::tools
