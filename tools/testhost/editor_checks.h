#pragma once
// The editor modes' work, one implementation per window system: the Windows
// host's (under Wine) in win32_editor_checks.cpp, the Linux host's on X11 in
// x11_editor_checks.cpp. Each answers the process exit code.

#include <string>

namespace vorn::testhost {

// Opens, checks, captures (into capturePath), drags and closes the editor.
int editorCheck(const std::string& libraryPath, const std::string& capturePath);
// Replays the demo's drags and audio and writes the editor as a user then
// sees it; with a bank path, also saves the bank the drags made there.
int editorCapture(const std::string& libraryPath, const std::string& picturePath,
                  const std::string& bankPath = "");

}  // namespace vorn::testhost
