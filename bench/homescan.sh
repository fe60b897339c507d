#!/usr/bin/env bash
# The whole System Data scan with its walk of the home (FileScanner::scanSystemData) against
# du -s of the same home, warm cache: the home is bench/make_tree.py's tree of about 300,000
# entries (medians of interleaved runs). Twice: with the tree as the home as it is (the walk of
# the home measures nearly all of it), and with its Projects folder as $XDG_CACHE_HOME (the
# System Caches category measures each project first, and the walk of the home takes those
# sizes as they are). Checks that the home's size is du's to the byte where their rules agree,
# that each byte was measured once, and that peak memory stays flat and under 32 MB.
# usage: bench/homescan.sh BUILD_DIR
# VERLO_BENCH_TREES: where the trees are made and kept (default /tmp/verlo-bench)
# VERLO_BENCH_RUNS: timed runs of each (default 5)
# VERLO_BENCH_MILLION=1: also the peak memory on a tree of 1,000,000 entries (about 4.5 GB)
set -euo pipefail

build_dir=$1
here=$(cd "$(dirname "$0")" && pwd)
exe="$build_dir/bench/bench_homescan"
trees=${VERLO_BENCH_TREES:-/tmp/verlo-bench}
runs=${VERLO_BENCH_RUNS:-5}
full="$trees/tree-300000"
third="$trees/tree-100000"

if [ ! -x "$exe" ]; then
  echo "missing $exe: build the bench_homescan target first"
  exit 1
fi

python3 "$here/make_tree.py" "$full" 300000
python3 "$here/make_tree.py" "$third" 100000
echo "home: $full ($(find "$full" | wc -l) entries, $(find "$full" -type d | wc -l) folders)"

. "$here/timing.sh"
echo "load: $(uptime)"

du -sB1 "$full" >/dev/null
"$exe" "$full" >/dev/null

du_runs=() home_runs=() cache_runs=()
for ((i = 0; i < runs; i++)); do
  du_runs+=("$(time_us du -sB1 "$full")")
  home_runs+=("$(time_us "$exe" "$full")")
  cache_runs+=("$(time_us "$exe" "$full" "$full/Projects")")
done
du_us=$(echo "${du_runs[*]}" | median)
home_us=$(echo "${home_runs[*]}" | median)
cache_us=$(echo "${cache_runs[*]}" | median)
echo "median of $runs interleaved runs, warm cache (goal: at most 0.50 of du):"
printf '  %-52s %8s\n' "du -sB1 of the home" "$(ms "$du_us")"
printf '  %-52s %8s  ratio %s\n' "System Data scan, the home as it is" "$(ms "$home_us")" \
  "$(ratio "$home_us" "$du_us")"
printf '  %-52s %8s  ratio %s\n' "System Data scan, Projects as the cache folder" \
  "$(ms "$cache_us")" "$(ratio "$cache_us" "$du_us")"

# The home's size counts every path (hard links once per path) and no folder's own blocks: du
# with --count-links, less the folders' blocks. Each byte is measured once: the categories' walks
# and the home's add up to exactly the home's size.
status=0
du_links=$(du -sB1 --count-links "$full" | cut -f1)
folder_blocks=$(find "$full" -type d -printf '%b\n' | awk '{s += $1} END {printf "%d", s * 512}')
expected=$((du_links - folder_blocks))
echo "totals (bytes): du -sB1 --count-links minus the folders' blocks: $expected"
for mode in home cache; do
  if [ "$mode" = home ]; then line=$("$exe" "$full"); else line=$("$exe" "$full" "$full/Projects"); fi
  total=$(echo "$line" | field total)
  measured=$(echo "$line" | field measured)
  accounted=$(echo "$line" | field accounted)
  printf '  %-6s home %s, measured %s, accounted for %s (%s large folders)\n' "$mode" "$total" \
    "$measured" "$accounted" "$(echo "$line" | field large)"
  if [ "$total" != "$expected" ] || [ "$measured" != "$total" ] || [ "$accounted" -gt "$total" ]; then
    echo "  MISMATCH: the home's size, what was measured and du must agree"
    status=1
  fi
done

echo "peak resident memory (kB):"
small=$("$exe" "$third" "$third/Projects" | field peak_rss_kb)
large=$("$exe" "$full" "$full/Projects" | field peak_rss_kb)
printf '  tree of 100,000: %6s   tree of 300,000: %6s\n' "$small" "$large"
if [ "${VERLO_BENCH_MILLION:-0}" = 1 ]; then
  million="$trees/tree-1000000"
  python3 "$here/make_tree.py" "$million" 1000000
  large=$("$exe" "$million" "$million/Projects" | field peak_rss_kb)
  printf '  tree of 1,000,000: %6s\n' "$large"
fi
if [ $((large - small)) -gt 2048 ] || [ "$large" -gt 32768 ]; then
  echo "  NOT FLAT: more than 2 MB more on the larger tree, or more than 32 MB"
  status=1
else
  echo "  flat: at most 2 MB more on the larger tree, under 32 MB"
fi
exit $status
