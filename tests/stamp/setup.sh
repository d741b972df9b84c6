# Sourced by the stamp tests after require_tools: a work folder, entered and removed at the end,
# check, and finish, which ends the script failing when any check failed.
work="$(mktemp -d "${TMPDIR:-/tmp}/velinor-stamp.XXXXXX")"
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
check() {  # name expected actual
  if [[ "$2" != "$3" ]]; then echo "FAIL $1: expected $2, got $3"; failures=$((failures + 1)); else echo "ok   $1"; fi
}
finish() {
  if ((failures > 0)); then
    echo "$failures checks failed"
    exit 1
  fi
  echo "all checks passed"
}
