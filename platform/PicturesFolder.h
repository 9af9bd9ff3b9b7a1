// Where screenshots go and what they are called: the user's pictures folder as the desktop
// names it, and a file name made from the date and time that never replaces an existing file.
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

// The pictures folder named by XDG_PICTURES_DIR in the text of a user-dirs.dirs file
// ("$HOME/..." or an absolute path), or nothing when the text names none.
std::optional<std::filesystem::path> PicturesFolderFromUserDirs(const std::string& userDirs,
                                                                const std::filesystem::path& home);

// The existing folder for screenshots: the desktop's pictures folder, else ~/Pictures, else the
// folder the program was started in (loading a level changes the current directory later).
std::filesystem::path ScreenshotFolder();

// "Rollandia 2026-12-07 14-03-22.png" for the first attempt (attempt 1), then
// "Rollandia 2026-12-07 14-03-22 (2).png" and so on.
std::string ScreenshotFileName(const std::tm& localTime, int attempt);
