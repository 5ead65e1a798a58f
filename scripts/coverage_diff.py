#!/usr/bin/env python3
"""coverage_diff.py OLD NEW: files whose covered lines fell between two
coverage.sh tables, worst first, and the totals of both."""
import sys


def table(path):
    rows = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            name, lines, covered = line.rstrip("\n").split("\t")
            rows[name] = (int(lines), int(covered))
    return rows


def main():
    old, new = table(sys.argv[1]), table(sys.argv[2])
    falls = []
    for name, (lines, covered) in old.items():
        now = new.get(name, (lines, 0))[1]
        if now < covered:
            falls.append((covered - now, name, covered, now, lines))
    for lost, name, before, after, lines in sorted(falls, reverse=True):
        print(f"{name}: {before} -> {after} of {lines} lines (-{lost})")
    for label, rows in (("old", old), ("new", new)):
        lines = sum(r[0] for r in rows.values())
        covered = sum(r[1] for r in rows.values())
        print(f"{label}: {covered} / {lines} lines run ({100.0 * covered / lines:.1f}%)")


if __name__ == "__main__":
    main()
