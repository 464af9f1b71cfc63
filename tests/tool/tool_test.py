#!/usr/bin/env python3
"""End-to-end checks of the quarnel tool: run it, compare what it prints.

usage: tool_test.py PATH_TO_QUARNEL
"""
import json
import os
import pty
import random
import subprocess
import sys
import tempfile

TOOL = os.path.abspath(sys.argv[1])

# Each row: (arguments, standard input, expected standard output or None for
# "something", exit status, text expected on standard error). Text is UTF-8
# unless given as bytes.
SPLITTING = [
    (["sep", "-"], "a,b,c\n,x\na,,b,\n", "a | b | c\n | x\na |  | b\n", 0, ""),
    (["sep", "-t", "-d", ";"], " a ; b \r\n", "a | b\n", 0, ""),
    (["sep", "-d", "\\t", "-f", "tsv"], "a\tb\\c\nx\ty\n", "a\tb\\\\c\nx\ty\n", 0, ""),
    (["sep", "-d", ";", "-f", "csv"], "a,b;c\nd;e\n", '"a,b",c\nd,e\n', 0, ""),
    # Only some fields: missing ones are empty, an open range runs to the end.
    (["sep", "-s", "3,1"], "a,b,c,d\nx\n", "c | a\n | x\n", 0, ""),
    (["sep", "-s", "2,2147483647"], "a,b\n", "b | \n", 0, ""),
    (["sep", "-t", "-s", "2-", "-f", "jsonl"], " a , b ,c\nx\n", '["b","c"]\n[]\n', 0, ""),
    (["sep", "-f", "jsonl"], 'q"x,\x01\n', '["q\\"x","\\u0001"]\n', 0, ""),
    (["fixed", "-w", "3,2,4"], "ABCDEFGHI\nABCD\n\n", "ABC | DE | FGHI\nABC | D | \n |  | \n", 0, ""),
    (["columns", "-c", "1-3,5-6,7-"], "ABCDEFGHI\n", "ABC | EF | GHI\n", 0, ""),
    (["named", "-t"], "port = 8080\nnone\n=v\n", "port | 8080\n | v\n", 0, "1 line without '=' skipped"),
    (["named", "-d", ":", "-f", "jsonl"], "k:v:w\n", '["k","v:w"]\n', 0, ""),
    # Configuration files: comments, blank lines, sections, quotes.
    (["named", "-t", "-u"], "; note=x\n# a=b\n\ntop=1\n[db]\nhost = \"h 1\"\n[ x ]\nk='v'\n",
     "top | 1\ndb.host | h 1\nx.k | v\n", 0, ""),
]

CSV_READING = [
    (["csv"], 'a,"b,c",d\n', "a | b,c | d\n", 0, ""),
    (["csv", "-f", "jsonl"], '"say ""hi""",x\r\n"two\r\nlines",\n',
     '["say \\"hi\\"","x"]\n["two\\r\\nlines",""]\n', 0, ""),
    (["csv", "-f", "csv"], 'a,"b,c","q""",d e\n', 'a,"b,c","q""",d e\n', 0, ""),
    (["csv", "-H", "-n", "city", "-s", "1"], "name,city\nAnn,Oslo\n", "city | name\nOslo | Ann\n",
     0, ""),
    (["csv", "-s", "2-3,5,4-"], "1,2,3,4,5\n1,2\n", "2 | 3 | 5 | 4 | 5\n2 |  | \n", 0, ""),
    (["csv", "-d", ";", "-f", "tsv"], 'a;"b;\tc"\n\n', "a\tb;\\tc\n", 0, ""),
    (["csv", "-H", "-n", "zip"], "name\nx\n", "", 1, "no column named 'zip'"),
    (["sep", "-n", "name"], "", "", 2, "unknown option '-n'"),
    (["csv", "-n", "name"], "", "", 2, "needs --header"),
]

