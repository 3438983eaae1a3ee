#!/usr/bin/env bash
# Builds the package with CPack, unpacks it with dpkg -x and checks what a user installs.
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
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

desktop-file-validate "$root/usr/share/applications/kalpiyon.desktop" | grep -v ': hint: ' && fail "desktop file" || true
appstreamcli validate --no-net "$root/usr/share/metainfo/com.kalpiyon.Kalpiyon.metainfo.xml" >/dev/null || fail "AppStream metadata"
if lintian --no-override "$deb" 2>/dev/null | grep '^E:'; then fail "lintian errors"; fi
echo "1 passed, 0 failed"
