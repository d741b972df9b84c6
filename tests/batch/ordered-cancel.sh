#!/usr/bin/env bash
# A batch run stamps pictures ahead on every processor, yet its files and its log follow the
# list: each imgN.jpg is the N-th listed picture (told apart by their sizes, read back with
# ImageMagick), the log names them in list order, and a run cancelled while picture 5 is
# stamped leaves img1..img5 and nothing else in the output folder, no temporary file either,
# although later pictures were being stamped when the cancel came.
#
#   ordered-cancel.sh VELINOR_HEADLESS STAGE_DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../require-tools.sh"
require_tools convert identify grep
headless="$1"
stage="$2"
source "$(dirname "${BASH_SOURCE[0]}")/work-folder.sh"
mkdir pics out
# Ten pictures of ten sizes; the first is large, so that the next ones finish before it.
convert -size 2400x1800 plasma:fractal pics/a0.png
for n in 1 2 3 4 5 6 7 8 9; do convert -size $((40 + n))x$((30 + n)) xc:"#30${n}0a0" "pics/a$n.png"; done
size_of() { identify -format '%wx%h' "$1"; }

# The sizes of out/img1.jpg .. out/imgCOUNT.jpg, and of the sources they should be, in order.
sizes_out() { for ((n = 1; n <= $1; ++n)); do size_of "out/img$n.jpg"; echo; done; }
sizes_in() { for ((n = 0; n < $1; ++n)); do size_of "pics/a$n.png"; echo; done; }
# The sources and the outputs the log names, in the order it names them.
logged() { grep -o 'pics/a[0-9]\.png\|out/img[0-9]*' "$1" | tr '\n' ' '; }
listing() { ls -A out | sort | tr '\n' ' '; }

{ text_batch pics; echo 'answer quality 5'; echo 'click BtnBatchStart'; } > all.vhs
"$headless" --program-dir "$stage" all.vhs > all.log
check "a whole run writes every picture" "img1.jpg img10.jpg img2.jpg img3.jpg img4.jpg img5.jpg img6.jpg img7.jpg img8.jpg img9.jpg " "$(listing)"
check "img N is the N-th listed picture" "$(sizes_in 10)" "$(sizes_out 10)"
check "the log follows the list" "pics/a0.png out/img1 pics/a1.png out/img2 pics/a2.png out/img3 pics/a3.png out/img4 pics/a4.png out/img5 pics/a5.png out/img6 pics/a6.png out/img7 pics/a7.png out/img8 pics/a8.png out/img9 pics/a9.png out/img10 " "$(logged all.log)"

rm -rf out && mkdir out
{ text_batch pics; echo 'answer quality 5'; echo 'answer cancel-batch 5'; echo 'click BtnBatchStart'; } > cancel.vhs
"$headless" --program-dir "$stage" cancel.vhs > cancel.log
check "a cancelled run leaves only what it logged, and no temporary file" "img1.jpg img2.jpg img3.jpg img4.jpg img5.jpg " "$(listing)"
check "its pictures are the first five listed" "$(sizes_in 5)" "$(sizes_out 5)"
check "its log names the first five" "pics/a0.png out/img1 pics/a1.png out/img2 pics/a2.png out/img3 pics/a3.png out/img4 pics/a4.png out/img5 " "$(logged cancel.log)"

[[ $failures -eq 0 ]]
