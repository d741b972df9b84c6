#!/usr/bin/env bash
# Runs velinor-cli over good, garbage, truncated and oversized pictures of every format it reads
# (BMP, ICO, JPEG, PNG, TGA by content; GIF, ICO, PCX through the logo routes). Good pictures
# must convert; every bad one must fail with exit status 1 - never a crash, hang or success.
# usage: bad-pictures.sh VELINOR_CLI STAGE_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../require-tools.sh"
require_tools convert
cli=$1
stage=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2
# A runtime folder: lang.prf and the picture libraries in data/.
cp "$stage/lang.prf" .
ln -s "$stage/data" data
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect STATUS ARGS...: runs the tool (10 s at most) and checks its exit status.
expect() {
  local want=$1; shift
  timeout 10 "$cli" "$@" >/dev/null 2>"$work/stderr"
  local got=$?
  [[ $got == "$want" ]] || fail "velinor-cli $* -> $got, expected $want ($(head -c 200 "$work/stderr"))"
}

# patch FILE OFFSET PACK VALUE: writes VALUE packed as PACK (perl pack letter) at OFFSET.
patch() {
  perl -e 'open(my $f, "+<:raw", $ARGV[0]) or die; seek($f, $ARGV[1], 0); print $f pack($ARGV[2], $ARGV[3]);' "$@"
}

# find_offset FILE REGEX: byte offset of the first match of a perl regex in the file.
find_offset() {
  perl -e 'local $/; open(my $f, "<:raw", $ARGV[0]) or die; my $d = <$f>; print $-[0] if $d =~ /$ARGV[1]/s;' "$1" "$2"
}

# fix_png_header_crc FILE: recomputes the IHDR chunk's CRC (plain perl: perl-base has no zlib).
fix_png_header_crc() {
  perl -e '
    open(my $f, "+<:raw", $ARGV[0]) or die; seek($f, 12, 0); read($f, my $chunk, 17);
    my $crc = 0xFFFFFFFF;
    for my $byte (unpack("C*", $chunk)) {
      $crc ^= $byte;
      $crc = ($crc & 1) ? (($crc >> 1) ^ 0xEDB88320) : ($crc >> 1) for 1 .. 8;
    }
    seek($f, 29, 0); print $f pack("N", $crc ^ 0xFFFFFFFF);' "$1"
}

# garbage FILE PREFIX_HEX: 3000 reproducible pseudo-random bytes after an optional magic prefix.
garbage() {
  perl -e 'srand(7); print pack("H*", $ARGV[0]); print chr(int(rand(256))) for 1..3000;' "$2" >"$1"
}

# truncations FILE ARGS...: the file cut at several lengths inside its picture data must all fail.
truncations() {
  local file=$1; shift
  local size; size=$(stat -c %s "$file")
  for cut in 0 1 10 30 $((size / 3)) $((size / 2)) $((size - 40)); do
    ((cut >= 0 && cut < size)) || continue
    head -c "$cut" "$file" >"cut-$file"
    expect 1 "$@" "cut-$file" out.png
  done
}

# Good sources, made by ImageMagick from one picture with a flat area and a gradient.
convert -size 40x30 gradient:red-blue -fill white -draw 'rectangle 5,5 15,15' +dither -colors 200 -strip source.png || exit 2
for format in bmp jpg tga ico; do
  convert source.png "good.$format" || exit 2
done
convert source.png -type TrueColor good.tga || exit 2
convert source.png good.gif && convert source.png -type Palette good.pcx || exit 2
cp good.ico good-logo.ico

# Good files convert; the by-content formats also with --logo (they take the picture loader).
for file in source.png good.bmp good.jpg good.tga good.ico; do expect 0 convert "$file" out.png; done
for file in good.gif good-logo.ico good.pcx good.tga; do expect 0 convert --logo "$file" out.bmp; done
expect 0 info --logo good.pcx
expect 1 info good.gif   # the picture loader itself reads no GIF
expect 1 info missing.png
expect 2 info
expect 2 convert source.png out.xyz
expect 2 convert source.png out.png --quality 11

# Garbage, with and without each format's magic bytes.
garbage noise.bin ""
expect 1 info noise.bin
for magic in 424d 89504e470d0a1a0a ffd8ffe0 00000100 00000200 000002000000000000000000; do
  garbage "noise-$magic.bin" "$magic"
  expect 1 info "noise-$magic.bin"
done
garbage noise.gif 474946383961
garbage noise.pcx 0a050108
garbage noise.ico 0000010001
for file in noise.gif noise.pcx noise.ico noise.bin; do expect 1 info --logo "$file"; done
cp noise.bin noise.tga && expect 1 info --logo noise.tga

# Truncated.
truncations source.png convert
truncations good.bmp convert
truncations good.jpg convert
truncations good.tga convert
truncations good.ico convert
truncations good.gif convert --logo
truncations good.pcx convert --logo
truncations good-logo.ico convert --logo

