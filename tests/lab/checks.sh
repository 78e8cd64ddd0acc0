# Sourced by the lab's shell tests: one line per check, "ok" or "FAIL", and the
# count of failures in $failures.
failures=0

check() {  # DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then
    echo "ok   $what"
  else
    echo "FAIL $what"
    failures=$((failures + 1))
  fi
}
