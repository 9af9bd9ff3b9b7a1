#!/usr/bin/env python3
"""Makes the game's desktop icon: the ball over a strip of meadow on a rounded sky tile.

    python3 tools/make_icons.py                  writes into packaging/icons/ beside tools/
    python3 tools/make_icons.py --output DIR     writes into DIR instead

Writes rollandia-<size>.png at every size the desktop's icon theme asks for, drawn by the same
picture tools as the game's data, and rollandia.svg, the same drawing for any size. Uses the
Python standard library only and gives the same bytes on every run."""

import argparse
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of compiled files

from pictures.canvas import Canvas  # noqa: E402  (after the bytecode switch)
from pictures.colour import mix  # noqa: E402
from pictures.palette import BALL, BALL_OUTLINE, BALL_STRIPE, GRASS, GRASS_DARK, OUTLINE, SKY_HORIZON, SKY_TOP  # noqa: E402
from pictures.screens import ball  # noqa: E402
from pictures.shapes import box  # noqa: E402

SIZES = (16, 24, 32, 48, 64, 128, 256)

# The drawing on a 64-unit square: the tile, the meadow's top edge, the ball's box.
GRID = 64.0
TILE_MARGIN, TILE_RADIUS = 2.0, 12.0
MEADOW_TOP = 46.0
BALL_LEFT, BALL_TOP, BALL_SIZE = 14.0, 8.0, 38.0


def hex_colour(rgb):
    return "#%02x%02x%02x" % rgb


def icon(size):
    unit = size / GRID
    canvas = Canvas(size, size)
    far = GRID - TILE_MARGIN
    tile = box(TILE_MARGIN * unit, TILE_MARGIN * unit, far * unit, far * unit, TILE_RADIUS * unit)
    canvas.paint(tile, lambda x, y: mix(SKY_TOP, SKY_HORIZON, y / (MEADOW_TOP * unit)))
    canvas.paint(tile & box(0, MEADOW_TOP * unit, size, size), GRASS)
    canvas.paint(tile & box(0, MEADOW_TOP * unit, size, (MEADOW_TOP + 2) * unit), GRASS_DARK)
    canvas.draw(ball(max(6, round(BALL_SIZE * unit))), round(BALL_LEFT * unit), round(BALL_TOP * unit))
    return canvas


def svg():
    far = GRID - 2 * TILE_MARGIN
    centre_x, centre_y, radius = BALL_LEFT + BALL_SIZE / 2, BALL_TOP + BALL_SIZE / 2, BALL_SIZE / 2
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">
  <defs>
    <linearGradient id="sky" x1="0" y1="0" x2="0" y2="{MEADOW_TOP:g}" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="{hex_colour(SKY_TOP)}"/>
      <stop offset="1" stop-color="{hex_colour(SKY_HORIZON)}"/>
    </linearGradient>
    <clipPath id="tile">
      <rect x="{TILE_MARGIN:g}" y="{TILE_MARGIN:g}" width="{far:g}" height="{far:g}" rx="{TILE_RADIUS:g}"/>
    </clipPath>
  </defs>
  <g clip-path="url(#tile)">
    <rect width="64" height="64" fill="url(#sky)"/>
    <rect y="{MEADOW_TOP:g}" width="64" height="{GRID - MEADOW_TOP:g}" fill="{hex_colour(GRASS)}"/>
    <rect y="{MEADOW_TOP:g}" width="64" height="2" fill="{hex_colour(GRASS_DARK)}"/>
  </g>
  <circle cx="{centre_x:g}" cy="{centre_y:g}" r="{radius - 0.6:g}" fill="{hex_colour(BALL)}" stroke="{hex_colour(BALL_OUTLINE)}" stroke-width="1.2"/>
  <path d="M {centre_x - radius * 0.75:g} {centre_y - radius * 0.55:g} Q {centre_x:g} {centre_y + radius * 0.2:g} {centre_x + radius * 0.8:g} {centre_y + radius * 0.45:g}" fill="none" stroke="{hex_colour(BALL_STRIPE)}" stroke-width="{radius * 0.4:g}" stroke-linecap="round"/>
  <rect x="{TILE_MARGIN:g}" y="{TILE_MARGIN:g}" width="{far:g}" height="{far:g}" rx="{TILE_RADIUS:g}" fill="none" stroke="{hex_colour(OUTLINE)}" stroke-opacity="0.5"/>
</svg>
"""


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    default = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "packaging", "icons")
    parser.add_argument("--output", default=default, help="the folder to write into")
    folder = parser.parse_args().output
    os.makedirs(folder, exist_ok=True)
    for size in SIZES:
        with open(os.path.join(folder, f"rollandia-{size}.png"), "wb") as out:
            out.write(icon(size).encode(with_alpha=True))
    with open(os.path.join(folder, "rollandia.svg"), "w", encoding="utf-8") as out:
        out.write(svg())


if __name__ == "__main__":
    main()
