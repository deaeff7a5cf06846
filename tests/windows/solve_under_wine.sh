#!/usr/bin/env bash
# tarvolin-solve.exe under wine, driven by the scripted engine: what differs
# on Windows (starting engines, killing them, replacing and locking the
# result file) checked as a user would see it. Usage:
#   solve_under_wine.sh [TARVOLIN-SOLVE.EXE [FAKE-ENGINE.EXE]]
# (by default the ones in build-windows/). Where a Linux build sits in
# build/, the games must also equal the ones it writes.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
solve=$(realpath "${1:-$root/build-windows/tarvolin-solve.exe}")
engine=$(realpath "${2:-$root/build-windows/tarvolin_fake_engine.exe}")
[[ -f $solve && -f $engine ]] || { echo "no Windows build: $solve"; exit 1; }
# The build's wine prefix, shared with its other tests: nothing from $HOME,
# and made on first use (which takes a while) where CTest has not made it.
export WINEPREFIX="${WINEPREFIX:-$(dirname "$solve")/wine}"
wine=("$root/tests/windows/wine-session.sh" run)
"${wine[@]}" cmd /c exit >/dev/null 2>&1 || { echo "wine does not run"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

passed=0 failed=0
check() {  # check WHAT COMMAND...
  local what=$1
  shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)) && echo "FAILED: $what"; fi
}
has() { grep -qF -- "$2" "$1" || { echo "--- no '$2' in $1:" && cat "$1"; false; }; }
by_game() { awk '/^\[FEN /{fen = $0} /^\{/{print fen " " $0}' "$1" | sort; }
games() {
  local n
  n=$(grep -c '^\[Event ' "$1" 2>/dev/null)
  echo "${n:-0}"
}
solve() { "${wine[@]}" "$solve" "$@" </dev/null >out.txt 2>err.txt; }
# Whether a process of that name runs (wine shows Windows programs by their
# name); dead ones wait to be collected, which is not ours to do.
# shellcheck disable=SC2009
alive() { ps -eo stat=,args= | grep -qa "^[^Z].*$1"; }
alive_none() { ! alive "$1"; }

# Engines live in a folder with a blank, under a name with a blank.
mkdir "engines dir"
cp "$engine" "engines dir/fake engine.exe"
# Four positions, the white king a different square in each: Ra8+ mates.
cat >s.epd <<'EOF'
7k/8/8/8/8/8/8/R5K1 w - - bm Ra8+; id "one";
7k/8/8/8/8/8/1K6/R7 w - - bm Ra8+; id "two";
7k/8/8/8/8/8/2K5/R7 w - - bm Ra8+; id "three";
7k/8/8/8/8/8/3K4/R7 w - - bm Ra8+; id "four";
EOF
# Alpha solves at the times it reports, but plays a wrong move on "four";
# Beta solves everything at once.
cat >alpha.script <<'EOF'
name Alpha
position 7k/8/8/8/8/8/8/R5K1
info depth 1 time 120 pv a1a8
bestmove a1a8
position 7k/8/8/8/8/8/1K6
info depth 1 time 40 pv a1a2
info depth 2 time 350 pv a1a8
bestmove a1a8
position 7k/8/8/8/8/8/2K5
info depth 3 time 75 pv a1a8
bestmove a1a8
position 7k/8/8/8/8/8/3K4
info depth 1 time 10 pv a1a7
bestmove a1a7
EOF
printf 'name Beta Engine\nposition 7k/\ninfo depth 1 time 5 pv a1a8\nbestmove a1a8\n' >beta.script

echo "== a suite solved by two engines, two at a time"
solve --epd s.epd --engine "cmd=engines dir/fake engine.exe" arg=alpha.script \
  --engine "cmd=engines dir/fake engine.exe" arg=beta.script --time 1 --concurrency 2 --out o.pgn
check "the run succeeds" test $? -eq 0
check "four games" test "$(games o.pgn)" -eq 4
check "times as reported" has o.pgn "{'Alpha' 0.120s, 'Beta Engine' 0.005s}"
check "the later right move counts" has o.pgn "{'Alpha' 0.350s, 'Beta Engine' 0.005s}"
check "a wrong move fails" has o.pgn "{'Alpha' >1s, 'Beta Engine' 0.005s}"
check "the summary" grep -qE '^Alpha +3/4 ' out.txt
check "LF line ends, as on Linux" test "$(grep -c $'\r' o.pgn)" -eq 0
linux="$root/build/tarvolin-solve" linux_engine="$root/build/tests/tarvolin_fake_engine"
if [[ -x $linux && -x $linux_engine ]]; then
  mkdir linux && cp s.epd alpha.script beta.script linux/
  (cd linux && "$linux" --epd s.epd --engine "cmd=$linux_engine" arg=alpha.script \
    --engine "cmd=$linux_engine" arg=beta.script --time 1 --concurrency 2 --out o.pgn \
    </dev/null >/dev/null 2>&1)
  # Two engines at a time finish positions in either order; each game must
  # be the same, with the same comment.
  check "the games the Linux build writes" diff <(by_game o.pgn) <(by_game linux/o.pgn)
  check "the lines the Linux build writes" diff <(sort o.pgn) <(sort linux/o.pgn)
fi

