#!/usr/bin/env python3
"""gameart.py: generates the pictures of the shipped game data.

    python3 tools/artgen/gameart.py [--root DIR] [--only NAME ...]

Character portraits and loading pictures, the random-character picture, the
option-part icons, map pictures, the map-browser fallback and cursor, and the
mission pictures of the statistics screen. Written into the asset root: menu/
(where the screens load textures from) and, for map pictures, also
data/texture/interface/ (where the map browser looks them up). Every file holds
PNG data, also under a .tga name: the reference host decodes by content, and
PNG keeps the files small. Deterministic: a rerun gives identical files.
"""
import argparse
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from raster import Canvas, clamp, mix, noise, png_bytes, sd_box, sd_circle, sd_segment  # noqa: E402
from style import AMBER, BLACK, CYAN, ORANGE, WHITE, brackets, frame, rgba  # noqa: E402
import font  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# One accent per character, char1 ... char8.
ACCENTS = [(255, 166, 48), (96, 222, 255), (230, 70, 60), (120, 230, 110),
           (200, 120, 255), (255, 220, 90), (240, 244, 248), (255, 118, 24)]


def label(img, text, cx, y, size, color, a=1.0):
    """Centred text of the stroke font with a dark outline."""
    x = cx - font.text_width(text, size) / 2
    segs = font.text_segments(text, x, y, size)
    if not segs:
        return
    sdf = font.text_sdf(segs, max(0.8, size / 12.0))
    box = font.segs_box(segs, 3)
    img.fill_sdf(lambda px, py: sdf(px, py) - 1.0, rgba(BLACK, 0.8 * a), box)
    img.fill_sdf(sdf, rgba(color, a), box)


# ---------------------------------------------------------------------------
# Characters: a mech head in the character's accent, seen from the front
# ---------------------------------------------------------------------------


def head_sdf(x, y, cx, cy, s, variant):
    """Helmet, visor and chin; `variant` (0-7) changes the visor and the crest."""
    helmet = sd_box(x, y, cx, cy, 34 * s, 30 * s, 12 * s)
    chin = sd_box(x, y, cx, cy + 34 * s, 20 * s, 8 * s, 5 * s)
    parts = [helmet, chin]
    if variant % 2:
        parts.append(sd_segment(x, y, cx, cy - 30 * s, cx, cy - 48 * s, 4 * s))      # crest
    else:
        parts.append(sd_segment(x, y, cx - 26 * s, cy - 22 * s, cx - 40 * s, cy - 44 * s, 3 * s))
        parts.append(sd_segment(x, y, cx + 26 * s, cy - 22 * s, cx + 40 * s, cy - 44 * s, 3 * s))
    return min(parts)


def visor_sdf(x, y, cx, cy, s, variant):
    if variant in (2, 5):
        return min(sd_circle(x, y, cx - 13 * s, cy - 2 * s, 7 * s), sd_circle(x, y, cx + 13 * s, cy - 2 * s, 7 * s))
    if variant in (3, 6):
        return sd_box(x, y, cx, cy - 2 * s, 8 * s, 14 * s, 3 * s)
    return sd_box(x, y, cx, cy - 2 * s, 26 * s, 5 * s, 2 * s)


def character_picture(index, size, title):
    accent = ACCENTS[index]

    def make():
        img = frame(size, size, margin=2, cut=size // 10, top=(40, 44, 52), bottom=(14, 16, 20),
                    rim=accent, rim_a=0.9, hair=CYAN, hair_a=0.2, seed=index + 3)
        cx, cy, s = size / 2, size * 0.45, size / 128.0
        # a soft glow of the accent behind the head
        img.paint(lambda x, y: (accent[0], accent[1], accent[2],
                                0.25 * clamp(1.0 - math.hypot(x - cx, y - cy) / (56 * s)) ** 2))
        img.fill_sdf(lambda x, y: head_sdf(x, y, cx, cy, s, index) - 1.5, rgba(BLACK, 0.8))
        img.paint(lambda x, y: (lambda d: mix((70, 76, 88), (28, 31, 37), clamp((y - cy + 40 * s) / (80 * s)))
                                + (clamp(0.5 - d),) if d < 0.5 else None)(head_sdf(x, y, cx, cy, s, index)))
        img.fill_sdf(lambda x, y: visor_sdf(x, y, cx, cy, s, index), rgba(accent, 1.0))
        label(img, title, size / 2, size * 0.80, size * 0.09, accent)
        return img
    return make


def random_character():
    img = frame(128, 128, margin=2, cut=12, top=(40, 44, 52), bottom=(14, 16, 20), rim=AMBER, hair=CYAN)
    label(img, "?", 64, 22, 54, AMBER)
    label(img, "RANDOM", 64, 100, 11, WHITE)
    return img


