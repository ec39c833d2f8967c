#pragma once
// The host's editor modes: the plug-in's real editor opened in a window of
// ours, checked, driven with the mouse and captured. The Windows build of the
// host does it under Wine with Win32 windows and mouse messages, the native
// build with an X11 window of its own and real pointer input (XTEST); both
// need an X display.
//
//   vorn_host --editor-check <library> <capture file> [<demo picture file> [<bank file>]]
//     opens the editor, checks its rectangle, window and paint, writes the
//     freshly opened editor's pixels (PNG, or BMP for .bmp), drags band 16's
//     left slider to the top and measures a 1 kHz sine, checks that hovering
//     after a lost release changes nothing, closes everything. On X11 also
//     the openings that must fail, the hosts that open twice, close the
//     effect first or destroy their window first, and two editors at once.
//     Prints one line per check; exit code 1 on failure.
//     With a demo picture file, then does what --editor-capture does with a
//     fresh instance, in the same process (one Wine start instead of two).
//   vorn_host --editor-capture <library> <picture file> [<bank file>]
//     replays the main job's demo drags and audio and writes the editor as
//     a user then sees it; with a bank file, prints the 1 kHz gain the drags
//     made and saves the bank as a .fxb file there.

namespace vorn::testhost {

// Answers the process exit code, or -1 if argv names no editor mode.
int runEditorMode(int argc, char** argv);

}  // namespace vorn::testhost