# One group per fault the tool once had, each in the code pages where it matters.
FIDELITY = [
    # A zero byte is a character like any other, in every command.
    (["csv", "-f", "jsonl"], "a\0b,c\n", '["a\\u0000b","c"]\n', 0, ""),
    (["sep", "-f", "jsonl"], "a\0b,c\n", '["a\\u0000b","c"]\n', 0, ""),
    (["fixed", "-w", "2,-1", "-f", "jsonl"], "a\0bc\n", '["a\\u0000","bc"]\n', 0, ""),
    (["named", "-f", "jsonl"], "k\0=v\0w\n", '["k\\u0000","v\\u0000w"]\n', 0, ""),
    # Decoded, then split: a separator byte inside a double-byte character.
    (["sep", "-e", "932", "-d", "\\", "-f", "jsonl"], "\u4e88,x\\y\n".encode("cp932"),
     '["\u4e88,x","y"]\n', 0, ""),
    (["sep", "-e", "932", "-d", "|"], "\u5012|x\n".encode("cp932"), "\u5012 | x\n", 0, ""),
    (["csv", "-e", "936", "-d", "@"], "\u4e02@x\n".encode("cp936"), "\u4e02 | x\n", 0, ""),
    (["csv", "-e", "950", "-d", "\\", "-f", "jsonl"], '"\u4e48\\"\\z\n'.encode("cp950"),
     '["\u4e48\\\\","z"]\n', 0, ""),
    (["named", "-e", "950", "-d", "@"], "\u4e00@v\n".encode("cp950"), "\u4e00 | v\n", 0, ""),
    # A record of one empty field.
    (["csv", "-f", "csv"], 'a\n""\n,\n', 'a\n""\n,\n', 0, ""),
    (["sep", "-f", "csv", "-s", "2"], "a\n", '""\n', 0, ""),
    # Names and numbers apart: a name that looks like a number, a comma in a name.
    (["csv", "-H", "-n", "2020,1st,a\\,b"], '1st,2020,"a,b"\nx,y,z\n', "2020 | 1st | a,b\ny | x | z\n",
     0, ""),
    (["csv", "-H", "-s", "1st"], "1st\nx\n", "", 2, "-s takes numbers; header names go with -n"),
    # Objects: a short row gives null, a long row's extra fields come as _N.
    (["csv", "-H", "-f", "jsonl"], "a,b\n1\n1,2,3\n", '{"a":"1","b":null}\n{"a":"1","b":"2","_3":"3"}\n',
     0, ""),
    (["csv", "-H", "-f", "jsonl", "-n", "b"], "a,b\n1\n", '{"b":null}\n', 0, ""),
    # Characters, not UTF-16 units.
    (["fixed", "-w", "1,1,-1"], "a\U0001F600bc\n", "a | \U0001F600 | bc\n", 0, ""),
    (["columns", "-c", "2,3-"], "\U0001F600\U0001F601xy\n", "\U0001F601 | xy\n", 0, ""),
    # Quotes: kept by default, errors with line and column under --strict.
    (["csv"], 'a,b"c\n"x"y,z\n"open\nrest\n', 'a | b"c\n"x"y | z\n"open\nrest\n', 0, ""),
    (["csv", "--strict", "in.csv"], 'a\n\u00e9,b"c\n', "a\n", 1, "in.csv:2:4: quote in an unquoted field"),
    (["csv", "--strict", "in.csv"], '"x"y\n', "", 1, "in.csv:1:4: text after a closing quote"),
    (["csv", "--strict", "in.csv"], 'a\nb,"c\nd\n', "a\n", 1, "in.csv:2:3: quote left open"),
    # Line breaks: kept inside quotes, CR, LF and CRLF ending records, mixed.
    (["csv", "-f", "jsonl"], '"a\r\nb\rc\nd"\n', '["a\\r\\nb\\rc\\nd"]\n', 0, ""),
    (["csv"], "a,b\rc\r\nd\n\re", "a | b\nc\nd\ne\n", 0, ""),
    (["csv", "-f", "csv"], 'a,"' + "x\n" * 40000 + '",b\n', 'a,"' + "x\n" * 40000 + '",b\n', 0, ""),
    (["sep", "-f", "tsv"], "a\rb\r\r\nc", "a\nb\n\nc\n", 0, ""),
    # Duplicate header names made distinct, skipping names that are taken.
    (["csv", "-H", "-f", "jsonl"], "n,n,n_2,n\n1,2,3,4\n", '{"n":"1","n_3":"2","n_2":"3","n_4":"4"}\n',
     0, ""),
    (["csv", "-H", "-n", "n_3"], "n,n,n_2\n1,2,3\n", "n_3\n2\n", 0, ""),
    # Invalid UTF-8 said once, with its line; an error under --strict.
    (["sep", "in.csv"], b"a\ncaf\xe9\n\xff\n", "a\ncaf\ufffd\n\ufffd\n", 0,
     "in.csv:2: not valid UTF-8, written as U+FFFD (said once; name the input's code page with -e"),
    (["csv", "--strict", "in.csv"], b"a\nb\xe9\n", "a\n", 1, "in.csv:2: not valid UTF-8"),
    # Byte order marks decide the encoding.
    (["csv", "-f", "jsonl"], "\ufeffa,\u00e9\r\n\U0001F600\n".encode("utf-16-le"),
     '["a","\u00e9"]\n["\U0001F600"]\n', 0, ""),
    (["csv", "-H", "-f", "jsonl", "-e", "1252"], "\ufeffk\nv\u20ac\n".encode("utf-16-be"),
     '{"k":"v\u20ac"}\n', 0, ""),
    (["sep"], b"\xef\xbb\xbfa,b\n", "a | b\n", 0, ""),
    (["sep"], b"\xff\xfea\x00\x00\xd8", "a\ufffd\n", 0, ""),
]

