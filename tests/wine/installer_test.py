#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The Windows installer under Wine, as a user or an administrator uses it:
it opens in Italian; installed silently it puts the program, a Start-menu
shortcut and an entry in the installed programs in place; the installed
program passes the end-to-end checks; its uninstaller, run silently, leaves
nothing behind.

Usage (inside tests/wine/run, in a fresh prefix):
    installer_test.py --installer passo-rigatura-1.00-win64.exe --probe probe.exe
                      --artifacts DIR

Prints one line per check and a closing "N passed, M failed" line; exits
non-zero if any check failed.
"""

import glob
import os
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

import harness  # noqa: E402
from e2e_test import SCREEN_SIZE, check_program  # noqa: E402
from harness import TITLE, DriverError, wait_until  # noqa: E402

OVERALL_TIMEOUT = 500
INSTALL_TIMEOUT = 120

FOLDER = "passo-rigatura"
INSTALL_DIR = r"C:\Program Files" + "\\" + FOLDER
PROGRAM = INSTALL_DIR + r"\bin\passo-rigatura.exe"
UNINSTALLER = INSTALL_DIR + r"\Uninstall.exe"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall" + "\\" + FOLDER
SETTINGS_KEY = r"HKLM\Software\The passo-rigatura authors" + "\\" + FOLDER
SHORTCUT = TITLE + ".lnk"
# What the entry in the installed programs must say.
ENTRY = {
    "DisplayName": TITLE,
    "DisplayVersion": "1.00",
    "DisplayIcon": PROGRAM,
    "Publisher": "The passo-rigatura authors",
    "UninstallString": f'"{UNINSTALLER}"',
}


def wine(*args, timeout=INSTALL_TIMEOUT):
    return subprocess.run([os.environ["WINE"], *args], capture_output=True, text=True,
                          errors="replace", timeout=timeout)


def unix_path(windows_path):
    drive_c = os.path.join(os.environ["WINEPREFIX"], "drive_c")
    return os.path.join(drive_c, *windows_path[3:].split("\\"))


def registry_values(key):
    """The values of a registry key by name, or None when there is no key."""
    result = wine("reg", "query", key)
    if result.returncode != 0:
        return None
    values = {}
    for line in result.stdout.splitlines():
        match = re.match(r"\s+(.+?)\s+(REG_\w+)\s*(.*)$", line)
        if match:
            values[match.group(1)] = match.group(3)
    return values


def shortcuts():
    """Every copy of the program's shortcut anywhere in the prefix's Start menus."""
    pattern = os.path.join(os.environ["WINEPREFIX"], "drive_c", "**", "Start Menu", "**",
                           SHORTCUT)
    return glob.glob(pattern, recursive=True)


def check_italian_installer(report, installer, artifacts):
    """Opens the installer as a user would and looks at its first page."""
    process = subprocess.Popen([os.environ["WINE"], installer], stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        found = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name",
                                "^Installazione di " + TITLE + "$"],
                               capture_output=True, text=True, timeout=60)
        report.check("the installer opens in Italian", found.returncode == 0,
                     "no window titled 'Installazione di ...'")
        time.sleep(1)  # the first page's texts are drawn after the window maps
        path = os.path.join(artifacts, "installer-welcome.png")
        subprocess.run(["import", "-silent", "-window", "root", "-crop",
                        "%dx%d+0+0" % SCREEN_SIZE, path], check=True, timeout=30)
    except subprocess.TimeoutExpired:
        report.check("the installer opens in Italian", False, "no window within 60 s")
    finally:
        process.kill()
        process.wait()


def check_installed(report):
    for path in (PROGRAM, UNINSTALLER):
        report.check(f"{path} is installed", os.path.isfile(unix_path(path)))
    links = shortcuts()
    report.check("one Start-menu shortcut", len(links) == 1, f"found {links}")
    if links:
        with open(links[0], "rb") as link:
            target = link.read()
        report.check("the shortcut starts the program",
                     "passo-rigatura.exe".encode("utf-16-le") in target
                     or b"passo-rigatura.exe" in target)
    entry = registry_values(UNINSTALL_KEY)
    report.check("an entry in the installed programs", entry is not None)
    for name, value in ENTRY.items():
        report.equal(f"entry's {name}", (entry or {}).get(name), value)


def check_removed(report):
    report.check("the program's folder is gone", not os.path.exists(unix_path(INSTALL_DIR)))
    report.equal("no Start-menu shortcut is left", shortcuts(), [])
    menu_folders = glob.glob(os.path.join(os.environ["WINEPREFIX"], "drive_c", "**",
                                          "Start Menu", "Programs", FOLDER), recursive=True)
    report.equal("no Start-menu folder is left", menu_folders, [])
    report.equal("the entry in the installed programs is gone",
                 registry_values(UNINSTALL_KEY), None)
    report.equal("the installer's own settings are gone", registry_values(SETTINGS_KEY), None)


def run(report, installer, probe, artifacts):
    check_italian_installer(report, installer, artifacts)

    result = wine(installer, "/S")
    report.equal("the silent install succeeds", result.returncode, 0)
    check_installed(report)

    check_program(report, PROGRAM, probe, os.path.join(artifacts, "installed"))

    # The uninstaller copies itself away and runs from there, so its own
    # process ends before the files are gone.
    result = wine(UNINSTALLER, "/S")
    report.equal("the silent uninstall starts", result.returncode, 0)
    try:
        wait_until(lambda: not os.path.exists(unix_path(INSTALL_DIR))
                   and registry_values(UNINSTALL_KEY) is None, "the uninstaller",
                   timeout=INSTALL_TIMEOUT)
    except DriverError as error:
        print(f"note: {error}", flush=True)
    check_removed(report)


def checks(report, options):
    report.require("the installer is built", os.path.isfile(options.installer),
                   f"{options.installer} is missing: make package-windows builds it")
    run(report, os.path.abspath(options.installer), os.path.abspath(options.probe),
        options.artifacts)


if __name__ == "__main__":
    sys.exit(harness.main(__doc__, checks, OVERALL_TIMEOUT, [
        ("--installer", {"required": True}),
        ("--probe", {"required": True}),
    ]))
