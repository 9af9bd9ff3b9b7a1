// A picture in memory as the PNG decoder gives it and the PNG encoder takes it: 8-bit RGB or
// RGBA pixels, bottom row first (as OpenGL reads them back).
#pragma once

#include <cstdint>
#include <vector>

struct PngImage {
    int width = 0;
    int height = 0;
    int channels = 0;                  // 3 (RGB) or 4 (RGBA)
    std::vector<std::uint8_t> pixels;  // bottom row first, rows tightly packed
};
