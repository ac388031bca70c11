"""A small anti-aliased rasteriser for sprite art, standard library only.

Shapes are signed distance fields: `distance(x, y)` is the distance in pixels from
the point to the shape's edge, negative inside. Painting a shape turns that
distance into coverage at each pixel centre (a one-pixel ramp across the edge
gives analytic anti-aliasing) or into a soft falloff for glows. The canvas
composites in premultiplied alpha and hands out straight-alpha bytes at the end.
"""

import math


def clamp(value, low=0.0, high=1.0):
    return low if value < low else high if value > high else value


def smoothstep(edge0, edge1, value):
    t = clamp((value - edge0) / (edge1 - edge0))
    return t * t * (3.0 - 2.0 * t)


def mix(a, b, t):
    """Componentwise linear mix of two colours (or numbers) by t in [0, 1]."""
    if isinstance(a, tuple):
        return tuple(x + (y - x) * t for x, y in zip(a, b))
    return a + (b - a) * t


def rgb(r, g, b, a=1.0):
    """A straight-alpha colour from 0-255 channels and a 0-1 alpha."""
    return (r / 255.0, g / 255.0, b / 255.0, a)


def with_alpha(colour, alpha):
    return colour[:3] + (alpha,)


# --- Shapes -----------------------------------------------------------------
# Every shape has `distance(x, y)` and `bounds` = (x0, y0, x1, y1), a box that
# holds every point with a negative distance.


class Circle:
    def __init__(self, cx, cy, radius):
        self.cx, self.cy, self.radius = cx, cy, radius
        self.bounds = (cx - radius, cy - radius, cx + radius, cy + radius)

    def distance(self, x, y):
        return math.hypot(x - self.cx, y - self.cy) - self.radius


class Box:
    """Axis-aligned rectangle from (x0, y0) to (x1, y1) with rounded corners."""

    def __init__(self, x0, y0, x1, y1, corner=0.0):
        self.cx, self.cy = (x0 + x1) / 2, (y0 + y1) / 2
        self.hw, self.hh = (x1 - x0) / 2, (y1 - y0) / 2
        self.corner = min(corner, self.hw, self.hh)
        self.bounds = (x0, y0, x1, y1)

    def distance(self, x, y):
        qx = abs(x - self.cx) - self.hw + self.corner
        qy = abs(y - self.cy) - self.hh + self.corner
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - self.corner


class Capsule:
    """The points within `radius` of the segment (x0, y0)-(x1, y1)."""

    def __init__(self, x0, y0, x1, y1, radius):
        self.a = (x0, y0)
        self.ab = (x1 - x0, y1 - y0)
        self.length2 = self.ab[0] ** 2 + self.ab[1] ** 2
        self.radius = radius
        self.bounds = (min(x0, x1) - radius, min(y0, y1) - radius,
                       max(x0, x1) + radius, max(y0, y1) + radius)

    def distance(self, x, y):
        px, py = x - self.a[0], y - self.a[1]
        t = 0.0 if self.length2 == 0 else clamp((px * self.ab[0] + py * self.ab[1]) / self.length2)
        return math.hypot(px - self.ab[0] * t, py - self.ab[1] * t) - self.radius


class Polygon:
    """A simple polygon given by its corners in order (either winding)."""

    def __init__(self, points):
        self.points = list(points)
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        self.bounds = (min(xs), min(ys), max(xs), max(ys))

    def distance(self, x, y):
        nearest2 = math.inf
        inside = False
        previous = self.points[-1]
        for current in self.points:
            ex, ey = previous[0] - current[0], previous[1] - current[1]
            wx, wy = x - current[0], y - current[1]
            t = clamp((wx * ex + wy * ey) / (ex * ex + ey * ey))
            nearest2 = min(nearest2, (wx - ex * t) ** 2 + (wy - ey * t) ** 2)
            # Even-odd crossing test of a ray going right from the point.
            if (current[1] > y) != (previous[1] > y):
                crossing_x = current[0] + (y - current[1]) * ex / ey
                if x < crossing_x:
                    inside = not inside
            previous = current
        nearest = math.sqrt(nearest2)
        return -nearest if inside else nearest


class Union:
    def __init__(self, *shapes):
        self.shapes = shapes
        self.bounds = (min(s.bounds[0] for s in shapes), min(s.bounds[1] for s in shapes),
                       max(s.bounds[2] for s in shapes), max(s.bounds[3] for s in shapes))

    def distance(self, x, y):
        return min(s.distance(x, y) for s in self.shapes)


class Intersection:
    def __init__(self, *shapes):
        self.shapes = shapes
        self.bounds = (max(s.bounds[0] for s in shapes), max(s.bounds[1] for s in shapes),
                       min(s.bounds[2] for s in shapes), min(s.bounds[3] for s in shapes))

    def distance(self, x, y):
        return max(s.distance(x, y) for s in self.shapes)


