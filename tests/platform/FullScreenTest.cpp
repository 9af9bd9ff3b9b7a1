// The game's window on 4:3, 5:4, 16:9 and 16:10 displays without an 800 x 600 mode, each on an
// Xvfb of its own: asked for full screen (the X server or OpenGL scales the scene) or resized
// by hand (OpenGL scales it), the scene fills the screen between black bars, evenly scaled,
// clicks reach the hook in scene pixels, and F12 saves the scene.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <vector>

#include "graphics/PngDecoder.h"
#include "graphics/k_Graphics.h"
#include "graphics/k_Texture.h"
#include "platform/ScenePresenter.h"
#include "platform/WindowTesting.h"
#include "support/MemoryFiles.h"
#include "support/PngWriter.h"
#include "support/TempDirectory.h"
#include "support/VirtualDisplay.h"
#include "world/k_Sprite.h"

namespace {

using Rgb = std::array<int, 3>;
constexpr Rgb kBlack{0, 0, 0};
// The scene's quarters: top-left, top-right, bottom-left, bottom-right.
constexpr std::array<Rgb, 4> kQuarters{{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}}};

// The red quarter's white grid: one scene pixel wide every kGridStep pixels, at kGridStep / 2.
constexpr int kGridStep = 16;
// Each line's light may differ this much from its share: filtering samples a line at a few
// points; the nearest pixel at a fractional scale draws some lines twice as wide as others.
constexpr double kLightTolerance = 0.2;

struct DisplaySize {
    int width;
    int height;
    SceneRectangle shown;  // where the 800 x 600 scene shows, top-left origin
    bool fullscreen;       // else a window resized to fill the display
    PresenterKind presenter;
    SceneScaling scaling;
};

// The colour at (x, y), y counted from the top, of a picture held bottom row first.
Rgb ColourAt(const PngImage& picture, int x, int y) {
    const std::uint8_t* pixel = &picture.pixels[((picture.height - 1 - y) * picture.width + x) * picture.channels];
    return {pixel[0], pixel[1], pixel[2]};
}

// Each quarter's colour in its outer corner pixel, and black on every pixel outside the scene:
// the bars above, below, left and right of it.
void ExpectQuartersAndBars(const PngImage& picture, const SceneRectangle& scene) {
    const int right = scene.left + scene.width - 1;
    const int bottom = scene.top + scene.height - 1;
    EXPECT_EQ(ColourAt(picture, scene.left, scene.top), kQuarters[0]);
    EXPECT_EQ(ColourAt(picture, right, scene.top), kQuarters[1]);
    EXPECT_EQ(ColourAt(picture, scene.left, bottom), kQuarters[2]);
    EXPECT_EQ(ColourAt(picture, right, bottom), kQuarters[3]);
    int litBarPixels = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            bool inScene = x >= scene.left && x <= right && y >= scene.top && y <= bottom;
            litBarPixels += !inScene && ColourAt(picture, x, y) != kBlack;
        }
    }
    EXPECT_EQ(litBarPixels, 0) << "the bars beside " << scene.left << ", " << scene.top << ", " << scene.width
                               << " x " << scene.height;
}

// The light (green) of each of the red quarter's grid lines on the display is its even share:
// a scene pixel covers scale x scale display pixels. Columns are summed along a display row
// halfway between the grid's rows, rows along a column halfway between its columns; the last
// cell, which borders another quarter, is left out.
void ExpectEvenScaling(const PngImage& picture, const SceneRectangle& scene) {
    const double scale = scene.width / 800.0;
    const int across = static_cast<int>((kGridStep + 0.5) * scale);
    for (bool columns : {true, false}) {
        for (int cell = 0; cell < (columns ? 400 : 300) / kGridStep - 1; ++cell) {
            int green = 0;
            const auto end = std::lround((cell + 1) * kGridStep * scale);
            for (auto along = std::lround(cell * kGridStep * scale); along < end; ++along) {
                green += columns ? ColourAt(picture, scene.left + int(along), scene.top + across)[1]
                                 : ColourAt(picture, scene.left + across, scene.top + int(along))[1];
            }
            EXPECT_NEAR(green / (255.0 * scale), 1.0, kLightTolerance) << (columns ? "column " : "row ") << cell;
        }
    }
}

// What the display shows, read from the X server once it has done what the window asked.
PngImage ScreenPicture(SDL_Window* window, int width, int height) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    PngImage picture{width, height, 3, std::vector<std::uint8_t>(std::size_t(width) * height * 3)};
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
        ADD_FAILURE() << "not on an X server";
        return picture;
    }
    Display* display = info.info.x11.display;
    XSync(display, False);
    XImage* image = XGetImage(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned long pixel = XGetPixel(image, x, y);
            std::uint8_t* rgb = &picture.pixels[((height - 1 - y) * std::size_t(width) + x) * 3];
            rgb[0] = static_cast<std::uint8_t>(pixel >> 16);
            rgb[1] = static_cast<std::uint8_t>(pixel >> 8);
            rgb[2] = static_cast<std::uint8_t>(pixel);
        }
    }
    XDestroyImage(image);
    return picture;
}

