// The numbers a designer types for the selected piece: its left, top and depth, as whole numbers
// separated by spaces ("192 568 10"). Turns a record into that text and the text back into the
// record; text that is not three whole numbers within range changes nothing.
#pragma once

#include <string>

#include "SpriteData.h"

std::wstring TypedPlaceOf(const SpriteData& record);
// False, with the record left alone, when the text is not three whole numbers.
bool ApplyTypedPlace(const std::wstring& text, SpriteData& record);
// Whether the key (a virtual key code) types a character of such text, and which.
bool TypedPlaceCharacter(int key, wchar_t& character);
