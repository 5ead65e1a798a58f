#!/usr/bin/env python3
"""check_script.py: checks a UI script's syntax and the parameter lists of its controls.

    python3 tools/artgen/check_script.py [assets/data/script/ui/ui_script.txt]

Tokens and grammar are checked as the compiler reads them (the first lexical or
syntax error stops the check); then each control's PARAM lines are checked against
what its class reads when it is created. Messages are "file:line:col: error: ...";
warnings mark things that compile but are probably mistakes. Exit status 1 on errors.
"""
import os
import sys

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DEFAULT = os.path.join(REPO, "assets", "data", "script", "ui", "ui_script.txt")

KEYWORDS = {b"BEGIN", b"END", b"DIALOG", b"MENU", b"START", b"PARAM"}
NAME_START = set(b"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_")
NAME_REST = NAME_START | set(b"0123456789")
DIGITS = set(b"0123456789")
WINDOW_FLAGS = {"WF_HIDE", "WF_NOHITTEST", "WF_FOREGROUND"}
CONTROL_FLAGS = WINDOW_FLAGS | {"CF_TABSTOP", "CF_AUTOSIZE", "CF_ALIGN_LEFT", "CF_ALIGN_RIGHT",
                                "CF_ALIGN_HCENTER", "CF_ALIGN_TOP", "CF_ALIGN_BOTTOM",
                                "CF_ALIGN_VCENTER", "ES_NUMBER", "ES_PASSWORD"}
FONTS = {"SYSTEM", "MENU", "NORMAL", "DIGIT"}


class Stop(Exception):
    """A lexical or syntax error: the compile ends there."""


# ---------------------------------------------------------------------------
# Scanner
# ---------------------------------------------------------------------------


def scan(text):
    """Yields (name, text, line, col) for every token that is not skipped."""
    end = text.find(b"\0")
    if end >= 0:
        text = text[:end]
    n, i, line, col = len(text), 0, 1, 1

    def fail(msg):
        raise Stop(f"{line}:{col}: error: lexical error: {msg}")

    while i < n:
        c = text[i]
        start = i
        if c == 10 or (c == 13 and text[i + 1:i + 2] == b"\n"):
            i += 1 if c == 10 else 2
            line, col = line + 1, 1
            continue
        if c == 13:
            fail("lone CR")
        if c in (32, 9):
            while i < n and text[i] in (32, 9):
                i += 1
            col += i - start
            continue
        if text.startswith(b"//", i):
            j = i + 2
            while j < n and text[j] not in (10, 13):
                j += 1
            if j >= n:
                fail("line comment without a line end at the end of the text")
            if text[j] == 13 and text[j + 1:j + 2] != b"\n":
                fail("lone CR in a line comment")
            i = j + (1 if text[j] == 10 else 2)
            line, col = line + 1, 1
            continue
        if text.startswith(b"/*", i):
            j, state = i + 2, "body"
            while True:
                if j >= n:
                    fail("block comment not closed")
                b = text[j]
                j += 1
                if state == "body":
                    state = "star" if b == 42 else "slash" if b == 47 else "body"
                elif state == "star":
                    if b == 47:
                        break
                    state = "body"
                else:
                    if b == 42:
                        fail("'/*' inside a block comment")
                    state = "body"
            for b in text[i:j]:
                line, col = (line + 1, 1) if b == 10 else (line, col + 1)
            i = j
            continue
        tok = None
        if c in (43, 45) and i + 1 < n and text[i + 1] in DIGITS or c in DIGITS:
            j = i + 1
            while j < n and text[j] in DIGITS:
                j += 1
            kind = "INTEGER"
            if j < n and text[j] == 46:
                j += 1
                if j >= n or text[j] not in DIGITS:
                    fail(f"'{text[start:j + 1].decode('latin-1')}' is not a number")
                while j < n and text[j] in DIGITS:
                    j += 1
                kind = "FLOAT"
            tok = (kind, j)
        elif c == 45:
            tok = ("MINUS", i + 1)
        elif c in NAME_START:
            j = i + 1
            while j < n and text[j] in NAME_REST:
                j += 1
            if j - i < 2:
                fail(f"name '{chr(c)}' has one character")
            word = text[i:j]
            tok = (word.decode() if word in KEYWORDS else "CHARS", j)
        elif c == 34:
            j = text.find(b'"', i + 1)
            if j < 0:
                fail("string not closed")
            tok = ("STRING", j + 1)
        elif c in b",:|":
            tok = ({44: "COMMA", 58: "COLON", 124: "OR"}[c], i + 1)
        else:
            fail(f"unexpected byte 0x{c:02X}")
        kind, i = tok
        raw = text[start:i]
        yield kind, raw, line, col
        col += len(raw)
    yield "$", b"", line, col


