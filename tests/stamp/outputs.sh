#!/usr/bin/env bash
# What velinor-cli stamp leaves on disk and tells: names taken (unique, skip, overwrite), sources
# never replaced whatever the name reaches them by, links in the output folder never written
# through, folders walked with their layout kept, JSON lines a JSON parser reads, exit 3 with
# the other pictures written when one is damaged, and SIGTERM leaving only whole pictures.
#
#   outputs.sh VELINOR_CLI
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../require-tools.sh"
require_tools convert identify python3
cli="$1"
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
stamp() { "$cli" stamp --text "V" "$@" 2>>stderr.txt; }
md5() { md5sum "$1" | cut -d' ' -f1; }

mkdir -p pics/sub/deeper
convert -size 64x48 xc:'#336699' pics/a.jpg
convert -size 48x64 xc:'#996633' pics/b.png
convert -size 40x30 xc:'#669933' pics/sub/c.bmp
convert -size 30x40 xc:'#999999' pics/sub/deeper/d.jpg
echo "not a picture" > pics/notes.txt

# Unique names, then skip, then overwrite.
stamp pics/a.jpg -o out
stamp pics/a.jpg -o out
stamp pics/a.jpg -o out
check "unique names" "a-1.jpg a-2.jpg a.jpg" "$(cd out && ls | sort | paste -sd' ')"
before="$(md5 out/a.jpg)"
stamp pics/a.jpg -o out --on-exists skip --json > skip.json
check "skip leaves the file" "$before" "$(md5 out/a.jpg)"
check "skip is reported" "skipped" "$(python3 -c 'import json,sys; print(json.loads(open("skip.json").readline())["status"])')"
stamp pics/a.jpg -o out --on-exists overwrite --text "W"
check "overwrite replaces the file" 1 "$([[ "$(md5 out/a.jpg)" != "$before" ]] && echo 1 || echo 0)"
check "overwrite adds no name" 3 "$(ls out | wc -l)"

# Formats and name templates.
stamp pics/a.jpg pics/b.png pics/sub/c.bmp -o fmt
check "same format kept" "JPEG PNG BMP3" "$(identify -format '%m ' fmt/a.jpg fmt/b.png fmt/c.bmp | sed 's/ $//')"
stamp pics/a.jpg pics/b.png -o named --format png --name 'x-{n}-of-{count}-{stem}.{ext}'
check "name template and format" "x-1-of-2-a.png x-2-of-2-b.png" "$(cd named && ls | paste -sd' ')"
check "written as PNG" "PNG" "$(identify -format '%m' named/x-1-of-2-a.png)"
stamp pics/a.jpg -o named --name '../escape-{stem}.jpg'
check "a name never leaves its folder" "0 1" "$(ls escape-a.jpg 2>/dev/null | wc -l) $(ls named/.._escape-a.jpg | wc -l)"

# A source is never replaced: by its own name, through a hard link or a symbolic link.
cp pics/a.jpg self.jpg
original="$(md5 self.jpg)"
status=0; stamp self.jpg -o . --on-exists overwrite || status=$?
check "own name refused" "$original 3" "$(md5 self.jpg) $status"
mkdir -p linked && ln -f self.jpg linked/self.jpg
status=0; stamp self.jpg -o linked --on-exists overwrite || status=$?
check "hard link refused" "$original 3" "$(md5 self.jpg) $status"
rm linked/self.jpg && ln -s ../self.jpg linked/self.jpg
status=0; stamp self.jpg -o linked --on-exists overwrite || status=$?
check "symbolic link refused" "$original 3" "$(md5 self.jpg) $status"
grep -q "self.jpg: would replace a source picture" stderr.txt && echo "ok   refusal names the file" || {
  echo "FAIL refusal line"; failures=$((failures + 1)); }

