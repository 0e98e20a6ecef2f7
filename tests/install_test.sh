#!/usr/bin/env bash
# `cmake --install` into a temporary prefix, as a packager or a user with a
# prefix of their own does: the layout, the desktop entry, the AppStream
# metadata and the man page pass their validators, the icons have their
# sizes, and the installed program, its prefix made read-only, runs without a
# display and keeps its settings in the XDG folder.
#   install_test.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1
id=$2
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > /dev/null

for f in bin/sonoha share/sonoha/SNH347.mdb share/sonoha/NoFile.jpg share/sonoha/H_point.cur \
         share/sonoha/H_move.cur share/sonoha/help/help.htm share/sonoha/sound/Pipi.wav \
         "share/applications/$id.desktop" "share/metainfo/$id.metainfo.xml" share/man/man1/sonoha.1; do
  [ -s "$prefix/$f" ] || fail "$f is not installed"
done
[ "$(find "$prefix/share/sonoha/data" -type f | wc -l)" -ge 500 ] || fail "the pictures are not installed"

desktop=$prefix/share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate"
grep -qx "Exec=$prefix/bin/sonoha" "$desktop" || fail "Exec is not the installed program: $(grep ^Exec= "$desktop")"
grep -qx "Name\[ja\]=ソノハ" "$desktop" || fail "no Japanese name"
grep -qx "Categories=Education;Science;" "$desktop" || fail "categories"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

# Each icon is a PNG of the size its folder names.
for size in 16 22 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ -s "$png" ] || fail "no icon of $size pixels"
  read -r w h < <(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); assert d[:8]==b"\x89PNG\r\n\x1a\n"; print(*struct.unpack(">II", d[16:24]))' "$png")
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "icon $png is ${w}x${h}"
done

# The man page formats without a warning and names the installed folder.
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/sonoha.1" 2>&1 > /dev/null || true)
[ -z "$warnings" ] || fail "man page: $warnings"
grep -q "$prefix/share/sonoha/" "$prefix/share/man/man1/sonoha.1" || fail "the man page does not name the installed folder"

"$prefix/bin/sonoha" --version | grep -q '^ソノハ 3.47（コミット ' || fail "--version of the installed program"

# Run twice from the read-only prefix without a display, ended as a logout
# ends it; the settings land in the XDG folder and are read from there.
chmod -R a-w "$prefix"
before=$(cd "$prefix" && find . | sort)
home=$tmp/home
mkdir -p "$home/runtime" && chmod 700 "$home/runtime"
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_RUNTIME_DIR="$home/runtime" QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy "$prefix/bin/sonoha" &
  local pid=$! caught
  # Started once it catches SIGHUP (the program takes the end signals when its window shows).
  for _ in $(seq 600); do
    caught=$(awk '/^SigCgt:/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
    [ -n "$caught" ] && (( 0x$caught & 1 )) && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -TERM "$pid"
  wait "$pid" || fail "the installed program ended with $?"
}
run
settings=$home/config/sonoha/SNH347.snh
grep -q '^HisN7=' "$settings" || fail "no history written to $settings"
sed -i 's/^HisN0=.*/HisN0=TEST-FLOWER/' "$settings"
run
grep -q '^HisN0=TEST-FLOWER' "$settings" || fail "the history was not read from $settings"
[ "$(cd "$prefix" && find . | sort)" = "$before" ] || fail "the program wrote into its installed folders"
echo "install: layout, validators, icons, man page and a read-only run passed"
