#!/usr/bin/env bash
# A picture library that loads but is the wrong one (the two swapped, or another library in its
# place) counts as missing: the window does not start and says which library, and velinor-cli
# blames the library, not the logo.
# usage: wrong-library.sh STAGE_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../require-tools.sh"
require_tools convert
stage=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$stage/lang.prf" .
mkdir data
failures=0
check() {  # name expected actual
  if [[ "$2" != "$3" ]]; then echo "FAIL $1: expected $2, got $3"; failures=$((failures + 1)); else echo "ok   $1"; fi
}
convert -size 8x8 xc:red logo.gif
printf 'print text BtnOpen\n' > look.vhs
for case in swapped foreign; do
  if [[ $case == swapped ]]; then
    cp "$stage/data/nviewlib.so" data/image323.so
    cp "$stage/data/image323.so" data/nviewlib.so
  else
    cp "$(ldconfig -p | awk '/libz\.so\.1 / {print $NF; exit}')" data/image323.so
  fi
  check "$case: the window does not start" \
    'message caption="Datei fehlt" text="Die Bildbibliothek data/image323 fehlt. Bitte installieren Sie Velinor neu." icon=warning buttons=ok -> ok' \
    "$("$stage/velinor-headless" --program-dir "$stage" look.vhs | head -1)"
  check "$case: velinor-cli blames the library" \
    "velinor-cli: logo.gif cannot be read: the picture libraries were not found in ./data/ (or are damaged)" \
    "$("$stage/velinor-cli" info --logo logo.gif 2>&1)"
done
[[ $failures -eq 0 ]]
