#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets with the fuzz preset (clang++, the address and undefined-behaviour
# sanitizers) and runs each of them in turn for SECONDS seconds (30 when not given), over a
# copy of its seed corpus in fuzz/corpus, so that nothing the run finds is written into the
# tree. Prints a line per target with its number of runs; fails when a target finds a crash, a
# leak or a broken property, and then keeps the input that did it outside the tree and says
# where.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-30}"
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/fuzz.sh [SECONDS]" >&2
  exit 2
fi

# Each target with the longest input it is given: room for a few records of its files.
targets=(
  "mission 8192"
  "carriers 8192"
  "list_files 2048"
  "record_import 4096"
  "merge 8192"
  "database_set 16384"
  "check_set 16384"
  "text_file 8192"
  "text_import 16384"
  "diff 16384"
)

bash scripts/install-deps.sh clang libclang-rt-dev
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 >/dev/null

work="$(mktemp -d "${TMPDIR:-/tmp}/keel-fuzz.XXXXXX")"
keep_work=0
trap '[ "$keep_work" = 1 ] || rm -rf "$work"' EXIT

passed=0
failed=0
for entry in "${targets[@]}"; do
  read -r name max_len <<<"$entry"
  program="$PWD/build/fuzz/fuzz/keel_fuzz_$name"
  run="$work/$name"
  mkdir -p "$run/corpus" "$run/artifacts" "$run/tmp"
  cp fuzz/corpus/"$name"/* "$run/corpus/"
  # The targets that write files make their scratch directory under TMPDIR.
  if (cd "$run" && TMPDIR="$run/tmp" "$program" -max_total_time="$seconds" -max_len="$max_len" \
        -timeout=60 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$run/artifacts/" corpus >"$run/log" 2>&1); then
    status=0
  else
    status=$?
  fi
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$run/log" | tail -n 1)"
  if [ "$status" = 0 ]; then
    passed=$((passed + 1))
    printf '%-26s %10s runs in %s s\n' "keel_fuzz_$name" "${runs:-?}" "$seconds"
  else
    failed=$((failed + 1))
    keep_work=1
    printf '%-26s %10s runs, FAILED (exit %s)\n' "keel_fuzz_$name" "${runs:-?}" "$status"
    grep -E 'broken property|ERROR: |SUMMARY: |Test unit written' "$run/log" | head -n 5 | sed 's/^/    /'
    echo "    log: $run/log"
    for artifact in "$run"/artifacts/*; do
      [ -e "$artifact" ] && echo "    reproduce: $program $artifact"
    done
  fi
done

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
