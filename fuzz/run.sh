#!/usr/bin/env bash
# Builds the fuzz preset, then runs every fuzz target in turn for SECONDS seconds each, starting
# from its checked-in seeds and regression inputs. Prints one line per target: executions and
# findings. A finding's input is copied to fuzz/regressions/<target>/, where the fuzz_regressions
# test replays it in every build; the run then fails.
# Usage: fuzz/run.sh SECONDS [TARGET...]
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:?usage: fuzz/run.sh SECONDS [TARGET...]}
shift
cmake --preset fuzz >/dev/null && cmake --build --preset fuzz >build/fuzz-build.log 2>&1 ||
  { tail -40 build/fuzz-build.log; echo "FAILED: the fuzz build"; exit 1; }

bin=build/fuzz/bin
work=build/fuzz/runs
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=($(ls "$bin" | sed -n 's/^fuzz_\(.*\)$/\1/p' | grep -v '^make_seeds$'))
fi

status=0
for target in "${targets[@]}"; do
  corpus=$work/$target/corpus
  artifacts=$work/$target/artifacts
  rm -rf "$artifacts" && mkdir -p "$corpus" "$artifacts"
  log=$work/$target/fuzz.log
  # The working corpus grows in the build folder; the checked-in seeds stay small.
  inputs=("$corpus")
  for folder in "fuzz/corpus/$target" "fuzz/regressions/$target"; do
    [ -d "$folder" ] && inputs+=("$folder")
  done
  "$bin/fuzz_$target" "${inputs[@]}" \
    -max_total_time="$seconds" -rss_limit_mb=256 -timeout=5 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" >"$log" 2>&1
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  findings=$(find "$artifacts" -type f | wc -l)
  if [ "$findings" -gt 0 ]; then
    status=1
    mkdir -p "fuzz/regressions/$target"
    cp "$artifacts"/* "fuzz/regressions/$target/"
  fi
  printf '%-16s execs %12s  findings %d\n' "$target" "${execs:-?}" "$findings"
done
exit $status
