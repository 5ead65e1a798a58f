"""font.py: an angular stroke font for titles baked into textures.

Each glyph is a list of polylines on a 4 x 6 grid (x right, y down); corners are
cut at 45 degrees to match the chamfered frames.
"""
from raster import sd_segment

GLYPHS = {
    "A": [[(0, 6), (0, 1), (1, 0), (3, 0), (4, 1), (4, 6)], [(0, 3.5), (4, 3.5)]],
    "C": [[(4, 0), (1, 0), (0, 1), (0, 5), (1, 6), (4, 6)]],
    "D": [[(0, 0), (3, 0), (4, 1), (4, 5), (3, 6), (0, 6), (0, 0)]],
    "E": [[(4, 0), (0, 0), (0, 6), (4, 6)], [(0, 3), (3, 3)]],
    "G": [[(4, 0), (1, 0), (0, 1), (0, 5), (1, 6), (4, 6), (4, 3), (2.5, 3)]],
    "I": [[(2, 0), (2, 6)], [(1, 0), (3, 0)], [(1, 6), (3, 6)]],
    "K": [[(0, 0), (0, 6)], [(4, 0), (1, 3), (0, 3)], [(1, 3), (4, 6)]],
    "L": [[(0, 0), (0, 6), (4, 6)]],
    "M": [[(0, 6), (0, 0), (2, 2.5), (4, 0), (4, 6)]],
    "N": [[(0, 6), (0, 0), (4, 6), (4, 0)]],
    "O": [[(1, 0), (3, 0), (4, 1), (4, 5), (3, 6), (1, 6), (0, 5), (0, 1), (1, 0)]],
    "R": [[(0, 6), (0, 0), (3, 0), (4, 1), (4, 2), (3, 3), (0, 3)], [(2, 3), (4, 6)]],
    "S": [[(4, 0), (1, 0), (0, 1), (0, 2), (1, 3), (3, 3), (4, 4), (4, 5), (3, 6), (0, 6)]],
    "T": [[(0, 0), (4, 0)], [(2, 0), (2, 6)]],
    "U": [[(0, 0), (0, 5), (1, 6), (3, 6), (4, 5), (4, 0)]],
    "V": [[(0, 0), (0, 3), (2, 6), (4, 3), (4, 0)]],
    "Y": [[(0, 0), (2, 3), (4, 0)], [(2, 3), (2, 6)]],
    " ": [],
}


def text_segments(text, x, y, size, spacing=1.5):
    """Segments (ax, ay, bx, by) of text whose cap height is `size` pixels."""
    s = size / 6.0
    segs = []
    for ch in text:
        for line in GLYPHS[ch]:
            for (ax, ay), (bx, by) in zip(line, line[1:]):
                segs.append((x + ax * s, y + ay * s, x + bx * s, y + by * s))
        x += (4 + spacing) * s
    return segs


def text_width(text, size, spacing=1.5):
    s = size / 6.0
    return (len(text) * (4 + spacing) - spacing) * s


def text_sdf(segs, r):
    """Distance function of the union of the stroked segments."""
    def sdf(px, py):
        return min(sd_segment(px, py, ax, ay, bx, by, r) for ax, ay, bx, by in segs)

    return sdf


def segs_box(segs, pad):
    xs = [v for s in segs for v in (s[0], s[2])]
    ys = [v for s in segs for v in (s[1], s[3])]
    return (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad)
