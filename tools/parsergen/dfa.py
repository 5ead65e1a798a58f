"""dfa.py: the scanner automaton, from token patterns to a minimal DFA.

Each pattern is parsed into a Thompson NFA over the bytes 0x01-0xFF (NUL is
never a transition: it ends the text). The NFAs of all tokens share one start
state; the subset construction gives a DFA whose accepting states take the
lowest-numbered token they accept; the DFA is minimised by partition
refinement and numbered breadth-first from the start state, successors in
byte order. The scanner runs it with longest match and no stepping back, so
the automaton alone decides every case.
"""

ALL_BYTES = (1 << 256) - 2          # bit b set for every byte 1..255


class PatternError(Exception):
    pass


# ---- Thompson NFA --------------------------------------------------------------

class Nfa:
    def __init__(self):
        self.moves = []       # per state: list of (byte mask, target)
        self.empty = []       # per state: list of epsilon targets
        self.accepts = {}     # state -> token number

    def state(self):
        self.moves.append([])
        self.empty.append([])
        return len(self.moves) - 1


class _PatternReader:
    """Recursive descent over one pattern; each method returns (entry, exit)."""

    def __init__(self, nfa, text):
        self.nfa, self.text, self.pos = nfa, text, 0

    def fail(self, message):
        raise PatternError(f"{message} at offset {self.pos} in pattern {self.text}")

    def skip_blanks(self):
        while self.pos < len(self.text) and self.text[self.pos] in " \t":
            self.pos += 1

    def peek(self):
        self.skip_blanks()
        return self.text[self.pos] if self.pos < len(self.text) else ""

    def whole(self):
        entry, exit_ = self.alternation()
        if self.peek():
            self.fail("unexpected character")
        return entry, exit_

    def alternation(self):
        branches = [self.sequence()]
        while self.peek() == "|":
            self.pos += 1
            branches.append(self.sequence())
        if len(branches) == 1:
            return branches[0]
        entry, exit_ = self.nfa.state(), self.nfa.state()
        for first, last in branches:
            self.nfa.empty[entry].append(first)
            self.nfa.empty[last].append(exit_)
        return entry, exit_

    def sequence(self):
        parts = []
        while self.peek() not in ("", "|", ")"):
            parts.append(self.repetition())
        if not parts:
            self.fail("empty alternative")
        for (_, last), (first, _) in zip(parts, parts[1:]):
            self.nfa.empty[last].append(first)
        return parts[0][0], parts[-1][1]

    def repetition(self):
        first, last = self.atom()
        while self.peek() in ("*", "+", "?"):
            operator = self.text[self.pos]
            self.pos += 1
            entry, exit_ = self.nfa.state(), self.nfa.state()
            self.nfa.empty[entry].append(first)
            self.nfa.empty[last].append(exit_)
            if operator in "*?":
                self.nfa.empty[entry].append(exit_)
            if operator in "*+":
                self.nfa.empty[last].append(first)
            first, last = entry, exit_
        return first, last

    def atom(self):
        c = self.peek()
        if c == "(":
            self.pos += 1
            inner = self.alternation()
            if self.peek() != ")":
                self.fail("missing )")
            self.pos += 1
            return inner
        if c == '"':
            self.pos += 1
            masks = []
            while True:
                if self.pos >= len(self.text):
                    self.fail("unterminated literal")
                if self.text[self.pos] == '"':
                    self.pos += 1
                    break
                masks.append(1 << self.escaped_byte())
            if not masks:
                self.fail("empty literal")
            return self.chain(masks)
        if c == "[":
            self.pos += 1
            return self.chain([self.byte_class()])
        self.fail("expected a literal, a class or (")

    def escaped_byte(self):
        if self.pos >= len(self.text):
            self.fail("unexpected end")
        c = self.text[self.pos]
        self.pos += 1
        if c != "\\":
            return ord(c)
        if self.pos >= len(self.text):
            self.fail("unexpected end")
        c = self.text[self.pos]
        self.pos += 1
        if c == "x":
            digits = self.text[self.pos:self.pos + 2]
            if len(digits) != 2 or any(d not in "0123456789abcdefABCDEF" for d in digits):
                self.fail("\\x needs two hex digits")
            value = int(digits, 16)
            self.pos += 2
        else:
            value = {"n": 10, "r": 13, "t": 9}.get(c, ord(c))
        if value == 0 or value > 255:
            self.fail("only the bytes 0x01-0xFF can be matched")
        return value

    def byte_class(self):
        negated = self.pos < len(self.text) and self.text[self.pos] == "^"
        if negated:
            self.pos += 1
        mask = 0
        while True:
            if self.pos >= len(self.text):
                self.fail("unterminated class")
            if self.text[self.pos] == "]":
                self.pos += 1
                break
            low = self.escaped_byte()
            high = low
            if self.text[self.pos:self.pos + 1] == "-" and self.text[self.pos + 1:self.pos + 2] not in ("]", ""):
                self.pos += 1
                high = self.escaped_byte()
            for b in range(low, high + 1):
                mask |= 1 << b
        return (ALL_BYTES & ~mask) if negated else mask

    def chain(self, masks):
        first = current = self.nfa.state()
        for mask in masks:
            following = self.nfa.state()
            self.nfa.moves[current].append((mask, following))
            current = following
        return first, current


