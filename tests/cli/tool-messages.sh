#!/usr/bin/env bash
# The three programs' command lines as a user types them: every failure is one line on standard
# error that says what is wrong, with a non-zero exit status; --help prints the usage and exits 0.
# usage: tool-messages.sh STAGE_DIR
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../require-tools.sh"
require_tools convert
stage=$1
cli=$stage/velinor-cli headless=$stage/velinor-headless velinor=$stage/velinor
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect STATUS TEXT PROGRAM ARGS...: exit status and a line of standard error holding TEXT.
expect() {
  local want=$1 text=$2; shift 2
  timeout 20 "$@" >"$work/out" 2>"$work/err"
  local got=$?
  [[ $got == "$want" ]] || fail "${*##*/} -> $got, expected $want ($(head -c 300 "$work/err"))"
  [[ -z "$text" ]] || grep -qF -- "$text" "$work/err" || fail "${*##*/}: no \"$text\" in: $(head -c 300 "$work/err")"
}

convert -size 20x10 gradient:red-blue ok.png && convert ok.png ok.jpg && convert ok.png ok.gif || exit 2
head -c 300 ok.jpg >cut.jpg
echo "not a picture" >text.jpg
: >empty.jpg
mkdir folder.jpg
mkfifo fifo.jpg

# velinor-cli tells the reasons apart.
expect 1 "missing.jpg no such file" "$cli" info missing.jpg
expect 1 "folder.jpg is a folder" "$cli" info folder.jpg
expect 1 "empty.jpg is empty" "$cli" info empty.jpg
expect 1 "text.jpg is not a picture Velinor reads" "$cli" info text.jpg
expect 1 "cut.jpg is truncated or damaged" "$cli" info cut.jpg
expect 1 "fifo.jpg is not a regular file" "$cli" info fifo.jpg
expect 1 "ok.gif is read only as a logo" "$cli" info ok.gif
# Outside a runtime folder the libraries are looked for in the installed tree the program stands
# in (the stage's ../lib/velinor/); in one (lang.prf here), in ./data/.
expect 1 "picture libraries were not found in $(cd "$stage/.." && pwd -P)/lib/velinor/ (or are damaged)" "$cli" info --logo ok.gif
cp "$stage/lang.prf" .
expect 1 "picture libraries were not found in ./data/ (or are damaged)" "$cli" info --logo ok.gif
if [[ $(id -u) != 0 ]]; then
  cp ok.jpg locked.jpg && chmod 000 locked.jpg
  expect 1 "locked.jpg permission denied" "$cli" info locked.jpg
fi
ln -s "$stage/data" data
expect 0 "" "$cli" info --logo ok.gif
expect 1 "no such folder" "$cli" convert ok.jpg absent/out.png
expect 1 "fifo.jpg is not a regular file or device" "$cli" convert ok.png fifo.jpg
[[ -p fifo.jpg ]] || fail "the FIFO was replaced"
expect 0 "" "$cli" convert ok.jpg /dev/null --format png
[[ -c /dev/null ]] || fail "/dev/null is no longer a device"
expect 0 "" "$cli" --help
expect 0 "" "$cli" info --help
expect 2 "unknown option --bogus" "$cli" info --bogus ok.jpg

# velinor-headless: options and script files.
printf 'print text BtnOpen\n' >ok.vhs
expect 0 "" "$headless" ok.vhs
expect 0 "" "$headless" --help
grep -q "usage: velinor-headless" out || fail "velinor-headless --help printed no usage"
expect 2 "unknown option --bogus" "$headless" --bogus ok.vhs
expect 2 "--os-version needs a value" "$headless" --os-version
expect 2 "no script given" "$headless"
expect 2 "folder.jpg is a folder, not a script" "$headless" folder.jpg
expect 2 "is not a script (it holds binary bytes)" "$headless" "$cli"
expect 2 "cannot read the script missing.vhs" "$headless" missing.vhs

# velinor: the same rules before a window is made; a screenshot that cannot be written fails.
if [[ -x "$velinor" ]]; then
  export QT_QPA_PLATFORM=offscreen
  expect 0 "" env -u DISPLAY "$velinor" --help
  expect 0 "" "$velinor" -platform offscreen --help
  for tab in 9 -1 abc; do expect 2 "--screenshot-tab takes a tab number from 0 to 3" "$velinor" --screenshot-tab "$tab"; done
  expect 2 "unknown option --bogus" "$velinor" --bogus
  expect 2 "--screenshot-language takes english or german" "$velinor" --screenshot-language french
  expect 2 "folder.jpg is a folder, not a script" "$velinor" --script folder.jpg
  expect 1 "could not write the screenshot $work/absent/shot.png" "$velinor" --program-dir "$stage" --screenshot "$work/absent/shot.png"
  expect 0 "" "$velinor" --program-dir "$stage" --screenshot "$work/shot.png" --screenshot-tab 3
  [[ -s shot.png ]] || fail "no screenshot written"
  grep -q XDG_RUNTIME_DIR err && fail "Qt warned about XDG_RUNTIME_DIR"
fi

if ((failures > 0)); then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
