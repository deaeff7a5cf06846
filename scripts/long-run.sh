#!/usr/bin/env bash
# The long run: generated suites, some mangled, through the sanitized binary
# (or valgrind). Too slow for every CI run; see usage below.
set -euo pipefail

usage() {
  cat <<'EOF'
usage: scripts/long-run.sh [--valgrind] [SUITES] [FIRST_SEED]

Runs generated suites of mixed sizes, some of them mangled, through tarvolin
built with AddressSanitizer and UndefinedBehaviorSanitizer (in build-longrun/),
and fails on any output on standard error, an exit code other than 0 or 1, or
missing reports after a complete run.

  --valgrind   run the binary under valgrind's memcheck instead of the
               sanitizers (much slower; valgrind must be installed)
  SUITES       number of suites (default: 200)
  FIRST_SEED   seed of the first suite; suite i uses FIRST_SEED + i (default: 1)
  -h, --help   print this help and exit

A failing suite is kept in build-longrun/failed/<seed>/. Exit codes: 0 no
findings, 1 findings, 2 bad usage or valgrind missing.
EOF
}

use_valgrind=0
case "${1:-}" in
  -h | --help) usage; exit 0 ;;
  --valgrind) use_valgrind=1; shift ;;
esac
suites=${1:-200}
first_seed=${2:-1}
for number in "$suites" "$first_seed"; do
  if ! [[ $number =~ ^[0-9]+$ ]]; then
    case $number in
      -*) echo "long-run.sh: unknown option '$number'" >&2 ;;
      *) echo "long-run.sh: '$number' is not a number" >&2 ;;
    esac
    usage >&2
    exit 2
  fi
done
[ $# -le 2 ] || { echo "long-run.sh: too many arguments" >&2; usage >&2; exit 2; }
cd "$(dirname "$0")/.."
build=build-longrun

if [ $use_valgrind = 1 ]; then
  command -v valgrind >/dev/null || { echo "valgrind is not installed"; exit 2; }
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVOLIN_SANITIZE=OFF \
    -DTARVOLIN_TESTS=OFF >/dev/null
  runner=(valgrind --quiet --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite)
else
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVOLIN_SANITIZE=ON \
    -DTARVOLIN_TESTS=OFF >/dev/null
  runner=()
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:exitcode=99
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:exitcode=99
fi
cmake --build "$build" -j2 --target tarvolin tarvolin_generate >/dev/null
binary="$PWD/$build/tarvolin"
generator="$PWD/$build/tools/tarvolin_generate"

work="$build/suites"
rm -rf "$work" "$build/failed"
mkdir -p "$work"

# One suite per seed: the generator's figures, then the oddities it leaves
# out (odd time texts, later comments, mangled bytes). Sizes cycle from a
# handful of programs and positions to a few hundred of either; the seed
# alone decides everything, so a failing suite can be made again.
generate() {
  python3 - "$1" "$2" "$generator" <<'PY'
import os, random, re, subprocess, sys

seed, out, generator = int(sys.argv[1]), sys.argv[2], sys.argv[3]
rng = random.Random(seed)
size = [(2, 1), (3, 5), (8, 20), (20, 60), (40, 150), (120, 80), (250, 40), (60, 400)][seed % 8]
programs, positions = rng.randint(2, size[0]), rng.randint(1, size[1])
limits = ",".join(str(rng.choice([1, 5, 10, 30, 60, 300])) for _ in range(3))
subprocess.run([generator, "--out", out, "--force", "--seed", str(seed), "--programs", str(programs),
                "--positions", str(positions), "--density", str(rng.choice([1.0, 0.9, 0.5, 0.2])),
                "--limits", limits, "--offsets", rng.choice(["0:1", "-1:8", "0:400", "-5:0"]),
                "--groups", str(1 if rng.random() < 0.7 else rng.randint(2, 6))],
               check=True, stdout=subprocess.DEVNULL)
odd = ["0s", "-0s", ">0s", "0.000001s", "1e308s", "1,5s", "nans", "xs", "1e300s"]
with open(out + "/suite.pgn", encoding="latin-1", newline="") as f:
    text = f.read()
text = re.sub(r"(?<=' )[^,}]*s", lambda m: rng.choice(odd) if rng.random() < 0.05 else m[0], text)
text = re.sub(r"}\n", lambda m: rng.choice(["}\n", "} {second ['x'] {}\n", "} {'Prog 1' 1s}\n"]), text)
mangle = rng.random()
if mangle < 0.1:
    text = text[:rng.randint(0, len(text))]
elif mangle < 0.2:
    text = text.replace("\n", "\r\n")
elif mangle < 0.3:
    chars = list(text)
    for _ in range(rng.randint(1, 40)):
        chars.insert(rng.randint(0, len(chars)), chr(rng.choice([0, 9, 13, 34, 39, 44, 91, 93, 123, 125, 255])))
    text = "".join(chars)
with open(out + "/suite.pgn", "w", encoding="latin-1", newline="") as f:
    f.write(text)
if rng.random() < 0.4:
    os.remove(out + "/Offset.pgn")
print(programs, positions)
PY
}

reports=(general.dat cluster.dat rating.dat programs.dat positions.dat)
failures=0
complete=0
start=$(date +%s)
for ((i = 0; i < suites; i++)); do
  seed=$((first_seed + i))
  dir="$work/$seed"
  mkdir -p "$dir"
  shape=$(generate "$seed" "$dir")
  status=0
  (cd "$dir" && printf 'suite\n2600\n\n' | ${runner[@]+"${runner[@]}"} "$binary" >console.txt 2>errors.txt) ||
    status=$?
  problem=""
  if [ -s "$dir/errors.txt" ]; then
    problem="output on standard error"
  elif [ $status != 0 ] && [ $status != 1 ]; then
    problem="exit code $status"
  elif [ $status = 0 ]; then
    complete=$((complete + 1))
    [ "$(tail -c 7 "$dir/console.txt")" = $'\nReady!' ] || problem="no Ready! at the end"
    for report in "${reports[@]}"; do
      [ -f "$dir/$report" ] || problem="$report missing after a complete run"
    done
  fi
  if [ -n "$problem" ]; then
    failures=$((failures + 1))
    mkdir -p "$build/failed"
    cp -r "$dir" "$build/failed/$seed"
    echo "seed $seed ($shape programs/positions): $problem"
    head -n 30 "$dir/errors.txt"
  fi
  rm -rf "$dir"
done
echo "$suites suites ($complete complete runs) in $(($(date +%s) - start)) s, $failures with findings"
[ $failures = 0 ]
