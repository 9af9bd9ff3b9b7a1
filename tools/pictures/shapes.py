"""Shapes as signed distance functions (negative inside) with a bounding box.

Painting a shape gives every pixel the share of it that the shape covers, measured from the
distance at the pixel's centre, so edges come out smooth without supersampling. Shapes combine
with | (union), & (intersection) and - (difference)."""

import math


def _area(rectangle):
    return 0.0 if rectangle is None else (rectangle[2] - rectangle[0]) * (rectangle[3] - rectangle[1])


class Shape:
    def __init__(self, distance, bounds, inner=None):
        self.distance = distance
        self.bounds = bounds  # (left, top, right, bottom) in pixels
        # A rectangle wholly inside the shape, at least half a pixel from its edge (or None):
        # painting fills it without measuring distances.
        self.inner = inner

    def grown(self, amount):
        left, top, right, bottom = self.bounds
        inner = None
        if self.inner is not None:
            inner = (self.inner[0] - amount, self.inner[1] - amount, self.inner[2] + amount, self.inner[3] + amount)
            inner = inner if inner[0] < inner[2] and inner[1] < inner[3] else None
        return Shape(lambda x, y: self.distance(x, y) - amount,
                     (left - amount, top - amount, right + amount, bottom + amount), inner)

    def __or__(self, other):
        a, b = self.bounds, other.bounds
        inner = self.inner if _area(self.inner) >= _area(other.inner) else other.inner
        return Shape(lambda x, y: min(self.distance(x, y), other.distance(x, y)),
                     (min(a[0], b[0]), min(a[1], b[1]), max(a[2], b[2]), max(a[3], b[3])), inner)

    def __and__(self, other):
        a, b = self.bounds, other.bounds
        return Shape(lambda x, y: max(self.distance(x, y), other.distance(x, y)),
                     (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3])))

    def __sub__(self, other):
        return Shape(lambda x, y: max(self.distance(x, y), -other.distance(x, y)), self.bounds)


def circle(cx, cy, radius):
    return Shape(lambda x, y: math.hypot(x - cx, y - cy) - radius,
                 (cx - radius, cy - radius, cx + radius, cy + radius))


def ellipse(cx, cy, rx, ry):
    """An ellipse; the distance is exact on the axes and close enough elsewhere for edges."""
    small = min(rx, ry)
    return Shape(lambda x, y: (math.hypot((x - cx) / rx, (y - cy) / ry) - 1.0) * small,
                 (cx - rx, cy - ry, cx + rx, cy + ry))


def box(left, top, right, bottom, radius=0.0):
    """A rectangle from (left, top) to (right, bottom) with corners rounded by `radius`."""
    cx, cy = (left + right) / 2.0, (top + bottom) / 2.0
    hx, hy = (right - left) / 2.0 - radius, (bottom - top) / 2.0 - radius

    def distance(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - radius

    inset = radius + 0.5
    inner = (left + inset, top + inset, right - inset, bottom - inset)
    return Shape(distance, (left, top, right, bottom), inner if inner[0] < inner[2] and inner[1] < inner[3] else None)


def segment(ax, ay, bx, by, half_width):
    """A line from (ax, ay) to (bx, by) with round ends, `half_width` either side."""
    dx, dy = bx - ax, by - ay
    length_squared = dx * dx + dy * dy or 1e-9

    def distance(x, y):
        t = ((x - ax) * dx + (y - ay) * dy) / length_squared
        t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
        return math.hypot(x - ax - dx * t, y - ay - dy * t) - half_width

    return Shape(distance, (min(ax, bx) - half_width, min(ay, by) - half_width,
                            max(ax, bx) + half_width, max(ay, by) + half_width))


def polyline(points, half_width):
    shape = segment(*points[0], *points[1], half_width)
    for start, end in zip(points[1:], points[2:]):
        shape = shape | segment(*start, *end, half_width)
    return shape


def polygon(points):
    """A convex polygon; the points may run either way round."""
    area = sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]))
    ordered = points if area > 0 else list(reversed(points))
    edges = []
    for (x0, y0), (x1, y1) in zip(ordered, ordered[1:] + ordered[:1]):
        length = math.hypot(x1 - x0, y1 - y0)
        # Outward normal of an edge when the points wind with a positive area.
        edges.append((x0, y0, (y1 - y0) / length, (x0 - x1) / length))

    def distance(x, y):
        return max((x - x0) * nx + (y - y0) * ny for x0, y0, nx, ny in edges)

    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return Shape(distance, (min(xs), min(ys), max(xs), max(ys)))