# Several inputs, each with a header: columns matched by name.
FILES = [
    (["csv", "-H", "x.csv", "y.csv"], {"x.csv": "a,b\n1,2\n", "y.csv": "b,a\n3,4\n"},
     "a | b\n1 | 2\n4 | 3\n", 0, ""),
    (["csv", "-H", "-f", "jsonl", "x.csv", "y.csv"], {"x.csv": "a\n1\n", "y.csv": "b,a\n3,4\n"},
     '{"a":"1","b":null}\n{"a":"4","b":"3"}\n', 0, ""),
    (["csv", "-H", "-n", "b", "x.csv", "y.csv"], {"x.csv": "a,b\n1,2\n", "y.csv": "b,a\n3,4\n"},
     "b\n2\n3\n", 0, ""),
    (["csv", "-H", "x.csv", "y.csv"], {"x.csv": "a,b\n1,2\n", "y.csv": "a,c\n3,4\n"},
     "a | b\n1 | 2\n", 1, "y.csv: its header names other columns"),
    (["sep", "nope.csv", "x.csv"], {"x.csv": "a\n"}, "a\n", 1, "cannot open 'nope.csv'"),
]

ENCODINGS = [
    # UTF-8 whatever the locale; text, JSON and widths count characters.
    (["sep", "-f", "jsonl"], "M\u00fcller,\u20ac\n", '["M\u00fcller","\u20ac"]\n', 0, ""),
    (["fixed", "-w", "2,2"], "\u00fc\u00e9\u6f22\u5b57x\n", "\u00fc\u00e9 | \u6f22\u5b57\n", 0, ""),
    # Invalid UTF-8 comes out as U+FFFD.
    (["sep"], b"a\xff,\xc3\n", "a\ufffd | \ufffd\n", 0, ""),
    (["sep", "-s", "2"], b"\xc3\xa9,a\nb,\xff\nc,\xe2\x82\xac\n", "a\n\ufffd\n\u20ac\n", 0, ""),
    (["sep", "-e", "1252", "-f", "jsonl"], b"caf\xe9,\x80 5\n", '["caf\u00e9","\u20ac 5"]\n', 0, ""),
    (["csv", "-e", "1252", "-H", "-n", "Stra\u00dfe"], b"x,Stra\xdfe\n1,K\xf6ln\n",
     "Stra\u00dfe\nK\u00f6ln\n", 0, ""),
    (["fixed", "-e", "932", "-w", "1,1"], b"\x8a\xbf\x8e\x9a\n", "\u6f22 | \u5b57\n", 0, ""),
]

