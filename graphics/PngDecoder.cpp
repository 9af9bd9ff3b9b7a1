#include "graphics/PngDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

#include "platform/PngErrors.h"

namespace {

constexpr std::size_t kSignatureSize = 8;
// A chunk declaring more bytes than this fails the picture before any memory is taken for it.
constexpr png_alloc_size_t kMaxChunkBytes = 4u * 1024u * 1024u;
constexpr int kRgbChannels = 3;
constexpr int kRgbaChannels = 4;

// What the callbacks share with the decoder. It lives in DecodePng's frame, so nothing in it
// is lost when libpng jumps back after an error.
struct DecodeState {
    const std::uint8_t* bytes = nullptr;
    std::size_t size = 0;
    std::size_t cursor = 0;
    PngErrorMessage error;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* state = static_cast<DecodeState*>(png_get_io_ptr(png));
    if (count > state->size - state->cursor) {
        png_error(png, "unexpected end of data");
    }
    std::memcpy(out, state->bytes + state->cursor, count);
    state->cursor += count;
}

// Owns libpng's read and info structures.
class PngReader {
public:
    explicit PngReader(DecodeState& state) {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state.error, RecordPngError, IgnorePngWarning);
        if (png) {
            info = png_create_info_struct(png);
        }
    }
    ~PngReader() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    png_structp png = nullptr;
    png_infop info = nullptr;
};

enum class Outcome { Decoded, Corrupt, PlainGrey, TooLarge };

void RequestRgbOutput(png_structp png, int colourType, int bitDepth) {
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(png);
    }
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) {
        png_set_expand_gray_1_2_4_to_8(png);
    }
    if (colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(png);
    }
    if (bitDepth == 16) {
        png_set_strip_16(png);
    }
    png_set_interlace_handling(png);
}

// The only function that calls setjmp. libpng jumps here on any error, skipping the frames
// in between, so every local here has a trivial destructor and nothing set after setjmp is
// read after the jump. The pixel and row buffers belong to the caller.
Outcome ReadPicture(png_structp png, png_infop info, PngImage& image, std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) {
        return Outcome::Corrupt;
    }
    png_set_sig_bytes(png, kSignatureSize);
    png_read_info(png, info);

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
    // Checked before libpng sets up its row buffers for the output.
    if (width > kPngMaxSide || height > kPngMaxSide || static_cast<std::uint64_t>(width) * height > kPngMaxPixels) {
        return Outcome::TooLarge;
    }
    RequestRgbOutput(png, colourType, bitDepth);
    png_read_update_info(png, info);

    int channels = png_get_channels(png, info);
    if (channels != kRgbChannels && channels != kRgbaChannels) {
        return Outcome::PlainGrey;
    }
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.channels = channels;

    std::size_t rowBytes = static_cast<std::size_t>(width) * channels;
    image.pixels.resize(rowBytes * height);
    rows.resize(height);
    for (png_uint_32 row = 0; row < height; ++row) {
        rows[row] = image.pixels.data() + (height - 1 - row) * rowBytes;
    }
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    return Outcome::Decoded;
}

}  // namespace

bool DecodePng(const std::uint8_t* bytes, std::size_t size, PngImage& image, std::string& error) {
    image = PngImage();
    if (size < kSignatureSize || png_sig_cmp(bytes, 0, kSignatureSize) != 0) {
        error = "not a PNG picture (bad signature)";
        return false;
    }
    DecodeState state;
    state.bytes = bytes;
    state.size = size;
    state.cursor = kSignatureSize;

    PngReader reader(state);
    if (!reader.png || !reader.info) {
        error = "cannot set up the PNG decoder";
        return false;
    }
    png_set_read_fn(reader.png, &state, ReadFromMemory);
    // Any size a PNG may declare reaches the decoder's own check, which names the limits.
    png_set_user_limits(reader.png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_set_chunk_malloc_max(reader.png, kMaxChunkBytes);
    // libpng reports an oversized chunk as a "benign" error, by default only a warning after
    // which it still allocates the declared length: make such reports errors.
    png_set_benign_errors(reader.png, 0);

    std::vector<png_bytep> rows;
    Outcome outcome = ReadPicture(reader.png, reader.info, image, rows);
    switch (outcome) {
    case Outcome::Decoded:
        return true;
    case Outcome::Corrupt:
        error = std::string("corrupt PNG data: ") + state.error.text;
        break;
    case Outcome::PlainGrey:
        error = "grey PNG pictures without colour are not supported (save it as RGB or with an alpha channel)";
        break;
    case Outcome::TooLarge:
        error = "PNG picture too large: " + std::to_string(png_get_image_width(reader.png, reader.info)) + " x " +
                std::to_string(png_get_image_height(reader.png, reader.info)) + " pixels (at most " +
                std::to_string(kPngMaxSide) + " pixels a side and " + std::to_string(kPngMaxPixels) + " in all)";
        break;
    }
    image = PngImage();
    return false;
}
