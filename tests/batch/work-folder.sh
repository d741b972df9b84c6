# Sourced by the batch scripts after stage is set: makes a runtime folder to work in (removed at
# the end), goes there, and defines check.
work="$(mktemp -d "${TMPDIR:-/tmp}/velinor-batch.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$stage/lang.prf" .
cp -R "$stage/data" .
failures=0
check() {  # name expected actual
  if [[ "$2" != "$3" ]]; then echo "FAIL $1: expected $2, got $3"; failures=$((failures + 1)); else echo "ok   $1"; fi
}
# The first lines of a text batch over FOLDER into out/ with a one-letter mark.
text_batch() {
  printf '%s\n' 'set PnlTabs 1' "type CmbExplorer \"$1\"" 'click BtnAddAll' 'answer folder "out/"' \
    'click BtnOutputDir' 'answer font "DejaVu Sans" 8' 'click BtnBatchFont' 'type TxtBatchMark "x"'
}
