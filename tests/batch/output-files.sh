#!/usr/bin/env bash
# What batch runs leave on disk, read back with ImageMagick: kept names hold JPEG data, logos
# sit at their anchor blended at 255 - a or keyed, the text lands where it was anchored, and a
# run into the sources' own folder leaves every source byte for byte as it was.
#
#   output-files.sh VELINOR_HEADLESS STAGE_DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../require-tools.sh"
require_tools convert identify
headless="$1"
stage="$2"
work="$(mktemp -d "${TMPDIR:-/tmp}/velinor-batch.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$stage/lang.prf" .
cp -R "$stage/data" .
mkdir pics out
failures=0
check() {  # name expected actual
  if [[ "$2" != "$3" ]]; then echo "FAIL $1: expected $2, got $3"; failures=$((failures + 1)); else echo "ok   $1"; fi
}
run() { "$headless" --program-dir "$stage" "$1" > "$1.log"; }
# Channel values 0..255 of one pixel, "r g b".
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)] %[fx:int(255*p{$2,$3}.g+0.5)] %[fx:int(255*p{$2,$3}.b+0.5)]" info:; }
# 1 when every channel of pixel is within 6 of "r g b" (JPEG at quality 100 keeps flat areas close).
near() {
  local got=($(pixel "$1" "$2" "$3")) want=($4)
  for i in 0 1 2; do
    local d=$((got[i] - want[i])); d=${d#-}
    [[ $d -le 6 ]] || { echo "0 (${got[*]})"; return; }
  done
  echo 1
}

convert -size 100x80 xc:'#0000ff' pics/blue.png
convert -size 100x80 xc:'#00ff00' pics/green.png
convert -size 10x10 xc:'#ff0000' logo.png
convert -size 8x8 xc:'#ff0000' -fill '#0000ff' -draw 'rectangle 2,2 5,5' logo.gif
convert -size 200x100 xc:white pics/white.png

# Blended logo at bottom right, track bar 128: opacity 127.
cat > logo.vhs <<'S'
set PnlTabs 1
type CmbExplorer "pics"
select LstExplorer 0
click BtnAddSelected
answer folder "out/"
click BtnOutputDir
answer open "logo.png"
click BtnBatchLogoFile
set PnlBatchMark 1
set TrkBatchAlpha 128
click OptBatchLogoPos7
answer quality 10
click BtnBatchStart
S
run logo.vhs
check "blended logo at bottom right" 1 "$(near out/img1.jpg 95 75 '127 0 128')"
check "picture outside the logo" 1 "$(near out/img1.jpg 80 60 '0 0 255')"
check "picture centre unchanged" 1 "$(near out/img1.jpg 50 40 '0 0 255')"

# GIF logo keyed with the colour picked at (3, 3) (blue), top left.
rm -f out/*
cat > keyed.vhs <<'S'
set PnlTabs 1
type CmbExplorer "pics"
select LstExplorer 1
click BtnAddSelected
answer folder "out/"
click BtnOutputDir
answer open "logo.gif"
click BtnBatchLogoFile
set PnlBatchMark 1
click OptBatchLogoPos4
answer picker 3 3
answer quality 10
click BtnBatchStart
S
run keyed.vhs
check "keyed logo drawn" 1 "$(near out/img1.jpg 0 0 '255 0 0')"
check "key colour left out" 1 "$(near out/img1.jpg 3 3 '0 255 0')"

# Text at bottom right in black on white: dark pixels there, none at top left.
rm -f out/*
cat > text.vhs <<'S'
set PnlTabs 1
type CmbExplorer "pics"
select LstExplorer 2
click BtnAddSelected
answer folder "out/"
click BtnOutputDir
answer font "DejaVu Sans" 20
click BtnBatchFont
type TxtBatchMark "WWW"
click OptBatchTextPos7
answer quality 10
click BtnBatchStart
click ChkKeepNames
click BtnBatchStart
S
run text.vhs
check "text at bottom right" 1 "$(convert out/img1.jpg -crop 40x20+160+80 -format '%[fx:minima.r<0.3]' info:)"
check "nothing at top left" 1 "$(convert out/img1.jpg -crop 100x40+0+0 -format '%[fx:minima.r>0.9]' info:)"
check "kept name holds JPEG data" "JPEG 200x100" "$(identify -format '%m %wx%h' out/white.png)"

# Kept names into the sources' own folder: nothing replaced.
cp -R pics pics.before
cat > sources.vhs <<'S'
set PnlTabs 1
type CmbExplorer "pics"
click BtnAddAll
answer folder "pics/"
click BtnOutputDir
click ChkKeepNames
answer font "DejaVu Sans" 20
click BtnBatchFont
type TxtBatchMark "WWW"
click BtnBatchStart
S
run sources.vhs
check "sources untouched" "" "$(diff -r pics pics.before || true)"

[[ $failures -eq 0 ]]
