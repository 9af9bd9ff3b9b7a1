// Integers of the level file: the texts the XML library's integer parser accepts, without
// its silent wrap-around of values outside 32 bits.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The value of an optional sign followed by decimal digits, after trimming XML white space
// (space, tab, line feed, carriage return) and skipping leading vertical tabs and form feeds;
// nothing for any other text or a value outside the signed 32-bit range.
std::optional<std::int32_t> ParseLevelInteger(std::u16string_view text);