echo "== engine paths: without .exe, with a dot, and arguments with blanks, quotes, backslashes"
cp "$engine" "engines dir/fake-1.2.exe"
printf 'args args.txt\n' >args.script
for cmd in "engines dir/fake engine" "engines dir/fake-1.2"; do
  rm -f args.txt o.pgn
  # shellcheck disable=SC1003 # a backslash that ends a word, as meant
  solve --epd s.epd --engine "cmd=$cmd" arg=args.script arg="two words" arg='say "hi" now' \
    'arg=C:\trail\' arg= 'arg=a\\"b' --time 0.1 --out o.pgn
  check "$cmd starts" test $? -eq 0 -a "$(games o.pgn)" -eq 4
  printf 'two words\nsay "hi" now\nC:\\trail\\\n\na\\\\"b\n' >args.expected
  check "$cmd gets its arguments whole" cmp <(tr -d '\r' <args.txt) args.expected
done
solve --epd s.epd --engine "cmd=engines dir/no engine" --time 0.1 --out o.pgn
check "a missing engine is refused" test $? -eq 2
check "with a reason" has err.txt "(engines dir/no engine) cannot be started: "
solve --epd s.epd --engine "cmd=s.epd" --time 0.1 --out o.pgn
check "a file that is no program is refused" test $? -eq 2
check "with a reason that names it" grep -qE '\(s\.epd\) cannot be started: [^%]*s\.epd' err.txt

echo "== an engine that falls silent is killed at its deadline and the run goes on"
cp "$engine" "engines dir/mute.exe"
printf 'name Mute\nlog mute.log\nposition 7k/8/8/8/8/8/8/R5K1\nhang\nposition 7k/\nbestmove a1a8\n' \
  >mute.script
rm -f o.pgn
start=$(date +%s)
solve --epd s.epd --engine "cmd=engines dir/mute.exe" arg=mute.script --time 1 --out o.pgn
code=$? seconds=$(($(date +%s) - start))
check "the run reports the hang" test $code -eq 1
check "named as a hang" has err.txt "warning: engine 'Mute' hung (no bestmove in time) on position 1"
check "the run went on" test "$(games o.pgn)" -eq 3
check "restarted once" test "$(tr -d '\r' <mute.log | grep -c '^uci$')" -eq 2
check "in about the limit, grace and stop's grace ($seconds s)" test $seconds -le 8
check "no engine left running" alive_none "mute[.]exe"

echo "== one writer per result file"
cp "$engine" "engines dir/slow.exe"
printf 'name Slow\nposition 7k/\nsleep 400\nbestmove a1a8\n' >slow.script
slow=(--epd s.epd --engine "cmd=engines dir/slow.exe" arg=slow.script --time 1 --out o.pgn)
rm -f o.pgn
"${wine[@]}" "$solve" "${slow[@]}" </dev/null >first.out 2>first.err &
first=$!
for _ in $(seq 100); do [[ -f o.pgn.lock ]] && break; sleep 0.05; done
solve "${slow[@]}"
check "a second run is refused" test $? -eq 2
check "naming the holder" grep -qE '^tarvolin-solve: o\.pgn is in use by another run \(process [1-9][0-9]*\); nothing was written' err.txt
wait $first
check "the first run finishes" test $? -eq 0 -a "$(games o.pgn)" -eq 4
check "and removes its lock file" test ! -e o.pgn.lock

# A run stopped by the signal once it has saved a game keeps whole games
# only, leaves no engine behind, and the next run finishes the suite.
stopped_run() {
  "${wine[@]}" "$solve" "${slow[@]}" </dev/null >first.out 2>first.err &
  first=$!
  for _ in $(seq 100); do [[ $(games o.pgn) -ge 1 ]] && break; sleep 0.05; done
  kill "-$1" $first
  wait $first 2>/dev/null
  sleep 0.5
  kept=$(games o.pgn)
  check "whole games only ($kept)" test "$kept" -ge 1 -a "$kept" -lt 4 -a "$(grep -c '^{' o.pgn)" -eq "$kept"
  check "no engine left running" alive_none "slow[.]exe"
  solve "${slow[@]}"
  check "the next run $2" test $? -eq 0 -a "$(games o.pgn)" -eq 4
}

echo "== a run killed outright keeps every finished game, and its lock goes with it"
rm -f o.pgn
stopped_run KILL "takes the lock and finishes"

echo "== a run killed outright ends its engines, even one that no longer reads its input"
cp "$engine" "engines dir/stuck.exe"
printf 'name Stuck\nposition 7k/\nhang\n' >stuck.script
rm -f k.pgn
"${wine[@]}" "$solve" --epd s.epd --engine "cmd=engines dir/stuck.exe" arg=stuck.script --time 5 \
  --out k.pgn </dev/null >first.out 2>first.err &
first=$!
for _ in $(seq 100); do alive "stuck[.]exe" && break; sleep 0.05; done
kill -KILL $first
wait $first 2>/dev/null
sleep 0.5
check "the stuck engine is gone" alive_none "stuck[.]exe"

echo "== an interrupted run (wine turns SIGINT into Ctrl-C) keeps every finished game"
rm -f o.pgn o.pgn.lock
stopped_run INT "finishes the suite"

echo "== a rewrite that fails leaves the old file"
cp o.pgn old.pgn
printf '7k/8/8/8/8/8/4K3/R7 w - - bm Ra8+;\n' >>s.epd
# An engine that keeps the result file open, as an editor might: Windows
# then refuses to replace it.
printf 'name Holder\nhold o.pgn\nposition 7k/\nbestmove a1a8\n' >holder.script
solve --epd s.epd --engine "cmd=engines dir/fake engine.exe" arg=holder.script --time 1 --out o.pgn
check "the run fails" test $? -eq 1
check "saying why" has err.txt "tarvolin-solve: cannot write o.pgn: "
check "the old file stays" cmp o.pgn old.pgn
check "no temporary file is left" test -z "$(compgen -G '*.tmp.*')"

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
