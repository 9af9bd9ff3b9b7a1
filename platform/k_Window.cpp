#include "platform/k_Window.h"

#include <SDL.h>

#include <iostream>
#include <utility>

#include "Failure.h"
#include "IEngine.h"
#include "IGraphics.h"
#include "WideText.h"
#include "platform/DesktopCover.h"
#include "platform/MessageBox.h"
#include "platform/MessagePump.h"
#include "platform/OpenGLScenePresenter.h"
#include "platform/PopupMenuDrawing.h"
#include "platform/SceneViewport.h"
#ifdef ROLLANDIA_X11
#include "platform/ServerScaledScene.h"
#endif
#include "platform/VideoSetup.h"
#include "platform/WindowMessages.h"

namespace {

constexpr int kPrimaryDisplay = 0;
constexpr int kWaitForVerticalSync = 1;
constexpr int kWindowLeft = 0;
constexpr int kWindowTop = 0;

const wchar_t* const kNotImplementedText = L"This menu item has not been implemented yet!";
const wchar_t* const kNotImplementedCaption = L"Quillo 2D Game - Level Editor";

// The button-up message that ends the press a button-down message starts.
unsigned int ButtonRelease(unsigned int press) {
    return press == WM_LBUTTONDOWN ? WM_LBUTTONUP : WM_RBUTTONUP;
}

// Raises the failure; the reason goes to standard error first, since the message the player
// sees does not carry it.
[[noreturn]] void Fail(const wchar_t* message, const char* reason = SDL_GetError()) {
    std::cerr << "SDL: " << reason << std::endl;
    throw k_Failure(message);
}

SDL_Window* ToSdlWindow(WindowHandle window) {
    return static_cast<SDL_Window*>(window);
}

// The display mode of exactly this size at the desktop's colour depth and refresh rate. SDL
// would otherwise switch to the nearest larger mode and show the picture in a corner.
bool FindExactDisplayMode(int width, int height, SDL_DisplayMode& mode) {
    SDL_DisplayMode wanted;
    if (SDL_GetDesktopDisplayMode(kPrimaryDisplay, &wanted) != 0) {
        return false;
    }
    wanted.w = width;
    wanted.h = height;
    if (!SDL_GetClosestDisplayMode(kPrimaryDisplay, &wanted, &mode)) {
        return false;
    }
    return mode.w == width && mode.h == height;
}

}  // namespace

k_Window::k_Window(IEngine* engine, const std::wstring& title, int width, int height, bool fullscreen)
    : engine(engine), title(title), width(width), height(height), fullscreen(fullscreen) {
    popupMenu.label = L"PopupMenu";
}

k_Window::~k_Window() {
    ReleasePresenter();
    if (windowHandle) {
        AttachWindowObject(windowHandle, nullptr);
        if (fullscreen) {
            SDL_SetWindowFullscreen(ToSdlWindow(windowHandle), 0);
            SDL_ShowCursor(SDL_ENABLE);
        }
    }
    if (renderingContext) {
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(renderingContext));
    }
    deviceContext = nullptr;
    if (windowHandle) {
        SDL_DestroyWindow(ToSdlWindow(windowHandle));
        windowHandle = nullptr;
    }
    if (glLibraryLoaded) {
        SDL_GL_UnloadLibrary();
    }
    if (controllersStarted) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    if (videoStarted) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}

// ---------------------------------------------------------------- opening

