// The right-click menu of the level editor: the type, depth, static and special settings of a
// piece, and its removal. Each leaf carries its action and value in its user data, so one
// callback serves the whole menu.
#pragma once

#include "MenuItem.h"
#include "SpriteData.h"

enum class PieceMenuAction { Type, Depth, DepthUp, DepthDown, ToggleStatic, ToggleSpecial, Delete };

// The menu for a piece whose settings are those of shown (checked values are marked).
MenuItem BuildPieceMenu(const SpriteData& shown, MenuCallback callback);

PieceMenuAction ActionOf(const MenuItem& item);

// Applies the item's choice to the record; Delete changes nothing here.
void ApplyPieceMenuChoice(const MenuItem& item, SpriteData& record);
