#!/usr/bin/env bash
# Small files that promise a lot cost only what their picture needs: a run-length bitmap of
# 8000 x 8000 pixels in 1 KB takes its 256 MB pixel store and nothing beside it, two of them in
# one batch take no more memory than one (the next picture is not decoded ahead beside a large
# one), and a PNG of 100 x 100 pixels with 256 MB of zlib data behind them is damaged, not
# inflated to its end. Memory is the peak resident size /usr/bin/time reports.
#
#   small-file-big-cost.sh VELINOR_HEADLESS VELINOR_CLI STAGE_DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../require-tools.sh"
require_tools perl /usr/bin/time
headless="$1"
cli="$2"
stage="$3"
source "$(dirname "${BASH_SOURCE[0]}")/work-folder.sh"
peak_kb() { /usr/bin/time -f '%M' -o peak.txt "$@" > /dev/null 2>&1 || true; cat peak.txt; }

# 8-bit run-length bitmap, 8000 x 8000, grey palette, 400 runs of one pixel and nothing else.
mkdir one two out
perl -e 'my $data = "\x01\x01" x 400 . "\x00\x01"; my $off = 14 + 40 + 1024;
         print "BM", pack("V", $off + length $data), pack("V", 0), pack("V", $off),
               pack("V", 40), pack("V", 8000), pack("V", 8000), pack("v", 1), pack("v", 8), pack("V", 1),
               pack("V", length $data), pack("V", 2835) x 2, pack("V", 256), pack("V", 0);
         print map { pack("CCCC", $_, $_, $_, 0) } 0..255; print $data;' > one/a.bmp
cp one/a.bmp two/a.bmp
cp one/a.bmp two/b.bmp
store_kb=$((8000 * 8000 * 4 / 1024))

# The bitmap's pixel store and some room for the program, no index buffer beside it.
cli_kb=$(peak_kb "$cli" info one/a.bmp)
check "info of the 1 KB bitmap takes its store only" 1 "$((cli_kb < store_kb + 40 * 1024))"

batch() {
  { text_batch "$1"; echo "click BtnBatchStart"; } > run.vhs
  rm -f out/*
  peak_kb "$headless" --program-dir "$stage" run.vhs
}
one_kb=$(batch one)
two_kb=$(batch two)
check "the batch wrote both" 2 "$(ls out | wc -l)"
check "two of them take what one takes (${one_kb} and ${two_kb} KB)" 1 "$((two_kb < one_kb + store_kb / 4))"

# A PNG of 100 x 100 whose IDAT holds 256 MB of zeros in deflate.
perl -MCompress::Zlib -e '
  sub chunk { my ($t, $d) = @_; pack("N", length $d) . $t . $d . pack("N", crc32($t . $d)) }
  my ($z) = deflateInit(-Level => 9); my $out = "";
  my $zeros = "\0" x (1 << 20);
  for (1..256) { my ($o) = $z->deflate($zeros); $out .= $o }
  my ($o) = $z->flush(); $out .= $o;
  print "\x89PNG\r\n\x1a\n", chunk("IHDR", pack("NNCCCCC", 100, 100, 8, 2, 0, 0, 0)), chunk("IDAT", $out), chunk("IEND", "");
' > bomb.png
check "the PNG with excess image data is damaged" "velinor-cli: bomb.png is truncated or damaged" "$("$cli" info bomb.png 2>&1 || true)"

[[ $failures -eq 0 ]]
