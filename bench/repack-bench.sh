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
# The ratios are against tiffcp -c lzw:2 (-c lzw for the bilevel page, whose
# 1-bit samples it cannot predict). tiffcp writes every file; the repack
# keeps a file's new version only when it is smaller, after reading it back.
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
tiffcp "$pages/a_a4_300_rgb8.tif" "$pages/b_a4_600_grey8.tif" "$set_dir/rgb8-lzw.tif" \
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

tools=(ours tiffcp-lzw tiffcp-lzw-2)

# measure NAME DIR: the three tools over copies of DIR, $runs times; each
# leaves its last output in $work/NAME-TOOL/.
measure() {
  local name=$1 dir=$2 run mode label
  rm -f "$work/$name"-*.times
  for ((run = 0; run < runs; run++)); do
    rm -rf "$work/$name-ours" && cp -r "$dir" "$work/$name-ours"
    timed "$name-ours" "$batch" repack --verbose "$work/$name-ours"
    for mode in lzw lzw:2; do
      label=$name-tiffcp-${mode/:/-}
      rm -rf "$work/$label" && mkdir -p "$work/$label"
      # tiffcp cannot apply the predictor to 1-bit samples; such a file gets -c lzw.
      timed "$label" bash -c 'for f in "$1"/*.tif; do
          tiffcp -c "$2" "$f" "$3/${f##*/}" 2>/dev/null || tiffcp -c lzw "$f" "$3/${f##*/}"
        done' _ "$dir" "$mode" "$work/$label"
    done
  done
}

best() { sort -n -k"$2" "$work/$1.times" | head -1 | awk -v k="$2" '{print $k}'; }

# report NAME TITLE FILE...: best times and total sizes of FILE... in each
# tool's output, with the ratios to tiffcp -c lzw:2.
report() {
  local name=$1 title=$2 label wall cpu size
  shift 2
  local ref_wall ref_cpu ref_size
  ref_wall=$(best "$name-tiffcp-lzw-2" 1)
  ref_cpu=$(best "$name-tiffcp-lzw-2" 2)
  ref_size=$(cd "$work/$name-tiffcp-lzw-2" && bytes "$@")
  echo "$title ($# files, $(cd "$set_dir" && bytes "$@") bytes before; best of $runs runs)"
  printf '  %-14s %9s %9s %14s %8s %8s %8s\n' tool wall_s cpu_s bytes wall_x cpu_x bytes_x
  for label in "${tools[@]}"; do
    wall=$(best "$name-$label" 1)
    cpu=$(best "$name-$label" 2)
    size=$(cd "$work/$name-$label" && bytes "$@")
    awk -v l="$label" -v w="$wall" -v c="$cpu" -v s="$size" -v rw="$ref_wall" -v rc="$ref_cpu" \
      -v rs="$ref_size" 'BEGIN {printf "  %-14s %9.3f %9.3f %14d %8.3f %8.3f %8.3f\n",
                                l, w, c, s, w / rw, c / rc, s / rs}'
  done
}

measure all "$set_dir"
mapfile -t all_files < <(cd "$set_dir" && ls)
# The files the repack replaced, from its --verbose lines.
mapfile -t replaced < <(awk -F'\t' '$2 ~ /^replaced / {n = split($1, p, "/"); print p[n]}' \
  "$work/all-ours.out")
rm -rf "$work/replaced-set" && mkdir -p "$work/replaced-set"
(cd "$set_dir" && cp "${replaced[@]}" "$work/replaced-set/")
measure replaced "$work/replaced-set"

report all "the whole set, each file as the tool leaves it" "${all_files[@]}"
report replaced "the files the repack replaces, alone" "${replaced[@]}"
echo "per file (repack):"
sed 's|^.*/||' "$work/all-ours.out"
