#!/usr/bin/env bash
# Builds the Debian package with CPack, as `make package` does, and checks it: the file name,
# what it holds (the program and its desktop files, no demo or test tools), that its program
# runs, and that its Depends names the package of every Qt library the program links and of
# every QML module its window loads from disk when it opens.
set -euo pipefail
build=$1 id=$2 version=$3
tmp=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" ||
  { cat "$tmp/cpack.log"; fail "cpack failed"; }
deb=$tmp/out/verlo_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(ls "$tmp/out")"

[ "$(dpkg-deb -f "$deb" Package)" = verlo ] || fail "the package is not called verlo"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
expected=$(printf '%s\n' ./usr/bin/verlo "./usr/share/applications/$id.desktop" \
  "./usr/share/icons/hicolor/scalable/apps/$id.svg" ./usr/share/man/man1/verlo.1.gz \
  "./usr/share/metainfo/$id.metainfo.xml" | sort)
[ "$files" = "$expected" ] || fail "the package holds other files:
$(diff <(echo "$expected") <(echo "$files"))"

dpkg-deb -x "$deb" "$tmp/root"
verlo=$tmp/root/usr/bin/verlo
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$verlo" --version)" = "verlo $version" ] ||
  fail "the packaged verlo does not answer --version"

# Names the Depends field lists, without versions or alternatives.
depends=$(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | sed 's/(.*//; s/ //g' | sort -u)
needs() { # needs FILE WHY: the package owning FILE must be a dependency
  local owner
  owner=$(dpkg-query -S "$1" | head -n1 | cut -d: -f1)
  grep -qx "$owner" <<<"$depends" || fail "Depends lacks $owner, which holds $1 ($2)"
}

for lib in $(readelf -d "$verlo" | sed -n 's/.*NEEDED.*\[\(libQt6.*\)\]/\1/p'); do
  needs "$(readlink -f "$(ldd "$verlo" | awk -v lib="$lib" '$1 == lib { print $3 }')")" "linked"
done

# Opens the packaged window offscreen over an empty home; the scene graph starting means the
# main window was created, so every module its QML imports has been loaded by then.
mkdir -p "$tmp/home"
HOME=$tmp/home QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software QSG_INFO=1 \
  QML_IMPORT_TRACE=1 "$verlo" >"$tmp/window.log" 2>&1 &
pid=$!
for _ in $(seq 600); do
  grep -q 'qt.scenegraph.general' "$tmp/window.log" && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
grep -q 'qt.scenegraph.general' "$tmp/window.log" || {
  tail -n 20 "$tmp/window.log"
  fail "the packaged window did not open"
}
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=
modules=$(grep -o '"/[^"]*/qml/[^"]*\(qmldir\|\.so\)"' "$tmp/window.log" | tr -d '"' | sort -u)
[ -n "$modules" ] || fail "the window loaded no QML module from disk"
for module in $modules; do
  needs "$module" "loaded by the window"
done
echo "$(basename "$deb"): all checks passed"
