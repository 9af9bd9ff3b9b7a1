#!/usr/bin/env python3
"""Composes the game's music and writes it as extended tracker modules (XM):
glimmerdrift.xm, a cheerful, dreamy loop in C major at 112 beats per minute on eight channels
(lead melody, its echo, a glimmering bell arpeggio, bass, two pad voices, kick and snare,
hi-hats), and frostlight.xm, the ice world's slower, hushed loop in A minor at 92 beats per
minute on the same instruments. Every instrument's sample is synthesized here. Every run
writes byte-identical files.

Usage: make_music.py [output folder]   (default: data/sounds beside this tool)"""

import math
import random
import struct
import sys
from pathlib import Path

sys.dont_write_bytecode = True
import synth  # noqa: E402  (after the flag, so no bytecode lands beside the tools)

MODULE_FILE = "glimmerdrift.xm"
MODULE_NAME = "Glimmerdrift"
TRACKER_NAME = "Rollandia make_music"

# ---------------------------------------------------------------- module timing and layout

CHANNEL_COUNT = 8
TICKS_PER_ROW = 6
BEATS_PER_MINUTE = 112      # with 6 ticks per row, one row is a sixteenth note
ROWS_PER_PATTERN = 64
ROWS_PER_BAR = 16
BARS_PER_PATTERN = ROWS_PER_PATTERN // ROWS_PER_BAR
LINEAR_FREQUENCIES = 1      # header flag: linear frequency table

LEAD, ECHO, ARP, BASS, PAD_LOW, PAD_HIGH, DRUMS, HATS = range(CHANNEL_COUNT)
ECHO_DELAY_ROWS = 3         # a dotted-eighth echo of the melody
PAD_PANNING = {PAD_LOW: 0x58, PAD_HIGH: 0xA8}
SET_PANNING_EFFECT = 0x08

KEY_OFF = 97
VOLUME_COLUMN_BASE = 0x10   # volume column value 0x10..0x50 sets volume 0..64

# ---------------------------------------------------------------- sample pitch

# Every pitched sample is synthesized so that one cycle of its base note lasts CYCLE samples.
# The module plays C-4 at 8363 Hz; a relative note and finetune raise that to the rate at which
# our cycle length sounds as C-4 (261.63 Hz).
CYCLE = 128
MIDDLE_C = 261.6255653
SAMPLE_RATE = CYCLE * MIDDLE_C
C4_PLAYBACK_RATE = 8363.0
_semitones_up = 12.0 * math.log2(SAMPLE_RATE / C4_PLAYBACK_RATE)
RELATIVE_NOTE_C4 = int(math.floor(_semitones_up))
FINETUNE = int(round((_semitones_up - RELATIVE_NOTE_C4) * 128))  # in 1/128 semitone

LOOP_CYCLES = 128           # long loops: detuned voices complete whole cycles in the loop
LOOP_LENGTH = CYCLE * LOOP_CYCLES
SAMPLE_PEAK = 0.9

NOTE_NAMES = {"C": 0, "C#": 1, "D": 2, "D#": 3, "E": 4, "F": 5, "F#": 6, "G": 7, "G#": 8,
              "A": 9, "A#": 10, "B": 11}


def note_number(name):
    """'C4' -> 49, the module's number for middle C; 'G#5' -> 69."""
    return 1 + 12 * int(name[-1]) + NOTE_NAMES[name[:-1]]


# ---------------------------------------------------------------- instrument samples


class Instrument:
    """One instrument with one sample (16-bit), its loop, level, panning and volume envelope."""

    def __init__(self, name, samples, volume, panning=128, looped=False, base_octave=4,
                 envelope=None, fadeout=0, vibrato=(0, 0, 0, 0)):
        self.name = name
        self.samples = samples
        self.volume = volume
        self.panning = panning
        self.looped = looped
        self.relative_note = RELATIVE_NOTE_C4 - 12 * (base_octave - 4)
        self.envelope = envelope or []        # (tick, level 0..64) points; sustain on the last
        self.fadeout = fadeout
        self.vibrato = vibrato                # type, sweep, depth, rate