# ---------------------------------------------------------------------------
# Option parts: small icons (32 x 32)
# ---------------------------------------------------------------------------


def gun_sdf(barrels):
    def sdf(x, y):
        parts = [sd_box(x, y, 12, 16, 7, 6, 2)]
        for k in range(barrels):
            by = 16 + (k - (barrels - 1) / 2) * 4
            parts.append(sd_box(x, y, 23, by, 8, 1.2))
        return min(parts)
    return sdf


def missile_sdf(x, y):
    return min(sd_box(x, y, 16, 11, 10, 3, 2), sd_box(x, y, 16, 21, 10, 3, 2))


def blade_sdf(x, y):
    return min(sd_segment(x, y, 9, 25, 24, 6, 2.5), sd_box(x, y, 9, 25, 4, 1.5))


def shield_sdf(x, y):
    return max(sd_circle(x, y, 16, 14, 11), -sd_circle(x, y, 16, 14, 7))


def grenade_sdf(x, y):
    return min(sd_circle(x, y, 16, 18, 8), sd_box(x, y, 16, 8, 3, 3))


def rail_sdf(x, y):
    return min(sd_box(x, y, 16, 13, 13, 1.5), sd_box(x, y, 16, 19, 13, 1.5), sd_box(x, y, 8, 16, 4, 6, 2))


def flame_sdf(x, y):
    return min(sd_circle(x, y, 20, 16, 6), sd_circle(x, y, 13, 16, 4), sd_circle(x, y, 8, 16, 2.5))


def mine_sdf(x, y):
    return min(sd_circle(x, y, 16, 16, 6), sd_segment(x, y, 6, 16, 26, 16, 1.2), sd_segment(x, y, 16, 6, 16, 26, 1.2))


def smoke_sdf(x, y):
    return min(sd_circle(x, y, 11, 18, 6), sd_circle(x, y, 19, 14, 7), sd_circle(x, y, 22, 21, 5))


def lance_sdf(x, y):
    return min(sd_segment(x, y, 6, 26, 22, 10, 1.5), sd_segment(x, y, 22, 10, 18, 16, 1.5),
               sd_segment(x, y, 18, 16, 27, 6, 1.5))


def dice_sdf(x, y):
    dots = [(10, 10), (22, 10), (16, 16), (10, 22), (22, 22)]
    return min(sd_circle(x, y, dx, dy, 2.6) for dx, dy in dots)


def small_icon(shape_sdf, color=AMBER):
    def make():
        img = frame(32, 32, margin=1, cut=4, top=(36, 40, 48), bottom=(16, 18, 22), rim=(110, 90, 60),
                    hair=None, grain=2.0)
        img.fill_sdf(lambda x, y: shape_sdf(x, y) - 1.0, rgba(BLACK, 0.8))
        img.fill_sdf(shape_sdf, rgba(color, 1.0))
        return img
    return make


OPTION_ICONS = {
    "opt_vulcan.tga": gun_sdf(3), "opt_missile.tga": missile_sdf, "opt_saber.tga": blade_sdf,
    "opt_shield.tga": shield_sdf, "opt_grenade.tga": grenade_sdf, "opt_rail.tga": rail_sdf,
    "opt_flamer.tga": flame_sdf, "opt_mine.tga": mine_sdf, "opt_smoke.tga": smoke_sdf,
    "opt_lance.tga": lance_sdf,
}


# ---------------------------------------------------------------------------
# Maps and missions: terrain seen from above (128 x 96)
# ---------------------------------------------------------------------------


def value_noise(x, y, cell, seed):
    """Smoothly interpolated lattice noise in [0, 1)."""
    gx, gy = x / cell, y / cell
    ix, iy = math.floor(gx), math.floor(gy)
    fx, fy = gx - ix, gy - iy
    fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    a, b = noise(ix, iy, seed), noise(ix + 1, iy, seed)
    c, d = noise(ix, iy + 1, seed), noise(ix + 1, iy + 1, seed)
    return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy


def terrain(seed, low, high, title, accent=CYAN):
    def make():
        img = Canvas(128, 96)

        def fn(x, y):
            h = 0.62 * value_noise(x, y, 24, seed) + 0.34 * value_noise(x, y, 10, seed + 7) + \
                0.04 * noise(x, y, seed)
            col = mix(low, high, h)
            # contour lines
            band = abs((h * 8) % 1.0 - 0.5)
            if band < 0.06:
                col = mix(col, accent, 0.35)
            return col + (1.0,)
        img.paint(fn)
        brackets(img, 3, 12, 1.5, accent, 0.9)
        if title:
            label(img, title, 64, 80, 9, WHITE)
        return img
    return make


