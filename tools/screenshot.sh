#!/usr/bin/env bash
# Pictures of the window at work: makes the sample tree under
# build/screenshots/sample, starts the window under Xvfb (no window manager,
# so the caption is drawn above each picture) and writes idle.png,
# running.png, question.png, done.png and about.png into build/screenshots.
set -euo pipefail
build=${1:?usage: screenshot.sh BUILD_DIR}
out=build/screenshots
root=$out/sample
rm -rf "$out"
mkdir -p "$out"
"$build/tools/sample_tree/shifrodel-sample-tree" "$root/source"
xvfb-run -a -s "-screen 0 1024x768x24" \
  "$build/src/app/shifrodel-screenshots" "$root" "$out"
