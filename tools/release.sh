#!/usr/bin/env bash
# Builds a release under dist/ (or $QUARNEL_DIST):
#   quarnel-VERSION-win32.zip, quarnel-VERSION-win64.zip   the Windows downloads
#   quarnel-VERSION-py3-none-{win32,win_amd64,manylinux_*}.whl   Python wheels
#                                                          with the library inside
# The same sources give the same bytes: every file in the archives carries the
# last commit's time, entries are sorted, and the PE files carry no link time.
# Needs what tools/setup.sh installs (mingw-w64, llvm-dlltool, doxygen).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${QUARNEL_RELEASE_BUILD:-$root/build/release}
dist=${QUARNEL_DIST:-$root/dist}
jobs=${JOBS:-$(nproc)}
version=$(sed -n 's/^project(Quarnel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}
declare -A prefix_map
py=/usr/bin/python3
[ -x "$py" ] || py=python3

# build DIR TARGET... -- CMAKE-ARGS...: a Release build of the named targets.
build() {
  local dir=$1 targets=()
  shift
  while [ "$1" != -- ]; do targets+=("$1"); shift; done
  shift
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUARNEL_BUILD_TESTS=OFF \
    -DQUARNEL_WERROR=ON "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 1; }
  cmake --build "$dir" -j "$jobs" --target "${targets[@]}"
}

mkdir -p "$build" "$dist"
rm -f "$dist"/quarnel-*
# Neither the source nor the build folder may leave its path in a binary, and
# the shipped PE files are stripped (the static runtimes bring debug sections
# whose contents vary with the folders they were linked in).
for arch in win32 win64 linux; do
  mkdir -p "$build/$arch"
  prefix_map[$arch]="-ffile-prefix-map=$root=. -ffile-prefix-map=$build/$arch=."
done
pe_link="-s -Wl,--no-insert-timestamp"
build "$build/win32" quarnel quarnel_tool -- \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" \
  -DCMAKE_C_FLAGS="${prefix_map[win32]}" -DCMAKE_CXX_FLAGS="${prefix_map[win32]}" \
  -DCMAKE_SHARED_LINKER_FLAGS="$pe_link" -DCMAKE_EXE_LINKER_FLAGS="$pe_link"
build "$build/win64" quarnel quarnel_tool -- \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake" \
  -DCMAKE_C_FLAGS="${prefix_map[win64]}" -DCMAKE_CXX_FLAGS="${prefix_map[win64]}" \
  -DCMAKE_SHARED_LINKER_FLAGS="$pe_link" -DCMAKE_EXE_LINKER_FLAGS="$pe_link"
# The wheel's Linux library carries its C++ runtime, so it needs only glibc.
build "$build/linux" quarnel docs -- \
  -DCMAKE_C_FLAGS="${prefix_map[linux]}" -DCMAKE_CXX_FLAGS="${prefix_map[linux]}" \
  -DCMAKE_SHARED_LINKER_FLAGS="-s -static-libstdc++ -static-libgcc"

# Import libraries for the Microsoft linker (and lld-link), made from the
# export table: on 32-bit the decorated stdcall symbols (_Name@N) resolve to
# the plain export names; on 64-bit there is no decoration.
sed -E 's/@[0-9]+//' src/exports/Quarnel.def >"$build/Quarnel-x64.def"
llvm-dlltool -m i386 -k -d src/exports/Quarnel.def -D Quarnel.dll -l "$build/win32/Quarnel.lib"
llvm-dlltool -m i386:x86-64 -d "$build/Quarnel-x64.def" -D Quarnel.dll -l "$build/win64/Quarnel.lib"
# mingw's import libraries name their members after the output path, so they
# are made here, in the folder they land in, under their shipped name.
(cd "$build/win32" && i686-w64-mingw32-dlltool -k -d "$root/src/exports/Quarnel.def" \
  -D Quarnel.dll -l libquarnel.dll.a)
(cd "$build/win64" && x86_64-w64-mingw32-dlltool -d "$build/Quarnel-x64.def" -D Quarnel.dll \
  -l libquarnel.dll.a)

# stage ARCH: the folder that becomes quarnel-VERSION-ARCH.zip.
stage() {
  local arch=$1 from=$build/$1 to=$build/stage/quarnel-$version-$1
  rm -rf "$to" && mkdir -p "$to"/{bin,lib,include,docs}
  cp "$from/src/Quarnel.dll" "$from/quarnel.exe" "$to/bin/"
  cp "$from/Quarnel.lib" "$to/lib/Quarnel.lib"
  cp "$from/libquarnel.dll.a" "$to/lib/libquarnel.dll.a"
  cp -r include/quarnel "$to/include/"
  cp -r "$build/linux/docs/html" "$to/docs/html"
  mkdir -p "$to/bindings"
  for lang in python dotnet pascal vba; do
    [ -d "bindings/$lang" ] && cp -r "bindings/$lang" "$to/bindings/"
  done
  find "$to/bindings" \( -name __pycache__ -o -name '*.egg-info' -o -name build \) -prune \
    -exec rm -rf {} +
  cp LICENSE CHANGELOG.md "$to/"
  sed "s/@VERSION@/$version/g; s/@ARCH@/$arch/g" tools/release/README.txt.in >"$to/README.txt"
  "$py" tools/release/pack.py zip "$build/stage" "quarnel-$version-$arch" \
    "$dist/quarnel-$version-$arch.zip"
}
stage win32
stage win64

# Wheels: the Python package with the library of each platform inside it.
"$py" tools/release/pack.py wheel bindings/python "$build/win32/src/Quarnel.dll" win32 \
  "$version" "$dist"
"$py" tools/release/pack.py wheel bindings/python "$build/win64/src/Quarnel.dll" win_amd64 \
  "$version" "$dist"
"$py" tools/release/pack.py wheel bindings/python "$build/linux/src/libquarnel.so.$version" \
  linux "$version" "$dist"
ls -l "$dist"
