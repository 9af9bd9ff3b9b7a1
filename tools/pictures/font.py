"""The game's own bitmap font and the drawing of text with it.

Glyphs are 7 rows high above the baseline (capitals, digits and ascenders fill all 7; small
letters are 5 high) and may reach 2 rows below it; widths vary from 1 to 5 columns. They are
kept in graphics/GameFont.txt, which the game compiles in for the text it draws itself."""
import os

FONT_FILE = os.path.join(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
                         "graphics", "GameFont.txt")


def read_glyphs(path):
    """The glyphs by character from the font file the game compiles in too."""
    glyphs = {}
    with open(path, encoding="utf-8") as table:
        for line in table.read().splitlines():
            if line and not line.startswith("#"):
                glyphs[line[0]] = line[2:]
    return glyphs


GLYPHS = read_glyphs(FONT_FILE)

CAP_ROWS = 7        # rows from the top of a capital to the baseline
LINE_ROWS = 9       # with the two rows below the baseline
LETTER_SPACING = 1  # empty columns between two glyphs


def glyph_rows(character):
    return GLYPHS[character].split(" ")


def text_width(text, scale):
    columns = sum(len(glyph_rows(c)[0]) + LETTER_SPACING for c in text) - LETTER_SPACING
    return columns * scale


def _inked_cells(text, left, top, scale):
    """The top-left corners of the scale x scale squares that make up the text."""
    x = left
    for character in text:
        rows = glyph_rows(character)
        for row, line in enumerate(rows):
            for column, mark in enumerate(line):
                if mark == "#":
                    yield x + column * scale, top + row * scale
        x += (len(rows[0]) + LETTER_SPACING) * scale


class _Mask:
    """Which pixels of a rectangle of the canvas are covered."""

    def __init__(self, left, top, width, height):
        self.left, self.top, self.width, self.height = left, top, width, height
        self.covered = bytearray(width * height)

    def fill(self, left, top, size_x, size_y):
        x0, x1 = max(left - self.left, 0), min(left - self.left + size_x, self.width)
        if x1 <= x0:
            return
        for y in range(max(top - self.top, 0), min(top - self.top + size_y, self.height)):
            self.covered[y * self.width + x0:y * self.width + x1] = b"\x01" * (x1 - x0)

    def lay_on(self, canvas, colour_at, offset=(0, 0), alpha=1.0):
        for y in range(self.height):
            row = bytes(self.covered[y * self.width:(y + 1) * self.width])
            x = row.find(1)
            while x >= 0:
                px, py = self.left + x + offset[0], self.top + y + offset[1]
                canvas.blend(px, py, colour_at(px, py), alpha)
                x = row.find(1, x + 1)


def draw_text(canvas, text, left, top, scale, fill, outline=None, outline_width=0,
              shadow=None, shadow_offset=(0, 0)):
    """Draws one line of text with its top-left at (left, top).

    `fill` is a colour or a function of the height within the capitals (0 at their top, 1 at
    the baseline) giving one; the outline surrounds every inked square by `outline_width`
    pixels; the shadow is the outlined text moved by `shadow_offset`."""
    margin = outline_width
    width = text_width(text, scale) + 2 * margin
    height = LINE_ROWS * scale + 2 * margin
    cells = list(_inked_cells(text, left, top, scale))
    ink = _Mask(left - margin, top - margin, width, height)
    rim = _Mask(left - margin, top - margin, width, height)
    for x, y in cells:
        ink.fill(x, y, scale, scale)
        rim.fill(x - outline_width, y - outline_width, scale + 2 * outline_width, scale + 2 * outline_width)
    cap_height = float(CAP_ROWS * scale)

    def fill_at(x, y):
        return fill((y - top + 0.5) / cap_height) if callable(fill) else fill

    if shadow is not None:
        rim.lay_on(canvas, lambda x, y: shadow, shadow_offset)
    if outline is not None:
        rim.lay_on(canvas, lambda x, y: outline)
    ink.lay_on(canvas, fill_at)


def draw_text_centred(canvas, text, centre_x, top, scale, fill, **style):
    draw_text(canvas, text, int(centre_x - text_width(text, scale) / 2), top, scale, fill, **style)
