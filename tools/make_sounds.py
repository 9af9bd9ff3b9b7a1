#!/usr/bin/env python3
"""Synthesizes the game's sound effects into a folder (default: data/sounds beside this tool):
the bounce sounds s1.wav (a soft tick) to s15.wav (the heaviest crash), explosion.wav (a piece
shattering), die.wav (the ball destroyed) and laugh.ogg (a mocking laugh, encoded by oggenc with
a fixed serial number). Every run writes byte-identical files.

Usage: make_sounds.py [output folder]"""

import math
import random
import subprocess
import sys
import tempfile
from pathlib import Path

sys.dont_write_bytecode = True
import synth  # noqa: E402  (after the flag, so no bytecode lands beside the tools)
from synth import SAMPLE_RATE, TWO_PI  # noqa: E402

# The ball's speed picks the bounce sound: index 1 + (5 * (speed // 10)) // 7, and the world
# limits every speed to 200 pixels per time unit, so 15 is the highest index play reaches.
BOUNCE_COUNT = 15
# s1 to s7 span the range from a tick to a thump; the hits beyond grow heavier still.
THUMP_INDEX = 7
LOUDEST_PEAK = 0.85  # about -1.4 dBFS: headroom below full scale
HEAVIEST_PEAK = 0.95  # the hardest hit, its loudness over the thump's (about 1 dB)
OGG_SERIAL = 20240601
OGG_QUALITY = 5
CRACKLE_GRAINS = 140
GLASS_SHARDS = 46

# ---------------------------------------------------------------- bounce sounds

# Vibration modes of a struck rubber-like body: frequency ratio, level, decay speed-up.
BOUNCE_MODES = ((1.0, 1.0, 1.0), (2.02, 0.35, 1.8), (2.76, 0.22, 2.6), (5.4, 0.08, 4.0))


def bounce(index):
    """Index 1 is a short bright tick, 7 a long, low, loud thump; everything in between is
    interpolated on a logarithmic scale so the steps sound even. From 8 on the hits grow
    heavier still: an octave lower at the hardest, longer, with a stronger body thump."""
    weight = min(index - 1, THUMP_INDEX - 1) / (THUMP_INDEX - 1)
    extra = max(0, index - THUMP_INDEX) / (BOUNCE_COUNT - THUMP_INDEX)
    duration = 0.10 + 0.30 * weight + 0.15 * extra
    count = synth.seconds_to_count(duration)
    base = 880.0 * (110.0 / 880.0) ** weight * 0.5 ** extra
    ring_time = duration / 5.0

    # The pitch starts high and drops onto the base note: the "boing" of a squashed ball.
    glide_time = 0.012 + 0.035 * weight
    glide_depth = 0.45 + 0.35 * weight
    frequencies = [base * (1.0 + glide_depth * math.exp(-(n / SAMPLE_RATE) / glide_time))
                   for n in range(count)]
    phases = synth.glide_phase(frequencies)

    signal = synth.silence(count)
    for ratio, level, speed_up in BOUNCE_MODES:
        decay = synth.exponential_decay(count, ring_time / speed_up, attack=0.002)
        for n in range(count):
            signal[n] += level * decay[n] * math.sin(ratio * phases[n])

    # Heavier hits add a body thump an octave below that falls in pitch quickly.
    if weight > 0.3:
        thump_count = min(count, synth.seconds_to_count(0.12 + 0.1 * weight + 0.1 * extra))
        thump_phases = synth.glide_phase(
            [base * 0.5 * (1.0 + 1.5 * math.exp(-(n / SAMPLE_RATE) / 0.02))
             for n in range(thump_count)])
        thump_decay = synth.exponential_decay(thump_count, 0.03 + 0.05 * weight + 0.04 * extra,
                                              attack=0.001)
        thump = [thump_decay[n] * math.sin(thump_phases[n]) for n in range(thump_count)]
        synth.mix_into(signal, synth.fade_out(thump, 0.01), gain=1.4 * (weight - 0.3) + extra)

    # The contact click: a few milliseconds of noise, bright for soft touches, dull for hard ones.
    click_count = synth.seconds_to_count(0.004 + 0.006 * weight)
    click = synth.one_pole_lowpass(synth.white_noise(click_count, seed=100 + index),
                                   6000.0 - 4500.0 * weight)
    click = synth.multiply(click, synth.exponential_decay(click_count, 0.0015 + 0.002 * weight))
    synth.mix_into(signal, click, gain=1.6)

    synth.fade_out(signal, 0.01)
    peak = 0.30 + (LOUDEST_PEAK - 0.30) * weight + (HEAVIEST_PEAK - LOUDEST_PEAK) * extra
    return synth.normalize(signal, peak)


# ---------------------------------------------------------------- explosion


