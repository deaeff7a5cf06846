"""The tool starts under Debian's interpreter whichever python3 comes first
on the PATH, from the source tree and installed."""

import os
import stat
import subprocess
import unittest

from plot_env import BUILD_DIR, TOOL, copy_case, plot, scratch, write


class LauncherTest(unittest.TestCase):
    def test_help_with_another_python3_first_on_the_path(self):
        bin_dir = scratch(self)
        write(os.path.join(bin_dir, "python3"), "#!/bin/sh\necho 'not this one' >&2\nexit 7\n")
        os.chmod(os.path.join(bin_dir, "python3"), stat.S_IRWXU)
        done = plot("--help", env=dict(os.environ, PATH=bin_dir + os.pathsep + os.environ["PATH"]))
        self.assertEqual((done.returncode, done.stderr), (0, ""))
        for text in ("usage: tarvolin-plot", "--dir", "--result", "--out", "--png", "(default: "):
            self.assertIn(text, done.stdout)

    def test_started_by_an_interpreter_without_matplotlib(self):
        # -S leaves out the site packages, matplotlib among them, as an
        # interpreter of its own would: the launcher hands over to Debian's.
        env = {key: value for key, value in os.environ.items() if key != "TARVOLIN_PLOT_REEXEC"}
        folder = copy_case("e2e_small", scratch(self))
        done = subprocess.run(["/usr/bin/python3", "-S", TOOL, "--dir", folder],
                              capture_output=True, text=True, env=env, timeout=120)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertIn("ratings.svg", done.stdout)
        # Handed over once only: a second interpreter without it says so.
        env["TARVOLIN_PLOT_REEXEC"] = "1"
        done = subprocess.run(["/usr/bin/python3", "-S", TOOL, "--help"],
                              capture_output=True, text=True, env=env, timeout=120)
        self.assertEqual(done.returncode, 1)
        self.assertIn("python3-matplotlib", done.stderr)

    @unittest.skipUnless(BUILD_DIR, "needs the build folder")
    def test_installed(self):
        prefix = scratch(self)
        subprocess.run(["cmake", "--install", BUILD_DIR, "--prefix", prefix], check=True,
                       stdout=subprocess.DEVNULL, timeout=300)
        folder = copy_case("e2e_two_clusters", scratch(self))
        done = subprocess.run([os.path.join(prefix, "bin", "tarvolin-plot"), "--dir", folder],
                              capture_output=True, text=True, timeout=120)
        self.assertEqual(done.returncode, 0, done.stderr)
        for stem in ("ratings", "solved", "positions"):
            self.assertTrue(os.path.isfile(os.path.join(folder, stem + ".svg")))
        # The same launcher under its other name publishes.
        done = subprocess.run([os.path.join(prefix, "bin", "tarvolin-publish"), "--dir", folder],
                              capture_output=True, text=True, timeout=120)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertTrue(os.path.isfile(os.path.join(folder, "site", "index.html")))


if __name__ == "__main__":
    unittest.main()
