#!/usr/bin/env bash
# Makes a small sample tree of scans under build/sample/source, copies it
# with shifrodel-batch copy into build/sample/archive (files without a cipher
# into build/sample/misc) and shows what came of it. The one broken scan is
# asked about; the answer "no" keeps it and logs it in fp.log.
set -euo pipefail
build=${1:?usage: sample-run.sh BUILD_DIR}
root=build/sample
rm -rf "$root"
"$build/tools/sample_tree/shifrodel-sample-tree" "$root/source"

echo "Copying $root/source into $root/archive ..."
status=0
(cd "$root" && printf 'no\n%.0s' {1..20} | "../../$build/src/cli/shifrodel-batch" copy source archive misc) || status=$?

echo
echo "What the run wrote:"
(cd "$root" && find archive misc -type f | sort | sed 's/^/  /')
if [[ -f $root/fp.log ]]; then
  echo "Problems ($root/fp.log):"
  iconv -f CP1251 -t UTF-8 "$root/fp.log" | sed "s/^/  /"
fi
echo "Exit status of the copy run: $status"
