#!/usr/bin/env bash
# Keeping a JPEG's own quality: the window's save and a batch run with the quality window's
# choice ticked, and velinor-cli stamp without --quality, change only the blocks under the mark.
# Read back with djpeg (without smoothing, which blends chroma across blocks) and ImageMagick:
# every pixel outside the bottom-right corner the text sits in equals the source's, while the
# same save without the choice changes the whole picture.
#
#   keep-quality.sh VELINOR_HEADLESS VELINOR_CLI STAGE_DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../require-tools.sh"
require_tools convert cjpeg djpeg grep
headless="$1"
cli="$2"
stage="$3"
source "$(dirname "${BASH_SOURCE[0]}")/work-folder.sh"
mkdir pics out
# 243 x 181, 4:2:0, quality 90: sides that are no multiple of the 16-pixel blocks.
convert -size 243x181 -seed 5 plasma:fractal pics/photo.ppm
cjpeg -quality 90 -sample 2x2 -outfile pics/photo.jpg pics/photo.ppm
rm pics/photo.ppm

# The box holding every pixel in which two files' pictures differ ("WxH+X+Y"), as djpeg decodes them.
changed_box() {
  djpeg -nosmooth -ppm "$1" > a.ppm
  djpeg -nosmooth -ppm "$2" > b.ppm
  convert a.ppm b.ppm -compose difference -composite -threshold 0 -format '%@' info:
}
# 1 when the box reaches the top rows of the picture.
from_top() { [[ $(echo "$1" | cut -d+ -f3) -lt 8 ]] && echo 1 || echo "0 ($1)"; }
# 1 when the box lies in the bottom-right quarter of the picture, starting on a 16-pixel line.
in_corner() {
  local x y
  x=$(echo "$1" | cut -d+ -f2) y=$(echo "$1" | cut -d+ -f3)
  [[ $x -ge 96 && $y -ge 80 && $((x % 16)) -eq 0 && $((y % 16)) -eq 0 ]] && echo 1 || echo "0 ($1)"
}

cat > window.vhs <<'S'
answer open "pics/photo.jpg"
click BtnOpen
answer font "DejaVu Sans" 12 colour 0xFFFFFF
click BtnFont
type TxtMark "Velinor"
click OptTextPos7
click BtnApplyText
answer save "out/kept.jpg" 0
answer quality 4 keep
click BtnSave
answer save "out/lossy.jpg" 0
answer quality 4 lossy
click BtnSave
S
run_window() { "$headless" --program-dir "$stage" window.vhs > window.log; }
run_window
check "window save keeping the quality: changes only the mark's blocks" 1 "$(in_corner "$(changed_box pics/photo.jpg out/kept.jpg)")"
check "window save encoding again: changes the picture above the mark" 1 \
  "$(from_top "$(changed_box pics/photo.jpg out/lossy.jpg)")"

text_batch pics > batch.vhs
printf '%s\n' 'click OptBatchTextPos7' 'answer quality 4 keep' 'click BtnBatchStart' >> batch.vhs
"$headless" --program-dir "$stage" batch.vhs > batch.log
check "batch keeping the quality: changes only the mark's blocks" 1 "$(in_corner "$(changed_box pics/photo.jpg out/img1.jpg)")"

"$cli" stamp pics/photo.jpg -o cli --text Velinor --size 12 --colour '#ffffff' --anchor bottom-right >/dev/null 2>&1
check "velinor-cli stamp without --quality: changes only the mark's blocks" 1 \
  "$(in_corner "$(changed_box pics/photo.jpg cli/photo.jpg)")"
"$cli" stamp pics/photo.jpg -o cli-q --quality 7 --text Velinor --size 12 --colour '#ffffff' --anchor bottom-right \
  >/dev/null 2>&1
check "velinor-cli stamp --quality 7: encodes the picture again" 1 "$(from_top "$(changed_box pics/photo.jpg cli-q/photo.jpg)")"

# Files the block coder refuses are stamped the ordinary way with one notice line each; a file
# whose data ends early fails as it always did, with no notice.
mkdir refused
convert pics/photo.jpg refused/photo.ppm
cjpeg -arithmetic -outfile refused/arithmetic.jpg refused/photo.ppm
convert refused/photo.ppm -colorspace CMYK refused/cmyk.jpg
cjpeg -outfile refused/cut.jpg refused/photo.ppm
head -c $(( $(stat -c %s refused/cut.jpg) / 2 )) refused/cut.jpg > refused/cut2.jpg && mv refused/cut2.jpg refused/cut.jpg
rm refused/photo.ppm
"$cli" stamp refused -o cli-refused --text Velinor --colour '#ffffff' > /dev/null 2> notices.txt || true
notice="stamped by encoding it again, not block by block"
check "arithmetic coding: a notice" 1 "$(grep -c "arithmetic.jpg: $notice: arithmetic coding$" notices.txt)"
check "CMYK: a notice" 1 "$(grep -c "cmyk.jpg: $notice: CMYK colours$" notices.txt)"
check "cut file: no notice" 0 "$(grep -c "cut.jpg: $notice" notices.txt || true)"
check "refused files written, the cut one not" "arithmetic.jpg cmyk.jpg" "$(ls cli-refused | tr '\n' ' ' | sed 's/ $//')"

[[ $failures -eq 0 ]] || exit 1
