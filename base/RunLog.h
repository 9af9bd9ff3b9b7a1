// The log of the program's last run: everything written to standard output and standard error
// through the C++ streams also goes into a file in the user's state folder, started afresh at
// each run, so that a player who started the game from a desktop (no terminal) can look at it.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <streambuf>

class RunLog {
public:
    // Starts the log at path (its folder is made when missing). Without a usable file, the
    // streams stay as they were and Path() is empty.
    explicit RunLog(const std::filesystem::path& path);
    ~RunLog();
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    // Where the log is; empty when none could be started.
    const std::filesystem::path& Path() const { return path; }

    // The usual place: $XDG_STATE_HOME/rollandia/last-run.log.
    static std::filesystem::path DefaultPath();

private:
    class TeeBuffer;

    std::filesystem::path path;
    std::ofstream file;
    std::unique_ptr<TeeBuffer> outputTee;
    std::unique_ptr<TeeBuffer> errorTee;
    std::streambuf* originalOutput = nullptr;
    std::streambuf* originalError = nullptr;
};
