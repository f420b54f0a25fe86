#!/usr/bin/env bash
# shifrodel-batch end to end: its commands on real files, their output, their
# last lines and exit statuses.
#   commands_test.sh SHIFRODEL_BATCH SAMPLE_TREE_GENERATOR
set -uo pipefail
batch=$1
sample_tree=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

check() {  # what expected actual
  if [[ "$2" != "$3" ]]; then
    printf 'FAIL: %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
    failures=$((failures + 1))
  fi
}

# cipher: one tab-separated line per name, empty fields kept.
check "cipher" $'12\t1\t45\t3\tфото\nр-12\t\t\t\t' \
  "$("$batch" cipher 'ф 12 оп 1 д 45 л 3 фото.tif' 'Ф Р-12.tif')"
"$batch" cipher '日本.tif' >/dev/null 2>&1
check "cipher refuses a name without a Windows-1251 form" 2 $?

# place: the destination, or "-" without one.
check "place" $'/a/Ф.   12/Оп.   1/Ф.12.Оп.1.jpg\n/o/x/титул.jpg' \
  "$("$batch" place /s/ /a/ /o/ '/s/y/ф 12 оп 1.tif' '/s/x/титул.tif')"
check "place --no-other" "-" "$("$batch" place --no-other /s/ /a/ /o/ '/s/титул.tif')"

# describe: the list in the file's folder.
"$batch" describe "$work/скан 1.jpg" 'откуда-то'
check "describe (the list is Windows-1251)" '"скан 1.jpg" откуда-то' \
  "$(iconv -f CP1251 -t UTF-8 "$work/descript.ion")"

# free: a number of megabytes and the label.
free_output=$("$batch" free "$work")
[[ $(head -1 <<<"$free_output") =~ ^[0-9]+$ ]] || { echo "FAIL: free: $free_output"; failures=$((failures + 1)); }
[[ $(tail -1 <<<"$free_output") == Свободно* ]] || { echo "FAIL: free label: $free_output"; failures=$((failures + 1)); }

if "$batch" --help | grep -q '^  copy '; then
  "$sample_tree" "$work/src" || exit 1
  cd "$work"

  # A dry run lists what would be transferred and writes nothing.
  dry=$("$batch" copy --dry-run src out/dst out/misc)
  check "dry run writes nothing" "" "$(ls -A | grep -v -e '^src$' -e '^descript.ion$')"
  check "dry run count" "Найдено файлов: 8" "$(tail -1 <<<"$dry")"
  grep -q $'/ф 12 оп 1 д 1 л 1.tif\tout/dst/Ф.   12/Оп.   1/Д.     1/Ф.12.Оп.1.Д.1.Л.1.jpg$' <<<"$dry" ||
    { echo "FAIL: dry run line"; failures=$((failures + 1)); }

  # The run: the broken scan is asked about (no: keep it) and logged.
  echo no | "$batch" copy src out/dst out/misc >run.out 2>/dev/null
  check "copy exit status with a problem" 1 $?
  check "copy last line" "Готово. Проблем 1" "$(tail -1 run.out)"
  rm run.out
  check "fp.log" 1 "$(wc -l <fp.log)"
  [[ -s "out/dst/Ф.   12/Оп.   1/Д.     1/Ф.12.Оп.1.Д.1.Л.1.jpg" ]] ||
    { echo "FAIL: converted file missing"; failures=$((failures + 1)); }
  [[ -s "out/misc/Опись 2/обложка.jpg" ]] || { echo "FAIL: miscellaneous file missing"; failures=$((failures + 1)); }

  # Cancel at the question stops the run.
  echo cancel | "$batch" copy src out/dst out/misc >/dev/null 2>&1
  check "copy stopped" 2 $?
  # The end of the input counts as Cancel, too.
  "$batch" copy --existing ask src out/dst out/misc </dev/null >/dev/null 2>&1
  check "copy stopped at the end of the input" 2 $?

  # Refused before the walk, and wrong usage.
  check "refused" "Выберите папку для обработки" "$("$batch" copy '' out/dst out/misc 2>/dev/null)"
  "$batch" copy '' out/dst out/misc >/dev/null 2>&1
  check "refused status" 3 $?
  "$batch" copy src out/dst >/dev/null 2>&1
  check "OTHER missing" 4 $?
  "$batch" copy --existing sometimes src out/dst out/misc >/dev/null 2>&1
  check "bad --existing" 4 $?
  "$batch" copy src '日本' out/misc >/dev/null 2>&1
  check "argument without a Windows-1251 form" 4 $?

  # Without the broken file: no problems, no fp.log.
  rm -f "src/Опись 1/ф 12 оп 1 д 3 л 1.tif"
  check "copy without problems" "Готово." "$("$batch" copy --existing leave src out/dst out/misc 2>/dev/null)"
  [[ ! -e fp.log ]] || { echo "FAIL: fp.log left without problems"; failures=$((failures + 1)); }
fi

exit $((failures > 0))
