"""An RGBA picture in memory (straight alpha, top row first) and the ways to paint on it."""

import functools

from .png import encode_png


def made_once(maker):
    """Remembers what a picture maker made for each set of arguments and hands out copies, so
    a picture used both on its own and inside a bigger one is drawn only once."""
    made = {}

    @functools.wraps(maker)
    def copy_of(*arguments):
        if arguments not in made:
            made[arguments] = maker(*arguments)
        return made[arguments].copy()

    return copy_of


class Canvas:
    def __init__(self, width, height, fill=(0, 0, 0, 0)):
        self.width = width
        self.height = height
        self.pixels = bytearray(bytes(fill) * (width * height))

    # ------------------------------------------------------------ single pixels
    def put(self, x, y, rgba):
        if 0 <= x < self.width and 0 <= y < self.height:
            i = (y * self.width + x) * 4
            self.pixels[i:i + 4] = bytes(rgba)

    def blend(self, x, y, colour, alpha=1.0):
        """Lays `colour` over the pixel with opacity `alpha` (times the colour's own alpha)."""
        if not (0 <= x < self.width and 0 <= y < self.height):
            return
        if len(colour) == 4:
            alpha *= colour[3] / 255.0
        if alpha <= 0.0:
            return
        p = self.pixels
        i = (y * self.width + x) * 4
        if alpha >= 1.0:
            p[i:i + 4] = bytes((colour[0], colour[1], colour[2], 255))
            return
        under = p[i + 3] / 255.0
        total = alpha + under * (1.0 - alpha)
        keep = under * (1.0 - alpha) / total
        take = alpha / total
        p[i] = int(colour[0] * take + p[i] * keep + 0.5)
        p[i + 1] = int(colour[1] * take + p[i + 1] * keep + 0.5)
        p[i + 2] = int(colour[2] * take + p[i + 2] * keep + 0.5)
        p[i + 3] = int(total * 255.0 + 0.5)

    def erase(self, x, y, amount):
        """Takes away a share `amount` of the pixel's opacity."""
        if 0 <= x < self.width and 0 <= y < self.height and amount > 0.0:
            i = (y * self.width + x) * 4 + 3
            self.pixels[i] = int(self.pixels[i] * (1.0 - min(amount, 1.0)) + 0.5)

    # ------------------------------------------------------------ areas
    def fill_rows(self, top, bottom, colour_of_row):
        """Replaces whole rows: row y gets the RGBA colour `colour_of_row(y)`."""
        for y in range(max(top, 0), min(bottom, self.height)):
            start = y * self.width * 4
            self.pixels[start:start + self.width * 4] = bytes(colour_of_row(y)) * self.width

    def fill_rect(self, left, top, right, bottom, rgba):
        """Replaces the pixels of a rectangle (right and bottom excluded)."""
        left, right = max(left, 0), min(right, self.width)
        if right <= left:
            return
        run = bytes(rgba) * (right - left)
        for y in range(max(top, 0), min(bottom, self.height)):
            start = (y * self.width + left) * 4
            self.pixels[start:start + len(run)] = run

    def paint(self, shape, colour, alpha=1.0):
        """Paints a shape; `colour` is a tuple or a function of (x, y) giving one."""
        left, top, right, bottom = shape.bounds
        distance = shape.distance
        by_position = callable(colour)
        inner_left, inner_top, inner_right, inner_bottom = shape.inner or (0, 0, 0, 0)
        p = self.pixels
        # Inside a plain-coloured shape most pixels meet the same colour underneath: remember
        # what laying the colour over it gave.
        results = {}
        for y in range(max(int(top) - 1, 0), min(int(bottom) + 2, self.height)):
            cy = y + 0.5
            inside_row = inner_top <= y and y + 1 <= inner_bottom
            for x in range(max(int(left) - 1, 0), min(int(right) + 2, self.width)):
                if inside_row and inner_left <= x and x + 1 <= inner_right:
                    coverage = 1.0
                else:
                    coverage = 0.5 - distance(x + 0.5, cy)
                    if coverage <= 0.0:
                        continue
                if coverage >= 1.0 and not by_position:
                    i = (y * self.width + x) * 4
                    under = bytes(p[i:i + 4])
                    if under not in results:
                        self.blend(x, y, colour, alpha)
                        results[under] = bytes(p[i:i + 4])
                    else:
                        p[i:i + 4] = results[under]
                    continue
                self.blend(x, y, colour(x, y) if by_position else colour, alpha * min(coverage, 1.0))

    def cut(self, shape):
        """Makes the shape's pixels transparent (soft at its edge)."""
        left, top, right, bottom = shape.bounds
        for y in range(max(int(top) - 1, 0), min(int(bottom) + 2, self.height)):
            for x in range(max(int(left) - 1, 0), min(int(right) + 2, self.width)):
                self.erase(x, y, 0.5 - shape.distance(x + 0.5, y + 0.5))

    def draw(self, image, left, top, alpha=1.0):
        """Lays another canvas over this one with its top-left corner at (left, top)."""
        source = image.pixels
        first_x, last_x = max(0, -left), min(image.width, self.width - left)
        if last_x <= first_x:
            return
        span = (last_x - first_x) * 4
        for y in range(max(0, -top), min(image.height, self.height - top)):
            start = (y * image.width + first_x) * 4
            row_alpha = source[start + 3:start + span:4]
            if not any(row_alpha):
                continue
            if alpha >= 1.0 and row_alpha.count(255) == len(row_alpha):
                target = ((y + top) * self.width + first_x + left) * 4
                self.pixels[target:target + span] = source[start:start + span]
                continue
            for x in range(first_x, last_x):
                i = (y * image.width + x) * 4
                a = source[i + 3]
                if a == 255 and alpha >= 1.0:
                    j = ((y + top) * self.width + x + left) * 4
                    self.pixels[j:j + 4] = source[i:i + 4]
                elif a:
                    self.blend(x + left, y + top, source[i:i + 4], alpha)

    # ------------------------------------------------------------ whole picture
    def copy(self):
        twin = Canvas(self.width, self.height)
        twin.pixels[:] = self.pixels
        return twin

    def flipped_vertically(self):
        twin = Canvas(self.width, self.height)
        stride = self.width * 4
        for y in range(self.height):
            source = (self.height - 1 - y) * stride
            twin.pixels[y * stride:(y + 1) * stride] = self.pixels[source:source + stride]
        return twin

    def flipped_horizontally(self):
        twin = Canvas(self.width, self.height)
        for y in range(self.height):
            for x in range(self.width):
                i = (y * self.width + x) * 4
                j = (y * self.width + self.width - 1 - x) * 4
                twin.pixels[j:j + 4] = self.pixels[i:i + 4]
        return twin

    def rotated_clockwise(self):
        """The picture turned a quarter turn clockwise (width and height swap)."""
        twin = Canvas(self.height, self.width)
        for y in range(self.height):
            for x in range(self.width):
                i = (y * self.width + x) * 4
                j = (x * twin.width + (twin.width - 1 - y)) * 4
                twin.pixels[j:j + 4] = self.pixels[i:i + 4]
        return twin

    def encode(self, with_alpha):
        return encode_png(self.width, self.height, self.pixels, with_alpha)
