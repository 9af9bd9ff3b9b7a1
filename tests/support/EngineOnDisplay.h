// A real engine with an open window (skipped without a display) and a row of screens for it.
#pragma once

#include <gtest/gtest.h>

#include <SDL.h>

#include "IEngine.h"
#include "IUniverse.h"

class EngineOnDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            GTEST_SKIP() << "no display: " << SDL_GetError();
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        engine.reset(CreateEngine(settings));
        engine->Init();
    }

    // One world of screens at the given columns of row 0, the first one current.
    IWorld* MakeWorld(const std::vector<std::vector<SpriteData>>& screens) {
        IUniverse* universe = engine->GetUniverse();
        std::unique_ptr<IWorld> world = universe->CreateWorld();
        for (std::size_t column = 0; column < screens.size(); ++column) {
            world->GetScreens().push_back(world->CreateScreen(static_cast<int>(column), 0));
            world->GetScreens().back()->GetSpriteData() = screens[column];
        }
        IWorld* raw = world.get();
        universe->GetWorlds().push_back(std::move(world));
        universe->SetCurrentWorld(raw);
        return raw;
    }

    Settings settings{{L"Title", L"test"}, {L"Width", L"320"}, {L"Height", L"200"}, {L"Fullscreen", L"0"}, {L"Zip", L"0"}};
    std::unique_ptr<IEngine> engine;
};
