#!/usr/bin/env bash
# The size walk (FileScanner::sizeOfDirectory) against du -s on the same generated tree of about
# 300,000 entries: wall time on a warm cache and, when the page cache can be dropped (root and a
# writable /proc/sys/vm/drop_caches), on a cold one (medians of interleaved runs), the totals
# where the two agree on the rules, and peak memory on that tree and on one a third its size.
# usage: bench/sizes.sh BUILD_DIR
# VERLO_BENCH_TREES: where the trees are made and kept (default /tmp/verlo-bench)
# VERLO_BENCH_RUNS: timed runs of each tool (default 5)
# VERLO_BENCH_COLD_RUNS: timed cold-cache runs of each tool (default 5; 0 skips them)
set -euo pipefail

build_dir=$1
here=$(cd "$(dirname "$0")" && pwd)
exe="$build_dir/bench/size_bench"
trees=${VERLO_BENCH_TREES:-/tmp/verlo-bench}
runs=${VERLO_BENCH_RUNS:-5}
cold_runs=${VERLO_BENCH_COLD_RUNS:-5}
full="$trees/tree-300000"
third="$trees/tree-100000"

if [ ! -x "$exe" ]; then
  echo "missing $exe: build the size_bench target first"
  exit 1
fi

python3 "$here/make_tree.py" "$full" 300000
python3 "$here/make_tree.py" "$third" 100000
echo "tree: $full ($(find "$full" | wc -l) entries, $(find "$full" -type d | wc -l) folders)"

. "$here/timing.sh"
echo "load: $(uptime)"

# Warm the cache with one untimed run of each.
du -sB1 "$full" >/dev/null
"$exe" "$full" >/dev/null

du_runs=() one_runs=() program_runs=()
for ((i = 0; i < runs; i++)); do
  du_runs+=("$(time_us du -sB1 "$full")")
  one_runs+=("$(time_us "$exe" --threads 1 "$full")")
  program_runs+=("$(time_us "$exe" "$full")")
done
du_us=$(echo "${du_runs[*]}" | median)
one_us=$(echo "${one_runs[*]}" | median)
program_us=$(echo "${program_runs[*]}" | median)
echo "median of $runs interleaved runs, warm cache:"
printf '  %-44s %8s\n' "du -sB1" "$(ms "$du_us")"
printf '  %-44s %8s  ratio %s\n' "walker, one thread" "$(ms "$one_us")" "$(ratio "$one_us" "$du_us")"
printf '  %-44s %8s  ratio %s  (%s threads)\n' "sizeOfDirectory (paced walker)" \
  "$(ms "$program_us")" "$(ratio "$program_us" "$du_us")" "$("$exe" "$full" | field threads)"

# Whether this machine can run two walks at once at all: two single-thread walks side by side
# against one alone (about 1.0 with two free cores, about 2.0 when only one core's worth is free).
pair_runs=()
for ((i = 0; i < 3; i++)); do
  start=$(now_us)
  "$exe" --threads 1 "$full" >/dev/null &
  "$exe" --threads 1 "$full" >/dev/null
  wait
  end=$(now_us)
  pair_runs+=("$((end - start))")
done
pair_us=$(echo "${pair_runs[*]}" | median)
echo "  two one-thread walks side by side take $(ratio "$pair_us" "$one_us") times one walk's time"

