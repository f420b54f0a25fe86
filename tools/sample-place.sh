#!/usr/bin/env bash
# Makes a small tree of scan names (empty files) under build/sample and shows
# where the copy run would put each of them.
set -euo pipefail
batch=${1:?usage: sample-place.sh PATH-TO-shifrodel-batch}
root=build/sample
rm -rf "$root"
mkdir -p "$root/source/Опись 1" "$root/source/Опись 2/Дела 40-49"
touch "$root/source/Опись 1/ф 12 оп 1 д 1 л 1.tif" \
      "$root/source/Опись 1/ф 12 оп 1 д 1 л 2 оборот.tif" \
      "$root/source/Опись 1/Ф.12.Оп.1.Д.2.Л.1.jpg" \
      "$root/source/Опись 1/титульный лист.tif" \
      "$root/source/Опись 2/Дела 40-49/ф. 12, оп. 2, д. 45, л. 3.tif" \
      "$root/source/Опись 2/Дела 40-49/ф р-7 оп 2 д 45а л 3об.bmp" \
      "$root/source/Опись 2/обложка.psd" \
      "$root/source/readme.txt"
src="$PWD/$root/source/" dst="$PWD/$root/archive/" oth="$PWD/$root/misc/"
echo "Where each sample scan would go (source: $src):"
find "$root/source" -type f | sort | while read -r f; do
  printf '  %s\n    -> %s\n' "${f#"$root/source/"}" "$("$batch" place "$src" "$dst" "$oth" "$PWD/$f")"
done