def explosion():
    """A breaking piece: a noisy crack whose brightness falls away, a low thump, crackle, and
    glass-like shards (short inharmonic pings) scattered in time and across the stereo field."""
    duration = 0.8
    count = synth.seconds_to_count(duration)
    left = synth.silence(count)
    right = synth.silence(count)

    crack = synth.white_noise(count, seed=7)
    cutoffs = [600.0 + 7400.0 * math.exp(-(n / SAMPLE_RATE) / 0.08) for n in range(count)]
    crack = synth.one_pole_lowpass(synth.one_pole_lowpass(crack, cutoffs), cutoffs)
    crack = synth.multiply(crack, synth.exponential_decay(count, 0.11, attack=0.001))
    thump_phases = synth.glide_phase(
        [45.0 + 60.0 * math.exp(-(n / SAMPLE_RATE) / 0.05) for n in range(count)])
    thump_decay = synth.exponential_decay(count, 0.12, attack=0.002)
    thump = [thump_decay[n] * math.sin(thump_phases[n]) for n in range(count)]
    for n in range(count):
        centre = 1.6 * crack[n] + 0.7 * thump[n]
        left[n] += centre
        right[n] += centre

    generator = random.Random(11)
    # Crackle: sparse clicks, thick at first and thinning out.
    for _ in range(CRACKLE_GRAINS):
        start = int(count * 0.85 * generator.random() ** 2.2)
        length = generator.randint(20, 90)
        grain = synth.white_noise(length, seed=generator.randint(0, 1 << 30))
        grain = synth.multiply(grain, synth.exponential_decay(length, length / SAMPLE_RATE / 4.0))
        level = 0.35 * generator.uniform(0.3, 1.0) * (1.0 - start / count)
        pan = generator.random()
        synth.mix_into(left, grain, start, level * (1.0 - pan))
        synth.mix_into(right, grain, start, level * pan)

    # Shards: each a cluster of three damped inharmonic partials, like small glass pieces.
    for _ in range(GLASS_SHARDS):
        start = int(SAMPLE_RATE * min(0.7, 0.01 + generator.expovariate(1.0 / 0.16)))
        fundamental = generator.uniform(2200.0, 6500.0)
        ring = generator.uniform(0.012, 0.045)
        length = min(count - start, synth.seconds_to_count(7.0 * ring))
        if length <= 0:
            continue
        grain = synth.silence(length)
        for ratio, level in ((1.0, 1.0), (generator.uniform(1.45, 1.6), 0.6),
                             (generator.uniform(2.2, 2.45), 0.35)):
            if fundamental * ratio < 16000.0:
                partial = synth.damped_sine(fundamental * ratio, ring / ratio ** 0.5, length,
                                            phase=generator.uniform(0.0, TWO_PI))
                synth.mix_into(grain, partial, gain=level)
        synth.fade_out(grain, 0.003)
        level = 0.22 * generator.uniform(0.4, 1.0) * (1.0 - 0.6 * start / count)
        pan = generator.uniform(0.1, 0.9)
        synth.mix_into(left, grain, start, level * (1.0 - pan) * 2.0)
        synth.mix_into(right, grain, start, level * pan * 2.0)

    synth.fade_out(left, 0.05)
    synth.fade_out(right, 0.05)
    scale = LOUDEST_PEAK / max(synth.peak(left), synth.peak(right))
    return [value * scale for value in left], [value * scale for value in right]


# ---------------------------------------------------------------- death zap


def die():
    """The ball destroyed: a pop, then a warbling buzz whose pitch dives from high to low."""
    duration = 0.7
    count = synth.seconds_to_count(duration)
    sweep_time = 0.62
    frequencies = []
    for n in range(count):
        time = n / SAMPLE_RATE
        dive = 1500.0 * (65.0 / 1500.0) ** min(1.0, time / sweep_time)
        warble = 1.0 + 0.07 * math.sin(TWO_PI * 28.0 * time) * math.exp(-time / 0.35)
        frequencies.append(dive * warble)
    phases = synth.glide_phase(frequencies)

    # A square-like wave built from its odd harmonics, kept below 15 kHz so it does not alias.
    buzz = synth.silence(count)
    for n in range(count):
        harmonic = 1
        while harmonic * frequencies[n] < 15000.0 and harmonic <= 15:
            buzz[n] += math.sin(harmonic * phases[n]) / harmonic
            harmonic += 2
        buzz[n] += 0.5 * math.sin(0.5 * phases[n])
    buzz = synth.one_pole_lowpass(buzz, 5000.0)
    envelope = [min(1.0, n / (0.004 * SAMPLE_RATE)) * (1.0 - n / count) ** 1.3
                for n in range(count)]
    signal = synth.multiply(buzz, envelope)

    pop_count = synth.seconds_to_count(0.06)
    pop = synth.one_pole_lowpass(synth.white_noise(pop_count, seed=23), 3000.0)
    pop = synth.multiply(pop, synth.exponential_decay(pop_count, 0.008))
    synth.mix_into(signal, pop, gain=2.5)
    synth.mix_into(signal, synth.damped_sine(140.0, 0.03, pop_count), gain=1.2)

    synth.fade_out(signal, 0.02)
    return synth.normalize(signal, 0.8)


