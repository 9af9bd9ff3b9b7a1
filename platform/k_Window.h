// The engine's one window (on SDL2) and the owner of its OpenGL context. Turns window messages
// into the engine's input events, keeps the key table for polling, tracks whether the game may
// run, and owns the right-click popup menu, which it draws over the picture before each swap.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "IWindow.h"
#include "platform/PicturesFolder.h"
#include "platform/ScreenshotSaver.h"
#include "platform/ScenePresenter.h"
#include "platform/VirtualKeys.h"
#include "platform/k_PopupMenuView.h"

class IEngine;

class k_Window : public IWindow {
public:
    // Only stores the values; Open creates the window. The engine must outlive the window.
    k_Window(IEngine* engine, const std::wstring& title, int width, int height, bool fullscreen);
    ~k_Window() override;
    k_Window(const k_Window&) = delete;
    k_Window& operator=(const k_Window&) = delete;

    void Open() override;
    LResult HandleMessage(unsigned int message, WParam wParam, LParam lParam) override;
    // Draws the open popup menu, has the presenter bring the picture onto the display (scaled
    // to fill it), takes a screenshot when F12 was pressed, then shows the picture.
    void SwapBuffers() override;
    void SetActive(bool active) override;
    bool IsActive() override;
    void SetFullscreen(bool fullscreen) override;
    bool IsFullscreen() override;
    void SetDeviceContext(DeviceContext deviceContext) override;
    DeviceContext GetDeviceContext() override;
    // Changes the caption of the open window; before Open it has no effect.
    void SetTitle(const std::wstring& title) override;
    // The open window's caption; before Open, the title given at construction.
    std::wstring GetTitle() override;
    void SetKeyDown(int key, bool down) override;
    bool IsKeyDown(int key) override;
    void SetPopupMenu(const MenuItem& item) override;
    WindowHandle GetHandle() override;

    // Draws the open popup menu over the current picture (SwapBuffers does this every frame).
    void DrawPopupMenu();
    const k_PopupMenuView& GetPopupMenuView() const { return popupView; }
    // The window's own copy of the popup menu, with the menu handles of its submenus.
    const MenuItem& GetPopupMenu() const { return popupMenu; }
    // How the scene is enlarged on a larger display, from the next frame on; smooth until set.
    void SetSceneScaling(SceneScaling scaling);

private:
    void StartVideo();
    void CreateWindowAndContext();
    bool EnterFullscreen();
    void ChoosePresenterForFullScreen();
    void ReleasePresenter();
    void ReturnAfterMessageBox();
    void UpdateDisplaySize();
    bool MapMouseToScene(unsigned int message, LParam& lParam) const;
    SceneRectangle ShownSceneInGLCoordinates() const;
    LResult DefaultHandling(unsigned int message, WParam wParam);
    LResult HandleSystemCommand(WParam command);
    void HandleKey(WParam key, bool down);
    void HandleCommand(int id);
    bool HandlePopupMenuMessage(unsigned int message, WParam wParam, LParam lParam);
    bool TakeMenuRelease(unsigned int message, WParam wParam);
    void ShowPopupMenu(int x, int y);
    void ChoosePopupMenuItem(const MenuItem* item);
    void BuildMenu(MenuItem& item, int& nextId);

    IEngine* engine;
    std::wstring title;
    int width;
    int height;
    DeviceContext deviceContext = nullptr;  // the window drawn into and swapped
    std::unique_ptr<ScenePresenter> presenter;  // brings the scene onto the display; from Open on
    SceneScaling scaling = SceneScaling::Smooth;
    void* renderingContext = nullptr;       // SDL_GLContext
    WindowHandle windowHandle = nullptr;    // SDL_Window
    MenuItem popupMenu;
    bool active = true;
    bool fullscreen;
    std::array<bool, kVirtualKeyCount> keys{};
    std::map<int, MenuCallback> commands;
    std::map<int, MenuItem*> commandItems;
    k_PopupMenuView popupView;
    bool screenshotRequested = false;
    ScreenshotSaver screenshots{ScreenshotFolder};
    std::set<WParam> keysTaken;                  // keys pressed while the menu was open, not yet released
    std::set<unsigned int> buttonReleasesTaken;  // button-ups that end presses the menu took
    bool videoStarted = false;
    bool controllersStarted = false;  // game controllers play through the key messages
    bool glLibraryLoaded = false;
};
