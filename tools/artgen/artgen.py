#!/usr/bin/env python3
"""artgen.py: generates the menu textures of the asset root (assets/menu/).

    python3 tools/artgen/artgen.py [--out DIR] [--sheet FILE.png] [--only NAME ...]

Every texture is drawn procedurally and deterministically, so running the tool
twice gives byte-identical files. --sheet also writes a contact sheet of all
textures (for looking at them, not shipped).
"""
import argparse
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from raster import (Canvas, clamp, cov, mix, noise, png_bytes, sd_box, sd_circle,  # noqa: E402
                    sd_poly, sd_segment, smooth, tga_bytes)
from style import (AMBER, BLACK, CYAN, ORANGE,  # noqa: E402
                   WHITE, brackets, frame, glow_dot, rgba, ticks)
import font  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# ---------------------------------------------------------------------------
# Buttons (256 x 64, 6 px of transparent margin for the hover glow)
# ---------------------------------------------------------------------------

BTN_W, BTN_H, BTN_M = 256, 64, 6


def btn_base():
    return frame(BTN_W, BTN_H, margin=BTN_M, cut=12, top=(50, 56, 66), bottom=(24, 27, 33),
                 rim=(150, 110, 60), rim_a=0.8, hair=CYAN, hair_off=4.0, hair_a=0.18)


def btn_hover():
    img = frame(BTN_W, BTN_H, margin=BTN_M, cut=12, top=(78, 70, 58), bottom=(40, 34, 28),
                rim=AMBER, rim_w=2.0, rim_a=1.0, hair=CYAN, hair_off=4.0, hair_a=0.45,
                glow=ORANGE, glow_r=6.0, glow_a=0.55, bevel_k=0.45)
    # a bright bar along the left edge marks the focused choice
    img.fill_sdf(lambda x, y: sd_box(x, y, BTN_M + 9, BTN_H * 0.5, 2.0, BTN_H * 0.5 - 16),
                 rgba(AMBER, 0.95))
    return img


def btn_pressed():
    img = frame(BTN_W, BTN_H, margin=BTN_M, cut=12, top=(16, 18, 22), bottom=(40, 36, 30),
                rim=ORANGE, rim_w=1.5, rim_a=1.0, inset=True, bevel=4.0, bevel_k=0.5,
                hair=AMBER, hair_off=4.0, hair_a=0.35)
    img.fill_sdf(lambda x, y: sd_box(x, y, BTN_M + 9, BTN_H * 0.5, 2.0, BTN_H * 0.5 - 16),
                 rgba(ORANGE, 1.0))
    return img


def btn_disabled():
    return frame(BTN_W, BTN_H, margin=BTN_M, cut=12, top=(34, 36, 40), bottom=(22, 23, 26),
                 rim=(70, 74, 80), rim_a=0.8, hair=None, grain=3.0, fill_a=0.85)


def btn_bracket():
    img = Canvas(BTN_W, BTN_H)
    brackets(img, BTN_M + 2, 18, 2.0, CYAN, 0.75)
    return img


# ---------------------------------------------------------------------------
# Square buttons and arrows (48 x 48): the arrow image is the base, the hover and
# pressed images are translucent overlays drawn over it.
# ---------------------------------------------------------------------------

SQ = 48


def sq_frame():
    return frame(SQ, SQ, margin=3, cut=7, top=(50, 56, 66), bottom=(24, 27, 33),
                 rim=(150, 110, 60), rim_a=0.8, hair=None)


ARROWS = {
    "up": [(24, 14), (34, 30), (14, 30)],
    "down": [(14, 18), (34, 18), (24, 34)],
    "left": [(14, 24), (30, 14), (30, 34)],
    "right": [(18, 14), (34, 24), (18, 34)],
}


def arrow(direction):
    def make():
        img = sq_frame()
        pts = ARROWS[direction]
        glow_dot(img, 24, 24, 16, AMBER, 0.25)
        img.fill_sdf(lambda x, y: sd_poly(x, y, pts) - 1.0, rgba(AMBER, 1.0))
        return img
    return make


