#!/usr/bin/python3
"""The Windows build against the Linux build, case by case.

Makes a few hundred cases (generated suites of many shapes, the worked cases
in tests/data, the example, the fuzzers' whole-run seeds, and each of the
repository's cases again with CR LF line ends and a Ctrl-Z at the end),
runs the Linux program on each and the Windows one under wine, and requires
the same exit code, the same console and the same five reports, byte for
byte but for the sign of a printed zero (see zero_signs.py). The Windows
side runs all cases in one process (tarvolin_run_cases.exe) per pass, and
the real tarvolin.exe on the repository's cases, whose console must be in
text mode: CR LF, otherwise the Linux console.

--threads 1,2,4 makes one Windows pass per count, with TARVOLIN_THREADS set
to it; without it the variable passes through from the environment as is.
"""

import argparse, os, random, re, shutil, subprocess, sys, time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from zero_signs import same_but_zero_signs  # noqa: E402

SOURCE = Path(__file__).resolve().parents[2]
REPORTS = ["general.dat", "cluster.dat", "rating.dat", "programs.dat", "positions.dat"]
SESSION = SOURCE / "tests/windows/wine-session.sh"


def write(path, data):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)


def crlf_ctrl_z(data):
    return data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n") + b"\x1a"


def repository_cases(cases):
    """The repository's own cases, each also with CR LF and a Ctrl-Z."""
    made = {}
    for folder in sorted((SOURCE / "tests/data").glob("e2e_*")):
        made[folder.name] = {f.name: f.read_bytes() for f in folder.glob("*.pgn")}
        made[folder.name]["answers.txt"] = (folder / "answers.txt").read_bytes()
    examples = SOURCE / "examples"
    made["example"] = {n: (examples / n).read_bytes() for n in ("suite.pgn", "Offset.pgn")}
    made["example"]["answers.txt"] = b"suite\n2600\n\n"
    for seed in sorted((SOURCE / "fuzz/corpus/whole_run").glob("*.pgn")):
        results, _, offsets = seed.read_bytes().partition(b"\n%Offset\n")
        files = {"fuzz-input.pgn": results, "answers.txt": b"fuzz-input\n2600\n\n"}
        if offsets:
            files["Offset.pgn"] = offsets
        made["fuzz_" + seed.stem] = files
    for name, files in list(made.items()):
        made[name + "_crlf"] = {n: crlf_ctrl_z(d) if n.endswith(".pgn") else d
                                for n, d in files.items()}
    for name, files in made.items():
        for file, data in files.items():
            write(cases / name / file, data)
    return sorted(made)


def generated_cases(cases, count, seed, generator):
    rng = random.Random(seed)
    names = []
    for n in range(count):
        name = "gen%03d" % n
        large = n % 25 == 0  # enough work for the builder's threads
        limits = ",".join(str(rng.choice([2, 5, 10, 30, 60, 120, 300]))
                          for _ in range(rng.randint(1, 3)))
        low = rng.choice([-1.0, 0.0, 0.0])
        subprocess.run([generator, "--out", str(cases / name), "--name", "suite",
                        "--programs", str(rng.randint(150, 300) if large else rng.randint(2, 40)),
                        "--positions", str(rng.randint(200, 600) if large else rng.randint(1, 80)),
                        "--density", str(rng.choice([1.0, 1.0, 0.9, 0.6, 0.3, 0.1])),
                        "--solved", "%.2f" % rng.uniform(0.2, 0.95), "--limits", limits,
                        "--offsets", "%g:%g" % (low, rng.choice([1.5, 8.0])),
                        "--offset-share", "%.2f" % rng.random(),
                        "--groups", str(rng.randint(1, 4)), "--seed", str(rng.randrange(1 << 30))],
                       check=True, stdout=subprocess.DEVNULL)
        elo = rng.choice([b"2600", b"2600", b"2450.7", b"1800", b"abc", b"3100"])
        write(cases / name / "answers.txt", b"suite\n" + elo + b"\n\n")
        names.append(name)
    return names


def run_linux(program, folder):
    answers = (folder / "answers.txt").read_bytes()
    done = subprocess.run([program], input=answers, cwd=folder, capture_output=True)
    write(folder / "console.txt", done.stdout)
    return done.returncode


def run_windows(runner, root, names, threads):
    (root / "list.txt").write_text("".join(n + "\n" for n in names))
    env = dict(os.environ)
    if threads is not None:
        env["TARVOLIN_THREADS"] = threads
    done = subprocess.run([str(SESSION), "run", str(runner), "list.txt"], cwd=root, env=env,
                          stdin=subprocess.DEVNULL, capture_output=True, check=True)
    codes = dict(line.split() for line in done.stdout.decode().splitlines())
    return {name: int(code) for name, code in codes.items()}


