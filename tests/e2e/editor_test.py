"""End-to-end: the level editor driven with the mouse and keys through xdotool on a virtual
display of its own; what it saves is compared with the expected level text.
Usage: editor_test.py BUILD_DIR"""
import os
import sys
import tempfile
import unittest

from game_session import GameSession

BUILD = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else "build")

HEAD = '<?xml version="1.0" encoding="UTF-8"?>\n<universe>\n\t<world name="Test" active="1">\n'
TAIL = '\t</world>\n</universe>\n'
SPRITE = ('\t\t\t<sprite type="%s" texture="tiles/%s" top="%d" left="%d" depth="10" static="1" '
          'special="0" />\n')
BRICK = SPRITE % ("SolidCube", "brick_32x32.png", 0, 0)
LEVEL = HEAD + '\t\t<screen x="0" y="0">\n' + BRICK + '\t\t</screen>\n' + TAIL

# The palette's grid (see the editor's layout): cells 72 pixels apart from (16, 16), ten across.
TILES = sorted(os.listdir(os.path.join(BUILD, "data", "tiles")))


# Three screens as pictures that fill much of their cells: a cave over all of (0, 0), hills in
# the lower third of (1, 0), a banner in the middle of (1, 1).
MAP_LEVEL = HEAD + ''.join('\t\t<screen x="%d" y="%d">\n%s\t\t</screen>\n' % (x, y, SPRITE % ("Background", tile, top, left))
                           for x, y, tile, top, left in ((0, 0, "cave_800x600.png", 0, 0),
                                                         (1, 0, "hills_800x200.png", 400, 0),
                                                         (1, 1, "banner_made_it_480x160.png", 220, 160))) + TAIL


def map_cell(x, y):
    """The world map's cell of a slot (see the editor's layout) for MAP_LEVEL's slots -1 to 2:
    cells 150 x 112 on a pitch of 166 x 124 from (68, 50)."""
    left, top = 68 + (x + 1) * 166 + 8, 50 + (y + 1) * 124 + 6
    return left, top, left + 150, top + 112


def palette_cell(name):
    index = TILES.index(name)
    return 16 + index % 10 * 72 + 32, 16 + index // 10 * 72 + 32


class EditorTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.TemporaryDirectory()
        self.level = os.path.join(self.work.name, "level.xml")
        self.session = None

    def tearDown(self):
        if self.session:
            self.session.close()
        self.work.cleanup()

    def start(self, text=LEVEL, environment=None):
        if text is not None:
            with open(self.level, "w") as out:
                out.write(text)
        if self.session:
            self.session.close()
        # A relative path: the editor must make it absolute before loading changes directories.
        self.session = GameSession(BUILD, self.work.name, program="rollandia_editor", arguments=["level.xml"],
                                   environment=environment)
        self.wait_for_output("editor: ")
        self.session.wait_for(lambda: any(self.session.screenshot().data), 20, "the editor's window")

    def wait_for_output(self, text, seconds=20):
        self.session.wait_for(lambda: text in self.session.output(), seconds, repr(text))

    def act(self, *inputs):
        """Sends each key (a name) or click ((x, y), a button after them; None only moves) once the
        picture has shown the one before."""
        for given in inputs:
            before = self.session.screenshot().data
            self.session.key(given) if isinstance(given, str) else self.session.click(*given)
            self.session.wait_for(lambda: self.session.screenshot().data != before, 10, "the picture after %r" % (given,))

    def saved(self):
        with open(self.level) as level:
            return level.read()

    def quit(self):
        self.session.key("Escape")
        self.session.wait_for(lambda: self.session.game.poll() is not None, 10, "the editor to quit")
        self.assertEqual(self.session.game.returncode, 0)

    def test_places_changes_undoes_makes_a_screen_and_saves(self):
        self.start()
        # Grid 16 (the third step): (205, 110) snaps to (192, 96); A places after it along the row. Back to selecting,
        # the popup's Type opens its submenu beside the menu; Door is its sixth item.
        self.act("Tab", palette_cell("brick_32x32.png"), "g", "g", "g", (205, 110), "a", "space", (200, 100, 3),
                 (220, 114, None), (394, 100 + 1 + 5 * 26 + 13), "ctrl+z", "ctrl+y", "ctrl+Right", "n", "space",
                 (50, 50), "ctrl+s")
        self.wait_for_output("editor: Saved")
        self.assertEqual(self.saved(), HEAD + '\t\t<screen x="0" y="0">\n' + BRICK +
                         SPRITE % ("Door", "brick_32x32.png", 96, 192) +
                         SPRITE % ("SolidCube", "brick_32x32.png", 96, 224) + '\t\t</screen>\n' +
                         '\t\t<screen x="1" y="0">\n' + SPRITE % ("SolidCube", "brick_32x32.png", 48, 48) +
                         '\t\t</screen>\n' + TAIL)
        self.quit()

    def test_autosave_survives_a_kill_and_opens_on_request(self):
        self.start(environment={"ROLLANDIA_EDITOR_AUTOSAVE_SECONDS": "1"})
        self.act("Tab", palette_cell("brick_32x32.png"), (100, 100))
        autosave = os.path.join(self.work.name, "level.xml.autosave.xml")
        self.session.wait_for(lambda: os.path.exists(autosave), 10, "the autosave")
        self.session.game.kill()
        self.assertEqual(self.saved(), LEVEL)
        with open(autosave) as text:
            self.assertIn('texture="tiles/brick_32x32.png" top="100" left="100"', text.read())

        self.start(text=None)
        self.wait_for_output("newer than the file")
        # Quitting after opening it asks first: the level differs from its file.
        self.act("o", "Escape", "Escape", "ctrl+s")
        self.wait_for_output("editor: Saved")
        self.assertIn('left="100"', self.saved())
        self.assertFalse(os.path.exists(autosave))
        self.quit()

    def test_places_by_typed_numbers_copies_pastes_and_duplicates(self):
        self.start()
        # The placed brick is selected: Enter types its left, top and depth in place of "100 100 10".
        self.act("Tab", palette_cell("brick_32x32.png"), (100, 100), "Return", *["BackSpace"] * 10,
                 "0", "space", "5", "6", "8", "space", "1", "0", "Return",
                 "ctrl+c", (300, 200, None), "ctrl+v", "ctrl+d", "ctrl+s")
        self.wait_for_output("editor: Saved")
        self.assertEqual(self.saved(), HEAD + '\t\t<screen x="0" y="0">\n' + BRICK +
                         SPRITE % ("SolidCube", "brick_32x32.png", 568, 0) +
                         SPRITE % ("SolidCube", "brick_32x32.png", 200, 300) +
                         SPRITE % ("SolidCube", "brick_32x32.png", 216, 316) + '\t\t</screen>\n' + TAIL)
        self.quit()
        with open(os.path.join(self.work.name, ".config", "rollandia", "editor.ini")) as kept:
            self.assertIn("tool = place", kept.read())

    def test_test_play_starts_the_ball_at_the_mouse(self):
        floor = (HEAD + '\t\t<screen x="0" y="0">\n' + SPRITE % ("SolidCube", "brick_800x32.png", 568, 0) +
                 '\t\t</screen>\n' + TAIL)
        self.start(floor)
        # The ball is the only red on a black scene: it shows up below the mouse, nowhere else.
        red = lambda picture, left, right: any(picture.pixel(x, y)[0] > 150 and picture.pixel(x, y)[1] < 100
                                              for x in range(left, right, 2) for y in range(60, 568, 4))
        self.act((600, 100, None), "p")
        below_mouse = lambda picture: red(picture, 560, 640) and picture
        shown = self.session.wait_for(lambda: below_mouse(self.session.screenshot()), 10, "the ball below the mouse")
        self.assertFalse(red(shown, 40, 300))
        self.act("p")
        self.quit()
        self.assertEqual(self.saved(), floor)

    def test_the_world_map_shows_every_screen_and_goes_to_the_one_clicked_and_a_broken_file_stays(self):
        self.start(MAP_LEVEL)
        # A picture has many colours; an empty slot, or a region of the scene with nothing in it, has one.
        varied = lambda picture, box: len({picture.pixel(x, y) for x in range(box[0] + 4, box[2] - 4, 3)
                                           for y in range(box[1] + 4, box[3] - 4, 3)}) > 8
        middle, lower = (100, 100, 700, 300), (100, 410, 700, 540)
        self.assertTrue(varied(self.session.screenshot(), middle))  # the cave
        for close in ("Escape", "m"):
            self.act("m")
            self.wait_for_output("World map:")
            shown = self.session.screenshot()
            for slot in ((0, 0), (1, 0), (1, 1)):
                self.assertTrue(varied(shown, map_cell(*slot)), slot)
            self.assertFalse(varied(shown, map_cell(-1, -1)))
            self.act(close)
        self.assertTrue(varied(self.session.screenshot(), middle))  # still the cave
        self.act("m")
        right = map_cell(1, 0)
        self.act(((right[0] + right[2]) // 2, (right[1] + right[3]) // 2))
        shown = self.session.screenshot()
        self.assertFalse(varied(shown, middle))
        self.assertTrue(varied(shown, lower))  # the hills
        self.quit()  # without asking: nothing changed
        self.assertEqual(self.saved(), MAP_LEVEL)

        # A broken file shows the loader's message and is never written.
        broken = HEAD + '\t\t<screen x="zero" y="0">\n'
        self.start(broken)
        self.wait_for_output("editor: Cannot load the level: %s:" % self.level)
        self.act("w", "ctrl+s")
        self.wait_for_output("Not saved")
        self.quit()
        self.assertEqual(self.saved(), broken)


if __name__ == "__main__":
    unittest.main(verbosity=2)
