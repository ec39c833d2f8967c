#pragma once
// The host's editor modes: the plug-in's real editor opened in a window of
// ours, checked, driven with mouse messages and captured. They need the
// Windows build of the host (under Wine, with an X display).
//
//   vorn_host --editor-check <library> <capture file> [<demo picture file>]
//     opens the editor, checks its rectangle, window, class and paint,
//     writes the freshly opened editor's pixels (PNG, or BMP for .bmp),
//     drags band 16's left slider to the top and measures a 1 kHz sine,
//     closes everything. Prints one line per check; exit code 1 on failure.
//     With a demo picture file, then does what --editor-capture does with a
//     fresh instance, in the same process (one Wine start instead of two).
//   vorn_host --editor-capture <library> <picture file>
//     replays the main job's demo drags and audio and writes the editor as
//     a user then sees it.

namespace vorn::testhost {

// Answers the process exit code, or -1 if argv names no editor mode.
int runEditorMode(int argc, char** argv);

}  // namespace vorn::testhost
