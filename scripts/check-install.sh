#!/usr/bin/env bash
# Installs Quillop into a scratch folder and builds its Debian package, then
# checks what a desktop would use: every installed file, the menu entry, the
# .mrc file type, the thumbnailer, the package's contents and that the editor
# starts from an installed tree.
#   bash scripts/check-install.sh       (after scripts/test.sh has built)
set -euo pipefail
cd "$(dirname "$0")/.."
export CCACHE_BASEDIR="$PWD"
export QT_QPA_PLATFORM=offscreen
export SDL_AUDIODRIVER=dummy

bash scripts/install-deps.sh
build=build/default
cmake --preset default >/dev/null
cmake --build --preset default -j"$(nproc)" --target quillop quillop-cli quillop-thumbnailer quillop_data quillop_package_docs \
  quillop_man_pages quillop_manual quillop_runtime quillop_runtime_shared quillop-runtime-dump quillop_runtime_man_page \
  quillop-runtime-player quillop_runtime_player_man_page

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
step() { echo "== $*"; }

# --- the install tree ---------------------------------------------------------
step "cmake --install into a DESTDIR"
stage="$work/stage"
DESTDIR="$stage" cmake --install "$build" --prefix /usr --component editor >/dev/null
# The runtime's library and development files are packages of their own;
# the rest of this script checks the editor's files.
runtime_stage="$work/runtime-stage"
for component in library development; do
  DESTDIR="$runtime_stage" cmake --install "$build" --prefix /usr --component "$component" >/dev/null
done
expected="$work/expected.txt"
{
  printf '%s\n' /usr/bin/quillop /usr/bin/quillop-cli /usr/bin/quillop-thumbnailer \
    /usr/share/quillop/quillop.mrc \
    /usr/share/doc/quillop/README.md /usr/share/doc/quillop/copyright /usr/share/doc/quillop/changelog.gz \
    /usr/share/doc/quillop/examples/demo.mrc \
    /usr/share/applications/quillop.desktop /usr/share/mime/packages/quillop.xml \
    /usr/share/thumbnailers/quillop.thumbnailer /usr/share/bash-completion/completions/quillop-cli \
    /usr/share/man/man1/quillop.1.gz /usr/share/man/man1/quillop-cli.1.gz /usr/share/man/man1/quillop-thumbnailer.1.gz
  for size in 16 22 24 32 48 64 128 256; do
    echo "/usr/share/icons/hicolor/${size}x${size}/apps/quillop.png"
  done
  (cd "$build/docs/manual" && find . -type f | sed 's|^\.|/usr/share/doc/quillop/manual|')
} | sort >"$expected"
(cd "$stage" && find . -type f | sed 's|^\.||' | sort) >"$work/installed.txt"
diff -u "$expected" "$work/installed.txt" || fail "the install tree differs from the expected list"
for size in 16 22 24 32 48 64 128 256; do
  file "$stage/usr/share/icons/hicolor/${size}x${size}/apps/quillop.png" | grep -q "PNG image data, $size x $size" ||
    fail "the ${size}x${size} icon is not a PNG of that size"
done

step "desktop-file-validate"
desktop-file-validate "$stage/usr/share/applications/quillop.desktop" || fail "the menu entry is not valid"

# File managers open a .mrc file with the entry that names its type.
mkdir -p "$work/applications"
cp "$stage/usr/share/applications/quillop.desktop" "$work/applications/"
update-desktop-database "$work/applications"
grep -q '^application/x-quillop-resources=quillop.desktop;' "$work/applications/mimeinfo.cache" ||
  fail "the menu entry does not open .mrc files"
grep -q '^Exec=quillop %f$' "$work/applications/quillop.desktop" || fail "the menu entry does not pass the file on"

step "the .mrc file type"
mkdir -p "$work/xdg/mime/packages"
cp "$stage/usr/share/mime/packages/quillop.xml" "$work/xdg/mime/packages/"
XDG_DATA_HOME="$work/xdg" update-mime-database "$work/xdg/mime"
cp examples/demo.mrc "$work/demo.mrc"
cp examples/demo.mrc "$work/demo-without-extension"
printf 'Just some words,\nnothing more.\n' >"$work/notes.txt"
content_type() { XDG_DATA_HOME="$work/xdg" gio info -a standard::content-type "$1" | sed -n 's/.*standard::content-type: //p'; }
for file in demo.mrc demo-without-extension notes.txt; do
  type="$(content_type "$work/$file")"
  echo "$file: $type"
  case "$file" in
    notes.txt) [ "$type" != application/x-quillop-resources ] || fail "a text file is taken for a resource file" ;;
    *) [ "$type" = application/x-quillop-resources ] || fail "$file is not recognised as a resource file" ;;
  esac
done

