#!/usr/bin/env bash
# A written picture reaches the disk before its name does: the temporary file is synced before
# it is renamed over the old picture, and the folder is synced after the rename, so that a power
# cut leaves the old picture or the whole new one, never an empty file. Seen with strace.
# usage: durable-write.sh VELINOR_CLI
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../require-tools.sh"
require_tools strace convert
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -size 40x30 xc:'#336699' "$work/in.png"
printf 'old picture' > "$work/out.jpg"
strace -f -e trace=openat,fsync,rename,close -o "$work/trace" "$cli" convert "$work/in.png" "$work/out.jpg" ||
  { echo "FAIL: convert failed"; exit 1; }
# The order of the calls on the temporary file and the folder, as one line each.
order=$(awk -v dir="$work" '
  /openat\(.*\/\.out\.jpg\./ && match($0, /= [0-9]+$/) { tmp = substr($0, RSTART + 2); print "open temporary"; next }
  /openat\(.*O_DIRECTORY/ && index($0, "\"" dir "\"") && match($0, /= [0-9]+$/) { folder = substr($0, RSTART + 2); print "open folder"; next }
  /fsync\(/ { fd = $0; sub(/.*fsync\(/, "", fd); sub(/\).*/, "", fd);
              if (fd == folder) print "sync folder"; else if (fd == tmp) print "sync temporary" }
  /rename\(.*out\.jpg"\)/ { print "rename" }
' "$work/trace" | tr '\n' ',')
want="open temporary,sync temporary,rename,open folder,sync folder,"
if [[ "$order" != "$want" ]]; then
  echo "FAIL: calls were \"$order\", expected \"$want\""
  exit 1
fi
echo "ok   synced before the rename, folder synced after it"
