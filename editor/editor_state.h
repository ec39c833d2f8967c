#pragma once
// What the editor remembers between its windows: the read-out text, whether
// a drag is on, and the three edit switches. The effect keeps one record per
// instance and hands it to its editor, so a reopened window shows what the
// last one left. Touched only on the user-interface thread.

namespace vorn {

constexpr int kDisplayTextSize = 36;

struct EditorState {
    char displayText[kDisplayTextSize] = {};
    bool dragging = false;
    bool editLeft = true;
    bool editRight = true;
    bool editLink = false;
};

}  // namespace vorn
