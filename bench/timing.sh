# Shared helpers of the benchmark scripts (sourced): wall times in microseconds, medians, ratios.
now_us() { echo "${EPOCHREALTIME/[.,]/}"; }
# Wall time of one run of a command, in microseconds, process start included.
time_us() {
  local start end
  start=$(now_us)
  "$@" >/dev/null
  end=$(now_us)
  echo $((end - start))
}
median() { tr ' ' '\n' | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
# The value after KEY on a "key value key value" line.
field() { awk -v key="$1" '{for (i = 1; i < NF; i++) if ($i == key) print $(i + 1)}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
ms() { awk -v us="$1" 'BEGIN {printf "%.0f ms", us / 1000}'; }
