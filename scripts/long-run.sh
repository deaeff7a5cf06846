#!/usr/bin/env bash
# The long run: generated suites, some mangled, through the sanitized binary
# (or valgrind). Too slow for every CI run.
set -euo pipefail
usage() {
  cat <<'EOF2'
usage: scripts/long-run.sh [--valgrind] [SUITES] [FIRST_SEED]

Runs SUITES (default 200) generated suites, some mangled, suite i from seed
FIRST_SEED + i (default 1), through tarvolin built with Address- and
UndefinedBehaviorSanitizer, or under valgrind with --valgrind. Fails on
standard error output, exit codes other than 0 and 1, or a complete run
without Ready! or reports; failing suites are kept in build-longrun/failed/.
Exits 0 clean, 1 findings, 2 bad usage; -h, --help prints this.
EOF2
}
sanitize=ON runner=()
case "${1:-}" in
  -h | --help) usage; exit 0 ;;
  --valgrind) sanitize=OFF runner=(valgrind --quiet --error-exitcode=99 --leak-check=full
                                   --errors-for-leak-kinds=definite); shift ;;
esac
suites=${1:-200} first_seed=${2:-1}
if [ $# -gt 2 ] || ! [[ $suites$first_seed =~ ^[0-9]+$ ]]; then
  echo "long-run.sh: bad arguments: $*" >&2; usage >&2; exit 2
fi
[ $sanitize = ON ] || command -v valgrind >/dev/null || { echo "valgrind is not installed"; exit 2; }
export ASAN_OPTIONS=detect_leaks=1:exitcode=99 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:exitcode=99
cd "$(dirname "$0")/.."
build=build-longrun
cmake -S . -B $build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVOLIN_SANITIZE=$sanitize -DTARVOLIN_TESTS=OFF >/dev/null
cmake --build $build -j2 --target tarvolin tarvolin_generate >/dev/null
binary=$PWD/$build/tarvolin generator=$PWD/$build/tools/tarvolin_generate
rm -rf $build/suites $build/failed

# The seed alone decides a suite: sizes from a handful to a few hundred
# programs or positions, then odd times, later comments and mangled bytes.
generate() {
  python3 - "$1" "$2" "$generator" <<'PY'
import os, random, re, subprocess, sys
seed, out, generator = int(sys.argv[1]), sys.argv[2], sys.argv[3]
rng = random.Random(seed)
size = [(2, 1), (3, 5), (8, 20), (20, 60), (40, 150), (120, 80), (250, 40), (60, 400)][seed % 8]
subprocess.run([generator, "--out", out, "--force", "--seed", str(seed),
                "--programs", str(rng.randint(2, size[0])), "--positions", str(rng.randint(1, size[1])),
                "--density", str(rng.choice([1.0, 0.9, 0.5, 0.2])),
                "--limits", ",".join(str(rng.choice([1, 5, 10, 30, 60, 300])) for _ in range(3)),
                "--offsets", rng.choice(["0:1", "-1:8", "0:400", "-5:0"]),
                "--groups", str(1 if rng.random() < 0.7 else rng.randint(2, 6))], check=True, stdout=subprocess.DEVNULL)
odd = ["0s", "-0s", ">0s", "0.000001s", "1e308s", "1,5s", "nans", "xs", "1e300s"]
text = open(out + "/suite.pgn", encoding="latin-1", newline="").read()
text = re.sub(r"(?<=' )[^,}]*s", lambda m: rng.choice(odd) if rng.random() < 0.05 else m[0], text)
text = re.sub(r"}\n", lambda m: rng.choice(["}\n", "} {second ['x'] {}\n", "} {'Prog 1' 1s}\n"]), text)
mangle = rng.random()
if mangle < 0.1: text = text[:rng.randint(0, len(text))]
elif mangle < 0.2: text = text.replace("\n", "\r\n")
for _ in range(rng.randint(1, 40) if 0.2 <= mangle < 0.3 else 0):
    at = rng.randint(0, len(text))
    text = text[:at] + chr(rng.choice([0, 9, 13, 34, 39, 44, 91, 93, 123, 125, 255])) + text[at:]
open(out + "/suite.pgn", "w", encoding="latin-1", newline="").write(text)
if rng.random() < 0.4: os.remove(out + "/Offset.pgn")
PY
}

failures=0 complete=0 start=$(date +%s)
for ((seed = first_seed; seed < first_seed + suites; seed++)); do
  dir=$build/suites/$seed status=0 problem=""
  mkdir -p "$dir" && generate "$seed" "$dir"
  (cd "$dir" && printf 'suite\n2600\n\n' | ${runner[@]+"${runner[@]}"} "$binary" >console.txt 2>errors.txt) || status=$?
  if [ -s "$dir/errors.txt" ]; then problem="output on standard error"
  elif [ $status != 0 ] && [ $status != 1 ]; then problem="exit code $status"
  elif [ $status = 0 ]; then
    complete=$((complete + 1))
    [ "$(tail -c 7 "$dir/console.txt")" = $'\nReady!' ] || problem="no Ready! at the end"
    for report in general cluster rating programs positions; do
      [ -f "$dir/$report.dat" ] || problem="$report.dat missing after a complete run"
    done
  fi
  if [ -n "$problem" ]; then
    failures=$((failures + 1)) && echo "seed $seed: $problem" && head -n 30 "$dir/errors.txt"
    mkdir -p $build/failed && cp -r "$dir" $build/failed/
  fi
  rm -rf "$dir"
done
echo "$suites suites ($complete complete runs) in $(($(date +%s) - start)) s, $failures with findings"
[ $failures = 0 ]
