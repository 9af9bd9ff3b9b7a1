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

// Takes the next message, if there is one, into `message`. Events that mean nothing to a
// window are skipped on the way, and consecutive mouse moves arrive as the latest of them,
// so a taken message is always one the window can act on. False when the queue is empty.
bool PeekMessage(Message& message);

// Waits until a message may be taken or the time is up, without taking it: what a loop with
// nothing to do (a minimised game) calls instead of spinning. True when something is queued.
bool WaitMessage(int timeoutMilliseconds);

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

// The window whose object was attached last and is still attached; null when there is none.
// Input that belongs to no window, such as a game controller's, is sent there.
WindowHandle GetAttachedWindow();
