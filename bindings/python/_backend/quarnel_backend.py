"""The package's build backend: wheels, sdists and editable installs made with
the standard library alone, so ``pip install`` needs neither setuptools nor
wheel nor a network, on any Python from 3.8 on.

It reads the sources and writes only into the folders pip hands it: the
source tree is left as it was found. A library file placed in quarnel/_lib/
(as a release build does) goes into the wheel, which is then tagged for the
building platform instead of pure Python.
"""
import base64
import hashlib
import io
import os
import sys
import sysconfig
import tarfile
import zipfile
from typing import Any, Dict, List, Optional, Tuple

# Importing this module wrote its own bytecode cache next to it; nothing
# else is cached, and that one is removed.
sys.dont_write_bytecode = True
try:
    os.remove(__cached__)  # type: ignore[name-defined]
    os.rmdir(os.path.dirname(__cached__))  # type: ignore[name-defined]
except (NameError, TypeError, OSError):
    pass

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PACKAGE = "quarnel"
LIBRARY_FILES = ("Quarnel.dll", "libquarnel.so", "libquarnel.so.0")


def _project() -> Dict[str, str]:
    """The string keys of pyproject.toml's [project] table (the file keeps
    them as plain `key = "value"` lines)."""
    fields: Dict[str, str] = {}
    section = ""
    with open(os.path.join(ROOT, "pyproject.toml"), encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line.startswith("["):
                section = line
            elif section == "[project]" and "=" in line:
                key, _, value = (part.strip() for part in line.partition("="))
                if value[:1] == value[-1:] == '"':
                    fields[key] = value[1:-1]
    return fields


def _sources() -> List[str]:
    """The package's files, relative to ROOT."""
    out = []
    for folder, dirs, files in os.walk(os.path.join(ROOT, PACKAGE)):
        dirs[:] = sorted(d for d in dirs if d != "__pycache__")
        for name in sorted(files):
            if name.endswith(".py") or name == "py.typed" or (
                    os.path.basename(folder) == "_lib" and name.startswith(LIBRARY_FILES)):
                out.append(os.path.relpath(os.path.join(folder, name), ROOT))
    return out


def _bundles_library() -> bool:
    return any(os.path.basename(os.path.dirname(p)) == "_lib" and
               os.path.basename(p).startswith(LIBRARY_FILES) for p in _sources())


def _tag(config_settings: Optional[Dict[str, Any]]) -> Tuple[str, bool]:
    """The wheel's tag and whether it is pure Python."""
    if not _bundles_library():
        return "py3-none-any", True
    platform = (config_settings or {}).get("plat-name") or sysconfig.get_platform()
    return "py3-none-" + platform.replace("-", "_").replace(".", "_"), False


def _names() -> Tuple[str, str, str]:
    project = _project()
    name, version = project["name"], project["version"]
    return name, version, f"{name}-{version}.dist-info"


def _metadata() -> str:
    project = _project()
    lines = ["Metadata-Version: 2.1", f"Name: {project['name']}",
             f"Version: {project['version']}", f"Summary: {project.get('description', '')}"]
    if "requires-python" in project:
        lines.append(f"Requires-Python: {project['requires-python']}")
    readme = os.path.join(ROOT, "README.md")
    if os.path.exists(readme):
        lines.append("Description-Content-Type: text/markdown")
        with open(readme, encoding="utf-8") as f:
            return "\n".join(lines) + "\n\n" + f.read()
    return "\n".join(lines) + "\n"


def _dist_info(tag: str, pure: bool) -> Dict[str, bytes]:
    return {
        "METADATA": _metadata().encode("utf-8"),
        "WHEEL": (f"Wheel-Version: 1.0\nGenerator: quarnel_backend\n"
                  f"Root-Is-Purelib: {'true' if pure else 'false'}\nTag: {tag}\n").encode(),
        "top_level.txt": f"{PACKAGE}\n".encode(),
    }


def _write_wheel(wheel_directory: str, files: Dict[str, bytes], tag: str) -> str:
    name, version, dist_info = _names()
    wheel_name = f"{name}-{version}-{tag}.whl"
    record = []
    for arcname, data in files.items():
        digest = base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b"=")
        record.append(f"{arcname},sha256={digest.decode()},{len(data)}")
    record.append(f"{dist_info}/RECORD,,")
    files[f"{dist_info}/RECORD"] = ("\n".join(record) + "\n").encode()
    with zipfile.ZipFile(os.path.join(wheel_directory, wheel_name), "w",
                         zipfile.ZIP_DEFLATED) as wheel:
        for arcname, data in files.items():
            info = zipfile.ZipInfo(arcname, date_time=(2020, 1, 1, 0, 0, 0))
            info.external_attr = 0o644 << 16
            wheel.writestr(info, data, zipfile.ZIP_DEFLATED)
    return wheel_name


