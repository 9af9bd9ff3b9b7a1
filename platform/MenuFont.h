// A tiny bitmap font of our own for the popup menu the window draws: printable ASCII in a
// 5 x 9 cell (capitals fill rows 0 to 6, descenders rows 7 and 8); any other character shows
// as a hollow box.
#pragma once

#include <string>

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 9;
constexpr int kGlyphAdvance = kGlyphWidth + 1;  // one empty column between characters

// Whether the character's pixel at (column, row) is set; row 0 is the top. False outside the cell.
bool IsGlyphPixelSet(wchar_t character, int column, int row);

// Draws text in the current colour with its top-left corner at (left, top): one quad per set
// font pixel, each scale screen pixels square.
void DrawFontText(const std::wstring& text, int left, int top, int scale);