def sq_hover():
    img = Canvas(SQ, SQ)
    hi = frame(SQ, SQ, margin=3, cut=7, top=(255, 200, 120), bottom=(255, 150, 60),
               rim=AMBER, rim_w=2.0, rim_a=1.0, hair=None, bevel=0, scan=0.0, grain=0.0,
               glow=ORANGE, glow_r=3.0, glow_a=0.6)
    # keep the rim, make the body a faint warm tint so the glyph shows through
    for i, p in enumerate(hi.px):
        x, y = i % SQ, i // SQ
        d = sd_box(x + 0.5, y + 0.5, 24, 24, 21, 21, 7, True)
        if d < -2.5:
            p[3] *= 0.16
    img.over(hi)
    return img


def sq_pressed():
    img = Canvas(SQ, SQ)
    sh = frame(SQ, SQ, margin=3, cut=7, top=(0, 0, 0), bottom=(30, 20, 10), rim=ORANGE,
               rim_w=2.0, rim_a=1.0, inset=True, bevel=4.0, bevel_k=0.6, hair=None,
               scan=0.0, grain=0.0)
    for i, p in enumerate(sh.px):
        x, y = i % SQ, i // SQ
        d = sd_box(x + 0.5, y + 0.5, 24, 24, 21, 21, 7, True)
        if d < -4.0:
            p[3] *= 0.35
    img.over(sh)
    return img


# ---------------------------------------------------------------------------
# Panels, dialogs, frames of lists and edits
# ---------------------------------------------------------------------------


def dialog_frame(w, h):
    """A dialog background; titles sit on a separate title_bar.png."""
    def make():
        img = frame(w, h, margin=2, cut=16, top=(34, 38, 45), bottom=(16, 18, 22),
                    rim=(120, 90, 52), rim_w=1.5, rim_a=0.9, hair=CYAN, hair_off=5.0,
                    hair_a=0.2, bevel=3.0)
        img.fill_sdf(lambda x, y: sd_box(x, y, w * 0.5, 4.0, w * 0.25, 1.2), rgba(AMBER, 0.9))
        brackets(img, 5, 28, 2.0, AMBER, 0.9)
        return img
    return make


def panel_inset():
    return frame(256, 256, margin=1, cut=8, top=(12, 14, 17), bottom=(20, 23, 28),
                 rim=(60, 68, 80), rim_w=1.0, inset=True, bevel=3.0, bevel_k=0.45,
                 hair=None, scan=0.08)


# List and edit frames are drawn over their text (the control's members draw
# after it), so their inside is only a light tint.
def list_frame():
    img = frame(256, 256, margin=1, cut=8, top=(10, 12, 15), bottom=(16, 19, 23),
                rim=(54, 120, 140), rim_w=1.0, rim_a=0.9, inset=True, bevel=3.0,
                bevel_k=0.4, hair=None, scan=0.10, fill_a=0.25)
    brackets(img, 3, 14, 1.5, CYAN, 0.7)
    return img


def edit_frame():
    return frame(256, 32, margin=1, cut=5, top=(8, 10, 12), bottom=(18, 21, 25),
                 rim=(54, 120, 140), rim_w=1.0, rim_a=0.9, inset=True, bevel=3.0,
                 bevel_k=0.45, hair=None, scan=0.10, fill_a=0.25)


def title_bar():
    img = Canvas(256, 32)

    def fn(x, y):
        d = sd_box(x, y, 128, 16, 124, 12, 10, True)
        c = cov(d)
        if c <= 0:
            return None
        fade = smooth(0, 60, x) * smooth(256, 150, x)
        col = mix((120, 78, 30), (50, 34, 18), y / 32)
        k = 1.0 - (0.08 if int(y) % 2 else 0.0)
        return (col[0] * k, col[1] * k, col[2] * k, c * (0.35 + 0.6 * fade))

    img.paint(fn)
    img.fill_sdf(lambda x, y: sd_box(x, y, 128, 28.5, 120, 0.6), rgba(AMBER, 0.9))
    return img


def line_h():
    img = Canvas(256, 8)

    def fn(x, y):
        t = 1.0 - abs(x - 128) / 128
        core = cov(abs(y - 4) - 0.6)
        halo = clamp(1.0 - abs(y - 4) / 4) ** 2 * 0.35
        a = (core + halo) * t
        col = mix(ORANGE, AMBER, t)
        return (col[0], col[1], col[2], clamp(a)) if a > 0 else None

    img.paint(fn)
    return img


