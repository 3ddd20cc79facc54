#!/usr/bin/env bash
# Runs the hardware acceptance suite once per fault the simulated device can
# inject (IPU_SIM_FAULT) and writes the detection matrix as a Markdown table:
# one row per fault, one column per case, "X" where the case failed, that is,
# caught the fault. A first row without any fault shows the suite passing.
#
# Usage: scripts/fault-matrix.sh [BUILD_DIR] [OUTPUT]
#   BUILD_DIR  build tree holding bin/hardware_e2e, the runners and bin/ipu-sim-faults
#              (build/debug)
#   OUTPUT     where the table goes (standard output when absent)
#
# Exits 0 when every fault is caught by at least one case and every case
# catches at least one fault; 1 when one of them is not (named on standard
# error); 2 when the suite cannot be run or fails without a fault.
set -euo pipefail

build_dir=${1:-build/debug}
output=${2:-/dev/stdout}
suite="$build_dir/bin/hardware_e2e"
# Prints the fault catalogue, one name a line.
fault_catalogue="$build_dir/bin/ipu-sim-faults"

fail() {
  echo "fault-matrix: $*" >&2
  exit 2
}

[[ -x $suite ]] || fail "no suite at $suite (build it first)"
[[ -x $fault_catalogue ]] || fail "no fault catalogue at $fault_catalogue (build it first)"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

catalogue=$("$fault_catalogue") || fail "$fault_catalogue failed"
[[ -n $catalogue ]] || fail "$fault_catalogue lists no faults"
mapfile -t faults <<<"$catalogue"

# Case names, in the suite's order: "hardware." then one indented name per line.
mapfile -t cases < <("$suite" --gtest_list_tests | sed -n 's/^  \([a-z0-9_]*\).*/\1/p')
((${#cases[@]} > 0)) || fail "the suite lists no cases"

# Runs the suite with IPU_SIM_FAULT=$1 (empty: without IPU_SIM_FAULT, so no
# fault) and prints the names of the cases that failed, one per line.
failed_cases() {
  local fault=$1 report="$scratch/report.xml" status=0
  local setting=(-u IPU_SIM_FAULT)
  if [[ -n $fault ]]; then
    setting=("IPU_SIM_FAULT=$fault")
  fi
  env "${setting[@]}" "$suite" --gtest_output="xml:$report" >"$scratch/suite.log" 2>&1 ||
    status=$?
  if ((status != 0 && status != 101)) || [[ ! -s $report ]]; then
    tail -n 20 "$scratch/suite.log" >&2
    fail "the suite ended with status $status under fault '${fault:-none}'"
  fi
  awk '
    match($0, /<testcase name="[^"]*"/) {
      current = substr($0, RSTART + 16, RLENGTH - 17)
    }
    /<failure/ && current != "" && !(current in seen) {
      seen[current] = 1
      print current
    }
  ' "$report"
}

declare -A caught          # "fault case" -> 1
declare -A caught_by_case  # case -> number of faults it caught
row_of() {                 # fault, then its failed cases on standard input
  local fault=$1 row="| ${fault:-(none)} |" count=0 name
  declare -A failed=()
  while read -r name; do
    [[ -n $name ]] && failed[$name]=1
  done
  for name in "${cases[@]}"; do
    if [[ -n ${failed[$name]:-} ]]; then
      row+=" X |"
      count=$((count + 1))
      if [[ -n $fault ]]; then
        caught["$fault $name"]=1
        caught_by_case[$name]=$((${caught_by_case[$name]:-0} + 1))
      fi
    else
      row+="   |"
    fi
  done
  echo "$row $count |"
}

baseline_failures=$(failed_cases "")
[[ -z $baseline_failures ]] || fail "the suite fails without a fault: $baseline_failures"

{
  header="| Fault |"
  rule="|---|"
  for i in "${!cases[@]}"; do
    header+=" $((i + 1)) |"
    rule+=":-:|"
  done
  echo "$header Caught by |"
  echo "$rule:-:|"
  row_of "" <<<""
  for fault in "${faults[@]}"; do
    echo "fault-matrix: $fault" >&2
    failures=$(failed_cases "$fault")
    row_of "$fault" <<<"$failures"
  done
  echo
  echo "Cases (columns):"
  echo
  for i in "${!cases[@]}"; do
    echo "$((i + 1)). \`${cases[$i]}\`"
  done
} >"$output"

status=0
for fault in "${faults[@]}"; do
  found=0
  for name in "${cases[@]}"; do
    [[ -n ${caught["$fault $name"]:-} ]] && found=1
  done
  if ((found == 0)); then
    echo "fault-matrix: no case catches $fault" >&2
    status=1
  fi
done
for name in "${cases[@]}"; do
  if [[ -z ${caught_by_case[$name]:-} ]]; then
    echo "fault-matrix: $name catches no fault" >&2
    status=1
  fi
done
exit $status
