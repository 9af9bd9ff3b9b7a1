"""The full-screen pictures (the splash, the two death pictures, the finish and closing
pictures), the ball and the banner of the last screen."""

import math

from .canvas import Canvas
from .colour import clamp, mix, with_alpha, WHITE, BLACK
from .font import draw_text_centred, text_width
from .palette import BALL, BALL_DARK, BALL_LIGHT, BALL_OUTLINE, BALL_STRIPE, OUTLINE
from .scenery import bush, cloud, flower, grass_tuft, hills, mountains, pine, sign, sky, sun, tree
from .shapes import box, circle, ellipse, polygon, segment
from .tiles import grass_ground

OPAQUE = 255
SCREEN_WIDTH, SCREEN_HEIGHT = 800, 600
TITLE = "Morvane - Rollandia"
TITLE_OUTLINE = (70, 30, 22)
DEATH_SCALE = 9
STRIPE_AXIS = (0.8, -0.42, 0.42)   # the ball's band lies around this direction
STRIPE_HALF_WIDTH = 0.24
STRIPE_SEAM = 0.07


def _normalised(vector):
    length = math.sqrt(sum(c * c for c in vector))
    return tuple(c / length for c in vector)


def ball(size, cracked=False):
    """The player's ball: orange with a cream band, softly shaded, in a dark rim.

    The game's shader lights the picture again, so the shading here stays gentle; the
    outside of the disc is transparent and its edge smooth."""
    canvas = Canvas(size, size)
    centre = size / 2.0
    radius = centre - 0.25
    rim = max(1.0, size / 32.0)
    axis = _normalised(STRIPE_AXIS)
    light = _normalised((-0.5, -0.65, 0.6))

    def colour(x, y):
        nx, ny = (x + 0.5 - centre) / radius, (y + 0.5 - centre) / radius
        nz = math.sqrt(max(0.0, 1.0 - nx * nx - ny * ny))
        band = abs(nx * axis[0] + ny * axis[1] + nz * axis[2])
        # One pixel measured along the band's direction, for soft band edges.
        softness = 1.0 / (radius * max(nz, 0.35))
        seam = clamp((STRIPE_HALF_WIDTH + STRIPE_SEAM + softness / 2 - band) / softness)
        stripe = clamp((STRIPE_HALF_WIDTH + softness / 2 - band) / softness)
        base = mix(mix(BALL, BALL_DARK, seam), BALL_STRIPE, stripe)
        lit = nx * light[0] + ny * light[1] + nz * light[2]
        shaded = mix(base, BALL_DARK, clamp(-lit * 0.9 + 0.15) * 0.7) if lit < 0.5 else mix(base, BALL_LIGHT, clamp(lit - 0.5) * 0.8)
        return mix(shaded, WHITE, clamp((lit - 0.93) * 14.0))

    disc = circle(centre, centre, radius)
    canvas.paint(disc, BALL_OUTLINE)
    canvas.paint(disc.grown(-rim), colour)
    if cracked:
        points = [(centre - radius * 0.1, centre - radius), (centre + radius * 0.05, centre - radius * 0.45),
                  (centre - radius * 0.2, centre - radius * 0.1), (centre + radius * 0.15, centre + radius * 0.3),
                  (centre - radius * 0.05, centre + radius * 0.75)]
        for start, end in zip(points, points[1:]):
            canvas.paint(segment(*start, *end, rim * 0.9) & disc, BALL_OUTLINE)
    return canvas


# ------------------------------------------------------------------ splash
def _title_gradient(height):
    return mix((255, 246, 160), (255, 150, 36), clamp(height))