def solid_white():
    img = Canvas(8, 8)
    img.paint(lambda x, y: (255, 255, 255, 1.0))
    return img


def highlight_bar():
    """A horizontal glow bar for selected rows and hovered areas (tinted by colour)."""
    img = Canvas(128, 32)

    def fn(x, y):
        v = clamp(1.0 - abs(y - 16) / 16) ** 1.5
        h = smooth(0, 24, x) * smooth(128, 104, x)
        return (255, 255, 255, v * h * 0.9)

    img.paint(fn)
    return img


# ---------------------------------------------------------------------------
# Sliders
# ---------------------------------------------------------------------------


def slider_track(horizontal):
    w, h = (256, 16) if horizontal else (16, 256)

    def make():
        img = frame(w, h, margin=2, cut=3, top=(6, 7, 9), bottom=(22, 25, 30),
                    rim=(54, 120, 140), rim_w=1.0, rim_a=0.8, inset=True, bevel=2.0,
                    bevel_k=0.5, hair=None, scan=0.0)
        if horizontal:
            ticks(img, 10, 246, 8, 23.6, 4, CYAN, 0.35)
        else:
            for i in range(11):
                y = 10 + i * 23.6
                img.fill_sdf(lambda px, py, y=y: sd_box(px, py, 8, y, 2, 0.5),
                             rgba(CYAN, 0.35), (4, y - 2, 12, y + 2))
        return img
    return make


def slider_thumb(horizontal):
    w, h = (16, 32) if horizontal else (32, 16)

    def make():
        img = frame(w, h, margin=1, cut=3, top=(255, 190, 90), bottom=(200, 100, 20),
                    rim=(255, 230, 180), rim_w=1.0, rim_a=0.9, bevel=2.5, bevel_k=0.5,
                    hair=None, scan=0.0, grain=4.0)
        if horizontal:
            for x in (6, 8, 10):
                img.fill_sdf(lambda px, py, x=x: sd_box(px, py, x, 16, 0.4, 7),
                             rgba(BLACK, 0.45))
        else:
            for y in (6, 8, 10):
                img.fill_sdf(lambda px, py, y=y: sd_box(px, py, 16, y, 7, 0.4),
                             rgba(BLACK, 0.45))
        return img
    return make


# ---------------------------------------------------------------------------
# Check / rotate states
# ---------------------------------------------------------------------------


def check(on):
    def make():
        img = frame(32, 32, margin=2, cut=5, top=(12, 14, 17), bottom=(24, 27, 32),
                    rim=(150, 110, 60) if not on else AMBER, rim_w=1.2, inset=True,
                    bevel=2.5, bevel_k=0.4, hair=None, scan=0.0)
        if on:
            glow_dot(img, 16, 16, 13, ORANGE, 0.5)
            img.fill_sdf(lambda x, y: sd_box(x, y, 16, 16, 6.5, 6.5, 3, True),
                         rgba(AMBER, 1.0))
            img.fill_sdf(lambda x, y: sd_box(x, y, 14.5, 14.5, 2.5, 2.0), rgba(WHITE, 0.6))
        else:
            img.stroke_sdf(lambda x, y: sd_box(x, y, 16, 16, 6.5, 6.5, 3, True), 1.0,
                           rgba((90, 96, 104), 0.8))
        return img
    return make


# ---------------------------------------------------------------------------
# Icons (64 x 64, amber glyph on a transparent ground with a soft glow)
# ---------------------------------------------------------------------------


def icon(shape_sdf, color=AMBER):
    def make():
        img = Canvas(64, 64)
        # soft halo, then the glyph with a darker outline for contrast
        img.paint(lambda x, y: (lambda d: (color[0], color[1], color[2],
                                           0.35 * clamp(1.0 - d / 6.0) ** 2)
                                if 0 < d < 6 else None)(shape_sdf(x, y)))
        img.fill_sdf(lambda x, y: shape_sdf(x, y) - 1.0, rgba(BLACK, 0.7))
        img.fill_sdf(shape_sdf, rgba(color, 1.0))
        return img
    return make


