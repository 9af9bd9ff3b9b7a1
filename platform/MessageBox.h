// Message boxes with no owner window. The text also goes to standard error, so that a failure
// stays readable on a machine without a display.
#pragma once

#include <string>

// Leaves full screen (restoring the desktop's display mode), hides the program's window and
// shows the cursor, so that a box shown next is seen and can be clicked. The window system's
// box does this first; the window comes back as it was at its next buffer swap.
void UncoverDesktop();

// Shows the text under the caption and waits until it is dismissed (at once without a display).
void ShowMessageBox(const std::wstring& text, const std::wstring& caption);

// Something that shows message boxes in place of the window system, such as a test's recorder.
using MessageBoxPresenter = void (*)(const std::wstring& text, const std::wstring& caption);

// Routes ShowMessageBox to `presenter` (null restores the window system's box); returns the
// presenter used before.
MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter);
