// Encodes 8-bit RGB or RGBA pixels, bottom row first (as the decoder gives them and as
// OpenGL reads them back), into a PNG file in memory. Knows nothing of OpenGL or files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PngImage.h"

// Fills file with the PNG of image. False, with the reason in error, for an image whose size,
// channel count or pixel buffer does not add up, or when the encoder fails.
bool EncodePng(const PngImage& image, std::vector<std::uint8_t>& file, std::string& error);