def icon_single_sdf(x, y):
    """A mech head seen from the front: helmet, visor slit, chin guard."""
    helm = sd_box(x, y, 32, 30, 16, 14, 7)
    visor = sd_box(x, y, 32, 28, 11, 2.5)
    chin = sd_poly(x, y, [(22, 44), (42, 44), (36, 54), (28, 54)])
    antenna = sd_segment(x, y, 42, 16, 48, 8, 1.5)
    return min(max(helm, -visor), chin, antenna)


def icon_multi_sdf(x, y):
    """Three chevrons: a squad."""
    d = 1e9
    for cx, cy, s in ((32, 22, 1.0), (18, 40, 0.8), (46, 40, 0.8)):
        pts = [(cx - 10 * s, cy + 6 * s), (cx, cy - 6 * s), (cx + 10 * s, cy + 6 * s)]
        for (ax, ay), (bx, by) in zip(pts, pts[1:]):
            d = min(d, sd_segment(x, y, ax, ay, bx, by, 3.0 * s))
    return d


def icon_options_sdf(x, y):
    """A gear: a ring with eight teeth."""
    dx, dy = x - 32, y - 32
    r = math.hypot(dx, dy)
    a = math.atan2(dy, dx)
    teeth = 3.5 * smooth(0.2, 0.5, abs(math.cos(a * 4.0)))
    outer = r - (17 + teeth)
    return max(outer, 8 - r)


def icon_exit_sdf(x, y):
    """A power symbol: an open ring and a bar."""
    dx, dy = x - 32, y - 34
    r = math.hypot(dx, dy)
    ring = abs(r - 15) - 3
    gap = -(abs(dx) - 7) if dy < 0 else -1e9
    ring = max(ring, gap)
    bar = sd_segment(x, y, 32, 12, 32, 32, 3)
    return min(ring, bar)


def icon_info_sdf(x, y):
    ring = abs(sd_circle(x, y, 32, 32, 22)) - 2.5
    dot = sd_circle(x, y, 32, 21, 3.5)
    stem = sd_box(x, y, 32, 38, 3, 10)
    return min(ring, dot, stem)


def icon_warning_sdf(x, y):
    tri = sd_poly(x, y, [(32, 8), (58, 54), (6, 54)])
    inner = sd_poly(x, y, [(32, 18), (49, 49), (15, 49)])
    ring = max(tri, -inner)
    bar = sd_box(x, y, 32, 33, 2.5, 8)
    dot = sd_circle(x, y, 32, 45, 2.8)
    return min(ring, bar, dot)


# ---------------------------------------------------------------------------
# Logo plate (512 x 128)
# ---------------------------------------------------------------------------


def logo():
    w, h = 512, 128
    img = frame(w, h, margin=4, cut=22, top=(30, 33, 39), bottom=(12, 13, 16),
                rim=(140, 100, 50), rim_w=1.5, hair=CYAN, hair_off=6.0, hair_a=0.25,
                glow=ORANGE, glow_r=4.0, glow_a=0.25, scan=0.08)
    title = "KORVO"
    size = 62
    tx = (w - font.text_width(title, size, 2.0)) * 0.5
    segs = font.text_segments(title, tx, 22, size, 2.0)
    sdf = font.text_sdf(segs, 5.0)
    box = font.segs_box(segs, 14)
    # glow, dark outline, amber letters with a bright top edge
    img.paint(lambda x, y: (lambda d: (ORANGE[0], ORANGE[1], ORANGE[2],
                                       0.45 * clamp(1 - d / 12) ** 2) if 0 < d < 12 else None)
              (sdf(x, y)), box)
    img.fill_sdf(lambda x, y: sdf(x, y) - 1.5, rgba(BLACK, 0.9), box)

    def letters(x, y):
        d = sdf(x, y)
        c = cov(d)
        if c <= 0:
            return None
        col = mix((255, 220, 140), ORANGE, clamp((y - 22) / size))
        return (col[0], col[1], col[2], c)

    img.paint(letters, box)
    sub = "ARMORED ASSAULT COMMAND"
    ssize = 10
    sx = (w - font.text_width(sub, ssize, 2.5)) * 0.5
    ssegs = font.text_segments(sub, sx, 98, ssize, 2.5)
    img.fill_sdf(font.text_sdf(ssegs, 1.0), rgba(CYAN, 0.9), font.segs_box(ssegs, 3))
    for x0, x1 in ((30, sx - 12), (sx + font.text_width(sub, ssize, 2.5) + 12, w - 30)):
        img.fill_sdf(lambda x, y, a=x0, b=x1: sd_box(x, y, (a + b) / 2, 103, (b - a) / 2, 0.6),
                     rgba(CYAN, 0.5))
    return img