def _read(relpath: str) -> bytes:
    with open(os.path.join(ROOT, relpath), "rb") as f:
        return f.read()


# ---- The hooks pip calls ---------------------------------------------------------

def get_requires_for_build_wheel(config_settings: Optional[Dict[str, Any]] = None) -> List[str]:
    """Nothing beyond the standard library."""
    return []


get_requires_for_build_sdist = get_requires_for_build_editable = get_requires_for_build_wheel


def prepare_metadata_for_build_wheel(metadata_directory: str,
                                     config_settings: Optional[Dict[str, Any]] = None) -> str:
    """Writes the .dist-info folder pip asks for first."""
    tag, pure = _tag(config_settings)
    dist_info = _names()[2]
    os.makedirs(os.path.join(metadata_directory, dist_info), exist_ok=True)
    for name, data in _dist_info(tag, pure).items():
        with open(os.path.join(metadata_directory, dist_info, name), "wb") as f:
            f.write(data)
    return dist_info


prepare_metadata_for_build_editable = prepare_metadata_for_build_wheel


def build_wheel(wheel_directory: str, config_settings: Optional[Dict[str, Any]] = None,
                metadata_directory: Optional[str] = None) -> str:
    """The wheel: the package's modules, py.typed and any bundled library."""
    tag, pure = _tag(config_settings)
    dist_info = _names()[2]
    files = {p.replace(os.sep, "/"): _read(p) for p in _sources()}
    files.update({f"{dist_info}/{k}": v for k, v in _dist_info(tag, pure).items()})
    return _write_wheel(wheel_directory, files, tag)


def build_editable(wheel_directory: str, config_settings: Optional[Dict[str, Any]] = None,
                   metadata_directory: Optional[str] = None) -> str:
    """A wheel whose .pth file points the interpreter at this source tree."""
    dist_info = _names()[2]
    files = {f"_{PACKAGE}_editable.pth": (ROOT + "\n").encode()}
    files.update({f"{dist_info}/{k}": v for k, v in _dist_info("py3-none-any", True).items()})
    return _write_wheel(wheel_directory, files, "py3-none-any")


def build_sdist(sdist_directory: str, config_settings: Optional[Dict[str, Any]] = None) -> str:
    """The source archive: the package, its tests, this backend and the
    project files."""
    name, version, _ = _names()
    base = f"{name}-{version}"
    paths = _sources() + ["pyproject.toml", os.path.join("_backend", "quarnel_backend.py")]
    for extra in ("README.md",):
        if os.path.exists(os.path.join(ROOT, extra)):
            paths.append(extra)
    tests = os.path.join(ROOT, "tests")
    if os.path.isdir(tests):
        paths += [os.path.join("tests", n) for n in sorted(os.listdir(tests)) if n.endswith(".py")]
    archive = f"{base}.tar.gz"
    with tarfile.open(os.path.join(sdist_directory, archive), "w:gz", format=tarfile.PAX_FORMAT) \
            as tar:
        entries = [(f"{base}/PKG-INFO", _metadata().encode("utf-8"))]
        entries += [(f"{base}/{p.replace(os.sep, '/')}", _read(p)) for p in paths]
        for arcname, data in entries:
            info = tarfile.TarInfo(arcname)
            info.size, info.mode, info.mtime = len(data), 0o644, 1577836800
            tar.addfile(info, io.BytesIO(data))
    return archive
