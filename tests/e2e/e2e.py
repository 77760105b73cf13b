"""End-to-end tests of the installed program on a real X display.

The program is started the way the desktop's menu starts it, from the Exec line of its installed
menu entry, and is driven only by real input: xdotool's keys and clicks and the window manager's
close button. What the tests read back comes from the results file, from the X window tree
(which windows are mapped, their titles and types) and from the windows' own accessibility
tree over AT-SPI, as a screen reader sees it.

Run by tests/e2e/run inside Xvfb and a D-Bus session; see there.
"""

import argparse
import os
import re
import shlex
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import traceback

import pyatspi

MAIN_TITLE = "Tollick's Results"
WIN = "YOU WIN! You're as rich as a Duke!"
LOSS = "YOU LOSE! You're as poor as a pudding."
RESULTS_FILE = "quorvexresults.txt"
ICON_SIZES = (16, 32, 48, 64, 128, 256)
# The main window's client area in device-independent pixels.
CLIENT_SIZE = (840, 445)
# Where the design puts the client areas of the main window and the About box on the screen, in
# twips.
MAIN_CLIENT_AT = (60, 1380)
ABOUT_CLIENT_AT = (2340, 1935)
# The command line arguments, set by main().
OPTIONS = None


def command(*args, check=True):
    done = subprocess.run(args, capture_output=True, text=True)
    if check and done.returncode != 0:
        raise AssertionError(f"{' '.join(args)} failed: {done.stderr.strip()}")
    return done.stdout


def xdotool(*args):
    return command("xdotool", *args)


def poll(probe, what, timeout=30.0, interval=0.05):
    """Returns the first true value of probe(). Fails only at the deadline, saying what probe()
    gave last and which windows were up; an error from probe() while windows come and go
    counts as "not yet"."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            value = probe()
        except Exception as error:
            value = error
        else:
            if value:
                return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout:.0f} s waiting for {what}; "
                                 f"last got {value!r}; {on_screen()}")
        time.sleep(interval)


def check_equal(actual, expected, what):
    if actual != expected:
        raise AssertionError(f"{what}: expected {expected!r}, got {actual!r}")


def expect(probe, expected, what, timeout=30.0):
    """Waits for probe() to give the expected value; at the deadline fails with what it gave."""
    try:
        poll(lambda: probe() == expected, what, timeout)
    except AssertionError:
        check_equal(probe(), expected, what + f" ({on_screen()})")


# --- the menu entry ------------------------------------------------------------------------------


def desktop_entry(path):
    """The keys of the [Desktop Entry] group, with the file's string escapes undone."""
    entry, group = {}, None
    escapes = {"s": " ", "n": "\n", "t": "\t", "r": "\r", "\\": "\\", ";": ";"}
    with open(path, encoding="utf-8") as file:
        for line in file:
            line = line.rstrip("\n")
            if line.startswith("["):
                group = line
            elif group == "[Desktop Entry]" and "=" in line and not line.startswith("#"):
                key, value = line.split("=", 1)
                entry[key.strip()] = re.sub(
                    r"\\(.)", lambda m: escapes.get(m.group(1), "\\" + m.group(1)), value
                )
    return entry


def exec_argv(exec_value):
    """Splits an Exec value into arguments: quoted arguments follow the shell's double quotes."""
    if re.search(r"%[a-zA-Z]", exec_value):
        raise AssertionError(f"unexpected field code in Exec={exec_value!r}")
    return [arg.replace("%%", "%") for arg in shlex.split(exec_value)]


def png_size(path):
    with open(path, "rb") as file:
        header = file.read(24)
    if header[:8] != b"\x89PNG\r\n\x1a\n":
        raise AssertionError(f"{path} is not a PNG file")
    return struct.unpack(">II", header[16:24])


# --- the windows ---------------------------------------------------------------------------------


def mapped_windows(pid):
    """The program's mapped top-level windows, as (id, title, types)."""
    ids = command("xdotool", "search", "--onlyvisible", "--pid", str(pid), check=False).split()
    windows = []
    for wid in ids:
        title = command("xdotool", "getwindowname", wid, check=False).rstrip("\n")
        types = command("xprop", "-id", wid, "_NET_WM_WINDOW_TYPE", check=False)
        windows.append((wid, title, types))
    return windows


