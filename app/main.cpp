// The program entry: builds the fixed settings and runs the game.
#include <iostream>

#include "Failure.h"
#include "Settings.h"

namespace {

Settings BuildSettings() {
    return Settings{
        {L"Title", L"Morvane - Rollandia"},
        {L"Width", L"800"},
        {L"Height", L"600"},
        {L"Fullscreen", L"1"},
        {L"Zip", L"0"},
    };
}

}  // namespace

int main() {
    try {
        Settings settings = BuildSettings();
        std::cout << "Rollandia: " << ParseInt(settings[L"Width"]) << " x " << ParseInt(settings[L"Height"])
                  << ", the engine is not built yet." << std::endl;
    } catch (const k_Failure& failure) {
        std::cerr << failure.what() << std::endl;
        return 1;
    }
    return 0;
}
