"""Background pictures that have no body: the sky, far mountains, hills, clouds, plants, the
sun, a sign post and a cave backdrop."""

import math

from .canvas import Canvas, made_once
from .colour import Random, clamp, hash01, mix, scale, smoothstep, value_noise, with_alpha, WHITE
from .palette import (
    AURORA, BARK, BARK_DARK, DANGER_RED, GRASS, GRASS_DARK, GRASS_LIGHT, LEAF, LEAF_DARK, LEAF_LIGHT,
    NIGHT_HORIZON, NIGHT_TOP, OUTLINE, SKY_HORIZON, SKY_TOP, STAR, WOOD, WOOD_DARK, WOOD_LIGHT)
from .shapes import box, circle, ellipse, polygon, polyline, segment
from .tiles import sphere_shading

OPAQUE = 255
LEAF_OUTLINE = (30, 74, 46)
CLOUD_SHADE = (206, 224, 242)
CLOUD_EDGE = (148, 182, 218)


@made_once
def sky(width, height):
    """The sky, deep blue at the top fading to a pale haze at the horizon."""
    canvas = Canvas(width, height)
    canvas.fill_rows(0, height, lambda y: mix(SKY_TOP, SKY_HORIZON, smoothstep(0.0, 1.0, y / (height - 1.0)) ** 0.8) + (OPAQUE,))
    return canvas


@made_once
def night_sky(width, height, seed=61):
    """A winter night: deep blue fading to a paler horizon, stars, and a green aurora's band."""
    canvas = Canvas(width, height)
    for y in range(height):
        base = mix(NIGHT_TOP, NIGHT_HORIZON, smoothstep(0.0, 1.0, y / (height - 1.0)))
        for x in range(width):
            curtain_middle = height * 0.28 + 40.0 * math.sin(x * 2.0 * math.pi / 520.0 + 0.7)
            glow = clamp(1.0 - abs(y - curtain_middle) / 55.0) * (0.35 + 0.3 * value_noise(x, 0, 23, seed))
            colour = mix(base, AURORA, glow * 0.6)
            if hash01(x, y, seed) > 0.9975 and y < height * 0.7:
                colour = mix(colour, STAR, 0.6 + 0.4 * hash01(y, x, seed))
            canvas.put(x, y, colour + (OPAQUE,))
    return canvas


def _fill_below(canvas, top_of_column, colour_at, outline=None):
    """Fills each column from its top row (a float) to the bottom, softening the top pixel."""
    for x in range(canvas.width):
        top = top_of_column(x)
        first = max(int(math.floor(top)), 0)
        for y in range(first, canvas.height):
            coverage = clamp(y + 1.0 - top)
            colour = colour_at(x, y, y - top)
            if outline is not None and y - top < 1.5:
                colour = outline
            if coverage >= 1.0:
                i = (y * canvas.width + x) * 4
                canvas.pixels[i:i + 4] = bytes((colour[0], colour[1], colour[2], OPAQUE))
            else:
                canvas.blend(x, y, colour, coverage)


def _jagged_side(apex_x, apex_y, direction, slope, bottom, random):
    """Points of one flank of a peak, from its apex down to `bottom`, with irregular slopes."""
    points = [(apex_x, apex_y)]
    x, y = apex_x, apex_y
    while y < bottom:
        step = random.uniform(10.0, 26.0)
        x += direction * step / (slope * random.uniform(0.7, 1.35))
        y += step
        points.append((x, y))
    return points


def _x_on(side, y):
    for (x0, y0), (x1, y1) in zip(side, side[1:]):
        if y <= y1:
            return x0 + (x1 - x0) * (y - y0) / (y1 - y0)
    return side[-1][0]


SNOW_DEEPEST = 36.0  # rows of snow below a peak's apex, at most