def splash():
    canvas = sky(SCREEN_WIDTH, SCREEN_HEIGHT)
    canvas.draw(sun(136), 600, 150)
    canvas.draw(mountains(SCREEN_WIDTH, 300), 0, 230)
    for picture, x, y in ((cloud(128, 64), 40, 210), (cloud(64, 32), 300, 250), (cloud(128, 64), 500, 190)):
        canvas.draw(picture, x, y)
    canvas.draw(hills(SCREEN_WIDTH, 200), 0, 390)
    ground_top = 516
    canvas.draw(grass_ground(SCREEN_WIDTH, SCREEN_HEIGHT - ground_top), 0, ground_top)
    standing = ground_top + 4
    canvas.draw(tree(64, 128), 28, standing - 128)
    canvas.draw(tree(64, 128).flipped_horizontally(), 96, standing - 120)
    canvas.draw(pine(48, 128), 726, standing - 128)
    canvas.draw(bush(64, 32), 150, standing - 32)
    canvas.draw(bush(64, 32).flipped_horizontally(), 640, standing - 32)
    canvas.draw(sign(32, 48), 690, standing - 48)
    for x, picture in ((250, flower(16, 32, (236, 70, 96), (255, 214, 70))), (272, grass_tuft(32, 16)),
                       (330, flower(16, 32, (255, 214, 60), (160, 90, 40))), (560, grass_tuft(32, 16)),
                       (600, flower(16, 32, (236, 70, 96), (255, 214, 70))), (214, grass_tuft(32, 16))):
        canvas.draw(picture, x, standing - picture.height)
    _bouncing_ball(canvas, 470, standing)
    draw_text_centred(canvas, TITLE, SCREEN_WIDTH / 2, 52, 7, _title_gradient, outline=TITLE_OUTLINE,
                      outline_width=4, shadow=with_alpha(BLACK, 0.35), shadow_offset=(5, 6))
    draw_text_centred(canvas, "press arrows to roll", SCREEN_WIDTH / 2, 128, 3, WHITE, outline=OUTLINE,
                      outline_width=3)
    draw_text_centred(canvas, "Up: bounce higher    Down: bounce lower    Esc: quit", SCREEN_WIDTH / 2, 566, 2,
                      (255, 244, 214), outline=OUTLINE, outline_width=2)
    return canvas


def _bouncing_ball(canvas, centre_x, ground_y):
    """The ball in the air over its shadow, with a dotted arc of where it came from."""
    size = 88
    top = ground_y - size - 46
    canvas.paint(ellipse(centre_x, ground_y + 1, size * 0.42, 6), BLACK, 0.25)
    for step in range(7):
        t = step / 7.0
        x = centre_x - 260 + t * 215
        y = ground_y - 18 - 150 * math.sin(t * math.pi * 0.95 + 0.2) * (1.0 - t * 0.35)
        canvas.paint(circle(x, y, 3.0 + t * 3.0), WHITE, 0.35 + 0.4 * t)
    for offset in (-18, 0, 18):
        canvas.paint(segment(centre_x - size / 2 - 40, top + size / 2 + offset, centre_x - size / 2 - 10,
                             top + size / 2 + offset * 0.8, 2.0), WHITE, 0.7)
    canvas.draw(ball(size), int(centre_x - size / 2), top)


# ------------------------------------------------------------------ death pictures
def _death(wash, wash_alpha, panel, border, words, words_outline, hint, hint_outline):
    canvas = Canvas(SCREEN_WIDTH, SCREEN_HEIGHT)

    def wash_row(y):
        edge = min(y, SCREEN_HEIGHT - 1 - y) / 120.0
        return with_alpha(wash, wash_alpha + (1.0 - wash_alpha) * 0.5 * (1.0 - clamp(edge)))

    canvas.fill_rows(0, SCREEN_HEIGHT, wash_row)
    left, top, right, bottom = 60, 180, 740, 420
    frame = box(left, top, right, bottom, 18)
    canvas.paint(frame, border)
    canvas.paint(frame.grown(-5), panel)
    draw_text_centred(canvas, "You died!", SCREEN_WIDTH / 2, 226, DEATH_SCALE, words, outline=words_outline, outline_width=4)
    draw_text_centred(canvas, "Press Enter", SCREEN_WIDTH / 2, 322, 5, hint, outline=hint_outline, outline_width=3)
    draw_text_centred(canvas, "to roll again", SCREEN_WIDTH / 2, 372, 3, hint, outline=hint_outline, outline_width=2)
    broken = ball(56, cracked=True)
    title_half = text_width("You died!", DEATH_SCALE) / 2
    canvas.draw(broken, int(SCREEN_WIDTH / 2 - title_half - 88), 226)
    canvas.draw(broken.flipped_horizontally(), int(SCREEN_WIDTH / 2 + title_half + 32), 226)
    return canvas


