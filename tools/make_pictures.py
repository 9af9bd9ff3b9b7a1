#!/usr/bin/env python3
"""Makes every picture of the game from scratch and writes them as PNG files.

    python3 tools/make_pictures.py                 writes into data/ beside tools/
    python3 tools/make_pictures.py --output DIR    writes into DIR instead
    python3 tools/make_pictures.py --list          prints the catalogue as a Markdown table

Uses the Python standard library only and gives the same bytes on every run."""

import argparse
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of compiled files

from pictures import scenery, screens, tiles  # noqa: E402  (after the bytecode switch)

RED_PETALS, RED_MIDDLE = (236, 70, 96), (255, 214, 70)
YELLOW_PETALS, YELLOW_MIDDLE = (255, 214, 60), (160, 90, 40)

# name, maker, whether it keeps an alpha channel, the sprite type it is meant for, what it is
CATALOGUE = [
    ("Splash.png", screens.splash, False, "Background", "title picture shown for five seconds at start"),
    ("die.png", screens.death_flash, True, "Background", "death picture, bright: red wash, dark panel"),
    ("die2.png", screens.death_dark, True, "Background", "death picture, dark: black wash, red panel"),
    ("finish.png", screens.finish, True, "Background", "finish picture over a world's goal: panel for the run's time, deaths and best"),
    ("closing.png", screens.closing, False, "Background", "closing picture after the last world"),
    ("ball.png", lambda: screens.ball(32), True, "SolidSphere", "the player's ball, read by the ball shader"),

    ("tiles/brick_32x32.png", lambda: tiles.brick(32, 32), False, "SolidCube", "red brick block"),
    ("tiles/brick_64x16.png", lambda: tiles.brick(64, 16), False, "SolidCube", "red brick ledge"),
    ("tiles/brick_16x64.png", lambda: tiles.brick(16, 64), False, "SolidCube", "red brick pillar"),
    ("tiles/brick_128x32.png", lambda: tiles.brick(128, 32), False, "SolidCube", "red brick platform"),
    ("tiles/brick_800x32.png", lambda: tiles.brick(800, 32), False, "SolidCube", "brick floor or ceiling across a whole screen"),
    ("tiles/brick_32x600.png", lambda: tiles.brick(32, 600), False, "SolidCube", "brick wall down a whole screen side"),
    ("tiles/ground_32x32.png", lambda: tiles.grass_ground(32, 32), True, "SolidCube", "grass-topped earth block"),
    ("tiles/ground_64x16.png", lambda: tiles.grass_ground(64, 16), True, "SolidCube", "small grassy ledge"),
    ("tiles/ground_128x16.png", lambda: tiles.grass_ground(128, 16), True, "SolidCube", "grassy ledge"),
    ("tiles/ground_128x32.png", lambda: tiles.grass_ground(128, 32), True, "SolidCube", "grass-topped earth platform"),
    ("tiles/ground_400x32.png", lambda: tiles.grass_ground(400, 32), True, "SolidCube", "grassy ground across half a screen"),
    ("tiles/ground_800x32.png", lambda: tiles.grass_ground(800, 32), True, "SolidCube", "grassy ground across a whole screen"),
    ("tiles/ice_32x600.png", lambda: tiles.ice_brick(32, 600), False, "SolidCube", "wall of ice blocks down a whole screen side"),
    ("tiles/ice_800x32.png", lambda: tiles.ice_brick(800, 32), False, "SolidCube", "ice floor or ceiling across a whole screen"),
    ("tiles/ice_128x32.png", lambda: tiles.ice_brick(128, 32), False, "SolidCube", "ice block platform"),
    ("tiles/snow_800x32.png", lambda: tiles.snow_ground(800, 32), True, "SolidCube", "snowy ground across a whole screen"),
    ("tiles/snow_400x32.png", lambda: tiles.snow_ground(400, 32), True, "SolidCube", "snowy ground across half a screen"),
    ("tiles/snow_128x32.png", lambda: tiles.snow_ground(128, 32), True, "SolidCube", "snow-topped earth platform"),
    ("tiles/plank_64x16.png", lambda: tiles.plank(64, 16), False, "SolidCube", "nailed wooden board"),
    ("tiles/plank_128x16.png", lambda: tiles.plank(128, 16), False, "SolidCube", "two wooden boards end to end"),

    ("tiles/cracked_32x32.png", lambda: tiles.cracked_block(32, 32), True, "Breakable", "cracked sandstone block"),
    ("tiles/cracked_64x32.png", lambda: tiles.cracked_block(64, 32), True, "Breakable", "two cracked sandstone blocks"),
    ("tiles/cracked_32x64.png", lambda: tiles.cracked_block(32, 64), True, "Breakable", "cracked sandstone wall piece"),
    ("tiles/glass_32x32.png", lambda: tiles.glass(32, 32), True, "Breakable", "cracked see-through glass pane"),
    ("tiles/glass_64x32.png", lambda: tiles.glass(64, 32), True, "Breakable", "two cracked glass panes in one frame"),

    ("tiles/spikes_32x16.png", lambda: tiles.spikes(32, 16), True, "Dangerous", "four steel spikes pointing up"),
    ("tiles/spikes_64x16.png", lambda: tiles.spikes(64, 16), True, "Dangerous", "eight steel spikes pointing up"),
    ("tiles/spikes_down_32x16.png", lambda: tiles.spikes(32, 16).flipped_vertically(), True, "Dangerous", "four spikes hanging from a ceiling"),
    ("tiles/spikes_down_64x16.png", lambda: tiles.spikes(64, 16).flipped_vertically(), True, "Dangerous", "eight spikes hanging from a ceiling"),
    ("tiles/spikes_left_16x32.png", lambda: tiles.spikes(32, 16).rotated_clockwise().flipped_horizontally(), True, "Dangerous", "four spikes pointing left; their rail is on the right"),
    ("tiles/spikes_right_16x32.png", lambda: tiles.spikes(32, 16).rotated_clockwise(), True, "Dangerous", "four spikes pointing right; their rail is on the left"),
    ("tiles/icicles_64x16.png", lambda: tiles.icicles(64, 16), True, "Dangerous", "eight icicles hanging from a ledge"),
    ("tiles/icicles_32x16.png", lambda: tiles.icicles(32, 16), True, "Dangerous", "four icicles hanging from a ledge"),
    ("tiles/saw_32x32.png", lambda: tiles.saw(32), True, "Dangerous", "round saw blade"),
    ("tiles/saw_64x64.png", lambda: tiles.saw(64), True, "Dangerous", "big round saw blade"),
    ("tiles/lava_64x16.png", lambda: tiles.lava(64, 16), True, "Dangerous", "pool of lava; pieces join side by side"),
    ("tiles/lava_128x16.png", lambda: tiles.lava(128, 16), True, "Dangerous", "wider pool of lava"),
    ("tiles/lava_256x16.png", lambda: tiles.lava(256, 16), True, "Dangerous", "lava pit"),

    ("tiles/door_16x64.png", lambda: tiles.portcullis(16, 64), True, "Door", "iron bar gate"),
    ("tiles/door_16x128.png", lambda: tiles.portcullis(16, 128), True, "Door", "tall iron bar gate"),
    ("tiles/door_16x320.png", lambda: tiles.portcullis(16, 320), True, "Door", "iron bar gate as high as a cave's bounce"),
    ("tiles/door_32x96.png", lambda: tiles.gate(32, 96), True, "Door", "arched wooden gate with iron bands and a lock"),
    ("tiles/door_64x16.png", lambda: tiles.hatch(64, 16), False, "Door", "wooden trapdoor for floors and ceilings"),

    ("tiles/crate_32x32.png", lambda: tiles.crate(32), False, "SolidCube", "wooden crate, meant to be loose (not static)"),
    ("tiles/crate_48x48.png", lambda: tiles.crate(48), False, "SolidCube", "big wooden crate, meant to be loose"),
    ("tiles/boulder_24x24.png", lambda: tiles.boulder(24), True, "SolidSphere", "small round stone"),
    ("tiles/boulder_32x32.png", lambda: tiles.boulder(32), True, "SolidSphere", "round stone"),
    ("tiles/boulder_48x48.png", lambda: tiles.boulder(48), True, "SolidSphere", "big round stone"),

    ("tiles/sky_800x600.png", lambda: scenery.sky(800, 600), False, "Background", "daylight sky filling a screen; lowest depth"),
    ("tiles/night_800x600.png", lambda: scenery.night_sky(800, 600), False, "Background", "winter night sky with stars and an aurora"),
    ("tiles/cave_800x600.png", lambda: scenery.cave(800, 600), False, "Background", "dark cave backdrop filling a screen"),
    ("tiles/mountains_800x300.png", lambda: scenery.mountains(800, 300), True, "Background", "far snowy mountains"),
    ("tiles/hills_800x200.png", lambda: scenery.hills(800, 200), True, "Background", "two rows of green hills"),
    ("tiles/sun_64x64.png", lambda: scenery.sun(64), True, "Background", "the sun in a soft glow"),
    ("tiles/cloud_128x64.png", lambda: scenery.cloud(128, 64), True, "Background", "big puffy cloud"),
    ("tiles/cloud_64x32.png", lambda: scenery.cloud(64, 32), True, "Background", "small puffy cloud"),
    ("tiles/tree_64x128.png", lambda: scenery.tree(64, 128), True, "Background", "leafy tree"),
    ("tiles/pine_48x128.png", lambda: scenery.pine(48, 128), True, "Background", "fir tree"),
    ("tiles/bush_64x32.png", lambda: scenery.bush(64, 32), True, "Background", "round bush with red berries"),
    ("tiles/tuft_32x16.png", lambda: scenery.grass_tuft(32, 16), True, "Background", "tuft of grass"),
    ("tiles/flower_red_16x32.png", lambda: scenery.flower(16, 32, RED_PETALS, RED_MIDDLE), True, "Background", "red flower"),
    ("tiles/flower_yellow_16x32.png", lambda: scenery.flower(16, 32, YELLOW_PETALS, YELLOW_MIDDLE), True, "Background", "yellow flower"),
    ("tiles/sign_32x48.png", lambda: scenery.sign(32, 48), True, "Background", "sign post pointing right"),
    ("tiles/banner_made_it_480x160.png", lambda: screens.finish_banner(480, 160), True, "Background", "\"You made it!\" ribbon banner for the last screen"),
]


def default_output():
    return os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "data")


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