FILTER = [
    (["sep", "-f", "csv", "--", "-"], "x,y\n", "x,y\n", 0, ""),
    (["sep", "--separator=;", "--format=tsv"], "x;y\n", "x\ty\n", 0, ""),
    (["sep", "-d;"], "x;y\n", "x | y\n", 0, ""),
    (["named", "-tud:", "--", "-"], " k : 'v' \n", "k | v\n", 0, ""),
    (["sep", "--help"], "", None, 0, ""),
    (["--version"], "", None, 0, ""),
    (["csv", "--version"], "", None, 0, ""),
]

ERRORS = [
    ([], "", "", 2, "no command"),
    (["frobnicate"], "", "", 2, "unknown command"),
    (["sep", "--nope"], "", "", 2, "unknown option '--nope'"),
    (["sep", "--trim=yes"], "", "", 2, "takes no value"),
    (["sep", "-d", "ab"], "", "", 2, "one ASCII character"),
    (["sep", "-d", "\u00e9"], "", "", 2, "one ASCII character"),
    (["csv", "--strict", "--lenient"], "", "", 2, "exclude each other"),
    (["fixed", "-w", "3,x"], "", "", 2, "bad width 'x'"),
    (["fixed", "-w", "4294967297"], "", "", 2, "bad width"),
    (["fixed"], "", "", 2, "--widths is required"),
    (["columns", "-c", "5-2"], "", "", 2, "reversed column range"),
    (["columns", "-c", "4294967297-4294967298"], "", "", 2, "bad column"),
    (["columns", "-c", "0-3"], "", "", 2, "bad column"),
    (["sep", "-s", "1-2147483647"], "a,b\n", "", 2, "more than 65536 fields"),
    (["csv", "-s", "3,1-65536"], "a,b\n", "", 2, "more than 65536 fields"),
    (["sep", "-f", "xml"], "", "", 2, "text, tsv, jsonl or csv"),
    (["sep", "-e", "12345"], "", "", 2, "unsupported encoding"),
    (["sep", "/nonexistent/input"], "", "", 1, "cannot open '/nonexistent/input': No such file"),
    (["sep", "/"], "", "", 1, "error reading '/': Is a directory"),
]


def run(args, stdin, **kwargs):
    data = stdin if isinstance(stdin, bytes) else stdin.encode("utf-8")
    return subprocess.run([TOOL, *args], input=data, capture_output=True, **kwargs)


def check_table(name, rows, workdir):
    failures = 0
    for args, stdin, want_out, want_status, want_err in rows:
        # A row reading "in.csv" gets its standard input as that file; a
        # row whose input is a dictionary gets those files.
        if isinstance(stdin, dict):
            for file, text in stdin.items():
                with open(os.path.join(workdir, file), "w", encoding="utf-8") as f:
                    f.write(text)
            stdin = ""
        if "in.csv" in args:
            with open(os.path.join(workdir, "in.csv"), "wb") as f:
                f.write(stdin if isinstance(stdin, bytes) else stdin.encode("utf-8"))
        got = run(args, stdin, cwd=workdir, env={"LANG": "C", "PATH": os.environ["PATH"]})
        out = got.stdout.decode("utf-8")  # also checks the output is valid UTF-8
        err = got.stderr.decode("utf-8", "replace")
        problems = []
        if got.returncode != want_status:
            problems.append(f"exit status {got.returncode}, expected {want_status}")
        if want_out is not None and out != want_out:
            problems.append(f"stdout {out!r}, expected {want_out!r}")
        if want_out is None and not out:
            problems.append("printed nothing")
        if want_err not in err:
            problems.append(f"stderr {err!r} lacks {want_err!r}")
        if problems:
            failures += 1
            print(f"FAIL {name}: quarnel {' '.join(args)}: " + "; ".join(problems))
    return len(rows), failures


