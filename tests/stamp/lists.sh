#!/usr/bin/env bash
# Lists, shares and reruns of velinor-cli stamp: four --shard runs write the files of one run,
# byte for byte; the shares the Slurm, Kubernetes and AWS Batch variables choose; names read
# from standard input split by NUL bytes (spaces and newlines in them); --base keeping the
# layout; blank lines and names listed twice; --skip-existing after a run killed with SIGKILL
# writes only what is missing, every output a whole picture (djpeg); --resume over a job log.
# Which picture is at which place is worked out by python3, not by the program.
#
#   lists.sh VELINOR_CLI
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../require-tools.sh"
require_tools convert python3 djpeg cmp
cli="$(realpath "$1")"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/setup.sh"
marks=(--text "S {n}/{count}" --size 10 --name '{n}-{stem}.{ext}')
same_tree() { python3 "$here/same-tree.py" "$@"; }
json_field() { python3 -c 'import json,sys
for line in sys.stdin:
    o = json.loads(line)
    if o.get("summary"): print(o[sys.argv[1]])' "$1"; }

mkdir -p src/b/deep "src/a b"
for i in 1 2 3 4 5; do convert -size 48x32 "xc:rgb($((i * 40)),90,140)" "src/p$i.jpg"; done
convert -size 32x48 xc:'#cc8844' src/b/q.png
convert -size 40x40 xc:'#4488cc' src/b/deep/r.jpg
convert -size 40x30 xc:'#88cc44' "src/a b/s t.jpg"
(cd src && find . -type f | sed 's|^\./||') > list.txt

# The place python3 gives each name: the sorted absolute paths, each once.
expected_names() {  # BASE LISTFILE -> "place-stem.ext" under their folders, sorted
  python3 - "$1" "$2" <<'PY'
import os, sys
base = os.path.abspath(sys.argv[1])
names = [l for l in open(sys.argv[2]).read().split("\n") if l]
paths = sorted({os.path.normpath(os.path.join(base, n)) for n in names}, key=os.fsencode)
out = []
for i, p in enumerate(paths):
    rel = os.path.relpath(p, base)
    folder, name = os.path.split(rel)
    out.append(os.path.join(folder, "%d-%s" % (i + 1, name)))
print("\n".join(sorted(out, key=os.fsencode)))
PY
}

# One run, then four shares into one folder.
"$cli" stamp --files-from list.txt --base src -o one "${marks[@]}" 2>/dev/null
check "one run: each picture at its place in the sorted list, layout kept" "$(expected_names src list.txt)" \
  "$(cd one && find . -type f | sed 's|^\./||' | LC_ALL=C sort)"
for i in 0 1 2 3; do "$cli" stamp --files-from list.txt --base src -o four --shard "$i/4" "${marks[@]}" 2>>four.err; done
check "four shares write the files of one run" same "$(same_tree one four)"
"$cli" stamp --files-from list.txt --base src -o s1 --shard 1/4 "${marks[@]}" --json > s1.json 2>/dev/null
check "share 1/4 stamps places 2 and 6" "2-r.jpg 6-p3.jpg" \
  "$(python3 -c 'import json,sys,os
print(" ".join(sorted(os.path.basename(json.loads(l)["output"]) for l in open("s1.json") if "summary" not in l)))')"

# The schedulers' variables choose the same shares.
for i in 0 1 2 3; do
  SLURM_ARRAY_TASK_ID=$((i + 1)) SLURM_ARRAY_TASK_MIN=1 SLURM_ARRAY_TASK_MAX=4 \
    "$cli" stamp --files-from list.txt --base src -o slurm "${marks[@]}" 2>>slurm.err
  JOB_COMPLETION_INDEX=$i "$cli" stamp --files-from list.txt --base src -o k8s --shards 4 "${marks[@]}" 2>/dev/null
  AWS_BATCH_JOB_ARRAY_INDEX=$i "$cli" stamp --files-from list.txt --base src -o aws --shards 4 "${marks[@]}" 2>/dev/null
done
check "Slurm tasks 1-4 (MIN and MAX) write one run's files" same "$(same_tree one slurm)"
check "Kubernetes indexes 0-3 write one run's files" same "$(same_tree one k8s)"
check "AWS Batch indexes 0-3 write one run's files" same "$(same_tree one aws)"
check "the summary says the share and why" 1 \
  "$(grep -c 'share 2/4 (SLURM_ARRAY_TASK_ID=3 SLURM_ARRAY_TASK_MIN=1 SLURM_ARRAY_TASK_MAX=4): 2 of the 8 pictures listed' slurm.err)"
SLURM_ARRAY_TASK_ID=12 SLURM_ARRAY_TASK_MIN=0 SLURM_ARRAY_TASK_STEP=4 SLURM_ARRAY_TASK_COUNT=4 \
  "$cli" stamp src -o step --text x --json > step.json 2>/dev/null
check "Slurm --array=0-12:4, task 12 is share 3/4" "3 4" "$(json_field share < step.json) $(json_field shares < step.json)"
status=0; SLURM_ARRAY_TASK_ID=5 SLURM_ARRAY_TASK_MIN=1 SLURM_ARRAY_TASK_MAX=5 SLURM_ARRAY_TASK_COUNT=3 \
  "$cli" stamp src -o gap --text x 2>/dev/null || status=$?
check "an array with gaps (1,3,5) is refused as usage" 2 "$status"
status=0; JOB_COMPLETION_INDEX=0 "$cli" stamp src -o nocount --text x 2>/dev/null || status=$?
check "an index without --shards is refused" "2 0" "$status $(ls nocount 2>/dev/null | wc -l)"
status=0; AWS_BATCH_JOB_ARRAY_INDEX=4 "$cli" stamp src -o over --shards 4 --text x 2>/dev/null || status=$?
check "an index not below --shards is refused" 2 "$status"
status=0; "$cli" stamp src -o bad --shard 4/4 --text x 2>/dev/null || status=$?
check "--shard 4/4 is refused" 2 "$status"
"$cli" stamp --shard 0/1 src -o flag --text x --json > flag.json 2>/dev/null
SLURM_ARRAY_TASK_ID=1 SLURM_ARRAY_TASK_COUNT=4 "$cli" stamp --shard 0/1 src -o flag2 --text x --json > flag2.json 2>/dev/null
check "--shard wins over the scheduler's variables" "--shard 0/1" "$(json_field shareFrom < flag2.json)"

# Names from standard input, split by NUL bytes: spaces, a newline, a leading dash.
mkdir -p nul
convert -size 30x20 xc:'#aa3355' "nul/two  spaces.jpg"
convert -size 30x20 xc:'#33aa55' "nul/new"$'\n'"line.jpg"
convert -size 30x20 xc:'#5533aa' "nul/-dash.png"
find nul -type f -print0 | "$cli" stamp --files-from - -0 -o nulout --text N --json > nul.json 2>/dev/null
check "NUL-separated names, as written" "-dash.png|new"$'\n'"line.jpg|two  spaces.jpg" \
  "$(python3 -c 'import os; print("|".join(sorted(os.listdir("nulout"))))')"
"$cli" stamp -o direct --text N -- "nul/two  spaces.jpg" "nul/new"$'\n'"line.jpg" "nul/-dash.png" 2>/dev/null
check "the same pictures as named on the command line" same "$(same_tree direct nulout)"
check "JSON names the source with its newline" 1 \
  "$(python3 -c 'import json; print(sum(json.loads(l).get("source") == "nul/new\nline.jpg" for l in open("nul.json")))')"

# Lines: blank lines and a Windows line end are nothing; a name listed twice is stamped once.
printf 'p1.jpg\n\n\r\n./p1.jpg\np2.jpg\r\n%s/src/p1.jpg\nb//q.png\n' "$PWD" > lines.txt
"$cli" stamp --files-from lines.txt --base src -o lines --text L --json > lines.json 2>/dev/null
check "blank lines skipped, each picture once" "b/q.png p1.jpg p2.jpg" \
  "$(cd lines && find . -type f | sed 's|^\./||' | LC_ALL=C sort | paste -sd' ')"
check "three written, two names listed again" "3 2" "$(json_field written < lines.json) $(json_field duplicates < lines.json)"
# A name outside --base has no place under -o: it fails, named, and the rest is written.
convert -size 20x20 xc:white outside.jpg
status=0; printf 'p1.jpg\n%s/outside.jpg\n../outside.jpg\n' "$PWD" |
  "$cli" stamp --files-from - --base src -o based --text B 2> based.err || status=$?
check "names outside --base fail, the others are written" "3 1 1" \
  "$status $(grep -c 'outside.jpg: is not inside --base src' based.err) $(ls based | wc -l)"

# A listed picture that is not there fails in its own share only, named with the cause.
printf 'p1.jpg\ngone.jpg\np2.jpg\n' > gone.txt
status0=0; "$cli" stamp --files-from gone.txt --base src -o gone --shard 0/2 --text G 2> gone0.err || status0=$?
status1=0; "$cli" stamp --files-from gone.txt --base src -o gone --shard 1/2 --text G 2> gone1.err || status1=$?
check "a missing picture fails its own share (first of three: 0/2), not the other" "3 0" "$status0 $status1"
check "its line names the file" 1 "$(grep -c -x 'velinor-cli: src/gone.jpg: no such file' gone0.err)"

# --skip-existing after a run killed with SIGKILL: only the missing pictures are written, and
# every output is a whole picture.
mkdir -p big
convert -size 1600x1200 xc: +noise Random -quality 92 big/0.jpg
for i in $(seq 1 39); do cp big/0.jpg "big/$i.jpg"; done
"$cli" stamp big -o whole --text K --size 40 --quality 8 --jobs 2 2>/dev/null
"$cli" stamp big -o killed --text K --size 40 --quality 8 --jobs 2 2>/dev/null &
pid=$!
for _ in $(seq 1 400); do
  (($(find killed -name '*.jpg' ! -name '.*' 2>/dev/null | wc -l) >= 4)) && break
  sleep 0.02
done
kill -KILL "$pid"
wait "$pid" 2>/dev/null || true
before=$(find killed -name '*.jpg' ! -name '.*' | wc -l)
echo "     (killed with $before of 40 pictures written)"
if ((before >= 40)); then echo "FAIL the run ended before it was killed; make the pictures larger"; failures=$((failures + 1)); fi
find killed -name '*.jpg' ! -name '.*' -printf '%f %i %T@\n' > killed-before.txt
# Beside what the killed run left: temporaries of a process that has ended, and of one running.
dead="$(sh -c 'echo $$')"
touch "killed/.39.jpg.$dead-0.part" "killed/..39.jpg.$dead-0.part.AbC123" "killed/.5.jpg.$$-1.part" killed/.x.part
"$cli" stamp big -o killed --text K --size 40 --quality 8 --jobs 2 --skip-existing --json > rerun.json 2> rerun.err
check "a running process's temporary and a stranger's name are left" 2 \
  "$(ls -a killed | grep -c -x -e "\.5\.jpg\.$$-1\.part" -e '\.x\.part')"
rm "killed/.5.jpg.$$-1.part" killed/.x.part
check "the rerun writes only what is missing" "$((40 - before)) $before" \
  "$(json_field written < rerun.json) $(json_field skipped < rerun.json)"
check "the pictures there before are left as they were (inode, time)" 0 "$(python3 -c '
import os
changed = 0
for line in open("killed-before.txt"):
    name, inode, mtime = line.split()
    st = os.stat("killed/" + name)
    changed += (str(st.st_ino), "%.10f" % st.st_mtime) != (inode, "%.10f" % float(mtime))
print(changed)')"
broken=0
for f in killed/*.jpg; do
  if ! djpeg "$f" > /dev/null 2> djpeg.err || [[ -s djpeg.err ]]; then broken=$((broken + 1)); fi
done
check "every output decodes whole (djpeg, no warning)" 0 "$broken"
check "the outputs are those of a run never killed, and no temporary is left" same "$(same_tree whole killed)"

# --resume: what the log reports done is skipped; what it reports failed, or whose output is
# gone, is done again; a last line cut short is no line.
"$cli" stamp src -r -o res --text R --json > res.log 2>/dev/null
rm res/p2.jpg
python3 - <<'PY'
import json
lines = open("res.log").read().splitlines()
out = []
for l in lines:
    o = json.loads(l)
    if o.get("source") == "src/p4.jpg":
        o["status"] = "failed"
    out.append(json.dumps(o))
open("res.log", "w").write("\n".join(out) + '\n{"source":"src/p5.jpg","output":"res/p5.j')
PY
rm res/p4.jpg
"$cli" stamp src -r -o res --text R --json --resume res.log > res2.log 2>/dev/null
check "resume does what is not done: p2 (gone) and p4 (failed)" "p2.jpg p4.jpg" \
  "$(python3 -c 'import json,os
print(" ".join(sorted(os.path.basename(o["source"]) for o in map(json.loads, open("res2.log")) if o.get("status") == "ok")))')"
check "the rest is reported skipped, done before" 6 \
  "$(grep -c '"status":"skipped","reason":"done by an earlier run (res.log)"' res2.log)"
"$cli" stamp src -r -o res --text R --json --resume res2.log > res3.log 2>/dev/null
check "a resumed run's log resumes in its turn" "0 8" "$(json_field written < res3.log) $(json_field skipped < res3.log)"

finish
