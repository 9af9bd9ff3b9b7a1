"""End-to-end: the level editor driven with the mouse and keys through xdotool on a virtual
display of its own; what it saves is compared with the expected level text.
Usage: editor_test.py BUILD_DIR"""
import os
import sys
import tempfile
import time
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
        time.sleep(1.0)

    def wait_for_output(self, text, seconds=20):
        self.session.wait_for(lambda: text in self.session.output(), seconds, repr(text))

    def act(self, *keys):
        for key in keys:
            self.session.key(key)
            time.sleep(0.3)

    def click(self, x, y, button=1):
        self.session.click(x, y, button)
        time.sleep(0.3)

    def saved(self):
        with open(self.level) as level:
            return level.read()

    def quit(self):
        self.session.key("Escape")
        self.session.wait_for(lambda: self.session.game.poll() is not None, 10, "the editor to quit")
        self.assertEqual(self.session.game.returncode, 0)

    def test_places_changes_undoes_makes_a_screen_and_saves(self):
        self.start()
        self.act("Tab")
        self.click(*palette_cell("crate_32x32.png"))
        self.act("g", "g")  # grid 16
        self.click(205, 110)  # snapped to (192, 96)
        self.act("a")  # after the last piece, along the row: (224, 96)
        # The popup: Type opens its submenu beside the menu; Door is its sixth item.
        self.act("space")  # back to selecting
        self.click(200, 100, 3)
        self.session.move(220, 114)
        time.sleep(0.3)
        self.click(394, 100 + 1 + 5 * 26 + 13)
        self.act("ctrl+z", "ctrl+y")
        self.act("ctrl+Right", "n", "space")
        self.click(50, 50)
        self.act("ctrl+s")
        self.wait_for_output("editor: Saved")
        self.assertEqual(self.saved(), HEAD + '\t\t<screen x="0" y="0">\n' + BRICK +
                         SPRITE % ("Door", "crate_32x32.png", 96, 192) +
                         SPRITE % ("SolidCube", "crate_32x32.png", 96, 224) + '\t\t</screen>\n' +
                         '\t\t<screen x="1" y="0">\n' + SPRITE % ("SolidCube", "crate_32x32.png", 48, 48) +
                         '\t\t</screen>\n' + TAIL)
        self.quit()

    def test_autosave_survives_a_kill_and_opens_on_request(self):
        self.start(environment={"ROLLANDIA_EDITOR_AUTOSAVE_SECONDS": "1"})
        self.act("Tab")
        self.click(*palette_cell("crate_32x32.png"))
        self.click(100, 100)
        autosave = os.path.join(self.work.name, "level.autosave.xml")
        self.session.wait_for(lambda: os.path.exists(autosave), 10, "the autosave")
        self.session.game.kill()
        self.assertEqual(self.saved(), LEVEL)
        with open(autosave) as text:
            self.assertIn('texture="tiles/crate_32x32.png" top="100" left="100"', text.read())

        self.start(text=None)
        self.wait_for_output("newer than the file")
        # Quitting after opening it asks first: the level differs from its file.
        self.act("o", "Escape")
        self.act("Escape", "ctrl+s")
        self.wait_for_output("editor: Saved")
        self.assertIn('left="100"', self.saved())
        self.assertFalse(os.path.exists(autosave))
        self.quit()

    def test_a_broken_file_shows_the_loader_message_and_is_never_written(self):
        broken = HEAD + '\t\t<screen x="zero" y="0">\n'
        self.start(broken)
        self.wait_for_output("editor: Cannot load the level: %s:" % self.level)
        self.act("w", "ctrl+s")
        self.wait_for_output("Not saved")
        self.quit()
        self.assertEqual(self.saved(), broken)


if __name__ == "__main__":
    unittest.main(verbosity=2)
