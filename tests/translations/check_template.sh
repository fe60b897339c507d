#!/usr/bin/env bash
# translations/verlo.ts must hold every text the sources mark for translation, and only those:
# runs the same lupdate as `make translations` into a copy and compares.
set -euo pipefail
template=$1
shift # the lupdate command line, without -ts
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$template" "$tmp/verlo.ts"
"$@" -ts "$tmp/verlo.ts" >"$tmp/lupdate.log" 2>&1 || { cat "$tmp/lupdate.log"; exit 1; }
if ! diff -u "$template" "$tmp/verlo.ts"; then
  echo "FAIL: translations/verlo.ts is out of date; run 'make translations' and commit it" >&2
  exit 1
fi
grep -c '<message>' "$template" | sed 's/$/ texts in the template, all current/'
