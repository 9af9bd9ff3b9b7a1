"""End-to-end: runs recorded and replayed through the real game, the display paced at other
refresh rates (a preloaded library delays every buffer swap to the rate's next tick).
Usage: replay_test.py BUILD_DIR SOURCE_DIR"""
import os
import re
import sys
import time
import unittest

from game_session import SessionTestCase

BUILD = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else "build")
SOURCE = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else ".")
PLAYTHROUGH = os.path.join(SOURCE, "tools", "playthrough")
# Every world's solution replay and the goal screen it ends on.
WORLD_REPLAYS = (("meadows.replay", "Meadows", "(3, 2)"), ("tide_pools.replay", "Tide Pools", "(0, 3)"),
                 ("frost_hollow.replay", "Frost Hollow", "(0, 3)"))


class ReplayTest(SessionTestCase):
    build = BUILD

    def play(self, hertz, arguments=()):
        paced = {"LD_PRELOAD": os.path.join(BUILD, "libswap_pacer.so"), "SWAP_PACER_HZ": str(hertz)}
        return self.start(arguments, paced)

    def test_every_worlds_replay_reaches_its_goal(self):
        # One rate each keeps the time down; the playthrough tests cover 30, 60 and 144 Hz.
        for (replay, world, goal), hertz in zip(WORLD_REPLAYS, (144, 60, 30)):
            with self.subTest(world=world):
                line = self.summary(self.play(hertz, ["--replay", os.path.join(PLAYTHROUGH, replay)]), 300)
                self.assertIn("world %s, screen %s, alive" % (world, goal), line)

    def test_a_run_played_at_30_hz_replays_to_the_same_end_at_144_hz(self):
        player = self.play(30)
        player.wait_for(lambda: player.screenshot().ball(), 30, "the ball after the splash")
        for keys, seconds in ((["Right"], 1.5), (["Right", "Up"], 2.0), (["Left", "Down"], 1.0)):
            for key in keys:
                player.hold(key)
            time.sleep(seconds)
            for key in keys:
                player.hold(key, False)
        player.key("Escape")
        recorded = self.summary(player, 30)
        last = os.path.join(self.work.name, ".local", "share", "rollandia", "replays", "last.replay")
        self.assertTrue(os.path.isfile(last), "the run was kept as the last replay")
        os.rename(last, os.path.join(self.work.name, "run.replay"))
        self.assertEqual(self.summary(self.play(144, ["--replay", "run.replay"]), 60), recorded)

        # The same replay on a level changed by one byte is refused, naming both digests.
        with open(os.path.join(self.work.name, "data", "universe.xml"), "a") as level:
            level.write(" ")
        refused = self.play(60, ["--replay", "run.replay"])
        refusal = r"recorded on another level \(digest [0-9a-f]{16}; this level's is [0-9a-f]{16}\)"
        refused.wait_for(lambda: re.search(refusal, refused.output()), 30, "the refusal")
        # Without a system message box the game's own window shows it until a key is pressed.
        self.assertIsNone(refused.game.poll(), "the message stays up until a key is pressed")
        refused.key("space")
        refused.wait_for(lambda: refused.game.poll() is not None, 30, "the end after a key")
        self.assertEqual(refused.game.returncode, 1)


if __name__ == "__main__":
    unittest.main()
