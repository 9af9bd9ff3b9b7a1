#include "base/RunLog.h"

#include <iostream>

#include "base/UserFolders.h"

namespace {

const char* const kLogName = "last-run.log";

}  // namespace

// Passes every character on to the stream's own buffer and to the log file.
class RunLog::TeeBuffer : public std::streambuf {
public:
    TeeBuffer(std::streambuf* console, std::streambuf* log) : console(console), log(log) {}

protected:
    int_type overflow(int_type character) override {
        if (traits_type::eq_int_type(character, traits_type::eof())) {
            return traits_type::not_eof(character);
        }
        log->sputc(traits_type::to_char_type(character));
        return console->sputc(traits_type::to_char_type(character));
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        log->sputn(text, count);
        return console->sputn(text, count);
    }
    // The log is flushed with the console, so it holds everything up to a crash's last flush.
    int sync() override {
        log->pubsync();
        return console->pubsync();
    }

private:
    std::streambuf* console;
    std::streambuf* log;
};

RunLog::RunLog(const std::filesystem::path& logPath) {
    if (!MakeUserFolder(logPath.parent_path())) {
        return;
    }
    file.open(logPath, std::ios::out | std::ios::trunc);
    if (!file) {
        return;
    }
    path = logPath;
    outputTee = std::make_unique<TeeBuffer>(std::cout.rdbuf(), file.rdbuf());
    errorTee = std::make_unique<TeeBuffer>(std::cerr.rdbuf(), file.rdbuf());
    originalOutput = std::cout.rdbuf(outputTee.get());
    originalError = std::cerr.rdbuf(errorTee.get());
}

RunLog::~RunLog() {
    if (path.empty()) {
        return;
    }
    std::cout.flush();
    std::cerr.flush();
    std::cout.rdbuf(originalOutput);
    std::cerr.rdbuf(originalError);
}

std::filesystem::path RunLog::DefaultPath() { return UserStateFolder() / kLogName; }
