#!/bin/sh
# One end-to-end test of a runner, started as the suite starts it:
#   run_runner_test.sh RUNNER STATUS [--stderr LINE] [NAME=value ...]
# Every IPU_ variable of the outer environment is cleared, so that nothing but
# the test's own settings can change the scenario; then RUNNER runs with the
# NAME=value settings. The test passes when it exits with STATUS and, with
# --stderr, has written exactly the one line LINE to standard error.
runner=$1
status=$2
shift 2
expected_stderr=
check_stderr=0
if [ "${1-}" = --stderr ]; then
  check_stderr=1
  expected_stderr=$2
  shift 2
fi

for variable in $(env | sed -n 's/^\(IPU_[A-Za-z0-9_]*\)=.*/\1/p'); do
  unset "$variable"
done

if [ "$check_stderr" = 1 ]; then
  stderr=$(env "$@" "$runner" 2>&1 >/dev/null)
  ended=$?
  [ "$ended" -eq "$status" ] && [ "$stderr" = "$expected_stderr" ] && exit 0
  echo "$runner exited $ended (expected $status) and wrote: $stderr" >&2
  exit 1
fi
env "$@" "$runner"
ended=$?
[ "$ended" -eq "$status" ] && exit 0
echo "$runner exited $ended (expected $status)" >&2
exit 1
