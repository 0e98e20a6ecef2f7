#!/usr/bin/env bash
# Walks every window of the program by Tab under a screen reader's eyes
# (tools/atspi_list.py --walk): on a virtual X display of its own, with a
# window manager, on a private session bus with the accessibility bus. The
# program runs from a copy of the application folder, so its settings and
# catalogue stay as they are.
#
#   tools/atspi_walk.sh APP_DIR WORK_DIR
#
# Exit 77 (skipped) where the machine lacks Xvfb, openbox, xdotool, the
# session bus, the accessibility bus or pyatspi.
set -uo pipefail
case "$0" in */*) here="${0%/*}" ;; *) here=. ;; esac
here="$(cd "$here" && pwd)"
app_dir="$1"
work_parent="$2"

skip() {
  echo "skipped: $*"
  exit 77
}
for tool in Xvfb openbox xdotool dbus-run-session; do
  command -v "$tool" > /dev/null || skip "no $tool"
done
launcher=""
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
  [ -x "$candidate" ] && launcher="$candidate" && break
done
[ -n "$launcher" ] || skip "no at-spi-bus-launcher"
/usr/bin/python3 -c 'import pyatspi' 2> /dev/null || skip "no pyatspi"
[ -x "$app_dir/sonoha" ] || { echo "no program in $app_dir"; exit 2; }

mkdir -p "$work_parent"
work="$(mktemp -d "$work_parent/atspi-walk.XXXXXX")"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -- "$pid" 2> /dev/null; done
  wait 2> /dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# One attempt, in a folder of its own: the pictures and sounds are only
# read, linked where they can be; the catalogue and the settings are the
# program's to write, copied.
attempt() {
  local dir="$work/$1"
  mkdir -p "$dir/app" "$dir/runtime" "$dir/home"
  chmod 700 "$dir/runtime"
  cp -al "$app_dir/." "$dir/app/" 2> /dev/null || cp -r "$app_dir/." "$dir/app/"
  for own in sonoha SNH347.mdb; do
    cp --remove-destination "$app_dir/$own" "$dir/app/$own"
  done
  # Silent: no music in the slideshow (7) and no click sound (3); a piece of
  # music would first load its synthesizer, which takes seconds.
  rm -f "$dir/app/SNH347.snh"
  printf '[Sonoha347]\r\nBGM_check=7\r\nKOUKAON_check=3\r\n' > "$dir/app/SNH347.snh"

  # A display of our own: Xvfb picks a free number and tells it.
  exec 3> "$dir/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp > "$dir/xvfb.log" 2>&1 &
  local xvfb=$!
  pids+=("$xvfb")
  exec 3>&-
  for _ in $(seq 50); do
    [ -s "$dir/display" ] && break
    sleep 0.1
  done
  [ -s "$dir/display" ] || skip "Xvfb did not start"
  (
    export DISPLAY=":$(head -n1 "$dir/display")"
    export HOME="$dir/home" XDG_RUNTIME_DIR="$dir/runtime" XDG_CONFIG_HOME="$dir/home/config"
    export XDG_DATA_HOME="$dir/home/data" SDL_AUDIODRIVER=dummy QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    export LAUNCHER="$launcher" APP="$dir/app/sonoha" LIST="$here/atspi_list.py"
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
    # In a session of its own, so that a walk that hangs is ended whole.
    setsid dbus-run-session -- bash -c '
      "$LAUNCHER" --launch-immediately > /dev/null 2>&1 &
      bus=$!
      openbox > /dev/null 2>&1 &
      wm=$!
      # The program starts once the accessibility bus answers and the window
      # manager runs: on a busy machine either may take seconds.
      for _ in $(seq 100); do
        dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress \
          > /dev/null 2>&1 && xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q "window id" && break
        sleep 0.1
      done
      "$APP" > "$HOME/sonoha.log" 2>&1 &
      program=$!
      /usr/bin/python3 -u "$LIST" --walk
      rc=$?
      kill $program 2> /dev/null
      wait $program 2> /dev/null
      kill $wm $bus 2> /dev/null
      if [ -s "$HOME/sonoha.log" ]; then echo "--- the program said:"; cat "$HOME/sonoha.log"; fi
      exit $rc
    ' &
    local session=$!
    # The watchdog ends with the session (tail --pid), or after the time
    # allowed first asks the walk where it stands (a Python traceback on
    # SIGUSR1), then ends the session.
    (
      timeout "$allowed" tail --pid="$session" -f /dev/null && exit 0
      echo "--- the walk did not finish within $allowed seconds; where it stood:"
      ps -o pid,stat,etime,time,wchan:22,comm -s "$session" 2> /dev/null
      pkill -USR1 -s "$session" -f atspi_list.py
      sleep 2
      kill -- "-$session"
    ) 2>&1 &
    local watchdog=$!
    wait "$session"
    local rc=$?
    wait "$watchdog"
    if [ $rc -gt 128 ]; then
      if [ -s "$HOME/sonoha.log" ]; then echo "--- the program said:"; cat "$HOME/sonoha.log"; fi
      rc=124
    fi
    exit $rc
  )
  local rc=$?
  kill "$xvfb" 2> /dev/null
  return $rc
}

# A walk that could not drive the program (2) or did not finish (124) is
# tried once more on a fresh display and bus: the desktop services it leans
# on are sometimes slow to come up on a loaded machine. What it found wrong
# (1) fails at once.
allowed="${ATSPI_WALK_SECONDS:-90}"
rc=0
for try in 1 2; do
  attempt "$try"
  rc=$?
  [ $rc -eq 2 ] || [ $rc -eq 124 ] || break
  [ $try -eq 1 ] && echo "=== the walk could not finish (exit $rc): trying once more"
done
[ $rc -eq 124 ] && rc=1
exit $rc
