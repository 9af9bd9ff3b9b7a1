// libpng is C and cannot pass exceptions through its calls: its errors are recorded here and end
// in a jump back to the caller's one setjmp; its warnings are ignored. Shared by the PNG decoder
// and encoder.
#pragma once

#include <png.h>

#include <cstddef>

struct PngErrorMessage {
    static constexpr std::size_t kCapacity = 200;
    char text[kCapacity] = "";
};

// The error and warning functions for png_create_*_struct, whose error pointer must be the
// PngErrorMessage that receives the error's text.
void RecordPngError(png_structp png, png_const_charp message);
void IgnorePngWarning(png_structp png, png_const_charp message);
