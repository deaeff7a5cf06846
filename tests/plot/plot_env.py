"""Where the tests find the program, tool and data (set by CTest), and helpers."""

import contextlib
import glob
import io
import os
import shutil
import subprocess
import sys
import tempfile

SOURCE = os.environ.get("TARVOLIN_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
TOOL = os.path.join(SOURCE, "tools", "plot", "tarvolin-plot")
PUBLISH = os.path.join(SOURCE, "tools", "plot", "tarvolin-publish")
DATA = os.path.join(SOURCE, "tests", "data")
EXAMPLES = os.path.join(SOURCE, "examples")
BINARY = os.environ.get("TARVOLIN_BINARY", "")
GENERATOR = os.environ.get("TARVOLIN_GENERATOR", "")
BUILD_DIR = os.environ.get("TARVOLIN_BUILD_DIR", "")

sys.path.insert(0, os.path.join(SOURCE, "tools", "plot"))


def scratch(test):
    folder = tempfile.mkdtemp(prefix="tarvolin-plot-test-")
    test.addCleanup(shutil.rmtree, folder, True)
    return folder


def copy_case(name, folder):
    """An end-to-end case's files and expected reports, as a finished run;
    name may also be a whole path, as that of the examples."""
    for pattern in ("*.pgn", os.path.join("expected", "*.dat")):
        for path in glob.glob(os.path.join(DATA, name, pattern)):
            shutil.copy(path, folder)
    return folder


def read(path):
    with open(path, "rb") as handle:
        return handle.read()


def write(path, data):
    with open(path, "wb" if isinstance(data, bytes) else "w") as handle:
        handle.write(data)


def run_tarvolin(folder, name, start_elo="2600", check=True):
    return subprocess.run([BINARY], cwd=folder, input=f"{name}\n{start_elo}\n\n", text=True,
                          stdout=subprocess.DEVNULL, check=check, timeout=600).returncode


def plot(*arguments, env=None, launcher=False, publish=False):
    """tarvolin-plot, or tarvolin-publish with publish, on the arguments. In
    this process (no start-up of Python and matplotlib) unless testing the
    launcher."""
    if launcher or env is not None:
        return subprocess.run([PUBLISH if publish else TOOL, *arguments], capture_output=True,
                              text=True, env=env, timeout=600)
    if publish:
        from tarvolin_publish.cli import main
    else:
        from tarvolin_plot.cli import main
    out, err = io.StringIO(), io.StringIO()
    with contextlib.redirect_stdout(out), contextlib.redirect_stderr(err):
        code = main(list(arguments))
    return subprocess.CompletedProcess(arguments, code, out.getvalue(), err.getvalue())
