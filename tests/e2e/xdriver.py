#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The passo-rigatura authors
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the program's window on an X display, as a person at the keyboard.

Input goes through xdotool, geometry comes from xwininfo, screenshots from
ImageMagick's import, and what the controls show is read back through AT-SPI
(pyatspi). Every wait here has a timeout, so that a program that hangs or a
window that never comes makes a failure, never a stuck run.

Run with Debian's /usr/bin/python3 (pyatspi and Xlib come from its packages)
inside tests/e2e/session.sh, which provides the display and the buses.

As a script: xdriver.py PROGRAM OUTPUT.png types 90 degrees and 10 cm,
clicks CALCOLA, saves a screenshot of the result and closes the program.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

from harness import (  # noqa: E402
    PATIENCE, PLACED, PLACES, TITLE, DriverError, Program, run, settles_on, wait_until,
)

GRADI, CENTIMETRI, CALCOLA, RESULT = (PLACES[name] for name in PLACED)

GRADI_NAME = "GRADI MISURATI"
CENTIMETRI_NAME = "SPAZIO MISURATO in centimetri"
RESULT_DESCRIPTION = "Il passo di rigatura della canna \u00e8 di \u2026 cm. / giro"


def visible_windows(pid=None, title=TITLE):
    """Ids of the mapped windows with this exact title: the program's, or
    any program's where its pid is not known (Wine's windows carry none)."""
    by_pid = ["--all", "--pid", str(pid)] if pid is not None else []
    out = run(["xdotool", "search", *by_pid, "--onlyvisible", "--name", f"^{title}$"],
              check=False)
    return [int(line) for line in out.split()]


def focused_window():
    out = run(["xdotool", "getwindowfocus"], check=False).strip()
    return int(out) if out.isdigit() else None


class Window:
    """A top-level window of the program."""

    def __init__(self, window_id):
        self.id = window_id

    def title(self):
        return run(["xdotool", "getwindowname", str(self.id)]).rstrip("\n")

    def geometry(self):
        """(x, y, width, height) of the client area, on the screen."""
        info = {}
        for line in run(["xwininfo", "-id", str(self.id)]).splitlines():
            key, _, value = line.strip().partition(":")
            info[key] = value.strip()
        return (int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"]),
                int(info["Width"]), int(info["Height"]))

    def focus(self):
        """Gives the window the keyboard focus (there is no window manager)."""
        def focused():
            run(["xdotool", "windowfocus", str(self.id)], check=False)
            return focused_window() == self.id
        wait_until(focused, f"window {self.id} to take the focus")

    def click(self, x, y):
        run(["xdotool", "mousemove", "--window", str(self.id), str(x), str(y), "click", "1"])

    def click_control(self, bounds):
        """Clicks the middle of a control given as (x, y, width, height)."""
        x, y, width, height = bounds
        self.click(x + width // 2, y + height // 2)

    def type(self, text):
        run(["xdotool", "type", "--delay", "20", "--", text])

    def key(self, *keys):
        run(["xdotool", "key", "--delay", "20", "--", *keys])

    def replace_text(self, bounds, text):
        """Clicks into a text box, selects what it holds and types text over it."""
        self.click_control(bounds)
        self.key("ctrl+a")
        self.type(text)

    def wm_class(self):
        """The window's WM_CLASS: (instance, class)."""
        from Xlib import display

        connection = display.Display()
        try:
            return connection.create_resource_object("window", self.id).get_wm_class()
        finally:
            connection.close()

    def screenshot(self, path):
        """Saves what the screen shows where the window is, windows over it
        included (a window's own image has holes where another covers it)."""
        x, y, width, height = self.geometry()
        run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "+repage", path])
        return path

    def close(self):
        """Asks the window to close, as a window manager's close button does."""
        from Xlib import X, display, protocol

        connection = display.Display()
        try:
            window = connection.create_resource_object("window", self.id)
            protocols = connection.intern_atom("WM_PROTOCOLS")
            delete = connection.intern_atom("WM_DELETE_WINDOW")
            event = protocol.event.ClientMessage(
                window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0])
            )
            window.send_event(event, event_mask=X.NoEventMask)
            # A round trip, so the server has handled the request before the
            # connection goes: closing right after a bare flush can lose it.
            connection.sync()
        finally:
            connection.close()