class FullScreenOnALargerDisplay : public ::testing::TestWithParam<DisplaySize> {
protected:
    void SetUp() override {
        if (SDL_WasInit(SDL_INIT_VIDEO) != 0) {
            GTEST_SKIP() << "the video subsystem is already running on another display";
        }
        if (std::system("command -v xdotool >/dev/null") != 0) {
            GTEST_SKIP() << "xdotool is not installed";
        }
        if (GetParam().presenter == PresenterKind::Server && !CanScaleInTheServer()) {
            GTEST_SKIP() << "built without X11: OpenGL scales, as in the OpenGL cases";
        }
        display = std::make_unique<VirtualDisplay>(GetParam().width, GetParam().height);
        if (!display->IsReady()) {
            GTEST_SKIP() << "Xvfb could not be started";
        }
        PaintTheDesktopWhite();
        engine.graphics = &graphics;
        engine.fileSystem = &files;
        // The server is chosen by itself: the test's renderer is a software rasteriser.
        if (GetParam().presenter == PresenterKind::OpenGL) {
            setenv("ROLLANDIA_SCALING", "opengl", 1);
        }
        window = std::make_unique<k_Window>(&engine, L"Full screen", 800, 600, GetParam().fullscreen);
        window->Open();
        window->SetSceneScaling(GetParam().scaling);
        if (!GetParam().fullscreen) {
            SDL_SetWindowSize(static_cast<SDL_Window*>(window->GetHandle()), GetParam().width, GetParam().height);
        }
        WaitForTheDisplaySize();
        window->SwapBuffers();  // the driver takes the window's new size at a swap, as in the game's first frame
        for (int quarter = 0; quarter < 4; ++quarter) {
            std::wstring name = L"quarter" + std::to_wstring(quarter) + L".png";
            Rgb colour = kQuarters[quarter];
            files.files[name] = WritePng(TrueColourPicture(400, 300, false, [&](int x, int y) {
                bool gridLine = quarter == 0 && (x % kGridStep == kGridStep / 2 || y % kGridStep == kGridStep / 2);
                return gridLine ? std::array<int, 4>{255, 255, 255, 255}
                                : std::array<int, 4>{colour[0], colour[1], colour[2], 255};
            }));
            textures.push_back(std::make_unique<k_Texture>(&engine, name));
            sprites.push_back(std::make_unique<k_Sprite>(&engine, r_SpriteType::Background));
            sprites.back()->SetTexture(textures.back().get());
            sprites.back()->GetData().left = static_cast<float>(quarter % 2 * 400);
            sprites.back()->GetData().top = static_cast<float>(quarter / 2 * 300);
            engine.AddSprite(sprites.back().get(), false, nullptr);
        }
    }

    void TearDown() override {
        sprites.clear();
        textures.clear();
        window.reset();
        display.reset();
        unsetenv("ROLLANDIA_SCALING");
    }

    void WaitForTheDisplaySize() {
        for (int wait = 0; wait < 100; ++wait) {
            PumpMessages();
            int width = 0;
            int height = 0;
            SDL_GL_GetDrawableSize(static_cast<SDL_Window*>(window->GetHandle()), &width, &height);
            if (width == GetParam().width && height == GetParam().height) {
                return;
            }
            SDL_Delay(20);
        }
    }

    void DrawScene() {
        graphics.Clear();
        graphics.AccumulateScene(1.0f);
        graphics.ShowAccumulated();
    }

    // Bars the window left unpainted would show the desktop.
    static void PaintTheDesktopWhite() {
        Display* desktop = XOpenDisplay(nullptr);
        ASSERT_NE(desktop, nullptr);
        XSetWindowBackground(desktop, DefaultRootWindow(desktop), WhitePixel(desktop, DefaultScreen(desktop)));
        XClearWindow(desktop, DefaultRootWindow(desktop));
        XCloseDisplay(desktop);
    }

    // A real click at (x, y) on the display; waits until its release has reached the window.
    void Click(int x, int y) {
        auto releases = [this] {
            return std::count_if(engine.mouse.begin(), engine.mouse.end(),
                                 [](const MouseEvent& event) { return std::get<2>(event) == WM_LBUTTONUP; });
        };
        const auto before = releases();
        std::string command = "xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1";
        ASSERT_EQ(std::system(command.c_str()), 0);
        for (int wait = 0; wait < 250 && releases() == before; ++wait) {
            PumpMessages();
            SDL_Delay(20);
        }
    }

    std::vector<MouseEvent> Presses() const {
        std::vector<MouseEvent> presses;
        std::copy_if(engine.mouse.begin(), engine.mouse.end(), std::back_inserter(presses),
                     [](const MouseEvent& event) { return std::get<2>(event) == WM_LBUTTONDOWN; });
        return presses;
    }