void k_Window::Open() {
    StartVideo();
    if (SDL_GL_LoadLibrary(nullptr) != 0) {
        Fail(L"Window: Cannot choose pixel format!");
    }
    glLibraryLoaded = true;
    CreateWindowAndContext();
    presenter = std::make_unique<OpenGLScenePresenter>(engine, ToSdlWindow(windowHandle));
    AttachWindowObject(windowHandle, this);
    if (fullscreen) {
        fullscreen = EnterFullscreen();
    }
    SDL_ShowCursor(fullscreen ? SDL_DISABLE : SDL_ENABLE);
    if (SDL_GL_MakeCurrent(ToSdlWindow(deviceContext), static_cast<SDL_GLContext>(renderingContext)) != 0) {
        Fail(L"Cannot make OpenGL Rendering Context current!");
    }
    SDL_GL_SetSwapInterval(kWaitForVerticalSync);
    SDL_DisableScreenSaver();
    if (IGraphics* graphics = engine->GetGraphics()) {
        graphics->SetSize(width, height);
    }
    UpdateDisplaySize();
    SDL_ShowWindow(ToSdlWindow(windowHandle));
    SDL_RaiseWindow(ToSdlWindow(windowHandle));
}

void k_Window::StartVideo() {
    switch (::StartVideo()) {
    case VideoStart::Started:
        videoStarted = true;
        // Without controller support the game still plays from the keyboard.
        controllersStarted = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
        return;
    case VideoStart::Failed:
        Fail(L"Cannot register window class!");
    case VideoStart::NoDisplay:
        Fail(L"Cannot create Window!", "no display to show the window on");
    }
}

// Asks for an accumulation buffer first; a driver without one still gets a window.
void k_Window::CreateWindowAndContext() {
    bool windowCreated = false;
    for (bool withAccumulation : {true, false}) {
        if (!RequestPixelFormat(withAccumulation)) {
            Fail(L"Window: Cannot set pixel format!");
        }
        SDL_Window* window = SDL_CreateWindow(ToUtf8(title).c_str(), kWindowLeft, kWindowTop, width, height,
                                              SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
        if (!window) {
            continue;
        }
        windowCreated = true;
        SDL_GLContext context = SDL_GL_CreateContext(window);
        if (!context) {
            SDL_DestroyWindow(window);
            continue;
        }
        windowHandle = window;
        deviceContext = window;
        renderingContext = context;
        return;
    }
    Fail(windowCreated ? L"Cannot create OpenGL Rendering Context!" : L"Cannot create Window!");
}

// A real change of the display mode where the display has a mode of exactly the window's
// size; elsewhere (and when that change is refused) the window covers the desktop at its own
// mode and the scene is scaled to fill it. False only when both are refused: it stays windowed.
bool k_Window::EnterFullscreen() {
    SDL_Window* window = ToSdlWindow(windowHandle);
    SDL_ShowWindow(window);  // SDL changes the mode only for a shown window
    SDL_DisplayMode mode;
    if (FindExactDisplayMode(width, height, mode) && SDL_SetWindowDisplayMode(window, &mode) == 0 &&
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0) {
        return true;
    }
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(kPrimaryDisplay, &desktop) == 0 && CoverDesktop(window, desktop.w, desktop.h)) {
        ChoosePresenterForFullScreen();
        return true;
    }
    SDL_SetWindowFullscreen(window, 0);
    return false;
}

// Where the renderer is a software rasteriser (or the player asks for it) and the X server
// can scale the scene, OpenGL draws it into the server's scene-sized child and the server
// enlarges it (ServerScaledScene); elsewhere OpenGL enlarges it itself. A window resized by
// hand always scales with OpenGL.
void k_Window::ChoosePresenterForFullScreen() {
#ifdef ROLLANDIA_X11
    if (deviceContext == windowHandle && ChoosePresenterForThisContext() == PresenterKind::Server) {
        if (auto server = ServerScaledScene::Create(engine, ToSdlWindow(windowHandle), width, height)) {
            presenter = std::move(server);
        }
    }
#endif
    deviceContext = presenter->GetSceneWindow();
}

// The context goes back to the window before a presenter with a window of its own goes.
void k_Window::ReleasePresenter() {
    if (windowHandle && deviceContext != windowHandle) {
        SDL_GL_MakeCurrent(ToSdlWindow(windowHandle), static_cast<SDL_GLContext>(renderingContext));
        deviceContext = windowHandle;
    }
    presenter.reset();
}

