#!/usr/bin/env bash
# The example scripts of the documentation run as written:
# - the README's example is the example.vhs shipped in the runtime folder, and runs there;
# - the example of docs/velinor-headless.md opens a picture, stamps a text at the bottom right,
#   saves the result as PNG and writes the preview: checked with ImageMagick.
# usage: check.sh SOURCE_DIR STAGE_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../require-tools.sh"
require_tools convert identify
source=$1
stage=$2
headless=$stage/velinor-headless
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The README's block is the shipped file, byte for byte, and runs in a copy of the runtime folder.
sed -n '/^# Switch to English, look around/,/^close$/p' "$source/README.md" >"$work/readme.vhs"
[[ -s "$work/readme.vhs" ]] || fail "README.md has no example script"
cmp -s "$work/readme.vhs" "$stage/example.vhs" || fail "README.md's example differs from the shipped example.vhs"
mkdir "$work/runtime" && cp -R "$stage/lang.prf" "$stage/data" "$stage/example.vhs" "$work/runtime/"
(cd "$work/runtime" && timeout 60 "$headless" --program-dir "$stage" example.vhs) >"$work/readme.log" 2>&1 ||
  fail "example.vhs: exit $? ($(tail -n 3 "$work/readme.log"))"
grep -q '^text BtnOpen "' "$work/readme.log" || fail "example.vhs printed no BtnOpen text"
grep -q '^message .*icon=information' "$work/readme.log" || fail "example.vhs: the settings were not saved"
grep -q 'Bildname = holiday' "$work/runtime/Settings.ini" 2>/dev/null || fail "example.vhs: Settings.ini lacks the picture name"

# The documented example, with its paths moved into the working folder.
mkdir "$work/doc" && cp -R "$stage/lang.prf" "$stage/data" "$work/doc/"
cd "$work/doc" || exit 2
convert -size 320x240 xc:'#3060a0' photo.jpg || exit 2
sed -n '/^# Open a picture, stamp a text on it/,/^close$/p' "$source/docs/velinor-headless.md" |
  sed -e "s#/home/me/photo.jpg#$PWD/photo.jpg#" -e "s#/home/me/stamped.png#$PWD/stamped.png#" \
      -e "s#/tmp/preview.png#$PWD/preview.png#" >example.vhs
[[ -s example.vhs ]] || fail "docs/velinor-headless.md has no example script"
timeout 60 "$headless" --program-dir "$stage" example.vhs >doc.log 2>&1 || fail "the documented example: exit $?"
grep -q '^image 64 320 240$' doc.log || fail "the result is not the 320 x 240 picture: $(grep '^image' doc.log)"
[[ "$(identify -format '%w %h' stamped.png 2>/dev/null)" == "320 240" ]] || fail "stamped.png is not a 320 x 240 PNG"
[[ -s preview.png ]] || fail "no preview.png"
# The text is in the bottom right quarter and nowhere in the top left one: white pixels there.
white() { convert stamped.png -crop "$1" +repage -fill black +opaque white -format '%[fx:mean*w*h]' info:; }
[[ "$(white 160x120+160+120)" != "0" ]] || fail "no white text at the bottom right"
[[ "$(white 160x120+0+0)" == "0" ]] || fail "white pixels at the top left"

if ((failures > 0)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
