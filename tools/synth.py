"""Small synthesis helpers shared by the sound and music tools: oscillators, filters, envelopes,
seeded noise and 16-bit conversion. Standard library only, no global state: the same call gives
the same samples on every run, so the generated files are byte-identical."""

import math
import random
import struct
import wave

SAMPLE_RATE = 44100
FULL_SCALE = 32767
TWO_PI = 2.0 * math.pi


def seconds_to_count(seconds, rate=SAMPLE_RATE):
    return int(round(seconds * rate))


def silence(count):
    return [0.0] * count


def white_noise(count, seed):
    generator = random.Random(seed)
    return [generator.uniform(-1.0, 1.0) for _ in range(count)]


def mix_into(target, source, start=0, gain=1.0):
    """Adds source, scaled by gain, into target from index start; what falls beyond is dropped."""
    end = min(len(target), start + len(source))
    for index in range(max(start, 0), end):
        target[index] += gain * source[index - start]


def multiply(signal, envelope):
    return [value * weight for value, weight in zip(signal, envelope)]


def exponential_decay(count, time_constant, rate=SAMPLE_RATE, attack=0.0):
    """Linear rise over attack seconds, then exp(-t / time_constant) measured from the start."""
    attack_count = seconds_to_count(attack, rate)
    envelope = []
    for index in range(count):
        time = index / rate
        level = math.exp(-time / time_constant)
        if index < attack_count:
            level *= index / attack_count
        envelope.append(level)
    return envelope


def fade_out(signal, seconds, rate=SAMPLE_RATE):
    """Ramps the last seconds of the signal down to zero so that it ends without a click."""
    count = min(len(signal), seconds_to_count(seconds, rate))
    length = len(signal)
    for index in range(count):
        signal[length - count + index] *= 1.0 - (index + 1) / count
    return signal


def damped_sine(frequency, time_constant, count, rate=SAMPLE_RATE, phase=0.0):
    """A sine that decays as exp(-t / time_constant), made by a two-term recursion (cheap)."""
    omega = TWO_PI * frequency / rate
    radius = math.exp(-1.0 / (time_constant * rate))
    coefficient = 2.0 * radius * math.cos(omega)
    radius_squared = radius * radius
    previous = math.sin(phase - omega) / radius
    current = math.sin(phase)
    output = []
    for _ in range(count):
        output.append(current)
        previous, current = current, coefficient * current - radius_squared * previous
    return output


def glide_phase(frequencies, rate=SAMPLE_RATE):
    """Running phase (radians) of an oscillator whose frequency changes sample by sample."""
    phase = 0.0
    phases = []
    for frequency in frequencies:
        phases.append(phase)
        phase = (phase + TWO_PI * frequency / rate) % TWO_PI
    return phases


def one_pole_lowpass(signal, cutoff, rate=SAMPLE_RATE):
    """First-order low-pass; cutoff is a frequency or a list with one frequency per sample."""
    output = []
    state = 0.0
    for index, value in enumerate(signal):
        frequency = cutoff[index] if isinstance(cutoff, list) else cutoff
        weight = 1.0 - math.exp(-TWO_PI * frequency / rate)
        state += weight * (value - state)
        output.append(state)
    return output


def one_pole_highpass(signal, cutoff, rate=SAMPLE_RATE):
    low = one_pole_lowpass(signal, cutoff, rate)
    return [value - smooth for value, smooth in zip(signal, low)]


def resonator(signal, frequency, bandwidth, rate=SAMPLE_RATE):
    """Two-pole resonator with unity gain at 0 Hz, the building block of formant filters.
    frequency may be a list (one value per sample) so that a formant can move."""
    output = []
    previous = 0.0
    before_previous = 0.0
    pole_term = -math.exp(-2.0 * math.pi * bandwidth / rate)
    radius = math.exp(-math.pi * bandwidth / rate)
    for index, value in enumerate(signal):
        centre = frequency[index] if isinstance(frequency, list) else frequency
        feedback = 2.0 * radius * math.cos(TWO_PI * centre / rate)
        gain = 1.0 - feedback - pole_term
        current = gain * value + feedback * previous + pole_term * before_previous
        output.append(current)
        before_previous, previous = previous, current
    return output


def bandpass(signal, frequency, quality, rate=SAMPLE_RATE):
    """Biquad band-pass (constant 0 dB peak gain)."""
    omega = TWO_PI * frequency / rate
    alpha = math.sin(omega) / (2.0 * quality)
    norm = 1.0 + alpha
    b0, b2 = alpha / norm, -alpha / norm
    a1, a2 = -2.0 * math.cos(omega) / norm, (1.0 - alpha) / norm
    x1 = x2 = y1 = y2 = 0.0
    output = []
    for value in signal:
        current = b0 * value + b2 * x2 - a1 * y1 - a2 * y2
        output.append(current)
        x2, x1 = x1, value
        y2, y1 = y1, current
    return output


def peak(signal):
    return max((abs(value) for value in signal), default=0.0)


def normalize(signal, target_peak):
    loudest = peak(signal)
    if loudest == 0.0:
        return list(signal)
    scale = target_peak / loudest
    return [value * scale for value in signal]


def to_int16(value):
    """Rounds a sample in -1..1 to a 16-bit value, saturating at full scale."""
    scaled = int(math.floor(value * FULL_SCALE + 0.5))
    return max(-FULL_SCALE, min(FULL_SCALE, scaled))


def pcm16_bytes(channels):
    """Interleaved little-endian 16-bit frames from one list of samples per channel."""
    frames = zip(*channels)
    values = [to_int16(value) for frame in frames for value in frame]
    return struct.pack("<%dh" % len(values), *values)


def write_wav(path, channels, rate=SAMPLE_RATE):
    with wave.open(str(path), "wb") as output:
        output.setnchannels(len(channels))
        output.setsampwidth(2)
        output.setframerate(rate)
        output.writeframes(pcm16_bytes(channels))
