// Loading a level into any universe with failures that name where the level came from, so
// that callers above world/ need not know the universe's class.
#pragma once

#include <string>

class IFile;
class IUniverse;
struct LevelDescription;

// Loads the level in file into universe; failures name the source as name (for example the
// file's name in the data). A universe of another kind loads through its own Load.
void LoadNamedLevel(IUniverse& universe, IFile* file, const std::wstring& name);

// Makes the universe hold the level's worlds and screens (their pieces' records; the sprites
// come when a screen is entered) in place of its own, with the level's active world current.
// A world without a name keeps the universe's default one.
void ReplaceWorlds(IUniverse& universe, LevelDescription level);
