// A virtual X display of a chosen size for the time of a test: starts its own Xvfb, points
// DISPLAY at it, and on destruction stops it and puts DISPLAY back.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

class VirtualDisplay {
public:
    VirtualDisplay(int width, int height) {
        const char* previous = std::getenv("DISPLAY");
        if (previous) {
            previousDisplay = previous;
        }
        number = FreeDisplayNumber();
        std::string name = ":" + std::to_string(number);
        std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
        server = fork();
        if (server == 0) {
            execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp", "-noreset",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
        for (int wait = 0; server > 0 && wait < 100 && !std::filesystem::exists(socket); ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ready = server > 0 && std::filesystem::exists(socket);
        if (ready) {
            setenv("DISPLAY", name.c_str(), 1);
        }
    }
    ~VirtualDisplay() {
        if (previousDisplay) {
            setenv("DISPLAY", previousDisplay->c_str(), 1);
        } else {
            unsetenv("DISPLAY");
        }
        if (server > 0) {
            kill(server, SIGTERM);
            waitpid(server, nullptr, 0);
        }
    }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool IsReady() const { return ready; }

private:
    static int FreeDisplayNumber() {
        int candidate = 200 + static_cast<int>(getpid() % 500);
        while (std::filesystem::exists("/tmp/.X" + std::to_string(candidate) + "-lock")) {
            ++candidate;
        }
        return candidate;
    }

    std::optional<std::string> previousDisplay;
    pid_t server = -1;
    int number = 0;
    bool ready = false;
};
