// Where and when the editor keeps a spare copy of unsaved work: "<file name>.autosave.xml"
// beside the level file (the whole name, extension included, so that no two files share one),
// written at a fixed interval while there are unsaved changes.
#pragma once

#include <filesystem>
#include <optional>

// The autosave's path for a level file's path.
std::filesystem::path AutosavePath(const std::filesystem::path& levelPath);

// Whether the autosave exists and was written after the level file (or without one).
bool HasNewerAutosave(const std::filesystem::path& autosave, const std::filesystem::path& levelPath);

// Seconds between autosaves: 60, or the whole number in ROLLANDIA_EDITOR_AUTOSAVE_SECONDS
// when it holds a positive one.
double AutosaveIntervalSeconds();

// The editor writes levels in the file format only, so the XML comments of a hand-written file
// would be lost by its first save: before that save, a file with comments is copied once to
// "<file name>.with-comments.xml" beside it, atomically (an existing copy is kept). Returns the
// copy's path when one was made; raises k_Failure when the copy cannot be written, which leaves
// no copy behind, so that the save stops and the next one tries again.
std::optional<std::filesystem::path> KeepCommentedOriginal(const std::filesystem::path& levelPath);
