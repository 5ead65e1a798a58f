"""description.py: reads a language description (.grammar) into plain data.

The format is line based; see script/ui_script.grammar for the keywords.
Errors name the file and line and raise DescriptionError.
"""

from dataclasses import dataclass, field


class DescriptionError(Exception):
    pass


@dataclass
class Token:
    number: int
    name: str
    skipped: bool
    pattern: str


@dataclass
class Rule:
    number: int
    left: int
    right: list


@dataclass
class Language:
    tokens: list = field(default_factory=list)      # Token, by number
    symbols: list = field(default_factory=list)     # name, by number
    terminal: list = field(default_factory=list)    # bool, by symbol number
    end_symbol: int = -1
    start_symbol: int = -1
    node_width: int = 0
    rules: list = field(default_factory=list)       # Rule, by number

    @property
    def nonterminal_count(self):
        return sum(1 for t in self.terminal if not t)

    @property
    def terminal_count(self):
        return sum(1 for t in self.terminal if t)


def _dense(items, what, where):
    """Checks that the numbered entries are exactly 0..n-1 and orders them."""
    numbers = sorted(number for number, _ in items)
    if numbers != list(range(len(numbers))):
        raise DescriptionError(f"{where}: {what} numbers must be 0..{len(numbers) - 1} without gaps")
    return [value for _, value in sorted(items, key=lambda item: item[0])]


def read_language(path):
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()

    tokens, symbols, rules = [], [], []
    start_name, node_width = None, None

    for index, line in enumerate(lines, 1):
        where = f"{path}:{index}"
        text = line.strip()
        if not text or text.startswith("#"):
            continue
        words = text.split()
        keyword = words[0]
        try:
            if keyword == "token":
                number, name, flag = int(words[1]), words[2], words[3]
                if flag not in ("skip", "keep"):
                    raise DescriptionError(f"{where}: expected skip or keep, got {flag}")
                pattern = text.split(None, 4)[4]
                tokens.append((number, Token(number, name, flag == "skip", pattern)))
            elif keyword in ("nonterminal", "terminal", "end"):
                symbols.append((int(words[1]), (words[2], keyword)))
            elif keyword == "start":
                start_name = words[1]
            elif keyword == "nodewidth":
                node_width = int(words[1])
            elif keyword == "rule":
                if words[3] != ":":
                    raise DescriptionError(f"{where}: expected ':' after the left side")
                rules.append((int(words[1]), (words[2], words[4:], where)))
            else:
                raise DescriptionError(f"{where}: unknown keyword {keyword}")
        except (IndexError, ValueError):
            raise DescriptionError(f"{where}: malformed line: {text}") from None

    language = Language()
    language.tokens = _dense(tokens, "token", path)
    ordered = _dense(symbols, "symbol", path)
    language.symbols = [name for name, _ in ordered]
    language.terminal = [kind != "nonterminal" for _, kind in ordered]
    ends = [number for number, (_, kind) in enumerate(ordered) if kind == "end"]
    if len(ends) != 1:
        raise DescriptionError(f"{path}: exactly one end symbol is needed")
    language.end_symbol = ends[0]

    number_of = {name: number for number, name in enumerate(language.symbols)}
    if len(number_of) != len(language.symbols):
        raise DescriptionError(f"{path}: a symbol name is declared twice")
    if start_name not in number_of or language.terminal[number_of[start_name]]:
        raise DescriptionError(f"{path}: the start symbol must be a declared nonterminal")
    language.start_symbol = number_of[start_name]

    for number, (left, right, where) in sorted(rules, key=lambda item: item[0]):
        for name in [left] + right:
            if name not in number_of:
                raise DescriptionError(f"{where}: unknown symbol {name}")
        if language.terminal[number_of[left]]:
            raise DescriptionError(f"{where}: the left side {left} is a terminal")
    language.rules = [Rule(number, number_of[left], [number_of[name] for name in right])
                      for number, (left, right, _) in enumerate(_dense(rules, "rule", path))]

    longest = max(len(rule.right) for rule in language.rules)
    if node_width is None or node_width < longest:
        raise DescriptionError(f"{path}: nodewidth must be at least the longest right side ({longest})")
    language.node_width = node_width
    return language
