#include "platform/PngEncoder.h"

#include <png.h>

#include <csetjmp>

#include "platform/PngErrors.h"

namespace {

constexpr int kRgbChannels = 3;
constexpr int kRgbaChannels = 4;
// Pictures are written on a thread of their own; a fast level keeps the wait for the file short.
constexpr int kCompressionLevel = 3;

struct EncodeState {
    std::vector<std::uint8_t>* file = nullptr;
    PngErrorMessage error;
};

void AppendToFile(png_structp png, png_bytep data, png_size_t length) {
    auto* state = static_cast<EncodeState*>(png_get_io_ptr(png));
    state->file->insert(state->file->end(), data, data + length);
}

void FlushNothing(png_structp) {}

// Owns libpng's write and info structures.
class PngWriter {
public:
    explicit PngWriter(EncodeState& state) {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state.error, RecordPngError, IgnorePngWarning);
        if (png) {
            info = png_create_info_struct(png);
        }
    }
    ~PngWriter() { png_destroy_write_struct(&png, info ? &info : nullptr); }
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    png_structp png = nullptr;
    png_infop info = nullptr;
};

// The only function that calls setjmp; its locals have trivial destructors. The row table
// belongs to the caller.
bool WritePicture(png_structp png, png_infop info, const PngImage& image, std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    int colourType = image.channels == kRgbaChannels ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB;
    png_set_compression_level(png, kCompressionLevel);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    return true;
}

bool IsWellFormed(const PngImage& image) {
    bool knownChannels = image.channels == kRgbChannels || image.channels == kRgbaChannels;
    return knownChannels && image.width > 0 && image.height > 0 &&
           image.pixels.size() == static_cast<std::size_t>(image.width) * image.height * image.channels;
}

}  // namespace

bool EncodePng(const PngImage& image, std::vector<std::uint8_t>& file, std::string& error) {
    file.clear();
    if (!IsWellFormed(image)) {
        error = "cannot encode a picture whose size, channels and pixels do not agree";
        return false;
    }
    EncodeState state;
    state.file = &file;
    PngWriter writer(state);
    if (!writer.png || !writer.info) {
        error = "cannot set up the PNG encoder";
        return false;
    }
    png_set_write_fn(writer.png, &state, AppendToFile, FlushNothing);

    // The file's first row is the picture's top row, which is the buffer's last.
    std::size_t rowBytes = static_cast<std::size_t>(image.width) * image.channels;
    std::vector<png_bytep> rows(image.height);
    for (int row = 0; row < image.height; ++row) {
        rows[row] = const_cast<png_bytep>(image.pixels.data()) + (image.height - 1 - row) * rowBytes;
    }
    if (!WritePicture(writer.png, writer.info, image, rows)) {
        error = std::string("cannot encode PNG: ") + state.error.text;
        file.clear();
        return false;
    }
    return true;
}
