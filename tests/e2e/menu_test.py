"""End-to-end: the game menu in the real game. P opens it and the game stands still under it,
an option changed there is kept in the settings file and heard at once, P resumes, the menu's
Restart is kept in the run's replay, Escape still ends the game with status 0, and a key bound
in the settings file steers the ball.
Usage: menu_test.py BUILD_DIR"""
import os
import sys
import time
import unittest

from game_session import SessionTestCase

BUILD = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else "build")
PANEL_BORDER = (62, 300)  # a pixel of the menu panel's gold border


def read_text(path):
    if not os.path.isfile(path):
        return ""
    with open(path) as text:
        return text.read()


def menu_shown(shot):
    red, green, blue = shot.pixel(*PANEL_BORDER)
    return red > 230 and 190 < green < 235 and 80 < blue < 140


class MenuTest(SessionTestCase):
    build = BUILD

    def test_the_menu_pauses_keeps_an_option_and_its_restart_replays(self):
        s = self.start()
        s.wait_for(lambda: s.screenshot().ball(), 30, "the ball after the splash")
        s.hold("Right")
        s.key("p")
        paused = s.wait_for(lambda: shot if menu_shown(shot := s.screenshot()) else None, 10, "the menu")
        time.sleep(1.0)
        self.assertLess(s.screenshot().differs(paused), 0.01, "nothing moves under the menu")
        s.hold("Right", False)
        # Options, down to the music volume, one step down.
        for key in ("Up", "Up", "Up", "Return", "Down", "Down", "Left"):
            s.key(key)
        settings = os.path.join(self.work.name, ".config", "rollandia", "settings.ini")
        s.wait_for(lambda: "music_volume = 90\n" in read_text(settings), 10,
                   "the changed volume in the settings file")
        s.key("p")
        s.wait_for(lambda: not menu_shown(s.screenshot()), 10, "the menu to close")
        before = s.wait_for(lambda: s.screenshot().ball(), 10, "the ball after the menu")
        s.hold("Right")
        s.wait_for(lambda: (ball := s.screenshot().ball()) and ball[0] > before[0] + 10, 10, "the ball to roll on")
        s.hold("Right", False)
        # The menu's Restart (the second item) becomes part of the run.
        for key in ("p", "Down", "Return"):
            s.key(key)
        s.wait_for(lambda: not menu_shown(s.screenshot()), 10, "the menu to close on Restart")
        time.sleep(0.5)
        s.key("Escape")
        played = self.summary(s)

        last = os.path.join(self.work.name, ".local", "share", "rollandia", "replays", "last.replay")
        os.rename(last, os.path.join(self.work.name, "run.replay"))
        self.assertEqual(self.summary(self.start(["--replay", "run.replay"])), played)

    def test_a_key_bound_in_the_settings_file_steers_the_ball(self):
        folder = os.path.join(self.work.name, ".config", "rollandia")
        os.makedirs(folder)
        with open(os.path.join(folder, "settings.ini"), "w") as settings:
            settings.write("key.right = D\n")
        s = self.start()
        # The splash has orange of its own on the right; the ball starts on the left.
        before = s.wait_for(lambda: s.screenshot().ball(right=300), 30, "the ball after the splash")
        s.hold("d")
        s.wait_for(lambda: (ball := s.screenshot().ball()) and ball[0] > before[0] + 10, 10, "D to roll the ball")
        s.hold("d", False)
        s.key("Escape")
        self.summary(s)


if __name__ == "__main__":
    unittest.main()
