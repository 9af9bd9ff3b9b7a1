#include "platform/MessagePump.h"

#include <SDL.h>

#include <algorithm>
#include <deque>

#include "IWindow.h"
#include "platform/EventTranslator.h"
#include "platform/WindowMessages.h"
#include "platform/k_ControllerKeys.h"

namespace {

// The name under which a window keeps the object that handles its messages.
const char* const kWindowObjectKey = "IWindow";

// SDL's quit event carries no data: the code of the last PostQuitMessage is kept here.
int postedQuitCode = 0;

// The window whose object was attached last: controller input, which belongs to no window,
// goes there.
WindowHandle attachedWindow = nullptr;

// Messages already translated but not yet taken: one controller event can mean two key changes.
std::deque<Message> pendingMessages;

k_ControllerKeys controllerKeys;

SDL_Window* ToSdlWindow(WindowHandle window) {
    return static_cast<SDL_Window*>(window);
}

// Consecutive mouse moves become the last of them, so that a moving mouse cannot fill the queue
// faster than the one-message-a-frame loop empties it.
void SkipToLatestMouseMove(SDL_Event& event) {
    SDL_Event next;
    while (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1 &&
           next.type == SDL_MOUSEMOTION) {
        SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_MOUSEMOTION, SDL_MOUSEMOTION);
    }
}

// A controller plugged in, also one present when the subsystem starts, is opened at once; its
// events only arrive while it is open.
void OpenOrCloseController(const SDL_Event& event) {
    if (event.type == SDL_CONTROLLERDEVICEADDED) {
        SDL_GameControllerOpen(event.cdevice.which);
    } else if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
        if (SDL_GameController* controller = SDL_GameControllerFromInstanceID(event.cdevice.which)) {
            SDL_GameControllerClose(controller);
        }
    }
}

void QueueMessagesFor(const SDL_Event& event) {
    Message message;
    if (TranslateEvent(event, message)) {
        pendingMessages.push_back(message);
        return;
    }
    for (const k_ControllerKeys::KeyChange& change : controllerKeys.Translate(event)) {
        unsigned int code = change.down ? WM_KEYDOWN : WM_KEYUP;
        pendingMessages.push_back(Message{attachedWindow, code, static_cast<WParam>(change.virtualKey), 0});
    }
}

bool TakePendingMessage(Message& message) {
    if (pendingMessages.empty()) {
        return false;
    }
    message = pendingMessages.front();
    pendingMessages.pop_front();
    if (message.message == WM_QUIT) {
        message.wParam = static_cast<WParam>(postedQuitCode);
    }
    return true;
}

}  // namespace

// SDL_PollEvent would end its search at the marker SDL leaves in the queue when it pumps,
// reporting an empty queue while messages wait behind it; taking events with SDL_PeepEvents
// after one pump sees the whole queue.
bool PeekMessage(Message& message) {
    SDL_PumpEvents();
    SDL_Event event;
    while (pendingMessages.empty() &&
           SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
        if (event.type == SDL_MOUSEMOTION) {
            SkipToLatestMouseMove(event);
        }
        OpenOrCloseController(event);
        QueueMessagesFor(event);
    }
    return TakePendingMessage(message);
}

bool WaitMessage(int timeoutMilliseconds) {
    return !pendingMessages.empty() || SDL_WaitEventTimeout(nullptr, timeoutMilliseconds) != 0;
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
    if (object) {
        attachedWindow = window;
        return;
    }
    if (window == attachedWindow) {
        attachedWindow = nullptr;
    }
    // The window is about to go: a message still waiting for it would name a destroyed window.
    auto forWindow = [window](const Message& message) { return message.window == window; };
    pendingMessages.erase(std::remove_if(pendingMessages.begin(), pendingMessages.end(), forWindow),
                          pendingMessages.end());
}

WindowHandle GetAttachedWindow() {
    return attachedWindow;
}