# ---------------------------------------------------------------------------
# Main menu background (512 x 384, stretched to the screen)
# ---------------------------------------------------------------------------

BG_W, BG_H, HORIZON = 512, 384, 262


def hex_edge(x, y, size):
    """Distance (in cells) of a point from the nearest hexagon edge."""
    sx, sy = 1.0, 1.7320508
    px, py = x / size, y / size

    def cell(ox, oy):
        ax = (px - ox) % sx - sx * 0.5
        ay = (py - oy) % sy - sy * 0.5
        return ax, ay

    a = cell(0, 0)
    b = cell(0.5, 0.8660254)
    gx, gy = a if a[0] ** 2 + a[1] ** 2 < b[0] ** 2 + b[1] ** 2 else b
    gx, gy = abs(gx), abs(gy)
    return 0.5 - max(gx, gx * 0.5 + gy * 0.8660254)


def mech_sdf(x, y):
    """A stylised walker mech on the horizon, facing left, with reverse-jointed legs."""
    if not (250 <= x <= 470 and 80 <= y <= 300):
        return 1e9
    parts = [
        sd_poly(x, y, [(338, 128), (414, 120), (424, 150), (404, 182), (350, 182),
                       (332, 152)]),                                       # torso
        sd_poly(x, y, [(336, 110), (372, 104), (380, 128), (340, 132), (322, 122)]),  # cockpit
        sd_box(x, y, 332, 138, 15, 13, 6, True),                          # front shoulder
        sd_box(x, y, 420, 128, 18, 15, 6, True),                          # back shoulder
        sd_box(x, y, 426, 104, 20, 10, 4),                                # missile pod
        sd_segment(x, y, 328, 148, 320, 178, 8),                          # front arm
        sd_box(x, y, 298, 184, 26, 6, 3),                                 # front gun
        sd_box(x, y, 266, 184, 8, 2.5),                                   # its barrel
        sd_segment(x, y, 424, 142, 430, 174, 9),                          # back arm
        sd_box(x, y, 414, 184, 28, 7, 3),                                 # cannon
        sd_box(x, y, 378, 190, 24, 9, 4),                                 # hips
        sd_segment(x, y, 362, 194, 340, 228, 10),                         # thighs
        sd_segment(x, y, 396, 194, 410, 226, 10),
        sd_segment(x, y, 340, 228, 358, 262, 7.5),                        # shins
        sd_segment(x, y, 410, 226, 422, 260, 7.5),
        sd_segment(x, y, 358, 262, 350, 284, 5.5),                        # ankles
        sd_segment(x, y, 422, 260, 416, 284, 5.5),
        sd_box(x, y, 346, 288, 20, 4, 2, True),                           # feet
        sd_box(x, y, 412, 288, 19, 4, 2, True),
        sd_segment(x, y, 396, 118, 404, 86, 1.2),                         # antenna
    ]
    return min(parts)


