#!/usr/bin/env bash
# The layer check passes on the tree as it is, and fails, naming the file and
# line, on a planted upward include and on a planted include cycle.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
check="$root/scripts/check-layers"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cp -R "$root/src" "$scratch/src"
"$check" "$scratch/src" >"$scratch/out" 2>&1 || fail "the tree as it is: $(cat "$scratch/out")"

# An upward include: persistence reaching into the session layer.
cp "$scratch/src/persistence/encoding.h" "$scratch/encoding.h.orig"
printf '#include "session/run_control.h"\n' >>"$scratch/src/persistence/encoding.h"
line=$(wc -l <"$scratch/src/persistence/encoding.h")
if "$check" "$scratch/src" >"$scratch/out" 2>&1; then
  fail "an upward include passed"
fi
grep -q "persistence/encoding.h:$line: includes \"session/run_control.h\"" "$scratch/out" ||
  fail "the upward include was not named: $(cat "$scratch/out")"
cp "$scratch/encoding.h.orig" "$scratch/src/persistence/encoding.h"

# A header outside every layer.
printf '#include "elsewhere/thing.h"\n' >>"$scratch/src/machine/machine.h"
"$check" "$scratch/src" >"$scratch/out" 2>&1 && fail "an include outside the layers passed"
grep -q 'machine/machine.h:.*elsewhere/thing.h' "$scratch/out" || fail "the outside include was not named"
sed -i '$d' "$scratch/src/machine/machine.h"

# A cycle inside one layer: two headers that include each other.
printf '#pragma once\n#include "machine/cycle_b.h"\n' >"$scratch/src/machine/cycle_a.h"
printf '#pragma once\n#include "machine/cycle_a.h"\n' >"$scratch/src/machine/cycle_b.h"
"$check" "$scratch/src" >"$scratch/out" 2>&1 && fail "an include cycle passed"
grep -q 'closes the cycle machine/cycle_a.h -> machine/cycle_b.h -> machine/cycle_a.h' "$scratch/out" ||
  fail "the cycle was not named: $(cat "$scratch/out")"

[ $failures -eq 0 ] && echo "check-layers: all cases behave"
exit $(( failures > 0 ))
