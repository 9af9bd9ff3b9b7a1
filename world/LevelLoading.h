// Loading a level into any universe with failures that name where the level came from, so
// that callers above world/ need not know the universe's class.
#pragma once

#include <string>

class IFile;
class IUniverse;

// Loads the level in file into universe; failures name the source as name (for example the
// file's name in the data). A universe of another kind loads through its own Load.
void LoadNamedLevel(IUniverse& universe, IFile* file, const std::wstring& name);
