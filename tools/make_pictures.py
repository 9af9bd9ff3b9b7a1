#!/usr/bin/env python3
"""Makes every picture of the game from scratch and writes them as PNG files.

    python3 tools/make_pictures.py                 writes into data/ beside tools/
    python3 tools/make_pictures.py --output DIR    writes into DIR instead
    python3 tools/make_pictures.py --list          prints the catalogue as a Markdown table

Uses the Python standard library only and gives the same bytes on every run."""

import argparse
import os
import re
import sys

sys.dont_write_bytecode = True  # keep the source tree free of compiled files

from pictures import scenery, screens, tiles  # noqa: E402  (after the bytecode switch)

RED_PETALS, RED_MIDDLE = (236, 70, 96), (255, 214, 70)
YELLOW_PETALS, YELLOW_MIDDLE = (255, 214, 60), (160, 90, 40)

# name, maker, whether it keeps an alpha channel, the sprite type it is meant for, what it is
SCREENS = [
    ("Splash.png", screens.splash, False, "Background", "title picture shown for five seconds at start"),
    ("die.png", screens.death_flash, True, "Background", "death picture, bright: red wash, dark panel"),
    ("die2.png", screens.death_dark, True, "Background", "death picture, dark: black wash, red panel"),
    ("finish.png", screens.finish, True, "Background", "finish picture over a world's goal: panel for the run's time, deaths and best"),
    ("closing.png", screens.closing, False, "Background", "closing picture after the last world"),
    ("ball.png", lambda: screens.ball(32), True, "SolidSphere", "the player's ball, read by the ball shader"),
]

