#!/usr/bin/env python3
"""parsergen.py: builds scanner and LALR(1) parser tables from a .grammar file.

    parsergen.py GRAMMAR OUT_DIR [--include-prefix script]

Writes OUT_DIR/<name>_tables.h and OUT_DIR/<name>_tables.cpp, where <name> is
the grammar file's base name. Exits with status 1 and a message on a malformed
description, a bad pattern or a grammar conflict.
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from description import DescriptionError, read_language   # noqa: E402
from dfa import PatternError, build_scanner                 # noqa: E402
from emit import TableWriter                                # noqa: E402
from lalr import GrammarError, ParserAutomaton              # noqa: E402


def main():
    arguments = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    arguments.add_argument("grammar")
    arguments.add_argument("out_dir")
    arguments.add_argument("--include-prefix", default="script",
                           help="directory part of the header name in the #include")
    options = arguments.parse_args()

    name = os.path.splitext(os.path.basename(options.grammar))[0]
    try:
        language = read_language(options.grammar)
        scanner = build_scanner(language.tokens)
        parser = ParserAutomaton(language)
    except (DescriptionError, PatternError, GrammarError) as error:
        print(f"parsergen: {error}", file=sys.stderr)
        return 1

    writer = TableWriter(language, scanner, parser, name, options.include_prefix)
    os.makedirs(options.out_dir, exist_ok=True)
    for file_name, text in ((f"{name}_tables.h", writer.header()),
                            (f"{name}_tables.cpp", writer.source())):
        with open(os.path.join(options.out_dir, file_name), "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
    print(f"parsergen: {name}: {scanner.state_count} scanner states, "
          f"{len(scanner.records())} transitions, {len(scanner.accepting())} accepting; "
          f"{parser.state_count} parser states, {len(parser.actions)} actions")
    return 0


if __name__ == "__main__":
    sys.exit(main())