@made_once
def mountains(width, height, seed=31):
    """Far blue mountains with snowy peaks, hazy towards their feet; nearer peaks overlap
    farther ones. Filled row by row, a span per peak, to keep the tool quick."""
    canvas = Canvas(width, height)
    random = Random(seed)
    peaks = []
    x = -30.0
    while x < width + 30:
        peaks.append((x, random.uniform(height * 0.06, height * 0.5), random.uniform(0.55, 0.9), random.uniform(0.55, 0.9)))
        x += random.uniform(90, 170)
    peaks.sort(key=lambda peak: peak[1])
    body, haze, edge = (120, 148, 198), (180, 210, 238), (92, 116, 172)
    snow, snow_shadow = (240, 246, 252), (200, 214, 238)
    for number, (apex_x, apex_y, left_slope, right_slope) in enumerate(peaks):
        left = _jagged_side(apex_x, apex_y, -1, left_slope, height + 30, random)
        right = _jagged_side(apex_x, apex_y, 1, right_slope, height + 30, random)
        depth_tint = number / max(len(peaks) - 1.0, 1.0) * 0.12
        for y in range(int(apex_y), height):
            centre = y + 0.5
            if centre < apex_y:
                continue
            lx, rx = _x_on(left, centre), _x_on(right, centre)
            rim = max(1.4, abs(_x_on(left, centre + 1.0) - lx) + 0.9, abs(_x_on(right, centre + 1.0) - rx) + 0.9)
            lit = mix(mix(body, haze, smoothstep(height * 0.25, height * 1.05, y)), (140, 170, 214), depth_tint)
            dark = scale(lit, 0.86)
            shadow_x = apex_x + (centre - apex_y) * 0.3 + 8.0 * (value_noise(number, y, 9, seed) - 0.5)
            first, last = max(int(lx), 0), min(int(rx), width - 1)
            inner_first, inner_last = int(lx + rim) + 1, int(rx - rim) - 1
            for px in range(first, last + 1):
                if inner_first <= px < inner_last and centre - apex_y >= SNOW_DEEPEST:
                    # The plain middle of the row: fill the rest in two slices.
                    split = min(max(int(shadow_x), px), inner_last)
                    canvas.fill_rect(px, y, split, y + 1, lit + (OPAQUE,))
                    canvas.fill_rect(split, y, inner_last, y + 1, dark + (OPAQUE,))
                    for edge_x in range(inner_last, last + 1):
                        _mountain_pixel(canvas, edge_x, y, lx, rx, rim, shadow_x, dark, dark, edge, edge)
                    break
                in_snow = centre - apex_y < SNOW_DEEPEST - 14.0 * value_noise(px, number, 5, seed + 2) - 4.0 * hash01(px // 3, number, seed)
                _mountain_pixel(canvas, px, y, lx, rx, rim, shadow_x,
                                snow if in_snow else lit, snow_shadow if in_snow else dark, edge, edge)
    return canvas


def _mountain_pixel(canvas, x, y, left, right, rim, shadow_x, lit, dark, edge, outline):
    coverage = clamp(min(x + 1.0, right) - max(float(x), left))
    if coverage <= 0.0:
        return
    colour = dark if x + 0.5 > shadow_x else lit
    if x + 0.5 - left < rim or right - x - 0.5 < rim:
        colour = outline
    canvas.blend(x, y, colour, coverage)


@made_once
def hills(width, height, seed=37):
    """Two rows of rolling green hills, the far one paler, dotted with round bushes."""
    canvas = Canvas(width, height)

    def far_top(x):
        return height * 0.3 + 22.0 * math.sin(x * 0.011 + 0.8) + 12.0 * math.sin(x * 0.027 + seed)

    def near_top(x):
        return height * 0.62 + 18.0 * math.sin(x * 0.0085 + 2.2) + 10.0 * math.sin(x * 0.021 + 1.0)

    far, far_low = (150, 204, 120), (122, 182, 100)
    _fill_below(canvas, far_top, lambda x, y, d: mix(far, far_low, clamp(d / 60.0)), (104, 160, 92))
    random = Random(seed)
    for _ in range(width // 60):
        group_x = random.uniform(20, width - 20)
        for _ in range(random.integer(1, 3)):
            x = group_x + random.uniform(-14, 14)
            y = far_top(x) + random.uniform(10, 28)
            radius = random.uniform(3.5, 5.5)
            canvas.paint(ellipse(x, y + radius + 1.0, radius * 1.1, 1.6), (96, 156, 84), 0.8)
            canvas.paint(box(x - 1.0, y, x + 1.0, y + radius + 1.5), BARK_DARK)
            crown = circle(x, y - 1.0, radius)
            canvas.paint(crown.grown(0.8), (62, 112, 66))
            canvas.paint(crown, lambda px, py, cx=x, cy=y - 1.0, r=radius:
                         (128, 190, 100) if math.hypot(px + 0.5 - cx + r * 0.35, py + 0.5 - cy + r * 0.35) < r * 0.45 else (92, 152, 82))
    near, near_low = (108, 186, 76), (78, 152, 62)

    def near_colour(x, y, depth):
        stripe = 0.05 if int((x + y * 0.6) / 14) % 2 else 0.0
        return scale(mix(near, near_low, clamp(depth / 50.0)), 1.0 - stripe)

    _fill_below(canvas, near_top, near_colour, GRASS_DARK)
    return canvas


@made_once
def cloud(width, height):
    """A puffy white cloud with a bluish underside."""
    canvas = Canvas(width, height)
    sx, sy = width / 128.0, height / 64.0
    puffs = [(30, 40, 17), (54, 27, 23), (82, 31, 20), (103, 42, 14), (64, 44, 18)]
    shape = box(14 * sx, 36 * sy, 116 * sx, 58 * sy, 10 * sy)
    for cx, cy, r in puffs:
        shape = shape | circle(cx * sx, cy * sy, r * min(sx, sy))
    canvas.paint(shape, CLOUD_EDGE)
    canvas.paint(shape.grown(-1.0), lambda x, y: mix(WHITE, CLOUD_SHADE, smoothstep(0.45, 0.85, y / height)))
    for cx, cy, r in puffs[:3]:
        canvas.paint(circle((cx - r * 0.3) * sx, (cy - r * 0.35) * sy, r * 0.35 * min(sx, sy)), WHITE, 0.9)
    return canvas


@made_once
def bush(width, height):
    """A round leafy bush standing on the ground (its bottom row)."""
    canvas = Canvas(width, height)
    sx, sy = width / 64.0, height / 32.0
    puffs = [(13, 22, 10), (27, 14, 13), (43, 16, 12), (54, 23, 9)]
    shape = box(4 * sx, 18 * sy, 60 * sx, height, 2)
    for cx, cy, r in puffs:
        shape = shape | circle(cx * sx, cy * sy, r * min(sx, sy))
    shape = shape & box(0, 0, width, height)
    canvas.paint(shape, LEAF_OUTLINE)
    canvas.paint(shape.grown(-1.0), lambda x, y: mix(LEAF, LEAF_DARK, smoothstep(0.4, 1.0, y / height)))
    for cx, cy, r in puffs:
        canvas.paint(circle((cx - r * 0.25) * sx, (cy - r * 0.3) * sy, r * 0.5 * min(sx, sy)), LEAF_LIGHT, 0.85)
    random = Random(41)
    for _ in range(5):
        bx, by = random.uniform(10, width - 10), random.uniform(height * 0.45, height * 0.8)
        canvas.paint(circle(bx, by, 1.6), DANGER_RED)
        canvas.put(int(bx - 0.5), int(by - 0.5), (255, 170, 170, OPAQUE))
    return canvas


@made_once
def grass_tuft(width, height, seed=43):
    """A tuft of grass blades growing from the bottom row."""
    canvas = Canvas(width, height)
    random = Random(seed)
    blades = []
    for number in range(9):
        root = 4 + number * (width - 8) / 8.0 + random.uniform(-1.0, 1.0)
        lean = (root - width / 2.0) * 0.35 + random.uniform(-2.0, 2.0)
        tall = height * random.uniform(0.55, 1.0) - 0.5
        blades.append(polygon([(root - 1.8, height), (root + 1.8, height), (root + lean, height - tall)]))
    colours = [GRASS_DARK, GRASS, GRASS_LIGHT]
    for blade in blades:
        canvas.paint(blade.grown(0.7), LEAF_OUTLINE)
    for number, blade in enumerate(blades):
        canvas.paint(blade, colours[number % 3])
    return canvas


@made_once
def flower(width, height, petal, middle, seed=47):
    """A single flower on a curved stem with two leaves."""
    canvas = Canvas(width, height)
    cx = width / 2.0
    head_y = height * 0.28
    stem = polyline([(cx, height), (cx + 1.2, height * 0.7), (cx - 0.3, head_y + 2)], 0.9)
    leaves = (polygon([(cx, height * 0.72), (cx - 6.5, height * 0.6), (cx - 1.5, height * 0.8)])
              | polygon([(cx + 0.8, height * 0.84), (cx + 6.5, height * 0.7), (cx + 1.5, height * 0.92)]))
    greens = stem | leaves
    canvas.paint(greens.grown(0.8), LEAF_OUTLINE)
    canvas.paint(greens, GRASS)
    petals = None
    for number in range(5):
        angle = number * 2.0 * math.pi / 5 - math.pi / 2
        one = circle(cx + math.cos(angle) * 3.4, head_y + math.sin(angle) * 3.4, 3.0)
        petals = one if petals is None else petals | one
    canvas.paint(petals.grown(0.9), OUTLINE)
    canvas.paint(petals, lambda x, y: mix(petal, WHITE, 0.35) if y + 0.5 < head_y - 2 else petal)
    canvas.paint(circle(cx, head_y, 2.2), middle)
    return canvas


@made_once
def tree(width, height, seed=53):
    """A broad leafy tree with a brown trunk."""
    canvas = Canvas(width, height)
    sx, sy = width / 64.0, height / 128.0
    cx = width / 2.0
    trunk = (polygon([(cx - 5 * sx, height), (cx + 5 * sx, height), (cx + 3.5 * sx, 60 * sy), (cx - 3.5 * sx, 60 * sy)])
             | polygon([(cx - 9 * sx, height), (cx - 4 * sx, height), (cx - 3 * sx, height - 10 * sy)])
             | polygon([(cx + 9 * sx, height), (cx + 4 * sx, height), (cx + 3 * sx, height - 10 * sy)])
             | segment(cx + 2 * sx, 86 * sy, cx + 12 * sx, 70 * sy, 1.6 * sx))
    canvas.paint(trunk.grown(1.0), OUTLINE)
    canvas.paint(trunk, lambda x, y: BARK_DARK if (x + int(y / 9)) % 5 == 0 else (BARK if x + 0.5 < cx + 2 else BARK_DARK))
    clumps = [(32, 30, 21), (15, 48, 15), (49, 47, 15), (22, 66, 13), (43, 67, 13), (32, 56, 17), (20, 26, 12), (45, 25, 12)]
    crown = None
    for x, y, r in clumps:
        one = circle(x * sx, y * sy, r * min(sx, sy))
        crown = one if crown is None else crown | one
    crown_centre = (32 * sx, 46 * sy)
    shade = sphere_shading(crown_centre[0], crown_centre[1], 32 * sx, LEAF_LIGHT, LEAF, LEAF_DARK)
    canvas.paint(crown.grown(1.0), LEAF_OUTLINE)
    canvas.paint(crown, shade)
    random = Random(seed)
    for x, y, r in clumps:
        hx, hy = (x - r * 0.3) * sx, (y - r * 0.35) * sy
        canvas.paint(circle(hx, hy, r * 0.45 * min(sx, sy)), LEAF_LIGHT, 0.55)
        for _ in range(2):
            canvas.paint(ellipse(x * sx + random.uniform(-r, r) * 0.6, y * sy + random.uniform(0, r) * 0.6, 2.2, 1.4), LEAF_DARK, 0.7)
    return canvas


@made_once
def pine(width, height):
    """A dark fir tree made of three tiers."""
    canvas = Canvas(width, height)
    cx = width / 2.0
    trunk = box(cx - 3, height - 18, cx + 3, height)
    tiers = None
    for number, (top, bottom, half) in enumerate([(2, 46, 13), (28, 80, 18), (58, height - 14, 23)]):
        tier = polygon([(cx, top), (cx + half, bottom), (cx - half, bottom)])
        tiers = tier if tiers is None else tiers | tier
    canvas.paint(trunk.grown(1.0), OUTLINE)
    canvas.paint(trunk, BARK)
    canvas.paint(tiers.grown(1.0), LEAF_OUTLINE)
    dark_fir, fir, light_fir = (28, 92, 60), (44, 124, 74), (76, 156, 88)
    canvas.paint(tiers, lambda x, y: light_fir if x + 0.5 < cx - 1 else (fir if x + 0.5 < cx + 3 else dark_fir))
    return canvas


@made_once
def sun(size):
    """The sun: a warm disc in a soft glow that fades out before the picture's edge."""
    canvas = Canvas(size, size)
    centre = size / 2.0
    disc = size * 0.3
    for y in range(size):
        for x in range(size):
            distance = math.hypot(x + 0.5 - centre, y + 0.5 - centre)
            glow = clamp(1.0 - (distance - disc) / (centre - disc)) ** 2 * 0.55
            if glow > 0.0:
                canvas.put(x, y, with_alpha((255, 244, 190), glow))
    canvas.paint(circle(centre, centre, disc + 1.0), (248, 176, 48))
    canvas.paint(circle(centre, centre, disc), lambda x, y: mix((255, 250, 200), (255, 214, 70),
                                                                clamp(math.hypot(x + 0.5 - centre * 0.9, y + 0.5 - centre * 0.9) / disc)))
    return canvas


@made_once
def sign(width, height):
    """A wooden sign post with an arrow pointing right."""
    canvas = Canvas(width, height)
    cx = width / 2.0
    post = box(cx - 2.5, height * 0.4, cx + 2.5, height)
    board = box(1.5, 5.5, width - 1.5, height * 0.5, 2.0)
    canvas.paint(post.grown(1.0), OUTLINE)
    canvas.paint(post, lambda x, y: WOOD if x + 0.5 < cx else WOOD_DARK)
    canvas.paint(board.grown(1.0), OUTLINE)
    canvas.paint(board, lambda x, y: WOOD_LIGHT if y < 8 else mix(WOOD, WOOD_DARK, 0.25 * value_noise(x, y, 6, 3)))
    middle = (5.5 + height * 0.5) / 2.0
    arrow = box(7, middle - 2, 19, middle + 2) | polygon([(17, middle - 6), (26, middle), (17, middle + 6)])
    canvas.paint(arrow, (250, 244, 226))
    canvas.paint(arrow - arrow.grown(-1.0), OUTLINE, 0.6)
    return canvas


@made_once
def cave(width, height, seed=59):
    """A dark cave backdrop with stalactites, stalagmites and a few glowing crystals."""
    canvas = Canvas(width, height)
    top, bottom = (40, 32, 50), (22, 18, 30)
    canvas.fill_rows(0, height, lambda y: mix(top, bottom, abs(y / (height - 1.0) - 0.45) * 1.6) + (OPAQUE,))
    random = Random(seed)
    far_rock, rock, rock_light = (52, 42, 62), (70, 58, 80), (96, 82, 104)
    x = -20.0
    while x < width:
        span = random.uniform(30, 70)
        canvas.paint(polygon([(x, 0), (x + span, 0), (x + span * random.uniform(0.4, 0.6), random.uniform(40, 130))]), far_rock)
        x += span * 0.8
    for hanging in (True, False):
        x = random.uniform(-10, 20)
        while x < width:
            span = random.uniform(18, 46)
            reach = random.uniform(24, 90)
            tip_x = x + span * random.uniform(0.35, 0.65)
            if hanging:
                spike = polygon([(x, -1), (x + span, -1), (tip_x, reach)])
            else:
                spike = polygon([(x, height + 1), (x + span, height + 1), (tip_x, height - reach)])
            canvas.paint(spike.grown(1.0), OUTLINE)
            canvas.paint(spike, lambda px, py, tip_x=tip_x: rock_light if px + 0.5 < tip_x - 2 else rock)
            x += span + random.uniform(10, 60)
    for _ in range(9):
        cx, base = random.uniform(30, width - 30), height - random.uniform(4, 30)
        for lean in (-4, 0, 5):
            size = random.uniform(10, 20)
            crystal = polygon([(cx + lean - 3, base), (cx + lean + 3, base), (cx + lean * 2 + 1, base - size)])
            canvas.paint(crystal.grown(3.0), (80, 200, 230), 0.25)
            canvas.paint(crystal, lambda px, py, cx=cx + lean: (170, 244, 255) if px + 0.5 < cx else (80, 190, 226))
    return canvas
