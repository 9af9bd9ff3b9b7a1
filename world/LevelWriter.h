// Writing the level file: the universe's text, byte for byte in the level format, and its
// safe replacement of an earlier file.
#pragma once

#include <string>

#include "IUniverse.h"

// The level file's text for the universe. Text values are escaped so that the reader takes
// back the same records; a record whose type has no text form raises the type's failure.
std::string FormatLevel(IUniverse& universe);

// Writes text to a temporary file beside path and renames it over path once it is complete,
// so that a failure never leaves a partial file; raises k_Failure naming path on failure.
void WriteLevelFile(const std::wstring& path, const std::string& text);
