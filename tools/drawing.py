"""Anti-aliased sprite drawing on numpy arrays, PNG files through Pillow.

Shapes are signed distance fields: `distance(x, y)` takes arrays of coordinates and
returns the distance to the shape's edge, negative inside. Painting a shape turns
that distance into coverage at every pixel centre at once (a one-pixel ramp across
the edge gives analytic anti-aliasing) or into a soft falloff for glows. A canvas
composites in premultiplied alpha and hands out straight-alpha bytes at the end.
"""

import numpy as np
from PIL import Image


def clamp(value, low=0.0, high=1.0):
    return np.clip(value, low, high)


def smoothstep(edge0, edge1, value):
    t = clamp((value - edge0) / (edge1 - edge0))
    return t * t * (3.0 - 2.0 * t)


def mix(a, b, t):
    """Linear mix of two colours by t in [0, 1]; t may be an array, giving one colour per element."""
    a, b, t = np.asarray(a, float), np.asarray(b, float), np.asarray(t, float)
    if a.ndim == 1 and t.ndim > 0:
        t = t[..., None]
    return a + (b - a) * t


def rgb(r, g, b, a=1.0):
    """A straight-alpha colour from 0-255 channels and a 0-1 alpha."""
    return (r / 255.0, g / 255.0, b / 255.0, a)


def with_alpha(colour, alpha):
    return tuple(colour[:3]) + (alpha,)


# --- Shapes -----------------------------------------------------------------------


class Circle:
    def __init__(self, cx, cy, radius):
        self.cx, self.cy, self.radius = cx, cy, radius

    def distance(self, x, y):
        return np.hypot(x - self.cx, y - self.cy) - self.radius


class Box:
    """Axis-aligned rectangle from (x0, y0) to (x1, y1) with rounded corners."""

    def __init__(self, x0, y0, x1, y1, corner=0.0):
        self.cx, self.cy = (x0 + x1) / 2, (y0 + y1) / 2
        self.hw, self.hh = (x1 - x0) / 2, (y1 - y0) / 2
        self.corner = min(corner, self.hw, self.hh)

    def distance(self, x, y):
        qx = np.abs(x - self.cx) - self.hw + self.corner
        qy = np.abs(y - self.cy) - self.hh + self.corner
        outside = np.hypot(np.maximum(qx, 0.0), np.maximum(qy, 0.0))
        return outside + np.minimum(np.maximum(qx, qy), 0.0) - self.corner


class Ellipse:
    """Axis-aligned ellipse. The distance is the usual first-order estimate: exact on
    the edge, which is all that anti-aliasing needs, and close enough a little way off."""

    def __init__(self, cx, cy, rx, ry):
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry

    def distance(self, x, y):
        u, v = (x - self.cx) / self.rx, (y - self.cy) / self.ry
        k = np.hypot(u, v)
        gradient = np.hypot(u / self.rx, v / self.ry)
        with np.errstate(divide="ignore", invalid="ignore"):
            estimate = k * (k - 1.0) / gradient
        # The estimate is 0 / 0 right at the centre, which is as deep inside as it gets.
        return np.where(gradient > 0, estimate, -min(self.rx, self.ry))


class Capsule:
    """The points within `radius` of the segment (x0, y0)-(x1, y1)."""

    def __init__(self, x0, y0, x1, y1, radius):
        self.x0, self.y0 = x0, y0
        self.dx, self.dy = x1 - x0, y1 - y0
        self.length2 = self.dx ** 2 + self.dy ** 2
        self.radius = radius

    def distance(self, x, y):
        px, py = x - self.x0, y - self.y0
        t = 0.0 if self.length2 == 0 else clamp((px * self.dx + py * self.dy) / self.length2)
        return np.hypot(px - self.dx * t, py - self.dy * t) - self.radius


