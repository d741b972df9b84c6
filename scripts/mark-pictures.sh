#!/usr/bin/env bash
# Draws the README's pictures of the marks with the program itself (velinor-headless) on a
# photo given as the argument: one texture frame per texture category and a 1:1 crop of a
# 36-point text mark. ImageMagick lays the frames out side by side.
#
#   scripts/mark-pictures.sh PHOTO.jpg        (after a build of the dev preset)
set -euo pipefail
photo="$(realpath "$1")"
root="$(cd "$(dirname "$0")/.." && pwd)"
stage="$root/build/velinor"
out="$root/docs/marks"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
cp "$stage/lang.prf" "$work/"
cp -R "$stage/data" "$work/"
convert "$photo" -resize 480x330^ -gravity center -extent 480x330 "$work/small.png"
cp "$photo" "$work/photo.jpg"

# Tree entries: each category node, then its tiles in name order; the first tile is used.
{
  echo 'click OptModeFrame'
  echo 'pointer 5 5'
  echo 'answer open "small.png"'
  echo 'click BtnOpen'
  index=0
  for category in $(ls "$stage/texturen" | sort); do
    echo "set TreeTextures $index"
    echo 'pointer 6 6'
    echo "set TreeTextures $((index + 1))"
    echo 'click BtnTexUpdate'
    echo "save-image 64 \"frame-$category.png\""
    index=$((index + 1 + $(ls "$stage/texturen/$category" | wc -l)))
  done
  echo 'click OptModeText'
  echo 'pointer 7 7'
  echo 'answer open "photo.jpg"'
  echo 'click BtnOpen'
  echo 'click OptTextPos7'
  echo 'answer font "DejaVu Sans" 36 bold colour 0xFFFFFF'
  echo 'type TxtMark "© Velinor 2026"'
  echo 'click BtnFont'
  echo 'save-image 64 "text.png"'
} > "$work/pictures.vhs"
(cd "$work" && "$stage/velinor-headless" --program-dir "$stage" pictures.vhs > /dev/null)

labels=()
for category in $(ls "$stage/texturen" | sort); do labels+=(-label "$category" "$work/frame-$category.png"); done
montage "${labels[@]}" -tile 2x -geometry +6+6 -pointsize 14 "$out/frames.png"
# The bottom-right corner of the full-size photo, where the mark sits, at its own size.
convert "$work/text.png" -gravity southeast -crop 480x90+0+0 +repage "$out/text-36pt.png"
echo "wrote $out/frames.png $out/text-36pt.png"
