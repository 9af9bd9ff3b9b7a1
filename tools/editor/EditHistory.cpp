#include "tools/editor/EditHistory.h"

void EditHistory::Record(EditorState before) {
    undoSteps.push_back(std::move(before));
    if (undoSteps.size() > kMaximumSteps) {
        undoSteps.pop_front();
    }
    redoSteps.clear();
}

std::optional<EditorState> EditHistory::Undo(EditorState current) {
    if (undoSteps.empty()) {
        return std::nullopt;
    }
    EditorState previous = std::move(undoSteps.back());
    undoSteps.pop_back();
    redoSteps.push_back(std::move(current));
    return previous;
}

std::optional<EditorState> EditHistory::Redo(EditorState current) {
    if (redoSteps.empty()) {
        return std::nullopt;
    }
    EditorState next = std::move(redoSteps.back());
    redoSteps.pop_back();
    undoSteps.push_back(std::move(current));
    return next;
}

void EditHistory::Clear() {
    undoSteps.clear();
    redoSteps.clear();
}
