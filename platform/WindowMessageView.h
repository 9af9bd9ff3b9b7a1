// A failure shown in the program's own window, for when the system's message box cannot be
// shown (no helper program for it, a display server without one): the caption and the text in
// the bitmap font, until a key is pressed or the window is closed.
#pragma once

#include <string>

// Shows the text and waits; false when there is no window with a drawing context to show it in.
bool ShowMessageInOwnWindow(const std::wstring& text, const std::wstring& caption);