# name, maker, whether it keeps an alpha channel, what it is; the sprite type is the tile kind's
TILES = [
    ("tiles/brick_32x32.png", lambda: tiles.brick(32, 32), False, "red brick block"),
    ("tiles/brick_64x16.png", lambda: tiles.brick(64, 16), False, "red brick ledge"),
    ("tiles/brick_16x64.png", lambda: tiles.brick(16, 64), False, "red brick pillar"),
    ("tiles/brick_128x32.png", lambda: tiles.brick(128, 32), False, "red brick platform"),
    ("tiles/brick_800x32.png", lambda: tiles.brick(800, 32), False, "brick floor or ceiling across a whole screen"),
    ("tiles/brick_32x600.png", lambda: tiles.brick(32, 600), False, "brick wall down a whole screen side"),
    ("tiles/ground_32x32.png", lambda: tiles.grass_ground(32, 32), True, "grass-topped earth block"),
    ("tiles/ground_64x16.png", lambda: tiles.grass_ground(64, 16), True, "small grassy ledge"),
    ("tiles/ground_128x16.png", lambda: tiles.grass_ground(128, 16), True, "grassy ledge"),
    ("tiles/ground_128x32.png", lambda: tiles.grass_ground(128, 32), True, "grass-topped earth platform"),
    ("tiles/ground_400x32.png", lambda: tiles.grass_ground(400, 32), True, "grassy ground across half a screen"),
    ("tiles/ground_800x32.png", lambda: tiles.grass_ground(800, 32), True, "grassy ground across a whole screen"),
    ("tiles/ice_32x600.png", lambda: tiles.ice_brick(32, 600), False, "wall of ice blocks down a whole screen side"),
    ("tiles/ice_800x32.png", lambda: tiles.ice_brick(800, 32), False, "ice floor or ceiling across a whole screen"),
    ("tiles/ice_128x32.png", lambda: tiles.ice_brick(128, 32), False, "ice block platform"),
    ("tiles/snow_800x32.png", lambda: tiles.snow_ground(800, 32), True, "snowy ground across a whole screen"),
    ("tiles/snow_400x32.png", lambda: tiles.snow_ground(400, 32), True, "snowy ground across half a screen"),
    ("tiles/snow_128x32.png", lambda: tiles.snow_ground(128, 32), True, "snow-topped earth platform"),
    ("tiles/plank_64x16.png", lambda: tiles.plank(64, 16), False, "nailed wooden board"),
    ("tiles/plank_128x16.png", lambda: tiles.plank(128, 16), False, "two wooden boards end to end"),

    ("tiles/cracked_32x32.png", lambda: tiles.cracked_block(32, 32), True, "cracked sandstone block"),
    ("tiles/cracked_64x32.png", lambda: tiles.cracked_block(64, 32), True, "two cracked sandstone blocks"),
    ("tiles/cracked_32x64.png", lambda: tiles.cracked_block(32, 64), True, "cracked sandstone wall piece"),
    ("tiles/glass_32x32.png", lambda: tiles.glass(32, 32), True, "cracked see-through glass pane"),
    ("tiles/glass_64x32.png", lambda: tiles.glass(64, 32), True, "two cracked glass panes in one frame"),

    ("tiles/spikes_32x16.png", lambda: tiles.spikes(32, 16), True, "four steel spikes pointing up"),
    ("tiles/spikes_64x16.png", lambda: tiles.spikes(64, 16), True, "eight steel spikes pointing up"),
    ("tiles/spikes_down_32x16.png", lambda: tiles.spikes(32, 16).flipped_vertically(), True, "four spikes hanging from a ceiling"),
    ("tiles/spikes_down_64x16.png", lambda: tiles.spikes(64, 16).flipped_vertically(), True, "eight spikes hanging from a ceiling"),
    ("tiles/spikes_left_16x32.png", lambda: tiles.spikes(32, 16).rotated_clockwise().flipped_horizontally(), True, "four spikes pointing left; their rail is on the right"),
    ("tiles/spikes_right_16x32.png", lambda: tiles.spikes(32, 16).rotated_clockwise(), True, "four spikes pointing right; their rail is on the left"),
    ("tiles/icicles_64x16.png", lambda: tiles.icicles(64, 16), True, "eight icicles hanging from a ledge"),
    ("tiles/icicles_32x16.png", lambda: tiles.icicles(32, 16), True, "four icicles hanging from a ledge"),
    ("tiles/saw_32x32.png", lambda: tiles.saw(32), True, "round saw blade"),
    ("tiles/saw_64x64.png", lambda: tiles.saw(64), True, "big round saw blade"),
    ("tiles/lava_64x16.png", lambda: tiles.lava(64, 16), True, "pool of lava; pieces join side by side"),
    ("tiles/lava_128x16.png", lambda: tiles.lava(128, 16), True, "wider pool of lava"),
    ("tiles/lava_256x16.png", lambda: tiles.lava(256, 16), True, "lava pit"),

    ("tiles/door_16x64.png", lambda: tiles.portcullis(16, 64), True, "iron bar gate"),
    ("tiles/door_16x128.png", lambda: tiles.portcullis(16, 128), True, "tall iron bar gate"),
    ("tiles/door_16x320.png", lambda: tiles.portcullis(16, 320), True, "iron bar gate as high as a cave's bounce"),
    ("tiles/door_32x96.png", lambda: tiles.gate(32, 96), True, "arched wooden gate with iron bands and a lock"),
    ("tiles/door_64x16.png", lambda: tiles.hatch(64, 16), False, "wooden trapdoor for floors and ceilings"),

    ("tiles/crate_32x32.png", lambda: tiles.crate(32), False, "wooden crate, meant to be loose (not static)"),
    ("tiles/crate_48x48.png", lambda: tiles.crate(48), False, "big wooden crate, meant to be loose"),
    ("tiles/boulder_24x24.png", lambda: tiles.boulder(24), True, "small round stone"),
    ("tiles/boulder_32x32.png", lambda: tiles.boulder(32), True, "round stone"),
    ("tiles/boulder_48x48.png", lambda: tiles.boulder(48), True, "big round stone"),

    ("tiles/sky_800x600.png", lambda: scenery.sky(800, 600), False, "daylight sky filling a screen; lowest depth"),
    ("tiles/night_800x600.png", lambda: scenery.night_sky(800, 600), False, "winter night sky with stars and an aurora"),
    ("tiles/cave_800x600.png", lambda: scenery.cave(800, 600), False, "dark cave backdrop filling a screen"),
    ("tiles/mountains_800x300.png", lambda: scenery.mountains(800, 300), True, "far snowy mountains"),
    ("tiles/hills_800x200.png", lambda: scenery.hills(800, 200), True, "two rows of green hills"),
    ("tiles/sun_64x64.png", lambda: scenery.sun(64), True, "the sun in a soft glow"),
    ("tiles/cloud_128x64.png", lambda: scenery.cloud(128, 64), True, "big puffy cloud"),
    ("tiles/cloud_64x32.png", lambda: scenery.cloud(64, 32), True, "small puffy cloud"),
    ("tiles/tree_64x128.png", lambda: scenery.tree(64, 128), True, "leafy tree"),
    ("tiles/pine_48x128.png", lambda: scenery.pine(48, 128), True, "fir tree"),
    ("tiles/bush_64x32.png", lambda: scenery.bush(64, 32), True, "round bush with red berries"),
    ("tiles/tuft_32x16.png", lambda: scenery.grass_tuft(32, 16), True, "tuft of grass"),
    ("tiles/flower_red_16x32.png", lambda: scenery.flower(16, 32, RED_PETALS, RED_MIDDLE), True, "red flower"),
    ("tiles/flower_yellow_16x32.png", lambda: scenery.flower(16, 32, YELLOW_PETALS, YELLOW_MIDDLE), True, "yellow flower"),
    ("tiles/sign_32x48.png", lambda: scenery.sign(32, 48), True, "sign post pointing right"),
    ("tiles/banner_made_it_480x160.png", lambda: screens.finish_banner(480, 160), True, "\"You made it!\" ribbon banner for the last screen"),
]


