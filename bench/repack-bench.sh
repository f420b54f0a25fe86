#!/usr/bin/env bash
# repack-bench.sh SHIFRODEL_BATCH [WORK_DIR]
#
# The TIFF repack against libtiff's tiffcp, in one run on one machine. Builds
# a set of scans in the forms an archive holds (uncompressed RGB and grey,
# LZW without predictor, deflate, bilevel G4, 16-bit RGB, a three-page file)
# from the synthetic pages of the shared make-corpus.sh, then repacks copies
# of the set with `shifrodel-batch repack`, `tiffcp -c lzw` and
# `tiffcp -c lzw:2`, RUNS times each (default 3), and prints for each the
# best wall and CPU time over the whole set and the total output size: over
# every file as the tool leaves it, and over the files the repack replaced.
# The ratios are against tiffcp -c lzw:2.
#
# Environment: RUNS (3); PAGES, a folder that already holds make-corpus.sh's
# pages; MAKE_CORPUS, that script (default /work/shared/bench/make-corpus.sh).
# Needs tiffcp, GNU time (/usr/bin/time) and about 2 GB in WORK_DIR.
set -euo pipefail
export LC_ALL=C.UTF-8

batch=$(realpath "$1")
work=${2:-$(mktemp -d "${TMPDIR:-/tmp}/repack-bench.XXXXXX")}
runs=${RUNS:-3}
mkdir -p "$work"

pages=${PAGES:-$work/pages}
if [[ ! -f $pages/a_a4_300_rgb8.tif ]]; then
  BATCH=0 bash "${MAKE_CORPUS:-/work/shared/bench/make-corpus.sh}" "$pages" >/dev/null
fi

set_dir=$work/set
rm -rf "$set_dir" && mkdir -p "$set_dir"
cp "$pages/a_a4_300_rgb8.tif" "$set_dir/rgb8-uncompressed.tif"
cp "$pages/b_a4_600_grey8.tif" "$set_dir/grey8-uncompressed.tif"
cp "$pages/c_a4_600_bilevel_g4.tif" "$set_dir/bilevel-g4.tif"
cp "$pages/d_a3_400_rgb16.tif" "$set_dir/rgb16-uncompressed.tif"
tiffcp -c lzw "$pages/a_a4_300_rgb8.tif" "$set_dir/rgb8-lzw.tif"
tiffcp -c zip "$pages/b_a4_600_grey8.tif" "$set_dir/grey8-deflate.tif"
tiffcp "$pages/a_a4_300_rgb8.tif" "$pages/b_a4_600_grey8.tif" "$pages/c_a4_600_bilevel_g4.tif" \
  "$set_dir/three-pages.tif"

# bytes FILE...: their total size.
bytes() { stat -c %s "$@" | awk '{s += $1} END {print s + 0}'; }

# timed LABEL COMMAND...: runs the command once; appends "wall cpu" to $work/LABEL.times.
timed() {
  local label=$1
  shift
  /usr/bin/time -f "%e %U %S" -o "$work/time.txt" "$@" >"$work/$label.out" 2>/dev/null
  awk '{printf "%.3f %.3f\n", $1, $2 + $3}' "$work/time.txt" >>"$work/$label.times"
}

rm -f "$work"/*.times
for ((run = 0; run < runs; run++)); do
  rm -rf "$work/ours" && cp -r "$set_dir" "$work/ours"
  timed ours "$batch" repack --verbose "$work/ours"
  for mode in lzw lzw:2; do
    label=tiffcp-${mode/:/-}
    rm -rf "$work/$label" && mkdir -p "$work/$label"
    timed "$label" bash -c 'for f in "$1"/*.tif; do tiffcp -c "$2" "$f" "$3/${f##*/}"; done' \
      _ "$set_dir" "$mode" "$work/$label"
  done
done

# The files the repack replaced, from its --verbose lines.
mapfile -t replaced < <(awk -F'\t' '$2 ~ /^replaced / {n = split($1, p, "/"); print p[n]}' \
  "$work/ours.out")

best() { sort -n -k"$2" "$work/$1.times" | head -1 | awk -v k="$2" '{print $k}'; }
ref_wall=$(best tiffcp-lzw-2 1)
ref_cpu=$(best tiffcp-lzw-2 2)
ref_all=$(bytes "$work/tiffcp-lzw-2"/*.tif)
ref_replaced=$(cd "$work/tiffcp-lzw-2" && bytes "${replaced[@]}")

echo "set: $(ls "$set_dir" | wc -l) files, $(bytes "$set_dir"/*.tif) bytes; best of $runs runs"
echo "replaced by the repack: ${replaced[*]}"
printf '%-16s %9s %9s %14s %14s %10s %10s %10s\n' tool wall_s cpu_s all_bytes replaced_bytes \
  wall_x cpu_x replaced_x
for label in ours tiffcp-lzw tiffcp-lzw-2; do
  wall=$(best "$label" 1)
  cpu=$(best "$label" 2)
  all=$(bytes "$work/$label"/*.tif)
  rep=$(cd "$work/$label" && bytes "${replaced[@]}")
  awk -v l="$label" -v w="$wall" -v c="$cpu" -v a="$all" -v r="$rep" -v rw="$ref_wall" \
    -v rc="$ref_cpu" -v rr="$ref_replaced" \
    'BEGIN {printf "%-16s %9.3f %9.3f %14d %14d %10.3f %10.3f %10.3f\n", l, w, c, a, r, w / rw, c / rc, r / rr}'
done
echo "per file (repack):"
sed 's|^.*/||' "$work/ours.out"
