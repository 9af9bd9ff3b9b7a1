// The message for a data file that does not open, with the reason and the place the game
// looked in when the file system can tell them. Works through IFileSystem, so callers need
// not know which file system they have.
#pragma once

#include <string>

class IFileSystem;

// Why fileSystem gives no file for name ("no such file in the data folder /x/data", ...), or
// empty when it cannot tell.
std::wstring WhyCannotRead(IFileSystem* fileSystem, const std::wstring& name);

// "Cannot read from file: " + name, followed by the reason in brackets when there is one.
std::wstring CannotReadMessage(IFileSystem* fileSystem, const std::wstring& name);
