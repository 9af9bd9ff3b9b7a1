// The program's message pump over the window system's event queue: takes one event at a time
// as a window message, hands it to the object that handles its window's messages, and posts
// messages back into the queue.
#pragma once

#include "PlatformTypes.h"

class IWindow;

struct Message {
    WindowHandle window = nullptr;  // the window the message is for; null for WM_QUIT
    unsigned int message = 0;
    WParam wParam = 0;
    LParam lParam = 0;
};

// Takes at most one event from the queue. True when it became a message, which is stored in
// `message`; false when the queue was empty or the event means nothing to a window.
bool PeekMessage(Message& message);

// Hands the message to the object attached to its window and returns that object's result;
// 0 when no object is attached (the message is dropped). Dispatch a message right after
// taking it: its window handle is only valid while the window lives.
LResult DispatchMessage(const Message& message);

// Queues the quit message; PeekMessage gives it as WM_QUIT with the exit code in wParam.
void PostQuitMessage(int exitCode);

// Queues a message for the window; PeekMessage gives it after the events queued before it.
void PostMessage(WindowHandle window, unsigned int message, WParam wParam, LParam lParam);

// Makes `object` the handler of the window's messages; null detaches it, so that messages
// still queued for the window are dropped.
void AttachWindowObject(WindowHandle window, IWindow* object);