def background():
    img = Canvas(BG_W, BG_H)
    vx = 200  # vanishing point of the floor grid

    def fn(x, y):
        # sky: dark gradient with a faint hex grid
        if y < HORIZON:
            t = y / HORIZON
            col = list(mix((6, 8, 12), (28, 30, 36), t ** 1.6))
            e = hex_edge(x, y, 22.0)
            line = clamp(1.0 - e / 0.03) * (0.08 + 0.12 * t)
            col = list(mix(col, CYAN, line * 0.6))
        else:
            t = (y - HORIZON) / (BG_H - HORIZON)
            col = list(mix((30, 24, 20), (8, 9, 11), t ** 0.5))
            # perspective floor grid: depth z = 160 / dy, across wx = 4 (x - vx) / dy;
            # distances to the grid lines are converted back to screen pixels
            dy = y - HORIZON
            z = 160.0 / dy
            wx = 4.0 * (x - vx) / dy
            fx = abs(wx - round(wx)) / (4.0 / dy)
            fz = abs(z - round(z)) / (160.0 / (dy * dy))
            g = max(clamp(1.0 - fx / 0.8), clamp(1.0 - fz / 0.8)) * clamp(t * 4.0)
            col = list(mix(col, ORANGE, g * 0.35 * (1.0 - 0.6 * t)))
        # horizon glow
        hz = math.exp(-((y - HORIZON) / 7.0) ** 2)
        hx = math.exp(-((x - 360) / 260.0) ** 2)
        col = list(mix(col, ORANGE, hz * hx * 0.75))
        col = list(mix(col, AMBER, math.exp(-((y - HORIZON) / 30.0) ** 2) * hx * 0.18))
        # vignette, scanlines, grain
        vx_, vy_ = (x - BG_W * 0.5) / (BG_W * 0.5), (y - BG_H * 0.5) / (BG_H * 0.5)
        v = 1.0 - 0.55 * clamp((vx_ * vx_ + vy_ * vy_) * 0.5) ** 1.3
        k = v * (0.93 if int(y) % 2 else 1.0) * (0.97 + noise(x, y, 7) * 0.06)
        return (col[0] * k, col[1] * k, col[2] * k, 1.0)

    img.paint(fn)

    # the mech: near-black body, a warm rim from the horizon glow behind it
    def mech(x, y):
        d = mech_sdf(x, y)
        if d > 1.0:
            return None
        gx = mech_sdf(x + 0.5, y) - mech_sdf(x - 0.5, y)
        gy = mech_sdf(x, y + 0.5) - mech_sdf(x, y - 0.5)
        gl = math.hypot(gx, gy) or 1.0
        facing = clamp(0.5 + 0.5 * (gy / gl))  # edges facing down catch the glow
        rim = clamp(1.0 + d / 1.8) * (0.3 + 0.4 * facing + 0.3 * clamp((y - 120) / 160))
        col = mix((10, 11, 14), (20, 22, 27), clamp((y - 90) / 200))
        col = mix(col, ORANGE, rim * 0.75)
        return (col[0], col[1], col[2], cov(d))

    img.paint(mech, (250, 80, 470, 300))
    # panel seams, missile hatches and a cyan visor slit
    for seg in ((346, 150, 412, 144), (380, 124, 386, 180), (342, 120, 370, 116)):
        img.fill_sdf(lambda x, y, s=seg: sd_segment(x, y, *s, 0.5), rgba((64, 68, 78), 0.8),
                     (300, 100, 460, 200))
    for mx in (414, 424, 434):
        img.fill_sdf(lambda x, y, mx=mx: sd_circle(x, y, mx, 104, 2.6), rgba((60, 40, 24), 1.0),
                     (mx - 4, 100, mx + 4, 108))
    glow_dot(img, 334, 118, 14, CYAN, 0.45)
    img.fill_sdf(lambda x, y: sd_segment(x, y, 326, 120, 344, 117, 1.3), rgba((200, 248, 255), 1.0),
                 (320, 112, 350, 125))
    # shadow on the floor
    img.paint(lambda x, y: (0, 0, 0, 0.55 * clamp(1.0 - ((x - 380) / 80) ** 2
                                                  - ((y - 292) / 8) ** 2)),
              (280, 282, 470, 302))
    return img


# ---------------------------------------------------------------------------
# Single player: the mission map's box and the briefing's random-character picture
# ---------------------------------------------------------------------------


def mission_box():
    """A square map marker: a framed target ring with a crosshair."""
    img = sq_frame()
    glow_dot(img, 24, 24, 15, CYAN, 0.3)
    img.fill_sdf(lambda x, y: abs(sd_circle(x, y, 24, 24, 10.5)) - 1.3, rgba(CYAN, 0.95))
    for seg in ((24, 8, 24, 16), (24, 32, 24, 40), (8, 24, 16, 24), (32, 24, 40, 24)):
        img.fill_sdf(lambda x, y, s=seg: sd_segment(x, y, *s, 1.0), rgba(AMBER, 1.0))
    return img


