#!/usr/bin/env bash
# What --hold saves and what it changes: runs Debian's engines over a suite
# with the full limit twice (the second run is the yardstick: how much two
# identical runs differ anyway) and with --hold 1, 2 and 3, and prints a
# Markdown table of each run's wall time and how many engine-position
# entries agree with the first full run (both solved with the same time to
# the millisecond, or both failed). Not a test: at full size it takes hours.
#
# usage: scripts/bench-hold.sh [-t SECONDS] [-n POSITIONS] [-s SUITE.epd] [-e "ENGINE..."]
#                              [-b BUILD_DIR] [-o WORK_DIR]
#   -t  the limit per position (default 10)
#   -n  the suite's first N positions (default 100)
#   -s  the suite (default examples/suites/wac100.epd)
#   -e  engines, by their Debian program (default "stockfish toga2 ethereal-chess glaurung")
#   -b  the build holding tarvolin-solve (default build)
#   -o  where the runs' files go (default a new temporary folder)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
limit=10 count=100 suite="$root/examples/suites/wac100.epd" build="$root/build" work=""
engines="stockfish toga2 ethereal-chess glaurung"
while getopts "t:n:s:e:b:o:" flag; do
  case $flag in
    t) limit=$OPTARG ;;
    n) count=$OPTARG ;;
    s) suite=$OPTARG ;;
    e) engines=$OPTARG ;;
    b) build=$OPTARG ;;
    o) work=$OPTARG ;;
    *) sed -n '9,16p' "$0" >&2; exit 2 ;;
  esac
done
solve="$build/tarvolin-solve"
[[ -x $solve ]] || { echo "no $solve: build it first (cmake --build $build --target tarvolin-solve)" >&2; exit 2; }
command -v python3 >/dev/null || { echo "python3 is needed to compare the runs" >&2; exit 2; }

# Debian's package for each engine program.
package_of() { case $1 in ethereal-chess) echo ethereal-chess ;; *) echo "$1" ;; esac; }
program_path() { if [[ -x /usr/games/$1 ]]; then echo "/usr/games/$1"; else command -v "$1" || true; fi; }
missing=()
for engine in $engines; do [[ -n $(program_path "$engine") ]] || missing+=("$(package_of "$engine")"); done
if ((${#missing[@]})); then
  if [[ $(id -u) == 0 ]]; then
    apt-get install -y "${missing[@]}" >/dev/null
  else
    echo "missing engines: as root run  apt-get install ${missing[*]}" >&2
    exit 2
  fi
fi

work=${work:-$(mktemp -d)}
mkdir -p "$work"
head -n "$count" "$suite" > "$work/suite.epd"
engine_args=()
for engine in $engines; do
  engine_args+=(--engine "cmd=$(program_path "$engine")")
  # One search thread each, so that the two workers fit the two cores (glaurung starts two).
  [[ $engine == stockfish || $engine == glaurung ]] && engine_args+=(option.Threads=1)
done

runs=(full full-again hold-1 hold-2 hold-3)
declare -A seconds
for run in "${runs[@]}"; do
  hold=()
  [[ $run == hold-* ]] && hold=(--hold "${run#hold-}")
  rm -f "$work/$run.pgn"
  start=$(date +%s%N)
  # Exit 1 (an engine crashed or hung somewhere) still leaves a summary.
  "$solve" --epd "$work/suite.epd" "${engine_args[@]}" --time "$limit" --concurrency 2 \
    --out "$work/$run.pgn" --summary-json "$work/$run.json" "${hold[@]}" \
    >"$work/$run.table" 2>"$work/$run.log" || true
  ms=$((($(date +%s%N) - start) / 1000000))
  seconds[$run]=$((ms / 1000)).$(printf %03d $((ms % 1000)))
  echo "$run: ${seconds[$run]} s" >&2
done

echo "$count positions, --time $limit, --concurrency 2, engines: $engines"
echo
python3 - "$work" "${runs[@]}" <<PY
import json, sys
work, runs = sys.argv[1], sys.argv[2:]
wall = {$(for run in "${runs[@]}"; do printf '"%s": %s, ' "$run" "${seconds[$run]}"; done)}
def entries(run):
    with open(f"{work}/{run}.json") as f:
        doc = json.load(f)
    out = {}
    for position in doc["positions"]:
        for result in position["results"]:
            key = (position["number"], result["engine"])
            if result.get("not_run"):
                out[key] = None
            else:
                out[key] = round(result["seconds"], 3) if result["solved"] else "failed"
    return out
base = entries("full")
print("| run | wall time | solved | agrees with the first full run |")
print("|---|---|---|---|")
for run in runs:
    mine = entries(run)
    keys = [k for k in base if k in mine and base[k] is not None and mine[k] is not None]
    same = sum(1 for k in keys if base[k] == mine[k])
    solved = sum(1 for v in mine.values() if v not in (None, "failed"))
    share = f"{same}/{len(keys)} ({100.0 * same / len(keys):.1f} %)" if keys else "-"
    print(f"| {run} | {wall[run]:.1f} s | {solved}/{len(mine)} | {share} |")
PY
