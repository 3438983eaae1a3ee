#!/usr/bin/env bash
# Two desks on one PostgreSQL server, each a real program window on a private X server, driven
# from outside as a user would (xdotool). Each desk is a program process with a HOME and
# configuration folder of its own, whose `Secenekler` names the same server database.
#  1. Desk A types a new patient into a new record and saves it with "Kaydet"; desk B, started
#     afterwards, finds it with the search box. What B shows is read back from the X server
#     (the editor's text, copied to the clipboard); the server is read with psql and the data
#     tool's export-csv.
#  2. Both desks show that record; A changes "Prot. No" and saves, then B changes it too and
#     saves: B gets an error window, B's editor keeps what was typed there, and the server keeps
#     A's row as A saved it.
# Needs the server named by KALPIYON_TEST_PG (scripts/test starts a private cluster); makes a
# database of its own there and drops it at the end. Exit 77 (skipped) without X tools, psql or
# the server. Pictures go to $KALPIYON_SHOTS when it is set.
set -uo pipefail
build="$1"
program="$build/src/app/kalpiyon"
tool="$build/tools/kalpiyon-veri"

source "$(dirname "$0")/x_session.sh"
require_tools Xvfb xauth openbox xdotool xprop xwininfo xclip setxkbmap psql
[ -n "${KALPIYON_TEST_PG:-}" ] || { echo "SKIP: KALPIYON_TEST_PG is not set: no PostgreSQL server for this run"; exit 77; }
[ -x "$program" ] && [ -x "$tool" ] || fatal "$program or $tool not built"
psql "$KALPIYON_TEST_PG" -qAtc 'SELECT 1' >/dev/null 2>&1 || fatal "the server $KALPIYON_TEST_PG does not answer"

# --- a database of its own on the server ---------------------------------------------------
db="kalpiyon_xdesks_$$"
# The connection string of the test server with the database replaced (URI or key=value).
case "$KALPIYON_TEST_PG" in
  postgres://* | postgresql://*) server="$(sed -E "s#^(postgres(ql)?://[^/?]*)(/[^?]*)?#\\1/$db#" <<<"$KALPIYON_TEST_PG")" ;;
  *) server="$KALPIYON_TEST_PG dbname=$db" ;;
esac
sql() { LC_ALL=C.UTF-8 psql "$server" -qAtX -c "$1" 2>&1; }
psql "$KALPIYON_TEST_PG" -qAtX -c "CREATE DATABASE $db" >/dev/null || fatal "CREATE DATABASE $db"
after_processes() { psql "$KALPIYON_TEST_PG" -qAtX -c "DROP DATABASE IF EXISTS $db WITH (FORCE)" >/dev/null; }
"$tool" demo "$server" 30 --seed 11 >/dev/null || fatal "demo records on $server"
check "the server database has the 30 demo records" test "$(sql 'SELECT count(*) FROM veriler')" = 30

start_x_session
# The Turkish keyboard: every letter typed has a key of its own, so xdotool never remaps a
# spare key for one while the program reads the keyboard map (which loses letters).
setxkbmap tr || fatal "setxkbmap tr"
install_program_copy "$program"

