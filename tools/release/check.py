#!/usr/bin/env python3
"""Checks a release folder made by tools/release.sh.

  check.py DIST VERSION DEF

For each Windows archive: the files a user is promised, the export table of
Quarnel.dll against the .def (plain names, nothing more or less), and the
import tables of every PE file (system DLLs only: no C or C++ runtime of the
compiler's). For each wheel: its tag against its WHEEL file and its library's
machine, the RECORD hashes, the package's modules, and for the Linux wheel
that the library needs nothing beyond glibc, at the version its tag names.
Prints one line per check and "N passed, N failed".
"""
import base64
import hashlib
import os
import re
import subprocess
import sys
import tempfile
import zipfile

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "advapi32.dll", "oleaut32.dll", "msvcrt.dll",
               "ntdll.dll", "shell32.dll", "ole32.dll"}
GLIBC_LIBS = {"libc.so.6", "libm.so.6", "libdl.so.2", "libpthread.so.0", "librt.so.1",
              "ld-linux-x86-64.so.2"}
ARCHIVE_FILES = ["bin/Quarnel.dll", "bin/quarnel.exe", "lib/Quarnel.lib", "lib/libquarnel.dll.a",
                 "include/quarnel/quarnel.h", "include/quarnel/quarnel.hpp",
                 "docs/html/index.html", "bindings/python/quarnel/__init__.py",
                 "bindings/dotnet/Quarnel.cs", "bindings/pascal/quarnel.pas",
                 "bindings/vba/Quarnel.bas", "LICENSE", "CHANGELOG.md", "README.txt"]
MACHINES = {"win32": "i386", "win64": "x86-64", "win_amd64": "x86-64"}

results = []


def check(ok, what):
    results.append(ok)
    print(("ok   " if ok else "FAIL ") + what)


def objdump(arch, path):
    tool = "i686-w64-mingw32-objdump" if arch == "win32" else "x86_64-w64-mingw32-objdump"
    return subprocess.run([tool, "-p", path], check=True, capture_output=True, text=True).stdout


def pe_machine(path):
    with open(path, "rb") as f:
        data = f.read(4096)
    offset = int.from_bytes(data[0x3C:0x40], "little")
    machine = int.from_bytes(data[offset + 4:offset + 6], "little")
    return {0x14C: "i386", 0x8664: "x86-64"}.get(machine, hex(machine))


def def_exports(def_path):
    names = []
    with open(def_path) as f:
        body = f.read().split("EXPORTS", 1)[1]
    for line in body.splitlines():
        line = line.split(";", 1)[0].strip()
        if line:
            names.append(re.sub(r"@\d+$", "", line.split()[0]))
    return sorted(names)


def pe_exports(dump):
    table = dump.split("[Ordinal/Name Pointer] Table", 1)
    if len(table) < 2:
        return []
    return sorted(re.findall(r"^\s+\[\s*\d+\]\s+(\S+)$", table[1].split("\n\n", 1)[0], re.M))


def check_archive(path, arch, version, exports):
    name = os.path.basename(path)
    top = "quarnel-%s-%s/" % (version, arch)
    with zipfile.ZipFile(path) as archive:
        listed = archive.namelist()
        check(all(n.startswith(top) for n in listed), name + ": one top folder " + top)
        missing = [f for f in ARCHIVE_FILES if top + f not in listed]
        check(not missing, name + ": holds the promised files" +
              (" (missing: %s)" % ", ".join(missing) if missing else ""))
        stray = [n for n in listed if re.search(r"(__pycache__|\.pyc$|\.egg-info|/build/)", n)]
        check(not stray, name + ": no build leftovers" + (" (%s)" % stray[:3] if stray else ""))
        with tempfile.TemporaryDirectory() as tmp:
            archive.extractall(tmp)
            for pe in sorted(n for n in listed if n.endswith((".dll", ".exe"))):
                dump = objdump(arch, os.path.join(tmp, pe))
                short = pe[len(top):]
                check(pe_machine(os.path.join(tmp, pe)) == MACHINES[arch],
                      "%s: %s is %s code" % (name, short, MACHINES[arch]))
                imports = {d.lower() for d in re.findall(r"DLL Name: (\S+)", dump)}
                allowed = SYSTEM_DLLS | ({"quarnel.dll"} if short.endswith(".exe") else set())
                check(imports <= allowed, "%s: %s imports system DLLs only (%s)" %
                      (name, short, ", ".join(sorted(imports - allowed)) or "ok"))
                if short == "bin/Quarnel.dll":
                    got = pe_exports(dump)
                    check(got == exports, "%s: Quarnel.dll exports the %d plain names of the "
                          ".def (has %d)" % (name, len(exports), len(got)))