def looped_wave(harmonics, voices, seed):
    """A seamless loop of LOOP_LENGTH samples: for each voice (cycles per loop, gain) a sum of
    harmonics (amplitudes); voices a cycle apart beat slowly against each other, like a chorus."""
    table = [math.sin(synth.TWO_PI * index / LOOP_LENGTH) for index in range(LOOP_LENGTH)]
    generator = random.Random(seed)
    wave = [0.0] * LOOP_LENGTH
    for cycles, gain in voices:
        for harmonic, amplitude in enumerate(harmonics, start=1):
            step = harmonic * cycles
            offset = generator.randrange(LOOP_LENGTH)
            level = gain * amplitude
            wave = [value + level * table[(step * index + offset) % LOOP_LENGTH]
                    for index, value in enumerate(wave)]
    return synth.normalize(wave, SAMPLE_PEAK)


def single_cycle(harmonics):
    wave = [sum(amplitude * math.sin(synth.TWO_PI * harmonic * index / CYCLE)
                for harmonic, amplitude in enumerate(harmonics, start=1))
            for index in range(CYCLE)]
    return synth.normalize(wave, SAMPLE_PEAK)


CHORUS = ((LOOP_CYCLES, 1.0), (LOOP_CYCLES - 1, 0.3), (LOOP_CYCLES + 1, 0.3))
WIDE_CHORUS = ((LOOP_CYCLES, 1.0), (LOOP_CYCLES - 1, 0.8), (LOOP_CYCLES + 1, 0.8))


def lead_samples():
    """A soft, hollow lead: strong odd harmonics like a mellow flute-organ."""
    return looped_wave((1.0, 0.32, 0.3, 0.1, 0.1, 0.04, 0.04), CHORUS, seed=1)


def echo_samples():
    """The lead's echo: the same voice with its brightness rolled off."""
    return looped_wave((1.0, 0.2, 0.1, 0.03), CHORUS, seed=2)


def pad_samples():
    """A warm string-like pad: a soft sawtooth in three detuned voices."""
    return looped_wave([1.0 / harmonic ** 1.4 for harmonic in range(1, 11)], WIDE_CHORUS, seed=3)


def bass_samples():
    return single_cycle((1.0, 0.5, 0.28, 0.14, 0.07, 0.035))


def bell_samples():
    """A music-box bell at C6: a few harmonic partials plus short inharmonic strike partials."""
    count = synth.seconds_to_count(0.75, SAMPLE_RATE)
    fundamental = MIDDLE_C * 4.0
    wave = [0.0] * count
    for ratio, level, ring in ((1.0, 1.0, 0.42), (1.004, 0.35, 0.42), (2.0, 0.4, 0.24),
                               (3.0, 0.12, 0.12), (4.2, 0.3, 0.035), (5.43, 0.16, 0.02)):
        partial = synth.damped_sine(fundamental * ratio, ring, count, SAMPLE_RATE)
        synth.mix_into(wave, partial, gain=level)
    synth.fade_out(wave, 0.1, SAMPLE_RATE)
    return synth.normalize(wave, SAMPLE_PEAK)


def kick_samples():
    """A round kick: a sine diving from about 160 Hz to 48 Hz, with a soft click on top."""
    count = synth.seconds_to_count(0.38, SAMPLE_RATE)
    phases = synth.glide_phase([48.0 + 110.0 * math.exp(-(n / SAMPLE_RATE) / 0.03)
                                for n in range(count)], SAMPLE_RATE)
    decay = synth.exponential_decay(count, 0.13, SAMPLE_RATE, attack=0.0005)
    wave = [math.tanh(1.6 * decay[n] * math.sin(phases[n])) for n in range(count)]
    click_count = synth.seconds_to_count(0.004, SAMPLE_RATE)
    click = synth.one_pole_lowpass(synth.white_noise(click_count, seed=41), 3000.0, SAMPLE_RATE)
    synth.mix_into(wave, click, gain=0.5)
    synth.fade_out(wave, 0.03, SAMPLE_RATE)
    return synth.normalize(wave, SAMPLE_PEAK)


