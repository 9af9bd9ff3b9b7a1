// The game's one window with its OpenGL context, key table and popup menu.
#pragma once

#include <string>

#include "MenuItem.h"
#include "PlatformTypes.h"

class IWindow {
public:
    virtual ~IWindow() = default;

    virtual void Open() = 0;
    virtual LResult HandleMessage(unsigned int message, WParam wParam, LParam lParam) = 0;
    virtual void SwapBuffers() = 0;
    virtual void SetActive(bool active) = 0;
    virtual bool IsActive() = 0;
    virtual void SetFullscreen(bool fullscreen) = 0;
    virtual bool IsFullscreen() = 0;
    virtual void SetDeviceContext(DeviceContext deviceContext) = 0;
    virtual DeviceContext GetDeviceContext() = 0;
    virtual void SetTitle(const std::wstring& title) = 0;
    virtual std::wstring GetTitle() = 0;
    // Key codes outside 0..65535 are ignored.
    virtual void SetKeyDown(int key, bool down) = 0;
    virtual bool IsKeyDown(int key) = 0;
    virtual void SetPopupMenu(const MenuItem& item) = 0;
    virtual WindowHandle GetHandle() = 0;
};
