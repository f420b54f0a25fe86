#!/usr/bin/env bash
# Copy-run benchmark. Converts one generated tree of A4 300 dpi scans (nested
# fund / inventory / case folders, some names without a cipher) three ways in
# the same run:
#   layer  shifrodel-bench-image-layer  the image layer's own per-file work
#   run-1  shifrodel-batch copy --jobs 1  the whole copy run on one thread
#   run    shifrodel-batch copy           the run with the default workers
#   vips   vips copy, one call per file   an outside reference
# and prints the median seconds, files per second and the ratios. The run's
# own cost (walk, placement, policy, guard, records) is run / layer - 1.
#
#   bench/copy-run.sh [BUILD_DIR]     PAGES=200 RUNS=3 WORK=/tmp/shifrodel-bench-copy
set -euo pipefail
build=${1:-build/release}
pages=${PAGES:-200}
runs=${RUNS:-3}
work=${WORK:-/tmp/shifrodel-bench-copy}
batch=$build/src/cli/shifrodel-batch
layer=$build/bench/shifrodel-bench-image-layer

rm -rf "$work"
mkdir -p "$work"
"$build/tools/sample_tree/shifrodel-sample-tree" --a4 "$pages" "$work/src"
mapfile -d '' files < <(find "$work/src" -type f -name '*.tif' -print0 | sort -z)
echo "tree: ${#files[@]} files in $work/src"

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
seconds() {  # runs "$@" once, prints the wall time in seconds
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}
fresh() { rm -rf "$work/out" && mkdir -p "$work/out"; }

run_copy() { (cd "$work" && "$OLDPWD/$batch" copy "$@" src out/dst out/misc </dev/null); }
run_layer() { printf '%s\n' "${files[@]}" | "$layer" "$work/out"; }
run_vips() {
  local i=0
  for f in "${files[@]}"; do
    i=$((i + 1))
    vips copy "$f" "$work/out/$i.jpg[Q=75]"
  done
}

declare -A result
measure() {  # name command...
  local name=$1
  shift
  local times=()
  for ((r = 0; r < runs; r++)); do
    fresh
    times+=("$(seconds "$@")")
  done
  result[$name]=$(printf '%s\n' "${times[@]}" | median)
  printf '%-12s %8.2f s  %7.1f files/s\n' "$name" "${result[$name]}" \
    "$(echo "${#files[@]} / ${result[$name]}" | bc -l)"
}

measure layer run_layer
measure run-1 run_copy --jobs 1
measure run run_copy
if command -v vips >/dev/null; then measure vips run_vips; fi

printf 'run-1 / layer: %.3f (the one-thread run costs %.1f %% over the image layer)\n' \
  "$(echo "${result[run-1]} / ${result[layer]}" | bc -l)" \
  "$(echo "(${result[run-1]} / ${result[layer]} - 1) * 100" | bc -l)"
printf 'run-1 / run:   %.2f (speed-up of the default workers, %d hardware threads)\n' \
  "$(echo "${result[run-1]} / ${result[run]}" | bc -l)" "$(nproc)"
if [[ -n ${result[vips]:-} ]]; then
  printf 'vips / run:    %.2f\n' "$(echo "${result[vips]} / ${result[run]}" | bc -l)"
fi
