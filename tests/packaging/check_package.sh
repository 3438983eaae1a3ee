#!/usr/bin/env bash
# Builds the package with CPack, unpacks it with dpkg -x and checks what a user installs.
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# lintian, xvfb-run and the program keep their scratch files here, not in the shared /tmp.
export TMPDIR="$work/tmp"
mkdir -p "$TMPDIR"
fail() { echo "FAIL: $*"; exit 1; }

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null) || fail "cpack"
deb=$(ls "$work"/out/kalpiyon_*_amd64.deb) || fail "no kalpiyon_<version>_amd64.deb"
root="$work/root"
dpkg -x "$deb" "$root"

for f in usr/bin/kalpiyon usr/bin/kalpiyon-veri usr/bin/kalpiyon-menu \
         usr/share/applications/kalpiyon.desktop usr/share/metainfo/com.kalpiyon.Kalpiyon.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/kalpiyon.svg usr/share/icons/hicolor/48x48/apps/kalpiyon.png \
         usr/share/doc/kalpiyon/copyright usr/share/doc/kalpiyon/changelog.gz; do
  [ -e "$root/$f" ] || fail "missing $f"
done

# Depends are computed from the binaries' libraries.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libsqlite3-0 libmdb3; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

# The installed data tool works from the unpacked root.
"$root/usr/bin/kalpiyon-veri" create "$work/Data.mdb" >/dev/null || fail "kalpiyon-veri create"
[ "$(sqlite3 "$work/Data.mdb" "SELECT count(*) FROM pragma_table_info('veriler')")" = 61 ] || fail "schema"

# The man pages are installed, compressed, for every program in usr/bin.
for f in kalpiyon kalpiyon-veri kalpiyon-menu; do
  [ -e "$root/usr/share/man/man1/$f.1.gz" ] || fail "no manual page for $f"
done
"$root/usr/bin/kalpiyon-veri" --help | grep -q '^Kullanım: kalpiyon-veri' || fail "kalpiyon-veri --help"

# The menu entry's first start, run by whoever installed the package (root in CI) with a HOME of
# its own, on a virtual screen: an empty Data.mdb in ~/Kalpiyon and a notice that says so; the
# program closed through its own close handling ("Programdan çıkmak istiyor musunuz?" → Evet)
# writes Ayarlar into ~/.config/Kalpiyon, and nothing changes in the installed tree.
home="$work/home"
mkdir -p "$home"
find "$root" -printf '%P %s %T@\n' | sort >"$work/tree.before"
env -u QT_QPA_PLATFORM -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME HOME="$home" \
  timeout 120 xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    # A window by its title; searching again while windows come and go (xdotool gives up on a
    # window that vanishes under its search).
    find_window() {
      for _ in $(seq 60); do
        w=$(xdotool search --name "$1" 2>/dev/null | head -n 1)
        [ -n "$w" ] && { echo "$w"; return 0; }
        sleep 0.5
      done
      return 1
    }
    openbox >/dev/null 2>&1 &
    # The window manager first: activating a window needs it, once it lists
    # _NET_ACTIVE_WINDOW among what it supports (a moment after it names itself; seconds on a
    # machine busy with the other tests).
    for _ in $(seq 600); do
      xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_ACTIVE_WINDOW && break
      sleep 0.1
    done
    xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_ACTIVE_WINDOW || { echo "openbox did not start"; exit 1; }
    PATH="$1/usr/bin:$PATH" kalpiyon-menu >"$2/menu.log" 2>&1 & app=$!
    w=$(find_window "^Bilgi") || { echo "no notice of the new database"; exit 1; }
    xdotool windowactivate --sync "$w" key Return
    w=$(find_window "^Kalpiyon Raporu") || { echo "no main window"; exit 1; }
    sleep 1
    xprop -id "$w" _NET_WM_ICON >"$2/icon.txt"
    grep -q "Icon (128 x 128)" "$2/icon.txt" || { echo "no window icon: $(grep Icon "$2/icon.txt")"; exit 1; }
    xdotool windowactivate --sync "$w" key alt+F4
    sleep 1
    xdotool key Return
    wait "$app"
  ' _ "$root" "$work" || fail "the menu entry's first start: $(cat "$work/menu.log" 2>/dev/null)"
[ "$(sqlite3 "$home/Kalpiyon/Data.mdb" "SELECT count(*) FROM veriler")" = 0 ] || fail "the first start's database is not empty"
[ -s "$home/.config/Kalpiyon/Ayarlar" ] || fail "Ayarlar is not in ~/.config/Kalpiyon"
find "$root" -printf '%P %s %T@\n' | sort >"$work/tree.after"
diff "$work/tree.before" "$work/tree.after" >&2 || fail "the program wrote into its installed tree"

desktop-file-validate "$root/usr/share/applications/kalpiyon.desktop" | grep -v ': hint: ' && fail "desktop file" || true
appstreamcli validate --no-net "$root/usr/share/metainfo/com.kalpiyon.Kalpiyon.metainfo.xml" >/dev/null || fail "AppStream metadata"
if lintian --no-override "$deb" 2>/dev/null | grep -E '^(E|W):'; then fail "lintian errors or warnings"; fi
echo "1 passed, 0 failed"