// Tells the presenter the size of the window's surface, so that it fits the scene into it.
void k_Window::UpdateDisplaySize() {
    if (!presenter || !windowHandle) {
        return;
    }
    int pixelWidth = 0;
    int pixelHeight = 0;
    SDL_GL_GetDrawableSize(ToSdlWindow(windowHandle), &pixelWidth, &pixelHeight);
    presenter->SetDisplay(pixelWidth, pixelHeight, scaling);
}

void k_Window::SetSceneScaling(SceneScaling newScaling) {
    scaling = newScaling;
    UpdateDisplaySize();
}

// Mouse positions reach the engine in scene pixels. On the bars beside the scene, presses and
// the right-button release (which opens the popup menu) are dropped; moves and the left-button
// release are moved to the scene's edge, so that a drag begun in the scene always ends.
bool k_Window::MapMouseToScene(unsigned int message, LParam& lParam) const {
    if (!windowHandle) {
        return true;  // no window yet: the positions are the scene's own
    }
    int clientWidth = 0;
    int clientHeight = 0;
    SDL_GetWindowSize(ToSdlWindow(windowHandle), &clientWidth, &clientHeight);
    SceneRectangle shown = FitScene(width, height, clientWidth, clientHeight, scaling);
    int x = SignedLowWord(lParam);
    int y = SignedHighWord(lParam);
    bool onBar = SurfaceToScene(shown, width, height, x, y) == ScenePoint::OnBar;
    if (onBar && (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_RBUTTONUP)) {
        return false;
    }
    lParam = static_cast<LParam>(MakeLParam(x, y));
    return true;
}

// A message box hides the window and leaves full screen (UncoverDesktop) so that it is seen. A
// program that goes on drawing afterwards gets its window back as it was; one that ends after
// the box never swaps again and leaves the desktop alone.
void k_Window::ReturnAfterMessageBox() {
    SDL_Window* window = ToSdlWindow(windowHandle);
    if (!window || (SDL_GetWindowFlags(window) & SDL_WINDOW_HIDDEN) == 0) {
        return;
    }
    SDL_ShowWindow(window);
    if (fullscreen) {
        fullscreen = EnterFullscreen();
        SDL_ShowCursor(fullscreen ? SDL_DISABLE : SDL_ENABLE);
    }
}

// The scene's rectangle on the drawable, in OpenGL window coordinates (origin bottom-left).
SceneRectangle k_Window::ShownSceneInGLCoordinates() const {
    int pixelWidth = 0;
    int pixelHeight = 0;
    SDL_GL_GetDrawableSize(ToSdlWindow(deviceContext), &pixelWidth, &pixelHeight);
    SceneRectangle shown = FitScene(width, height, pixelWidth, pixelHeight, scaling);
    shown.top = pixelHeight - shown.top - shown.height;
    return shown;
}

// ---------------------------------------------------------------- messages

LResult k_Window::HandleMessage(unsigned int message, WParam wParam, LParam lParam) {
    if (message >= WM_MOUSEMOVE && message <= WM_RBUTTONUP && !MapMouseToScene(message, lParam)) {
        return 0;
    }
    if (popupView.IsOpen() ? HandlePopupMenuMessage(message, wParam, lParam) : TakeMenuRelease(message, wParam)) {
        return 0;
    }
    switch (message) {
    case WM_SIZE:  // the scene keeps its size and is scaled onto the new surface
        popupView.Close();
        UpdateDisplaySize();
        engine->OnResize(width, height);
        return 0;
    case WM_ACTIVATE:
        SetActive(HighWord(wParam) == 0);
        if (!active) {
            popupView.Close();
        }
        return 0;
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        HandleKey(wParam, true);
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        HandleKey(wParam, false);
        return 0;
    case WM_COMMAND:
        HandleCommand(static_cast<int>(wParam));
        return 0;
    case WM_SYSCOMMAND:
        return HandleSystemCommand(wParam);
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
        engine->OnMouse(SignedLowWord(lParam), SignedHighWord(lParam), message);
        return DefaultHandling(message, wParam);
    case WM_RBUTTONUP:
        if (popupMenu.menuHandle) {
            ShowPopupMenu(SignedLowWord(lParam), SignedHighWord(lParam));
            return 0;
        }
        return DefaultHandling(message, wParam);
    default:
        return DefaultHandling(message, wParam);
    }
}

