#!/usr/bin/env bash
# Starts the window over a fresh sample tree: build/sample/source, copied into
# build/sample/archive (files without a cipher into build/sample/misc). A
# settings file beside the program that points at the tree is written when
# there is none yet; after that the window keeps whatever the user chose.
# Without a display it runs the console copy of the same tree instead.
set -euo pipefail
build=${1:?usage: run-window.sh BUILD_DIR}
program=$PWD/$build/src/app/shifrodel
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
  echo "No display for the window: running the console copy instead (see make screenshot)."
  exec tools/sample-run.sh "$build"
fi
root=build/sample
rm -rf "$root"
"$build/tools/sample_tree/shifrodel-sample-tree" "$root/source"
ini=$program.ini
if [[ ! -f $ini ]]; then
  printf '[Main]\r\nDirSource=%s\r\nDirDest=%s\r\nDirDestOther=%s\r\n' \
    "$PWD/$root/source" "$PWD/$root/archive" "$PWD/$root/misc" | iconv -f UTF-8 -t CP1251 > "$ini" ||
    rm -f "$ini"
fi
cd "$root"  # the copy run writes its fp.log into the working folder
exec "$program"
