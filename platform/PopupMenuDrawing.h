// Draws the open popup menu over the current picture with OpenGL immediate mode: boxes of
// items with labels in the menu font. Leaves the OpenGL state as it found it.
#pragma once

#include "platform/k_PopupMenuView.h"

// The view's coordinates are client coordinates of a client area of clientWidth x clientHeight
// that covers a drawable of pixelWidth x pixelHeight. Needs a current context; draws nothing
// when the view is closed.
void DrawPopupMenuView(const k_PopupMenuView& view, int clientWidth, int clientHeight, int pixelWidth,
                       int pixelHeight);