# --- the desks -------------------------------------------------------------------------------
# Each desk: its own HOME and XDG folders, `Ayarlar` whose key "01" (the window title) names
# the desk, no start-up password, and `Secenekler` naming the server; its own data folder as
# working folder (no Data.mdb there).
declare -A desk_pid
start_desk() {  # start_desk NAME: starts the desk, its process in desk_pid[NAME]
  local d="$work/desk-$1"
  mkdir -p "$d/home/.config/Kalpiyon" "$d/runtime" "$d/data" && chmod 700 "$d/runtime"
  printf '[Sabit]\r\n01=%s\r\n02=KARDİYOLOJİ KLİNİĞİ\r\n[Tercih]\r\nPrint=1\r\nAlan=0\r\n' "$1" |
    iconv -f UTF-8 -t CP1254 >"$d/home/.config/Kalpiyon/Ayarlar"
  printf '[Kalpiyon]\r\nActive=0\r\nKalpiyonSifre=\r\n' >"$d/home/.config/Kalpiyon/win.ini"
  printf '[Sunucu]\r\nBaglanti=%s\r\n' "$server" >"$d/home/.config/Kalpiyon/Secenekler"
  (cd "$d/data" && exec env -u LC_ALL HOME="$d/home" XDG_CONFIG_HOME="$d/home/.config" \
    XDG_CACHE_HOME="$d/home/.cache" XDG_DATA_HOME="$d/home/.local/share" XDG_RUNTIME_DIR="$d/runtime" \
    "$work/bin/kalpiyon") >"$d/program.log" 2>&1 &
  desk_pid[$1]=$!
  pids+=($!)
}
# The main window of desk NAME, in $found (and its process in $app).
await_desk() {  # await_desk NAME
  app=${desk_pid[$1]}
  await_window "$1"
}

# Places in the main window's client area (see src/mainwindow/Unit1.cpp: the left column is
# 193 pixels wide, the right area begins 203 pixels in, below the menu bar).
menu_h=23
at() { echo "$1 $(($2 + menu_h))"; }
search_box=$(at 81 23)     # Edit8
button_new=$(at 243 46)    # "Yeni"
button_save=$(at 299 46)   # "Kaydet"
name_editor=$(at 319 140)  # EditAd, "Adı Soyadı"
prot_editor=$(at 347 180)  # EditProt, "Prot. No"

click() {  # click WINDOW "X Y"
  xdotool windowactivate --sync "$1" 2>/dev/null
  xdotool mousemove --window "$1" $2 click 1
}
# Types TEXT into the line edit at PLACE of WINDOW, replacing what it holds.
type_into() {  # type_into WINDOW "X Y" TEXT
  click "$1" "$2"
  xdotool key --clearmodifiers ctrl+a BackSpace
  xdotool type --delay 30 -- "$3"
}
# What the line edit at PLACE of WINDOW shows: selected and copied, read from the clipboard.
# The clipboard first holds a mark (xclip keeps serving it until the program takes over).
shown_text() {  # shown_text WINDOW "X Y"
  printf '\001' | xclip -selection clipboard -i >/dev/null 2>&1
  click "$1" "$2"
  xdotool key --clearmodifiers ctrl+a ctrl+c
  copied() { [ "$(xclip -selection clipboard -o 2>/dev/null)" != $'\001' ]; }
  wait_for 5 copied || { echo "  nothing copied from the editor at $2"; return 1; }
  xclip -selection clipboard -o 2>/dev/null
  xdotool key --clearmodifiers End
}
shows() {  # shows WINDOW "X Y" TEXT
  local t
  t="$(shown_text "$1" "$2")"
  [ "$t" = "$3" ] || { echo "  shows \"$t\", not \"$3\""; return 1; }
}
shows_other() {  # shows_other WINDOW "X Y" TEXT: a text other than TEXT
  local t
  t="$(shown_text "$1" "$2")" && [ "$t" != "$3" ] || { echo "  shows \"$t\""; return 1; }
}
# The window manager's view of a dialog: transient for WINDOW, modal.
transient_for() { xprop -id "$1" WM_TRANSIENT_FOR 2>/dev/null | grep -qi "window id # $(printf '0x%x' "$2")\$"; }
modal() { net_state "$1" | grep -q _NET_WM_STATE_MODAL; }
# A mapped window of desk NAME other than its main window, in $found.
other_window() {  # other_window NAME MAIN-WINDOW
  local w
  app=${desk_pid[$1]}
  for w in $(visible_windows); do [ "$w" != "$2" ] && found=$w && return 0; done
  return 1
}
# The row of the patient NAME on the server, every column, as text.
server_row() { sql "SELECT v.* FROM veriler v WHERE \"Adi_Soyadi\" = '$1'"; }
server_value() { sql "SELECT \"$2\" FROM veriler WHERE \"Adi_Soyadi\" = '$1'"; }
server_has() {  # server_has NAME FIELD VALUE
  local v
  v="$(server_value "$1" "$2")"
  [ "$v" = "$3" ] || { echo "  the server has \"$v\" in $2, not \"$3\""; return 1; }
}
# The data tool's export of the server: the CSV line of the patient NAME.
exported_line() { "$tool" export-csv "$server" 2>/dev/null | grep -a -- "$1"; }
exports() { exported_line "$1" >/dev/null; }