def on_screen():
    """The running program's mapped windows, the active one marked, for a failure's message."""
    if Program.current is None or Program.current.process.poll() is not None:
        return "no program running"
    active = command("xdotool", "getactivewindow", check=False).strip()
    shown = [repr(title) + (" (active)" if wid == active else "")
             for wid, title, _ in mapped_windows(Program.current.pid)]
    return "windows up: " + (", ".join(shown) or "none")


def window_titled(pid, title):
    return next((w[0] for w in mapped_windows(pid) if w[1] == title), None)


def client_geometry(wid):
    info = command("xwininfo", "-id", wid)
    value = lambda key: int(re.search(key + r":\s+(-?\d+)", info).group(1))
    return (
        value("Absolute upper-left X"),
        value("Absolute upper-left Y"),
        value("Width"),
        value("Height"),
    )


def pixels(twips):
    """Device-independent pixels, 15 twips each."""
    return tuple(int(t / 15 + 0.5) for t in twips)


def screenshot(wid, name, frame=True):
    path = os.path.join(OPTIONS.shots, name)
    command("import", *(["-frame"] if frame else []), "-window", wid, path)
    return path


class Program:
    """One run of the installed program, started from its menu entry."""

    current = None  # the latest one, whose windows a failure's message lists

    def __init__(self, extra_env=None):
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        env.update(extra_env or {})
        self.process = subprocess.Popen(OPTIONS.argv, env=env, stdout=subprocess.DEVNULL)
        self.pid = self.process.pid
        Program.current = self

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()

    def wait_for_main(self):
        wid = poll(lambda: window_titled(self.pid, MAIN_TITLE), "the main window")
        poll(lambda: command("xdotool", "getactivewindow", check=False).strip() == wid,
             "the main window to take the keyboard")
        poll(lambda: self.frame(MAIN_TITLE), "the main window's accessibility")
        return wid

    def wait_for_end(self, timeout=30.0):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program did not end")

    # Accessibility: the program's top-level windows and their controls, by role and name.

    def application(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            try:
                if app is not None and app.get_process_id() == self.pid:
                    app.clearCache()
                    return app
            except Exception:  # a program that has just ended, still listed
                continue
        return None

    def frame(self, title):
        app = self.application()
        if app is None:
            return None
        return next((w for w in app if w is not None and w.name == title and showing(w)), None)

    def field(self, window, name):
        """The control a screen reader announces by name: its own name, else its heading's."""
        frame = self.frame(window)
        if frame is None:
            raise AssertionError(f"no window {window!r}")
        named = find(frame, lambda a: a.name == name and a.getRoleName() != "label")
        if named:
            return named
        heading = find(frame, lambda a: a.name == name and a.getRoleName() == "label")
        if heading:
            for relation in heading.getRelationSet():
                if relation.getRelationType() == pyatspi.RELATION_LABEL_FOR:
                    return relation.getTarget(0)
        raise AssertionError(f"nothing named {name!r} in {window!r}")

    def value(self, name, window=MAIN_TITLE):
        return text_of(self.field(window, name))

    def shown(self, name, window=MAIN_TITLE):
        frame = self.frame(window)
        label = find(frame, lambda a: a.name == name)
        return label is not None and showing(label)

    def click(self, accessible):
        x, y, width, height = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        xdotool("mousemove", "--sync", str(x + width // 2), str(y + height // 2), "click", "1")

    def press(self, name, window=MAIN_TITLE):
        self.click(find(self.frame(window), lambda a: a.name == name and role(a, "push button")))

    def type_into(self, name, text, window=MAIN_TITLE):
        """Clicks into the field, selects what it holds and types over it."""
        field = self.field(window, name)
        # Into a combo box's editor, away from its drop-down button.
        self.click(find(field, lambda a: role(a, "text")) if role(field, "combo box") else field)
        xdotool("key", "ctrl+a")
        xdotool("type", "--delay", "20", text)
        poll(lambda: self.value(name, window) == text, f"{text!r} in {name!r}")

    def calculate(self):
        self.press("Calculate")
        # The horse runs for three quarters of a second, during which nothing answers.
        time.sleep(0.8)

    def expect_values(self, expected):
        """Waits for the named fields to show the expected texts; the clicks that fill them
        may still be on their way."""
        expect(lambda: {name: self.value(name) for name in expected}, expected, "the figures")

    def save(self):
        self.press("Save")
        poll(lambda: window_titled(self.pid, "Quorvex"), "the message box")
        message = poll(lambda: self.frame("Quorvex"), "the message box's accessibility")
        if not find(message, lambda a: a.name == "Data saved to file!"):
            raise AssertionError("the message box does not say the data was saved")
        xdotool("key", "Return")
        poll(lambda: window_titled(self.pid, "Quorvex") is None, "the message box to close")


def role(accessible, name):
    return accessible.getRoleName() == name


def showing(accessible):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


def find(root, predicate):
    return pyatspi.findDescendant(root, lambda a: a is not None and predicate(a))


def text_of(accessible):
    if role(accessible, "combo box"):
        editor = find(accessible, lambda a: role(a, "text"))
        if editor:
            return text_of(editor)
    return accessible.queryText().getText(0, -1)


# --- the tests -----------------------------------------------------------------------------------


def results_file(folder):
    return os.path.join(folder, RESULTS_FILE)


def read_bytes(path):
    with open(path, "rb") as file:
        return file.read()


def place_bet(program, stake, lower, upper, won):
    program.type_into("Stake Bet", stake)
    program.type_into("ODDS, left-hand figure", lower)
    program.type_into("ODDS, right-hand figure", upper)
    choice = "Yes" if won else "No"
    if program.value("Did you win?") != choice:
        program.click(program.field(MAIN_TITLE, "Did you win?"))
        item = poll(
            lambda: find(program.frame(MAIN_TITLE),
                         lambda a: role(a, "list item") and a.name == choice and showing(a)),
            f"the list item {choice!r}",
        )
        program.click(item)
        poll(lambda: program.value("Did you win?") == choice, f"{choice!r} chosen")
    program.calculate()


def test_menu_entry_and_icons():
    """The install put a valid menu entry and the icon theme's sizes into the data folder."""
    command("desktop-file-validate", OPTIONS.desktop_file)
    entry = desktop_entry(OPTIONS.desktop_file)
    check_equal(entry.get("Icon"), "quorvex", "the entry's icon")
    check_equal(OPTIONS.argv, [os.path.join(OPTIONS.prefix, "quorvex")], "the entry's command")
    if not os.access(entry.get("TryExec", ""), os.X_OK):
        raise AssertionError("TryExec does not name the installed program")
    for size in ICON_SIZES:
        path = os.path.join(OPTIONS.data_home, f"icons/hicolor/{size}x{size}/apps/quorvex.png")
        check_equal(png_size(path), (size, size), f"the size of {path}")


def test_splash_then_main_window():
    """The splash comes up alone first; then the main window at its place, and the splash
    goes."""
    program = Program()
    try:
        splash = poll(
            lambda: next((w for w in mapped_windows(program.pid)
                          if "_NET_WM_WINDOW_TYPE_SPLASH" in w[2]), None),
            "the splash screen",
        )
        titles = [w[1] for w in mapped_windows(program.pid)]
        if MAIN_TITLE in titles:
            raise AssertionError("the main window came up before the splash")
        screenshot(splash[0], "splash.png", frame=False)
        wid = program.wait_for_main()
        poll(lambda: [w[0] for w in mapped_windows(program.pid)] == [wid],
             "the splash to go, leaving the main window alone")
        expect(lambda: client_geometry(wid)[2], CLIENT_SIZE[0], "the main window's width")
        # Below the menu bar, which the window system counts in with the client area.
        client = lambda: next(c for c in program.frame(MAIN_TITLE) if role(c, "filler"))
        expect(lambda: tuple(client().queryComponent().getExtents(pyatspi.DESKTOP_COORDS)[:2]),
               pixels(MAIN_CLIENT_AT), "the main window's client area on the screen")
    finally:
        program.stop()


def test_won_then_lost_bet():
    """Stake 10 at five to two, won, then the same bet lost: the figures and the messages."""
    program = Program()
    try:
        wid = program.wait_for_main()
        place_bet(program, "10", "5", "2", won=True)
        program.expect_values({"Plus Original Stake": "10", "Winnings": "25.00", "TOTAL": " 35",
                               "GRAND TOTAL:": " 35", "Running Total": " 35"})
        expect(lambda: (program.shown(WIN), program.shown(LOSS)), (True, False),
               "the win message shown, the loss message not")
        screenshot(wid, "main-window.png")

        place_bet(program, "10", "5", "2", won=False)
        program.expect_values({"Plus Original Stake": "-10", "Winnings": "0.00", "TOTAL": "-10",
                               "GRAND TOTAL:": " 25", "Running Total": " 25"})
        expect(lambda: (program.shown(WIN), program.shown(LOSS)), (False, True),
               "the loss message shown, the win message not")
    finally:
        program.stop()


def test_save_and_next_start():
    """Save writes the running total into the program's folder; the next start reads it as its
    previous total, and the next Save replaces it with the new running total."""
    path = results_file(OPTIONS.prefix)
    if os.path.exists(path):
        os.remove(path)
    program = Program()
    try:
        program.wait_for_main()
        program.expect_values({"Previous Total": ""})
        place_bet(program, "10", "5", "2", won=True)
        program.expect_values({"Running Total": " 35"})
        program.save()
        check_equal(read_bytes(path), b'" 35"\r\n', "the results file")
        xdotool("key", "alt+f", "x")
        check_equal(program.wait_for_end(), 0, "the exit status")
    finally:
        program.stop()

    program = Program()
    try:
        program.wait_for_main()
        program.expect_values({"Previous Total": " 35"})
        place_bet(program, "1", "1", "1", won=True)
        program.expect_values({"GRAND TOTAL:": " 2", "Running Total": " 37"})
        program.save()
        check_equal(read_bytes(path), b'" 37"\r\n', "the results file saved again")
    finally:
        program.stop()


def test_options_folder_takes_the_save():
    """Options by its access keys shows the program's folder; a folder typed there and OK
    send the next Save there."""
    elsewhere = tempfile.mkdtemp(prefix="elsewhere-", dir=OPTIONS.work)
    own = results_file(OPTIONS.prefix)
    if os.path.exists(own):
        os.remove(own)
    program = Program()
    try:
        program.wait_for_main()
        xdotool("key", "alt+o", "p")
        wid = poll(lambda: window_titled(program.pid, "Options"), "the Options dialog")
        poll(lambda: program.frame("Options"), "the Options dialog's accessibility")
        path_field = find(program.frame("Options"), lambda a: role(a, "text") and showing(a))
        expect(lambda: text_of(path_field), OPTIONS.prefix, "the folder shown")
        screenshot(wid, "options.png")
        program.click(path_field)
        xdotool("key", "ctrl+a")
        xdotool("type", "--delay", "20", elsewhere)
        poll(lambda: text_of(path_field) == elsewhere, "the typed folder")
        program.press("OK", window="Options")
        poll(lambda: window_titled(program.pid, "Options") is None, "OK to hide the dialog")

        place_bet(program, "4", "1", "1", won=True)
        program.expect_values({"Running Total": " 8"})
        program.save()
        check_equal(read_bytes(results_file(elsewhere)), b'" 8"\r\n',
                    "the results file in the typed folder")
        if os.path.exists(own):
            raise AssertionError("Save still wrote into the program's folder")
    finally:
        program.stop()


def test_about_box_closes_by_escape():
    """Help, About by its access keys opens the About box at its place; Esc closes it, the
    program goes on."""
    program = Program()
    try:
        main = program.wait_for_main()
        xdotool("key", "alt+h", "a")
        wid = poll(lambda: window_titled(program.pid, "About Quorvex"), "the About box")
        about = poll(lambda: program.frame("About Quorvex"), "the About box's accessibility")
        version = "Version " + OPTIONS.version
        poll(lambda: find(about, lambda a: role(a, "label") and a.name == version),
             f"the About box to show {version}")
        poll(lambda: command("xdotool", "getactivewindow", check=False).strip() == wid,
             "the About box to take the keyboard")
        screenshot(wid, "about.png")
        expect(lambda: client_geometry(wid)[:2], pixels(ABOUT_CLIENT_AT),
               "the About box's client area on the screen")
        xdotool("key", "Escape")
        poll(lambda: window_titled(program.pid, "About Quorvex") is None, "Esc to close it")
        expect(lambda: [w[0] for w in mapped_windows(program.pid)], [main], "the windows left")
        if program.process.poll() is not None:
            raise AssertionError("the program ended with the About box")
    finally:
        program.stop()


def test_exit_ends_everything():
    """File, Exit with the About box and the Options dialog open ends the program at once."""
    program = Program()
    try:
        main = program.wait_for_main()
        xdotool("key", "alt+h", "a")
        poll(lambda: window_titled(program.pid, "About Quorvex"), "the About box")
        xdotool("windowactivate", "--sync", main)
        xdotool("key", "alt+o", "p")
        poll(lambda: window_titled(program.pid, "Options"), "the Options dialog")
        expect(lambda: len(mapped_windows(program.pid)), 3, "the windows open")
        program.click(find(program.frame(MAIN_TITLE), lambda a: a.name == "File"))
        exit_item = poll(lambda: find(program.application(),
                                      lambda a: a.name == "Exit" and showing(a)),
                         "the Exit entry")
        program.click(exit_item)
        check_equal(program.wait_for_end(), 0, "the exit status")
        expect(lambda: mapped_windows(program.pid), [], "the windows left")
    finally:
        program.stop()


def test_close_button_ends_the_program():
    """The window manager's close button on the main window ends the program."""
    program = Program()
    try:
        main = program.wait_for_main()
        xdotool("key", "alt+h", "a")
        poll(lambda: window_titled(program.pid, "About Quorvex"), "the About box")
        x, y, width, _ = client_geometry(main)
        extents = command("xprop", "-id", main, "_NET_FRAME_EXTENTS")
        _, right, top, _ = map(int, re.findall(r"\d+", extents.split("=", 1)[1]))
        # The close button is the rightmost one in the title bar.
        xdotool("mousemove", "--sync", str(x + width + right - 12), str(y - top // 2),
                "click", "1")
        check_equal(program.wait_for_end(), 0, "the exit status")
        expect(lambda: mapped_windows(program.pid), [], "the windows left")
    finally:
        program.stop()


def test_press_during_the_race_settles_nothing():
    """Stake 10 at one to one, won: Calculate clicked again while the horse runs settles nothing,
    and the button answers again once the race is over."""
    program = Program()
    try:
        program.wait_for_main()
        program.type_into("Stake Bet", "10")
        # Found before the race: while it runs, the program answers no accessibility query.
        button = find(program.frame(MAIN_TITLE),
                      lambda a: a.name == "Calculate" and role(a, "push button"))
        x, y, width, height = button.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        at = (str(x + width // 2), str(y + height // 2))
        xdotool("mousemove", "--sync", *at, "click", "1")
        time.sleep(0.25)
        xdotool("click", "1")
        poll(lambda: program.value("GRAND TOTAL:") != "0.00", "the race to end")
        # Long enough for a click held back to come through, were it not dropped.
        time.sleep(1)
        check_equal(program.value("GRAND TOTAL:"), " 20", "the grand total")
        # The pointer is still on the button.
        xdotool("click", "1")
        program.expect_values({"GRAND TOTAL:": " 40"})
    finally:
        program.stop()


def controls_places(program):
    """The main window's showing controls, each at its place in the client area."""
    client = next(c for c in program.frame(MAIN_TITLE) if role(c, "filler"))
    cx, cy, _, _ = client.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    places = {}
    for index, control in enumerate(client):
        if showing(control):
            x, y, w, h = control.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            places[(index, control.getRoleName())] = (x - cx, y - cy, w, h)
    return places


def test_double_density_keeps_places():
    """At twice the density the window is twice as large and every control keeps its place."""
    places = None
    for scale in ("1", "2"):
        program = Program({"QT_SCALE_FACTOR": scale})
        try:
            wid = program.wait_for_main()
            expect(lambda: client_geometry(wid)[2], CLIENT_SIZE[0] * int(scale),
                   f"the window's width on the screen at scale {scale}")
            if scale == "1":
                places = poll(lambda: controls_places(program), "the controls' places")
            else:
                # A look while the window is still being laid out may differ.
                expect(lambda: controls_places(program), places,
                       "the controls' places, in the window's own units")
                screenshot(wid, "main-window-x2.png")
        finally:
            program.stop()


def focused(program):
    return find(program.frame(MAIN_TITLE),
                lambda a: a.getState().contains(pyatspi.STATE_FOCUSED))


def labels_of(accessible):
    return [relation.getTarget(i).name
            for relation in accessible.getRelationSet()
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
            for i in range(relation.getNTargets())]


def test_odds_fields_told_apart():
    """Each odds field, as it takes the focus, tells a screen reader "ODDS" and its side: a
    reader says a combo box's label, if it has one, instead of its name."""
    program = Program()
    try:
        program.wait_for_main()
        for side in ("left-hand", "right-hand"):
            name = f"ODDS, {side} figure"
            field = program.field(MAIN_TITLE, name)
            program.click(find(field, lambda a: role(a, "text")))
            combo = poll(lambda: (lambda f: f if f and role(f, "combo box") else None)(
                focused(program)), f"the focus in the {side} combo box")
            said = (labels_of(combo) or [combo.name])[0]
            if not said.startswith("ODDS") or side not in said:
                raise AssertionError(f"the focused combo box says {said!r}")
    finally:
        program.stop()


def pump_events():
    from gi.repository import GLib
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def test_result_reaches_a_screen_reader():
    """When Calculate ends, the result's text goes out as an event a screen reader speaks."""
    heard = []

    def listener(event):
        try:
            if event.detail1 == 1 and role(event.source, "notification"):
                heard.append(event.source.name)
        except Exception:  # about an object that has gone meanwhile
            pass

    pyatspi.Registry.registerEventListener(listener, "object:state-changed:showing")
    program = Program()
    try:
        program.wait_for_main()
        for won, text in ((True, "YOU WIN! You're as rich as a Duke!"),
                          (True, "YOU WIN! You're as rich as a Duke!"),
                          (False, "YOU LOSE! You're as poor as a pudding.")):
            del heard[:]
            place_bet(program, "1", "1", "1", won=won)
            poll(lambda: pump_events() or heard, f"an event saying {text!r}")
            check_equal(heard, [text], "what a screen reader was told")
    finally:
        pyatspi.Registry.deregisterEventListener(listener, "object:state-changed:showing")
        program.stop()


def test_window_icon_sizes():
    """The window offers its icon in the sizes of the menu entry's icons."""
    program = Program()
    try:
        wid = program.wait_for_main()
        icons = command("xprop", "-len", str(1 << 22), "-id", wid, "_NET_WM_ICON")
        sizes = sorted(set(int(w) for w, h in re.findall(r"Icon \((\d+) x (\d+)\)", icons)))
        check_equal(tuple(sizes), ICON_SIZES, "the window icon's sizes")
    finally:
        program.stop()


TESTS = [
    test_menu_entry_and_icons,
    test_splash_then_main_window,
    test_won_then_lost_bet,
    test_save_and_next_start,
    test_options_folder_takes_the_save,
    test_about_box_closes_by_escape,
    test_exit_ends_everything,
    test_close_button_ends_the_program,
    test_press_during_the_race_settles_nothing,
    test_double_density_keeps_places,
    test_odds_fields_told_apart,
    test_result_reaches_a_screen_reader,
    test_window_icon_sizes,
]


def main():
    global OPTIONS
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--prefix", required=True, help="the folder the program is installed in")
    parser.add_argument("--data-home", help="XDG_DATA_HOME of the install")
    parser.add_argument("--command", help="start the program with this command line instead of "
                        "its menu entry's (the tests that need the menu entry then fail)")
    parser.add_argument("--shots", required=True, help="folder for the screenshots")
    parser.add_argument("--version", required=True, help="the version the build gave the program")
    parser.add_argument("-k", dest="only", action="append",
                        help="run only the tests whose name holds this (may be repeated)")
    OPTIONS = parser.parse_args()
    OPTIONS.prefix = os.path.realpath(OPTIONS.prefix)
    if OPTIONS.command:
        OPTIONS.argv = shlex.split(OPTIONS.command)
    elif OPTIONS.data_home:
        OPTIONS.desktop_file = os.path.join(OPTIONS.data_home, "applications", "quorvex.desktop")
        OPTIONS.argv = exec_argv(desktop_entry(OPTIONS.desktop_file).get("Exec", ""))
    else:
        parser.error("--data-home or --command is needed")
    OPTIONS.work = tempfile.mkdtemp(prefix="quorvex-e2e-")
    os.makedirs(OPTIONS.shots, exist_ok=True)

    # The accessibility bus first, so that the program finds it at start-up.
    command("dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
            "org.a11y.Bus.GetAddress")
    window_manager = subprocess.Popen(["openbox"], stderr=subprocess.DEVNULL)
    passed = failed = 0
    try:
        time.sleep(0.5)
        for test in TESTS:
            if OPTIONS.only and not any(part in test.__name__ for part in OPTIONS.only):
                continue
            started = time.monotonic()
            try:
                test()
            except Exception:
                failed += 1
                print(f"FAIL {test.__name__}")
                traceback.print_exc(file=sys.stdout)
            else:
                passed += 1
                print(f"ok   {test.__name__} ({time.monotonic() - started:.1f} s)")
            sys.stdout.flush()
    finally:
        window_manager.terminate()
        window_manager.wait()
        shutil.rmtree(OPTIONS.work, ignore_errors=True)
    print(f"{passed} passed, {failed} failed")
    return 1 if failed or not passed else 0


if __name__ == "__main__":
    sys.exit(main())