def check_streams():
    """Whole-run behaviour: terminals, pipes, write errors, long lines."""
    problems = []
    # Standard input a terminal and no file: the sample, said on stderr.
    leader, follower = pty.openpty()
    got = subprocess.run([TOOL, "sep"], stdin=follower, capture_output=True)
    os.close(leader)
    os.close(follower)
    if got.returncode != 0 or b"Lovelace" not in got.stdout:
        problems.append(f"sample run: {got!r}")
    if b"sample" not in got.stderr:
        problems.append(f"sample run does not say so: {got.stderr!r}")
    # A full disk stops the run at once with status 1, help included.
    for args, stdin in [(["--help"], b""), (["sep", "-"], b"a,b\n" * 200000)]:
        with open("/dev/full", "wb") as full:
            got = subprocess.run([TOOL, *args], input=stdin, stdout=full, stderr=subprocess.PIPE)
        if got.returncode != 1 or b"No space left" not in got.stderr:
            problems.append(f"{args} to /dev/full: {got.returncode} {got.stderr!r}")
    # A reader that goes away: SIGPIPE ends the run, or, ignored, a quiet end.
    proc = subprocess.Popen([TOOL, "sep", "-"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE)
    proc.stdout.close()
    proc.communicate(b"a,b\n" * 200000)
    if proc.returncode != -13:
        problems.append(f"closed pipe, default SIGPIPE: {proc.returncode}")
    proc = subprocess.Popen([TOOL, "sep", "-"], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, restore_signals=False,
                            preexec_fn=lambda: __import__("signal").signal(
                                __import__("signal").SIGPIPE, __import__("signal").SIG_IGN))
    proc.stdout.close()
    _, err = proc.communicate(b"a,b\n" * 200000)
    if proc.returncode != 0 or err:
        problems.append(f"closed pipe: {proc.returncode} {err!r}")
    # One line of 400,000 fields: every field comes out, in order.
    line = ",".join(str(i) for i in range(400000)) + "\n"
    got = run(["sep", "-f", "tsv"], line, timeout=60)
    fields = got.stdout.decode().rstrip("\n").split("\t")
    if len(fields) != 400000 or fields[-1] != "399999":
        problems.append(f"long line gave {len(fields)} fields")
    # Progress never reaches a standard error that is not a terminal.
    with tempfile.NamedTemporaryFile() as big:
        big.write(b"x,y\n" * (5 << 20))
        big.flush()
        got = subprocess.run([TOOL, "sep", big.name], stdout=subprocess.DEVNULL,
                             stderr=subprocess.PIPE)
        if got.stderr:
            problems.append(f"progress on a pipe: {got.stderr[:80]!r}")
    for p in problems:
        print("FAIL streams:", p)
    return 5, min(len(problems), 5)


def model_record(line, fmt, select):
    """What sep writes for one line (bytes, no line break): the fields at each
    comma, a final comma giving none, each decoded with U+FFFD for bad bytes."""
    fields = line.split(b",") if line else []
    if line.endswith(b","):
        fields.pop()
    fields = [f.decode("utf-8", "replace") for f in fields]
    if select:
        first, last = select
        fields = [fields[i - 1] if i <= len(fields) else "" for i in range(first, last + 1)]
    if fmt == "text":
        return " | ".join(fields)
    if fmt == "tsv":
        table = str.maketrans({"\t": "\\t", "\r": "\\r", "\\": "\\\\"})
        return "\t".join(f.translate(table) for f in fields)
    return json.dumps(fields, ensure_ascii=False, separators=(",", ":"))


def check_model():
    """Random lines over a tiny alphabet (multi-byte, invalid and escaped
    bytes), megabytes of them so that lines straddle the reader's blocks,
    against a plain model of sep."""
    rng = random.Random(11)
    alphabet = [b"a", b"bb", b",", b",", b"\xc3\xa9", b"\xe2\x82\xac", b"\xff", b'"', b"\\", b"\t"]
    lines = [b"".join(rng.choice(alphabet) for _ in range(rng.randrange(30))) for _ in range(120000)]
    data = b"".join(line + (b"\r\n" if i % 7 == 0 else b"\n") for i, line in enumerate(lines))
    failures = 0
    for fmt, select in [("text", None), ("tsv", None), ("jsonl", None), ("text", (2, 3))]:
        args = ["sep", "-f", fmt] + (["-s", f"{select[0]}-{select[1]}"] if select else [])
        try:
            got = run(args, data).stdout.decode("utf-8").split("\n")
        except UnicodeDecodeError as e:
            print(f"FAIL model: quarnel {' '.join(args)} wrote invalid UTF-8: {e}")
            failures += 1
            continue
        for number, line in enumerate(lines):
            want = model_record(line, fmt, select)
            if number >= len(got) or got[number] != want:
                print(f"FAIL model: quarnel {' '.join(args)}: line {number + 1} {line!r} gave "
                      f"{got[number] if number < len(got) else None!r}, expected {want!r}")
                failures += 1
                break
    return 4, failures


def csv_quote(field):
    if field and not any(c in field for c in ',"\r\n') and random.random() < 0.5:
        return field
    return '"' + field.replace('"', '""') + '"'


def check_round_trip():
    """Random records (quotes, separators, CR, LF, CRLF, zero bytes, empty
    fields, one-field records, non-ASCII text) written as CSV, through -f csv,
    read back: the same records, as Python's csv module also reads them."""
    import csv
    import io
    rng = random.Random(5)
    random.seed(5)
    pieces = ["a", "bc", ",", '"', "\r", "\n", "\r\n", "\0", " ", "\u00e9", "\u6f22",
              "\U0001F600", ""]
    records = []
    for _ in range(2000):
        n = rng.choice([1, 1, 2, 3, 6])
        records.append(["".join(rng.choice(pieces) for _ in range(rng.randrange(4)))
                        for _ in range(n)])
    # Records of one empty field are written "" (as Python's writer does).
    text = "".join(",".join(csv_quote(f) for f in r) + rng.choice(["\n", "\r\n", "\r"])
                   for r in records)
    once = run(["csv", "-f", "csv"], text)
    back = run(["csv", "-f", "jsonl"], once.stdout)
    got = [json.loads(line) for line in back.stdout.decode("utf-8").splitlines()]
    problems = []
    if once.returncode or back.returncode or got != records:
        first = next((i for i, (a, b) in enumerate(zip(got, records)) if a != b), None)
        problems.append(f"{len(got)} records back of {len(records)}; first difference at "
                        f"{first}: {got[first] if first is not None else None!r}")
    theirs = list(csv.reader(io.StringIO(once.stdout.decode("utf-8"), newline="")))
    if theirs != records:
        problems.append("Python's csv module reads the output differently")
    for p in problems:
        print("FAIL round trip:", p)
    return 1, min(len(problems), 1)


def check_spectrum():
    """The csv-spectrum cases: each CSV read with its header, as JSON objects."""
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "csv-spectrum")
    names = sorted(n[:-4] for n in os.listdir(folder) if n.endswith(".csv"))
    failures = 0
    for name in names:
        got = subprocess.run([TOOL, "csv", "-H", "-f", "jsonl", os.path.join(folder, name + ".csv")],
                             capture_output=True)
        with open(os.path.join(folder, name + ".json"), encoding="utf-8") as f:
            want = json.load(f)
        rows = [json.loads(line) for line in got.stdout.decode("utf-8").splitlines()]
        if got.returncode or rows != want:
            print(f"FAIL csv-spectrum {name}: {rows!r}, expected {want!r}")
            failures += 1
    return len(names), failures


