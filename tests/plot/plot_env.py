"""Where the tests find the program, the tool and the data (set by CTest),
and a few helpers to run things in a scratch folder."""

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
    """A temporary folder removed after the test."""
    folder = tempfile.mkdtemp(prefix="tarvolin-plot-test-")
    test.addCleanup(shutil.rmtree, folder, True)
    return folder


def copy_case(name, folder):
    """An end-to-end case (its result file, Offset.pgn and expected reports)
    laid out as a finished run in folder."""
    case = os.path.join(DATA, name)
    for entry in os.listdir(case):
        if entry.endswith(".pgn"):
            shutil.copy(os.path.join(case, entry), folder)
    for entry in os.listdir(os.path.join(case, "expected")):
        if entry.endswith(".dat"):
            shutil.copy(os.path.join(case, "expected", entry), folder)
    return folder


def run_tarvolin(folder, name, start_elo="2600"):
    subprocess.run([BINARY], cwd=folder, input=f"{name}\n{start_elo}\n\n", text=True,
                   stdout=subprocess.DEVNULL, check=True, timeout=600)


def plot(*arguments, env=None):
    command = [TOOL, *arguments]
    return subprocess.run(command, capture_output=True, text=True, timeout=600, env=env)
