"""lalr.py: the LALR(1) automaton and its action table.

The grammar is augmented with  S' -> start $  (rule number = number of rules).
LR(0) item sets are built breadth-first from state 0; a state's items are kept
in (rule, dot) order and its successors are numbered terminals first, then
nonterminals, each in item order. The state holding  S' -> start . $  accepts on $; no
state is made for shifting $. Lookaheads are computed the LALR way: spontaneous generation and
propagation between kernel items (closure with a dummy lookahead), iterated
to a fixed point, then an LR(1) closure of every state for the empty rules.
Any shift/reduce or reduce/reduce conflict is an error.
"""

SHIFT, GOTO, REDUCE, ACCEPT = 0, 1, 2, 3
_DUMMY = -1


class GrammarError(Exception):
    pass


class _Grammar:
    def __init__(self, language):
        self.terminal = language.terminal
        self.names = language.symbols
        self.end = language.end_symbol
        self.rules = [(rule.left, tuple(rule.right)) for rule in language.rules]
        self.augmented = len(self.rules)
        self.rules.append((None, (language.start_symbol, self.end)))
        self.by_left = {}
        for number, (left, _) in enumerate(self.rules):
            self.by_left.setdefault(left, []).append(number)
        self._first_sets()

    def _first_sets(self):
        self.nullable = set()
        self.first = {s: ({s} if t else set()) for s, t in enumerate(self.terminal)}
        changed = True
        while changed:
            changed = False
            for left, right in self.rules[:-1]:
                before = (left in self.nullable, len(self.first[left]))
                for symbol in right:
                    self.first[left] |= self.first[symbol]
                    if symbol not in self.nullable:
                        break
                else:
                    self.nullable.add(left)
                changed |= before != (left in self.nullable, len(self.first[left]))

    def first_of(self, symbols, lookahead):
        """FIRST(symbols lookahead) for a single lookahead terminal."""
        result = set()
        for symbol in symbols:
            result |= self.first[symbol]
            if symbol not in self.nullable:
                return result
        result.add(lookahead)
        return result

    def after_dot(self, item):
        rule, dot = item
        right = self.rules[rule][1]
        return right[dot] if dot < len(right) else None


def _closure0(grammar, kernel):
    items = set(kernel)
    stack = list(kernel)
    while stack:
        symbol = grammar.after_dot(stack.pop())
        if symbol is not None and not grammar.terminal[symbol]:
            for rule in grammar.by_left[symbol]:
                if (rule, 0) not in items:
                    items.add((rule, 0))
                    stack.append((rule, 0))
    return sorted(items)


def _closure1(grammar, seeds):
    """LR(1) closure: seeds maps item -> lookahead set; returns the same for all items."""
    result = {item: set(lookaheads) for item, lookaheads in seeds.items()}
    stack = list(result)
    while stack:
        item = stack.pop()
        symbol = grammar.after_dot(item)
        if symbol is None or grammar.terminal[symbol]:
            continue
        rest = grammar.rules[item[0]][1][item[1] + 1:]
        incoming = set()
        for lookahead in result[item]:
            incoming |= grammar.first_of(rest, lookahead)
        for rule in grammar.by_left[symbol]:
            target = result.setdefault((rule, 0), set())
            if not incoming <= target:
                target |= incoming
                stack.append((rule, 0))
    return result


class ParserAutomaton:
    def __init__(self, language):
        self.grammar = grammar = _Grammar(language)
        self._lr0_states()
        self._lookaheads()
        self.symbol_count = len(grammar.terminal)
        self.actions = self._action_table(language)

    def _lr0_states(self):
        grammar = self.grammar
        self.kernels = [((grammar.augmented, 0),)]
        self.gotos = []
        self.accepting = set()
        index = {self.kernels[0]: 0}
        while len(self.gotos) < len(self.kernels):
            items = _closure0(grammar, self.kernels[len(self.gotos)])
            symbols = []
            for item in items:
                symbol = grammar.after_dot(item)
                if symbol == grammar.end:
                    self.accepting.add(len(self.gotos))
                elif symbol is not None and symbol not in symbols:
                    symbols.append(symbol)
            symbols.sort(key=lambda s: not grammar.terminal[s])   # stable: terminals first
            row = {}
            for symbol in symbols:
                kernel = tuple(sorted((r, d + 1) for r, d in items if grammar.after_dot((r, d)) == symbol))
                if kernel not in index:
                    index[kernel] = len(self.kernels)
                    self.kernels.append(kernel)
                row[symbol] = index[kernel]
            self.gotos.append(row)

    def _lookaheads(self):
        grammar = self.grammar
        self.kernel_lookaheads = [{item: set() for item in kernel} for kernel in self.kernels]
        # The augmented item carries $ itself; any lookahead lets its closure see it.
        self.kernel_lookaheads[0][(grammar.augmented, 0)].add(grammar.end)
        propagate = []          # (state, item) -> [(state, item)]
        for state, kernel in enumerate(self.kernels):
            for item in kernel:
                closure = _closure1(grammar, {item: {_DUMMY}})
                for (rule, dot), lookaheads in closure.items():
                    symbol = grammar.after_dot((rule, dot))
                    if symbol is None or symbol == grammar.end:
                        continue
                    target = (self.gotos[state][symbol], (rule, dot + 1))
                    for lookahead in lookaheads:
                        if lookahead == _DUMMY:
                            propagate.append(((state, item), target))
                        else:
                            self.kernel_lookaheads[target[0]][target[1]].add(lookahead)
        changed = True
        while changed:
            changed = False
            for (state, item), (to_state, to_item) in propagate:
                source = self.kernel_lookaheads[state][item]
                target = self.kernel_lookaheads[to_state][to_item]
                if not source <= target:
                    target |= source
                    changed = True

    def _action_table(self, language):
        grammar = self.grammar
        width = self.symbol_count
        actions = {}

        def put(state, symbol, kind, target):
            key = state * width + symbol
            if key in actions and actions[key] != (kind, target):
                raise GrammarError(
                    f"conflict in state {state} on {grammar.names[symbol]}: "
                    f"{_describe(actions[key])} against {_describe((kind, target))}")
            actions[key] = (kind, target)

        for state, row in enumerate(self.gotos):
            closure = _closure1(grammar, self.kernel_lookaheads[state])
            if state in self.accepting:
                put(state, grammar.end, ACCEPT, 0)
            for symbol, target in row.items():
                put(state, symbol, SHIFT if grammar.terminal[symbol] else GOTO, target)
            for (rule, dot), lookaheads in sorted(closure.items()):
                if rule != grammar.augmented and dot == len(grammar.rules[rule][1]):
                    for lookahead in sorted(lookaheads):
                        put(state, lookahead, REDUCE, rule)
        return sorted((key, kind, target) for key, (kind, target) in actions.items())

    @property
    def state_count(self):
        return len(self.kernels)


def _describe(action):
    kind, target = action
    return {SHIFT: f"shift to {target}", GOTO: f"goto {target}",
            REDUCE: f"reduce by rule {target}", ACCEPT: "accept"}[kind]
