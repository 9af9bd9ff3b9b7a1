#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Failure.h"
#include "IGraphics.h"
#include "platform/VirtualKeys.h"
#include "platform/WindowTesting.h"

namespace {

// Whether SDL's video starts on a driver that shows windows. A loaded Xvfb refuses a connection
// now and then, so one failure is not taken as the answer.
bool CanShowWindows() {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            continue;
        }
        std::string driver = SDL_GetCurrentVideoDriver();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        if (driver != "offscreen" && driver != "dummy") {
            return true;
        }
    }
    return false;
}

class SizeRecordingGraphics : public IGraphics {
public:
    std::vector<ResizeEvent> sizes;

    void SetSize(int width, int height) override { sizes.push_back({width, height}); }
    void Clear() override {}
    void SetupView() override {}
    void RenderToTexture(ITexture*) override {}
    void AccumulateScene(float) override {}
    void ShowAccumulated() override {}
    void SetDisplaySize(int, int) override {}
    void PresentScene() override {}
    void SetSceneScaling(SceneScaling) override {}
};

GLint GLInteger(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

// Tests that open the real window. They need a display (the test command starts Xvfb); the
// window's own Open starts and stops SDL's video subsystem.
class WindowOnDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        if (!CanShowWindows()) {
            GTEST_SKIP() << "no display";
        }
        engine.graphics = &graphics;
    }

    std::unique_ptr<k_Window> OpenWindow(int width, int height, bool fullscreen) {
        auto window = std::make_unique<k_Window>(&engine, L"Rollandia tests", width, height, fullscreen);
        window->Open();
        return window;
    }

    static ResizeEvent WindowSize(k_Window& window) {
        ResizeEvent size;
        SDL_GetWindowSize(static_cast<SDL_Window*>(window.GetHandle()), &size.first, &size.second);
        return size;
    }

    RecordingEngine engine;
    SizeRecordingGraphics graphics;
};

TEST_F(WindowOnDisplay, OpensWindowedWithTheGamesPixelFormatAndTitle) {
    auto window = OpenWindow(320, 200, false);
    ASSERT_NE(window->GetHandle(), nullptr);
    EXPECT_NE(SDL_GL_GetCurrentContext(), nullptr);
    EXPECT_FALSE(window->IsFullscreen());
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);

    EXPECT_GE(GLInteger(GL_ACCUM_RED_BITS), 16) << "motion blur needs the accumulation buffer";
    EXPECT_GE(GLInteger(GL_DEPTH_BITS), 24);
    GLboolean doubleBuffered = GL_FALSE;
    glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
    EXPECT_TRUE(doubleBuffered);

    EXPECT_EQ(WindowSize(*window), ResizeEvent(320, 200));
    ASSERT_FALSE(graphics.sizes.empty());
    EXPECT_EQ(graphics.sizes.back(), ResizeEvent(320, 200));
    window->SwapBuffers();

    window->SetTitle(L"Éditeur – niveau 2");
    EXPECT_EQ(window->GetTitle(), L"Éditeur – niveau 2");
    EXPECT_STREQ(SDL_GetWindowTitle(static_cast<SDL_Window*>(window->GetHandle())), "Éditeur – niveau 2");
}

TEST_F(WindowOnDisplay, FullScreenChangesModeWhereTheSizeExistsCoversTheDesktopElsewhereAndStepsAsideForABox) {
    SDL_DisplayMode desktop;
    {
        auto window = OpenWindow(333, 222, true);  // a size the display lacks: the desktop's own mode
        Uint32 flags = SDL_GetWindowFlags(static_cast<SDL_Window*>(window->GetHandle()));
        EXPECT_TRUE(window->IsFullscreen());
        EXPECT_EQ(flags & SDL_WINDOW_FULLSCREEN_DESKTOP, static_cast<Uint32>(SDL_WINDOW_FULLSCREEN_DESKTOP));
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
        ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
        UncoverDesktop();  // and back, scaled again
        window->SwapBuffers();
        EXPECT_EQ(SDL_GetWindowFlags(static_cast<SDL_Window*>(window->GetHandle())) & SDL_WINDOW_FULLSCREEN_DESKTOP,
                  static_cast<Uint32>(SDL_WINDOW_FULLSCREEN_DESKTOP));
    }
    {
        auto window = OpenWindow(desktop.w, desktop.h, true);
        Uint32 flags = SDL_GetWindowFlags(static_cast<SDL_Window*>(window->GetHandle()));
        EXPECT_TRUE(window->IsFullscreen());
        EXPECT_EQ(flags & SDL_WINDOW_FULLSCREEN_DESKTOP, static_cast<Uint32>(SDL_WINDOW_FULLSCREEN)) << "a real mode";
        SDL_Window* sdlWindow = static_cast<SDL_Window*>(window->GetHandle());
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);

        // A failure box must not sit behind the full-screen window: the window steps aside for
        // it, and comes back as it was when the program draws on.
        UncoverDesktop();
        EXPECT_EQ(SDL_GetWindowFlags(sdlWindow) & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_HIDDEN), SDL_WINDOW_HIDDEN);
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
        window->SwapBuffers();
        EXPECT_EQ(SDL_GetWindowFlags(sdlWindow) & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_HIDDEN), SDL_WINDOW_FULLSCREEN);
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    }
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u) << "the window stops the video subsystem it started";
}

