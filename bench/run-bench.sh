#!/usr/bin/env bash
# Speed and memory of `shifrodel-batch convert` against the baseline (TIFF
# rows streamed into libjpeg with the same settings, nothing else), vips
# and ImageMagick, on synthetic scanned pages: median times (hyperfine),
# ratios to the baseline, peak resident memory, and a check that for TIFF
# pages the coded image is byte for byte the baseline's.
#
#   bench/run-bench.sh [BUILD_DIR]        (default build/release)
#
# Pages come from CORPUS (default /tmp/scan-corpus); when it is empty they
# are made with the shared make-corpus.sh (SHARED_BENCH, default
# ../shared/bench beside the repository). Installs nothing: a tool that is
# missing is left out. RUNS and WARMUP set hyperfine's counts; QUALITY the
# JPEG quality (75).
set -euo pipefail
export LC_ALL=C.UTF-8

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/release}
corpus=${CORPUS:-/tmp/scan-corpus}
shared=${SHARED_BENCH:-$root/../shared/bench}
runs=${RUNS:-5}
warmup=${WARMUP:-1}
quality=${QUALITY:-75}
baseline=$build/bench/shifrodel-bench-baseline
batch=$build/src/cli/shifrodel-batch

for tool in hyperfine python3; do
  command -v "$tool" >/dev/null || { echo "run-bench: $tool is needed" >&2; exit 1; }
done
for program in "$baseline" "$batch"; do
  [[ -x $program ]] || { echo "run-bench: build $program first (cmake --build --preset release)" >&2; exit 1; }
done
pages=(a_a4_300_rgb8.tif a_a4_300_rgb8_lzw.tif b_a4_600_grey8.tif c_a4_600_bilevel_g4.tif
       d_a3_400_rgb16.tif e_photo_4000x3000_q92.jpg)
if [[ ! -f $corpus/${pages[0]} ]]; then
  [[ -f $shared/make-corpus.sh ]] || { echo "run-bench: no pages in $corpus and no $shared/make-corpus.sh" >&2; exit 1; }
  BATCH=0 bash "$shared/make-corpus.sh" "$corpus"
fi
have_vips=0; command -v vips >/dev/null && have_vips=1
# /usr/bin/convert is ImageMagick's; another convert on the path may not be.
have_im=0; [[ -x /usr/bin/convert ]] && /usr/bin/convert -version 2>/dev/null | grep -q ImageMagick && have_im=1

out=$(mktemp -d "${TMPDIR:-/tmp}/shifrodel-bench.XXXXXX")
trap 'rm -rf "$out"' EXIT

# Peak resident memory in MB of a command: the median of three runs.
peak_rss() {
  for _ in 1 2 3; do /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; done |
    sort -n | sed -n 2p | awk '{printf "%.1f", $1 / 1024}'
}

# The bytes of a JPEG file from its first quantisation table on.
coded_image() {
  python3 -c 'import sys; d = open(sys.argv[1], "rb").read(); sys.stdout.buffer.write(d[d.index(b"\xff\xdb"):])' "$1"
}

printf '%-28s %9s %9s %7s %9s %7s %9s %7s %8s %8s %s\n' page baseline shifrodel ratio vips ratio \
  magick ratio "RSS base" "RSS ours" "coded image"
for page in "${pages[@]}"; do
  in=$corpus/$page
  commands=(-n baseline "$baseline -q $quality '$in' $out/base.jpg"
            -n shifrodel "$batch convert --quality $quality '$in' $out/ours.jpg")
  ((have_vips)) && commands+=(-n vips "vips copy '$in' '$out/vips.jpg[Q=$quality]'")
  ((have_im)) && commands+=(-n magick "/usr/bin/convert '$in' -quality $quality -sampling-factor 2x2 $out/im.jpg")
  hyperfine --style none --warmup "$warmup" --runs "$runs" --export-json "$out/times.json" \
    "${commands[@]}" >/dev/null
  same=same
  if [[ $page == *.tif ]] && ! cmp -s <(coded_image "$out/base.jpg") <(coded_image "$out/ours.jpg"); then
    same=DIFFERENT
  fi
  [[ $page == *.tif ]] || same="-"
  rss_base=$(peak_rss "$baseline" -q "$quality" "$in" "$out/base.jpg")
  rss_ours=$(peak_rss "$batch" convert --quality "$quality" "$in" "$out/ours.jpg")
  python3 - "$out/times.json" "$page" "$rss_base" "$rss_ours" "$same" <<'PY'
import json, sys
results = {r["command"]: r["median"] * 1000 for r in json.load(open(sys.argv[1]))["results"]}
base = results["baseline"]
def cell(name):
    if name not in results:
        return "%9s %7s" % ("-", "-")
    return "%9.1f %6.2fx" % (results[name], results[name] / base)
print("%-28s %9.1f %s %s %s %8s %8s %s" % (sys.argv[2], base, cell("shifrodel"), cell("vips"),
      cell("magick"), sys.argv[3], sys.argv[4], sys.argv[5]))
PY
done
echo "times: median ms of $runs runs; ratio: to the baseline; RSS: peak MB (median of 3);"
echo "coded image: the shifrodel output from its quantisation tables on against the baseline's"
