"""The pieces a level is built from: walls and floors, breakable, dangerous and door pieces,
loose crates and round stones. Every piece has a 1-pixel dark outline so that the player can
read where its body ends."""

import math

from .canvas import Canvas, made_once
from .colour import Random, clamp, hash01, mix, noise_field, scale, value_noise, with_alpha, WHITE
from .palette import (
    BRICK, BRICK_DARK, BRICK_LIGHT, DANGER_RED, DIRT, DIRT_DARK, DIRT_LIGHT, GLASS, GLASS_EDGE,
    FROST, GRASS, GRASS_DARK, GRASS_LIGHT, ICE, ICE_DARK, ICE_LIGHT, IRON, LAVA, LAVA_DEEP, LAVA_HOT, LAVA_WHITE, MORTAR, OUTLINE,
    ROCK, ROCK_DARK, ROCK_LIGHT, SAND, SAND_DARK, SAND_LIGHT, SNOW, SNOW_DARK, SNOW_LIGHT, STEEL, STEEL_DARK,
    STEEL_LIGHT,
    WOOD, WOOD_DARK, WOOD_LIGHT)
from .shapes import box, circle, polygon, polyline, segment

OPAQUE = 255
COURSE_HEIGHT = 8    # brick rows, mortar line included
BRICK_LENGTH = 16    # brick length, mortar line included
LIGHT_DIRECTION = (-0.45, -0.6, 0.66)  # from the upper left, towards the viewer


def outline_edges(canvas, colour=OUTLINE, top=0):
    """Draws the 1-pixel frame of a piece, from row `top` down."""
    w, h = canvas.width, canvas.height
    rgba = colour + (OPAQUE,)
    canvas.fill_rect(0, top, w, top + 1, rgba)
    canvas.fill_rect(0, h - 1, w, h, rgba)
    canvas.fill_rect(0, top, 1, h, rgba)
    canvas.fill_rect(w - 1, top, w, h, rgba)


def sphere_shading(cx, cy, radius, light, base, dark, shine=0.0):
    """A colour function that shades a disc like a ball lit from the upper left."""
    lx, ly, lz = LIGHT_DIRECTION

    def colour(x, y):
        nx, ny = (x + 0.5 - cx) / radius, (y + 0.5 - cy) / radius
        nz = math.sqrt(max(0.0, 1.0 - nx * nx - ny * ny))
        lit = nx * lx + ny * ly + nz * lz
        shade = mix(dark, base, clamp(lit * 1.6 + 0.1)) if lit < 0.55 else mix(base, light, clamp((lit - 0.55) * 2.5))
        if shine:
            highlight = clamp((lit - 0.9) * 10.0) * shine
            shade = mix(shade, WHITE, highlight)
        return shade

    return colour


