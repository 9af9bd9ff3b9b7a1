"""Drives the real game executable as a player would: a virtual display of its own, key
presses through xdotool, screenshots, and the sound it plays recorded by SDL's disk audio
driver. Nothing reaches into the game; every wait polls with a generous limit."""
import array
import math
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

RATE = 44100
FRAME_BYTES = 4  # 16-bit stereo
WIDTH, HEIGHT = 800, 600
# The line the game prints as it ends: where the run stopped and a digest of its state.
SUMMARY = re.compile(r"^replay: world .*, screen \(-?\d+, -?\d+\), (alive|dead), \d+ steps, state [0-9a-f]{16}$", re.M)


def write_tone(path, segments, volume=0.3):
    """A mono 16-bit WAV of (frequency, seconds) sine segments, made by sox."""
    chains = [["synth", str(t), "sine", str(f), "vol", str(volume), ":"] for f, t in segments]
    subprocess.check_call(["sox", "-n", "-r", str(RATE), "-c", "1", "-b", "16", "-t", "wav", path] + sum(chains, [])[:-1])


def start_virtual_display():
    """An Xvfb of the game's size on a display number it picks itself (never one in use), once
    it accepts clients."""
    reader, writer = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(writer), "-screen", "0", "%dx%dx24" % (WIDTH, HEIGHT),
                             "-nolisten", "tcp"], pass_fds=(writer,), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    os.close(writer)
    with os.fdopen(reader) as announced:
        number = announced.readline().strip()
    if not number:
        xvfb.kill()
        raise AssertionError("the virtual display did not start")
    return xvfb, ":" + number


class GameSession:
    def __init__(self, build_dir, work_dir, data_overrides=None, program="rollandia", arguments=(), environment=None):
        """Copies the program (the game unless told otherwise) and its data into work_dir,
        replacing the files data_overrides names (relative name -> function writing the file
        at a path), and starts it there with the arguments and extra environment variables."""
        self.dir = work_dir
        shutil.copy(os.path.join(build_dir, program), work_dir)
        if not os.path.isdir(os.path.join(work_dir, "data")):
            shutil.copytree(os.path.join(build_dir, "data"), os.path.join(work_dir, "data"))
        for name, make in (data_overrides or {}).items():
            make(os.path.join(work_dir, "data", name))
        self.audio_path = os.path.join(work_dir, "audio.raw")
        self.failure_picture = os.path.join(build_dir, "e2e-timeout.png")
        self.xvfb, self.display = start_virtual_display()
        # A home without a pictures folder: screenshots land in the folder the game runs in. The
        # settings go to the home's usual folder (work_dir/rollandia is the program itself).
        self.env = dict(os.environ, DISPLAY=self.display, SDL_AUDIODRIVER="disk",
                        SDL_DISKAUDIOFILE=self.audio_path, HOME=work_dir,
                        XDG_CONFIG_HOME=os.path.join(work_dir, ".config"),
                        **(environment or {}))
        self.log_path = os.path.join(work_dir, "game.log")
        self.log = open(self.log_path, "w")
        self.game = subprocess.Popen(["./" + program] + list(arguments), cwd=work_dir, env=self.env, stdout=self.log,
                                     stderr=subprocess.STDOUT)

    def close(self):
        for process in (self.game, self.xvfb):
            if process.poll() is None:
                process.kill()
                process.wait()
        self.log.close()

    def wait_for(self, condition, seconds, what):
        deadline = time.time() + seconds
        while time.time() < deadline:
            result = condition()
            if result:
                return result
            if getattr(self, "game", None) is not None and self.game.poll() is not None:
                raise AssertionError("the game ended (status %s) while waiting for %s" % (self.game.returncode, what))
            time.sleep(0.05)
        if getattr(self, "game", None) is not None:
            subprocess.call(["import", "-window", "root", self.failure_picture], env=self.env)
        raise AssertionError("timed out after %d s waiting for %s (last picture: %s)" % (seconds, what,
                                                                                      self.failure_picture))

    def output(self):
        with open(self.log_path) as log:
            return log.read()

    # ---------------------------------------------------------------- input
    def click(self, x, y, button=1):
        """A click of the button at (x, y); without a button the pointer only moves there."""
        click = ["click", str(button)] if button else []
        subprocess.check_call(["xdotool", "mousemove", str(x), str(y)] + click, env=self.env)

    def key(self, name):
        subprocess.check_call(["xdotool", "key", name], env=self.env)

    def hold(self, name, down=True):
        subprocess.check_call(["xdotool", "keydown" if down else "keyup", name], env=self.env)

    # ---------------------------------------------------------------- picture
    def screenshot(self):
        data = subprocess.check_output(["import", "-window", "root", "-depth", "8", "rgb:-"], env=self.env)
        return Picture(data)

    # ---------------------------------------------------------------- sound
    def audio_position(self):
        """Seconds of sound the game has produced so far."""
        return os.path.getsize(self.audio_path) / FRAME_BYTES / RATE if os.path.exists(self.audio_path) else 0.0

    def recording(self):
        samples = array.array("h")
        with open(self.audio_path, "rb") as raw:
            samples.frombytes(raw.read()[: -(os.path.getsize(self.audio_path) % 4) or None])
        return Recording(samples[0::2])