def check_valid_utf8():
    """Random bytes through every command and format: the output is always
    valid UTF-8, and --strict refuses the input instead."""
    rng = random.Random(3)
    alphabet = [b"a", b",", b'"', b"\xc3", b"\xa9", b"\xe2\x82", b"\xff", b"\0", b"\n", b"\r",
                b"=", b"\xf0\x9f\x98\x80"]
    data = b"".join(rng.choice(alphabet) for _ in range(20000))
    failures = 0
    commands = [["sep"], ["sep", "-s", "3,1"], ["csv"], ["csv", "-H"], ["named"],
                ["fixed", "-w", "1,2,-1"], ["columns", "-c", "2-3,1"]]
    for command in commands:
        for fmt in ["text", "tsv", "jsonl", "csv"]:
            got = run(command + ["-f", fmt], data)
            try:
                got.stdout.decode("utf-8")
            except UnicodeDecodeError as e:
                print(f"FAIL utf-8: quarnel {' '.join(command)} -f {fmt}: {e}")
                failures += 1
    return len(commands) * 4, failures


def model_layout(line, layout, columns):
    """The pieces the layout commands cut, in characters (code points)."""
    pieces, start = [], 1
    for entry in layout:
        if columns:
            start, last = entry
            count = -1 if last is None else last - start + 1
        else:
            count = entry
        n = (0 if len(line) < start else len(line) - start + 1) if count < 0 else count
        first = max(start, 1)
        pieces.append("" if start > len(line) or n < 1 else line[first - 1:first - 1 + n])
        if not columns:
            start += count
    return pieces


