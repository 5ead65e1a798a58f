#!/usr/bin/env python3
"""coverage_table.py ROOT GCOV_JSON: the per-file line table of coverage.sh.

Reads the JSON documents `gcov --json-format --stdout` printed (one after
another), merges the lines of every object per source file and prints
"path<TAB>lines<TAB>covered" for the project's own code: files under ROOT,
not under build/ or tests/, not the generated parser tables.
"""
import json
import os
import sys


def documents(text):
    decoder = json.JSONDecoder()
    at = 0
    while True:
        while at < len(text) and text[at].isspace():
            at += 1
        if at >= len(text):
            return
        doc, at = decoder.raw_decode(text, at)
        yield doc


def main():
    root = os.path.realpath(sys.argv[1])
    with open(sys.argv[2], encoding="utf-8") as f:
        text = f.read()
    runs = {}  # path -> {line: ran}
    for doc in documents(text):
        cwd = doc.get("current_working_directory", root)
        for entry in doc.get("files", []):
            path = os.path.realpath(os.path.join(cwd, entry["file"]))
            if not path.startswith(root + os.sep):
                continue
            rel = os.path.relpath(path, root)
            if rel.startswith(("build/", "tests/")) or "ui_script_tables" in rel:
                continue
            lines = runs.setdefault(rel, {})
            for line in entry.get("lines", []):
                n = line["line_number"]
                lines[n] = lines.get(n, False) or line["count"] > 0
    for rel in sorted(runs):
        lines = runs[rel]
        print(f"{rel}\t{len(lines)}\t{sum(lines.values())}")


if __name__ == "__main__":
    main()
