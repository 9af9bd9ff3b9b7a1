#include "platform/MessagePump.h"

#include <SDL.h>

#include "IWindow.h"
#include "platform/EventTranslator.h"
#include "platform/WindowMessages.h"

namespace {

// The name under which a window keeps the object that handles its messages.
const char* const kWindowObjectKey = "IWindow";

// SDL's quit event carries no data: the code of the last PostQuitMessage is kept here.
int postedQuitCode = 0;

SDL_Window* ToSdlWindow(WindowHandle window) {
    return static_cast<SDL_Window*>(window);
}

}  // namespace

bool PeekMessage(Message& message) {
    SDL_Event event;
    if (SDL_PollEvent(&event) == 0) {
        return false;
    }
    Message taken;
    if (!TranslateEvent(event, taken)) {
        return false;
    }
    if (taken.message == WM_QUIT) {
        taken.wParam = static_cast<WParam>(postedQuitCode);
    }
    message = taken;
    return true;
}

LResult DispatchMessage(const Message& message) {
    if (!message.window) {
        return 0;
    }
    auto* object = static_cast<IWindow*>(SDL_GetWindowData(ToSdlWindow(message.window), kWindowObjectKey));
    return object ? object->HandleMessage(message.message, message.wParam, message.lParam) : 0;
}

void PostQuitMessage(int exitCode) {
    postedQuitCode = exitCode;
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

void PostMessage(WindowHandle window, unsigned int message, WParam wParam, LParam lParam) {
    Uint32 type = PostedMessageEventType();
    if (type == 0) {
        return;
    }
    SDL_Event event{};
    event.type = type;
    event.user.windowID = window ? SDL_GetWindowID(ToSdlWindow(window)) : 0;
    event.user.code = static_cast<Sint32>(message);
    event.user.data1 = reinterpret_cast<void*>(wParam);
    event.user.data2 = reinterpret_cast<void*>(lParam);
    SDL_PushEvent(&event);
}

void AttachWindowObject(WindowHandle window, IWindow* object) {
    SDL_SetWindowData(ToSdlWindow(window), kWindowObjectKey, object);
}
