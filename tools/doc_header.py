#!/usr/bin/env python3
"""The public header's comments as API documentation.

The header documents its exports with plain C comments: one comment above a
group of adjacent declarations (an A function and its W twin, say).

usage: doc_header.py --check HEADER   fail, naming every export without a comment
       doc_header.py HEADER           print HEADER as Doxygen reads it (an
                                      INPUT_FILTER): each comment above a group
                                      becomes a doc comment, and the group's
                                      other declarations copy it
"""
import re
import sys

EXPORT = re.compile(r"^QUARNEL_EXPORT\b.*?\b(\w+)\s*\(")


def groups(lines):
    """Yields (first line, exported name, index of the group's comment start
    or None, name of the group's first export) for every export."""
    comment_start = None  # start of the comment that ends on the line before
    group = None  # (comment start, first name) of the group in progress
    i = 0
    while i < len(lines):
        line = lines[i]
        match = EXPORT.match(line)
        if match:
            name = match.group(1)
            start = i
            while ";" not in lines[i]:
                i += 1
            if comment_start is not None:
                group = (comment_start, name)
            yield start, name, group[0] if group else None, group[1] if group else None
            comment_start = None
            i += 1
            continue
        if line.lstrip().startswith("/*"):
            begin = i
            while "*/" not in lines[i]:
                i += 1
            comment_start = begin
        else:
            comment_start = None
        group = None
        i += 1


def check(path, lines):
    missing = [(n, name) for n, name, comment, _ in groups(lines) if comment is None]
    for n, name in missing:
        print(f"{path}:{n + 1}: error: the export {name} has no comment above it "
              "(nor above the group it belongs to)", file=sys.stderr)
    return 1 if missing else 0


def doxygen_view(lines):
    out = list(lines)
    out[0] = out[0].replace("/*", "/** @file", 1)
    for n, name, comment, first in groups(lines):
        if comment is None:
            continue
        if name == first:
            if not out[comment].lstrip().startswith("/**"):
                out[comment] = out[comment].replace("/*", "/**", 1)
        else:
            out[n] = f"/** @copydoc {first} */ " + out[n]
    return out


def main():
    args = sys.argv[1:]
    path = args[-1]
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    if args[0] == "--check":
        return check(path, lines)
    sys.stdout.write("\n".join(doxygen_view(lines)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
