#!/usr/bin/env bash
# Measures the hardware suite against the runners of one build: the wall time of
# a whole run, and the largest peak memory of any process in it (GNU time's
# maximum resident set covers the suite and every runner it waited for).
# Usage: scripts/measure-suite.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build_dir=${1:-build/release}
runs=${2:-5}
suite="$build_dir/bin/hardware_e2e"
[[ -x "$suite" ]] || { echo "measure-suite: no suite at $suite (build it first)" >&2; exit 2; }

for ((run = 1; run <= runs; run++)); do
  /usr/bin/time -f "run $run: %e s wall, largest peak %M KiB" "$suite" >/dev/null 2>/tmp/measure-suite.$$ \
    || { cat /tmp/measure-suite.$$ >&2; rm -f /tmp/measure-suite.$$; exit 1; }
  tail -n 1 /tmp/measure-suite.$$
done
rm -f /tmp/measure-suite.$$