# The mission map: the theatre of the campaign seen from above, behind the
# mission boxes. Sized for the map panel of SELECTMISSIONMENU (x 0.039, y 0.104,
# 0.570 x 0.620 of the screen); the route joins the boxes (0.086 x 0.068), given
# by their corners on the screen as the UI script places them.
MAP_W, MAP_H = 512, 416
MAP_PANEL = (0.039, 0.104, 0.570, 0.620)
MISSION_BOXES = {
    "00": (0.055, 0.140), "01": (0.166, 0.140), "02": (0.277, 0.140), "03": (0.388, 0.140),
    "04": (0.499, 0.140), "05u": (0.195, 0.275), "05l": (0.195, 0.405), "06u": (0.335, 0.275),
    "06l": (0.335, 0.405), "07u": (0.475, 0.275), "07l": (0.475, 0.405), "08": (0.499, 0.560),
    "09": (0.388, 0.560), "10": (0.277, 0.560), "11": (0.166, 0.560), "12": (0.055, 0.560),
}
MISSION_ROUTE = [("00", "01"), ("01", "02"), ("02", "03"), ("03", "04"), ("04", "05u"), ("04", "05l"),
                 ("05u", "06u"), ("06u", "07u"), ("05l", "06l"), ("06l", "07l"), ("07u", "08"),
                 ("07l", "08"), ("08", "09"), ("09", "10"), ("10", "11"), ("11", "12")]


def box_centre(key):
    """A mission box's centre in the map picture's pixels."""
    x, y = MISSION_BOXES[key]
    px, py, pw, ph = MAP_PANEL
    return (x + 0.043 - px) / pw * MAP_W, (y + 0.034 - py) / ph * MAP_H


def mission_map():
    img = Canvas(MAP_W, MAP_H)

    def height(x, y):
        def vn(cell, seed):
            gx, gy = x / cell, y / cell
            ix, iy = math.floor(gx), math.floor(gy)
            fx, fy = smooth(0, 1, gx - ix), smooth(0, 1, gy - iy)
            a, b = noise(ix, iy, seed), noise(ix + 1, iy, seed)
            c, d = noise(ix, iy + 1, seed), noise(ix + 1, iy + 1, seed)
            return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy
        return 0.6 * vn(96, 41) + 0.3 * vn(40, 42) + 0.1 * vn(16, 43)

    def fn(x, y):
        h = height(x, y)
        if h < 0.38:      # sea: darker towards the deep
            col = mix((8, 14, 22), (16, 28, 40), h / 0.38)
        else:             # land: dark steel rising to a warm grey
            col = mix((26, 30, 34), (58, 54, 48), clamp((h - 0.38) / 0.45))
        # contour lines, the shore brighter
        band = abs((h * 12) % 1.0 - 0.5)
        if band < 0.05:
            col = mix(col, CYAN, 0.18)
        if abs(h - 0.38) < 0.006:
            col = mix(col, CYAN, 0.45)
        # a grid of map squares
        if int(x) % 64 == 0 or int(y) % 52 == 0:
            col = mix(col, CYAN, 0.12)
        # vignette towards the panel's edge
        vx, vy = (x - MAP_W / 2) / (MAP_W / 2), (y - MAP_H / 2) / (MAP_H / 2)
        k = 1.0 - 0.35 * clamp((vx * vx + vy * vy) * 0.5)
        return (col[0] * k, col[1] * k, col[2] * k, 1.0)
    img.paint(fn)

    # the route of the campaign: a dashed amber line between the boxes
    for a, b in MISSION_ROUTE:
        (ax, ay), (bx, by) = box_centre(a), box_centre(b)
        length = math.hypot(bx - ax, by - ay)
        dashes = max(1, int(length / 14))
        for i in range(dashes):
            t0, t1 = i / dashes, (i + 0.55) / dashes
            sx, sy = ax + (bx - ax) * t0, ay + (by - ay) * t0
            ex, ey = ax + (bx - ax) * t1, ay + (by - ay) * t1
            box = (int(min(sx, ex)) - 3, int(min(sy, ey)) - 3, int(max(sx, ex)) + 4, int(max(sy, ey)) + 4)
            img.fill_sdf(lambda x, y, s=(sx, sy, ex, ey): sd_segment(x, y, *s, 1.2), rgba(AMBER, 0.55), box)
    brackets(img, 4, 24, 2.0, CYAN, 0.7)
    return img


# ---------------------------------------------------------------------------
# Catalogue: file name -> (maker, what it is for). Names are what the UI script uses.
# ---------------------------------------------------------------------------

