// The pictures of a data folder as the level checker sees them: a texture name is looked up
// the way the game opens data names, and only the PNG header is read, for the picture's size.
// Owns nothing but the folder's path; reads files, never changes them.
#pragma once

#include <filesystem>
#include <string>

struct PictureLookup {
    enum Result { Found, Missing, NotPng };
    Result result = Missing;
    int width = 0;
    int height = 0;
};

class DataPictures {
public:
    explicit DataPictures(std::filesystem::path folder);

    // The picture named as a sprite's texture names it: "\" or "/" separators, letters in any
    // case. Names that would reach outside the folder are missing, as they are to the game.
    PictureLookup Find(const std::wstring& name) const;

private:
    std::filesystem::path folder;
};
