#!/usr/bin/env bash
# velinor-cli stamp writes the very bytes the window writes with the same marks: the window's
# save (text, logo, texture frame, circle frame) and its batch run (text, keyed logo), each
# compared with cmp. The photo carries EXIF, so the metadata written is compared as well.
#
#   same-as-window.sh STAGE_DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../require-tools.sh"
require_tools convert exiftool cmp
stage="$1"
cli="$stage/velinor-cli"
headless="$stage/velinor-headless"
work="$(mktemp -d "${TMPDIR:-/tmp}/velinor-same.XXXXXX")"
[[ -n "${VELINOR_KEEP_TEST:-}" ]] && echo "kept in $work" || trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$stage/lang.prf" .
cp -R "$stage/data" .
mkdir pics win batch cli
failures=0
# Both writers stamp the time of writing into EXIF DateTime and XMP ModifyDate; two files written
# in different seconds are compared with that time set alike by exiftool, everything else as written.
dated_alike() {
  cp "$1" "$2"
  exiftool -q -q -overwrite_original -EXIF:ModifyDate='2000:01:01 00:00:00' -XMP-xmp:ModifyDate='2000:01:01 00:00:00' "$2"
}
same() {  # name window-file cli-file
  if cmp -s "$2" "$3"; then echo "ok   $1"; return; fi
  local ext="${2##*.}"
  dated_alike "$2" "a.$ext"
  dated_alike "$3" "b.$ext"
  if cmp -s "a.$ext" "b.$ext"; then echo "ok   $1 (written in another second)"; else echo "FAIL $1: $2 and $3 differ"; failures=$((failures + 1)); fi
}

convert -size 240x160 plasma:fractal -seed 7 -quality 92 pics/photo.jpg
exiftool -q -overwrite_original -Artist="Ann Example" -Model="Model 9" pics/photo.jpg
convert -size 30x20 xc:'#ff8000' -fill '#0000ff' -draw 'rectangle 5,5 20,15' logo.png
convert -size 12x12 xc:'#00ff00' -fill '#ff0000' -draw 'rectangle 3,3 8,8' logo.gif

# The window: one mark after another, each saved at quality 8.
cat > window.vhs <<'S'
answer open "pics/photo.jpg"
click BtnOpen
type TxtMark "Velinor 2026"
answer font "DejaVu Sans" 20 bold colour 0x0000FF
click BtnFont
click OptTextPos7
click BtnApplyText
answer save "win/text.jpg" 0
answer quality 8
click BtnSave
click OptModeLogo
pointer 5 5
answer open "logo.png"
click BtnLogoFile
click OptLogoPos4
set TrkLogoAlpha 100
answer save "win/logo.jpg" 0
answer quality 8
click BtnSave
click OptModeFrame
pointer 5 5
set TreeTextures 1
set SpinTexWidth 24
set TrkTexAlpha 60
click BtnTexUpdate
answer save "win/texture.jpg" 0
answer quality 8
click BtnSave
set CmbFrameKind 1
pointer 6 6
set SpinCircleWidth 20
set SpinCircleRadius 7
set SpinCircleGap 4
answer colour 0x00FFFF
click BtnCircleColour
set TrkCircleAlpha 40
click BtnCircleUpdate
answer save "win/circles.png" 2
click BtnSave
close
S
VELINOR_RANDOM_SEED=42 "$headless" --program-dir "$stage" window.vhs > window.log

common=(--quality 8 --on-exists overwrite)
"$cli" stamp pics/photo.jpg -o cli/text "${common[@]}" --text "Velinor 2026" --font "DejaVu Sans" --size 20 \
  --bold --colour '#ff0000' --anchor bottom-right
same "text as the window saves it" win/text.jpg cli/text/photo.jpg
"$cli" stamp pics/photo.jpg -o cli/logo "${common[@]}" --logo logo.png --opacity 155 --anchor top-left
same "logo as the window saves it" win/logo.jpg cli/logo/photo.jpg
"$cli" stamp pics/photo.jpg -o cli/texture "${common[@]}" --frame texture:Holz128x128/buche.jpg --frame-width 24 \
  --frame-opacity 195
same "texture frame as the window saves it" win/texture.jpg cli/texture/photo.jpg
"$cli" stamp pics/photo.jpg -o cli/circles --format png --frame circles --frame-width 20 --circle-radius 7 \
  --circle-gap 4 --circle-colour '#ffff00' --frame-opacity 215 --seed 42
same "circle frame as the window saves it" win/circles.png cli/circles/photo.png

# The window's marks saved with its settings are a preset that stamps the same picture.
cat > preset.vhs <<'S'
answer open "pics/photo.jpg"
click BtnOpen
type TxtMark "{stem} © Velinor"
answer font "DejaVu Serif" 16 italic colour 0x00C0FF
click BtnFont
click OptTextPos6
click BtnApplyText
answer save "win/preset.jpg" 0
answer quality 9
click BtnSave
type TxtPictureName "foto"
click BtnSaveSettings
close
S
"$headless" --program-dir "$stage" preset.vhs > preset.log
"$cli" stamp pics/photo.jpg -o cli/preset --preset Stamp.ini
same "the window's marks as a preset" win/preset.jpg cli/preset/photo.jpg
"$cli" stamp pics/photo.jpg -o cli/preset-over --preset Stamp.ini --text-anchor top-right
if cmp -s win/preset.jpg cli/preset-over/photo.jpg; then
  echo "FAIL an option given overrides the preset"; failures=$((failures + 1))
else
  echo "ok   an option given overrides the preset"
fi
rm Settings.ini   # its picture name would rename the batch run's outputs

# The batch run: a text batch, then a keyed GIF logo whose key colour is picked at (0, 0).
cat > batch.vhs <<'S'
set PnlTabs 1
type CmbExplorer "pics"
select LstExplorer 0
click BtnAddSelected
answer folder "batch/text/"
click BtnOutputDir
answer font "DejaVu Sans" 14 italic colour 0xFF8000
click BtnBatchFont
type TxtBatchMark "Batch {n}"
click OptBatchTextPos2
answer quality 6
click BtnBatchStart
answer folder "batch/logo/"
click BtnOutputDir
answer open "logo.gif"
click BtnBatchLogoFile
set PnlBatchMark 1
click OptBatchLogoPos5
answer picker 0 0
answer quality 6
click BtnBatchStart
close
S
mkdir -p batch/text batch/logo
"$headless" --program-dir "$stage" batch.vhs > batch.log
# The window writes its text as typed: braces are the command's variables, so they are doubled.
"$cli" stamp pics/photo.jpg -o cli/batch-text --quality 6 --text "Batch {{n}" --font "DejaVu Sans" --size 14 \
  --italic --colour '#0080ff' --anchor top
same "text as the batch run writes it" batch/text/img1.jpg cli/batch-text/photo.jpg
"$cli" stamp pics/photo.jpg -o cli/batch-logo --quality 6 --logo logo.gif --key-colour '#00ff00' --anchor top-right
same "keyed logo as the batch run writes it" batch/logo/img1.jpg cli/batch-logo/photo.jpg

# Neither side dropped the camera's fields.
for file in cli/text/photo.jpg win/text.jpg; do
  got="$(exiftool -s3 -Artist -Model "$file" | paste -sd'|')"
  if [[ "$got" == "Ann Example|Model 9" ]]; then echo "ok   EXIF kept in $file"; else echo "FAIL EXIF in $file: $got"; failures=$((failures + 1)); fi
done

if ((failures > 0)); then
  echo "$failures checks failed"
  exit 1
fi
echo "all checks passed"