TEST_F(WindowOnDisplay, EventsForTheWindowReachItThroughThePump) {
    auto window = OpenWindow(320, 200, false);
    PumpMessages();
    engine.mouse.clear();
    Uint32 windowId = SDL_GetWindowID(static_cast<SDL_Window*>(window->GetHandle()));

    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.windowID = windowId;
    key.key.keysym.sym = SDLK_RIGHT;
    SDL_PushEvent(&key);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = windowId;
    motion.motion.x = 12;
    motion.motion.y = 34;
    SDL_PushEvent(&motion);
    // A controller's input belongs to no window: it goes to the open one. The stick swept from
    // left to right is one event and two key messages; waiting leaves them in the queue.
    for (Sint16 value : {-32768, 32767}) {
        SDL_Event stick{};
        stick.caxis = {SDL_CONTROLLERAXISMOTION, 0, 0, SDL_CONTROLLER_AXIS_LEFTX, 0, 0, 0, value, 0};
        SDL_PushEvent(&stick);
    }
    EXPECT_TRUE(WaitMessage(5000));
    PumpMessages();
    EXPECT_TRUE(window->IsKeyDown(VK_RIGHT));
    EXPECT_FALSE(window->IsKeyDown(VK_LEFT));
    EXPECT_NE(std::find(engine.mouse.begin(), engine.mouse.end(), MouseEvent{12, 34, WM_MOUSEMOVE}), engine.mouse.end());
}

// Every key the game and the editor read, pressed and let go as SDL key events for the window:
// through the translator and the pump it must reach the key table as the virtual key the code
// asks for, and as no other of them.
TEST_F(WindowOnDisplay, EveryKeyTheGameAndTheEditorReadReachesTheKeyTableAsItsVirtualKey) {
    const struct {
        SDL_Keycode sdlKey;
        int virtualKey;
    } keys[] = {
        {SDLK_LEFT, VK_LEFT},     {SDLK_RIGHT, VK_RIGHT},    {SDLK_UP, VK_UP},          {SDLK_DOWN, VK_DOWN},
        {SDLK_KP_4, VK_LEFT},     {SDLK_KP_6, VK_RIGHT},     {SDLK_KP_8, VK_UP},        {SDLK_KP_2, VK_DOWN},
        {SDLK_RETURN, VK_RETURN}, {SDLK_KP_ENTER, VK_RETURN}, {SDLK_ESCAPE, VK_ESCAPE}, {SDLK_F12, VK_F12},
        {SDLK_F3, VK_F3},         {SDLK_TAB, VK_TAB},        {SDLK_SPACE, VK_SPACE},    {SDLK_DELETE, VK_DELETE},
        {SDLK_PAGEUP, VK_PRIOR},  {SDLK_PAGEDOWN, VK_NEXT},  {SDLK_LCTRL, VK_CONTROL},  {SDLK_RCTRL, VK_CONTROL},
        {SDLK_a, 'A'},            {SDLK_c, 'C'},             {SDLK_d, 'D'},             {SDLK_g, 'G'},
        {SDLK_h, 'H'},            {SDLK_m, 'M'},             {SDLK_n, 'N'},             {SDLK_o, 'O'},
        {SDLK_p, 'P'},            {SDLK_s, 'S'},             {SDLK_w, 'W'},             {SDLK_y, 'Y'},
        {SDLK_z, 'Z'},
    };
    auto window = OpenWindow(320, 200, false);
    PumpMessages();
    const Uint32 windowId = SDL_GetWindowID(static_cast<SDL_Window*>(window->GetHandle()));
    auto send = [&](Uint32 type, SDL_Keycode key) {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = windowId;
        event.key.keysym.sym = key;
        SDL_PushEvent(&event);
        PumpMessages();
    };
    auto keysDown = [&] {
        std::vector<int> down;
        for (const auto& key : keys) {
            if (window->IsKeyDown(key.virtualKey) && std::find(down.begin(), down.end(), key.virtualKey) == down.end()) {
                down.push_back(key.virtualKey);
            }
        }
        return down;
    };
    for (const auto& key : keys) {
        send(SDL_KEYDOWN, key.sdlKey);
        EXPECT_EQ(keysDown(), std::vector<int>{key.virtualKey}) << SDL_GetKeyName(key.sdlKey);
        send(SDL_KEYUP, key.sdlKey);
        EXPECT_EQ(keysDown(), std::vector<int>{}) << SDL_GetKeyName(key.sdlKey) << " let go";
    }
}