def snare_samples():
    """A snare: a short drum-head tone under a burst of band-limited noise (the wires)."""
    count = synth.seconds_to_count(0.28, SAMPLE_RATE)
    wave = [0.0] * count
    synth.mix_into(wave, synth.damped_sine(190.0, 0.05, count, SAMPLE_RATE), gain=0.6)
    synth.mix_into(wave, synth.damped_sine(330.0, 0.03, count, SAMPLE_RATE), gain=0.3)
    wires = synth.one_pole_highpass(synth.white_noise(count, seed=43), 1200.0, SAMPLE_RATE)
    wires = synth.one_pole_lowpass(wires, 9000.0, SAMPLE_RATE)
    wires = synth.multiply(wires, synth.exponential_decay(count, 0.07, SAMPLE_RATE,
                                                          attack=0.001))
    synth.mix_into(wave, wires, gain=0.9)
    synth.fade_out(wave, 0.03, SAMPLE_RATE)
    return synth.normalize(wave, SAMPLE_PEAK)


def hat_samples(ring, seconds, seed):
    """A hi-hat: high-passed noise with a metallic resonance, closed (short) or open (long)."""
    count = synth.seconds_to_count(seconds, SAMPLE_RATE)
    noise = synth.white_noise(count, seed)
    bright = synth.one_pole_highpass(synth.one_pole_highpass(noise, 6500.0, SAMPLE_RATE),
                                     6500.0, SAMPLE_RATE)
    metal = synth.bandpass(noise, 9500.0, 4.0, SAMPLE_RATE)
    wave = [0.7 * high + 0.8 * ring_part for high, ring_part in zip(bright, metal)]
    wave = synth.multiply(wave, synth.exponential_decay(count, ring, SAMPLE_RATE,
                                                        attack=0.0005))
    synth.fade_out(wave, min(0.02, seconds / 4.0), SAMPLE_RATE)
    return synth.normalize(wave, SAMPLE_PEAK)


# Instrument numbers in the module (1-based, in this order).
LEAD_INSTRUMENT, ECHO_INSTRUMENT, BELL, BASS_INSTRUMENT, PAD, KICK, SNARE, CLOSED_HAT, \
    OPEN_HAT = range(1, 10)


def make_instruments():
    return [
        Instrument("Soft lead", lead_samples(), 46, 128, envelope=[(0, 0), (2, 64), (14, 50),
                   (40, 42)], fadeout=1400, vibrato=(0, 40, 3, 10), looped=True),
        Instrument("Lead echo", echo_samples(), 22, 72, envelope=[(0, 0), (3, 64), (16, 46),
                   (40, 38)], fadeout=1400, vibrato=(0, 40, 3, 10), looped=True),
        Instrument("Glimmer bell", bell_samples(), 32, 184, base_octave=6),
        Instrument("Round bass", bass_samples(), 40, 128, envelope=[(0, 64), (4, 56), (24, 42),
                   (64, 32)], fadeout=6000, looped=True),
        Instrument("Dream pad", pad_samples(), 34, 128, envelope=[(0, 0), (20, 36), (48, 52),
                   (96, 46)], fadeout=600, looped=True),
        Instrument("Kick", kick_samples(), 60, 128),
        Instrument("Snare", snare_samples(), 46, 136),
        Instrument("Closed hat", hat_samples(0.016, 0.09, seed=47), 36, 160),
        Instrument("Open hat", hat_samples(0.12, 0.45, seed=53), 30, 160),
    ]


# ---------------------------------------------------------------- harmony

# Chord symbol -> bass root, two pad notes (colour tones, voice-led), four arpeggio notes.
CHORDS = {
    "C": ("C3", ("E4", "B4"), ("G5", "C6", "E6", "G6")),
    "Am": ("A2", ("E4", "C5"), ("A5", "C6", "E6", "A6")),
    "F": ("F2", ("E4", "A4"), ("A5", "C6", "F6", "A6")),
    "G": ("G2", ("D4", "B4"), ("G5", "B5", "D6", "G6")),
    "Em": ("E2", ("D4", "G4"), ("G5", "B5", "E6", "G6")),
    "Dm": ("D3", ("F4", "C5"), ("A5", "D6", "F6", "A6")),
}

