#!/usr/bin/env bash
# Installs the build into a temporary prefix, as `make install` does, and checks what a user and
# a desktop get from it: a program that answers --version and --help from there without a
# display, a desktop entry and metainfo the freedesktop validators accept, the icon the entry
# names, the manual page, and nothing else.
set -euo pipefail
build=$1 id=$2 version=$3
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$tmp/usr" >/dev/null
prefix=$tmp/usr

cd "$tmp"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/verlo" --version)
[ "$out" = "verlo $version" ] || fail "--version printed '$out'"
help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/verlo" --help)
grep -q '^Usage: verlo \[options\]$' <<<"$help" || fail "--help has no usage line: $help"
grep -q -- '--version' <<<"$help" || fail "--help does not list --version: $help"

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
appstreamcli validate --no-net "$metainfo" >/dev/null || {
  appstreamcli validate --no-net "$metainfo"
  fail "appstreamcli rejects $metainfo"
}
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

installed=$(cd "$prefix" && find . -type f | sort)
expected=$(printf '%s\n' ./bin/verlo "./share/applications/$id.desktop" \
  "./share/icons/hicolor/scalable/apps/$id.svg" ./share/man/man1/verlo.1.gz \
  "./share/metainfo/$id.metainfo.xml" | sort)
[ "$installed" = "$expected" ] || fail "installed files differ:
$(diff <(echo "$expected") <(echo "$installed"))"
echo "install into $prefix: all checks passed"
