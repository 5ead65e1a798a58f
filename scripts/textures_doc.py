#!/usr/bin/env python3
"""textures_doc.py: the texture catalogue of the UI authors' guide.

    python3 scripts/textures_doc.py [OUT_DIR]      (KORVOUI=path of the korvoui binary)

Writes OUT_DIR/textures.md (default docs/): every texture of assets/menu with its
size and how often the shipped UI script names it, and OUT_DIR/textures/sheet-N.png,
contact sheets of thumbnails drawn by `korvoui render` from a generated script
(each texture in a cell with its name under it), reduced to a palette with pngquant
when it is installed. Standard library only.
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ASSETS = os.path.join(ROOT, "assets")
SCRIPT = os.path.join(ASSETS, "data", "script", "ui", "ui_script.txt")
KORVOUI = os.environ.get("KORVOUI", os.path.join(ROOT, "build", "release", "tools", "korvoui"))
COLUMNS, ROWS = 6, 5            # cells per sheet
SCREEN = (1200, 1000)           # pixels of one sheet


def size_of(path):
    """(width, height) of a PNG or TGA file, or None."""
    with open(path, "rb") as f:
        head = f.read(32)
    if head[:8] == b"\x89PNG\r\n\x1a\n":
        return struct.unpack(">II", head[16:24])
    if len(head) >= 18:
        return struct.unpack("<HH", head[12:16])
    return None


def uses(names):
    """How many PARAM values of the shipped script name each texture."""
    with open(SCRIPT, "rb") as f:
        text = f.read().decode("latin-1")
    written = re.findall(r'PARAM\s+"([^"]*)"', text)
    return {n: written.count(n) for n in names}


def sheet_script(names):
    """A UI script with one dialog per sheet: a dark cell, the texture, its name."""
    out = []
    cw, ch = 1.0 / COLUMNS, 1.0 / ROWS
    per = COLUMNS * ROWS
    for s in range(0, len(names), per):
        out.append(f'DIALOG "textures" SHEET{s // per} 0.0, 0.0, 1.0, 1.0\nBEGIN')
        for k, name in enumerate(names[s:s + per]):
            x, y = (k % COLUMNS) * cw, (k // COLUMNS) * ch
            out.append(f'    BITMAP "" IDC_BITMAP_CELL{k} {x + 0.004:.4f}, {y + 0.004:.4f}, '
                       f'{cw - 0.008:.4f}, {ch - 0.008:.4f}\n        PARAM "panel_inset.png", 90, 90, 100, 255')
            out.append(f'    BITMAP "" IDC_BITMAP_TEX{k} {x + 0.012:.4f}, {y + 0.010:.4f}, '
                       f'{cw - 0.024:.4f}, {ch - 0.060:.4f}\n        PARAM "{name}", 255, 255, 255, 255')
            out.append(f'    STATIC "{name}" IDC_STATIC_NAME{k} CF_ALIGN_HCENTER {x + cw / 2:.4f}, '
                       f'{y + ch - 0.045:.4f}, {cw - 0.01:.4f}, 0.03\n'
                       f'        PARAM "MENU", 15.0, 1.0, 2,   235, 240, 245, 255')
        out.append("END\n")
    return "\n".join(out)


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "docs")
    names = sorted(os.listdir(os.path.join(ASSETS, "menu")), key=str.lower)
    count = uses(names)
    sheets = (len(names) + COLUMNS * ROWS - 1) // (COLUMNS * ROWS)
    pictures = os.path.join(out_dir, "textures")
    os.makedirs(pictures, exist_ok=True)
    for old in os.listdir(pictures):
        if old.endswith(".png"):
            os.remove(os.path.join(pictures, old))
    with tempfile.TemporaryDirectory() as tmp:
        root = os.path.join(tmp, "root")
        shutil.copytree(ASSETS, root)
        with open(os.path.join(root, "data", "script", "ui", "ui_script.txt"), "w") as f:
            f.write(sheet_script(names))
        for s in range(sheets):
            png = os.path.join(pictures, f"sheet-{s + 1}.png")
            subprocess.run([KORVOUI, "render", "--root", root, "--screen", f"{SCREEN[0]}x{SCREEN[1]}",
                            f"SHEET{s}", "-o", png], check=True, stdout=subprocess.DEVNULL)
            if shutil.which("pngquant"):   # a palette keeps the pictures small
                subprocess.run(["pngquant", "--quality", "60-90", "--speed", "1", "--strip", "--force",
                                "--output", png, png], check=True)
    lines = ["# Textures", "",
             "Every texture of the shipped asset root (`assets/menu/`), as a `PARAM` list names it",
             "(`\"btn_base.png\"` loads `menu/btn_base.png`). Made by `python3 scripts/textures_doc.py`;",
             "the test `textures_doc_current` fails when this page is out of date (a texture added,",
             "removed or resized, or named more or less often by the script).",
             "The sheets draw each texture stretched over a cell; the table gives its real size and",
             "how many `PARAM` values of the shipped script name it.", ""]
    per = COLUMNS * ROWS
    for s in range(sheets):
        first, last = names[s * per], names[min(len(names), (s + 1) * per) - 1]
        lines += [f"## {first} … {last}", "", f"![textures {s + 1}](textures/sheet-{s + 1}.png)", ""]
    lines += ["| texture | size | named in the script |", "|---|---|---|"]
    for n in names:
        w_h = size_of(os.path.join(ASSETS, "menu", n))
        size = f"{w_h[0]}×{w_h[1]}" if w_h else "?"
        lines.append(f"| `{n}` | {size} | {count[n]} |")
    with open(os.path.join(out_dir, "textures.md"), "w") as f:
        f.write("\n".join(lines) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
