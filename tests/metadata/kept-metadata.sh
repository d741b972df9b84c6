#!/usr/bin/env bash
# A stamped photo keeps its metadata: a photo made here with exiftool (EXIF camera fields, GPS,
# Orientation 6 over pixels stored turned, XMP keywords and rating, IPTC keywords, an EXIF
# thumbnail and an Adobe RGB compatible profile) goes through the window's save (JPEG and PNG),
# a batch run and velinor-cli convert (JPEG and PNG), with each metadata choice; exiftool reads
# every output back.
#
#   kept-metadata.sh VELINOR_CLI VELINOR_HEADLESS STAGE_DIR
set -euo pipefail
cli="$1"
headless="$2"
stage="$3"
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
tag() { exiftool -s3 -n "$@"; }
today="$(date +%Y:%m:%d)"

# Stored 60 x 40, shown upright (Orientation 6, a quarter turn clockwise) 40 x 60.
convert -size 60x40 gradient:red-blue photo-stored.jpg
convert -size 16x12 xc:yellow thumb.jpg
mkdir -p pics
exiftool -q -o pics/photo.jpg \
  -EXIF:Make=Testmaker -EXIF:Model="Model 9" -EXIF:DateTimeOriginal="2021:05:06 07:08:09" \
  -EXIF:ModifyDate="2001:01:01 00:00:00" -EXIF:Artist="Ann Example" -EXIF:Copyright="Ann 2021" \
  -EXIF:Orientation#=6 -EXIF:ExifImageWidth=60 -EXIF:ExifImageHeight=40 -EXIF:LensModel="Lens 50" \
  -GPSLatitude=48.5 -GPSLatitudeRef=N -GPSLongitude=11.25 -GPSLongitudeRef=E \
  -XMP-dc:Subject=alpha -XMP-dc:Subject=beta -XMP-xmp:Rating=4 -XMP-tiff:Orientation#=6 \
  -XMP-exif:ExifImageWidth=60 -XMP-exif:ExifImageHeight=40 -XMP-exif:GPSLatitude=48.5N \
  -XMP-xmp:ModifyDate="2001:01:01 00:00:00" \
  -IPTC:Keywords=one -IPTC:Keywords=two \
  "-ThumbnailImage<=thumb.jpg" "-ICC_Profile<=$profile" photo-stored.jpg
check "source has a thumbnail" 1 "$(tag -ThumbnailImage -b pics/photo.jpg | head -c 2 | wc -c | awk '{print ($1 > 0)}')"

# What every output keeps, for a policy: keep, strip-gps or strip. IPTC is kept in JPEG only.
expect() {  # file policy
  local file="$1" policy="$2" name="$1 ($2)"
  check "$name size" "40 60" "$(tag -File:ImageWidth -File:ImageHeight "$file" 2>/dev/null | tr '\n' ' ' | sed 's/ $//')$(tag -PNG:ImageWidth -PNG:ImageHeight "$file" | tr '\n' ' ' | sed 's/ $//')"
  exiftool -b -ICC_Profile "$file" > "$file.icc"
  check "$name profile byte for byte" 0 "$(cmp -s "$profile" "$file.icc"; echo $?)"
  check "$name no thumbnail" "" "$(tag -ThumbnailImage -PreviewImage "$file")"
  if [[ "$policy" == strip ]]; then
    check "$name no EXIF" "" "$(tag -EXIF:all "$file")"
    check "$name no XMP" "" "$(tag -XMP:all "$file")"
    check "$name no IPTC" "" "$(tag -IPTC:all "$file")"
    return
  fi
  check "$name camera" "Testmaker|Model 9|Lens 50" "$(tag -EXIF:Make -EXIF:Model -EXIF:LensModel "$file" | paste -sd'|')"
  check "$name date taken" "2021:05:06 07:08:09" "$(tag -EXIF:DateTimeOriginal "$file")"
  check "$name artist, copyright" "Ann Example|Ann 2021" "$(tag -EXIF:Artist -EXIF:Copyright "$file" | paste -sd'|')"
  check "$name orientation" "1|1" "$(tag -EXIF:Orientation -XMP-tiff:Orientation "$file" | paste -sd'|')"
  check "$name EXIF dimensions" "40|60" "$(tag -EXIF:ExifImageWidth -EXIF:ExifImageHeight "$file" | paste -sd'|')"
  check "$name XMP dimensions" "40|60" "$(tag -XMP-exif:ExifImageWidth -XMP-exif:ExifImageHeight "$file" | paste -sd'|')"
  check "$name software" "Velinor" "$(tag -EXIF:Software "$file")"
  check "$name EXIF modify date today" "$today" "$(tag -EXIF:ModifyDate "$file" | cut -c1-10)"
  check "$name XMP modify date today" "$today" "$(tag -XMP-xmp:ModifyDate "$file" | cut -c1-10)"
  check "$name XMP keywords, rating" "alpha, beta|4" "$(exiftool -s3 -XMP-dc:Subject -XMP-xmp:Rating "$file" | paste -sd'|')"
  if [[ "$file" == *.jpg ]]; then
    check "$name IPTC keywords" "one, two" "$(exiftool -s3 -IPTC:Keywords "$file")"
  fi
  if [[ "$policy" == strip-gps ]]; then
    check "$name no GPS" "" "$(tag -GPS:all -XMP-exif:GPSLatitude "$file")"
  else
    check "$name GPS" "48.5|11.25|48.5" "$(tag -GPS:GPSLatitude -GPS:GPSLongitude -XMP-exif:GPSLatitude "$file" | paste -sd'|')"
  fi
}

