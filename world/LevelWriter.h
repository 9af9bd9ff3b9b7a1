// Writing the level file: the universe's text, byte for byte in the level format, put
// together in memory and written to a file that replaces an earlier one only once it is
// complete.
#pragma once

#include <string>

#include "IUniverse.h"

// The level file's text for the universe. Text values are escaped so that the reader takes
// back the same records; a record whose type has no text form raises the type's failure.
std::string FormatLevel(IUniverse& universe);

// Writes the universe's text to a temporary file beside path and renames it over path once
// it is complete and on the disk, so that no failure or power cut leaves a partial file. Only
// a new file or a writable regular file (also through a link, which stays a link) is
// replaced. The text's own failures pass through unchanged; a path that cannot or may not be
// written raises k_Failure naming it.
void SaveLevelFile(const std::wstring& path, IUniverse& universe);
