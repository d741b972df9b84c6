#!/usr/bin/env bash
# An installed tree (cmake --install to a prefix) works wherever it is, started from any folder:
# texts and tiles from PREFIX/share/velinor/, picture libraries from PREFIX/lib/velinor/, the
# settings in $XDG_CONFIG_HOME/velinor/ and nothing in the current folder; after the tree is
# moved it still finds its files; a current folder holding lang.prf is a runtime folder and wins.
# usage: relocated-tree.sh BUILD_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../require-tools.sh"
require_tools convert
build=$1
scratch="$(mktemp -d "${TMPDIR:-/tmp}/velinor-tree.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT
failures=0
check() {  # name expected actual
  if [[ "$2" != "$3" ]]; then echo "FAIL $1: expected [$2], got [$3]"; failures=$((failures + 1)); else echo "ok   $1"; fi
}

tree="$scratch/opt/velinor"
cmake --install "$build" --prefix "$tree" >/dev/null || { echo "FAIL cmake --install"; exit 1; }
for path in bin/velinor-headless bin/velinor-cli lib/velinor/image323.so lib/velinor/nviewlib.so \
            share/velinor/lang.prf share/velinor/texturen/Stein/granit.jpg \
            share/applications/org.velinor.Velinor.desktop share/icons/hicolor/scalable/apps/velinor.svg; do
  [[ -f "$tree/$path" ]] || check "installed $path" present missing
done

work="$scratch/work" home="$scratch/home" config="$scratch/config"
mkdir -p "$work" "$home"
# run PREFIX FOLDER PROGRAM ARGS...: a program of the tree at PREFIX, started in FOLDER.
run() {
  local prefix=$1 folder=$2 program=$3; shift 3
  (cd "$folder" && env -i HOME="$home" XDG_CONFIG_HOME="$config" PATH=/usr/bin:/bin "$prefix/bin/$program" "$@" 2>&1)
}
printf 'print text BtnOpen\nprint items TreeTextures\ntoolbar TbEnglish\nclose\n' > "$scratch/switch.vhs"
printf 'print text BtnOpen\nclose\n' > "$scratch/look.vhs"
convert -size 20x10 xc:orange "$scratch/logo.gif"

log="$(run "$tree" "$work" velinor-headless "$scratch/switch.vhs")"
check "texts from share/velinor" 'text BtnOpen "Bild öffnen"' "$(grep '^text BtnOpen' <<<"$log")"
check "tiles from share/velinor" 'Holz128x128' "$(grep -o '"Holz128x128"' <<<"$log" | tr -d '"')"
check "settings in \$XDG_CONFIG_HOME/velinor" "Language = English" "$(grep -ao 'Language = English' "$config/velinor/Settings.ini" 2>&1)"
check "nothing in the current folder" "" "$(ls -A "$work")"
check "nothing in the home folder" "" "$(ls -A "$home")"
check "picture library from lib/velinor" "20x10" "$(run "$tree" "$work" velinor-cli info --logo "$scratch/logo.gif")"

moved="$scratch/elsewhere/velinor-copy"
mkdir -p "${moved%/*}" && mv "$tree" "$moved"
check "moved tree reads the saved language" 'text BtnOpen "Open picture"' \
  "$(run "$moved" "$work" velinor-headless "$scratch/look.vhs" | grep '^text BtnOpen')"
check "moved tree finds its picture libraries" "20x10" "$(run "$moved" "$work" velinor-cli info --logo "$scratch/logo.gif")"

# A runtime folder: its own lang.prf (one text changed) and Settings.ini, and its data/.
runtime="$scratch/runtime"
mkdir "$runtime"
sed $'s/^7 = Bild \xf6ffnen\r$/7 = Bild laden\r/' "$moved/share/velinor/lang.prf" > "$runtime/lang.prf"
cp -R "$moved/lib/velinor" "$runtime/data"
check "runtime folder's lang.prf wins" 'text BtnOpen "Bild laden"' \
  "$(run "$moved" "$runtime" velinor-headless "$scratch/look.vhs" | grep '^text BtnOpen')"
run "$moved" "$runtime" velinor-headless "$scratch/switch.vhs" >/dev/null
check "runtime folder keeps its Settings.ini" "Language = English" "$(grep -ao 'Language = English' "$runtime/Settings.ini" 2>&1)"
rm -r "$runtime/data"
check "runtime folder reads ./data/" "velinor-cli: $scratch/logo.gif cannot be read: the picture libraries were not found in ./data/ (or are damaged)" \
  "$(run "$moved" "$runtime" velinor-cli info --logo "$scratch/logo.gif")"

# An installed tree without its picture library names the file it looked for, not data/.
printf 'close\n' > "$scratch/close.vhs"
rm "$moved/lib/velinor/image323.so"
check "installed tree names its missing library" \
  "message caption=\"Missing file\" text=\"The picture library $moved/lib/velinor/image323.so is missing. Please reinstall Velinor.\" icon=warning buttons=ok -> ok" \
  "$(run "$moved" "$work" velinor-headless "$scratch/close.vhs" | grep '^message')"

[[ $failures == 0 ]]
