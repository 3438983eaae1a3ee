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

source "$(dirname "$0")/x_session.sh"
require_tools Xvfb xauth openbox xdotool xprop xwininfo xev
[ -x "$program" ] && [ -x "$tool" ] || fatal "$program or $tool not built"

start_x_session

# --- the program's folder and data ---------------------------------------------------------
mkdir -p "$work/data"
install_program_copy "$program"
"$tool" demo "$work/data/Data.mdb" 30 --seed 7 >/dev/null || fatal "demo database"
ayarlar() {  # ayarlar PROGRAM-NAME: Ayarlar with the given key "01", in Windows-1254
  printf '[Sabit]\r\n01=%s\r\n02=KARDİYOLOJİ KLİNİĞİ\r\n04=EKO RAPORU\r\n[Tercih]\r\nPrint=1\r\nAlan=1\r\n' "$1" |
    iconv -f UTF-8 -t CP1254 >"$XDG_CONFIG_HOME/Kalpiyon/Ayarlar"
}
win_ini() { printf '[Kalpiyon]\r\nActive=%s\r\nKalpiyonSifre=%s\r\n' "$1" "$2" >"$XDG_CONFIG_HOME/Kalpiyon/win.ini"; }

covers_screen() { [ "$(geometry "$1")" = "0 0 $screen_w $screen_h" ] && viewable "$1"; }
is_fullscreen() { net_state "$1" | grep -q _NET_WM_STATE_FULLSCREEN; }
not_fullscreen() { ! is_fullscreen "$1" && viewable "$1"; }

start_program() {
  (cd "$work/data" && exec env -u LC_ALL "$work/bin/kalpiyon") >"$work/program.log" 2>&1 &
  app=$!
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