def death_flash():
    """The bright one of the two death pictures: a red wash with a dark panel."""
    return _death(wash=(210, 24, 24), wash_alpha=0.5, panel=(36, 8, 14), border=(255, 214, 110),
                  words=lambda h: mix(WHITE, (255, 226, 90), clamp(h)), words_outline=(36, 8, 14),
                  hint=WHITE, hint_outline=(36, 8, 14))


def death_dark():
    """The dark one of the two death pictures: a black wash with the colours turned round."""
    return _death(wash=(8, 0, 4), wash_alpha=0.72, panel=(214, 32, 36), border=(36, 8, 14),
                  words=(36, 8, 14), words_outline=WHITE, hint=(255, 236, 140), hint_outline=(36, 8, 14))


# ------------------------------------------------------------------ finish banner
BANNER_RED, BANNER_RED_DARK = (196, 40, 44), (120, 20, 30)
BANNER_GOLD = (255, 214, 110)
BANNER_TAIL = 80          # how far each ribbon tail reaches in from the picture's side
BANNER_NOTCH = 24         # depth of the swallow-tail cut at each tail's end


def _star(cx, cy, outer, inner):
    """A five-pointed star: a pentagon with a triangle on each side (the shapes are convex)."""
    def point(i, radius):
        angle = math.pi * i / 5.0 - math.pi / 2.0
        return cx + radius * math.cos(angle), cy + radius * math.sin(angle)

    star = polygon([point(i, inner) for i in range(1, 10, 2)])
    for i in range(0, 10, 2):
        star = star | polygon([point(i, outer), point(i + 1, inner), point(i - 1, inner)])
    return star


def _flanking_stars(canvas, centre_x, reach, cy, outer, inner):
    """An outlined gold star on each side of a line, `reach` from its centre."""
    for cx in (centre_x - reach, centre_x + reach):
        star = _star(cx, cy, outer, inner)
        canvas.paint(star.grown(1.5), OUTLINE)
        canvas.paint(star, BANNER_GOLD)


def _ribbon_tail(canvas, outer_x, inner_x, top, bottom):
    """One swallow-tailed end of the ribbon, from `outer_x` (the notched end) to under the panel."""
    toward = 1 if outer_x < inner_x else -1
    notch_x, middle = outer_x + toward * BANNER_NOTCH, (top + bottom) / 2.0
    tail = (polygon([(outer_x, top), (inner_x, top), (inner_x, middle), (notch_x, middle)]) |
            polygon([(notch_x, middle), (inner_x, middle), (inner_x, bottom), (outer_x, bottom)]))
    canvas.paint(tail.grown(2.0), OUTLINE)
    canvas.paint(tail, lambda x, y: mix(BANNER_RED, BANNER_RED_DARK, clamp((y - top) / (bottom - top))))
    fold = polygon([(inner_x, bottom), (inner_x + toward * 14, bottom), (inner_x, bottom - 14)])
    canvas.paint(fold, BANNER_RED_DARK)


def finish_banner(width, height):
    """A red ribbon banner with gold letters saying the player got through, for the last screen."""
    canvas = Canvas(width, height)
    left, right, top, bottom = BANNER_TAIL - 20, width - BANNER_TAIL + 20, 8, height - 26
    _ribbon_tail(canvas, 2, left + 24, top + 40, height - 4)
    _ribbon_tail(canvas, width - 2, right - 24, top + 40, height - 4)
    panel = box(left, top, right, bottom, 14)
    canvas.paint(panel.grown(2.0), OUTLINE)
    canvas.paint(panel, BANNER_GOLD)
    canvas.paint(panel.grown(-5), lambda x, y: mix(BANNER_RED, BANNER_RED_DARK, clamp((y - top) / (bottom - top)) * 0.8))
    draw_text_centred(canvas, "You made it!", width / 2, top + 22, 5, _title_gradient, outline=TITLE_OUTLINE,
                      outline_width=3, shadow=with_alpha(BLACK, 0.4), shadow_offset=(3, 4))
    draw_text_centred(canvas, "Well rolled!", width / 2, top + 80, 3, WHITE, outline=BANNER_RED_DARK, outline_width=2)
    _flanking_stars(canvas, width / 2, text_width("Well rolled!", 3) / 2 + 30, top + 90, 13, 5.5)
    return canvas


