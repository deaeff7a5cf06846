"""Where the tests find the program, the tool and the data (set by CTest),
and a few helpers to run things in a scratch folder."""

import glob
import os
import shutil
import subprocess
import sys
import tempfile

SOURCE = os.environ.get("TARVOLIN_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
TOOL = os.path.join(SOURCE, "tools", "plot", "tarvolin-plot")
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
    """An end-to-end case's files and expected reports, as a finished run."""
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


def run_tarvolin(folder, name, start_elo="2600"):
    subprocess.run([BINARY], cwd=folder, input=f"{name}\n{start_elo}\n\n", text=True,
                   stdout=subprocess.DEVNULL, check=True, timeout=600)


def plot(*arguments, env=None):
    return subprocess.run([TOOL, *arguments], capture_output=True, text=True, timeout=600, env=env)
