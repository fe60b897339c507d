#!/usr/bin/env bash
# check_install.sh prefix|package BUILD APP_ID VERSION
#   prefix:  installs the build into a temporary prefix, as `make install` does, and checks what a
#            user and a desktop get: a program that answers --version and --help from there
#            without a display, a desktop entry and metainfo the freedesktop validators accept,
#            the icon the entry names and the manual page.
#   package: builds the Debian package with CPack, as `make package` does, and checks its name,
#            that its program runs, and that Depends names the package of every Qt library the
#            program links and of every QML module its window loads from disk when it opens.
# Both check that nothing but the program and its data files is installed.
set -euo pipefail
mode=$1 build=$2 id=$3 version=$4
tmp=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$tmp"

expect_files() { # expect_files ROOT LISTED: LISTED are exactly the files under ROOT (the prefix)
  local expected
  expected=$(printf "$1%s\n" /bin/verlo "/share/applications/$id.desktop" \
    "/share/icons/hicolor/scalable/apps/$id.svg" /share/man/man1/verlo.1.gz \
    "/share/metainfo/$id.metainfo.xml" | sort)
  [ "$2" = "$expected" ] || fail "installed files differ:
$(diff <(echo "$expected") <(echo "$2"))"
}
answers() { # answers VERLO: --version and --help, with no display
  local out
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" --version)
  [ "$out" = "verlo $version" ] || fail "--version printed '$out'"
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" --help)
  grep -q '^Usage: verlo \[options\]$' <<<"$out" || fail "--help has no usage line: $out"
  grep -q -- '--version' <<<"$out" || fail "--help does not list --version: $out"
}

if [ "$mode" = prefix ]; then
  prefix=$tmp/usr
  cmake --install "$build" --prefix "$prefix" >/dev/null
  expect_files . "$(cd "$prefix" && find . -type f | sort)"
  answers "$prefix/bin/verlo"

  desktop=$prefix/share/applications/$id.desktop
  metainfo=$prefix/share/metainfo/$id.metainfo.xml
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
  appstreamcli validate --no-net "$metainfo" >"$tmp/appstream.log" ||
    { cat "$tmp/appstream.log"; fail "appstreamcli rejects $metainfo"; }
  grep -qx "Exec=verlo" "$desktop" || fail "the entry does not start verlo"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $id.desktop"
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [ "$icon" = "$id" ] || fail "the entry's icon is '$icon', not the application id"
  head -c 200 "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" | grep -q '<svg' ||
    fail "no SVG icon at hicolor/scalable/apps/$icon.svg"

  manual=$(gzip -dc "$prefix/share/man/man1/verlo.1.gz")
  grep -q '^\.TH VERLO "1"' <<<"$manual" || fail "verlo.1.gz is not a section 1 manual page"
  grep -q 'verlo \\- find what installed software leaves on disk' <<<"$manual" ||
    fail "the manual page has no NAME line"
  grep -q 'version' <<<"$manual" || fail "the manual page does not describe --version"
  echo "install into a prefix: all checks passed"
  exit 0
fi

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" ||
  { cat "$tmp/cpack.log"; fail "cpack failed"; }
deb=$tmp/out/verlo_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(ls "$tmp/out")"
[ "$(dpkg-deb -f "$deb" Package)" = verlo ] || fail "the package is not called verlo"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package's version is not $version"
expect_files ./usr "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)"
dpkg-deb -x "$deb" "$tmp/root"
verlo=$tmp/root/usr/bin/verlo
answers "$verlo"

# The names Depends lists, without versions or alternatives.
depends=$(dpkg-deb -f "$deb" Depends | tr ',|' '\n\n' | sed 's/(.*//; s/ //g' | sort -u)
needs() { # needs FILE WHY: the package owning FILE must be a dependency
  local owner
  owner=$(dpkg-query -S "$1" | head -n1 | cut -d: -f1)
  grep -qx "$owner" <<<"$depends" || fail "Depends lacks $owner, which holds $1 ($2)"
}
for lib in $(readelf -d "$verlo" | sed -n 's/.*NEEDED.*\[\(libQt6.*\)\]/\1/p'); do
  needs "$(readlink -f "$(ldd "$verlo" | awk -v lib="$lib" '$1 == lib { print $3 }')")" "linked"
done

# Opens the packaged window offscreen over an empty home. The scene graph starting means the main
# window was created, so every module its QML imports has been loaded by then.
mkdir -p "$tmp/home"
HOME=$tmp/home QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software QSG_INFO=1 \
  QML_IMPORT_TRACE=1 "$verlo" >"$tmp/window.log" 2>&1 &
pid=$!
for _ in $(seq 600); do
  if grep -q 'qt.scenegraph.general' "$tmp/window.log" || ! kill -0 "$pid" 2>/dev/null; then
    break
  fi
  sleep 0.1
done
grep -q 'qt.scenegraph.general' "$tmp/window.log" ||
  { tail -n 20 "$tmp/window.log"; fail "the packaged window did not open"; }
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=
modules=$(grep -o '"/[^"]*/qml/[^"]*\(qmldir\|\.so\)"' "$tmp/window.log" | tr -d '"' | sort -u)
[ -n "$modules" ] || fail "the window loaded no QML module from disk"
for module in $modules; do
  needs "$module" "loaded by the window"
done
echo "$(basename "$deb"): all checks passed"