# ---------------------------------------------------------------------------
# Parser: builds dialogs and controls
# ---------------------------------------------------------------------------


class Node:
    def __init__(self, kind, pos):
        self.kind, self.pos = kind, pos
        self.caption = self.id = ""
        self.flags, self.rect, self.params, self.controls = [], [], [], []


class Parser:
    def __init__(self, text):
        self.toks = scan(text)
        self.next()

    def next(self):
        self.tok = next(self.toks)

    def expect(self, *kinds):
        kind, raw, line, col = self.tok
        if kind not in kinds:
            what = "end of text" if kind == "$" else f"{kind} '{raw.decode('latin-1')}'"
            raise Stop(f"{line}:{col}: error: syntax error: {what}, expected "
                       + " or ".join(kinds))
        self.next()
        return kind, raw, (line, col)

    def value(self):
        kind, raw, pos = self.expect("INTEGER", "FLOAT", "STRING")
        text = raw.decode("latin-1")
        if kind == "STRING":
            return ("s", text[1:-1])
        return ("i", int(text)) if kind == "INTEGER" else ("f", float(text))

    def attrs(self, node):
        node.caption = self.expect("STRING")[1].decode("latin-1")[1:-1]
        node.id = self.expect("CHARS")[1].decode()
        if self.tok[0] == "CHARS":
            node.flags.append(self.expect("CHARS")[1].decode())
            while self.tok[0] == "OR":
                self.next()
                node.flags.append(self.expect("CHARS")[1].decode())
        for k in range(4):
            if k:
                self.expect("COMMA")
            node.rect.append(float(self.expect("FLOAT")[1]))

    def script(self):
        dialogs = []
        while self.tok[0] != "$":
            dlg = Node("DIALOG", self.expect("DIALOG")[2])
            self.attrs(dlg)
            self.expect("BEGIN")
            while self.tok[0] == "CHARS":
                kind, raw, pos = self.expect("CHARS")
                ctrl = Node(raw.decode(), pos)
                self.attrs(ctrl)
                while self.tok[0] == "PARAM":
                    ppos = self.expect("PARAM")[2]
                    values = [self.value()]
                    while self.tok[0] == "COMMA":
                        self.next()
                        values.append(self.value())
                    ctrl.params.append((ppos, values))
                dlg.controls.append(ctrl)
            self.expect("END")
            dialogs.append(dlg)
        return dialogs


# ---------------------------------------------------------------------------
# Parameter list shapes
# ---------------------------------------------------------------------------

TYPE_NAMES = {"i": "int", "f": "float", "s": "string"}
STATIC_SHAPE = "sffiiiii"
BITMAP_SHAPE = "siiiiff"
ANIM_SHAPE = "iiiiiiiif"
STATE_SHAPE = "siiiii"
COLOURS = {STATIC_SHAPE: (4, 5, 6, 7), BITMAP_SHAPE: (1, 2, 3, 4), ANIM_SHAPE: range(8),
           STATE_SHAPE: (1, 2, 3, 4), "iiiii": (0, 1, 2, 3)}


