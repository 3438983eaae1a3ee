#!/usr/bin/env bash
# The real program on a real X server under a window manager, driven from outside as a user
# would: a private Xvfb and openbox, a data folder, HOME and configuration of its own. Checks
# the start-up password gate (refused three ways: the program ends at once, no window but the
# gate is ever mapped, `Ayarlar` and win.ini stay byte for byte), the window titles read from
# the X server, where the windows open, and the preview's full screen.
# Exit 77 (skipped) when a tool is missing. Pictures go to $KALPIYON_SHOTS when it is set.
set -uo pipefail
build="$1"
program="$build/src/app/kalpiyon"
tool="$build/tools/kalpiyon-veri"

for t in Xvfb xauth openbox xdotool xprop xwininfo xev; do
  command -v "$t" >/dev/null || { echo "SKIP: $t is not installed (scripts/install-deps installs it)"; exit 77; }
done
[ -x "$program" ] && [ -x "$tool" ] || { echo "FAIL: $program or $tool not built"; exit 1; }

work="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

passed=0 failed=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $1"; fi
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

# --- a private X server and window manager ------------------------------------------------
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/runtime"
export XDG_CACHE_HOME="$work/home/.cache" XDG_DATA_HOME="$work/home/.local/share"
export LANG=tr_TR.UTF-8 LC_ALL=C.UTF-8  # C.UTF-8 for the X tools: titles in UTF-8
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Kalpiyon" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY SESSION_MANAGER
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
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
wait_for 10 wm_running || fatal "openbox did not start"
read -r screen_w screen_h < <(xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}')

# --- the program's folder and data ---------------------------------------------------------
# A copy of the program outside any build tree keeps `Ayarlar` in its configuration folder, as
# an installed one does.
mkdir -p "$work/bin" "$work/data"
ln "$program" "$work/bin/kalpiyon" 2>/dev/null || cp "$program" "$work/bin/kalpiyon"
"$tool" demo "$work/data/Data.mdb" 30 --seed 7 >/dev/null || fatal "demo database"
ayarlar() {  # ayarlar PROGRAM-NAME: Ayarlar with the given key "01", in Windows-1254
  printf '[Sabit]\r\n01=%s\r\n02=KARDİYOLOJİ KLİNİĞİ\r\n04=EKO RAPORU\r\n[Tercih]\r\nPrint=1\r\nAlan=1\r\n' "$1" |
    iconv -f UTF-8 -t CP1254 >"$XDG_CONFIG_HOME/Kalpiyon/Ayarlar"
}
win_ini() { printf '[Kalpiyon]\r\nActive=%s\r\nKalpiyonSifre=%s\r\n' "$1" "$2" >"$XDG_CONFIG_HOME/Kalpiyon/win.ini"; }

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
# The mapped top-level windows of the running program.
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
covers_screen() { [ "$(geometry "$1")" = "0 0 $screen_w $screen_h" ] && viewable "$1"; }
is_fullscreen() { net_state "$1" | grep -q _NET_WM_STATE_FULLSCREEN; }
not_fullscreen() { ! is_fullscreen "$1" && viewable "$1"; }
shot() { [ -n "${KALPIYON_SHOTS:-}" ] && mkdir -p "$KALPIYON_SHOTS" && import -window root "$KALPIYON_SHOTS/$1.png" 2>/dev/null; true; }
press() { xdotool windowactivate --sync "$1" 2>/dev/null; xdotool key --clearmodifiers "${@:2}"; }

start_program() {
  (cd "$work/data" && exec env -u LC_ALL "$work/bin/kalpiyon") >"$work/program.log" 2>&1 &
  app=$!
}
# Waits for the program to end; its exit status in $status.
ended() { [ ! -e "/proc/$app" ] || grep -q '^[^ ]* ([^)]*) Z' "/proc/$app/stat" 2>/dev/null; }
await_exit() {
  if wait_for "$1" ended; then wait "$app"; status=$?; return 0; fi
  kill "$app" 2>/dev/null; wait "$app" 2>/dev/null
  return 1
}