def record_ok(archive):
    record = next(n for n in archive.namelist() if n.endswith(".dist-info/RECORD"))
    for line in archive.read(record).decode().splitlines():
        file, digest, size = line.rsplit(",", 2)
        if file == record:
            continue
        data = archive.read(file)
        want = "sha256=" + base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(
            b"=").decode()
        if digest != want or int(size) != len(data):
            return False
    return True


def check_wheel(path, version):
    name = os.path.basename(path)
    match = re.match(r"quarnel-%s-py3-none-(\w+)\.whl$" % re.escape(version), name)
    check(bool(match), name + ": named quarnel-VERSION-py3-none-PLATFORM")
    if not match:
        return
    plat = match.group(1)
    with zipfile.ZipFile(path) as archive:
        listed = archive.namelist()
        wheel = archive.read("quarnel-%s.dist-info/WHEEL" % version).decode()
        check("Tag: py3-none-%s\n" % plat in wheel and "Root-Is-Purelib: false" in wheel,
              name + ": WHEEL names the same tag, platform-specific")
        check(record_ok(archive), name + ": RECORD hashes and sizes match")
        check("quarnel/__init__.py" in listed and "quarnel/py.typed" in listed,
              name + ": holds the package and its py.typed marker")
        lib = "quarnel/_lib/" + ("Quarnel.dll" if plat.startswith("win") else "libquarnel.so.0")
        check(lib in listed, name + ": holds " + lib)
        if lib not in listed:
            return
        with tempfile.TemporaryDirectory() as tmp:
            target = archive.extract(lib, tmp)
            if plat in MACHINES:
                check(pe_machine(target) == MACHINES[plat],
                      "%s: the DLL is %s code" % (name, MACHINES[plat]))
                return
            dump = subprocess.run(["objdump", "-p", "-T", target], check=True,
                                  capture_output=True, text=True).stdout
            needed = set(re.findall(r"NEEDED\s+(\S+)", dump))
            check(needed <= GLIBC_LIBS, "%s: the library needs glibc only (%s)" %
                  (name, ", ".join(sorted(needed - GLIBC_LIBS)) or "ok"))
            check("GLIBCXX_" not in dump and "CXXABI_" not in dump,
                  name + ": the C++ runtime is inside the library")
            versions = [tuple(map(int, v.split(".")[:2]))
                        for v in re.findall(r"GLIBC_(\d+\.\d+(?:\.\d+)?)", dump)]
            newest = max(versions + [(2, 17)])
            check(plat == "manylinux_%d_%d_x86_64" % newest,
                  "%s: tag matches the newest glibc version needed (2.%d)" % (name, newest[1]))


def main(argv):
    if len(argv) != 3:
        sys.exit(__doc__)
    dist, version, def_path = argv
    exports = def_exports(def_path)
    for arch in ("win32", "win64"):
        path = os.path.join(dist, "quarnel-%s-%s.zip" % (version, arch))
        check(os.path.exists(path), os.path.basename(path) + " exists")
        if os.path.exists(path):
            check_archive(path, arch, version, exports)
    wheels = sorted(f for f in os.listdir(dist) if f.endswith(".whl"))
    plats = sorted(re.sub(r".*-py3-none-(\w+)\.whl", r"\1", w) for w in wheels)
    linux = [p for p in plats if re.match(r"manylinux_2_\d+_x86_64$", p)]
    check(len(linux) == 1 and sorted(set(plats) - set(linux)) == ["win32", "win_amd64"],
          "three wheels: " + ", ".join(plats))
    for wheel in wheels:
        check_wheel(os.path.join(dist, wheel), version)
    print("release: %d passed, %d failed" % (results.count(True), results.count(False)))
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