# ---------------------------------------------------------------- melodies (note:sixteenths)

MELODIES = {
    "A": ("E5:4 G5:2 E5:2 D5:2 C5:2 D5:4",
          "E5:4 A5:4 G5:2 E5:2 C5:4",
          "F5:4 A5:2 G5:2 F5:2 E5:2 C5:4",
          "D5:6 E5:2 D5:2 B4:2 G4:4"),
    "A answer": ("E5:4 G5:2 E5:2 D5:2 C5:2 D5:4",
                 "E5:4 A5:4 C6:2 B5:2 A5:4",
                 "A5:4 G5:4 F5:2 E5:2 D5:4",
                 "C5:12 r:4"),
    "B": ("A5:2 C6:2 A5:2 C6:4 D6:2 C6:4",
          "B5:4 G5:2 B5:2 D6:4 C6:2 B5:2",
          "G5:4 E5:2 G5:2 B5:4 A5:2 G5:2",
          "A5:8 G5:4 E5:4"),
    "B answer": ("A5:2 C6:2 A5:2 C6:4 D6:2 E6:4",
                 "D6:4 B5:2 G5:2 D6:4 E6:2 D6:2",
                 "B5:4 G5:4 A5:4 C6:4",
                 "D6:6 C6:2 B5:4 G5:4"),
    "drift": ("E5:8 C5:4 A4:4",
              "F5:8 A5:4 C6:4",
              "G5:8 E5:4 C5:4",
              "D5:12 r:4"),
    "frost": ("A5:6 E5:2 C6:4 B5:4",
              "A5:8 F5:4 E5:4",
              "E5:6 G5:2 C6:4 E6:4",
              "D6:8 B5:4 G5:4"),
    "frost answer": ("A5:6 E5:2 C6:4 B5:4",
                     "A5:4 C6:4 F6:4 E6:4",
                     "D6:6 C6:2 B5:4 G5:4",
                     "A5:12 r:4"),
}

# ---------------------------------------------------------------- bass figures per bar

# (row in the bar, interval above the root in semitones, length in rows)
BASS_FIGURES = {
    "none": (),
    "held": ((0, 0, 14),),
    "pulse": ((0, 0, 5), (6, 0, 2), (8, 7, 3), (12, 12, 2), (14, 7, 2)),
    "drive": ((0, 0, 2), (2, 0, 1), (4, 12, 2), (6, 0, 1), (8, 7, 2), (10, 0, 1), (12, 12, 2),
              (14, 7, 1)),
}

# ---------------------------------------------------------------- drum bars

# Kick and snare share one channel: K kick, S snare, s ghost snare, F snare of a rising fill.
# Hats: H accented closed hat, h soft closed hat, O open hat.
DRUM_BARS = {
    "none": ("................", "................"),
    "hats": ("................", "h.h.h.h.h.h.h.h."),
    "pulse": ("K...............", "H...H...H...H..."),
    "lead in": ("........K...FFFF", "h.h.h.h.h.h....."),
    "groove": ("K...S...K.K.S...", "H.h.H.h.H.h.H.h."),
    "groove turn": ("K...S...K.K.S.s.", "H.h.H.h.H.h.H.O."),
    "drive": ("K...S.K.K...S...", "HhHhHhHhHhHhHhOh"),
    "drive turn": ("K...S.K.K...S.sK", "HhHhHhHhHhHhHhO."),
    "fill": ("K...S...FFFFFFFF", "H.h.H.h........."),
}
DRUM_HITS = {"K": (KICK, 60), "S": (SNARE, 50), "s": (SNARE, 20), "F": (SNARE, None),
             "H": (CLOSED_HAT, 42), "h": (CLOSED_HAT, 26), "O": (OPEN_HAT, 34)}
FILL_START_VOLUME = 22
FILL_STEP_VOLUME = 4

# ---------------------------------------------------------------- arpeggio figures

