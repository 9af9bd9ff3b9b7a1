// Draws the open popup menu over the current picture with OpenGL immediate mode: boxes of
// items with labels in the menu font. Leaves the OpenGL state as it found it.
#pragma once

#include "platform/k_PopupMenuView.h"

// The view's coordinates are scene coordinates of a scene of sceneWidth x sceneHeight, which
// covers the current viewport. Needs a current context; draws nothing when the view is closed.
void DrawPopupMenuView(const k_PopupMenuView& view, int sceneWidth, int sceneHeight);
