// Writes PNG pictures into memory with libpng's writer, so that tests and benchmarks make
// exactly the pictures they need (any colour type, palette, transparency).
#pragma once

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <vector>

struct PngPicture {
    int width = 0;
    int height = 0;
    int colourType = PNG_COLOR_TYPE_RGB;
    std::vector<png_color> palette;
    std::vector<png_byte> paletteAlpha;  // written as a transparency chunk when not empty
    std::vector<png_byte> rows;          // top row first, 8-bit samples in the file's own layout
};

namespace png_writer_detail {

inline void Append(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

inline void Flush(png_structp) {}

inline bool Write(png_structp png, png_infop info, const PngPicture& picture, std::vector<std::uint8_t>& out,
                  std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_write_fn(png, &out, Append, Flush);
    png_set_IHDR(png, info, picture.width, picture.height, 8, picture.colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!picture.palette.empty()) {
        png_set_PLTE(png, info, picture.palette.data(), static_cast<int>(picture.palette.size()));
    }
    if (!picture.paletteAlpha.empty()) {
        png_set_tRNS(png, info, picture.paletteAlpha.data(), static_cast<int>(picture.paletteAlpha.size()), nullptr);
    }
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    return true;
}

}  // namespace png_writer_detail

// The PNG file of picture, or nothing when libpng refuses it.
inline std::vector<std::uint8_t> WritePng(const PngPicture& picture) {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::size_t rowBytes = picture.height > 0 ? picture.rows.size() / picture.height : 0;
    std::vector<png_bytep> rows;
    for (int row = 0; row < picture.height; ++row) {
        rows.push_back(const_cast<png_bytep>(picture.rows.data()) + row * rowBytes);
    }
    bool written = info && png_writer_detail::Write(png, info, picture, out, rows);
    png_destroy_write_struct(&png, &info);
    return written ? out : std::vector<std::uint8_t>();
}

// An 8-bit RGB or RGBA picture whose pixel (x, y) (y = 0 at the top) is colour(x, y).
template <typename Colour>
PngPicture TrueColourPicture(int width, int height, bool alpha, Colour colour) {
    PngPicture picture;
    picture.width = width;
    picture.height = height;
    picture.colourType = alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            auto rgba = colour(x, y);
            picture.rows.insert(picture.rows.end(), rgba.begin(), rgba.begin() + (alpha ? 4 : 3));
        }
    }
    return picture;
}
