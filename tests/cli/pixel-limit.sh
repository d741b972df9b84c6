#!/usr/bin/env bash
# The pixel limit as a user meets it: a picture over the limit is refused with its size and the
# limit named, and the option or the environment variable raises the limit.
# usage: pixel-limit.sh VELINOR_CLI [STAGE_DIR]   (with STAGE_DIR the window's start as well)
set -uo pipefail
cli=$1
stage=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A 40 x 30 24-bit bitmap: 1200 pixels.
perl -e 'print "BM", pack("V", 54 + 120 * 30), pack("V", 0), pack("V", 54),
         pack("V", 40), pack("V", 40), pack("V", 30), pack("v", 1), pack("v", 24), pack("V", 0) x 6,
         chr(200) x (120 * 30);' >"$work/p.bmp"

# check WANT_STATUS WANT_TEXT ENV... -- ARGS...: runs the tool and checks status and stderr.
check() {
  local want=$1 text=$2; shift 2
  local env=()
  while [[ $1 != -- ]]; do env+=("$1"); shift; done
  shift
  env "${env[@]}" "$cli" "$@" >"$work/out" 2>"$work/err"
  local got=$?
  [[ $got == "$want" ]] || fail "${env[*]} velinor-cli $* -> $got, expected $want ($(cat "$work/err"))"
  [[ -z $text ]] || grep -q -- "$text" "$work/err" "$work/out" ||
    fail "${env[*]} velinor-cli $*: no \"$text\" in: $(cat "$work/err" "$work/out")"
}

check 0 "40x30" -- info "$work/p.bmp"
check 1 "40 x 30 pixels" -- info "$work/p.bmp" --max-pixels 1199
check 1 "1199" -- convert "$work/p.bmp" "$work/o.png" --max-pixels 1199
check 1 "40 x 30 pixels" VELINOR_MAX_PIXELS=1199 -- info "$work/p.bmp"
check 0 "40x30" VELINOR_MAX_PIXELS=1200 -- info "$work/p.bmp"
check 0 "40x30" VELINOR_MAX_PIXELS=1199 -- info "$work/p.bmp" --max-pixels 1200
check 2 "" -- info "$work/p.bmp" --max-pixels 0
check 2 "" -- info "$work/p.bmp" --max-pixels

# A limit that is not a positive whole number of 64 bits is an error, not the default.
invalid() { echo "velinor-cli: invalid value \"$1\" in VELINOR_MAX_PIXELS: give a positive whole number of pixels"; }
for value in abc 12x -5 0 " 5" 99999999999999999999; do
  check 2 "" "VELINOR_MAX_PIXELS=$value" -- info "$work/p.bmp"
  [[ $(cat "$work/err") == "$(invalid "$value")" ]] || fail "VELINOR_MAX_PIXELS=$value printed: $(cat "$work/err")"
done
check 0 "40x30" VELINOR_MAX_PIXELS= -- info "$work/p.bmp"
check 0 "40x30" VELINOR_MAX_PIXELS=9223372036854775807 -- info "$work/p.bmp"
check 2 "--max-pixels needs a positive whole number" -- info "$work/p.bmp" --max-pixels 99999999999999999999
check 2 "--max-pixels needs a positive whole number" -- info "$work/p.bmp" --max-pixels 12x

# The window says so too, at start, and goes on with the usual limit.
if [[ -n $stage ]]; then
  (cd "$work" && cp "$stage/lang.prf" . && cp -R "$stage/data" . && printf 'print text BtnOpen\n' > look.vhs &&
   VELINOR_MAX_PIXELS=abc "$stage/velinor-headless" --program-dir "$stage" look.vhs > window.log)
  grep -qxF 'message caption="Warnung" text="VELINOR_MAX_PIXELS muss eine positive ganze Zahl von Bildpunkten sein; es gilt die übliche Grenze von 268435456. Der Wert ist: \"abc\"" icon=warning buttons=ok -> ok' \
    "$work/window.log" || fail "the window did not name the invalid limit: $(cat "$work/window.log")"
  grep -q '^text BtnOpen "Bild öffnen"' "$work/window.log" || fail "the window did not start: $(cat "$work/window.log")"
fi

[[ $failures == 0 ]] && echo "pixel limit: all passed"
exit $((failures > 0))