ARP_FIGURES = {
    "eighths": ((0, 0), (2, 1), (4, 2), (6, 3), (8, 1), (10, 2), (12, 3), (14, 2)),
    "sixteenths": tuple((row, (0, 1, 2, 3, 2, 1, 2, 3)[row % 8]) for row in range(16)),
}

# ---------------------------------------------------------------- the song's sections


class Section:
    """One pattern: four bars of chords (one or two per bar) and what each part plays."""

    def __init__(self, chords, melody, bass, drums, arp, arp_volumes, lead_volume=46):
        self.chords = chords
        self.melody = melody
        self.bass = bass
        self.drums = drums
        self.arp = arp
        self.arp_volumes = arp_volumes      # one (accent, other) pair per bar
        self.lead_volume = lead_volume


SECTIONS = [
    # 0: intro - pad and bell alone, bass and hats join, a snare lead-in
    Section(("C", "Am", "F", "G"), None, ("none", "none", "held", "held"),
            ("none", "none", "hats", "lead in"), "eighths",
            ((18, 12), (22, 15), (26, 18), (30, 20))),
    # 1: verse
    Section(("C", "Am", "F", "G"), "A", ("pulse",) * 4,
            ("groove", "groove", "groove", "groove turn"), "eighths", ((28, 18),) * 4),
    # 2: verse answer, ending on the tonic with a fill
    Section(("C", "Am", "F G", "C"), "A answer", ("pulse",) * 4,
            ("groove", "groove", "groove", "fill"), "eighths", ((28, 18),) * 4),
    # 3: chorus - higher melody, driving bass, sixteenth hats and bells
    Section(("F", "G", "Em", "Am"), "B", ("drive",) * 4,
            ("drive", "drive", "drive", "drive turn"), "sixteenths", ((26, 16),) * 4),
    # 4: chorus answer, turning back through Dm and G with a fill
    Section(("F", "G", "Em Am", "Dm G"), "B answer", ("drive",) * 4,
            ("drive", "drive", "drive", "fill"), "sixteenths", ((26, 16),) * 4),
    # 5: drift - a quiet interlude over Am F C G, drums return at its end
    Section(("Am", "F", "C", "G"), "drift", ("held",) * 4,
            ("none", "none", "pulse", "lead in"), "eighths", ((30, 20),) * 4, lead_volume=38),
]

SONG_ORDER = (0, 1, 2, 3, 4, 5, 1, 2, 3, 4)
RESTART_POSITION = 1        # the loop skips the intro

# The ice world's song: the drift's hush over a minor turn, then the melody with bells
# and a soft pulse; its loop also skips the intro.
FROST_SECTIONS = [
    Section(("Am", "F", "C", "G"), None, ("none", "held", "held", "held"),
            ("none", "none", "hats", "lead in"), "eighths", ((16, 10), (18, 12), (20, 14), (22, 15))),
    Section(("Am", "F", "C", "G"), "frost", ("held",) * 4,
            ("pulse", "pulse", "pulse", "lead in"), "eighths", ((24, 16),) * 4, lead_volume=40),
    Section(("Am", "Dm", "Em Am", "F G"), "frost answer", ("pulse",) * 4,
            ("hats", "pulse", "hats", "fill"), "sixteenths", ((22, 14),) * 4, lead_volume=40),
]
FROST_ORDER = (0, 1, 2, 1, 2)
FROST_BEATS_PER_MINUTE = 92


class Song:
    """What one module file holds: its name, its patterns in order and its tempo."""

    def __init__(self, file, name, sections, order, restart, beats_per_minute):
        self.file = file
        self.name = name
        self.sections = sections
        self.order = order
        self.restart = restart
        self.beats_per_minute = beats_per_minute


SONGS = [
    Song(MODULE_FILE, MODULE_NAME, SECTIONS, SONG_ORDER, RESTART_POSITION, BEATS_PER_MINUTE),
    Song("frostlight.xm", "Frostlight", FROST_SECTIONS, FROST_ORDER, RESTART_POSITION, FROST_BEATS_PER_MINUTE),
]


# ---------------------------------------------------------------- building patterns


