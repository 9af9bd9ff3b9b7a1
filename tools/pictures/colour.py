"""Colour arithmetic and deterministic noise shared by every picture."""

import math

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


def clamp(value, low=0.0, high=1.0):
    return low if value < low else high if value > high else value


def clamp_byte(value):
    return 0 if value < 0 else 255 if value > 255 else int(value + 0.5)


def mix(first, second, amount):
    """The colour a share `amount` (0 to 1) of the way from `first` to `second`."""
    amount = 0.0 if amount < 0.0 else 1.0 if amount > 1.0 else amount
    if len(first) == 3 and len(second) == 3:
        return (int(first[0] + (second[0] - first[0]) * amount + 0.5),
                int(first[1] + (second[1] - first[1]) * amount + 0.5),
                int(first[2] + (second[2] - first[2]) * amount + 0.5))
    return tuple(int(a + (b - a) * amount + 0.5) for a, b in zip(first, second))


def scale(colour, factor):
    """The colour with its red, green and blue multiplied by `factor` (alpha kept)."""
    scaled = tuple(clamp_byte(channel * factor) for channel in colour[:3])
    return scaled + tuple(colour[3:])


def with_alpha(colour, alpha):
    return tuple(colour[:3]) + (clamp_byte(alpha * 255),)


def smoothstep(edge0, edge1, value):
    t = clamp((value - edge0) / (edge1 - edge0))
    return t * t * (3.0 - 2.0 * t)


def hash01(x, y, seed=0):
    """A repeatable pseudo-random number in [0, 1) for an integer lattice point."""
    h = (x * 374761393 + y * 668265263 + seed * 982451653) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFFFF) / float(0x1000000)


def value_noise(x, y, cell, seed=0):
    """Smooth noise in [0, 1): random values on a lattice of `cell` pixels, eased between."""
    gx, gy = x / cell, y / cell
    ix, iy = math.floor(gx), math.floor(gy)
    fx, fy = gx - ix, gy - iy
    fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    top = hash01(ix, iy, seed) + (hash01(ix + 1, iy, seed) - hash01(ix, iy, seed)) * fx
    bottom = hash01(ix, iy + 1, seed) + (hash01(ix + 1, iy + 1, seed) - hash01(ix, iy + 1, seed)) * fx
    return top + (bottom - top) * fy


def noise_field(width, height, cell, seed=0):
    """`value_noise` for every pixel of a width x height picture at once, as rows of floats;
    much quicker than asking pixel by pixel."""
    columns = width // cell + 2
    lattice = [[hash01(ix, iy, seed) for ix in range(columns)] for iy in range(height // cell + 2)]

    def eased(position):
        whole = int(position // cell)
        part = position / cell - whole
        return whole, part * part * (3 - 2 * part)

    across = [eased(x) for x in range(width)]
    rows = []
    for y in range(height):
        iy, fy = eased(y)
        upper, lower = lattice[iy], lattice[iy + 1]
        row = []
        for ix, fx in across:
            top = upper[ix] + (upper[ix + 1] - upper[ix]) * fx
            bottom = lower[ix] + (lower[ix + 1] - lower[ix]) * fx
            row.append(top + (bottom - top) * fy)
        rows.append(row)
    return rows


class Random:
    """A small repeatable generator (xorshift), so every run places things identically."""

    def __init__(self, seed):
        self.state = (seed * 2654435761 + 1) & 0xFFFFFFFF or 1

    def next_unit(self):
        s = self.state
        s ^= (s << 13) & 0xFFFFFFFF
        s ^= s >> 17
        s ^= (s << 5) & 0xFFFFFFFF
        self.state = s
        return s / 4294967296.0

    def uniform(self, low, high):
        return low + (high - low) * self.next_unit()

    def integer(self, low, high):
        """A whole number from low to high inclusive."""
        return low + int(self.next_unit() * (high - low + 1))