def repository_root():
    return os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def tile_kinds_path():
    return os.path.join(repository_root(), "world", "TileKinds.txt")


def read_tile_types(path):
    """The sprite type of each tile kind in the table the level editor reads too, by first word."""
    types = {}
    with open(path, encoding="utf-8") as table:
        for line in table:
            if line.strip() and not line.startswith("#"):
                word, sprite_type = line.split()[:2]
                types[word] = sprite_type
    return types


def first_word(name):
    """tiles/spikes_down_32x16.png -> spikes"""
    return re.split(r"[_.]", name.split("/")[-1])[0]


def tile_entries(tiles, types):
    entries = []
    for name, make, with_alpha, description in tiles:
        if first_word(name) not in types:
            sys.exit("%s: no kind for '%s' in %s" % (name, first_word(name), tile_kinds_path()))
        entries.append((name, make, with_alpha, types[first_word(name)], description))
    return entries


CATALOGUE = SCREENS + tile_entries(TILES, read_tile_types(tile_kinds_path()))


def default_output():
    return os.path.join(repository_root(), "data")


def write_pictures(output):
    for name, make, with_alpha, _, _ in CATALOGUE:
        path = os.path.join(output, *name.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as file:
            file.write(make().encode(with_alpha))


def print_catalogue():
    print("| Name | Size | Channels | Sprite type | What it is |")
    print("|---|---|---|---|---|")
    for name, make, with_alpha, sprite_type, description in CATALOGUE:
        picture = make()
        print("| %s | %d x %d | %s | %s | %s |" % (name, picture.width, picture.height,
                                                  "RGBA" if with_alpha else "RGB", sprite_type, description))


def main():
    parser = argparse.ArgumentParser(description="Makes the game's pictures.")
    parser.add_argument("--output", default=default_output(), help="folder to write into (default: data/)")
    parser.add_argument("--list", action="store_true", help="print the catalogue instead of writing files")
    arguments = parser.parse_args()
    if arguments.list:
        print_catalogue()
    else:
        write_pictures(arguments.output)


if __name__ == "__main__":
    main()
