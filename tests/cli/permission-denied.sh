#!/usr/bin/env bash
# A picture the user may not read is refused with "permission denied", for the picture loader
# and the logo routes alike. Root reads every file, so the test reports itself skipped (77).
# usage: permission-denied.sh VELINOR_CLI
set -uo pipefail
cli=$1
if [[ $(id -u) == 0 ]]; then
  echo "skipped: root may read any file"
  exit 77
fi
work=$(mktemp -d)
trap 'chmod -R u+rwx "$work"; rm -rf "$work"' EXIT
cd "$work" || exit 2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A 1 x 1 24-bit bitmap, readable until its permissions are taken away.
perl -e 'print "BM", pack("V", 58), pack("V", 0), pack("V", 54), pack("VVVvvV", 40, 1, 1, 1, 24, 0), "\0" x 20, "\1\2\3\0";' >locked.bmp
"$cli" info locked.bmp >/dev/null || fail "the readable bitmap did not load"
cp locked.bmp locked.gif && mkdir shut && cp locked.bmp shut/in.bmp || exit 2
chmod 000 locked.bmp locked.gif shut   # the last: a readable file in a folder that may not be entered

for args in "locked.bmp" "--logo locked.bmp" "--logo locked.gif" "shut/in.bmp"; do
  set -- $args
  file=${!#}
  "$cli" info "$@" >/dev/null 2>err
  status=$?
  [[ $status == 1 ]] || fail "velinor-cli info $args -> $status, expected 1"
  [[ $(cat err) == "velinor-cli: $file permission denied" ]] || fail "velinor-cli info $args printed: $(cat err)"
done

[[ $failures == 0 ]] && echo "permission denied: all passed"
exit $((failures > 0))