# A link planted in the output folder is not written through, whatever --on-exists says.
echo "precious" > precious.txt
mkdir -p planted && ln -s ../precious.txt planted/a.jpg
stamp pics/a.jpg -o planted
check "unique keeps the planted link" "precious a-1.jpg" "$(cat precious.txt) $(ls planted | grep -v '^a.jpg$')"
stamp pics/a.jpg -o planted --on-exists overwrite
check "overwrite replaces the link, not its target" "precious 0" "$(cat precious.txt) $(test -L planted/a.jpg && echo 1 || echo 0)"

# Folders: their pictures, with -r their sub-folders' too, the layout kept.
stamp pics -o flat
check "a folder's own pictures" "a.jpg b.png" "$(cd flat && find . -type f | sed 's|^\./||' | sort | paste -sd' ')"
stamp -r pics -o tree
check "-r keeps the layout" "a.jpg b.png sub/c.bmp sub/deeper/d.jpg" "$(cd tree && find . -type f | sed 's|^\./||' | sort | paste -sd' ')"

# One damaged picture of five: exit 3, the other four written, every line JSON.
mkdir -p five && for i in 1 2 3 4; do convert -size 50x40 xc:'#123456' "five/p$i.jpg"; done
head -c 300 five/p1.jpg > five/p5.jpg
status=0; "$cli" stamp five/p1.jpg five/p2.jpg five/p3.jpg five/p4.jpg five/p5.jpg -o five-out --text V --json -j 2 \
  > five.json 2> five.err || status=$?
check "exit 3 with one damaged" 3 "$status"
check "the other four written" 4 "$(ls five-out | wc -l)"
check "json lines" "ok ok ok ok failed|4 0 1" "$(python3 - <<'P'
import json
lines = [json.loads(l) for l in open("five.json")]
pics = sorted((l for l in lines if "source" in l), key=lambda l: l["source"])
summary = [l for l in lines if l.get("summary")][0]
print(" ".join(p["status"] for p in pics) + "|%d %d %d" % (summary["written"], summary["skipped"], summary["failed"]))
P
)"
check "the damaged one names its file and cause" 1 "$(grep -c 'p5.jpg: .*damaged\|p5.jpg: .*cut short' five.err)"
check "a usage fault is 2" 2 "$("$cli" stamp pics/a.jpg -o x --quality 11 2>/dev/null; echo $?)"
check "a logo that cannot be read is 1" 1 "$("$cli" stamp pics/a.jpg -o x --logo missing.png 2>/dev/null; echo $?)"

# Text size relative to the shorter side: the same share of a portrait and a landscape picture.
# 10% of 400 pixels is a 40-pixel em; DejaVu's full block reaches from its ascender (0.928 em)
# to its descender (0.236 em), about 47 pixels.
convert -size 600x400 xc:white land.png
convert -size 400x600 xc:white port.png
"$cli" stamp land.png port.png -o rel --text "█" --size 10% --font "DejaVu Sans" 2>/dev/null
hl="$(convert rel/land.png -negate -trim -format '%h' info:)"
hp="$(convert rel/port.png -negate -trim -format '%h' info:)"
check "relative size on both" "1 $hl" "$(( hl >= 45 && hl <= 49 ? 1 : 0 )) $hp"

# SIGTERM: the run stops after the pictures in flight, no temporary is left, every output decodes.
mkdir -p many && convert -size 1600x1200 plasma:fractal -quality 90 many/p.jpg
for i in $(seq 1 40); do cp many/p.jpg "many/p$i.jpg"; done
rm many/p.jpg
"$cli" stamp many -o many-out --text V -j 2 2>/dev/null &
pid=$!
sleep 0.4
kill -TERM "$pid"
status=0; wait "$pid" || status=$?
check "SIGTERM exit status" 143 "$status"
check "no temporary left" 0 "$(find many-out -name '.*' -type f | wc -l)"
written="$(ls many-out | wc -l)"
check "stopped before the end" 1 "$(( written < 40 ? 1 : 0 ))"
bad=0; for f in many-out/*; do identify -regard-warnings "$f" >/dev/null 2>&1 || bad=$((bad + 1)); done
check "every output decodes" 0 "$bad"

finish
