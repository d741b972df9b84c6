#!/usr/bin/env bash
# Batch runs never harm a file they read or one they were not asked to write: the logo of a
# run with kept names, a file a planted symbolic link points at, and anything outside the
# output folder that a picture name from Settings.ini would reach; a run that writes one kept
# name twice says so. Files are compared byte for byte and read back with ImageMagick.
#
#   nothing-harmed.sh VELINOR_HEADLESS STAGE_DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../require-tools.sh"
require_tools convert identify cmp
headless="$1"
stage="$2"
source "$(dirname "${BASH_SOURCE[0]}")/work-folder.sh"
run() { "$headless" --program-dir "$stage" "$1" > "$1.log"; }
# Red, green, blue of one pixel, each rounded to 0..255.
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)] %[fx:int(255*p{$2,$3}.g+0.5)] %[fx:int(255*p{$2,$3}.b+0.5)]" info:; }
# "red", "green", "blue" or "other" for a pixel of a JPEG (flat areas stay within 40).
hue() {
  local c=($(pixel "$1" "$2" "$3"))
  if [[ ${c[0]} -gt 215 && ${c[1]} -lt 40 && ${c[2]} -lt 40 ]]; then echo red
  elif [[ ${c[0]} -lt 40 && ${c[1]} -gt 215 && ${c[2]} -lt 40 ]]; then echo green
  elif [[ ${c[0]} -lt 40 && ${c[1]} -lt 40 && ${c[2]} -gt 215 ]]; then echo blue
  else echo "other (${c[*]})"; fi
}

# The logo is out/b.jpg and pics/b.jpg is listed with kept names into out/: picture b would be
# written over the logo, and c and d would then be stamped with that (green) photo as their logo.
mkdir pics out
for name in a c d; do convert -size 60x40 xc:'#0000ff' "pics/$name.jpg"; done
convert -size 60x40 xc:'#00ff00' pics/b.jpg
convert -size 10x10 xc:'#ff0000' out/b.jpg
cp out/b.jpg logo.before
cat > logo.vhs <<'S'
set PnlTabs 1
type CmbExplorer "pics"
click BtnAddAll
answer folder "out/"
click BtnOutputDir
click ChkKeepNames
answer open "out/b.jpg"
click BtnBatchLogoFile
set PnlBatchMark 1
click OptBatchLogoPos4
answer quality 10
click BtnBatchStart
S
run logo.vhs
check "the logo is left as it was" same "$(cmp -s out/b.jpg logo.before && echo same || echo changed)"
check "picture b is skipped with its reason" 1 \
  "$(grep -c 'pics/b.jpg: übersprungen, die Ausgabedatei hätte das Logo ersetzt.' logo.vhs.log)"
check "picture d has the red logo" red "$(hue out/d.jpg 2 2)"
check "picture d outside the logo" blue "$(hue out/d.jpg 40 30)"
check "the warning counts 3 of 4" 1 "$(grep -c 'Gespeicherte Bilder: 3 / 4' logo.vhs.log)"

# A symbolic link planted under an output name: the file it points at stays as it was, the
# picture is skipped with a line saying why, and the link is left alone.
rm -rf pics out && mkdir pics out
convert -size 60x40 xc:'#0000ff' pics/a.png
convert -size 60x40 xc:'#00ff00' pics/b.png
printf 'precious\n' > precious.txt
ln -s ../precious.txt out/img1.jpg
ln -s ../precious.txt out/b.png
{ text_batch pics; cat <<'S'; } > links.vhs
click BtnBatchStart
click ChkKeepNames
click BtnBatchStart
S
run links.vhs
check "the linked file is untouched" precious "$(cat precious.txt)"
check "the links stay links" "../precious.txt ../precious.txt" "$(readlink out/img1.jpg) $(readlink out/b.png)"
check "both linked outputs are skipped" 2 "$(grep -c 'symbolische Verknüpfung' links.vhs.log)"
check "the other outputs are written" "JPEG JPEG" "$(identify -format '%m ' out/img2.jpg out/a.png | xargs)"

# Two sources of the same name with kept names: the second replaces the first's result and
# says so; the warning counts it.
rm -rf p1 p2 out && mkdir p1 p2 out
convert -size 60x40 xc:'#ff0000' p1/x.png
convert -size 60x40 xc:'#00ff00' p2/x.png
cat > twice.vhs <<'S'
set PnlTabs 1
type CmbExplorer "p1"
click BtnAddAll
type CmbExplorer "p2"
click BtnAddAll
answer folder "out/"
click BtnOutputDir
click ChkKeepNames
answer font "DejaVu Sans" 8
click BtnBatchFont
type TxtBatchMark "x"
click BtnBatchStart
S
run twice.vhs
check "the second result is the one kept" green "$(hue out/x.png 40 5)"
check "its line names the picture it replaced" 1 \
  "$(grep -c 'p2/x.png: bearbeitet.\\r\\nGespeichert als: out/x.png, mit JPEG-Inhalt\\r\\nErsetzt wurde dabei das Ergebnis dieses Laufs für Bild 1\\r\\n' twice.vhs.log)"
check "the warning counts it" 1 "$(grep -c 'Gespeicherte Bilder: 2 / 2\\r\\nBilder, die ein früheres Ergebnis dieses Laufs ersetzt haben: 1"' twice.vhs.log)"

# A picture name leading out of the output folder, from a hand-edited Settings.ini or typed in:
# the run is refused and so is saving it; nothing is written outside out/.
rm -rf pics out && mkdir pics out
convert -size 60x40 xc:'#0000ff' pics/a.png
printf 'Bildname = ../escaped/evil\r\nLanguage = English\r\n' > Settings.ini
mkdir escaped
{ text_batch pics; cat <<'S'; } > escape.vhs
click BtnBatchStart
type TxtPictureName "sub/name"
click BtnSaveSettings
type TxtPictureName "a..b"
click BtnSaveSettings
S
run escape.vhs
check "nothing written outside the output folder" "" "$(find escaped out -type f)"
check "the run and both saves are refused with the message" 3 \
  "$(grep -c 'message caption="Warning" text="The picture name must not hold / or \\\\ or two dots in a row' escape.vhs.log)"
check "the settings keep their picture name" "Bildname = ../escaped/evil" "$(grep Bildname Settings.ini | tr -d '\r')"

[[ $failures -eq 0 ]]
