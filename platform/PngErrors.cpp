#include "platform/PngErrors.h"

#include <cstdio>

void RecordPngError(png_structp png, png_const_charp message) {
    auto* error = static_cast<PngErrorMessage*>(png_get_error_ptr(png));
    std::snprintf(error->text, sizeof error->text, "%s", message);
    png_longjmp(png, 1);
}

void IgnorePngWarning(png_structp, png_const_charp) {}