    std::unique_ptr<VirtualDisplay> display;
    RecordingEngine engine;
    MemoryFileSystem files;
    k_Graphics graphics{&engine};
    std::unique_ptr<k_Window> window;
    std::vector<std::unique_ptr<k_Texture>> textures;
    std::vector<std::unique_ptr<k_Sprite>> sprites;
};

TEST_P(FullScreenOnALargerDisplay, TheSceneFillsTheScreenBetweenBarsTakesClicksAndF12SavesIt) {
    const DisplaySize size = GetParam();
    const SceneRectangle shown = size.shown;
    EXPECT_EQ(window->IsFullscreen(), size.fullscreen);
    for (const ResizeEvent& resize : engine.resizes) {
        EXPECT_EQ(resize, ResizeEvent(800, 600)) << "the hooks keep seeing the scene's size";
    }
    DrawScene();
    window->SwapBuffers();
    const PngImage screen = ScreenPicture(static_cast<SDL_Window*>(window->GetHandle()), size.width, size.height);
    ExpectQuartersAndBars(screen, shown);
    ExpectEvenScaling(screen, shown);

    engine.mouse.clear();
    Click(shown.left + shown.width / 2, shown.top + shown.height / 2);
    Click(shown.left + shown.width - 1, shown.top + shown.height - 1);
    Click(shown.left + shown.width / 4, shown.top / 2);   // the upper bar, where there is one
    Click(shown.left / 2, shown.top + shown.height / 4);  // the left bar, where there is one
    std::vector<MouseEvent> expected{{400, 300, WM_LBUTTONDOWN}, {799, 599, WM_LBUTTONDOWN}};
    if (shown.top == 0) {
        expected.push_back({200, 0, WM_LBUTTONDOWN});
    }
    if (shown.left == 0) {
        expected.push_back({0, 150, WM_LBUTTONDOWN});
    }
    EXPECT_EQ(Presses(), expected);

    TempDirectory home;
    std::filesystem::create_directories(home.Path("Pictures"));
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", home.Path().c_str(), 1);
    DrawScene();
    window->HandleMessage(WM_KEYDOWN, VK_F12, 0);
    EXPECT_EQ(engine.keys, (std::vector<KeyEvent>{{VK_F12, true}})) << "the hooks still get F12";
    window->SwapBuffers();
    TearDown();  // waits for the picture to be written
    setenv("HOME", savedHome.c_str(), 1);
    std::filesystem::directory_iterator saved(home.Path("Pictures"));
    ASSERT_NE(saved, std::filesystem::directory_iterator());
    const std::string file = home.Read("Pictures/" + saved->path().filename().string());
    PngImage picture;
    std::string error;
    ASSERT_TRUE(DecodePng(reinterpret_cast<const std::uint8_t*>(file.data()), file.size(), picture, error)) << error;
    // Scaled by the server, the picture is the scene at its own size; by OpenGL, as shown.
    const SceneRectangle scene = size.presenter == PresenterKind::Server
                                     ? SceneRectangle{0, 0, 800, 600}
                                     : SceneRectangle{0, 0, shown.width, shown.height};
    EXPECT_EQ(picture.width, scene.width);
    EXPECT_EQ(picture.height, scene.height);
    ExpectQuartersAndBars(picture, scene);
}

constexpr auto kServer = PresenterKind::Server;
constexpr auto kOpenGL = PresenterKind::OpenGL;
constexpr auto kSmooth = SceneScaling::Smooth;
constexpr auto kSharp = SceneScaling::Sharp;

INSTANTIATE_TEST_SUITE_P(
    Displays, FullScreenOnALargerDisplay,
    ::testing::Values(DisplaySize{1024, 768, {0, 0, 1024, 768}, true, kServer, kSmooth},
                      DisplaySize{1280, 1024, {0, 32, 1280, 960}, true, kServer, kSmooth},
                      DisplaySize{1920, 1080, {240, 0, 1440, 1080}, true, kServer, kSmooth},
                      DisplaySize{1920, 1200, {160, 0, 1600, 1200}, true, kServer, kSharp},
                      DisplaySize{1024, 768, {112, 84, 800, 600}, true, kServer, kSharp},
                      DisplaySize{1920, 1080, {240, 0, 1440, 1080}, true, kOpenGL, kSmooth},
                      DisplaySize{1920, 1200, {160, 0, 1600, 1200}, true, kOpenGL, kSharp},
                      DisplaySize{1280, 1024, {0, 32, 1280, 960}, false, kOpenGL, kSmooth}),
    [](const auto& info) {
        const DisplaySize& size = info.param;
        return std::to_string(size.width) + "x" + std::to_string(size.height) + (size.fullscreen ? "" : "Window") +
               (size.presenter == kServer ? "Server" : "OpenGL") + (size.scaling == kSmooth ? "Smooth" : "Sharp");
    });

}  // namespace
