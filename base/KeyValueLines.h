// A human-editable file of "key = value" lines: blank lines and lines starting with '#' are
// notes; spaces around the key and the value are dropped. Used for the player's settings.
#pragma once

#include <string>
#include <vector>

struct KeyValueLine {
    int number;  // counted from 1, as an editor shows it
    std::string key;
    std::string value;
};

// Splits the text into its key = value lines. A line with no '=' or no key is put in
// malformedLines (by number) so that the caller can warn about it.
std::vector<KeyValueLine> ReadKeyValueLines(const std::string& text, std::vector<int>& malformedLines);
