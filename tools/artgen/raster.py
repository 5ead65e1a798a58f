"""raster.py: a tiny RGBA canvas, signed-distance shapes and a PNG/TGA writer.

Standard library only. Shapes are signed distance functions (negative inside);
coverage is taken from the distance, which gives one pixel of anti-aliasing.
"""
import math
import struct
import zlib

# ---------------------------------------------------------------------------
# Colour helpers
# ---------------------------------------------------------------------------


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c0, c1, t):
    """Mix two colour tuples of the same length."""
    return tuple(lerp(a, b, t) for a, b in zip(c0, c1))


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def smooth(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


def cov(d):
    """Pixel coverage for a signed distance (one pixel wide edge)."""
    return clamp(0.5 - d)


def noise(x, y, seed=0):
    """Deterministic hash noise in [0, 1) for integer coordinates."""
    h = (int(x) * 374761393 + int(y) * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    h ^= h >> 16
    return (h & 0xFFFF) / 65536.0


# ---------------------------------------------------------------------------
# Signed distance shapes
# ---------------------------------------------------------------------------


def sd_box(px, py, cx, cy, hw, hh, cut=0.0, diag=False):
    """Box centred at (cx, cy) with half sizes; corners cut by `cut` pixels.

    With diag, only the top-left and bottom-right corners are cut.
    """
    dx, dy = px - cx, py - cy
    qx, qy = abs(dx) - hw, abs(dy) - hh
    d = math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0)
    if cut > 0.0 and (not diag or dx * dy > 0.0):
        d = max(d, (qx + qy + cut) * 0.70710678)
    return d


def sd_segment(px, py, ax, ay, bx, by, r):
    """Capsule of radius r around the segment a-b."""
    vx, vy = bx - ax, by - ay
    wx, wy = px - ax, py - ay
    ll = vx * vx + vy * vy
    t = clamp((wx * vx + wy * vy) / ll) if ll > 0 else 0.0
    return math.hypot(wx - vx * t, wy - vy * t) - r


def sd_circle(px, py, cx, cy, r):
    return math.hypot(px - cx, py - cy) - r


def sd_poly(px, py, pts):
    """Convex polygon, points in clockwise screen order (y down)."""
    d = -1e9
    n = len(pts)
    for i in range(n):
        ax, ay = pts[i]
        bx, by = pts[(i + 1) % n]
        ex, ey = bx - ax, by - ay
        ln = math.hypot(ex, ey)
        # outward normal for clockwise order in y-down coordinates
        nx, ny = ey / ln, -ex / ln
        d = max(d, (px - ax) * nx + (py - ay) * ny)
    return d


# ---------------------------------------------------------------------------
# Canvas
# ---------------------------------------------------------------------------


class Canvas:
    """Straight-alpha RGBA image with float channels 0..255 (alpha 0..1)."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]

    def blend(self, x, y, r, g, b, a):
        """Composite one colour over the pixel (source-over)."""
        if a <= 0.0:
            return
        p = self.px[y * self.w + x]
        da = p[3]
        oa = a + da * (1.0 - a)
        if oa <= 0.0:
            return
        k = da * (1.0 - a)
        p[0] = (r * a + p[0] * k) / oa
        p[1] = (g * a + p[1] * k) / oa
        p[2] = (b * a + p[2] * k) / oa
        p[3] = oa

    def paint(self, fn, box=None):
        """Calls fn(x, y) at pixel centres; a returned (r, g, b, a) is blended."""
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1)))
        for y in range(y0, y1):
            for x in range(x0, x1):
                c = fn(x + 0.5, y + 0.5)
                if c is not None:
                    self.blend(x, y, c[0], c[1], c[2], c[3])

    def fill_sdf(self, sdf, color, box=None):
        """Fills a shape given by its distance function with one colour."""
        r, g, b, a = color

        def fn(x, y):
            c = cov(sdf(x, y))
            return (r, g, b, a * c) if c > 0.0 else None

        self.paint(fn, box)

    def stroke_sdf(self, sdf, width, color, box=None):
        """Draws the outline band |d| <= width / 2 of a shape."""
        r, g, b, a = color
        half = width * 0.5

        def fn(x, y):
            c = cov(abs(sdf(x, y)) - half)
            return (r, g, b, a * c) if c > 0.0 else None

        self.paint(fn, box)

    def over(self, other, ox=0, oy=0, alpha=1.0):
        """Composites another canvas onto this one at (ox, oy)."""
        for y in range(other.h):
            ty = y + oy
            if not 0 <= ty < self.h:
                continue
            for x in range(other.w):
                tx = x + ox
                if 0 <= tx < self.w:
                    r, g, b, a = other.px[y * other.w + x]
                    self.blend(tx, ty, r, g, b, a * alpha)

    def rgba_bytes(self):
        out = bytearray(self.w * self.h * 4)
        i = 0
        for r, g, b, a in self.px:
            out[i] = int(clamp(r, 0, 255) + 0.5)
            out[i + 1] = int(clamp(g, 0, 255) + 0.5)
            out[i + 2] = int(clamp(b, 0, 255) + 0.5)
            out[i + 3] = int(clamp(a) * 255 + 0.5)
            i += 4
        return bytes(out)


# ---------------------------------------------------------------------------
# Writers
# ---------------------------------------------------------------------------


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filter_rows(raw, w, h):
    """PNG filtering: per row, the filter with the smallest absolute sum."""
    stride = w * 4
    out = bytearray()
    prev = bytes(stride)
    for y in range(h):
        row = raw[y * stride:(y + 1) * stride]
        best = None
        for ftype in range(5):
            f = bytearray(stride)
            for i in range(stride):
                a = row[i - 4] if i >= 4 else 0
                b = prev[i]
                c = prev[i - 4] if i >= 4 else 0
                pred = (0, a, b, (a + b) >> 1, _paeth(a, b, c))[ftype]
                f[i] = (row[i] - pred) & 0xFF
            score = sum(v if v < 128 else 256 - v for v in f)
            if best is None or score < best[0]:
                best = (score, ftype, f)
        out.append(best[1])
        out += best[2]
        prev = row
    return bytes(out)


def png_bytes(canvas):
    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = canvas.rgba_bytes()
    head = struct.pack(">IIBBBBB", canvas.w, canvas.h, 8, 6, 0, 0, 0)
    data = zlib.compress(_filter_rows(raw, canvas.w, canvas.h), 9)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", head) + chunk(b"IDAT", data)
            + chunk(b"IEND", b""))


def tga_bytes(canvas):
    """Uncompressed 32-bit TGA, top-left origin (descriptor bit 5), BGRA."""
    head = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0,
                       canvas.w, canvas.h, 32, 0x28)
    raw = canvas.rgba_bytes()
    body = bytearray(len(raw))
    body[0::4], body[1::4], body[2::4], body[3::4] = raw[2::4], raw[1::4], raw[0::4], raw[3::4]
    return head + bytes(body)