def map_logo():
    img = frame(128, 96, margin=2, cut=10, top=(34, 38, 46), bottom=(14, 16, 20), rim=(110, 90, 60), hair=CYAN)
    label(img, "NO MAP", 64, 40, 14, AMBER)
    return img


def map_cursor():
    img = Canvas(128, 96)
    brackets(img, 2, 20, 3.0, CYAN, 1.0)
    img.stroke_sdf(lambda x, y: sd_box(x, y, 64, 48, 62, 46, 6), 1.5, rgba(CYAN, 0.6))
    return img


# Radar of the heads-up display: the disc with range rings and the sweep that
# turns with the view. Both are drawn white-ish; the HUD tints them amber.
def radar_disc():
    img = Canvas(128, 128)
    img.paint(lambda x, y: (20, 24, 28, 0.55 * clamp(1.0 - math.hypot(x - 64, y - 64) / 62.0) ** 0.3))
    for r, a in ((62.0, 1.0), (41.0, 0.5), (20.0, 0.35)):
        img.stroke_sdf(lambda x, y, r=r: sd_circle(x, y, 64, 64, r), 1.2, rgba(WHITE, a))
    for seg in ((64, 4, 64, 124), (4, 64, 124, 64)):
        img.fill_sdf(lambda x, y, s=seg: sd_segment(x, y, *s, 0.5), rgba(WHITE, 0.25))
    return img


def radar_sweep():
    img = Canvas(128, 128)
    def fn(x, y):
        d = math.hypot(x - 64, y - 64)
        if d > 62.0:
            return None
        # a wedge trailing behind the sweep line, which points up (ahead)
        ang = math.atan2(x - 64, -(y - 64))
        t = clamp(1.0 - (ang % (2 * math.pi)) / 1.2)
        return (255, 255, 255, 0.45 * t * clamp(d / 8.0))
    img.paint(fn)
    img.fill_sdf(lambda x, y: sd_box(x, y, 64, 40, 1.0, 7.0, 1.0), rgba(WHITE, 0.9))
    return img


# Map pictures: the part of the map's file name before its first "-" (NAME.gnd),
# with its last three characters made "TGA", as the map browser looks them up.
MAPS = [
    ("arena.TGA", 11, (60, 52, 44), (170, 150, 120), "ARENA"),
    ("canyon.TGA", 12, (90, 40, 24), (220, 130, 70), "CANYON"),
    ("harbor.TGA", 13, (20, 40, 70), (120, 150, 160), "HARBOR"),
    ("foundry.TGA", 14, (40, 36, 34), (160, 120, 90), "FOUNDRY"),
    ("ridge.TGA", 15, (30, 60, 34), (150, 180, 120), "RIDGE"),
    ("citadel.TGA", 16, (50, 50, 60), (180, 180, 200), "CITADEL"),
]


def catalogue():
    pics = {}
    for i in range(8):
        n = i + 1
        pics[f"menu/portrait_char{n}.png"] = character_picture(i, 128, f"CHAR {n}")
        pics[f"menu/loading_char{n}.tga"] = character_picture(i, 256, f"CHAR {n}")
    pics["menu/crandom.tga"] = random_character
    for name, shape in OPTION_ICONS.items():
        pics["menu/" + name] = small_icon(shape)
    pics["menu/icon_random_s.tga"] = small_icon(dice_sdf, CYAN)
    pics["menu/maplogo.tga"] = map_logo
    pics["menu/mapcursor1.tga"] = map_cursor
    pics["menu/radar01.tga"] = radar_disc
    pics["menu/radar02.tga"] = radar_sweep
    for name, seed, low, high, title in MAPS:
        pics["menu/" + name] = terrain(seed, low, high, title)
        pics["data/texture/interface/" + name] = terrain(seed, low, high, title)
    for m in range(1, 13):
        pics[f"menu/MISSION {m:02d}.tga"] = terrain(100 + m, (34 + 4 * m, 40, 30), (180, 150 + 5 * m, 110),
                                                   f"MISSION {m:02d}", AMBER)
    return pics


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--root", default=os.path.join(REPO, "assets"))
    ap.add_argument("--only", nargs="*", help="generate only these paths (relative to the root)")
    args = ap.parse_args()
    for path, maker in catalogue().items():
        if args.only and path not in args.only:
            continue
        img = maker()
        data = png_bytes(img)
        out = os.path.join(args.root, path)
        os.makedirs(os.path.dirname(out), exist_ok=True)
        with open(out, "wb") as f:
            f.write(data)
        print(f"{path:40s} {img.w:4d}x{img.h:<4d} {len(data):7d} bytes")


if __name__ == "__main__":
    main()
