#!/usr/bin/env bash
# What stamp draws beyond the window's marks, read back with ImageMagick and exiftool: margins
# in pixels and percent, a logo scaled to a share of the width, the text's outline and shadow,
# EXIF variables in the text's place and in names, several marks in one run, presets with a
# bad value, and the help and manual page made from one option table.
#
#   marks.sh VELINOR_CLI SOURCE_DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../require-tools.sh"
require_tools convert identify exiftool man
cli="$1"
source_dir="$2"
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
# The box of the pixels that are not white: "WxH+X+Y".
box() { convert "$1" -fuzz 10% -trim -format '%wx%h%O' info: | sed 's/+\([0-9]*\)+\([0-9]*\)$/+\1+\2/'; }
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)] %[fx:int(255*p{$2,$3}.g+0.5)] %[fx:int(255*p{$2,$3}.b+0.5)]" info:; }

convert -size 400x200 xc:white white.png
convert -size 40x20 xc:'#ff0000' red.png

# A 40 x 20 logo 10 pixels from the right and 5% (10 pixels) of 200 from the bottom.
"$cli" stamp white.png -o m1 --logo red.png --anchor bottom-right --margin 10,5% 2>/dev/null
check "logo margins" "40x20+350+170" "$(box m1/white.png)"
# Scaled to 25% of the width: 100 x 50, at the top left with a 4% margin (16 and 8 pixels).
"$cli" stamp white.png -o m2 --logo red.png --logo-width 25% --anchor top-left --margin 4% 2>/dev/null
check "logo width in percent, margins in percent" "100x50+16+8" "$(box m2/white.png)"
check "scaled logo keeps its colour" "255 0 0" "$(pixel m2/white.png 60 30)"

# A green outline of 3 pixels round a black block: green next to the block, black inside.
"$cli" stamp white.png -o m3 --text "█" --font "DejaVu Sans" --size 30 --outline 3 --outline-colour '#00ff00' 2>/dev/null
read -r w h x y < <(convert m3/white.png -fuzz 30% -fill white +opaque black -trim -format '%w %h %X %Y\n' info: | tr -d '+')
check "outline beside the text" "0 255 0" "$(pixel m3/white.png $((x - 2)) $((y + h / 2)))"
check "text inside its outline" "0 0 0" "$(pixel m3/white.png $((x + w / 2)) $((y + h / 2)))"
# The shadow: the black block grows right and down by a sixteenth of its cell (47 / 16, 2 pixels).
"$cli" stamp white.png -o m4 --text "█" --font "DejaVu Sans" --size 30 2>/dev/null
"$cli" stamp white.png -o m4s --text "█" --font "DejaVu Sans" --size 30 --shadow 2>/dev/null
read -r w0 h0 x0 y0 < <(convert m4/white.png -fuzz 10% -trim -format '%w %h %X %Y\n' info: | tr -d '+')
read -r w1 h1 x1 y1 < <(convert m4s/white.png -fuzz 10% -trim -format '%w %h %X %Y\n' info: | tr -d '+')
check "shadow down and right" "2 2 0 0" "$((w1 - w0)) $((h1 - h0)) $((x1 - x0)) $((y1 - y0))"

# Several marks in one run: a frame under a logo.
"$cli" stamp white.png -o m5 --frame circles --circle-colour '#0000ff' --seed 1 --logo red.png 2>/dev/null
check "frame drawn" "0 0 255" "$(pixel m5/white.png 1 100)"
check "logo over it" "255 0 0" "$(pixel m5/white.png 200 100)"

# EXIF in the text and the name; empty when the photo has no such tag.
convert -size 120x80 xc:white photo.jpg
exiftool -q -overwrite_original -Model="Cam 7" -Artist="Ann" photo.jpg
"$cli" stamp photo.jpg -o m6 --text "{exif:Artist}" --name '{exif:Model}-{exif:Lens}-{stem}.{ext}' 2>/dev/null
check "EXIF in the name" "Cam 7--photo.jpg" "$(ls m6)"
check "EXIF kept" "Ann" "$(exiftool -s3 -Artist "m6/Cam 7--photo.jpg")"

# A preset with a bad value names the file and the key, and nothing starts.
printf '[Stamp]\r\ntext = Hello\r\nopacity = 300\r\n' > bad.ini
status=0; "$cli" stamp --preset bad.ini photo.jpg -o m7 2> bad.err || status=$?
check "bad preset is 1" 1 "$status"
check "bad preset names its key" 1 "$(grep -c 'bad.ini: opacity = 300' bad.err)"
check "nothing written" 0 "$(ls m7 2>/dev/null | wc -l)"

# The help and the manual page list the same options.
help_options="$("$cli" stamp --help | grep -o -- '--[a-z-]*' | sort -u)"
python3 "$source_dir/scripts/make-manpage" "$cli" "stamp pictures" 1 > velinor-cli.1
man_options="$(MANWIDTH=200 man -l velinor-cli.1 2>/dev/null | grep -o -- '--[a-z-]*' | sort -u)"
check "manual page and help list the same options" "$help_options" "$(comm -12 <(echo "$help_options") <(echo "$man_options"))"
check "every option in the help" 49 "$(echo "$help_options" | wc -l)"

finish
