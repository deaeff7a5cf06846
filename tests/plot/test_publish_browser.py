"""The published page in a real browser: every rated program is there,
headers sort each cluster up and then down, links lead somewhere, and the
console stays quiet; on a narrow screen nothing spills sideways but the
tables' own scroll boxes. A capacity run's page stays usable."""

import base64
import os
import socket
import subprocess
import time
import unittest

from browser import browser, errors, file_url
from plot_env import BUILD_DIR, GENERATOR, copy_case, plot, read, run_tarvolin, scratch
from selenium.webdriver.common.by import By
from test_publish_exports import rating_rows


def publish(test, folder):
    out = os.path.join(scratch(test), "site")
    done = plot("--dir", folder, "--out", out, publish=True)
    test.assertEqual(done.returncode, 0, done.stderr)
    return os.path.join(out, "index.html")


def cluster_rows(driver, column):
    """Per cluster, the rows' (program, text of column)."""
    return [[(row.find_element(By.CSS_SELECTOR, "td:nth-child(2)").text,
              row.find_element(By.CSS_SELECTOR, f"td:nth-child({column})").text)
             for row in body.find_elements(By.CSS_SELECTOR, "tr:not(.cluster)")]
            for body in driver.find_elements(By.CSS_SELECTOR, "#ratings tbody")]


def localhost_resolves():
    try:
        socket.getaddrinfo("localhost", None)
        return True
    except OSError:
        return False


# The driver and the browser find each other by the name localhost, which
# every installed system resolves; a bare root file system without
# /etc/hosts does not, and there no browser can be driven at all.
@unittest.skipUnless(localhost_resolves(), "the name localhost does not resolve here")
class BrowserTest(unittest.TestCase):
    def test_sorting_links_and_a_narrow_screen(self):
        folder = copy_case("e2e_two_clusters", scratch(self))
        page = publish(self, folder)
        expected = rating_rows(folder)  # cluster, rank, name, elo, ...
        with browser() as driver:
            driver.get(file_url(page))
            self.assertEqual(driver.title, "Rating list: two.pgn")
            names = [[name for name, _ in block] for block in cluster_rows(driver, 3)]
            self.assertEqual(names, [[r[2] for r in expected if r[0] == c] for c in "12"])
            elo = driver.find_element(By.CSS_SELECTOR, "#ratings thead th.elo")
            self.assertEqual(elo.text, "Elo")
            self.assertEqual(len(driver.find_elements(By.CSS_SELECTOR, "#ratings td.elo")), 4)
            for order in ("ascending", "descending"):
                elo.click()
                self.assertEqual(elo.get_attribute("aria-sort"), order)
                blocks = cluster_rows(driver, 3)
                self.assertEqual([sorted(b, key=lambda r: int(r[1]),
                                         reverse=order == "descending") for b in blocks], blocks)
                self.assertEqual([len(b) for b in blocks], [2, 2])
            driver.find_element(By.CSS_SELECTOR, "#ratings thead th:nth-child(2)").click()
            self.assertEqual([[n for n, _ in b] for b in cluster_rows(driver, 3)],
                             [["Alder", "Cedar"], ["Birch", "Dogwood"]])
            # A program's link leads to its section, which links its positions.
            driver.find_element(By.LINK_TEXT, "Birch").click()
            section = driver.find_element(By.ID, driver.current_url.split("#")[1])
            self.assertIn("Birch", section.find_element(By.TAG_NAME, "h3").text)
            solved = section.find_elements(By.CSS_SELECTOR, "p:nth-last-of-type(2) a")
            self.assertEqual([a.text for a in solved], ["2", "3"])
            self.assertEqual(len(driver.find_elements(By.CSS_SELECTOR, "figure svg")), 3)
            self.assertEqual(errors(driver), [])
            # It prints.
            self.assertTrue(base64.b64decode(driver.print_page()).startswith(b"%PDF"))
            driver.set_window_size(390, 844)
            width = driver.execute_script("return document.documentElement.scrollWidth")
            self.assertLessEqual(width, 390)
            driver.save_screenshot(os.path.join(BUILD_DIR or scratch(self), "publish-phone.png"))

    @unittest.skipUnless(GENERATOR, "needs tarvolin_generate")
    def test_capacity_run(self):
        folder = scratch(self)
        subprocess.run([GENERATOR, "--out", folder, "--programs", "1000", "--positions", "400",
                        "--density", "0.1", "--seed", "1"], check=True,
                       stdout=subprocess.DEVNULL, timeout=300)
        run_tarvolin(folder, "suite")
        page = publish(self, folder)
        # A million opponent lines would not open: the page leaves them to matches.csv,
        # which holds every one of programs.dat.
        opponents = sum(1 for line in read(os.path.join(folder, "programs.dat")).split(b"\n")
                        if b" (+" in line and not line.startswith(b"Total "))
        with open(os.path.join(os.path.dirname(page), "matches.csv"), "rb") as handle:
            self.assertEqual(sum(1 for _ in handle), opponents + 1)
        self.assertGreater(opponents, 20000)
        self.assertIn(b"opponents are in matches.csv", read(page))
        size = os.path.getsize(page)
        print(f"capacity page: {size / 1e6:.1f} MB")
        self.assertLess(size, 20e6)
        with browser() as driver:
            started = time.monotonic()
            driver.get(file_url(page))
            rows = driver.execute_script(
                "return document.querySelectorAll('#ratings tbody tr:not(.cluster)').length")
            self.assertEqual(rows, 1000)
            elo = driver.find_element(By.CSS_SELECTOR, "#ratings thead th.elo")
            elo.click()
            elo.click()
            first = driver.execute_script(
                "return document.querySelector('#ratings tbody tr:not(.cluster) td.elo')"
                ".textContent")
            self.assertEqual(first, rating_rows(folder)[0][3])
            print(f"capacity page: loaded and sorted twice in {time.monotonic() - started:.1f} s")
            self.assertEqual(errors(driver), [])


if __name__ == "__main__":
    unittest.main()