class Cell:
    def __init__(self, note=None, instrument=None, volume=None, effect=None, parameter=None):
        self.note = note
        self.instrument = instrument
        self.volume = volume
        self.effect = effect
        self.parameter = parameter


def volume_column(volume):
    return VOLUME_COLUMN_BASE + max(0, min(64, volume))


def chord_at(section, row):
    """The chord sounding at a row of the pattern: a bar holds one chord or two half-bars."""
    symbols = section.chords[row // ROWS_PER_BAR].split()
    half = (row % ROWS_PER_BAR) * len(symbols) // ROWS_PER_BAR
    return CHORDS[symbols[half]]


def chord_starts(section):
    rows = []
    for bar, symbols in enumerate(section.chords):
        count = len(symbols.split())
        rows.extend(bar * ROWS_PER_BAR + part * ROWS_PER_BAR // count for part in range(count))
    return rows


def melody_events(name):
    """(row, note or KEY_OFF) for a melody; a rest ends the sounding note with a key-off."""
    events = []
    row = 0
    for bar_text in MELODIES[name]:
        bar_start = row
        for token in bar_text.split():
            pitch, length = token.split(":")
            events.append((row, KEY_OFF if pitch == "r" else note_number(pitch)))
            row += int(length)
        assert row - bar_start == ROWS_PER_BAR, "bar of %s does not fill 16 rows" % name
    return events


def write_melody(section, grid):
    if section.melody is None:
        return
    for row, note in melody_events(section.melody):
        if note == KEY_OFF:
            grid[row][LEAD] = Cell(KEY_OFF)
        else:
            accent = 6 if row % 4 == 0 else 0
            volume = volume_column(section.lead_volume + accent)
            grid[row][LEAD] = Cell(note, LEAD_INSTRUMENT, volume)
        echo_row = row + ECHO_DELAY_ROWS
        if echo_row < ROWS_PER_PATTERN:
            grid[echo_row][ECHO] = Cell(note) if note == KEY_OFF else Cell(note, ECHO_INSTRUMENT)


def write_pads(section, grid):
    for row in chord_starts(section):
        _, pad_notes, _ = chord_at(section, row)
        for channel, name in zip((PAD_LOW, PAD_HIGH), pad_notes):
            grid[row][channel] = Cell(note_number(name), PAD, None, SET_PANNING_EFFECT,
                                      PAD_PANNING[channel])


def write_bass(section, grid):
    changes = set(chord_starts(section))
    for bar, figure in enumerate(section.bass):
        events = BASS_FIGURES[figure]
        for index, (offset, interval, length) in enumerate(events):
            row = bar * ROWS_PER_BAR + offset
            root = note_number(chord_at(section, row)[0])
            if row in changes:  # a new chord is always announced by its root
                interval = 0
            grid[row][BASS] = Cell(root + interval, BASS_INSTRUMENT)
            next_offset = events[index + 1][0] if index + 1 < len(events) else ROWS_PER_BAR
            if offset + length < next_offset:
                grid[row + length][BASS] = Cell(KEY_OFF)


def write_arpeggio(section, grid):
    for bar in range(BARS_PER_PATTERN):
        accent, other = section.arp_volumes[bar]
        for offset, tone in ARP_FIGURES[section.arp]:
            row = bar * ROWS_PER_BAR + offset
            volume = accent if offset % 4 == 0 else other
            grid[row][ARP] = Cell(note_number(chord_at(section, row)[2][tone]), BELL,
                                  volume_column(volume))


def write_drums(section, grid):
    middle_c = note_number("C4")
    for bar, name in enumerate(section.drums):
        for channel, line in zip((DRUMS, HATS), DRUM_BARS[name]):
            for offset, symbol in enumerate(line):
                if symbol == ".":
                    continue
                instrument, volume = DRUM_HITS[symbol]
                if volume is None:  # a fill grows louder towards the bar's end
                    volume = FILL_START_VOLUME + FILL_STEP_VOLUME * (offset - 8)
                grid[bar * ROWS_PER_BAR + offset][channel] = Cell(middle_c, instrument,
                                                                  volume_column(volume))


def build_pattern(section):
    grid = [[Cell() for _ in range(CHANNEL_COUNT)] for _ in range(ROWS_PER_PATTERN)]
    for writer in (write_melody, write_pads, write_bass, write_arpeggio, write_drums):
        writer(section, grid)
    return grid


# ---------------------------------------------------------------- writing the module


def fixed_text(text, size):
    return text.encode("ascii")[:size].ljust(size, b"\0")


def pack_cell(cell):
    """A packed cell: 0x80 | mask, then the fields the mask names (an empty cell is 0x80)."""
    mask = 0
    fields = bytearray()
    for bit, value in ((1, cell.note), (2, cell.instrument), (4, cell.volume),
                       (8, cell.effect), (16, cell.parameter)):
        if value is not None:
            mask |= bit
            fields.append(value)
    return bytes([0x80 | mask]) + bytes(fields)


def pattern_bytes(grid):
    data = b"".join(pack_cell(cell) for row in grid for cell in row)
    return struct.pack("<IBHH", 9, 0, len(grid), len(data)) + data


def delta_encoded(samples):
    previous = 0
    deltas = []
    for sample in samples:
        value = synth.to_int16(sample)
        deltas.append((value - previous) & 0xFFFF)
        previous = value
    return struct.pack("<%dH" % len(deltas), *deltas)


def envelope_bytes(points):
    padded = list(points) + [(0, 0)] * (12 - len(points))
    return b"".join(struct.pack("<HH", tick, level) for tick, level in padded)


def instrument_bytes(instrument):
    sample_header_size = 40
    envelope_on, envelope_sustain = 1, 2
    volume_type = envelope_on | envelope_sustain if instrument.envelope else 0
    sustain_point = max(0, len(instrument.envelope) - 1)
    header = (struct.pack("<I", 263) + fixed_text(instrument.name, 22) + b"\0"
              + struct.pack("<HI", 1, sample_header_size)
              + bytes(96)                                   # every note plays sample 0
              + envelope_bytes(instrument.envelope) + envelope_bytes([])
              + bytes([len(instrument.envelope), 0, sustain_point, 0, 0, 0, 0, 0,
                       volume_type, 0])
              + bytes(instrument.vibrato)
              + struct.pack("<H", instrument.fadeout) + bytes(22))
    assert len(header) == 263
    length_bytes = 2 * len(instrument.samples)
    sixteen_bit, forward_loop = 0x10, 0x01
    sample_type = sixteen_bit | (forward_loop if instrument.looped else 0)
    loop_length = length_bytes if instrument.looped else 0
    sample_header = (struct.pack("<III", length_bytes, 0, loop_length)
                     + struct.pack("<BbBBbB", instrument.volume, FINETUNE, sample_type,
                                   instrument.panning, instrument.relative_note, 0)
                     + fixed_text(instrument.name, 22))
    assert len(sample_header) == sample_header_size
    return header + sample_header + delta_encoded(instrument.samples)


def module_bytes(song, instruments):
    patterns = [build_pattern(section) for section in song.sections]
    orders = bytes(song.order).ljust(256, b"\0")
    header = (b"Extended Module: " + fixed_text(song.name, 20) + b"\x1a"
              + fixed_text(TRACKER_NAME, 20) + struct.pack("<H", 0x0104)
              + struct.pack("<I", 276)
              + struct.pack("<8H", len(song.order), song.restart, CHANNEL_COUNT,
                            len(patterns), len(instruments), LINEAR_FREQUENCIES,
                            TICKS_PER_ROW, song.beats_per_minute)
              + orders)
    assert len(header) == 336
    return (header + b"".join(pattern_bytes(grid) for grid in patterns)
            + b"".join(instrument_bytes(instrument) for instrument in instruments))


def main():
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else \
        Path(__file__).resolve().parent.parent / "data" / "sounds"
    folder.mkdir(parents=True, exist_ok=True)
    instruments = make_instruments()  # every song plays the same instruments
    for song in SONGS:
        (folder / song.file).write_bytes(module_bytes(song, instruments))


if __name__ == "__main__":
    main()