def build_nfa(tokens):
    """One NFA for all tokens; returns (nfa, start state)."""
    nfa = Nfa()
    start = nfa.state()
    for token in tokens:
        try:
            entry, exit_ = _PatternReader(nfa, token.pattern).whole()
        except PatternError as error:
            raise PatternError(f"token {token.number} {token.name}: {error}") from None
        nfa.empty[start].append(entry)
        nfa.accepts[exit_] = token.number
    return nfa, start


# ---- Subset construction -------------------------------------------------------

def _closure(nfa, states):
    seen = set(states)
    stack = list(states)
    while stack:
        for target in nfa.empty[stack.pop()]:
            if target not in seen:
                seen.add(target)
                stack.append(target)
    return frozenset(seen)


def _subset_dfa(nfa, start):
    """Returns (transitions, accepts): transitions[s] maps byte -> state."""
    first = _closure(nfa, [start])
    index = {first: 0}
    sets, transitions, accepts = [first], [], []
    while len(transitions) < len(sets):
        current = sets[len(transitions)]
        row = {}
        for byte in range(1, 256):
            bit = 1 << byte
            reached = [t for s in current for mask, t in nfa.moves[s] if mask & bit]
            if not reached:
                continue
            target = _closure(nfa, reached)
            if target not in index:
                index[target] = len(sets)
                sets.append(target)
            row[byte] = index[target]
        transitions.append(row)
        tokens = [nfa.accepts[s] for s in current if s in nfa.accepts]
        accepts.append(min(tokens) if tokens else None)
    return transitions, accepts


# ---- Minimisation and numbering ----------------------------------------------------

def _minimise(transitions, accepts):
    """Moore partition refinement; returns the block of every state."""
    block = [accepts[s] for s in range(len(accepts))]
    while True:
        signatures = {}
        refined = []
        for s, row in enumerate(transitions):
            signature = (block[s], tuple(sorted((b, block[t]) for b, t in row.items())))
            refined.append(signatures.setdefault(signature, len(signatures)))
        if len(signatures) == len(set(block)):
            return refined
        block = refined


def _renumber(transitions, accepts, block):
    """Merges states by block and numbers them breadth-first from the start."""
    representative = {}
    for s, b in enumerate(block):
        representative.setdefault(b, s)
    order = {block[0]: 0}
    queue = [block[0]]
    rows, final = [], []
    while len(rows) < len(queue):
        source = representative[queue[len(rows)]]
        row = {}
        for byte in sorted(transitions[source]):
            target = block[transitions[source][byte]]
            if target not in order:
                order[target] = len(queue)
                queue.append(target)
            row[byte] = order[target]
        rows.append(row)
        final.append(accepts[source])
    return rows, final


class ScannerAutomaton:
    """transitions[s]: dict byte -> next state; accepts[s]: token or None."""

    def __init__(self, transitions, accepts):
        self.transitions = transitions
        self.accepts = accepts

    @property
    def state_count(self):
        return len(self.transitions)

    def records(self):
        """(state, next, byte) in (state, byte) order."""
        return [(s, row[b], b) for s, row in enumerate(self.transitions) for b in sorted(row)]

    def accepting(self):
        return [(s, token) for s, token in enumerate(self.accepts) if token is not None]


def build_scanner(tokens):
    nfa, start = build_nfa(tokens)
    transitions, accepts = _subset_dfa(nfa, start)
    if accepts[0] is not None:
        raise PatternError(f"token {accepts[0]} matches the empty text")
    block = _minimise(transitions, accepts)
    return ScannerAutomaton(*_renumber(transitions, accepts, block))
