#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""The built program's command line and its start without a display.

Usage: command_line_test.py PROGRAM

Runs PROGRAM once per row of the table below, each time in an environment of
its own with no display unless the row gives one, and checks its exit status
and everything it printed. A row that expects the program to start runs it on
Qt's offscreen platform, lets it run for a while and closes it: it must still
be running then, having printed nothing of its own. Prints one line per row; exits
non-zero if any row failed.
"""

import concurrent.futures
import os
import re
import subprocess
import sys
import tempfile

import harness

# How long a program expected to keep running must last.
STARTED_FOR = 1.5
TIMEOUT = 20

HELP = """Uso: passo-rigatura [opzioni]
Calcola il passo di rigatura di una canna dai gradi e dai centimetri misurati.

Opzioni:
  -h, --help     Mostra questo aiuto.
  -v, --version  Mostra la versione.

Accetta anche le opzioni comuni a tutti i programmi Qt, come -platform,
-display, -style e -qwindowgeometry.
"""
VERSION = "passo-rigatura 1.00\n"
RUNNING = "running"


def mistake(what):
    return f"passo-rigatura: {what}. Prova 'passo-rigatura --help'.\n"


def no_display(why):
    return f"passo-rigatura: nessuno schermo disponibile ({why}).\n"


def unused_display():
    """A local X display number that no server holds."""
    number = 99
    while (os.path.exists(f"/tmp/.X11-unix/X{number}")
           or os.path.exists(f"/tmp/.X{number}-lock")):
        number += 1
    return f":{number}"


def not_installed(asked):
    """The line for platforms none of which is installed: the list of those
    that are depends on the machine, and holds offscreen."""
    return re.compile(rf"passo-rigatura: piattaforma '{re.escape(asked)}' non installata "
                      r"\(installate: ([a-z-]+, )*offscreen(, [a-z-]+)*\)\.\n")


NOWHERE = unused_display()
OFFSCREEN = ["-platform", "offscreen"]
# Qt's own warnings, a line each, and nothing of the program's.
QT_SAYS = re.compile(r"((?!passo-rigatura:).*\n)*")

# name, arguments, environment added to the bare one, exit status (or RUNNING),
# standard output, standard error (or a pattern it matches whole).
ROWS = [
    ("Help", ["--help"], {}, 0, HELP, ""),
    ("ShortHelp", ["-h"], {}, 0, HELP, ""),
    ("Version", ["--version"], {}, 0, VERSION, ""),
    ("ShortVersion", ["-v"], {}, 0, VERSION, ""),
    # Version wins over help, as with Qt's own parser; both before the display.
    ("VersionAndHelp", ["--help", "--version"], {}, 0, VERSION, ""),
    ("HelpAmongQtOptions", ["-style", "fusion", "--help"], {"DISPLAY": NOWHERE}, 0, HELP, ""),
    ("UnknownOption", ["--x"], {}, 2, "", mistake("opzione sconosciuta '--x'")),
    ("UnknownShortOption", ["-q"], {}, 2, "", mistake("opzione sconosciuta '-q'")),
    ("UnknownOptionBeforeHelp", ["--bogus", "--help"], {}, 2, "",
     mistake("opzione sconosciuta '--bogus'")),
    ("UnexpectedArgument", ["90"], {}, 2, "", mistake("argomento inatteso '90'")),
    ("QtOptionWithoutItsValue", ["-platform"], {}, 2, "",
     mistake("l'opzione '-platform' richiede un valore")),
    ("NoDisplay", [], {}, 1, "", no_display("DISPLAY non impostato")),
    ("UnreachableDisplay", [], {"DISPLAY": NOWHERE}, 1, "",
     no_display(f"DISPLAY={NOWHERE} non raggiungibile")),
    ("UnreachableDisplayOption", ["-display", NOWHERE], {}, 1, "",
     no_display(f"-display {NOWHERE} non raggiungibile")),
    ("X11ChosenWithoutDisplay", [], {"QT_QPA_PLATFORM": "xcb"}, 1, "",
     no_display("DISPLAY non impostato")),
    ("X11OptionOverridesOffscreen", ["-platform", "xcb"], {"QT_QPA_PLATFORM": "offscreen"}, 1,
     "", no_display("DISPLAY non impostato")),
    # A Wayland session is tried first, then X11 through XWayland, as Qt does.
    ("WaylandSessionWhoseCompositorHasGone", [],
     {"XDG_SESSION_TYPE": "wayland", "WAYLAND_DISPLAY": "wayland-7"}, 1, "",
     no_display("WAYLAND_DISPLAY=wayland-7 non raggiungibile; DISPLAY non impostato")),
    ("WaylandSessionWithXWaylandGone", [], {"XDG_SESSION_TYPE": "wayland", "DISPLAY": NOWHERE}, 1,
     "", no_display(f"WAYLAND_DISPLAY non impostato; DISPLAY={NOWHERE} non raggiungibile")),
    ("CompositorNamedOutsideASession", [], {"WAYLAND_DISPLAY": "/nowhere/wayland-0"}, 1, "",
     no_display("WAYLAND_DISPLAY=/nowhere/wayland-0 non raggiungibile; DISPLAY non impostato")),
    # A platform whose plugin Qt does not have here, instead of Qt's abort;
    # Qt passes over one it lacks in a list, and looks in -platformpluginpath.
    ("PlatformNotInstalled", [], {"QT_QPA_PLATFORM": "windows"}, 1, "", not_installed("windows")),
    ("PlatformOptionNotInstalled", ["-platform", "bogus"], {}, 1, "", not_installed("bogus")),
    ("NoPlatformOfAListInstalled", ["-platform", "Bogus:size=2;;windows"], {}, 1, "",
     not_installed("bogus;windows")),
    ("OnePlatformOfAListInstalled", ["-platform", "bogus;XCB:nograb"], {}, 1, "",
     no_display("DISPLAY non impostato")),
    ("PlatformPluginsElsewhere", ["-platformpluginpath", "/nowhere", "-platform", "bogus"], {}, 1,
     "", not_installed("bogus")),
    # Qt's options as Qt reads them: "--name" is "-name", the last -platform
    # counts, a value is a value whatever it looks like, and what Qt says of
    # them is Qt's.
    ("DoubleDashes", ["--platform", "xcb", "--display", NOWHERE], {}, 1, "",
     no_display(f"-display {NOWHERE} non raggiungibile")),
    ("LastPlatformCounts", ["-platform", "xcb", "-platform", "offscreen"], {}, RUNNING, "", ""),
    ("EveryQtOptionWithAValue",
     OFFSCREEN + ["-platformtheme", "t", "-plugin", "p", "-qwindowgeometry", "300x200",
                  "-geometry", "300x200", "-qwindowtitle", "t", "-title", "t", "-qwindowicon",
                  "i.png", "-icon", "i.png", "-session", "s", "-name", "n", "-visual", "33",
                  "-style", "fusion", "-stylesheet", "s.qss"], {}, RUNNING, "", QT_SAYS),
    ("EveryQtFlag", OFFSCREEN + ["-reverse", "-testability", "-nograb", "-dograb", "-widgetcount"],
     {}, RUNNING, "", QT_SAYS),
    ("QtOptionsInOneWord", OFFSCREEN + ["-style=fusion", "-stylesheet=s.qss",
                                        "-qmljsdebugger=port:1234"], {}, RUNNING, "", QT_SAYS),
    ("ValueLikeAnOption", OFFSCREEN + ["-qwindowtitle", "--help"], {}, RUNNING, "", ""),
    ("ValueMissing", ["-style", "fusion", "-display"], {}, 2, "",
     mistake("l'opzione '-display' richiede un valore")),
    # Qt would not read these, so neither may the program.
    ("PlatformInOneWord", ["-platform=offscreen"], {}, 2, "",
     mistake("opzione sconosciuta '-platform=offscreen'")),
    ("ThreeDashes", ["---platform", "xcb"], {}, 2, "", mistake("opzione sconosciuta '---platform'")),
    ("OptionsEnd", ["--"], {}, 2, "", mistake("opzione sconosciuta '--'")),
    ("LoneDash", ["-"], {}, 2, "", mistake("argomento inatteso '-'")),
    ("FileName", ["misure.txt"], {}, 2, "", mistake("argomento inatteso 'misure.txt'")),
    ("FirstMistakeCounts", ["-x", "-y"], {}, 2, "", mistake("opzione sconosciuta '-x'")),
    ("VersionInOneDash", ["-version"], {}, 0, VERSION, ""),
    ("PlatformListInQtsOrder", ["-platform", "XCB;wayland-egl:option"], {}, 1, "",
     no_display("DISPLAY non impostato; WAYLAND_DISPLAY non impostato")),
    # Qt's own options reach Qt: these need no display at all.
    ("OffscreenPlatformOption", ["-platform", "offscreen"], {}, RUNNING, "", ""),
    ("OffscreenPlatformEnvironment", [], {"QT_QPA_PLATFORM": "offscreen"}, RUNNING, "", ""),
    ("QtOptionsOnOffscreen",
     ["--platform", "offscreen", "-style", "fusion", "-style=fusion", "-qwindowgeometry",
      "400x300+10+10", "-reverse", "-display", NOWHERE],
     {}, RUNNING, "", ""),
]


def run(program, arguments, env, expect_running):
    """(status or RUNNING, stdout, stderr)."""
    process = subprocess.Popen([program] + arguments, env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    try:
        if expect_running:
            try:
                process.wait(STARTED_FOR)
            except subprocess.TimeoutExpired:
                # Still running: the window is up, nothing went wrong. Close it.
                process.terminate()
                out, err = process.communicate(timeout=TIMEOUT)
                return RUNNING, out, err
        out, err = process.communicate(timeout=TIMEOUT)
        return process.returncode, out, err
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def main():
    if len(sys.argv) != 2:
        print(f"usage: {sys.argv[0]} PROGRAM", file=sys.stderr)
        return 2
    program = os.path.abspath(sys.argv[1])
    report = harness.Report()
    with tempfile.TemporaryDirectory() as runtime_dir:
        os.chmod(runtime_dir, 0o700)

        def outcome(row):
            _, arguments, extra, status, _, _ = row
            env = harness.clean_environment(runtime_dir, **extra)
            return run(program, arguments, env, status == RUNNING)

        # The rows at once: most of the time goes on the programs that must
        # still be running after a while.
        with concurrent.futures.ThreadPoolExecutor(8) as pool:
            outcomes = list(pool.map(outcome, ROWS))
        for (name, _, _, status, out, err), got in zip(ROWS, outcomes):
            report.check(name, got[:2] == (status, out) and (
                err.fullmatch(got[2]) if isinstance(err, re.Pattern) else got[2] == err),
                f"got {got!r}, expected {(status, out, err)!r}")
    print(f"{report.passed} passed, {report.failed} failed")
    return 1 if report.failed else 0


if __name__ == "__main__":
    sys.exit(main())