patient="ŞÜKRÜ ÇAĞLAYAN IŞIKGÖZ"
check "no record of \"$patient\" on the server before the test" test "$(sql 'SELECT count(*) FROM veriler WHERE "Adi_Soyadi" LIKE '"'%IŞIKGÖZ%'")" = 0

# --- 1. desk A adds a record, desk B started afterwards finds it --------------------------
start_desk "MASA A"
await_desk "MASA A" || fatal "desk A has no main window: $(cat "$work/desk-MASA A/program.log")"
win_a=$found
shot desk-a-started
click "$win_a" "$button_new"
sleep 0.3
type_into "$win_a" "$name_editor" "$patient"
shot desk-a-typed
check "desk A: the name editor shows the typed name" shows "$win_a" "$name_editor" "$patient"
click "$win_a" "$button_save"
check "desk A: \"Kaydet\" stores the record on the server" wait_for 5 server_has "$patient" Adi_Soyadi "$patient"
check "the server holds 31 records" test "$(sql 'SELECT count(*) FROM veriler')" = 31
check "export-csv lists the new record" wait_for 5 exports "$patient"

start_desk "MASA B"
await_desk "MASA B" || fatal "desk B has no main window: $(cat "$work/desk-MASA B/program.log")"
win_b=$found
check "desk B: its own window, not desk A's" test "$win_b" != "$win_a"
check "desk B: before searching, the name editor shows another record" shows_other "$win_b" "$name_editor" "$patient"
type_into "$win_b" "$search_box" "ŞÜKRÜ ÇAĞ"
sleep 0.3
shot desk-b-found
check "desk B: the search finds the record desk A added" shows "$win_b" "$name_editor" "$patient"

# --- 2. both desks change the same record: the second save is refused ---------------------
type_into "$win_a" "$prot_editor" "1111"
click "$win_a" "$button_save"
check "desk A: its \"Prot. No\" is on the server" wait_for 5 server_has "$patient" Prot_No 1111
row_a="$(server_row "$patient")"
check "desk A: still shows its value after saving" shows "$win_a" "$prot_editor" "1111"

type_into "$win_b" "$prot_editor" "2222"
click "$win_b" "$button_save"
if check "desk B: \"Kaydet\" opens an error window" wait_for 10 other_window "MASA B" "$win_b"; then
  box=$found
  shot desk-b-refused
  # Its text cannot be read from the X server (Qt copies a message box's text only on Windows):
  # the picture shows it; what it stands for is checked on the server below.
  check "desk B: the error window's title is \"Kalpiyon\"" has_title "$box" "Kalpiyon"
  check "desk B: the error window belongs to its main window" transient_for "$box" "$win_b"
  check "desk B: the error window is modal" modal "$box"
  check "desk A: no window but its main window (saw: $(app=${desk_pid[MASA A]} visible_windows | tr '\n' ' '))" \
    test "$(app=${desk_pid[MASA A]} visible_windows)" = "$win_a"
  press "$box" Return
  check "desk B: the error window closes with Enter" wait_for 5 unmapped "$box"
fi
check "desk B: its editor keeps the typed value" shows "$win_b" "$prot_editor" "2222"
check "the server keeps desk A's value" server_has "$patient" Prot_No 1111
check "the server's row is as desk A saved it" test "$(server_row "$patient")" = "$row_a"
check "the server still holds 31 records" test "$(sql 'SELECT count(*) FROM veriler')" = 31
check "export-csv shows desk A's value" bash -c '[[ "$1" == *1111* && "$1" != *2222* ]]' _ "$(exported_line "$patient")"
shot desks-end

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