// SDL releases the keys held when the window loses the focus; they must leave the key table,
// or a key let go in another window would stay down for ever. Real key presses come from
// xdotool; with Num Lock off the keypad's 4 is the Left arrow.
TEST_F(WindowOnDisplay, KeysHeldWhenTheFocusMovesAwayAreReleased) {
    if (std::system("command -v xdotool >/dev/null") != 0) {
        GTEST_SKIP() << "xdotool is not installed";
    }
    auto window = OpenWindow(320, 200, false);
    window->SetTitle(L"RollandiaFocusTest");
    SDL_Window* other = SDL_CreateWindow("RollandiaOtherWindow", 400, 0, 100, 100, SDL_WINDOW_SHOWN);
    auto run = [this](const char* command) {
        EXPECT_EQ(std::system(command), 0) << command;
        for (int round = 0; round < 20; ++round) {
            SDL_Delay(10);
            PumpMessages();
        }
    };
    run("xdotool search --name RollandiaFocusTest windowfocus --sync");
    run("xdotool keydown a keydown KP_Left");
    bool held = window->IsKeyDown('A') && window->IsKeyDown(VK_LEFT);
    run("xdotool search --name RollandiaOtherWindow windowfocus --sync");
    EXPECT_FALSE(window->IsKeyDown('A') || window->IsKeyDown(VK_LEFT));
    run("xdotool keyup a keyup KP_Left");
    SDL_DestroyWindow(other);
    if (!held) {  // tests run side by side on one display open windows that take the focus
        GTEST_SKIP() << "another window had the focus when the keys went down";
    }
}

// Reads one pixel of the back buffer, with y counted from the top like client coordinates.
std::array<GLubyte, 3> PixelAt(int x, int y, int windowHeight) {
    std::array<GLubyte, 3> pixel{};
    glReadBuffer(GL_BACK);
    glReadPixels(x, windowHeight - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel.data());
    return pixel;
}

TEST_F(WindowOnDisplay, PopupMenuIsDrawnOverThePictureAndItsChoiceReachesTheCallback) {
    static int chosen = 0;
    chosen = 0;
    MenuItem leaf{{}, L"Wall", nullptr, [](MenuItem*) { ++chosen; }};
    MenuItem menu{{leaf, leaf}, L"Editor"};
    auto window = OpenWindow(320, 200, false);
    window->SetPopupMenu(menu);
    window->HandleMessage(WM_RBUTTONUP, 0, MakeLParam(20, 30));
    const k_PopupMenuView::Panel panel = window->GetPopupMenuView().GetPanels().at(0);

    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 320, 200, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    window->DrawPopupMenu();

    EXPECT_EQ(PixelAt(10, 10, 200), (std::array<GLubyte, 3>{0, 0, 0})) << "outside the menu";
    std::array<GLubyte, 3> inside = PixelAt(panel.left + 3, panel.top + 3, 200);
    EXPECT_GT(inside[0], 200) << "the menu's light background";
    int darkPixels = 0;
    for (int x = panel.left + 1; x < panel.left + panel.width - 1; ++x) {
        for (int y = panel.top + 1; y < panel.top + k_PopupMenuView::kItemHeight; ++y) {
            darkPixels += PixelAt(x, y, 200)[0] < 64 ? 1 : 0;
        }
    }
    EXPECT_GT(darkPixels, 20) << "the label is drawn";

    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(GLInteger(GL_MATRIX_MODE), GL_MODELVIEW);
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_FLOAT_EQ(projection[0], 2.0f / 320.0f);
    EXPECT_FLOAT_EQ(projection[5], -2.0f / 200.0f);

    // The choice is posted to the window and comes back to it through the pump.
    window->HandleMessage(WM_LBUTTONUP, 0, MakeLParam(panel.left + 5, panel.top + 5));
    PumpMessages();
    EXPECT_EQ(chosen, 1);
}

// Failures of Open, reached through SDL's choice of video driver (no display needed).
TEST(WindowOpenFailure, EachFailingStepIsReportedAndStopsTheVideoItStarted) {
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
        GTEST_SKIP() << "the video subsystem is already running; the driver cannot be chosen";
    }
    // With no driver asked for and no display, SDL picks a driver that shows nothing.
    bool hasDisplay = getenv("DISPLAY") || getenv("WAYLAND_DISPLAY") || getenv("SDL_VIDEODRIVER");
    const std::pair<const char*, const wchar_t*> cases[] = {{"no-such-driver", L"Cannot register window class!"},
                                                            {"dummy", L"Window: Cannot choose pixel format!"},
                                                            {nullptr, L"Cannot create Window!"}};
    for (auto [driver, expected] : cases) {
        if (!driver && hasDisplay) {
            continue;
        }
        if (driver) {
            SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
        }
        RecordingEngine engine;
        std::wstring message = L"(no failure)";
        {
            k_Window window(&engine, L"Tests", 320, 200, false);
            try {
                window.Open();
            } catch (const k_Failure& failure) {
                message = failure.Message();
            }
        }
        SDL_ResetHint(SDL_HINT_VIDEODRIVER);
        EXPECT_EQ(message, expected);
        EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u) << "a half-opened window still stops what it started";
    }
}

}  // namespace
