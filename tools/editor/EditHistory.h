// The editor's undo and redo stacks: each step is the whole level as it was, with the screen
// slot being edited and the revision number that state had (so that undoing back to the saved
// state counts as saved again). The oldest steps go once the stack is full.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>

#include "tools/editor/LevelSnapshot.h"

struct EditorState {
    LevelDescription level;
    int slotX = 0;
    int slotY = 0;
    long revision = 0;
};

class EditHistory {
public:
    static constexpr std::size_t kMaximumSteps = 200;

    // Remembers the state before a change; forgets what could be redone.
    void Record(EditorState before);
    // The state to go back to, or nothing; current becomes what Redo gives back.
    std::optional<EditorState> Undo(EditorState current);
    std::optional<EditorState> Redo(EditorState current);
    void Clear();

private:
    std::deque<EditorState> undoSteps;
    std::deque<EditorState> redoSteps;
};