step "the thumbnailer, called as its .thumbnailer entry says"
png_size() { python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print("%dx%d" % struct.unpack(">II", d[16:24]) if d[:8]==b"\x89PNG\r\n\x1a\n" else "not a PNG")' "$1"; }
thumbnail() {
  local exec_line
  exec_line="$(sed -n 's/^Exec=//p' "$stage/usr/share/thumbnailers/quillop.thumbnailer")"
  exec_line="${exec_line//%s/$1}"; exec_line="${exec_line//%i/$2}"; exec_line="${exec_line//%o/$3}"
  PATH="$stage/usr/bin:$PATH" bash -c "$exec_line"
}
thumbnail 256 "$work/demo.mrc" "$work/thumb.png" || fail "the thumbnailer failed on the demo document"
# The longer side is the size asked for; the demo's world is wider than high.
[[ "$(png_size "$work/thumb.png")" =~ ^256x(1[0-9][0-9]|2[0-4][0-9])$ ]] ||
  fail "the thumbnail is $(png_size "$work/thumb.png"), not 256 wide and less high"
pngcheck -q "$work/thumb.png" || fail "the thumbnail is not a sound PNG"
head -c 300 examples/demo.mrc >"$work/broken.mrc"
if thumbnail 128 "$work/broken.mrc" "$work/broken.png" 2>"$work/broken.err"; then
  fail "the thumbnailer succeeded on a broken file"
fi
[ ! -e "$work/broken.png" ] || fail "the thumbnailer left a picture of a broken file"
grep -q "^quillop-thumbnailer: " "$work/broken.err" || fail "the thumbnailer did not say why it failed"

# The editor starts from an installed tree (it finds its resource file in
# share/quillop, not beside itself) and pictures its views.
starts_from() {
  local root="$1"
  (cd / && timeout 60 "$root/usr/bin/quillop" --screenshots "$work/shots-$2" \
     "$root/usr/share/doc/quillop/examples/demo.mrc" >/dev/null 2>&1) &&
    ls "$work/shots-$2"/*.png >/dev/null 2>&1
}
step "the installed editor starts"
starts_from "$stage" stage || fail "the editor did not start from the install tree"

# --- the runtime, as a game links it ------------------------------------------
step "a C program built against the installed runtime"
libdir="$(find "$runtime_stage" -name 'libquillop-runtime.so' -printf '%h\n' | head -n 1)"
[ -n "$libdir" ] || fail "the runtime's shared library is not installed"
export PKG_CONFIG_PATH="$libdir/pkgconfig"
# shellcheck disable=SC2046
gcc -std=c11 -Wall -Werror tests/runtime-install/groups.c $(pkg-config --cflags --libs quillop-runtime) \
  -o "$work/groups" || fail "the C program does not build through pkg-config"
LD_LIBRARY_PATH="$libdir" "$work/groups" examples/demo.mrc >"$work/groups.txt" || fail "the C program did not load the demo"
cat "$work/groups.txt"
"$build/apps/quillop-cli" dump examples/demo.mrc --json 2>/dev/null |
  python3 -c 'import json,sys; g=json.load(sys.stdin)["groups"]
keys=["texts","bitmaps","sounds","animations","trajectories","maps","colors","binaryFiles","userInterfaces","worlds"]
print("\n".join("%d %d" % (i, len(g[k])) for i, k in enumerate(keys)))' >"$work/groups-expected.txt"
diff -u "$work/groups-expected.txt" "$work/groups.txt" || fail "the C program counts other groups than the editor"
if ldd "$libdir/libquillop-runtime.so" | grep -Eq 'libQt|libav'; then fail "the runtime links Qt or FFmpeg"; fi
step "the same program through find_package(QuillopRuntime)"
cmake -S tests/runtime-install -B "$work/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$runtime_stage/usr" >/dev/null &&
  cmake --build "$work/consumer" >/dev/null || fail "find_package(QuillopRuntime) does not build the C program"
LD_LIBRARY_PATH="$libdir" "$work/consumer/groups" examples/demo.mrc | diff -u "$work/groups.txt" - ||
  fail "the CMake-built program counts other groups"
step "the installed example game plays the demo's first world without a screen"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy LD_LIBRARY_PATH="$libdir" "$runtime_stage/usr/bin/quillop-runtime-player" \
  examples/demo.mrc --frames 40 --out "$work/last.png" || fail "the example game did not play the demo"
pngcheck -q "$work/last.png" || fail "the example game's last frame is no sound PNG file"

# --- the Debian package -------------------------------------------------------
step "cpack -G DEB"
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
deb="$(ls "$work"/package/quillop_*.deb)"
dpkg-deb -f "$deb"
dpkg-deb -c "$deb" | tee "$work/deb-contents.txt"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print substr($6, 2)}' | sort >"$work/deb-files.txt"
diff -u "$expected" "$work/deb-files.txt" || fail "the package's files differ from the install tree's"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "the package does not depend on Qt Widgets"

step "the package's dependencies resolve on this system"
apt-get install --simulate "$deb" >"$work/simulate.txt" 2>&1 || { cat "$work/simulate.txt"; fail "apt cannot install the package"; }

step "dpkg -i into a throwaway root"
root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
# The libraries it needs are this system's, not the empty root's.
dpkg --root="$root" --force-depends --force-not-root --force-script-chrootless -i "$deb" >"$work/dpkg.txt" 2>&1 ||
  { cat "$work/dpkg.txt"; fail "dpkg could not install the package"; }
dpkg --root="$root" -L quillop | while read -r path; do [ -f "$root$path" ] && echo "$path"; done | sort \
  >"$work/dpkg-files.txt"
diff -u "$expected" "$work/dpkg-files.txt" || fail "dpkg installed other files than the package lists"
starts_from "$root" package || fail "the editor did not start from the installed package"

step "lintian on every package"
lintian --tag-display-limit 0 "$work"/package/*.deb | tee "$work/lintian.txt" || true
if grep -q '^[EW]: ' "$work/lintian.txt"; then fail "lintian reports errors or warnings"; fi
step "man quillop-cli"
man -l "$stage/usr/share/man/man1/quillop-cli.1.gz" 2>&1 | grep -q 'render-world' || fail "the manual page of quillop-cli does not read"

if [ "$failures" -gt 0 ]; then
  echo "check-install: $failures check(s) failed" >&2
  exit 1
fi
echo "check-install: every check passed"
