#!/usr/bin/env python3
"""The public header's comments as API documentation.

The header documents its exports with plain C comments: one comment above a
group of adjacent declarations (an A function and its W twin, say), ending
with headed paragraphs (Arguments:, Returns:, ...). Sections open with a
comment whose first line is "/* ==== Title ===" or "/* ---- Title ---": its
text introduces the section and documents no export by itself.

usage: doc_header.py --check HEADER         fail, naming every export without a
                                            comment of its own
       doc_header.py --check-html HEADER DIR
                                            fail unless the HTML in DIR holds
                                            every section introduction and
                                            every export's Failure paragraph
       doc_header.py HEADER                 print HEADER as Doxygen reads it (an
                                            INPUT_FILTER): each section becomes
                                            a group (\\defgroup ... @{ @}) with
                                            its introduction, each export
                                            comment a doc comment that the
                                            group's other declarations copy,
                                            headings become paragraphs and
                                            indented examples code blocks
"""
import glob
import html
import os
import re
import sys

EXPORT = re.compile(r"^QUARNEL_EXPORT\b.*?\b(\w+)\s*\(")
SECTION = re.compile(r"^/\* (?:====|----) (.*?)\s*[=-]*\s*(?:\*/)?\s*$")
DECLARATION = re.compile(r"^(typedef|#define|struct|namespace)\b")
TRAILING = re.compile(r"^(\s*\S.*?;?\s+)/\*(?!\*)(.*)\*/\s*$")
HEADING = re.compile(r"^(\s*\*\s)(Arguments|Returns|Ownership|Failure|Index base):\s*(.*)$")
CODE = re.compile(r"^\s*\*    ")


def comment_end(lines, i):
    while "*/" not in lines[i]:
        i += 1
    return i


def groups(lines):
    """Yields (first line, exported name, index of the group's comment start
    or None, name of the group's first export) for every export. A section
    comment documents no export."""
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
        if line.startswith("QUARNEL_PRINTF_CHECK("):
            # An attribute line belongs to the declaration that follows it.
            i += 1
            continue
        if line.lstrip().startswith("/*"):
            begin = i
            i = comment_end(lines, i)
            comment_start = None if SECTION.match(line) else begin
        else:
            comment_start = None
        group = None
        i += 1


def sections(lines):
    """Yields (comment start, comment end, title) for every section comment."""
    for i, line in enumerate(lines):
        m = SECTION.match(line)
        if m:
            yield i, comment_end(lines, i), m.group(1)


def check(path, lines):
    missing = [(n, name) for n, name, comment, _ in groups(lines) if comment is None]
    for n, name in missing:
        print(f"{path}:{n + 1}: error: the export {name} has no comment above it "
              "(nor above the group it belongs to; a section's introduction does "
              "not count)", file=sys.stderr)
    return 1 if missing else 0


def escape(text):
    """Prose as Doxygen shows it literally: % < > # & @ and \\ are commands or
    markup to it, except inside double quotes, which it leaves alone."""
    parts = re.split(r'("[^"]*")', text)
    return "".join(p if p.startswith('"') else re.sub(r"([\\%<>#&@$])", r"\\\1", p)
                   for p in parts)


def doc_lines(lines, start, end, first_line):
    """The comment lines[start..end] as a doc comment: first_line replaces its
    opening, headings become @par paragraphs, indented examples @code
    blocks, and the rest is escaped."""
    out, in_code, after_blank = [], False, False
    for k in range(start, end + 1):
        line = lines[k]
        closing = "*/" in line
        body = line.replace("*/", "")
        if k == start:
            body = re.sub(r"^\s*/\*+", " *", body, count=1)
            if first_line is not None:
                out.append(first_line)
                body = " *"
        # An example: lines indented four or more after a blank line.
        code = bool(CODE.match(body)) and (in_code or after_blank)
        after_blank = body.strip() in ("*", "")
        if code and not in_code:
            out.append(" * @code")
            in_code = True
        elif not code and in_code and body.strip() not in ("*", ""):
            out.append(" * @endcode")
            in_code = False
        if in_code:
            out.append(body)
        else:
            m = HEADING.match(body)
            if m:
                out.append(f" * @par {m.group(2)}")
                out.append(f" * {escape(m.group(3))}")
            else:
                lead = re.match(r"^\s*\*?", body).group(0)
                out.append(lead + escape(body[len(lead):]))
        if closing:
            break
    if in_code:
        out.append(" * @endcode")
    if first_line is None:
        out[0] = re.sub(r"^\s*\*", "/**", out[0], count=1)
    out.append(" */")
    return out