def check_layouts():
    """fixed and columns against a model in characters, on short lines (cut
    by the library) and on lines too long for it (cut by the tool)."""
    rng = random.Random(9)
    alphabet = ["a", "b", "\u00e9", "\u6f22", "\U0001F600", "\0"]
    failures = 0
    for case in range(60):
        long = case % 2 == 1
        line = "".join(rng.choice(alphabet) for _ in range(rng.randrange(12)))
        if long:
            line += "z" * 70000
        if case % 4 < 2:
            layout = [rng.randrange(-1, 5) for _ in range(rng.randrange(1, 5))]
            args = ["fixed", "-w", ",".join(map(str, layout))]
            want = model_layout(line, layout, False)
        else:
            layout = []
            for _ in range(rng.randrange(1, 4)):
                first = rng.randrange(1, 10)
                layout.append((first, rng.choice([None, first, first + rng.randrange(4)])))
            args = ["columns", "-c", ",".join(f"{a}-{'' if b is None else b}" for a, b in layout)]
            want = model_layout(line, layout, True)
        got = run(args + ["-f", "jsonl"], line + "\n")
        if got.returncode or json.loads(got.stdout) != want:
            print(f"FAIL layouts: quarnel {' '.join(args)} on {line[:20]!r}"
                  f"{'...' if long else ''}: {got.stdout[:80]!r}")
            failures += 1
    return 60, failures


def check_memory():
    """Memory stays within three times the longest line and a fixed amount,
    tested by running under an address-space limit; with too little memory
    the tool says so in one line and ends with status 1."""
    import resource
    size = 32 << 20
    # A sanitizer build reserves terabytes of address space for its shadow
    # memory before main, so no address-space limit can hold it.
    with open(TOOL, "rb") as f:
        if b"__asan_init" in f.read():
            print("skip memory: the tool is built with AddressSanitizer")
            return 0, 0

    def limited(megabytes):
        limit = megabytes << 20
        return lambda: resource.setrlimit(resource.RLIMIT_AS, (limit, limit))

    problems = []
    cases = [(["sep", "-f", "csv"], b"," * size + b"\n", size),
             (["sep", "-s", "3,1-", "-f", "csv"], b"," * size + b"\n", size + 1),
             (["csv"], b"," * size + b"\n", 3 * size + 1),
             (["csv", "-f", "jsonl"], b'"' + b'a,' * (size // 2) + b'"\n', size + 5)]
    for args, data, out_size in cases:
        got = subprocess.run([TOOL, *args], input=data, capture_output=True,
                             preexec_fn=limited(3 * (size >> 20) + 64))
        if got.returncode != 0 or (out_size and len(got.stdout) != out_size):
            problems.append(f"{args} under 3x the line: {got.returncode} {got.stderr[:100]!r}")
        got = subprocess.run([TOOL, *args], input=data, capture_output=True,
                             preexec_fn=limited(24))
        if got.returncode != 1 or got.stderr.count(b"\n") != 1 or b"out of memory" not in got.stderr:
            problems.append(f"{args} without memory: {got.returncode} {got.stderr[:100]!r}")
    for p in problems:
        print("FAIL memory:", p)
    return 2 * len(cases), len(problems)


def main():
    total = failures = 0
    with tempfile.TemporaryDirectory() as workdir:
        for name, rows in [("splitting", SPLITTING), ("csv reading", CSV_READING),
                           ("fidelity", FIDELITY), ("files", FILES),
                           ("encodings", ENCODINGS), ("filter behaviour", FILTER),
                           ("errors", ERRORS)]:
            n, f = check_table(name, rows, workdir)
            total += n
            failures += f
    for check in (check_streams, check_model, check_round_trip, check_spectrum,
                  check_valid_utf8, check_layouts, check_memory):
        n, f = check()
        total += n
        failures += f
    print(f"{total - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
