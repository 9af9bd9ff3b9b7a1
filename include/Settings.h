// The settings map: fixed defaults built by the entry and read once by the engine constructor.
#pragma once

#include <map>
#include <string>

using Settings = std::map<std::wstring, std::wstring>;

// Reads one integer with a wide string stream's extraction (leading white space skipped).
// Text that is not a number gives 0.
int ParseInt(const std::wstring& text);

// Reads one bool as the numbers 0 or 1 with a wide string stream's extraction.
// Anything else gives false.
bool ParseBool(const std::wstring& text);