# --- 1. a refused gate ends the program: İptal, Esc, the window manager's close -----------
ayarlar "Kalpiyon Raporu"
win_ini 1 gizli
for way in escape cancel-button close-request; do
  cp "$XDG_CONFIG_HOME/Kalpiyon/Ayarlar" "$work/Ayarlar.before"
  cp "$XDG_CONFIG_HOME/Kalpiyon/win.ini" "$work/win.ini.before"
  # Every window the window manager takes in (reparents into a frame) is one that was mapped.
  xev -root -event substructure >"$work/xev.log" 2>&1 &
  monitor=$!
  sleep 0.2
  start_program
  if await_window "Şifre Gir"; then
    gate=$found
    [ $way = escape ] && shot gate
    check "$way: gate centred where the main window stands, on the screen" \
      centred_on "$(geometry "$gate")" "0 0 $screen_w $screen_h"
    check "$way: the gate is the only window shown" test "$(visible_windows)" = "$gate"
    case $way in
      escape) press "$gate" Escape ;;
      cancel-button) xdotool windowactivate --sync "$gate"; xdotool mousemove --window "$gate" 217 116 click 1 ;;
      close-request) press "$gate" alt+F4 ;;
    esac
    if await_exit 10; then
      check "$way: exit status 0" test "$status" = 0
    else
      check "$way: the program ends at once (it was still running after 10 s)" false
    fi
    kill "$monitor"; wait "$monitor" 2>/dev/null
    root=$(xwininfo -root | awk '/Window id:/ {print $4}')
    mapped=$(awk '/ReparentNotify/ {getline; if ($0 ~ /parent/) { for (i = 1; i <= NF; i++) { if ($i == "window") w = $(i+1); if ($i == "parent") p = $(i+1) }; gsub(",", "", w); gsub(",", "", p); print w, p } }' "$work/xev.log" |
      awk -v root="$root" '$2 != root {print $1}' | sort -u)
    check "$way: no window but the gate was ever mapped (mapped: $mapped)" \
      test "$mapped" = "$(printf '0x%x' "$gate")"
    check "$way: Ayarlar untouched" cmp -s "$XDG_CONFIG_HOME/Kalpiyon/Ayarlar" "$work/Ayarlar.before"
    check "$way: win.ini untouched" cmp -s "$XDG_CONFIG_HOME/Kalpiyon/win.ini" "$work/win.ini.before"
  else
    kill "$monitor"; wait "$monitor" 2>/dev/null
    await_exit 1
  fi
done

# --- 2. the right password: titles, placement, the preview's full screen --------------------
program_name="Kalp Polikliniği Ş"
ayarlar "$program_name"
start_program
if await_window "Şifre Gir"; then
  press "$found" g i z l i Return
  if await_window "$program_name"; then
    main=$found
    main_geometry="$(geometry "$main")"
    shot main-window
    check "main window centred on the screen" centred_on "$main_geometry" "0 0 $screen_w $screen_h"
    # The context menu: "Sabit Bilgiler", "Genel Ayarlar", "Kalpiyon Raporu" ..., opened on an
    # empty spot below the lower panel; waits until the menu is mapped.
    context_menu() {
      local before
      before=$(visible_windows | wc -l)
      xdotool windowactivate --sync "$1"; xdotool mousemove --window "$1" 560 640 click 3
      more_windows() { [ "$(visible_windows | wc -l)" -gt "$before" ]; }
      wait_for 5 more_windows ||
        echo "  (no context menu seen)"
    }
    for entry in "1 Sabit Bilgiler" "2 Genel Ayarlar"; do
      n=${entry%% *} caption=${entry#* }
      context_menu "$main"
      xdotool key $(yes Down | head -$n) Return
      if await_window "$caption"; then
        check "\"$caption\" centred on the main window" centred_on "$(geometry "$found")" "$main_geometry"
        press "$found" Escape
        wait_for 5 unmapped "$found"
      fi
    done
    context_menu "$main"
    xdotool key Down Down Down Return
    if await_window "Önizleme"; then
      preview=$found
      sleep 0.5  # the pages are prepared from a timer once the window is open
      check "preview opens maximized, not full screen" not_fullscreen "$preview"
      normal_geometry="$(geometry "$preview")"
      press "$preview" F11
      check "F11: full screen, the window stays mapped and covers the screen" wait_for 5 covers_screen "$preview"
      check "F11: the window manager's full-screen state" is_fullscreen "$preview"
      shot preview-full-screen
      press "$preview" F11
      check "F11 again: back from full screen, still mapped" wait_for 5 not_fullscreen "$preview"
      check "F11 again: the window has its former place and size" wait_for 5 has_geometry "$preview" "$normal_geometry"
      # The toolbar button "Tam ekran" (eighth button), then a double click on the pages.
      xdotool mousemove --window "$preview" 296 12 click 1
      check "\"Tam ekran\" button: full screen" wait_for 5 covers_screen "$preview"
      xdotool mousemove 640 600 click --repeat 2 --delay 60 1
      check "double click: back from full screen" wait_for 5 not_fullscreen "$preview"
      press "$preview" Escape
      check "Escape closes the preview" wait_for 5 unmapped "$preview"
    fi
    # The main window takes input again: a close request asks the exit question.
    press "$main" alt+F4
    if await_window " Kalpiyon"; then
      check "exit question centred on the main window" centred_on "$(geometry "$found")" "$main_geometry"
      press "$found" Return
    fi
    check "\"Evet\" ends the program" await_exit 10
  fi
fi
ended || { kill "$app"; wait "$app" 2>/dev/null; }

# --- 3. an empty program name gives an empty main-window title -----------------------------
ayarlar ""
win_ini 0 gizli
start_program
main_window() {  # the mapped window of the main window's size, in $found
  local w
  for w in $(visible_windows); do [ "$(geometry "$w" | cut -d' ' -f3)" = 960 ] && found=$w && return 0; done
  return 1
}
if check "empty key \"01\": the main window is shown" wait_for 10 main_window; then
  check "empty key \"01\": the main window's title is empty (is \"$(title "$found")\")" wait_for 5 has_title "$found" ""
fi
kill "$app" 2>/dev/null; wait "$app" 2>/dev/null

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
