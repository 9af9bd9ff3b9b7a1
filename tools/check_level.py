#!/usr/bin/env python3
"""Checks a level file the way a player would find its faults, before anyone plays it.

    python3 tools/check_level.py                    checks data/universe.xml
    python3 tools/check_level.py path/to/level.xml  checks another file

Reports, one line each, and exits with status 1 when there is any:
- a number that the game cannot read, a picture that is not in data/, or a piece whose type is not the one its picture is made for
  (a spike drawn as a floor breaks the game's promise);
- no active world, or an active world without a screen at column + row 0 (where the game
  restarts the player);
- an edge of an active world's screen with no neighbouring screen that static pieces do not
  close: the ball would roll out into nothing. Doors and breakable pieces do not count, since
  they vanish; gaps narrower than the ball do not count, since it cannot pass them.

Uses the Python standard library only."""

import argparse
import os
import re
import sys
import xml.etree.ElementTree as ElementTree

sys.dont_write_bytecode = True  # keep the source tree free of compiled files

import make_pictures  # noqa: E402  (after the bytecode switch)

SCREEN_WIDTH, SCREEN_HEIGHT = 800, 600
BALL_SIZE = 32
WATER_SIZE = 50                      # the water shader texture is drawn 50 x 50
PIECE_SIZE = re.compile(r".*_([0-9]+)x([0-9]+)\.png$")
WHOLE_NUMBERS = ("top", "left", "depth", "static", "special")   # the game reads nothing else there
NEVER_CLOSING = ("Background", "Door", "Breakable")
# Each side: the axis the edge runs along, the band of the other axis just across it, the neighbour.
SIDES = {
    "left": ("y", (-BALL_SIZE, BALL_SIZE), (-1, 0)),
    "right": ("y", (SCREEN_WIDTH - BALL_SIZE, SCREEN_WIDTH + BALL_SIZE), (1, 0)),
    "top": ("x", (-BALL_SIZE, BALL_SIZE), (0, -1)),
    "bottom": ("x", (SCREEN_HEIGHT - BALL_SIZE, SCREEN_HEIGHT + BALL_SIZE), (0, 1)),
}


def piece_box(sprite, sizes):
    """The piece's rectangle as {axis: (from, to)}, or None when its size is unknown."""
    texture = sprite.get("texture", "")
    size = (WATER_SIZE, WATER_SIZE) if texture == "Water" else sizes.get(texture)
    try:
        left, top = int(sprite.get("left")), int(sprite.get("top"))
    except (TypeError, ValueError):
        return None   # reported as a number the game cannot read
    if size is None:
        return None
    return {"x": (left, left + size[0]), "y": (top, top + size[1])}


def open_stretches(pieces, along, across, length):
    """The stretches of an edge of the given length that no piece across it covers, wider than the ball."""
    other = "x" if along == "y" else "y"
    spans = sorted(p[along] for p in pieces if p[other][0] < across[1] and p[other][1] > across[0])
    stretches, reached = [], 0
    for start, end in spans + [(length, length)]:
        if start - reached >= BALL_SIZE:
            stretches.append((reached, start))
        reached = max(reached, end)
    return stretches


def check_pieces(world, sizes, intended, data):
    for screen in world.iter("screen"):
        for sprite in screen.iter("sprite"):
            texture, kind = sprite.get("texture", ""), sprite.get("type", "")
            unreadable = [name for name in WHOLE_NUMBERS if not re.fullmatch(r"\s*[-+]?[0-9]+\s*", sprite.get(name, ""))]
            if unreadable:
                yield "screen (%s,%s): %s of %s is not a whole number" % (
                    screen.get("x"), screen.get("y"), " and ".join(unreadable), texture)
            if sprite.get("special") == "1":
                continue
            if not os.path.isfile(os.path.join(data, *texture.split("/"))):
                yield "screen (%s,%s): %s is not in data/" % (screen.get("x"), screen.get("y"), texture)
            elif texture in intended and intended[texture] != kind:
                yield "screen (%s,%s): %s is made for %s, not %s" % (
                    screen.get("x"), screen.get("y"), texture, intended[texture], kind)


def check_edges(world, sizes):
    screens = {(int(s.get("x")), int(s.get("y"))): s for s in world.iter("screen")}
    if not any(x + y == 0 for x, y in screens):
        yield "no screen at column + row 0, where the player restarts"
    for (x, y), screen in screens.items():
        closing = [piece_box(s, sizes) for s in screen.iter("sprite")
                   if s.get("type") not in NEVER_CLOSING and s.get("static") == "1"]
        closing = [box for box in closing if box is not None]
        for side, (along, across, (dx, dy)) in SIDES.items():
            if (x + dx, y + dy) in screens:
                continue
            length = SCREEN_HEIGHT if along == "y" else SCREEN_WIDTH
            for start, end in open_stretches(closing, along, across, length):
                yield "screen (%d,%d): the %s edge is open from %d to %d and leads nowhere" % (x, y, side, start, end)


def problems(path, data):
    sizes, intended = {}, {}
    for name, _, _, sprite_type, _ in make_pictures.CATALOGUE:
        intended[name] = sprite_type
        match = PIECE_SIZE.match(name)
        if match:
            sizes[name] = (int(match.group(1)), int(match.group(2)))
    worlds = ElementTree.parse(path).getroot().findall("world")
    active = [w for w in worlds if w.get("active", "").strip() == "1"]
    if not active:
        yield "no world is active"
    for world in worlds:
        found = list(check_pieces(world, sizes, intended, data))
        if world in active[-1:]:
            found += list(check_edges(world, sizes))
        for problem in found:
            yield "world %s: %s" % (world.get("name", "?"), problem)


def main():
    data = make_pictures.default_output()
    parser = argparse.ArgumentParser(description="Checks a level file.")
    parser.add_argument("level", nargs="?", default=os.path.join(data, "universe.xml"))
    arguments = parser.parse_args()
    try:
        found = ["%s: %s" % (arguments.level, problem) for problem in problems(arguments.level, data)]
    except (ElementTree.ParseError, ValueError, TypeError, OSError) as error:
        found = ["%s: cannot be read: %s" % (arguments.level, error)]
    print("\n".join(found) if found else "%s: no problems found" % arguments.level)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