# ------------------------------------------------------------------ finishing a world
FINISH_PANEL = (40, 22, 70)
FINISH_TOP, FINISH_BOTTOM = 100, 500


def finish():
    """Shown over the goal screen when a world is finished: a gold-framed panel with its title
    and the hint to go on; the game writes the world's name, the time, the deaths and the best
    time in the panel's middle (rows 190 to 410 are kept free for them)."""
    canvas = Canvas(SCREEN_WIDTH, SCREEN_HEIGHT)
    canvas.fill_rows(0, SCREEN_HEIGHT, lambda y: with_alpha((16, 8, 40), 0.45))
    frame = box(80, FINISH_TOP, SCREEN_WIDTH - 80, FINISH_BOTTOM, 18)
    canvas.paint(frame.grown(2.0), OUTLINE)
    canvas.paint(frame, BANNER_GOLD)
    canvas.paint(frame.grown(-5), lambda x, y: mix(FINISH_PANEL, (16, 8, 40), clamp((y - FINISH_TOP) / 400.0)))
    draw_text_centred(canvas, "World finished!", SCREEN_WIDTH / 2, FINISH_TOP + 22, 6, _title_gradient,
                      outline=TITLE_OUTLINE, outline_width=3, shadow=with_alpha(BLACK, 0.4), shadow_offset=(3, 4))
    draw_text_centred(canvas, "Press Enter for the next world", SCREEN_WIDTH / 2, FINISH_BOTTOM - 52, 3,
                      (255, 244, 214), outline=OUTLINE, outline_width=2)
    _flanking_stars(canvas, SCREEN_WIDTH / 2, text_width("World finished!", 6) / 2 + 34, FINISH_TOP + 42, 16, 7)
    return canvas


def closing():
    """After the last world: the meadow at evening with the ball resting, and the way back."""
    canvas = Canvas(SCREEN_WIDTH, SCREEN_HEIGHT)
    canvas.fill_rows(0, SCREEN_HEIGHT, lambda y: mix((64, 52, 128), (255, 156, 84), clamp(y / 420.0)) + (OPAQUE,))
    canvas.draw(sun(136), 332, 300)
    canvas.draw(mountains(SCREEN_WIDTH, 300), 0, 250)
    canvas.draw(hills(SCREEN_WIDTH, 200), 0, 390)
    ground_top = 516
    canvas.draw(grass_ground(SCREEN_WIDTH, SCREEN_HEIGHT - ground_top), 0, ground_top)
    canvas.draw(tree(64, 128), 60, ground_top + 4 - 128)
    canvas.draw(pine(48, 128), 690, ground_top + 4 - 128)
    canvas.paint(ellipse(SCREEN_WIDTH / 2, ground_top + 5, 30, 5), BLACK, 0.25)
    canvas.draw(ball(72), int(SCREEN_WIDTH / 2 - 36), ground_top + 4 - 72)
    draw_text_centred(canvas, "Every world rolled!", SCREEN_WIDTH / 2, 70, 7, _title_gradient, outline=TITLE_OUTLINE,
                      outline_width=4, shadow=with_alpha(BLACK, 0.35), shadow_offset=(5, 6))
    draw_text_centred(canvas, "Thank you for playing", SCREEN_WIDTH / 2, 160, 4, WHITE, outline=OUTLINE,
                      outline_width=3)
    draw_text_centred(canvas, "Press Enter to start again from the first world", SCREEN_WIDTH / 2, 566, 2,
                      (255, 244, 214), outline=OUTLINE, outline_width=2)
    return canvas
