#!/usr/bin/env bash
# The Debian package, as a user gets it: made by CPack from the build,
# installed by dpkg, started on a desktop (Xvfb and openbox), the editor's
# copy of the catalogue made through the menu, then removed by dpkg.
#
# dpkg works in a scratch root of its own (--root: its own files and its own
# package database), so the test does the same as root in CI or as a user on
# a developer's machine, and never installs anything into the machine or
# waits for its dpkg lock. The package's dependencies are checked against the
# machine's package database instead: every package the control file names is
# installed here (tools/setup.sh installs them), so the names are real and the
# program found every library it needs when it started.
#   deb_package_test.sh BUILD_DIR APP_ID
# With SONOHA_SHOTS=DIR the desktop is photographed at each step into DIR.
set -euo pipefail
build=$(cd "$1" && pwd)
id=$2
tmp=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "-- $*"; }

step "making the package"
(cd "$build" && cpack -G DEB -B "$tmp/out" > "$tmp/cpack.log" 2>&1) || { cat "$tmp/cpack.log"; fail "cpack"; }
deb=$(echo "$tmp"/out/sonoha_*.deb)
[ -f "$deb" ] || fail "no package made"

step "checking the dependencies it names"
depends=$(dpkg-deb -f "$deb" Depends)
for wanted in libqt6sql6-sqlite fonts-ipafont-gothic libqt6widgets6 libsdl2-mixer-2.0-0 libwmf-0.2-7 libsqlite3-0; do
  grep -q "\b$wanted\b" <<< "$depends" || fail "Depends does not name $wanted: $depends"
done
installed() { dpkg-query -W -f='${Status}' "$1" 2> /dev/null | grep -q 'install ok installed'; }
IFS=',' read -ra entries <<< "$depends, $(dpkg-deb -f "$deb" Recommends)"
for entry in "${entries[@]}"; do
  ok=false
  IFS='|' read -ra alternatives <<< "$entry"
  for alternative in "${alternatives[@]}"; do
    name=$(sed 's/(.*)//; s/:any//; s/ //g' <<< "$alternative")
    [ -z "$name" ] && ok=true && continue
    installed "$name" && ok=true
  done
  $ok || fail "the package names \"$entry\", which is not installed here"
done

step "installing it with dpkg"
root=$tmp/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
dpkgr() { dpkg --root="$root" --log="$tmp/dpkg.log" --force-not-root "$@"; }
# The scratch database knows none of the dependencies; the machine has them.
dpkgr --force-depends -i "$deb" > "$tmp/dpkg-install.log" 2>&1 || { cat "$tmp/dpkg-install.log"; fail "dpkg -i"; }
program=$root/usr/bin/sonoha
[ -x "$program" ] || fail "no program installed"
for f in "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml" usr/share/sonoha/SNH347.mdb \
         "usr/share/icons/hicolor/48x48/apps/$id.png" usr/share/man/man1/sonoha.1; do
  [ -s "$root/$f" ] || fail "$f is not in the package"
done
grep -qx "Exec=/usr/bin/sonoha" "$root/usr/share/applications/$id.desktop" || fail "the desktop entry's Exec"

step "starting it on a desktop"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3> "$tmp/display" 2> "$tmp/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$tmp/display")"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
openbox > /dev/null 2>&1 &
pids+=($!)
shot() { if [ -n "${SONOHA_SHOTS:-}" ]; then mkdir -p "$SONOHA_SHOTS" && import -window root "$SONOHA_SHOTS/$1.png"; fi; }

home=$tmp/home
mkdir -p "$home/runtime" && chmod 700 "$home/runtime"
export HOME=$home XDG_CONFIG_HOME=$home/config XDG_DATA_HOME=$home/data XDG_RUNTIME_DIR=$home/runtime
export SDL_AUDIODRIVER=dummy
"$program" > "$tmp/program.log" 2>&1 &
app=$!
pids+=($app)
# xdotool stops with BadWindow when a window it walks goes away meanwhile (the
# loading screen closing), so the search is asked again until it answers.
window() {
  local id
  for _ in $(seq 120); do
    id=$(xdotool search --onlyvisible --name "$1" 2> /dev/null | head -1) || true
    [ -n "$id" ] && echo "$id" && return 0
    sleep 0.5
  done
  return 1
}
main=$(window "^ソノハ Version 3.47$") || fail "the main window did not appear: $(cat "$tmp/program.log")"
sleep 1  # the welcome line; the window is settled
shot 1-main-window

step "making the editor's copy of the catalogue"
# The right button over the window's background opens the menu; with
# nothing selected, the fifth enabled entry is データの編集....
xdotool mousemove --window "$main" 180 44 click 3
sleep 0.5
shot 2-menu
for _ in 1 2 3 4 5; do xdotool key Down; done
xdotool key Return
offer=$(window "^ソノハVersion3.47$") || fail "the copy was not offered"
shot 3-copy-offered
xdotool windowactivate --sync "$offer" key Return
editor=$(window "^データの編集") || fail "the editor did not open after the copy"
shot 4-editor
xdotool windowactivate --sync "$editor" key Escape
for _ in $(seq 100); do xdotool search --onlyvisible --name "^データの編集" > /dev/null || break; sleep 0.1; done
copy=$XDG_DATA_HOME/sonoha/SNH347.mdb
[ -s "$copy" ] || fail "no copy of the catalogue in $copy"

step "ending it as a logout does"
kill -TERM "$app"
wait "$app" || fail "the program ended with $?: $(cat "$tmp/program.log")"
settings=$XDG_CONFIG_HOME/sonoha/SNH347.snh
grep -q '^HisN7=' "$settings" || fail "the history did not land in $settings"

step "removing the package"
mine=$(cd "$home" && find config data -type f -exec sha256sum {} + | sort)
dpkgr -r sonoha > "$tmp/dpkg-remove.log" 2>&1 || { cat "$tmp/dpkg-remove.log"; fail "dpkg -r"; }
[ ! -e "$program" ] && [ ! -e "$root/usr/share/sonoha" ] || fail "files of the package are left after its removal"
[ "$(cd "$home" && find config data -type f -exec sha256sum {} + | sort)" = "$mine" ] ||
  fail "removing the package changed the user's files"
echo "deb: made, installed, started, the editor's copy made, removed; the user's files kept"