// What the window system does with a message the window leaves to it: minimise, restore and
// close on their system commands; nothing for the others.
LResult k_Window::DefaultHandling(unsigned int message, WParam wParam) {
    if (message != WM_SYSCOMMAND) {
        return 0;
    }
    if (wParam == SC_CLOSE) {
        return HandleMessage(WM_CLOSE, 0, 0);
    }
    if (windowHandle && wParam == SC_MINIMIZE) {
        SDL_MinimizeWindow(ToSdlWindow(windowHandle));
    } else if (windowHandle && wParam == SC_RESTORE) {
        SDL_RestoreWindow(ToSdlWindow(windowHandle));
    }
    return 0;
}

// The screen saver and the monitor's power saving stay off while the game has the focus.
LResult k_Window::HandleSystemCommand(WParam command) {
    if (command == SC_SCREENSAVE || command == SC_MONITORPOWER) {
        return 0;
    }
    if (command == SC_MINIMIZE) {
        SetActive(false);
    } else if (command == SC_RESTORE) {
        SetActive(true);
    }
    return DefaultHandling(WM_SYSCOMMAND, command);
}

// A code outside the key table is ignored whole: cut down to an int it could name another key.
void k_Window::HandleKey(WParam key, bool down) {
    if (key >= static_cast<WParam>(kVirtualKeyCount)) {
        return;
    }
    if (key == static_cast<WParam>(VK_F12) && down && !keys[VK_F12]) {
        screenshotRequested = true;  // once per press, not for each repeat of a held key
    }
    engine->OnKey(static_cast<int>(key), down);
    SetKeyDown(static_cast<int>(key), down);
}

void k_Window::HandleCommand(int id) {
    MenuCallback callback = commands[id];  // an id no leaf has is entered without a callback
    if (!callback) {
        ShowMessageBox(kNotImplementedText, kNotImplementedCaption);
        return;
    }
    callback(commandItems[id]);
}

// ---------------------------------------------------------------- popup menu

void k_Window::SetPopupMenu(const MenuItem& item) {
    popupView.Close();
    commands.clear();
    commandItems.clear();
    MenuItem copy = item;  // `item` may lie inside the menu being replaced
    popupMenu = std::move(copy);
    int nextId = 0;
    BuildMenu(popupMenu, nextId);
}

// Leaves get command ids 0, 1, 2, ... in depth-first order; a submenu's handle is the item itself.
void k_Window::BuildMenu(MenuItem& item, int& nextId) {
    item.menuHandle = nullptr;
    if (item.children.empty()) {
        return;
    }
    item.menuHandle = &item;
    for (MenuItem& child : item.children) {
        BuildMenu(child, nextId);
        if (child.menuHandle) {
            continue;
        }
        commands[nextId] = child.callback;
        commandItems[nextId] = &child;
        ++nextId;
    }
}

// The menu lies in the scene and is scaled with it.
void k_Window::ShowPopupMenu(int x, int y) {
    popupView.Open(popupMenu, x, y, width, height);
}

