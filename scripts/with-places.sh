#!/usr/bin/env bash
# Usage: scripts/with-places.sh PLACE=FOLDER... -- COMMAND [ARGUMENT...]
#
# Runs COMMAND with each FOLDER also reachable at PLACE, an absolute path that need not exist
# ("/Users/user"), without changing the machine: in a private mount namespace of a new user
# namespace (COMMAND runs as its root, which is the caller outside), the command sees a root
# folder of its own that holds every entry of "/" plus the places. Everything else stays where
# it is, the working folder included, and nothing remains once the command ends.
#
# Needs unshare with user namespaces; fails without running COMMAND where they are not allowed
# (callers can try "-- true" first).
set -euo pipefail

if [ "${1:-}" != --inside ]; then
  exec unshare --mount --map-root-user --propagation private "$0" --inside "$@"
fi
shift

places=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  case "$1" in
    /*=/*) places+=("$1") ;;
    *) echo "with-places.sh: not PLACE=FOLDER with absolute paths: $1" >&2; exit 2 ;;
  esac
  shift
done
if [ "${1:-}" != -- ] || [ $# -lt 2 ]; then
  echo "with-places.sh: no command after --" >&2
  exit 2
fi
shift

new_root=$(mktemp -d)
holder=$(dirname "$new_root")
declare -A mirrored=()

# Makes the folder new (inside the new root) hold what the real folder holds: a tmpfs with each
# entry bound (folders with what is mounted inside them), links copied. The folder that holds
# the new root itself is bound alone, so the new root does not appear inside itself.
mirror() {
  local real=$1 new=$2 entry name
  mount -t tmpfs -o mode=0755 verlo-places "$new"
  mirrored[$new]=1
  shopt -s nullglob dotglob
  for entry in "${real%/}"/*; do
    name=${entry##*/}
    if [ -L "$entry" ]; then
      cp -P "$entry" "$new/$name"
    elif [ -d "$entry" ]; then
      mkdir "$new/$name"
      if [ "$entry" = "$holder" ]; then
        mount --bind "$entry" "$new/$name"
      else
        mount --rbind "$entry" "$new/$name"
      fi
    elif [ -f "$entry" ]; then
      : >"$new/$name"
      mount --bind "$entry" "$new/$name"
    fi
  done
  shopt -u nullglob dotglob
}

# Makes the folders of a place inside the new root and leaves the last one in $target. A folder
# on the way that came from the real machine is mirrored first, so that nothing is ever made on
# the machine itself; folders made here are on a tmpfs already.
make_place() {
  local real="" part
  local -a parts
  IFS=/ read -r -a parts <<<"${1#/}"
  target=$new_root
  for part in "${parts[@]}"; do
    [ -n "$part" ] || continue
    [ -n "${mirrored[$target]:-}" ] || mirror "${real:-/}" "$target"
    real=$real/$part
    target=$target/$part
    if [ ! -d "$target" ]; then
      mkdir "$target"
      mirrored[$target]=1
    fi
  done
}

mirror / "$new_root"
for mapping in "${places[@]}"; do
  make_place "${mapping%%=*}"
  mount --bind "${mapping#*=}" "$target"
done

status=0
# shellcheck disable=SC2016 # the inner shell expands them
chroot "$new_root" /bin/sh -c 'cd "$1" && shift && exec "$@"' with-places "$PWD" "$@" || status=$?
# The mounts end with the namespace; the folder they hung on is the machine's.
umount --lazy "$new_root"
rmdir "$new_root"
exit "$status"