# Oversized: each header claims a side above 32767 (or more pixels than the data can hold).
cp good.bmp big.bmp && patch big.bmp 18 V 40000 && expect 1 info big.bmp
cp good.tga big.tga && patch big.tga 12 v 40000 && expect 1 info big.tga
cp source.png big.png && patch big.png 16 N 40000 &&
  fix_png_header_crc big.png &&
  expect 1 info big.png
cp good.jpg big.jpg && sof=$(find_offset big.jpg '\xff[\xc0-\xc2]') && patch big.jpg $((sof + 7)) n 40000 && expect 1 info big.jpg
for logo in "" --logo; do
  cp good.ico big.ico && image=$(perl -e 'local $/; open(my $f, "<:raw", $ARGV[0]); my $d = <$f>; print unpack("V", substr($d, 18, 4));' big.ico) &&
    patch big.ico $((image + 4)) V 40000 && expect 1 info $logo big.ico
done
cp good.pcx big.pcx && patch big.pcx 8 v 40000 && expect 1 info --logo big.pcx
cp good.pcx tall.pcx && patch tall.pcx 10 v 30000 && expect 1 info --logo tall.pcx
cp good.gif big.gif && frame=$(find_offset big.gif '\x2c\x00\x00\x00\x00') &&
  patch big.gif $((frame + 5)) v 30000 && patch big.gif $((frame + 7)) v 30000 && expect 1 info --logo big.gif

# says STATUS LINE ARGS...: the exit status and the one line on standard error, exactly.
says() {
  local want=$1 line=$2; shift 2
  timeout 10 "$cli" "$@" >/dev/null 2>"$work/stderr"
  local got=$?
  [[ $got == "$want" ]] || fail "velinor-cli $* -> $got, expected $want"
  [[ $(cat "$work/stderr") == "$line" ]] || fail "velinor-cli $*: printed \"$(head -c 300 "$work/stderr")\", expected \"$line\""
}

# bitmap FILE HEADER_SIZE WIDTH HEIGHT BITS COMPRESSION: a file header, an info header of that
# size (the fields after the compression are zero) and 64 bytes of pixel data.
bitmap() {
  perl -e 'my ($size, $w, $h, $bits, $comp) = @ARGV; my $start = 14 + $size;
           print "BM", pack("V", $start + 64), pack("V", 0), pack("V", $start);
           print substr(pack("VV", $size, $w) . pack("V", $h) . pack("vv", 1, $bits) . pack("V", $comp) . ("\0" x 124), 0, $size);
           print "\x55" x 64;' "$2" "$3" "$4" "$5" "$6" >"$1"
}

# Every reason a picture is refused, with the line that names it.
limit="more than the limit of 268435456; raise it with --max-pixels or VELINOR_MAX_PIXELS"
bitmap two-bit.bmp 40 4 2 2 0
says 1 "velinor-cli: two-bit.bmp is a 2-bit BMP, which Velinor does not read" info two-bit.bmp
bitmap os2-rle24.bmp 64 4 2 24 4
says 1 "velinor-cli: os2-rle24.bmp is an OS/2 run-length 24-bit BMP, which Velinor does not read" info os2-rle24.bmp
bitmap huge.bmp 40 60000 60000 24 0
says 1 "velinor-cli: the picture huge.bmp has 60000 x 60000 pixels, $limit" info huge.bmp
bitmap wide.bmp 40 40000 2 24 0
says 1 "velinor-cli: wide.bmp is a picture wider or higher than 32767 pixels, which Velinor does not read" info wide.bmp
perl -e 'print "\x89PNG\r\n\x1a\n", pack("N", 13), "IHDR", pack("NNCCCCC", 100000, 100000, 8, 2, 0, 0, 0), pack("N", 0);' >huge.png
fix_png_header_crc huge.png
says 1 "velinor-cli: the picture huge.png has 100000 x 100000 pixels, $limit" info huge.png
says 1 "velinor-cli: the picture huge.png has 100000 x 100000 pixels, $limit" convert huge.png out.bmp
mkdir folder.png
says 1 "velinor-cli: folder.png is a folder" info folder.png
says 1 "velinor-cli: folder.png is a folder" convert folder.png out.bmp
says 1 "velinor-cli: absent.png no such file" info absent.png
says 1 "velinor-cli: absent.png no such file" info --logo absent.png
says 1 "velinor-cli: absent.gif no such file" info --logo absent.gif
head -c 300 good.jpg >cut.jpg
says 1 "velinor-cli: cut.jpg is truncated or damaged" info cut.jpg
says 1 "velinor-cli: cut.jpg is truncated or damaged" convert cut.jpg out.jpg
[[ -e out.jpg ]] && fail "a failed conversion left out.jpg behind"
says 1 "velinor-cli: noise.gif is truncated or damaged" info --logo noise.gif
says 1 "velinor-cli: noise.bin is not a picture Velinor reads" info noise.bin
: >empty.png
says 1 "velinor-cli: empty.png is empty, not a picture Velinor reads" info empty.png

if ((failures > 0)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