class Checker:
    def __init__(self, path):
        self.path, self.errors, self.warnings = path, 0, 0

    def report(self, pos, level, msg):
        print(f"{self.path}:{pos[0]}:{pos[1]}: {level}: {msg}")
        if level == "error":
            self.errors += 1
        else:
            self.warnings += 1

    def shape(self, ctrl, index, shape, minimum, what):
        """Checks list `index` against a type string; returns its values or None."""
        pos, values = ctrl.params[index]
        where = f"{ctrl.kind} '{ctrl.id}' PARAM {index} ({what})"
        if len(values) < minimum:
            self.report(pos, "error", f"{where}: {minimum} value(s) needed, {len(values)} given")
            return None
        if len(values) > len(shape):
            self.report(pos, "warning", f"{where}: values after the {len(shape)}th are ignored")
        for k, (t, _) in enumerate(values[:len(shape)]):
            if t != shape[k]:
                self.report(pos, "error", f"{where}: value {k + 1} must be "
                            f"{TYPE_NAMES[shape[k]]}, not {TYPE_NAMES[t]}")
                return None
        for k in COLOURS.get(shape, ()):
            if k < len(values) and not 0 <= values[k][1] <= 255:
                self.report(pos, "error", f"{where}: colour value {values[k][1]} outside 0..255")
        return [v for _, v in values]

    def static(self, ctrl, index, standalone):
        vals = self.shape(ctrl, index, STATIC_SHAPE, 3, "text")
        if vals is None:
            return
        pos = ctrl.params[index][0]
        font = vals[0].upper()
        if font not in FONTS:
            self.report(pos, "error", f"{ctrl.kind} '{ctrl.id}': unknown font type '{vals[0]}'")
        if font == "SYSTEM" and len(vals) > 3 and not 0 <= vals[3] <= 9:
            self.report(pos, "error", f"{ctrl.kind} '{ctrl.id}': SYSTEM stroke must be 0..9")
        if font == "NORMAL" and standalone:
            if len(ctrl.params) < 2:
                self.report(ctrl.pos, "error", f"STATIC '{ctrl.id}': NORMAL font needs an "
                            "animation list (PARAM 1)")
            else:
                self.shape(ctrl, 1, ANIM_SHAPE, 9, "animation")

    def count(self, ctrl, low, high):
        n = len(ctrl.params)
        if n < low or (high is not None and n > high):
            want = f"{low}" if low == high else f"{low}..{high if high else ''}"
            self.report(ctrl.pos, "error", f"{ctrl.kind} '{ctrl.id}': {want} PARAM lines "
                        f"needed, {n} given")
            return False
        return True

    def control(self, dlg, ctrl):
        k, p = ctrl.kind, ctrl.params
        if k == "STATIC" and self.count(ctrl, 1, 2):
            self.static(ctrl, 0, True)
        elif k == "BITMAP" and self.count(ctrl, 0, 2):
            if p:
                self.shape(ctrl, 0, BITMAP_SHAPE, 1, "bitmap")
            if len(p) == 2:
                self.shape(ctrl, 1, ANIM_SHAPE, 9, "animation")
        elif k == "PUSHBUTTON" and self.count(ctrl, 7, 8):
            self.static(ctrl, 0, False)
            for i in (1, 2, 3, 5):
                self.shape(ctrl, i, BITMAP_SHAPE, 1, "bitmap")
            for i in (4, 6):
                self.shape(ctrl, i, ANIM_SHAPE, 9, "animation")
            if len(p) == 8:
                vals = self.shape(ctrl, 7, "sii", 3, "linked edit")
                if vals:
                    edit = [c for c in dlg.controls if c.id == vals[0]]
                    if not edit or edit[0].kind != "EDIT" or "ES_NUMBER" not in edit[0].flags:
                        self.report(p[7][0], "error", f"PUSHBUTTON '{ctrl.id}': '{vals[0]}' is "
                                    "not an ES_NUMBER EDIT of this dialog")
        elif k == "EDIT" and self.count(ctrl, 2, 2):
            self.static(ctrl, 0, False)
            self.shape(ctrl, 1, BITMAP_SHAPE, 1, "bitmap")
        elif k == "LIST" and self.count(ctrl, 3, None):
            self.static(ctrl, 0, False)
            self.shape(ctrl, 1, BITMAP_SHAPE, 1, "bitmap")
            vals = self.shape(ctrl, 2, "iiiii", 5, "selection colour, rows")
            if vals and vals[4] < 1:
                self.report(p[2][0], "error", f"LIST '{ctrl.id}': invalid num rows")
            for i in range(3, len(p)):
                if p[i][1][0][0] != "s":
                    self.report(p[i][0], "error", f"LIST '{ctrl.id}': default row {i} must "
                                "start with a string")
        elif k == "SLIDER" and self.count(ctrl, 2, 2):
            vals = self.shape(ctrl, 0, "iiif", 4, "axis, min, max, thumb")
            if vals and vals[2] <= vals[1]:
                self.report(p[0][0], "error", f"SLIDER '{ctrl.id}': max must be larger than min")
            self.shape(ctrl, 1, BITMAP_SHAPE, 1, "thumb bitmap")
        elif k == "ROTATEBUTTON" and self.count(ctrl, 1, None):
            self.states(ctrl, 0)
        elif k == "ROTATETEXTBUTTON" and self.count(ctrl, 2, None):
            self.static(ctrl, 0, False)
            self.states(ctrl, 1)
        elif k not in ("STATIC", "BITMAP", "PUSHBUTTON", "EDIT", "LIST", "SLIDER",
                       "ROTATEBUTTON", "ROTATETEXTBUTTON", "CUSTOM", "BUTTON"):
            self.report(ctrl.pos, "error", f"unknown control class '{k}'")

    def states(self, ctrl, first):
        n = len(ctrl.params) - first
        for i in range(first, len(ctrl.params)):
            vals = self.shape(ctrl, i, STATE_SHAPE, 1, "state")
            if vals and len(vals) >= 6 and not 0 <= vals[5] < n:
                self.report(ctrl.params[i][0], "error", f"{ctrl.kind} '{ctrl.id}': next state "
                            f"{vals[5]} outside 0..{n - 1}")

    def flags(self, node, allowed):
        for f in node.flags:
            if f not in CONTROL_FLAGS:
                self.report(node.pos, "warning", f"'{node.id}': unknown flag '{f}' is ignored")
            elif f not in allowed or (f.startswith("ES_") and node.kind != "EDIT"):
                self.report(node.pos, "warning", f"'{node.id}': flag '{f}' has no effect here")

    def rect(self, node):
        x, y, w, h = node.rect
        if w <= 0 or h <= 0 or not (-1 <= x <= 2 and -1 <= y <= 2):
            self.report(node.pos, "warning", f"'{node.id}': rectangle {node.rect} looks wrong")

    def run(self, dialogs):
        seen = {}
        for dlg in dialogs:
            if dlg.id in seen:
                self.report(dlg.pos, "error", f"dialog '{dlg.id}' defined twice")
            seen[dlg.id] = dlg
            self.flags(dlg, WINDOW_FLAGS)
            self.rect(dlg)
            ids = set()
            for ctrl in dlg.controls:
                if ctrl.id in ids:
                    self.report(ctrl.pos, "warning", f"control id '{ctrl.id}' repeats in "
                                f"'{dlg.id}'")
                ids.add(ctrl.id)
                self.flags(ctrl, CONTROL_FLAGS)
                self.rect(ctrl)
                self.control(dlg, ctrl)


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else DEFAULT
    with open(path, "rb") as f:
        text = f.read()
    checker = Checker(path)
    try:
        dialogs = Parser(text).script()
    except Stop as e:
        print(f"{path}:{e}")
        return 1
    checker.run(dialogs)
    n = sum(len(d.controls) for d in dialogs)
    print(f"{path}: {len(dialogs)} dialogs, {n} controls, {checker.errors} error(s), "
          f"{checker.warnings} warning(s)")
    return 1 if checker.errors else 0


if __name__ == "__main__":
    sys.exit(main())