for policy in keep strip-gps strip; do
  mkdir -p "$policy" && rm -f "$policy"/*
  "$cli" convert pics/photo.jpg "$policy/cli.jpg" --metadata "$policy"
  "$cli" convert pics/photo.jpg "$policy/cli.png" --metadata "$policy"
  expect "$policy/cli.jpg" "$policy"
  expect "$policy/cli.png" "$policy"

  # The window and a batch run take the choice from Settings.ini.
  printf 'Metadata=%s\r\n' "$policy" > Settings.ini
  cat > window.vhs <<S
answer open "pics/photo.jpg"
click BtnOpen
type TxtMark "X"
click BtnApplyText
answer save "$policy/window.jpg" 0
answer quality 10
click BtnSave
answer save "$policy/window.png" 2
click BtnSave
set PnlTabs 1
type CmbExplorer "pics"
select LstExplorer 0
click BtnAddSelected
answer folder "$policy/batch/"
click BtnOutputDir
answer font "DejaVu Sans" 12
click BtnBatchFont
type TxtBatchMark "X"
answer quality 10
click BtnBatchStart
close
S
  mkdir -p "$policy/batch"
  "$headless" --program-dir "$stage" window.vhs > "$policy/window.log"
  expect "$policy/window.jpg" "$policy"
  expect "$policy/window.png" "$policy"
  expect "$policy/batch/img1.jpg" "$policy"
done

# The band-by-band conversion of an upright JPEG keeps the same blocks.
exiftool -q -o upright.jpg -EXIF:Orientation#=1 -XMP-tiff:Orientation#=1 pics/photo.jpg
"$cli" convert upright.jpg upright-out.jpg --copyright "© Velinor test \"quoted\""
exiftool -b -ICC_Profile upright-out.jpg > upright-out.icc
check "band-by-band profile byte for byte" 0 "$(cmp -s "$profile" upright-out.icc; echo $?)"
check "band-by-band camera" "Testmaker|Model 9" "$(tag -EXIF:Make -EXIF:Model upright-out.jpg | paste -sd'|')"
check "band-by-band no thumbnail" "" "$(tag -ThumbnailImage upright-out.jpg)"
check "band-by-band dimensions" "60|40" "$(tag -EXIF:ExifImageWidth -EXIF:ExifImageHeight upright-out.jpg | paste -sd'|')"
check "copyright in EXIF" "© Velinor test \"quoted\"" "$(tag -EXIF:Copyright upright-out.jpg)"
check "copyright in XMP" "© Velinor test \"quoted\"" "$(tag -XMP-dc:Rights upright-out.jpg)"

# A packet too large for one JPEG marker: exiftool writes it as extended XMP, Velinor puts it
# together on reading and splits it again on writing, and exiftool reads the same text back.
long="$(python3 -c 'print("x" * 100000 + "end")')"
exiftool -q -o long.jpg "-XMP-dc:Description=$long" upright.jpg
"$cli" convert long.jpg long-out.jpg
check "extended XMP kept" "$long" "$(exiftool -s3 -XMP-dc:Description long-out.jpg)"
check "extended XMP keywords" "alpha, beta" "$(exiftool -s3 -XMP-dc:Subject long-out.jpg)"
check "extended XMP without warnings" "" "$(exiftool -validate -warning -s3 long-out.jpg | grep -i xmp || true)"

# info --json, read by an independent JSON parser: quotes, a backslash, a line break, a tab and
# a byte that is no UTF-8 in the camera's name.
exiftool -q -o odd.jpg "-EXIF:Make=Say \"hi\" \\ there" upright.jpg
python3 - <<'P'
data = bytearray(open("odd.jpg", "rb").read())
at = data.index(b"Say")
data[at + 3] = 0x0A  # the space after "Say"
data[at + 8] = 0x09  # the space after "hi"
data[at + 9] = 0xE9  # the backslash: Latin-1 e acute, no UTF-8
open("odd.jpg", "wb").write(bytes(data))
P
check "info json escapes" "'Say\n\"hi\"\t\ufffd there' True" \
  "$(python3 -c 'import json,sys; d=json.loads(sys.argv[1]); print(ascii(d["make"]), d["gps"])' "$("$cli" info odd.jpg --json)")"

# info --json, read by an independent JSON parser.
json="$("$cli" info pics/photo.jpg --json)"
check "info json" "40 60 JPEG 6 Testmaker Model 9 Lens 50 2021:05:06 07:08:09 True" \
  "$(python3 -c 'import json,sys; d=json.loads(sys.argv[1]); print(d["width"], d["height"], d["format"], d["orientation"], d["make"], d["model"], d["lens"], d["dateTaken"], d["gps"])' "$json")"
check "info json profile" "1" "$(python3 -c 'import json,sys; print(int("1998" in json.loads(sys.argv[1])["profile"]))' "$json")"
check "plain info" "40x60" "$("$cli" info pics/photo.jpg)"

echo "$failures failed"
[[ $failures -eq 0 ]]
