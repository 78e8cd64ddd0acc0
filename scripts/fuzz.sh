#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz: clang, ASan + UBSan) and runs each
# one from its seed corpus in tests/fuzz/corpus/<target>.
#
#   scripts/fuzz.sh [--replay | --seconds N | --runs N] [--no-build] [TARGET...]
#
#   --replay      run every seed input once (what CI does before fuzzing)
#   --seconds N   fuzz each target for N seconds (default 30)
#   --runs N      fuzz each target for N executions
#   --no-build    use the targets already built in build/fuzz
#   TARGET...     some of the targets (default: all of them)
#
# New inputs go to build/fuzz/corpus/<target>, never into the seed folder; a
# finding is saved as build/fuzz/findings/<target>-crash-<hash> and makes the
# script fail. To keep one as a regression input, copy it into the seeds.
# Prints one line per target: executions, seconds, findings.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=seconds limit=30 build=1 targets=()
while (($#)); do
  case $1 in
    --replay) mode=replay; shift ;;
    --seconds) mode=seconds limit=${2:?--seconds needs a number}; shift 2 ;;
    --runs) mode=runs limit=${2:?--runs needs a number}; shift 2 ;;
    --no-build) build=0; shift ;;
    -h | --help) sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done

if ((build)); then
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz
fi
bin=build/fuzz/tests/fuzz
if ((${#targets[@]} == 0)); then
  for seeds in tests/fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done
fi

mkdir -p build/fuzz/findings
failed=0
for target in "${targets[@]}"; do
  seeds=tests/fuzz/corpus/$target
  [[ -x $bin/$target && -d $seeds ]] || { echo "fuzz.sh: no target or seeds for $target" >&2; exit 2; }
  log=build/fuzz/$target.log
  options=(-artifact_prefix="build/fuzz/findings/$target-" -print_final_stats=1)
  [[ -f tests/fuzz/$target.dict ]] && options+=(-dict="tests/fuzz/$target.dict")
  start=$(date +%s%N)
  status=0
  if [[ $mode == replay ]]; then
    "$bin/$target" "${options[@]}" "$seeds"/* >"$log" 2>&1 || status=$?
  else
    work=build/fuzz/corpus/$target
    mkdir -p "$work"
    if [[ $mode == seconds ]]; then options+=(-max_total_time="$limit"); else options+=(-runs="$limit"); fi
    "$bin/$target" "${options[@]}" "$work" "$seeds" >"$log" 2>&1 || status=$?
  fi
  seconds=$((($(date +%s%N) - start) / 1000000000))
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if ((status != 0)); then
    failed=1
    printf '%-22s FINDING after %s executions, %s s (log: %s)\n' "$target" "${runs:-?}" "$seconds" "$log"
    grep -m 5 -E 'ERROR|property does not hold|runtime error|Test unit written' "$log" >&2 || true
  else
    printf '%-22s %12s executions %8s s  no finding\n' "$target" "${runs:-?}" "$seconds"
  fi
done
exit "$failed"
