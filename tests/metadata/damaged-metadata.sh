#!/usr/bin/env bash
# Bad metadata never stops a picture: a JPEG whose EXIF directory points past its block, one
# whose XMP packet is broken XML, one whose ICC profile is cut short and a PNG with broken XMP
# each open, convert and save, losing only that block, with one warning line on velinor-cli's
# standard error and in the batch log; the window shows no message box for them.
#
#   damaged-metadata.sh VELINOR_CLI VELINOR_HEADLESS STAGE_DIR
set -euo pipefail
cli="$1"
headless="$2"
stage="$3"
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

convert -size 30x20 gradient:red-blue plain.jpg
exiftool -q -o good.jpg -EXIF:Make=Testmaker -XMP-dc:Subject=alpha "-ICC_Profile<=$profile" plain.jpg
mkdir pics big
# Byte surgery on copies of good.jpg, each keeping every segment's length.
python3 - <<'P'
data = open("good.jpg", "rb").read()
tiff = data.index(b"Exif\0\0") + 6
order = "little" if data[tiff:tiff + 2] == b"II" else "big"
# The first directory said to start 16 MB into a block of a few hundred bytes.
open("pics/bad-exif.jpg", "wb").write(data[:tiff + 4] + (0x01000000).to_bytes(4, order) + data[tiff + 8:])
end = data.index(b"</rdf:RDF>")
open("pics/bad-xmp.jpg", "wb").write(data[:end] + b"<<<<<<<<<<" + data[end + 10:])
acsp = data.index(b"acsp")
# The profile's header claims twice its length.
size = data[acsp - 36:acsp - 32]
longer = (int.from_bytes(size, "big") * 2).to_bytes(4, "big")
open("pics/bad-icc.jpg", "wb").write(data[:acsp - 36] + longer + data[acsp - 32:])
P
convert -size 30x20 xc:green plain.png
exiftool -q -o good.png -XMP-dc:Subject=alpha -EXIF:Make=Testmaker plain.png
python3 - <<'P'
import zlib
data = open("good.png", "rb").read()
start = data.index(b"iTXt") - 4
length = int.from_bytes(data[start:start + 4], "big")
body = data[start + 8:start + 8 + length].replace(b"</rdf:RDF>", b"<<<<<<<<<<")
chunk = length.to_bytes(4, "big") + b"iTXt" + body + zlib.crc32(b"iTXt" + body).to_bytes(4, "big")
open("pics/bad-xmp.png", "wb").write(data[:start] + chunk + data[start + 12 + length:])
P

for case in bad-exif.jpg:EXIF bad-xmp.jpg:XMP bad-icc.jpg:"ICC profile" bad-xmp.png:XMP; do
  file="${case%%:*}" block="${case#*:}"
  status=0
  "$cli" convert "pics/$file" "out-$file" 2> err.txt || status=$?
  check "$file converts" 0 "$status"
  check "$file one warning" "velinor-cli: pics/$file: the $block metadata is damaged and was left out" "$(cat err.txt)"
  check "$file info still reads it" 30x20 "$("$cli" info "pics/$file" 2>/dev/null)"
  [[ "$block" == EXIF ]] || check "$file keeps the camera" Testmaker "$(exiftool -s3 -EXIF:Make "out-$file")"
done
check "bad EXIF still has its XMP" alpha "$(exiftool -s3 -XMP-dc:Subject out-bad-exif.jpg)"
check "bad EXIF leaves no EXIF but the written fields" "" "$(exiftool -s3 -EXIF:Make out-bad-exif.jpg)"
check "bad XMP has no keywords" "" "$(exiftool -s3 -XMP-dc:Subject out-bad-xmp.jpg)"
check "bad ICC has no profile" "" "$(exiftool -s3 -ICC_Profile:all out-bad-icc.jpg)"

# Oversized XMP is refused, not copied, and the picture still converts: packets of 5 MB (more
# than Velinor reads) and 12 MB (more than libpng reads) in a PNG, and a JPEG extension part
# claiming a 64 MB packet. (A PNG more than 16 MB larger than its pixels is not read at all.)
python3 - <<'P'
import zlib
data = open("plain.png", "rb").read()
for name, size in (("xmp-5mb", 5 << 20), ("xmp-12mb", 12 << 20)):
    text = b"XML:com.adobe.xmp\0\0\0\0\0" + b"<x:xmpmeta>" + b" " * size + b"</x:xmpmeta>"
    chunk = len(text).to_bytes(4, "big") + b"iTXt" + text + zlib.crc32(b"iTXt" + text).to_bytes(4, "big")
    open("big/" + name + ".png", "wb").write(data[:33] + chunk + data[33:])
jpeg = open("good.jpg", "rb").read()
part = b"http://ns.adobe.com/xmp/extension/\0" + b"0123456789ABCDEF0123456789ABCDEF" + (64 << 20).to_bytes(4, "big") + \
    (0).to_bytes(4, "big") + b"<x:xmpmeta/>"
segment = b"\xff\xe1" + (len(part) + 2).to_bytes(2, "big") + part
open("big/xmp-64mb.jpg", "wb").write(jpeg[:2] + segment + jpeg[2:])
P
for case in xmp-5mb.png:XMP xmp-12mb.png:XMP "xmp-64mb.jpg:extended XMP"; do
  file="${case%%:*}" block="${case#*:}"
  status=0
  "$cli" convert "big/$file" "out-$file" 2> err.txt || status=$?
  check "$file converts" 0 "$status"
  check "$file one warning" 1 "$(grep -c -F "big/$file: the $block metadata is too large" err.txt || true)"
  check "$file is not copied" 1 "$(( $(stat -c %s "out-$file") < 100000 ))"
done

# The window opens and saves them with no message; a batch run logs one line for each.
cat > run.vhs <<'S'
answer open "pics/bad-xmp.jpg"
click BtnOpen
type TxtMark "X"
click BtnApplyText
answer save "window.jpg" 0
answer quality 8
click BtnSave
set PnlTabs 1
type CmbExplorer "pics"
select LstExplorer all
click BtnAddSelected
answer folder "batch/"
click BtnOutputDir
answer font "DejaVu Sans" 12
click BtnBatchFont
type TxtBatchMark "X"
answer quality 8
click BtnBatchStart
close
S
mkdir batch
"$headless" --program-dir "$stage" run.vhs > run.log
check "window saved the damaged photo" Testmaker "$(exiftool -s3 -EXIF:Make window.jpg)"
check "no message box" 0 "$(grep -c -i '^message' run.log || true)"
check "batch wrote every picture" 4 "$(ls batch | wc -l)"
for case in bad-exif.jpg:EXIF bad-xmp.jpg:XMP bad-icc.jpg:"ICC profile" bad-xmp.png:XMP; do
  file="${case%%:*}" block="${case#*:}"
  check "batch log warns about $file" 1 "$(grep -c -F "pics/$file: the $block metadata is damaged and was left out" run.log || true)"
done

echo "$failures failed"
[[ $failures -eq 0 ]]
