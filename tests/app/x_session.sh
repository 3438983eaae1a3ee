# Shell functions shared by the tests that drive the real program on a private X server
# (x_windows.sh, x_desks.sh); sourced, not run. Gives a work folder removed at the end, the
# check counters, a private Xvfb with openbox, and readers of windows from the X server.
# The sourcing script sets $app to the program process whose windows it asks about.

# Exits 77 (skipped) with the name of the first of the given tools that is missing.
require_tools() {  # require_tools TOOL...
  local t
  for t in "$@"; do
    command -v "$t" >/dev/null || { echo "SKIP: $t is not installed (scripts/install-deps installs it)"; exit 77; }
  done
}

work="$(mktemp -d)"
pids=()
# Run at exit after every process in $pids has ended, before the work folder is removed.
after_processes() { :; }
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  after_processes
  rm -rf "$work"
}
trap cleanup EXIT

passed=0 failed=0
# A failed check leaves a picture of the screen, failed-N.png, in $KALPIYON_SHOTS when it is set.
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $1"; shot "failed-$failed"; fi
}
fatal() { echo "FAIL: $*"; failed=$((failed + 1)); echo "$passed passed, $failed failed"; exit 1; }

# Polls COMMAND every 50 ms until it succeeds or SECONDS pass.
wait_for() {  # wait_for SECONDS COMMAND...
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    [ $SECONDS -ge $deadline ] && return 1
    sleep 0.05
  done
}

# A HOME and XDG folders of the test's own, a private X server and openbox on it; sets
# DISPLAY, XAUTHORITY, screen_w and screen_h.
start_x_session() {
  export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/runtime"
  export XDG_CACHE_HOME="$work/home/.cache" XDG_DATA_HOME="$work/home/.local/share"
  export LANG=tr_TR.UTF-8 LC_ALL=C.UTF-8  # C.UTF-8 for the X tools: titles in UTF-8
  mkdir -p "$HOME" "$XDG_CONFIG_HOME/Kalpiyon" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  unset QT_QPA_PLATFORM WAYLAND_DISPLAY SESSION_MANAGER
  local cookie
  cookie="$(od -An -tx1 -N16 /dev/urandom | tr -d ' \n')"
  xauth -q -f "$work/server.auth" add :0 . "$cookie" 2>/dev/null
  Xvfb -displayfd 3 -nolisten tcp -auth "$work/server.auth" -screen 0 1280x1024x24 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  wait_for 10 test -s "$work/display" || fatal "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$(head -1 "$work/display")" XAUTHORITY="$work/client.auth"
  xauth -q -f "$XAUTHORITY" add "$DISPLAY" . "$cookie" 2>/dev/null
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  pids+=($!)
  # Running, and saying what it supports: xdotool refuses to activate a window until the
  # manager lists _NET_ACTIVE_WINDOW, which openbox does a moment after it names itself.
  wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" &&
                 xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_ACTIVE_WINDOW; }
  wait_for 60 wm_running || fatal "openbox did not start"
  read -r screen_w screen_h < <(xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')
}

# A copy of the program outside any build tree, in $work/bin: it keeps `Ayarlar` and
# `Secenekler` in its configuration folder, as an installed one does.
install_program_copy() {  # install_program_copy PROGRAM
  mkdir -p "$work/bin"
  ln "$1" "$work/bin/kalpiyon" 2>/dev/null || cp "$1" "$work/bin/kalpiyon"
}

# --- reading windows from the X server -----------------------------------------------------
title() { xprop -id "$1" -notype -f _NET_WM_NAME 8u '$0\n' _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME"\(.*\)"$/\1/p'; }
has_title() { [ "$(title "$1")" = "$2" ]; }
# Client-area geometry: x y width height.
geometry() { xwininfo -id "$1" 2>/dev/null | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
                                     /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'; }
has_geometry() { [ "$(geometry "$1")" = "$2" ]; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
unmapped() { ! viewable "$1"; }
net_state() { xprop -id "$1" -notype _NET_WM_STATE 2>/dev/null; }
# The mapped top-level windows of the running program ($app).
visible_windows() { xdotool search --onlyvisible --pid "$app" 2>/dev/null; }
# The mapped window of the program whose title is TITLE, or TITLE with Qt's " — <program>"
# appended (in $found), so that a wrong title is reported as such.
find_window() {
  local w t
  found=""
  for w in $(visible_windows); do
    t="$(title "$w")"
    [ "$t" = "$1" ] || [[ "$t" == "$1 — "* ]] || continue
    found="$w"
    return 0
  done
  return 1
}
# Waits for the window and checks that its title is exactly TITLE.
await_window() {
  wait_for 10 find_window "$1" || { echo "FAIL: no window \"$1\""; failed=$((failed + 1)); return 1; }
  check "title exactly \"$1\" (is \"$(title "$found")\")" has_title "$found" "$1"
  return 0
}
# The centre of window A's client area is that of area B (x y w h), within a pixel.
centred_on() {  # centred_on "x y w h" "x y w h"
  local a=($1) b=($2)
  local dx=$(((2 * a[0] + a[2]) - (2 * b[0] + b[2]))) dy=$(((2 * a[1] + a[3]) - (2 * b[1] + b[3])))
  [ ${dx#-} -le 2 ] && [ ${dy#-} -le 2 ] || { echo "  $1 not centred on $2"; return 1; }
}
shot() { [ -n "${KALPIYON_SHOTS:-}" ] && mkdir -p "$KALPIYON_SHOTS" && import -window root "$KALPIYON_SHOTS/$1.png" 2>/dev/null; true; }
press() { xdotool windowactivate --sync "$1" 2>/dev/null; xdotool key --clearmodifiers "${@:2}"; }

# Waits for the program ($app) to end; its exit status in $status.
ended() { [ ! -e "/proc/$app" ] || grep -q '^[^ ]* ([^)]*) Z' "/proc/$app/stat" 2>/dev/null; }
await_exit() {
  if wait_for "$1" ended; then wait "$app"; status=$?; return 0; fi
  kill "$app" 2>/dev/null; wait "$app" 2>/dev/null
  return 1
}
