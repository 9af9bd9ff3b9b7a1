// The game's command line, as Linux programs have one: help, version, window or full screen
// for this run, a replay to play, another data folder or pack.
#pragma once

#include <optional>
#include <string>

struct CommandLine {
    bool help = false;
    bool version = false;
    std::optional<bool> fullscreen;  // --window or --fullscreen, for this run only
    std::string replayFile;          // --replay FILE; empty for a normal run
    std::string dataFolder;          // --data DIR (a folder or a pack); empty for the usual places
};

// Reads the arguments (argv[0] is the program). An unknown option, a missing value or a stray
// argument sets error to a message for standard error; the caller then exits with status 2.
CommandLine ReadCommandLine(int argc, const char* const* argv, std::string& error);

// The usage text that --help prints.
std::string CommandLineUsage();

// "rollandia VERSION", what --version prints.
std::string VersionText();
