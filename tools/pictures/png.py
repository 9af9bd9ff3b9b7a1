"""Writes 8-bit RGB or RGBA PNG files with zlib alone, the same bytes on every run."""

import struct
import zlib

COLOUR_TYPE_RGB = 2
COLOUR_TYPE_RGBA = 6
COMPRESSION_LEVEL = 9
FILTER_NONE = b"\x00"


def _chunk(kind, payload):
    body = kind + payload
    return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def encode_png(width, height, rgba, with_alpha):
    """PNG bytes of an image given as straight-alpha RGBA rows, top row first."""
    if with_alpha:
        pixels, channels, colour_type = bytes(rgba), 4, COLOUR_TYPE_RGBA
    else:
        rgb = bytearray(width * height * 3)
        for channel in range(3):
            rgb[channel::3] = rgba[channel::4]
        pixels, channels, colour_type = bytes(rgb), 3, COLOUR_TYPE_RGB
    stride = width * channels
    raw = b"".join(FILTER_NONE + pixels[row * stride:(row + 1) * stride] for row in range(height))
    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header)
            + _chunk(b"IDAT", zlib.compress(raw, COMPRESSION_LEVEL)) + _chunk(b"IEND", b""))
