"""End-to-end: the real game played with keys on a small level of the test's own, whose
sounds are plain tones so that each one can be told apart in the recording.
Usage: play_test.py BUILD_DIR"""
import os
import sys
import tempfile
import time
import unittest

from game_session import GameSession, write_tone

BUILD = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else "build")

# Tones standing in for the game's sounds (Hz).
MUSIC_START, MUSIC_REST = 220, 330
BOUNCES = {n: 500 + 100 * n for n in range(1, 8)}
EXPLOSION, DIE, LAUGH = 1900, 2300, 2700
LATE = 1.5  # seconds a picture may be seen after the game showed it, on a busy machine

LEVEL = """<?xml version="1.0" encoding="UTF-8"?>
<universe>
  <world name="Test" active="1">
    <!-- start: the ball drops hard onto a breakable piece; the door on the right opens once it breaks -->
    <screen x="0" y="0">
      <sprite type="SolidCube" texture="tiles/brick_32x600.png" top="0" left="0" depth="10" static="1" special="0" />
      <sprite type="SolidCube" texture="tiles/ground_800x32.png" top="568" left="0" depth="10" static="1" special="0" />
      <sprite type="Breakable" texture="tiles/cracked_64x32.png" top="536" left="112" depth="10" static="1" special="0" />
      <sprite type="Door" texture="tiles/door_16x128.png" top="440" left="784" depth="10" static="1" special="0" />
    </screen>
    <!-- spikes, and a deadly wall on the right that a ball held to the right cannot miss -->
    <screen x="1" y="0">
      <sprite type="SolidCube" texture="tiles/ground_800x32.png" top="568" left="0" depth="10" static="1" special="0" />
      <sprite type="Dangerous" texture="tiles/spikes_64x16.png" top="552" left="300" depth="10" static="1" special="0" />
      <sprite type="Dangerous" texture="tiles/brick_32x600.png" top="0" left="768" depth="10" static="1" special="0" />
    </screen>
  </world>
</universe>
"""


def test_data():
    def text(content):
        def write(path):
            with open(path, "w") as out:
                out.write(content)
        return write

    def tone(*segments):
        return lambda path: write_tone(path, segments)

    data = {"universe.xml": text(LEVEL),
            # Any format the music player reads will do: the start is told by its tone.
            "sounds/glimmerdrift.xm": tone((MUSIC_START, 0.6), (MUSIC_REST, 4.4)),
            "sounds/explosion.wav": tone((EXPLOSION, 0.3)),
            "sounds/die.wav": tone((DIE, 0.25)),
            "sounds/laugh.ogg": tone((LAUGH, 0.5))}
    for index, frequency in BOUNCES.items():
        data["sounds/s%d.wav" % index] = tone((frequency, 0.08))
    return data


def death_picture(shot):
    red, green, blue = shot.mean()
    return red > 2 * green + 20 and red > 2 * blue + 20


class PlayTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.session.close()
        self.work.cleanup()

    def start(self, overrides):
        self.session = GameSession(BUILD, self.work.name, overrides)
        s = self.session
        splash = s.wait_for(lambda: shot if sum((shot := s.screenshot()).mean()) > 150 else None, 30,
                            "the splash picture")
        self.splash_audio = s.audio_position()
        # The first picture of the level, taken before the ball can reach anything.
        self.level_shot = s.wait_for(lambda: shot if (shot := s.screenshot()).differs(splash) > 0.25 else None, 30,
                                     "the level after the splash")
        self.level_audio = s.audio_position()
        return s

    def ball(self, what="the ball"):
        return self.session.wait_for(lambda: self.session.screenshot().ball(), 10, what)

    def test_a_journey_through_breaking_dying_and_restarting(self):
        s = self.start(test_data())
        door = lambda shot=None: sum((shot or s.screenshot()).mean(784, 440, 800, 568, 2))
        self.assertGreater(door(self.level_shot), 20, "the door is closed at first")
        self.ball()
        s.wait_for(lambda: door() < 20, 15, "the ball to break the piece below it and the door to open")
        broke_audio = s.audio_position()
        # The ball starts at the top and may still rebound off the piece in the frame that breaks
        # it: seeing it on the floor shows that it fell, without racing its rebound.
        bottom = s.wait_for(lambda: (b := self.ball()) and b[1] > 500 and b, 10, "the ball to fall to the floor")
        # Its own bounces may have died down by the time a busy machine shows it on the floor:
        # Up makes even a ball at rest bounce higher and higher.
        s.hold("Up")
        s.wait_for(lambda: self.ball()[1] < bottom[1] - 20, 10, "the ball to bounce with Up held")
        s.hold("Up", False)

        s.hold("Left")
        s.wait_for(lambda: self.ball()[0] < bottom[0], 10, "Left to roll the ball left")
        s.hold("Left", False)
        s.hold("Right")
        s.wait_for(lambda: death_picture(s.screenshot()), 15, "a dangerous piece to kill the ball")
        s.hold("Right", False)
        death_audio = s.audio_position()
        shades = set()
        s.wait_for(lambda: shades.add(sum(s.screenshot().mean()) > 150) or len(shades) == 2, 5,
                   "both death pictures")
        time.sleep(1.5)
        quiet_audio = s.audio_position()
        s.key("Return")
        s.wait_for(lambda: not death_picture(s.screenshot()) and s.screenshot().pixel(16, 300)[0] > 100, 10,
                   "the start screen again")
        restart_audio = s.audio_position()
        s.key("F12")  # a screenshot lands in the folder the game runs in: this one has no pictures folder
        shot = s.wait_for(lambda: [n for n in os.listdir(s.dir) if n.startswith("Rollandia ")], 10, "the screenshot")

        # The picture takes its name only once it is whole, and no temporary file stays behind.
        with open(os.path.join(s.dir, shot[0]), "rb") as picture:
            header = picture.read(24)
        self.assertEqual([n for n in os.listdir(s.dir) if n.startswith(".screenshot-")], [])
        self.assertEqual((header[:8], header[16:24]), (b"\x89PNG\r\n\x1a\n", (800).to_bytes(4, "big") + (600).to_bytes(4, "big")))
        s.wait_for(lambda: s.audio_position() > restart_audio + 1.5, 10, "the music after the restart")
        s.key("Escape")
        s.wait_for(lambda: s.game.poll() is not None, 15, "the game to end")
        self.assertEqual(s.game.returncode, 0)

        sound = s.recording()
        # On a busy machine the splash and the level may be seen late (up to LATE seconds): the
        # quiet stretch ends before the music may have started.
        splash_seconds = min(3.5, self.level_audio - self.splash_audio - LATE - 0.5)
        self.assertLess(sound.rms(self.splash_audio + 0.5, splash_seconds), 0.005, "silence during the splash")
        self.assertTrue(sound.heard(MUSIC_START, self.level_audio - LATE, self.level_audio + 1.0), "the music")
        self.assertTrue(any(sound.heard(f, broke_audio, death_audio) for f in BOUNCES.values()), "a bounce")
        self.assertTrue(sound.heard(EXPLOSION, broke_audio - 3, broke_audio + 0.5), "the explosion")
        self.assertFalse(sound.heard(EXPLOSION, broke_audio + 1, death_audio - 0.5), "one explosion only")
        self.assertTrue(sound.heard(DIE, death_audio - 1.5, death_audio + 0.5), "the death sound")
        self.assertTrue(sound.heard(LAUGH, death_audio - LATE, death_audio + 1), "the laugh")
        self.assertLess(sound.rms(death_audio + 1.2, quiet_audio - death_audio - 1.2), 0.005,
                        "no music while the player is dead")
        self.assertTrue(sound.heard(MUSIC_START, restart_audio - LATE, restart_audio + 0.3),
                        "the music starts from its beginning")
        self.assertFalse(sound.heard(MUSIC_START, restart_audio + 0.7, restart_audio + 1.3, 0.02))
        self.assertTrue(sound.heard(MUSIC_REST, restart_audio + 0.4, restart_audio + 1.3))


if __name__ == "__main__":
    unittest.main()