class Difference:
    """`shape` with `hole` cut out of it."""

    def __init__(self, shape, hole):
        self.shape, self.hole = shape, hole
        self.bounds = shape.bounds

    def distance(self, x, y):
        return max(self.shape.distance(x, y), -self.hole.distance(x, y))


class Grown:
    """The shape pushed outwards by `amount` pixels (inwards when negative)."""

    def __init__(self, shape, amount):
        self.shape, self.amount = shape, amount
        b = shape.bounds
        self.bounds = (b[0] - amount, b[1] - amount, b[2] + amount, b[3] + amount)

    def distance(self, x, y):
        return self.shape.distance(x, y) - self.amount


class Outline:
    """A band of `width` pixels centred on the shape's edge."""

    def __init__(self, shape, width):
        self.shape, self.half = shape, width / 2
        b = shape.bounds
        self.bounds = (b[0] - self.half, b[1] - self.half, b[2] + self.half, b[3] + self.half)

    def distance(self, x, y):
        return abs(self.shape.distance(x, y)) - self.half


# --- Edges: signed distance to coverage ---------------------------------------


def sharp_edge(distance):
    """Anti-aliased hard edge: a one-pixel ramp centred on the outline."""
    return clamp(0.5 - distance)


sharp_edge.reach = 0.5


def soft_edge(width):
    """A glow: full inside, fading smoothly to nothing `width` pixels outside."""
    def edge(distance):
        return 1.0 - smoothstep(-0.5, width, distance)
    edge.reach = width
    return edge


# --- Paints ----------------------------------------------------------------------


def linear_gradient(x0, y0, x1, y1, start, end):
    """Colour from `start` at (x0, y0) to `end` at (x1, y1), constant across."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def paint(x, y):
        return mix(start, end, clamp(((x - x0) * dx + (y - y0) * dy) / length2))
    return paint


def radial_gradient(cx, cy, radius, centre, rim):
    def paint(x, y):
        return mix(centre, rim, clamp(math.hypot(x - cx, y - cy) / radius))
    return paint


# --- Canvas ------------------------------------------------------------------------


class Canvas:
    def __init__(self, width, height):
        self.width, self.height = width, height
        # Premultiplied RGBA, row by row.
        self.pixels = [0.0] * (width * height * 4)

    def _blend_over(self, index, colour, coverage):
        alpha = colour[3] * coverage
        keep = 1.0 - alpha
        p = self.pixels
        p[index] = colour[0] * alpha + p[index] * keep
        p[index + 1] = colour[1] * alpha + p[index + 1] * keep
        p[index + 2] = colour[2] * alpha + p[index + 2] * keep
        p[index + 3] = alpha + p[index + 3] * keep

    def paint(self, shape, paint, edge=sharp_edge):
        """Composites `shape` over the canvas.

        `paint` is a straight-alpha colour tuple or a function (x, y) -> colour,
        evaluated at pixel centres; `edge` maps signed distance to coverage.
        """
        reach = edge.reach
        x0 = max(0, int(math.floor(shape.bounds[0] - reach)))
        y0 = max(0, int(math.floor(shape.bounds[1] - reach)))
        x1 = min(self.width, int(math.ceil(shape.bounds[2] + reach)))
        y1 = min(self.height, int(math.ceil(shape.bounds[3] + reach)))
        for py in range(y0, y1):
            y = py + 0.5
            for px in range(x0, x1):
                x = px + 0.5
                coverage = edge(shape.distance(x, y))
                if coverage <= 0.0:
                    continue
                colour = paint(x, y) if callable(paint) else paint
                self._blend_over((py * self.width + px) * 4, colour, coverage)

    def stroke(self, shape, width, paint):
        self.paint(Outline(shape, width), paint)

    def fill_from(self, function):
        """Replaces every pixel with function(x, y) -> straight-alpha colour."""
        for py in range(self.height):
            for px in range(self.width):
                r, g, b, a = function(px + 0.5, py + 0.5)
                i = (py * self.width + px) * 4
                self.pixels[i:i + 4] = [r * a, g * a, b * a, a]

    def to_rgba8(self):
        """Straight-alpha 8-bit RGBA; fully transparent pixels come out as (0, 0, 0, 0)."""
        out = bytearray(len(self.pixels))
        for i in range(0, len(self.pixels), 4):
            alpha = clamp(self.pixels[i + 3])
            a8 = int(round(alpha * 255))
            if a8 == 0:
                continue
            for c in range(3):
                out[i + c] = int(round(clamp(self.pixels[i + c] / alpha) * 255))
            out[i + 3] = a8
        return bytes(out)