// The open menu is modal: it takes every mouse message and every key press, so nothing reaches
// the engine's hooks or the key table. Moving highlights, a left click on a leaf chooses it, a
// click elsewhere or Escape closes the menu. The release of a press it took is taken too, even
// after the menu has closed; the release of a key pressed before it opened passes on, so the
// hooks see that key's press and release in pairs and it does not stay down in the key table.
bool k_Window::HandlePopupMenuMessage(unsigned int message, WParam wParam, LParam lParam) {
    int x = SignedLowWord(lParam);
    int y = SignedHighWord(lParam);
    switch (message) {
    case WM_MOUSEMOVE:
        popupView.MoveTo(x, y);
        return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        buttonReleasesTaken.insert(ButtonRelease(message));
        if (!popupView.Contains(x, y)) {
            popupView.Close();
        }
        return true;
    case WM_LBUTTONUP:
        buttonReleasesTaken.erase(message);
        ChoosePopupMenuItem(popupView.LeafAt(x, y));
        return true;
    case WM_RBUTTONUP:
        buttonReleasesTaken.erase(message);
        return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (!IsKeyDown(static_cast<int>(wParam))) {  // not a repeat of a key held before it opened
            keysTaken.insert(wParam);
        }
        if (wParam == static_cast<WParam>(VK_ESCAPE)) {
            popupView.Close();
        }
        return true;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return keysTaken.erase(wParam) > 0;
    default:
        return false;
    }
}

// With the menu closed: takes the releases of presses the open menu took (the button-up of the
// click that closed it, the key-up of Escape) and the repeats of a key it took, so that holding
// Escape to close the menu does not go on to end the game.
bool k_Window::TakeMenuRelease(unsigned int message, WParam wParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        buttonReleasesTaken.erase(ButtonRelease(message));  // a new press: that release was lost
        return false;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        return buttonReleasesTaken.erase(message) > 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        return keysTaken.count(wParam) > 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return keysTaken.erase(wParam) > 0;
    default:
        return false;
    }
}

// The choice reaches the window as a posted WM_COMMAND, like a choice from a system menu.
void k_Window::ChoosePopupMenuItem(const MenuItem* item) {
    if (!item) {
        return;
    }
    popupView.Close();
    for (const auto& entry : commandItems) {
        if (entry.second == item) {
            PostMessage(windowHandle, WM_COMMAND, static_cast<WParam>(entry.first), 0);
            return;
        }
    }
}

void k_Window::DrawPopupMenu() {
    if (!popupView.IsOpen() || !windowHandle) {
        return;
    }
    DrawPopupMenuView(popupView, width, height);
}

// ---------------------------------------------------------------- state

void k_Window::SwapBuffers() {
    if (!deviceContext || !presenter) {
        return;
    }
    ReturnAfterMessageBox();
    DrawPopupMenu();
    presenter->BeforeSwap();
    if (screenshotRequested && windowHandle) {
        screenshotRequested = false;
        screenshots.Capture(ShownSceneInGLCoordinates());
    }
    SDL_GL_SwapWindow(ToSdlWindow(deviceContext));
    presenter->AfterSwap();
}

void k_Window::SetActive(bool isActive) {
    active = isActive;
}

bool k_Window::IsActive() {
    return active;
}

void k_Window::SetFullscreen(bool isFullscreen) {
    fullscreen = isFullscreen;
}

bool k_Window::IsFullscreen() {
    return fullscreen;
}

void k_Window::SetDeviceContext(DeviceContext context) {
    deviceContext = context;
}

DeviceContext k_Window::GetDeviceContext() {
    return deviceContext;
}

void k_Window::SetTitle(const std::wstring& caption) {
    if (windowHandle) {
        SDL_SetWindowTitle(ToSdlWindow(windowHandle), ToUtf8(caption).c_str());
    }
}

std::wstring k_Window::GetTitle() {
    return windowHandle ? FromUtf8(SDL_GetWindowTitle(ToSdlWindow(windowHandle))) : title;
}

void k_Window::SetKeyDown(int key, bool down) {
    if (key >= 0 && key < kVirtualKeyCount) {
        keys[key] = down;
    }
}

bool k_Window::IsKeyDown(int key) {
    return key >= 0 && key < kVirtualKeyCount && keys[key];
}

WindowHandle k_Window::GetHandle() {
    return windowHandle;
}
