"""style.py: the menu look: palette, beveled gunmetal frames, brackets, glows.

Frames are drawn as one chamfered box; the light comes from the top left, the
bevel is shaded from the box's distance gradient, and a few pixels of glow may
surround it (a transparent margin keeps room for the glow).
"""
import math

from raster import Canvas, clamp, cov, mix, noise, sd_box, sd_segment

# ---------------------------------------------------------------------------
# Palette (r, g, b)
# ---------------------------------------------------------------------------

STEEL_DARK = (20, 23, 28)
STEEL = (42, 47, 55)
AMBER = (255, 166, 48)
ORANGE = (255, 118, 24)
CYAN = (96, 222, 255)
WHITE = (240, 244, 248)
BLACK = (6, 7, 9)

LIGHT_DIR = (-0.6, -0.8)  # unit vector towards the light (top left)


def rgba(c, a=1.0):
    return (c[0], c[1], c[2], a)


# ---------------------------------------------------------------------------
# Frames
# ---------------------------------------------------------------------------


def frame(w, h, *, margin=2, cut=6, diag=True, top=STEEL, bottom=STEEL_DARK,
          rim=AMBER, rim_w=1.2, rim_a=0.9, bevel=3.0, bevel_k=0.35, inset=False,
          hair=CYAN, hair_off=4.0, hair_a=0.35, glow=None, glow_r=0.0, glow_a=0.0,
          scan=0.05, grain=5.0, seed=1, fill_a=1.0):
    """A beveled, chamfered panel filling the canvas less `margin` pixels.

    top / bottom: body gradient; rim: outer edge line; hair: a thin inner line
    `hair_off` pixels inside the edge; inset: the bevel is inverted (pressed);
    glow: a colour blooming outside the edge over `glow_r` pixels.
    """
    img = Canvas(w, h)
    cx, cy = w * 0.5, h * 0.5
    hw, hh = w * 0.5 - margin, h * 0.5 - margin
    lx, ly = LIGHT_DIR
    if inset:
        lx, ly = -lx, -ly

    def sdf(x, y):
        return sd_box(x, y, cx, cy, hw, hh, cut, diag)

    def fn(x, y):
        d = sdf(x, y)
        if d > glow_r + 1.0:
            return None
        out = None
        if glow and d > -1.0:
            t = clamp(1.0 - max(d, 0.0) / glow_r) if glow_r > 0 else 0.0
            out = (glow[0], glow[1], glow[2], glow_a * t * t)
        c = cov(d)
        if c <= 0.0:
            return out
        t = (y - margin) / max(1.0, h - 2 * margin)
        col = list(mix(top, bottom, clamp(t)))
        # scanlines and grain
        k = 1.0 - (scan if int(y) % 2 else 0.0)
        k += (noise(x, y, seed) - 0.5) * grain / 100.0
        col = [v * k for v in col]
        depth = -d
        if bevel > 0.0 and depth < bevel:
            gx = sdf(x + 0.5, y) - sdf(x - 0.5, y)
            gy = sdf(x, y + 0.5) - sdf(x, y - 0.5)
            gl = math.hypot(gx, gy) or 1.0
            shade = (gx * lx + gy * ly) / gl  # +1 on edges facing the light
            f = (1.0 - depth / bevel) * bevel_k * shade
            col = [v + (255 - v) * f if f > 0 else v * (1.0 + f) for v in col]
        if rim:
            rc = cov(abs(d + rim_w * 0.5) - rim_w * 0.5) * rim_a
            col = list(mix(col, rim, rc))
        if hair:
            hc = cov(abs(d + hair_off) - 0.5) * hair_a
            col = list(mix(col, hair, hc))
        body = (col[0], col[1], col[2], c * fill_a)
        if out is None:
            return body
        # body over glow
        a = body[3] + out[3] * (1.0 - body[3])
        if a <= 0.0:
            return None
        m = body[3] / a
        return (lerp3(out, body, m) + (a,))

    img.paint(fn)
    return img


def lerp3(c0, c1, t):
    return tuple(c0[i] + (c1[i] - c0[i]) * t for i in range(3))


# ---------------------------------------------------------------------------
# Decorations
# ---------------------------------------------------------------------------


def brackets(img, margin, arm, width, color, a=1.0):
    """L-shaped corner brackets inside the canvas edge, arm pixels long."""
    w, h = img.w, img.h
    m = margin + width * 0.5
    corners = [(m, m, 1, 1), (w - m, m, -1, 1), (m, h - m, 1, -1), (w - m, h - m, -1, -1)]
    for x, y, sx, sy in corners:
        segs = [(x, y, x + sx * arm, y), (x, y, x, y + sy * arm * min(1.0, h / w * 2.0))]
        for ax, ay, bx, by in segs:
            box = (min(ax, bx) - width - 1, min(ay, by) - width - 1,
                   max(ax, bx) + width + 1, max(ay, by) + width + 1)
            img.fill_sdf(lambda px, py, s=(ax, ay, bx, by): sd_segment(px, py, *s, width * 0.5),
                         rgba(color, a), box)


def ticks(img, x0, x1, y, step, length, color, a=0.6):
    """A row of short vertical ticks (a scale) between x0 and x1."""
    x = x0
    while x <= x1 + 0.01:
        img.fill_sdf(lambda px, py, x=x: sd_box(px, py, x, y, 0.5, length * 0.5),
                     rgba(color, a), (x - 2, y - length, x + 2, y + length))
        x += step


def glow_dot(img, cx, cy, r, color, a=1.0):
    """A soft round glow of radius r."""
    def fn(x, y):
        d = math.hypot(x - cx, y - cy) / r
        if d >= 1.0:
            return None
        t = (1.0 - d) ** 2
        return (color[0], color[1], color[2], a * t)

    img.paint(fn, (cx - r, cy - r, cx + r, cy + r))