def without_timing(console):
    return re.sub(rb"CPU time = [0-9]+ sec", b"CPU time = 0 sec", console)


def differences(linux, windows, console_in_text_mode=False):
    """What differs between two runs of a case, and how many of the reports
    differ only in the sign of a zero."""
    found, sign_only = [], 0
    console = without_timing((windows / "console.txt").read_bytes())
    if console_in_text_mode:
        if re.search(rb"(?<!\r)\n", console):
            found.append("console: a line end without CR")
        console = console.replace(b"\r\n", b"\n")
    if console != without_timing((linux / "console.txt").read_bytes()):
        found.append("console")
    for report in REPORTS:
        a, b = linux / report, windows / report
        if a.exists() != b.exists():
            found.append(report + " written on one side only")
        elif a.exists() and a.read_bytes() != b.read_bytes():
            if same_but_zero_signs(a.read_bytes(), b.read_bytes()):
                sign_only += 1
            else:
                found.append(report)
    return found, sign_only


def copy_cases(cases, names, to):
    for name in names:
        shutil.copytree(cases / name, to / name)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--linux", default=str(SOURCE / "build"), help="Linux build folder")
    parser.add_argument("--windows", default=str(SOURCE / "build-windows"),
                        help="Windows build folder")
    parser.add_argument("--cases", type=int, default=300, help="generated cases (default: 300)")
    parser.add_argument("--seed", type=int, default=20261209, help="seed of the generated cases")
    parser.add_argument("--threads", help="TARVOLIN_THREADS values, one Windows pass each")
    args = parser.parse_args()
    started = time.monotonic()
    linux, windows = Path(args.linux).resolve(), Path(args.windows).resolve()
    work = windows / "compare"
    shutil.rmtree(work, ignore_errors=True)
    os.environ.setdefault("WINEPREFIX", str(windows / "wine"))
    cases = work / "cases"
    repository = repository_cases(cases)
    names = repository + generated_cases(cases, args.cases, args.seed,
                                         linux / "tools/tarvolin_generate")
    copy_cases(cases, names, work / "linux")
    linux_codes = {n: run_linux(linux / "tarvolin", work / "linux" / n) for n in names}

    subprocess.run([str(SESSION), "start"], check=True, stdin=subprocess.DEVNULL)
    failures, sign_only_cases, sign_only_reports = [], set(), 0
    passes = args.threads.split(",") if args.threads else [None]
    for threads in passes:
        side = work / ("windows" if threads is None else "windows-threads-" + threads)
        copy_cases(cases, names, side)
        codes = run_windows(windows / "tests/windows/tarvolin_run_cases.exe", side, names, threads)
        for name in names:
            found, sign_only = differences(work / "linux" / name, side / name)
            if codes.get(name) != linux_codes[name]:
                found.append("exit code %s against %s" % (codes.get(name), linux_codes[name]))
            failures += ["%s (%s): %s" % (name, side.name, ", ".join(found))] if found else []
            sign_only_reports += sign_only
            if sign_only and not found:
                sign_only_cases.add(name)
    # The real program on the repository's cases, its console in text mode.
    for name in repository:
        folder = work / "exe" / name
        shutil.copytree(cases / name, folder)
        done = subprocess.run([str(SESSION), "run", str(windows / "tarvolin.exe")],
                              input=(folder / "answers.txt").read_bytes(), cwd=folder,
                              capture_output=True)
        write(folder / "console.txt", done.stdout)
        found, _ = differences(work / "linux" / name, folder, console_in_text_mode=True)
        if done.returncode != linux_codes[name]:
            found.append("exit code %d against %d" % (done.returncode, linux_codes[name]))
        failures += ["%s (tarvolin.exe): %s" % (name, ", ".join(found))] if found else []
    subprocess.run([str(SESSION), "stop"], stdin=subprocess.DEVNULL)

    print("compare_reports: %d cases (%d generated, %d from the repository) x %d pass(es), "
          "%d through tarvolin.exe; %d case(s) equal but for the sign of a zero "
          "(%d report(s)); %d difference(s); %.0f s"
          % (len(names), args.cases, len(repository), len(passes), len(repository),
             len(sign_only_cases), sign_only_reports, len(failures),
             time.monotonic() - started))
    for failure in failures[:20]:
        print("  differs:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