# ---------------------------------------------------------------- mocking laugh

# Vowel "a" of "ha": formant centre frequencies and bandwidths (Hz).
VOWEL_FORMANTS = ((760.0, 90.0), (1180.0, 110.0), (2500.0, 170.0), (3550.0, 250.0),
                  (4600.0, 320.0))
# Each "ha": start time, voiced length, starting pitch, pitch at its end.
LAUGH_SYLLABLES = (
    (0.04, 0.13, 250.0, 226.0),
    (0.30, 0.12, 238.0, 212.0),
    (0.55, 0.12, 224.0, 198.0),
    (0.80, 0.12, 208.0, 182.0),
    (1.05, 0.45, 194.0, 116.0),
)
ASPIRATION = 0.055  # the breathy "h" before each vowel, seconds
OPEN_PHASE = 0.42   # share of each glottal period during which the folds are open
CLOSING_PHASE = 0.16


def glottal_flow(position):
    """Rosenberg glottal pulse: airflow over one period, position in 0..1."""
    if position < OPEN_PHASE:
        return 0.5 * (1.0 - math.cos(math.pi * position / OPEN_PHASE))
    if position < OPEN_PHASE + CLOSING_PHASE:
        return math.cos(0.5 * math.pi * (position - OPEN_PHASE) / CLOSING_PHASE)
    return 0.0


def laugh():
    """A mocking "ha-ha-ha-ha-haaa": glottal pulses with breath noise, shaped by vowel
    formant resonators; the pitch falls within each syllable and from one to the next."""
    duration = 1.75
    count = synth.seconds_to_count(duration)
    breath = synth.white_noise(count, seed=31)
    generator = random.Random(37)
    source = synth.silence(count)
    last_flow = 0.0
    period_position = 0.0

    for start, voiced, first_pitch, last_pitch in LAUGH_SYLLABLES:
        onset = synth.seconds_to_count(start)
        voice_start = onset + synth.seconds_to_count(ASPIRATION)
        voice_end = voice_start + synth.seconds_to_count(voiced)
        drift = generator.uniform(0.0, TWO_PI)
        for n in range(onset, min(count, voice_end + synth.seconds_to_count(0.03))):
            time = (n - onset) / SAMPLE_RATE
            # Breath: strong in the "h", a little under the vowel, gone after it.
            if n < voice_start:
                aspiration = 0.6 * min(1.0, time / 0.015)
            elif n < voice_end:
                aspiration = 0.06
            else:
                aspiration = 0.06 * (1.0 - (n - voice_end) / (0.03 * SAMPLE_RATE))
            source[n] += aspiration * breath[n]
            if not voice_start <= n < voice_end:
                continue
            progress = (n - voice_start) / (voice_end - voice_start)
            pitch = first_pitch * (last_pitch / first_pitch) ** progress
            pitch *= 1.0 + 0.012 * math.sin(TWO_PI * 6.0 * time + drift)
            period_position = (period_position + pitch / SAMPLE_RATE) % 1.0
            loudness = min(1.0, (n - voice_start) / (0.02 * SAMPLE_RATE))
            loudness *= min(1.0, (voice_end - n) / (0.05 * SAMPLE_RATE))
            flow = loudness * glottal_flow(period_position)
            # Lips radiate the change of airflow, so the source is its difference.
            source[n] += 40.0 * (flow - last_flow)
            last_flow = flow

    voice = source
    for frequency, bandwidth in VOWEL_FORMANTS:
        voice = synth.resonator(voice, frequency, bandwidth)
    # Cascade resonators sum to a steep low-pass; the first difference restores the highs.
    voice = [voice[n] - voice[n - 1] if n else voice[n] for n in range(count)]
    voice = synth.one_pole_highpass(voice, 90.0)
    synth.fade_out(voice, 0.05)
    return synth.normalize(voice, 0.8)


def encode_ogg(samples, path):
    with tempfile.TemporaryDirectory() as folder:
        wav_path = Path(folder) / "laugh.wav"
        synth.write_wav(wav_path, [samples])
        subprocess.run(["oggenc", "--quiet", "--serial", str(OGG_SERIAL),
                        "--quality", str(OGG_QUALITY), "--output", str(path), str(wav_path)],
                       check=True)


def main():
    folder = Path(sys.argv[1]) if len(sys.argv) > 1 else \
        Path(__file__).resolve().parent.parent / "data" / "sounds"
    folder.mkdir(parents=True, exist_ok=True)
    for index in range(1, BOUNCE_COUNT + 1):
        synth.write_wav(folder / ("s%d.wav" % index), [bounce(index)])
    synth.write_wav(folder / "explosion.wav", list(explosion()))
    synth.write_wav(folder / "die.wav", [die()])
    encode_ogg(laugh(), folder / "laugh.ogg")


if __name__ == "__main__":
    main()