# Cold cache: the page cache is dropped before every run, so every folder and every inode comes
# from the disk. The walk cannot know beforehand; its threads find out by how long they wait.
drop_caches() { sync && echo 3 >/proc/sys/vm/drop_caches; }
if [ "$cold_runs" -gt 0 ] && [ "$(id -u)" = 0 ] && [ -w /proc/sys/vm/drop_caches ] && drop_caches 2>/dev/null; then
  cold_du=() cold_two=() cold_program=() cold_threads=()
  for ((i = 0; i < cold_runs; i++)); do
    drop_caches
    cold_du+=("$(time_us du -sB1 "$full")")
    drop_caches
    cold_two+=("$(time_us "$exe" --threads 2 "$full")")
    drop_caches
    start=$(now_us)
    cold_threads+=("$("$exe" "$full" | field threads)")
    end=$(now_us)
    cold_program+=("$((end - start))")
  done
  cold_du_us=$(echo "${cold_du[*]}" | median)
  cold_two_us=$(echo "${cold_two[*]}" | median)
  cold_program_us=$(echo "${cold_program[*]}" | median)
  echo "median of $cold_runs interleaved runs, cold cache (page cache dropped before each run):"
  printf '  %-44s %8s\n' "du -sB1" "$(ms "$cold_du_us")"
  printf '  %-44s %8s  ratio %s\n' "walker, two threads" "$(ms "$cold_two_us")" \
    "$(ratio "$cold_two_us" "$cold_du_us")"
  printf '  %-44s %8s  ratio %s  (%s threads at most)\n' "sizeOfDirectory (paced walker)" \
    "$(ms "$cold_program_us")" "$(ratio "$cold_program_us" "$cold_du_us")" "${cold_threads[*]}"
elif [ "$cold_runs" -gt 0 ]; then
  echo "COLD CACHE SKIPPED: dropping the page cache needs root and a writable"
  echo "  /proc/sys/vm/drop_caches (running as uid $(id -u)); only the warm figures above stand"
fi

# Totals. The walk counts every path (hard links once per path) and adds nothing for folders;
# du counts a hard-linked file once and adds each folder's own blocks. With --count-links and the
# folders' blocks taken off, du must give exactly the walk's total.
status=0
one_total=$("$exe" --threads 1 "$full" | field total)
program_total=$("$exe" "$full" | field total)
du_plain=$(du -sB1 "$full" | cut -f1)
du_links=$(du -sB1 --count-links "$full" | cut -f1)
folder_blocks=$(find "$full" -type d -printf '%b\n' | awk '{s += $1} END {printf "%d", s * 512}')
expected=$((du_links - folder_blocks))
echo "totals (bytes):"
echo "  du -sB1                                  $du_plain"
echo "  du -sB1 --count-links                    $du_links"
echo "  folders' own blocks (find -type d, %b)   $folder_blocks"
echo "  du --count-links minus folders           $expected"
echo "  walker, one thread                       $one_total"
echo "  sizeOfDirectory                          $program_total"
if [ "$one_total" = "$expected" ] && [ "$program_total" = "$expected" ]; then
  echo "  totals agree"
else
  echo "  MISMATCH: the walk and du disagree where their rules agree"
  status=1
fi

# Memory must not grow with the tree: no list of entries is kept.
echo "peak resident memory (kB):"
flat=1
for mode in "--threads 1" ""; do
  # shellcheck disable=SC2086
  small=$("$exe" $mode "$third" | field peak_rss_kb)
  # shellcheck disable=SC2086
  large=$("$exe" $mode "$full" | field peak_rss_kb)
  label=${mode:-sizeOfDirectory}
  printf '  %-16s tree of 100,000: %6s   tree of 300,000: %6s\n' "$label" "$small" "$large"
  if [ $((large - small)) -gt 1024 ]; then
    flat=0
  fi
done
if [ -x /usr/bin/time ]; then
  du_small=$( { /usr/bin/time -f '%M' du -sB1 "$third" >/dev/null; } 2>&1)
  du_large=$( { /usr/bin/time -f '%M' du -sB1 "$full" >/dev/null; } 2>&1)
  printf '  %-16s tree of 100,000: %6s   tree of 300,000: %6s\n' "du -sB1" "$du_small" "$du_large"
fi
if [ "$flat" = 1 ]; then
  echo "  flat: the larger tree costs the walk less than 1 MB more"
else
  echo "  NOT FLAT: the walk's memory grows with the tree"
  status=1
fi
exit $status