class Polygon:
    """A simple polygon given by its corners in order (either winding)."""

    def __init__(self, points):
        self.points = [(float(px), float(py)) for px, py in points]

    def distance(self, x, y):
        nearest2 = np.full(np.broadcast(x, y).shape, np.inf)
        inside = np.zeros(nearest2.shape, bool)
        previous = self.points[-1]
        for current in self.points:
            ex, ey = previous[0] - current[0], previous[1] - current[1]
            wx, wy = x - current[0], y - current[1]
            t = clamp((wx * ex + wy * ey) / (ex * ex + ey * ey))
            nearest2 = np.minimum(nearest2, (wx - ex * t) ** 2 + (wy - ey * t) ** 2)
            # Even-odd crossing test of a ray going right from each point.
            if ey != 0:
                spans = (current[1] > y) != (previous[1] > y)
                crossing_x = current[0] + (y - current[1]) * ex / ey
                inside ^= spans & (x < crossing_x)
            previous = current
        nearest = np.sqrt(nearest2)
        return np.where(inside, -nearest, nearest)


class Union:
    def __init__(self, *shapes):
        self.shapes = shapes

    def distance(self, x, y):
        return np.minimum.reduce([s.distance(x, y) for s in self.shapes])


class Intersection:
    def __init__(self, *shapes):
        self.shapes = shapes

    def distance(self, x, y):
        return np.maximum.reduce([s.distance(x, y) for s in self.shapes])


class Difference:
    """`shape` with `hole` cut out of it."""

    def __init__(self, shape, hole):
        self.shape, self.hole = shape, hole

    def distance(self, x, y):
        return np.maximum(self.shape.distance(x, y), -self.hole.distance(x, y))


class Grown:
    """The shape pushed outwards by `amount` (inwards when negative)."""

    def __init__(self, shape, amount):
        self.shape, self.amount = shape, amount

    def distance(self, x, y):
        return self.shape.distance(x, y) - self.amount


class Outline:
    """A band of `width` centred on the shape's edge."""

    def __init__(self, shape, width):
        self.shape, self.half = shape, width / 2

    def distance(self, x, y):
        return np.abs(self.shape.distance(x, y)) - self.half


# --- Edges: signed distance in pixels to coverage ------------------------------------


def sharp_edge(distance):
    """Anti-aliased hard edge: a one-pixel ramp centred on the outline."""
    return clamp(0.5 - distance)


def soft_edge(width):
    """A glow: full inside, fading smoothly to nothing `width` pixels outside."""
    def edge(distance):
        return 1.0 - smoothstep(-0.5, width, distance)
    return edge


# --- Paints: functions (x, y) -> straight-alpha colour per point -----------------------


def linear_gradient(x0, y0, x1, y1, start, end):
    """Colour from `start` at (x0, y0) to `end` at (x1, y1), constant across."""
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def paint(x, y):
        return mix(start, end, clamp(((x - x0) * dx + (y - y0) * dy) / length2))
    return paint


def radial_gradient(cx, cy, radius, centre, rim):
    def paint(x, y):
        return mix(centre, rim, clamp(np.hypot(x - cx, y - cy) / radius))
    return paint


# --- Canvas ---------------------------------------------------------------------------


