#include "world/k_World.h"

#include "world/k_Screen.h"

k_World::k_World(IEngine* engine) : engine(engine) {}

k_World::~k_World() {
    if (currentScreen) {
        currentScreen->Leave();
        currentScreen = nullptr;
    }
    screens.clear();
}

std::vector<std::unique_ptr<IScreen>>& k_World::GetScreens() { return screens; }

std::unique_ptr<IScreen> k_World::CreateScreen(int x, int y) { return std::make_unique<k_Screen>(engine, this, x, y); }

// Making the current screen current again leaves and re-enters it, rebuilding its sprites.
void k_World::SetCurrentScreen(IScreen* screen) {
    if (currentScreen) {
        currentScreen->Leave();
    }
    currentScreen = screen;
    if (!currentScreen) {
        return;
    }
    try {
        currentScreen->Enter();
    } catch (...) {
        currentScreen = nullptr;  // a screen that could not be entered is not current
        throw;
    }
}

IScreen* k_World::GetCurrentScreen() { return currentScreen; }

void k_World::SetName(const std::wstring& newName) { name = newName; }

std::wstring k_World::GetName() { return name; }

void k_World::SetMusic(const std::wstring& newMusic) { music = newMusic; }

std::wstring k_World::GetMusic() { return music; }