def wait_for_window(program, known=(), timeout=PATIENCE):
    """The first visible window of the program whose id is not in known."""
    def probe():
        if program.process.poll() is not None:
            raise DriverError(f"the program exited with status {program.process.returncode}")
        fresh = [w for w in visible_windows(program.pid) if w not in known]
        return fresh[0] if fresh else None
    return Window(wait_until(probe, f"a window titled {TITLE!r}", timeout))


# --- Reading the controls back through AT-SPI --------------------------------


def _pyatspi():
    import pyatspi
    return pyatspi


def find_application(pid, timeout=PATIENCE):
    """The program's accessible application object."""
    pyatspi = _pyatspi()

    def probe():
        desktop = pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            app = desktop.getChildAtIndex(index)
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:
                continue
        return None
    return wait_until(probe, "the program on the accessibility bus", timeout, 0.2)


def fresh(accessible):
    """The same object, with what AT-SPI remembered of it forgotten."""
    accessible.clearCache()
    return accessible


def descendants(accessible):
    """Every object below accessible, parents before children."""
    for child in fresh(accessible):
        if child is None:
            continue
        yield child
        yield from descendants(child)


def role(accessible):
    return fresh(accessible).getRoleName()


def name(accessible):
    return fresh(accessible).name


def description(accessible):
    return fresh(accessible).description


def text(accessible):
    """What a text box holds."""
    return fresh(accessible).queryText().getText(0, -1)


def is_focused(accessible):
    pyatspi = _pyatspi()
    return fresh(accessible).getState().contains(pyatspi.STATE_FOCUSED)


def is_active(accessible):
    """Whether a window is the one in front."""
    pyatspi = _pyatspi()
    return fresh(accessible).getState().contains(pyatspi.STATE_ACTIVE)


def windows(app):
    """The program's top-level windows, as a screen reader lists them."""
    return [window for window in fresh(app) if window is not None]


def set_text(accessible, text):
    """Puts text in a text box, as a screen reader's user may."""
    fresh(accessible).queryEditableText().setTextContents(text)


def press(accessible):
    """Presses a button by its first action, "Press", as a screen reader's user may."""
    fresh(accessible).queryAction().doAction(0)


def _screen_extents(accessible):
    pyatspi = _pyatspi()
    extents = fresh(accessible).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return (extents.x, extents.y, extents.width, extents.height)


def bounds(accessible):
    """(x, y, width, height) inside its window's client area."""
    # Measured on the screen and taken from the window's own place, since
    # the toolkit does not give window-relative places reliably.
    top = accessible
    while True:
        parent = fresh(top).parent
        if parent is None or role(parent) == "application":
            break
        top = parent
    x, y, width, height = _screen_extents(accessible)
    left, upper, _, _ = _screen_extents(top)
    return (x - left, y - upper, width, height)


def find(root, predicate):
    """The first object below root for which predicate holds, or None."""
    for accessible in descendants(root):
        try:
            if predicate(accessible):
                return accessible
        except Exception:
            continue
    return None


def at_bounds(root, role_name, wanted):
    """The object of this role placed at wanted, the control's own bounds."""
    return find(root, lambda a: role(a) == role_name and bounds(a) == wanted)


def result_label(app):
    """The label that shows the twist, found by its description or else by place."""
    label = find(app, lambda a: role(a) == "label" and description(a) == RESULT_DESCRIPTION)
    return label or at_bounds(app, "label", RESULT)


def wait_for_name(accessible, expected, timeout=PATIENCE):
    """Waits until accessible's name is expected; returns the last one read."""
    return settles_on(lambda: name(accessible), expected, timeout)


# --- The short demonstration run by scripts/run-headless ---------------------


def demo(program_path, output):
    with Program([program_path]) as program:
        window = wait_for_window(program)
        app = find_application(program.pid)
        label = wait_until(lambda: result_label(app), "the result label")
        window.focus()
        window.replace_text(GRADI, "90")
        window.replace_text(CENTIMETRI, "10")
        window.click_control(CALCOLA)
        shown = wait_for_name(label, "40")
        window.screenshot(output)
        window.close()
        status = program.wait_exit()
    print(f"result shown: {shown!r}")
    print(f"screenshot: {output}")
    if shown != "40":
        print("the program did not show the expected twist 40", file=sys.stderr)
        return 1
    if status != 0:
        print(f"the program ended with status {status}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(f"usage: {sys.argv[0]} PROGRAM OUTPUT.png", file=sys.stderr)
        sys.exit(2)
    try:
        sys.exit(demo(sys.argv[1], os.path.abspath(sys.argv[2])))
    except DriverError as error:
        print(f"error: {error}", file=sys.stderr)
        sys.exit(1)