# ------------------------------------------------------------------ walls and floors
def _lay_bricks(canvas, seed, face, light, dark, mortar, course=COURSE_HEIGHT, length=BRICK_LENGTH):
    """Running-bond masonry: each course is shifted by half a brick against the one above."""
    w, h = canvas.width, canvas.height
    canvas.fill_rect(0, 0, w, h, mortar + (OPAQUE,))
    for row in range((h + course - 1) // course):
        top = row * course
        shift = (length // 2) * (row % 2)
        for number, left in enumerate(range(-shift, w, length)):
            tone = face if seed is None else scale(face, 0.9 + 0.2 * hash01(number, row, seed))
            bottom, right = top + course - 1, left + length - 1
            for y in range(top + 1, min(top + course, h)):
                for x in range(max(left + 1, 0), min(left + length, w)):
                    colour = tone
                    if y == top + 1 or x == left + 1:
                        colour = mix(tone, light, 0.55)
                    elif y == bottom or x == right:
                        colour = mix(tone, dark, 0.55)
                    if hash01(x, y, 7 + (seed or 0)) > 0.92:
                        colour = mix(colour, dark, 0.3)
                    canvas.put(x, y, colour + (OPAQUE,))


def brick(width, height, seed=1):
    canvas = Canvas(width, height)
    _lay_bricks(canvas, seed, BRICK, BRICK_LIGHT, BRICK_DARK, MORTAR)
    outline_edges(canvas)
    return canvas


def ice_brick(width, height, seed=2):
    """Blocks of blue ice laid like bricks, with frost in the joints."""
    canvas = Canvas(width, height)
    _lay_bricks(canvas, seed, ICE, ICE_LIGHT, ICE_DARK, FROST)
    outline_edges(canvas)
    return canvas


def _grass_edge(width, seed, base):
    """Row of the lower edge of the grass cover for each column, with a few drips."""
    edges = []
    for x in range(width):
        wave = 1.2 * math.sin(x * 2.0 * math.pi / 16.0 + seed) + 1.6 * value_noise(x, 0, 5, seed)
        drip = 2 if hash01(x // 3, 1, seed) > 0.86 else 0
        edges.append(base + int(wave + 0.5) + drip)
    return edges


@made_once
def grass_ground(width, height, seed=3):
    """Earth with a grass cover whose blades stand up to 2 pixels above the cover's top."""
    return _covered_ground(width, height, seed, GRASS_LIGHT, GRASS, GRASS_DARK)


@made_once
def snow_ground(width, height, seed=3):
    """Frozen earth under a cover of snow, tufts of it standing up like the grass's blades."""
    return _covered_ground(width, height, seed, SNOW_LIGHT, SNOW, SNOW_DARK)


def _covered_ground(width, height, seed, cover_light, cover_colour, cover_dark):
    """Earth with a cover whose blades stand up to 2 pixels above the cover's top."""
    blade_room = 2
    cover = 7 if height >= 32 else 5
    canvas = Canvas(width, height)
    coarse, fine = noise_field(width, height, 7, seed), noise_field(width, height, 3, seed + 1)
    for y in range(blade_room, height):
        for x in range(width):
            noise = coarse[y][x] * 0.7 + fine[y][x] * 0.3
            colour = mix(DIRT_DARK, DIRT, 0.35 + noise) if noise < 0.65 else mix(DIRT, DIRT_LIGHT, (noise - 0.65) * 2.2)
            canvas.put(x, y, colour + (OPAQUE,))
    random = Random(seed)
    for _ in range(width * (height - cover) // 160):
        px, py = random.uniform(3, width - 3), random.uniform(blade_room + cover + 3, height - 3)
        radius = random.uniform(1.2, 2.4)
        pebble = circle(px, py, radius)
        canvas.paint(pebble.grown(0.8), DIRT_DARK)
        canvas.paint(pebble, lambda x, y, cy=py: DIRT_LIGHT if y + 0.5 < cy else mix(DIRT_LIGHT, DIRT, 0.5))
    edges = _grass_edge(width, seed, blade_room + cover)
    for x in range(width):
        for y in range(blade_room, edges[x]):
            if y == blade_room:
                colour = cover_light
            elif y >= edges[x] - 1:
                colour = cover_dark
            else:
                colour = mix(cover_colour, cover_light, 0.35 * value_noise(x, y, 4, seed))
            canvas.put(x, y, colour + (OPAQUE,))
    x = 1 + random.integer(0, 2)
    while x < width - 2:
        tall = random.uniform(1.5, blade_room + 0.6)
        lean = random.uniform(-1.0, 1.0)
        canvas.paint(polygon([(x - 1.2, blade_room + 1.0), (x + 1.2, blade_room + 1.0),
                              (x + lean, blade_room - tall)]), cover_light)
        x += random.integer(2, 4)
    outline_edges(canvas, top=blade_room)
    for x in (0, width - 1):
        canvas.fill_rect(x, blade_room, x + 1, edges[x], cover_dark + (OPAQUE,))
    return canvas


def plank(width, height, seed=5):
    """Wooden boards 64 pixels long, nailed at both ends."""
    canvas = Canvas(width, height, WOOD + (OPAQUE,))
    for y in range(height):
        for x in range(width):
            grain = math.sin((y + 1.7 * value_noise(x, 0, 20, seed + y // 5)) * 1.9) * 0.5 + 0.5
            colour = mix(WOOD, WOOD_DARK, 0.35 * grain)
            if y == 1:
                colour = mix(colour, WOOD_LIGHT, 0.8)
            elif y == height - 2:
                colour = mix(colour, WOOD_DARK, 0.7)
            canvas.put(x, y, colour + (OPAQUE,))
    board = 64
    for left in range(0, width, board):
        if left:
            canvas.fill_rect(left, 0, left + 1, height, WOOD_DARK + (OPAQUE,))
            canvas.fill_rect(left + 1, 1, left + 2, height - 1, WOOD_LIGHT + (OPAQUE,))
        for nail_x in (left + 4, left + board - 5):
            for nail_y in (4, height - 5) if height >= 16 else (height // 2,):
                canvas.paint(circle(nail_x + 0.5, nail_y + 0.5, 1.4), IRON)
                canvas.put(nail_x, nail_y, STEEL_LIGHT + (OPAQUE,))
    outline_edges(canvas)
    return canvas


# ------------------------------------------------------------------ breakable pieces
def _crack(canvas, random, start, steps, step_length, heading):
    """A jagged dark crack with a light lip below it; returns its points."""
    points = [start]
    x, y = start
    for _ in range(steps):
        heading += random.uniform(-0.8, 0.8)
        x, y = x + math.cos(heading) * step_length, y + math.sin(heading) * step_length
        points.append((x, y))
    canvas.paint(polyline([(px + 0.7, py + 0.9) for px, py in points], 0.5), with_alpha(SAND_LIGHT, 0.9))
    canvas.paint(polyline(points, 0.85), OUTLINE)
    return points


def cracked_block(width, height, seed=11):
    """Sandstone bricks split by cracks, with chipped corners: it breaks when hit hard."""
    canvas = Canvas(width, height)
    _lay_bricks(canvas, seed, SAND, SAND_LIGHT, SAND_DARK, SAND_DARK, course=16, length=32)
    outline_edges(canvas)
    random = Random(seed)
    for number in range(width // 32):
        centre = number * 32 + 16
        if height > 32:
            _crack(canvas, random, (0.5, height / 2.0 + random.uniform(-6, 6)), 4, 5.5, random.uniform(-0.3, 0.3))
        start = (centre + random.uniform(-4, 4), 0.5)
        points = _crack(canvas, random, start, 5, 5.5, math.pi / 2 + random.uniform(-0.4, 0.4))
        branch_from = points[2]
        _crack(canvas, random, branch_from, 3, 4.5, random.uniform(-0.3, 0.3) + (0 if number % 2 else math.pi))
        _crack(canvas, random, (centre + random.uniform(-10, 10), height - 0.5), 2, 4.0, -math.pi / 2)
    for corner_x, corner_y in ((0, 0), (width, height)):
        dx, dy = (1, 1) if corner_x == 0 else (-1, -1)
        chip = polygon([(corner_x, corner_y), (corner_x + dx * 5.5, corner_y), (corner_x, corner_y + dy * 4.5)])
        canvas.cut(chip)
        canvas.paint(segment(corner_x + dx * 5.5, corner_y + dy * 0.5, corner_x + dx * 0.5, corner_y + dy * 4.5, 0.6), OUTLINE)
    return canvas


def glass(width, height, seed=13):
    """A see-through pane in a light frame, already starred by a crack."""
    canvas = Canvas(width, height)
    pane_alpha, frame = 0.5, 2
    for y in range(height):
        for x in range(width):
            depth = 0.12 * (x + y) / (width + height)
            canvas.put(x, y, with_alpha(mix(GLASS, GLASS_EDGE, depth), pane_alpha))
    pane = box(0, 0, width, height)
    for offset in (-height * 0.6, width * 0.45):
        shine = segment(offset + 2, height + 2, offset + height * 0.8, -2, 2.6) & pane
        canvas.paint(shine, WHITE, 0.45)
    canvas.paint(segment(width * 0.7 + 3, height + 2, width * 0.7 + height * 0.8 + 3, -2, 0.8) & pane, WHITE, 0.5)
    random = Random(seed)
    centre = (width * 0.62 + random.uniform(-2, 2), height * 0.38)
    for ray in range(6):
        heading = ray * math.pi / 3 + random.uniform(-0.3, 0.3)
        reach = random.uniform(7, 12) * (1.4 if ray % 2 else 1.0)
        bend = heading + random.uniform(-0.35, 0.35)
        middle = (centre[0] + math.cos(heading) * reach * 0.5, centre[1] + math.sin(heading) * reach * 0.5)
        end = (middle[0] + math.cos(bend) * reach * 0.5, middle[1] + math.sin(bend) * reach * 0.5)
        canvas.paint(polyline([centre, middle, end], 0.5) & pane, WHITE, 0.9)
    for inner in range(1, frame + 1):
        rim = box(inner - 1, inner - 1, width - inner + 1, height - inner + 1) - box(inner, inner, width - inner, height - inner)
        canvas.paint(rim, mix(WHITE, GLASS, 0.3), 0.9)
    if width >= 2 * height:
        canvas.fill_rect(width // 2 - 1, 0, width // 2 + 1, height, with_alpha(mix(WHITE, GLASS, 0.3), 0.9))
        canvas.fill_rect(width // 2 - 1, 0, width // 2, height, with_alpha(GLASS_EDGE, 0.9))
    outline_edges(canvas, GLASS_EDGE)
    return canvas


# ------------------------------------------------------------------ dangerous pieces
def _paint_outline(canvas, shapes):
    """The outline around the shapes joined together, painted before (beneath) them."""
    silhouette = shapes[0]
    for shape in shapes[1:]:
        silhouette = silhouette | shape
    canvas.paint(silhouette.grown(0.9), OUTLINE)


def spikes(width, height, seed=17):
    """Steel spikes with red-hot tips on an iron rail, points upward."""
    canvas = Canvas(width, height)
    rail = 4
    base = height - rail
    spike_width = 8
    teeth = [polygon([(left + 0.5, base + 0.5), (left + spike_width / 2.0, 1.5), (left + spike_width - 0.5, base + 0.5)])
             for left in range(0, width, spike_width)]
    rail_shape = box(0.5, base, width - 0.5, height - 0.5)
    _paint_outline(canvas, [rail_shape] + teeth)
    for number, tooth in enumerate(teeth):
        tip_x = number * spike_width + spike_width / 2.0

        def colour(x, y, tip_x=tip_x):
            metal = STEEL_LIGHT if x + 0.5 < tip_x else STEEL_DARK
            if abs(x + 0.5 - tip_x) < 1.0:
                metal = STEEL
            heat = clamp((6.0 - y) / 4.0)
            return mix(metal, DANGER_RED, heat * 0.9)

        canvas.paint(tooth, colour)
    canvas.paint(rail_shape, lambda x, y: mix(IRON, STEEL_DARK, 0.6) if y == base + 1 else IRON)
    for x in range(3, width - 2, spike_width):
        canvas.put(x, base + 2, STEEL + (OPAQUE,))
    return canvas


def icicles(width, height):
    """Icicles hanging from a frozen ledge, points downward, their tips glinting."""
    canvas = Canvas(width, height)
    ledge = 4
    icicle_width = 8
    teeth = [polygon([(left + 0.5, ledge - 0.5), (left + icicle_width / 2.0, height - 1.5),
                      (left + icicle_width - 0.5, ledge - 0.5)]) for left in range(0, width, icicle_width)]
    ledge_shape = box(0.5, 0.5, width - 0.5, ledge)
    _paint_outline(canvas, [ledge_shape] + teeth)
    for number, tooth in enumerate(teeth):
        tip_x = number * icicle_width + icicle_width / 2.0

        def colour(x, y, tip_x=tip_x):
            ice = ICE_LIGHT if x + 0.5 < tip_x else ICE_DARK
            glint = clamp((y - (height - 6.0)) / 4.0)
            return mix(ice if abs(x + 0.5 - tip_x) >= 1.0 else ICE, WHITE, glint * 0.8)

        canvas.paint(tooth, colour)
    canvas.paint(ledge_shape, lambda x, y: ICE_DARK if y >= ledge - 1 else FROST)
    return canvas


def saw(size):
    """A round saw blade with hooked teeth and a bolted hub."""
    canvas = Canvas(size, size)
    centre = size / 2.0
    outer = centre - 0.6
    inner = outer * 0.74
    teeth_count = 10 if size <= 32 else 14
    pitch = 2.0 * math.pi / teeth_count
    shape = circle(centre, centre, inner)
    for tooth in range(teeth_count):
        angle = tooth * pitch
        back = angle - pitch * 0.92
        shape = shape | polygon([
            (centre + math.cos(back) * inner * 0.96, centre + math.sin(back) * inner * 0.96),
            (centre + math.cos(angle) * outer, centre + math.sin(angle) * outer),
            (centre + math.cos(angle + 0.06) * inner * 0.9, centre + math.sin(angle + 0.06) * inner * 0.9)])
    canvas.paint(shape, OUTLINE)
    blade = sphere_shading(centre, centre, outer, STEEL_LIGHT, STEEL, STEEL_DARK)
    canvas.paint(shape.grown(-1.0), blade)
    edge = circle(centre, centre, inner * 0.88) - circle(centre, centre, inner * 0.88 - 0.9)
    canvas.paint(edge, DANGER_RED, 0.85)
    hub = inner * 0.36
    canvas.paint(circle(centre, centre, hub + 1.0), OUTLINE)
    canvas.paint(circle(centre, centre, hub), sphere_shading(centre, centre, hub, STEEL, STEEL_DARK, IRON))
    canvas.paint(circle(centre, centre, max(hub * 0.35, 1.0)), OUTLINE)
    for bolt in range(4):
        angle = bolt * math.pi / 2 + math.pi / 4
        bx, by = centre + math.cos(angle) * inner * 0.62, centre + math.sin(angle) * inner * 0.62
        canvas.paint(circle(bx, by, max(inner * 0.07, 0.9)), STEEL_DARK)
    return canvas


def lava(width, height, seed=23):
    """Molten rock with a rippling surface; the ripples repeat every 16 pixels, so pieces join."""
    canvas = Canvas(width, height)
    period = 16.0

    def surface(x):
        return 2.6 + 1.4 * math.sin((x + 0.5) * 2.0 * math.pi / period) + 0.6 * math.sin((x + 0.5) * 4.0 * math.pi / period + 1.0)

    for x in range(width):
        top = surface(x)
        for y in range(height):
            coverage = clamp(y + 1.0 - top)
            if coverage <= 0.0:
                continue
            depth = y - top
            if depth < 1.0:
                colour = LAVA_WHITE
            elif depth < 3.0:
                colour = LAVA_HOT
            else:
                glow = value_noise(x, y, 5, seed) * 0.8 + 0.2 * math.sin(x * 0.7 + y)
                colour = mix(LAVA, LAVA_DEEP, clamp((depth - 3.0) / 10.0 + glow * 0.4))
            canvas.put(x, y, with_alpha(colour, coverage))
    random = Random(seed)
    for _ in range(width // 16):
        bx, by = random.uniform(4, width - 4), random.uniform(7, height - 3)
        radius = random.uniform(1.2, 2.2)
        canvas.paint(circle(bx, by, radius + 0.8), LAVA_DEEP, 0.8)
        canvas.paint(circle(bx, by, radius), LAVA_HOT)
        canvas.put(int(bx - radius * 0.4), int(by - radius * 0.4), LAVA_WHITE + (OPAQUE,))
    for x in range(width):
        top = surface(x)
        canvas.blend(x, int(top), (255, 120, 40), 0.5)
    return canvas


# ------------------------------------------------------------------ doors
def portcullis(width, height):
    """A dark iron grille: thick vertical bars with cross bars and rivets, see-through between
    them, between a lintel and a sill."""
    canvas = Canvas(width, height)
    beam = 6
    bars = list(range(1, width - 3, 5))
    cross_rows = [beam + (height - 2 * beam) * k // 4 for k in range(1, 4)]
    shape = box(0.5, 0.5, width - 0.5, beam) | box(0.5, height - beam, width - 0.5, height - 0.5)
    for x in bars:
        shape = shape | box(x + 0.5, 0.5, x + 4, height - 0.5)
    for y in cross_rows:
        shape = shape | box(0.5, y - 1.5, width - 0.5, y + 1.5)
    canvas.paint(shape, OUTLINE)
    iron, iron_light = (96, 100, 120), (156, 162, 180)

    def colour(x, y):
        for bar in bars:
            if x == bar + 1 and beam <= y < height - beam:
                return iron_light
        return iron

    canvas.paint(shape.grown(-1.0), colour)
    for y in cross_rows:
        canvas.fill_rect(1, y - 1, width - 1, y, iron_light + (OPAQUE,))
        for x in bars:
            canvas.paint(circle(x + 2.25, y + 0.25, 1.0), STEEL)
    for y in (1, height - beam + 1):
        canvas.fill_rect(1, y, width - 1, y + 1, iron_light + (OPAQUE,))
    return canvas


def boards(board, upright):
    """A paint of wooden boards `board` pixels wide, upright or lying, each with a dark seam
    and a lit edge."""

    def wood(x, y):
        across = x if upright else y
        colour = mix(WOOD, WOOD_DARK, 0.25 * value_noise(x, y, 9, across // board))
        if across % board == 0:
            return WOOD_DARK
        if across % board == 1:
            return mix(colour, WOOD_LIGHT, 0.6)
        return colour

    return wood


def gate(width, height):
    """A round-topped wooden gate held by iron bands, with a lock plate."""
    canvas = Canvas(width, height)
    arch = width / 2.0
    shape = box(0.5, arch, width - 0.5, height - 0.5) | circle(arch, arch + 0.5, arch - 0.5)
    canvas.paint(shape, OUTLINE)
    board = 8
    canvas.paint(shape.grown(-1.0), boards(board, upright=True))
    bands = [int(height * 0.28), int(height * 0.8)]
    for y in bands:
        canvas.paint(box(1, y - 2, width - 1, y + 2), IRON)
        canvas.fill_rect(1, y - 2, width - 1, y - 1, STEEL_DARK + (OPAQUE,))
        for x in range(4, width - 2, board):
            canvas.paint(circle(x + 0.5, y + 0.5, 1.1), STEEL)
    plate_y = height * 0.55
    canvas.paint(box(width - 12, plate_y - 7, width - 3, plate_y + 7, 1.5), OUTLINE)
    canvas.paint(box(width - 11, plate_y - 6, width - 4, plate_y + 6, 1.0), STEEL_DARK)
    canvas.paint(circle(width - 7.5, plate_y - 1.5, 1.6) | box(width - 8.3, plate_y - 1.5, width - 6.7, plate_y + 3.5), OUTLINE)
    return canvas


def hatch(width, height):
    """A horizontal wooden trapdoor with iron bands, for openings in floors and ceilings."""
    canvas = Canvas(width, height)
    board = 8
    wood = boards(board, upright=False)

    canvas.paint(box(0, 0, width, height), wood)
    for x in (10, width - 14):
        canvas.paint(box(x, 1, x + 4, height - 1), IRON)
        canvas.fill_rect(x, 1, x + 1, height - 1, STEEL_DARK + (OPAQUE,))
        for y in range(4, height - 2, board):
            canvas.paint(circle(x + 2.5, y + 0.5, 1.1), STEEL)
    outline_edges(canvas)
    return canvas


# ------------------------------------------------------------------ loose pieces
def crate(size):
    """A wooden crate: a frame of boards around planks with a diagonal brace."""
    canvas = Canvas(size, size, WOOD + (OPAQUE,))
    frame = max(4, size // 8)
    plank_width = max(6, size // 5)
    for y in range(size):
        for x in range(size):
            column = (x - frame) % plank_width
            colour = mix(WOOD, WOOD_DARK, 0.3 * value_noise(x, y, 6, (x - frame) // plank_width))
            if column == 0:
                colour = WOOD_DARK
            canvas.put(x, y, colour + (OPAQUE,))
    brace = segment(frame, size - frame, size - frame, frame, frame / 2.0 + 0.2)
    canvas.paint(brace.grown(1.0), WOOD_DARK)
    canvas.paint(brace, WOOD_LIGHT)
    ring = box(0, 0, size, size) - box(frame, frame, size - frame, size - frame)
    canvas.paint(ring, lambda x, y: mix(WOOD_LIGHT, WOOD, 0.25 * value_noise(x, y, 5, 2)))
    canvas.paint(box(frame - 1, frame - 1, size - frame + 1, size - frame + 1) - box(frame, frame, size - frame, size - frame), WOOD_DARK)
    for x, y in ((frame / 2.0, frame / 2.0), (size - frame / 2.0, frame / 2.0),
                 (frame / 2.0, size - frame / 2.0), (size - frame / 2.0, size - frame / 2.0)):
        canvas.paint(circle(x, y, 1.2), IRON)
    outline_edges(canvas)
    return canvas


def boulder(size, seed=29):
    """A round grey stone, shaded as a ball lit from the upper left, with darker flecks."""
    canvas = Canvas(size, size)
    centre = size / 2.0
    radius = centre - 0.5
    shade = sphere_shading(centre, centre, radius, ROCK_LIGHT, ROCK, ROCK_DARK)

    def colour(x, y):
        fleck = value_noise(x, y, 3.0, seed) * 0.6 + value_noise(x, y, 1.5, seed + 1) * 0.4
        return mix(shade(x, y), ROCK_DARK, 0.5 * clamp((fleck - 0.55) * 4.0))

    canvas.paint(circle(centre, centre, radius), OUTLINE)
    canvas.paint(circle(centre, centre, radius - 1.0), colour)
    random = Random(seed)
    for _ in range(size // 10):
        angle, reach = random.uniform(0, 2 * math.pi), random.uniform(0.2, 0.6) * radius
        cx, cy = centre + math.cos(angle) * reach, centre + math.sin(angle) * reach
        canvas.paint(segment(cx - 2, cy - 1, cx + 2, cy + 1, 0.5), ROCK_DARK, 0.8)
    return canvas