class Picture:
    def __init__(self, data):
        self.data = data

    def pixel(self, x, y):
        i = (y * WIDTH + x) * 3
        return self.data[i], self.data[i + 1], self.data[i + 2]

    def mean(self, left=0, top=0, right=WIDTH, bottom=HEIGHT, step=8):
        total, count = [0, 0, 0], 0
        for y in range(top, bottom, step):
            for x in range(left, right, step):
                for c, value in enumerate(self.pixel(x, y)):
                    total[c] += value
                count += 1
        return [t / count for t in total]

    def differs(self, other, step=16):
        """The share of sampled pixels that differ clearly from the other picture."""
        changed = total = 0
        for y in range(0, HEIGHT, step):
            for x in range(0, WIDTH, step):
                a, b = self.pixel(x, y), other.pixel(x, y)
                changed += sum(abs(p - q) for p, q in zip(a, b)) > 60
                total += 1
        return changed / total

    def ball(self, left=32, top=0, right=WIDTH - 32, bottom=552):
        """Centre of the orange ball's pixels in the region, or None."""
        xs, ys = [], []
        for y in range(top, bottom, 2):
            for x in range(left, right, 2):
                r, g, b = self.pixel(x, y)
                if r > 170 and 40 < g < 150 and b < 90 and r > g + 60:
                    xs.append(x)
                    ys.append(y)
        return (sum(xs) / len(xs), sum(ys) / len(ys)) if len(xs) > 8 else None


class Recording:
    def __init__(self, mono):
        self.mono = mono

    def window(self, start, seconds=0.1):
        first = max(0, int(start * RATE))
        return self.mono[first:first + int(seconds * RATE)]

    def rms(self, start, seconds=0.1):
        part = self.window(start, seconds)
        return math.sqrt(sum(s * s for s in part) / len(part)) / 32768 if part else 0.0

    def level(self, start, frequency, seconds=0.1):
        """Amplitude (0..1) of one frequency in the window (Goertzel)."""
        part = self.window(start, seconds)
        if not part:
            return 0.0
        coefficient = 2 * math.cos(2 * math.pi * frequency / RATE)
        s1 = s2 = 0.0
        for sample in part:
            s1, s2 = sample + coefficient * s1 - s2, s1
        power = s1 * s1 + s2 * s2 - coefficient * s1 * s2
        return 2 * math.sqrt(max(power, 0.0)) / len(part) / 32768

    def heard(self, frequency, start, end, threshold=0.05):
        """Whether the frequency sounds in any 100 ms window between start and end."""
        t = max(0.0, start)
        while t < end:
            if self.level(t, frequency) > threshold:
                return True
            t += 0.05
        return False


class SessionTestCase(unittest.TestCase):
    """Game sessions in a work folder of the test's own, closed and removed after it."""
    build = "build"

    def setUp(self):
        self.work = tempfile.TemporaryDirectory()
        self.sessions = []

    def tearDown(self):
        for session in self.sessions:
            session.close()
        self.work.cleanup()

    def start(self, arguments=(), environment=None):
        session = GameSession(self.build, self.work.name, arguments=list(arguments), environment=environment)
        self.sessions.append(session)
        return session

    def summary(self, session, seconds=60):
        """The game's summary line once it has ended with status 0."""
        session.wait_for(lambda: session.game.poll() is not None, seconds, "the game to end")
        self.assertEqual(session.game.returncode, 0, session.output())
        match = SUMMARY.search(session.output())
        self.assertIsNotNone(match, "no summary line in: " + session.output())
        return match.group(0)