class Canvas:
    """Premultiplied RGBA pixels plus the drawing coordinates of every pixel centre.

    Drawing coordinates start out as pixels with y downwards; `placed` gives a view
    of the same pixels in moved, scaled and turned coordinates, so a drawing made
    for one sprite can be reused inside another.
    """

    def __init__(self, width, height):
        self.width, self.height = width, height
        self.pixels = np.zeros((height, width, 4))
        self.y, self.x = np.mgrid[0:height, 0:width] + 0.5
        self.scale = 1.0  # pixels per drawing unit

    def placed(self, x, y, scale=1.0, angle=0.0, origin=(0.0, 0.0)):
        """A view whose point `origin` lands on (x, y) of this canvas, `scale` times as
        large and turned clockwise (on screen) by `angle` degrees."""
        view = Canvas.__new__(Canvas)
        view.width, view.height, view.pixels = self.width, self.height, self.pixels
        turn = np.radians(angle)
        c, s = np.cos(turn), np.sin(turn)
        dx, dy = self.x - x, self.y - y
        view.x = origin[0] + (c * dx + s * dy) / scale
        view.y = origin[1] + (-s * dx + c * dy) / scale
        view.scale = self.scale * scale
        return view

    def _colour(self, paint):
        if callable(paint):
            return paint(self.x, self.y)
        return np.asarray(paint, float)

    def paint(self, shape, paint, edge=sharp_edge):
        """Composites `shape` over the canvas.

        `paint` is a straight-alpha colour tuple or a function (x, y) -> colours,
        evaluated at pixel centres; `edge` maps signed distance in pixels to coverage.
        """
        coverage = edge(shape.distance(self.x, self.y) * self.scale)
        colour = self._colour(paint)
        alpha = colour[..., 3] * coverage
        keep = 1.0 - alpha
        p = self.pixels
        p[..., :3] = colour[..., :3] * alpha[..., None] + p[..., :3] * keep[..., None]
        p[..., 3] = alpha + p[..., 3] * keep

    def stroke(self, shape, width, paint):
        self.paint(Outline(shape, width), paint)

    def fill_from(self, function):
        """Replaces every pixel with function(x, y) -> straight-alpha colours."""
        colour = np.broadcast_to(function(self.x, self.y), self.pixels.shape)
        self.pixels[..., :3] = colour[..., :3] * colour[..., 3:]
        self.pixels[..., 3] = colour[..., 3]

    @classmethod
    def filled(cls, width, height, function):
        """A new canvas whose every pixel is function(x, y) -> straight-alpha colours."""
        canvas = cls(width, height)
        canvas.fill_from(function)
        return canvas

    def to_rgba8(self):
        """Straight-alpha 8-bit RGBA; fully transparent pixels come out as (0, 0, 0, 0)."""
        alpha = clamp(self.pixels[..., 3])
        a8 = np.rint(alpha * 255)
        visible = a8 > 0
        straight = self.pixels[..., :3] / np.where(visible, alpha, 1.0)[..., None]
        out = np.zeros(self.pixels.shape, np.uint8)
        out[..., :3] = np.where(visible[..., None], np.rint(clamp(straight) * 255), 0)
        out[..., 3] = a8
        return out


# --- Colour bleeding --------------------------------------------------------------------

_NEIGHBOURS = [(dy, dx) for dy in (-1, 0, 1) for dx in (-1, 0, 1) if (dy, dx) != (0, 0)]


def bleed(rgba):
    """Gives every fully transparent pixel the colour of the nearest visible ones.

    Linear filtering mixes a sprite's edge pixels with their transparent neighbours;
    with straight alpha those neighbours' colour shows as a dark fringe unless it
    matches the sprite. The colour spreads outwards one ring of pixels per pass, each
    new pixel taking the mean of its already coloured neighbours, until the whole
    transparent area is filled. Alpha is left as it is.
    """
    out = rgba.copy()
    height, width = out.shape[:2]
    known = out[..., 3] > 0
    if not known.any():
        return out
    colour = out[..., :3].astype(float)
    while not known.all():
        total = np.zeros_like(colour)
        count = np.zeros(known.shape)
        padded_colour = np.pad(colour * known[..., None], ((1, 1), (1, 1), (0, 0)))
        padded_known = np.pad(known, 1).astype(float)
        for dy, dx in _NEIGHBOURS:
            total += padded_colour[1 + dy:1 + dy + height, 1 + dx:1 + dx + width]
            count += padded_known[1 + dy:1 + dy + height, 1 + dx:1 + dx + width]
        fresh = ~known & (count > 0)
        colour[fresh] = total[fresh] / count[fresh][:, None]
        known |= fresh
    out[..., :3] = np.where(out[..., 3:] > 0, out[..., :3], np.rint(colour).astype(np.uint8))
    return out


# --- Files ------------------------------------------------------------------------------


def save_png(path, rgba):
    Image.fromarray(np.ascontiguousarray(rgba, np.uint8), "RGBA").save(path, optimize=True)


def load_png(path):
    """The image as an 8-bit RGBA array of shape (height, width, 4)."""
    with Image.open(path) as image:
        return np.asarray(image.convert("RGBA"))
