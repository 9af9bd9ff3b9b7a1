// Decodes a PNG picture held in memory into 8-bit RGB or RGBA pixels, bottom row first, ready
// for upload as a texture. Pictures are untrusted data: corrupt, truncated or oversized input
// fails with a message and never ends the program. Knows nothing of OpenGL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "PngImage.h"

// Pictures beyond these sizes are refused before any pixel memory is taken.
constexpr std::uint32_t kPngMaxSide = 8192;
constexpr std::uint64_t kPngMaxPixels = 16u * 1024u * 1024u;

// Decodes the size bytes at bytes. Palette pictures become RGB, or RGBA when they carry
// transparency; grey with alpha becomes RGBA; 16-bit channels keep their high byte; RGB and
// RGBA stay as they are. Plain grey pictures are refused. On failure image is empty and
// error holds the reason.
bool DecodePng(const std::uint8_t* bytes, std::size_t size, PngImage& image, std::string& error);