TEXTURES = {
    "bg_main.png": (background, "main menu background, full screen"),
    "logo.png": (logo, "title plate of the main menu"),
    "dlg_frame.png": (dialog_frame(512, 384), "dialog background, 4:3 and larger dialogs"),
    "dlg_frame_wide.png": (dialog_frame(512, 192), "wide dialog (message boxes, console)"),
    "panel_inset.png": (panel_inset, "sunken sub-panel inside a dialog"),
    "title_bar.png": (title_bar, "banner behind a screen title"),
    "line_h.png": (line_h, "glowing horizontal separator"),
    "white.png": (solid_white, "plain white, tinted by the bitmap colour"),
    "highlight.png": (highlight_bar, "soft white bar, tinted for highlights"),
    "btn_base.png": (btn_base, "push button, normal look (list 1)"),
    "btn_bracket.png": (btn_bracket, "push button second layer: corner brackets (list 2)"),
    "btn_hover.png": (btn_hover, "push button, hovered (list 3)"),
    "btn_pressed.png": (btn_pressed, "push button, pressed and disabled (list 5)"),
    "btn_disabled.png": (btn_disabled, "push button shown greyed out"),
    "arrow_up.png": (arrow("up"), "square arrow button, up"),
    "arrow_down.png": (arrow("down"), "square arrow button, down"),
    "arrow_left.png": (arrow("left"), "square arrow button, left"),
    "arrow_right.png": (arrow("right"), "square arrow button, right"),
    "sq_hover.png": (sq_hover, "square button hover overlay"),
    "sq_pressed.png": (sq_pressed, "square button pressed overlay"),
    "list_frame.png": (list_frame, "list background and frame"),
    "edit_frame.png": (edit_frame, "edit field frame"),
    "slider_track_h.png": (slider_track(True), "horizontal slider track"),
    "slider_track_v.png": (slider_track(False), "vertical slider track"),
    "slider_thumb_h.png": (slider_thumb(True), "horizontal slider thumb"),
    "slider_thumb_v.png": (slider_thumb(False), "vertical slider thumb"),
    "check_on.png": (check(True), "check / rotate state on"),
    "check_off.png": (check(False), "check / rotate state off"),
    "icon_single.png": (icon(icon_single_sdf), "icon: single player (mech head)"),
    "icon_multi.png": (icon(icon_multi_sdf), "icon: multiplayer (squad chevrons)"),
    "icon_options.png": (icon(icon_options_sdf), "icon: options (gear)"),
    "icon_exit.png": (icon(icon_exit_sdf), "icon: exit (power)"),
    "icon_info.png": (icon(icon_info_sdf, CYAN), "icon: information"),
    "icon_warning.png": (icon(icon_warning_sdf), "icon: warning"),
    "mission_box.png": (mission_box, "mission map: a mission's box"),
    "mission_map.png": (mission_map, "mission map: the campaign's theatre behind the boxes"),
}


def contact_sheet(images, path):
    """All textures on a checkerboard, in rows, with a gap between them."""
    gap, width = 8, 1040
    x = y = gap
    row_h = 0
    places = []
    for name, img in images:
        if x + img.w + gap > width:
            x, y = gap, y + row_h + gap
            row_h = 0
        places.append((img, x, y))
        x += img.w + gap
        row_h = max(row_h, img.h)
    sheet = Canvas(width, y + row_h + gap)
    sheet.paint(lambda px, py: ((70, 70, 78, 1.0) if (int(px) // 8 + int(py) // 8) % 2
                                else (50, 50, 56, 1.0)))
    for img, px, py in places:
        sheet.over(img, px, py)
    with open(path, "wb") as f:
        f.write(png_bytes(sheet))


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=os.path.join(REPO, "assets", "menu"))
    ap.add_argument("--sheet", help="also write a contact sheet PNG here")
    ap.add_argument("--only", nargs="*", help="generate only these file names")
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    made = []
    for name, (maker, _) in TEXTURES.items():
        if args.only and name not in args.only:
            continue
        img = maker()
        data = tga_bytes(img) if name.endswith(".tga") else png_bytes(img)
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(data)
        made.append((name, img))
        print(f"{name:24s} {img.w:4d}x{img.h:<4d} {len(data):7d} bytes")
    if args.sheet:
        contact_sheet(made, args.sheet)


if __name__ == "__main__":
    main()
