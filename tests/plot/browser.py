"""Debian's chromium, headless, driven by selenium: the page as a user's
browser shows it."""

import contextlib
import os
import shutil
import tempfile

from selenium import webdriver
from selenium.webdriver.chrome.service import Service

CHROMIUM = "/usr/bin/chromium"
DRIVER = "/usr/bin/chromedriver"


@contextlib.contextmanager
def browser(width=1280, height=900):
    profile = tempfile.mkdtemp(prefix="tarvolin-browser-")
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu",
                     "--disable-dev-shm-usage", f"--window-size={width},{height}",
                     f"--user-data-dir={profile}"):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service(DRIVER), options=options)
    try:
        driver.set_page_load_timeout(120)
        yield driver
    finally:
        driver.quit()
        shutil.rmtree(profile, ignore_errors=True)


def errors(driver):
    """What the page wrote to the console at error level."""
    return [entry for entry in driver.get_log("browser") if entry["level"] == "SEVERE"]


def file_url(path):
    return "file://" + os.path.abspath(path)
