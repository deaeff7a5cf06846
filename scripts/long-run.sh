#!/usr/bin/env bash
# The long run: many generated suites of mixed sizes, some of them mangled
# (cut short, CRLF line ends, stray bytes, offsets that eat up the limits),
# through the real binary under AddressSanitizer and UndefinedBehaviorSanitizer
# or, with --valgrind, under valgrind's memcheck. Any finding fails the run.
# Too slow for every CI run; run it before a release or after a change to the
# readers or the numeric phases.
#
#   scripts/long-run.sh [--valgrind] [SUITES] [FIRST_SEED]
#
# SUITES defaults to 200, FIRST_SEED to 1; a failing suite is kept with its
# console and error output under build-longrun/failed/.
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
cmake --build "$build" -j2 --target tarvolin >/dev/null
binary="$PWD/$build/tarvolin"

work="$build/suites"
rm -rf "$work" "$build/failed"
mkdir -p "$work"

# One suite per seed. Sizes cycle from a handful of programs and positions to
# a few hundred of either; the seed alone decides everything, so a failing
# suite can be made again with its seed.
generate() {
  python3 - "$1" "$2" <<'PY'
import random
import sys

seed, out = int(sys.argv[1]), sys.argv[2]
rng = random.Random(seed)
size = [(2, 1), (3, 5), (8, 20), (20, 60), (40, 150), (120, 80), (250, 40), (60, 400)][seed % 8]
programs = rng.randint(2, size[0])
positions = rng.randint(1, size[1])
names = ["Prog %d.%d" % (p, rng.randint(0, 9)) for p in range(programs)]
limits = [rng.choice([1, 5, 10, 30, 60, 300]) for _ in range(programs)]
density = rng.choice([1.0, 0.9, 0.5, 0.2])
groups = 1 if rng.random() < 0.7 else rng.randint(2, 6)


def time_text(p):
    r = rng.random()
    if r < 0.25:
        return ">%gs" % limits[p]
    if r < 0.3:
        return "%ss" % rng.choice(["0", "-0", ">0", "0.000001", "1e308", "1,5", "nan", "x"])
    return "%.2fs" % min(limits[p], rng.lognormvariate(1.0, 1.5))


games = []
for q in range(positions):
    group = q % groups
    entries = []
    for p in range(programs):
        if p % groups == group and rng.random() < density:
            entries.append("'%s' %s" % (names[p], time_text(p)))
    rng.shuffle(entries)
    fen = "%dk%d/8/8/8/8/8/8/K%d w - - 0 %d" % (q % 8, q % 7, q % 5, q)
    extra = rng.choice(["", " {second comment ['x'] {}", " {'Prog 0.0' 1s}"])
    games.append('[Event "Run"]\n[Site "?"]\n[Annotator "pos %d"]\n[FEN "%s"]\n\n{%s} 1. e4%s *\n'
                 % (q, fen, ", ".join(entries), extra))
text = "\n".join(games)

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

if rng.random() < 0.6:
    lines = ['[Event "warm-up"]\n{%s}\n' % ", ".join("'%s' 9s" % n for n in names)]
    for g in range(rng.randint(0, 5)):
        sample = ["'%s' %s" % (n, rng.choice(["0.5s", "2s", ">3s", "-1s", "1e300s", "60s"]))
                  for n in names if rng.random() < 0.5]
        lines.append('[Event "%d"]\n{%s}\n' % (g, ", ".join(sample + ["'Unknown' 1s"])))
    with open(out + "/Offset.pgn", "w") as f:
        f.write("".join(lines))
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
