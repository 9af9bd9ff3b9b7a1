#include "tools/content_checks/ContentFiles.h"

#include <png.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace content {

std::filesystem::path SourcePath(const std::string& relative) {
    return std::filesystem::path(ROLLANDIA_SOURCE_DIR) / relative;
}

std::filesystem::path DataPath(const std::string& name) {
    return SourcePath("data") / name;
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::set<std::string> FilesUnder(const std::filesystem::path& folder, const std::string& ending) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        std::string name = entry.path().lexically_relative(folder).generic_string();
        bool endsRight = name.size() >= ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0;
        if (entry.is_regular_file() && entry.path().filename().string().front() != '.' && endsRight) {
            names.insert(name);
        }
    }
    return names;
}

std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

bool Succeeds(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

Picture ReadPicture(const std::filesystem::path& path) {
    Picture picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        picture.error = image.message;
        return picture;
    }
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    picture.isColour = (image.format & PNG_FORMAT_FLAG_COLOR) != 0;
    image.format = PNG_FORMAT_RGBA;
    picture.rgba.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr)) {
        picture.error = image.message;
        picture.rgba.clear();
    }
    png_image_free(&image);
    return picture;
}

}  // namespace content
