#!/usr/bin/env python3
"""Reproducible release archives, standard library only.

  pack.py zip BASE NAME OUT.zip         BASE/NAME/... as NAME/... in OUT.zip
  pack.py wheel PKGDIR LIBRARY PLAT VERSION DIST
                                        a wheel of PKGDIR/quarnel with LIBRARY
                                        inside the package (PLAT: win32,
                                        win_amd64 or linux, whose manylinux tag
                                        is read off the library's glibc needs)

Entries are sorted, carry SOURCE_DATE_EPOCH as their time and fixed
permissions, so the same inputs give the same bytes.
"""
import base64
import hashlib
import os
import re
import subprocess
import sys
import time
import zipfile


def stamp():
    seconds = max(int(os.environ.get("SOURCE_DATE_EPOCH", "315532800")), 315532800)
    return time.gmtime(seconds)[:6]


def add(archive, name, data, executable=False):
    info = zipfile.ZipInfo(name, stamp())
    info.compress_type = zipfile.ZIP_DEFLATED
    info.create_system = 3
    info.external_attr = (0o100755 if executable else 0o100644) << 16
    archive.writestr(info, data, compresslevel=9)


def files_under(base):
    found = []
    for folder, dirs, names in os.walk(base):
        dirs[:] = sorted(d for d in dirs if d != "__pycache__")
        for name in names:
            if not name.endswith((".pyc", ".pyo")):
                found.append(os.path.join(folder, name))
    return sorted(found, key=lambda p: os.path.relpath(p, base).replace(os.sep, "/"))


def make_zip(base, name, out):
    with zipfile.ZipFile(out + ".tmp", "w") as archive:
        for path in files_under(os.path.join(base, name)):
            rel = os.path.relpath(path, base).replace(os.sep, "/")
            with open(path, "rb") as f:
                add(archive, rel, f.read(), rel.endswith((".exe", ".dll")))
    os.replace(out + ".tmp", out)


def glibc_tag(library):
    """manylinux_2_N_x86_64 for the newest glibc symbol version the library needs."""
    dump = subprocess.run(["objdump", "-T", library], check=True, capture_output=True, text=True)
    versions = [tuple(map(int, v.split(".")))
                for v in re.findall(r"GLIBC_([0-9]+\.[0-9]+(?:\.[0-9]+)?)", dump.stdout)]
    major, minor = max(versions)[:2] if versions else (2, 17)
    minor = max(minor, 17)  # the oldest tag pip still knows by this name
    return "manylinux_%d_%d_x86_64" % (major, minor)


def record_hash(data):
    digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=")
    return "sha256=" + digest.decode()


def make_wheel(pkgdir, library, plat, version, dist):
    if plat == "linux":
        plat = glibc_tag(library)
        lib_name = "libquarnel.so.0"
    else:
        lib_name = "Quarnel.dll"
    tag = "py3-none-" + plat
    contents = []
    package = os.path.join(pkgdir, "quarnel")
    for path in files_under(package):
        rel = "quarnel/" + os.path.relpath(path, package).replace(os.sep, "/")
        if rel.startswith("quarnel/_lib/"):
            continue
        with open(path, "rb") as f:
            contents.append((rel, f.read()))
    with open(library, "rb") as f:
        contents.append(("quarnel/_lib/" + lib_name, f.read()))
    info = "quarnel-%s.dist-info/" % version
    metadata = ("Metadata-Version: 2.1\nName: quarnel\nVersion: %s\n"
                "Summary: String handles of the Quarnel library for Python\n"
                "License: MIT\nRequires-Python: >=3.8\n" % version)
    wheel = ("Wheel-Version: 1.0\nGenerator: quarnel-release\n"
             "Root-Is-Purelib: false\nTag: %s\n" % tag)
    contents.append((info + "METADATA", metadata.encode()))
    contents.append((info + "WHEEL", wheel.encode()))
    record = "".join("%s,%s,%d\n" % (n, record_hash(d), len(d)) for n, d in contents)
    record += info + "RECORD,,\n"
    contents.append((info + "RECORD", record.encode()))
    out = os.path.join(dist, "quarnel-%s-%s.whl" % (version, tag))
    with zipfile.ZipFile(out + ".tmp", "w") as archive:
        for name, data in contents:
            add(archive, name, data, name.endswith((".so.0", ".dll")))
    os.replace(out + ".tmp", out)
    print(out)


def main(argv):
    if len(argv) == 4 and argv[0] == "zip":
        make_zip(*argv[1:])
    elif len(argv) == 6 and argv[0] == "wheel":
        make_wheel(*argv[1:])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