def doxygen_view(lines):
    """The header as Doxygen should read it; code lines pass unchanged."""
    documented = {}  # comment start -> replacement lines
    skip = {}  # comment start -> comment end
    for n, name, comment, first in groups(lines):
        if comment is not None and name == first:
            end = comment_end(lines, comment)
            documented[comment] = doc_lines(lines, comment, end, None)
            skip[comment] = end
    copies = {n: first for n, name, comment, first in groups(lines)
              if comment is not None and name != first}
    # Comments right above a type or macro document it as well.
    i = 0
    while i < len(lines):
        if lines[i].lstrip().startswith("/*") and i not in skip and not SECTION.match(lines[i]):
            end = comment_end(lines, i)
            if i > 0 and end + 1 < len(lines) and DECLARATION.match(lines[end + 1]):
                documented[i] = doc_lines(lines, i, end, None)
                skip[i] = end
            i = end
        i += 1
    section_at = {}
    for number, (start, end, title) in enumerate(sections(lines), 1):
        opening = f"/** @defgroup section{number} {escape(title)}"
        section_at[start] = (number, doc_lines(lines, start, end, opening) + ["/** @{ */"])
        skip[start] = end
    out, open_group, i = [], False, 0
    top_end = comment_end(lines, 0)
    out += doc_lines(lines, 0, top_end, "/** @file")
    i = top_end + 1
    while i < len(lines):
        if i in section_at:
            if open_group:
                out.append("/** @} */")
            out += section_at[i][1]
            open_group = True
            i = skip[i] + 1
            continue
        if i in documented:
            out += documented[i]
            i = skip[i] + 1
            continue
        if i in copies:
            out.append(f"/** @copydoc {copies[i]} */ " + lines[i])
        elif lines[i].startswith("#endif /* QUARNEL_QUARNEL_H */") and open_group:
            out.append("/** @} */")
            open_group = False
            out.append(lines[i])
        else:
            m = TRAILING.match(lines[i])
            if m and not lines[i].lstrip().startswith(("/*", "*", "#include", "#endif", "}")):
                lines_i = f"{m.group(1)}/**<{escape(m.group(2))}*/"
                out.append(lines_i)
            else:
                out.append(lines[i])
        i += 1
    return out


def plain(text):
    return " ".join(text.split())


def html_text(folder):
    chunks = []
    for path in sorted(glob.glob(os.path.join(folder, "*.html"))):
        raw = open(path, encoding="utf-8", errors="replace").read()
        raw = re.sub(r"<[^>]+>", " ", raw)
        chunks.append(plain(html.unescape(raw)))
    return "\n".join(chunks)


def comment_prose(lines, start, end):
    text = []
    for line in lines[start:end + 1]:
        body = re.sub(r"^\s*/?\*+", "", line.replace("*/", ""))
        text.append(body)
    return text


def check_html(path, lines, folder):
    """Every section's introduction and every export group's Failure
    paragraph must be in the generated pages."""
    pages = html_text(folder)
    if not pages:
        print(f"{folder}: error: no HTML pages", file=sys.stderr)
        return 1
    problems = []
    intros = 0
    for start, end, title in sections(lines):
        body = comment_prose(lines, start + 1, end)
        prose = plain(" ".join(b for b in body if not b.startswith("    ")))
        probe = " ".join(prose.split()[:10])
        if title not in pages:
            problems.append(f"{path}:{start + 1}: the section title '{title}' is not in the HTML")
        elif probe and probe not in pages:
            problems.append(f"{path}:{start + 1}: the introduction of '{title}' is not in the "
                            f"HTML (looked for \"{probe}\")")
        intros += bool(probe)
    failures = 0
    for n, name, comment, first in groups(lines):
        if comment is None or name != first:
            continue
        body = comment_prose(lines, comment, comment_end(lines, comment))
        text = plain(" ".join(body))
        m = re.search(r"Failure: (.*?)(?: Index base:|$)", text)
        if m:
            failures += 1
            probe = " ".join(m.group(1).split()[:8])
            if probe not in pages:
                problems.append(f"{path}:{n + 1}: {name}'s Failure paragraph is not in the HTML "
                                f"(looked for \"{probe}\")")
    for p in problems:
        print("error: " + p, file=sys.stderr)
    print(f"doc_header: {intros} section introductions and {failures} Failure paragraphs "
          f"looked for in {folder}, {len(problems)} missing")
    return 1 if problems else 0


def main():
    args = sys.argv[1:]
    if args[0] == "--check-html":
        path, folder = args[1], args[2]
    else:
        path = args[-1]
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    if args[0] == "--check":
        return check(path, lines)
    if args[0] == "--check-html":
        return check_html(path, lines, folder)
    sys.stdout.write("\n".join(doxygen_view(lines)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
