"""quorvex.exe end to end under Wine in a real X display: started as a user starts it, driven only
with keys and clicks (xdotool), and read back as a user sees it, through the inspector program
(the windows' classes, texts and places, as the system reports them; what a screen reader reads
through Active Accessibility, and the alerts and value changes it hears of) and the results
file's bytes. Screenshots of the four windows go to the folder given.

Usage: e2e.py WORK SHOTS   (WORK holds quorvex.exe and quorvex_inspect.exe; $WINE is the loader)
"""
import json
import os
import struct
import subprocess
import sys
import threading
import time
from pathlib import Path

WORK = Path(sys.argv[1])
SHOTS = Path(sys.argv[2])
WINE = os.environ["WINE"]
RESULTS = "quorvexresults.txt"
failures = []


def program_version():
    """The version line the windows show, from the file version of quorvex.exe's version
    resource: the build gives both from the project's one version."""
    data = (WORK / "quorvex.exe").read_bytes()
    at = data.find(struct.pack("<I", 0xFEEF04BD))  # the fixed file information's signature
    if at < 0:
        raise SystemExit("quorvex.exe has no version resource")
    high, low = struct.unpack_from("<II", data, at + 8)
    return f"Version {high >> 16}.{high & 0xFFFF}.{low >> 16}"


VERSION = program_version()


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


def inspect(*options):
    # Into a file, not a pipe: Wine's own helper processes may inherit and keep a pipe open.
    listing = WORK / "inspected.json"
    with open(listing, "w") as out:
        subprocess.run([WINE, str(WORK / "quorvex_inspect.exe"), *options], cwd=WORK,
                       stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL, timeout=60)
    try:
        return json.loads(listing.read_text())
    except json.JSONDecodeError:
        return []


# Active Accessibility's roles and states, as a screen reader reads them.
DIALOG, STATIC_TEXT, TEXT, PUSH_BUTTON, CHECK_BUTTON, COMBO_BOX = 18, 41, 42, 43, 44, 46
CHECKED, ALERTS = 0x10, 0x08000000 | 0x10000000  # checked; alert, medium or high


def read_accessibly():
    """The windows with what a screen reader reads of each; the program must be at rest."""
    return inspect("--accessible")


class Events:
    """The alerts and value changes the program raises while the with-block runs, read as a
    screen reader hears of them."""

    def __init__(self, seconds):
        self.seconds = seconds

    def __enter__(self):
        self.file = WORK / "events.json"
        self.out = open(self.file, "w")
        self.watcher = subprocess.Popen(
            [WINE, str(WORK / "quorvex_inspect.exe"), "--events", str(self.seconds)], cwd=WORK,
            stdin=subprocess.DEVNULL, stdout=self.out, stderr=subprocess.DEVNULL)
        time.sleep(2)  # the watcher's hooks in place
        return self

    def __exit__(self, *failed):
        self.watcher.wait(timeout=self.seconds + 60)
        self.out.close()
        try:
            self.heard = json.loads(self.file.read_text())
        except json.JSONDecodeError:
            self.heard = []


def seen(shown, error=None):
    """What a look at the screen saw, for a message: the visible windows by class and caption."""
    windows = ", ".join(f"{w['class']} {w['text']!r}" for w in shown if w["visible"])
    return (windows or "no window") + (f"; {type(error).__name__}: {error}" if error else "")


def looks(look, timeout):
    """look() on fresh looks at the screen until the deadline, yielding its answer, the windows
    and whether the deadline has passed. An error while windows come and go means "not yet"."""
    end = time.monotonic() + timeout
    while True:
        shown, error = inspect(), None
        try:
            answer = look(shown)
        except (LookupError, StopIteration, TypeError, ValueError) as failed:
            answer, error = None, failed
        yield answer, seen(shown, error), time.monotonic() > end
        time.sleep(0.1)


def wait_for(find, what, timeout=60):
    """The first non-empty answer of find(); without one by the deadline the run ends with a
    failure that names the windows seen last."""
    for found, saw, late in looks(find, timeout):
        if found:
            return found
        if late:
            check(False, f"in time: {what} (seen last: {saw})")
            raise SystemExit(finish())


def expect(look, want, what, timeout=30):
    """Checks that look() comes to give want before the deadline; if it does not, the failure
    says what it gave last."""
    for got, saw, late in looks(look, timeout):
        if got == want or late:
            break
    check(got == want, what if got == want else f"{what}: got {got!r} (seen: {saw})")


def forms(shown, caption=None):
    """The program's visible windows of its own class, or the one with this caption."""
    visible = [w for w in shown if w["class"] == "QuorvexForm" and w["visible"]]
    return visible if caption is None else next((w for w in visible if w["text"] == caption), None)


def message_box(shown):
    return next((w for w in shown if w["class"] == "#32770" and w["visible"]
                 and w["text"] == "Quorvex"), None)


def controls(window):
    """Every control, depth first in the stacking order, which is the order a reader goes by."""
    for child in window["children"]:
        yield child
        yield from controls(child)


def control(window, text, cls=None):
    return next(c for c in controls(window) if c["text"] == text and (cls is None or c["class"] == cls))


def field(window, heading, after=0):
    """The field a label names: the control just after it among its neighbours (and after more
    fields for the rest of a heading's group), as a screen reader finds it."""
    label = control(window, heading, "Static")
    neighbours = next(w["children"] for w in [window, *controls(window)] if label in w["children"])
    return neighbours[neighbours.index(label) + 1 + after]


def centre(c):
    left, top, right, bottom = c["rect"]
    return (left + right) // 2, (top + bottom) // 2


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True)
    time.sleep(0.15)


def click(c, at=None):
    x, y = at or centre(c)
    xdotool("mousemove", x, y, "click", 1)


def keys(*names):
    for name in names:
        xdotool("key", name)


def type_into(c, text):
    """Clicks into a field, selects what it holds and types over it."""
    left, top, right, bottom = c["rect"]
    click(c, (left + 8, (top + bottom) // 2))
    keys("Home", "shift+End")
    xdotool("type", "--delay", 30, text)


def screenshot(name, window):
    SHOTS.mkdir(parents=True, exist_ok=True)
    left, top, right, bottom = window["rect"]
    shot = SHOTS / (name + ".png")
    subprocess.run(["import", "-window", "root", "-crop",
                    f"{right - left}x{bottom - top}+{left}+{top}", "+repage", "-strip", str(shot)],
                   check=True)
    print("     screenshot " + str(shot), flush=True)


# The program notes its start-up milestones here, in nanoseconds of the system clock.
TRACE = WORK / "startup-trace"


def start():
    TRACE.unlink(missing_ok=True)
    return subprocess.Popen([WINE, "quorvex.exe"], cwd=WORK, stdin=subprocess.DEVNULL,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            env=dict(os.environ, QUORVEX_STARTUP_TRACE=windows_path(TRACE)))


def noted(name):
    """When the program noted this start-up milestone, or None while it has not."""
    lines = TRACE.read_text().split("\n")[:-1] if TRACE.exists() else []  # whole lines only
    return next((int(line.split()[1]) for line in lines if line.startswith(name + " ")), None)


def shoot_screen(kept):
    """Pictures of the whole screen from the splash's painting to the end of the start-up pause,
    after which the splash goes: the last one finished before that end is kept."""
    end = time.monotonic() + 60
    while not noted("splash-painted") and time.monotonic() < end:
        time.sleep(0.02)
    while time.monotonic() < end:
        shot = WORK / f"screen-{len(kept)}.png"
        subprocess.run(["import", "-window", "root", str(shot)], check=True)
        finished, ended = time.time_ns(), noted("pause-ended")
        if ended and finished > ended:
            return
        kept.append(shot)


# Where the splash was seen last; it comes up at the same place at every start.
splash_at = None


def splash_screen():
    """The splash, alone on the screen, and whether a screenshot of it was taken while it was
    up. A look through the inspector may take longer than the splash stays up: then this start
    shows nothing of it, and its screenshot is cut where the splash was seen at another start."""
    global splash_at
    kept = []
    shooter = threading.Thread(target=shoot_screen, args=(kept,))
    shooter.start()
    shown = wait_for(lambda s: (forms(s, "") or main_of(s)) and s, "the splash screen", timeout=60)
    shooter.join()
    splash = forms(shown, "")
    if splash:
        texts = [c["text"] for c in controls(splash)]
        check(len(forms(shown)) == 1 and VERSION in texts and "Quorvex" in texts,
              f"the splash comes alone, with title and version: {texts}")
        splash_at = splash["rect"]
    else:
        print("     the splash had gone by the first look", flush=True)
    if not kept or not splash_at:
        return False
    left, top, right, bottom = splash_at
    SHOTS.mkdir(parents=True, exist_ok=True)
    subprocess.run(["convert", str(kept[-1]), "-crop",
                    f"{right - left}x{bottom - top}+{left}+{top}", "+repage", "-strip",
                    str(SHOTS / "splash.png")], check=True)
    print(f"     screenshot {SHOTS / 'splash.png'}", flush=True)
    return True


def main_of(shown):
    return forms(shown, "Tollick's Results")


def check_read(c, what, role, name, value=None, description=None):
    """What a screen reader reads of a control: its role, name and, where given, value and
    description."""
    got = c.get("accessible") or {}
    want = {"role": role, "name": name}
    want.update({k: v for k, v in (("value", value), ("description", description)) if v is not None})
    seen = {k: got.get(k) for k in want}
    check(seen == want, f"a screen reader reads {what} as {want}" +
          ("" if seen == want else f": got {seen}"))


def check_main_read(main):
    """After a won bet of 10 at five to two: each kind of control, as a screen reader reads it."""
    check_read(field(main, "ODDS"), "the left odds field", COMBO_BOX, "ODDS, left-hand figure", "5")
    check_read(field(main, "ODDS", 1), "the right odds field", COMBO_BOX,
               "ODDS, right-hand figure", "2")
    check_read(field(main, "Odds-On"), "Odds-On", CHECK_BUTTON, "Odds-On")
    check_read(field(main, "Did you win?"), "Did you win?", COMBO_BOX, "Did you win?", "Yes")
    for heading, figure in (("Winnings", "25.00"), ("Plus Original Stake", "10"), ("TOTAL", " 35"),
                            ("GRAND TOTAL:", " 35")):
        check_read(field(main, heading), "the field " + heading, TEXT, heading, figure)
    for button in ("Calculate", "Save", "Reset"):
        check_read(control(main, button, "Button"), "the button " + button, PUSH_BUTTON, button)
    check_read(control(main, "TOTAL", "Static"), "a heading", STATIC_TEXT, "TOTAL")
    win = control(main, "YOU WIN! You're as rich as a Duke!")
    check_read(win, "the win", STATIC_TEXT, win["text"], description="TOTAL 35, GRAND TOTAL: 35")
    check((win.get("accessible") or {}).get("state", 0) & ALERTS, "the win is an alert")


def check_odds_on_state(main):
    """Odds-On's checked state as a screen reader reads it, ticked and unticked again."""
    box = field(main, "Odds-On")
    for checked in (True, False):
        click(box)
        got = (field(main_of(read_accessibly()), "Odds-On").get("accessible") or {}).get("state", 0)
        check(bool(got & CHECKED) == checked,
              f"a screen reader reads Odds-On {'checked' if checked else 'unchecked'}")


def main_window():
    return wait_for(lambda s: not forms(s, "") and main_of(s), "the main window, the splash gone")


def text_of(window, heading, after=0):
    return field(window, heading, after)["text"]


def figures(*headings):
    """A look at the main window's fields that these headings name."""
    return lambda shown: tuple([text_of(main_of(shown), heading) for heading in headings])


def focus(shown):
    """The main window's control with the focus: the heading just before it, else its class and
    text."""
    for window in [main_of(shown), *controls(main_of(shown))]:
        neighbours = window["children"]
        for at, c in enumerate(neighbours):
            if c["focused"]:
                before = neighbours[at - 1] if at else {}
                named = before.get("class") == "Static"
                return before["text"] if named else f"{c['class']} {c['text']!r}"
    return "nothing"


def settle(main, stake, lower, upper, won):
    type_into(field(main, "Stake Bet"), stake)
    type_into(field(main, "ODDS"), lower)
    type_into(field(main, "ODDS", 1), upper)
    choice = field(main, "Did you win?")
    if choice["text"] != ("Yes" if won else "No"):
        click(choice)
        keys("Down" if not won else "Up", "Return")
    click(control(main, "Calculate", "Button"))
    label = "YOU WIN! You're as rich as a Duke!" if won else "YOU LOSE! You're as poor as a pudding."
    return wait_for(lambda s: (w := main_of(s)) and control(w, label)["visible"] and w,
                    "the " + ("win" if won else "loss") + " shown")


def answer_box(expected):
    wait_for(message_box, "a message box")
    says = lambda s: [c["text"] for c in controls(message_box(s)) if c["class"] == "Static"]
    expect(lambda s: expected if any(expected in t for t in says(s)) else says(s), expected,
           f"the message box says {expected!r}")
    keys("Return")
    wait_for(lambda s: not message_box(s), "the message box closed")


def options_path(options):
    return field(options, "Path to Save results file:")


def choose_folder(main, folder):
    activate(main)
    keys("alt+o", "p")
    options = wait_for(lambda s: forms(s, "Options"), "the Options dialog")
    type_into(options_path(options), folder)
    click(control(options, "OK", "Button"))
    wait_for(lambda s: not forms(s, "Options"), "Options hidden by OK")


def activate(window):
    """A click on the window's bare area brings it to the front, as a user's would."""
    left, top, right, bottom = window["client"]
    xdotool("mousemove", right - 5, top + 5, "click", 1)


def exit_program(program, main):
    activate(main)
    keys("alt+f", "x")
    try:
        program.wait(timeout=60)
    except subprocess.TimeoutExpired:
        check(False, "the program ends at Exit")
        program.kill()
    expect(lambda s: [w["text"] for w in s if w["visible"]], [], "no window left after Exit")


def press_during_race(main):
    """Stake 10 at one to one, won, with Calculate clicked again while the horse runs: one bet
    settled, and the button answers again once the race is over. Nothing is inspected during
    the race, since the program answers no window's question while it runs."""
    before = text_of(main, "GRAND TOTAL:")
    type_into(field(main, "Stake Bet"), "10")
    type_into(field(main, "ODDS"), "1")
    type_into(field(main, "ODDS", 1), "1")
    check(text_of(main, "Did you win?") == "Yes", "won chosen for the press during the race")
    xdotool("mousemove", *centre(control(main, "Calculate", "Button")), "click", 1)
    time.sleep(0.1)
    xdotool("click", 1)
    main = wait_for(lambda s: (w := forms(s, "Tollick's Results"))
                    and text_of(w, "GRAND TOTAL:") != before and w, "the race over")
    # Long enough for a click held back to come through, were it not dropped.
    time.sleep(1)
    main = wait_for(lambda s: forms(s, "Tollick's Results"), "the main window after the race")
    grand = float(before)
    check(text_of(main, "GRAND TOTAL:") == f" {grand + 20:g}",
          f"two clicks in one race settle one bet: {before} + 20, not + 40")
    click(control(main, "Calculate", "Button"))
    main = wait_for(lambda s: (w := forms(s, "Tollick's Results"))
                    and text_of(w, "GRAND TOTAL:") == f" {grand + 40:g}" and w,
                    "Calculate answers again after the race")
    return main


def finish():
    print(f"{len(failures)} failed" if failures else "all passed", flush=True)
    return 1 if failures else 0


def run():
    results = WORK / RESULTS
    results.unlink(missing_ok=True)

    # First start: the splash alone, then the main window with no previous total.
    program = start()
    splash_shot = splash_screen()
    main = main_window()
    expect(figures("Previous Total"), ("",), "no previous total without a results file")
    expect(focus, "Stake Bet", "the focus starts in the stake")

    # A won bet and a lost one.
    main = settle(main, "10", "5", "2", won=True)
    expect(figures("Winnings", "TOTAL", "Running Total"), ("25.00", " 35", " 35"),
           "won at five to two: 25.00 won, 35 in all")
    screenshot("main-window", main)
    check_main_read(main_of(read_accessibly()))
    check_odds_on_state(main)
    # The change of choice and the outcome, as a screen reader hears of them.
    with Events(20) as events:
        main = settle(main, "10", "5", "2", won=False)
    heard = [(e["event"], e.get("accessible", {}).get("name"), e.get("accessible", {}).get("value"))
             for e in events.heard]
    check(("valuechange", "Did you win?", "No") in heard,
          f"a screen reader hears Did you win? change to No: {heard}")
    alert = next((e["accessible"] for e in events.heard if e["event"] == "alert"), {})
    check(alert.get("name") == "YOU LOSE! You're as poor as a pudding."
          and alert.get("description") == "TOTAL -10, GRAND TOTAL: 25",
          f"the loss is heard with the race total and the grand total: {alert}")
    expect(figures("Plus Original Stake", "GRAND TOTAL:", "Running Total"), ("-10", " 25", " 25"),
           "lost: 10 off the total")

    # Save, then Exit and a new start, which shows the saved total as the previous one.
    click(control(main, "Save", "Button"))
    answer_box("Data saved to file!")
    check(results.read_bytes() == b'" 25"\r\n', "the results file holds the running total")
    exit_program(program, main)
    program = start()
    splash_shot = splash_screen() or splash_shot
    check(splash_shot, "the splash screenshot was taken while it was up")
    main = main_window()
    expect(figures("Previous Total"), (" 25",), "the next start reads the previous total")
    main = settle(main, "10", "5", "2", won=True)
    expect(figures("Running Total"), (" 60",), "the running total adds the previous one")

    # Options: the program's folder, then a folder typed in and kept by OK.
    activate(main)
    keys("alt+o", "p")
    options = wait_for(lambda s: forms(s, "Options"), "the Options dialog")
    expect(lambda s: options_path(forms(s, "Options"))["text"], windows_path(WORK),
           "Options shows the program's folder")
    check_read(forms(read_accessibly(), "Options"), "the Options window", DIALOG, "Options")
    screenshot("options", options)
    click(control(options, "Cancel", "Button"))
    wait_for(lambda s: not forms(s, "Options"), "Options gone at Cancel")
    saved = WORK / "saved"
    saved.mkdir(exist_ok=True)
    choose_folder(main, windows_path(saved))
    click(control(main, "Save", "Button"))
    answer_box("Data saved to file!")
    check((saved / RESULTS).read_bytes() == b'" 60"\r\n', "Save writes into the typed folder")

    # A folder that is not there: the message, and nothing lost.
    missing = WORK / "missing"
    choose_folder(main, windows_path(missing))
    click(control(main, "Save", "Button"))
    answer_box("Path not found")
    main = wait_for(main_of, "the main window after the error")
    expect(figures("Running Total"), (" 60",), "the running total stays after the error")
    check(not missing.exists()
          and (saved / RESULTS).read_bytes() == b'" 60"\r\n'
          and results.read_bytes() == b'" 25"\r\n', "the failed save loses nothing")

    main = press_during_race(main)

    # The About box, closed by Esc; then Exit with the About box open.
    activate(main)
    keys("alt+h", "a")
    about = wait_for(lambda s: forms(s, "About Quorvex"), "the About box")
    shown = lambda s: {c["text"] for c in controls(forms(s, "About Quorvex"))}
    expect(lambda s: sorted({"Quorvex", VERSION} - shown(s)), [],
           "About shows title and version, neither missing")
    read = forms(read_accessibly(), "About Quorvex")
    check_read(read, "the About box", DIALOG, "About Quorvex")
    told = (read.get("accessible") or {}).get("description") or ""
    parts = ["Quorvex", VERSION, "This is Tollick's personal Betting calculator", "Warning:"]
    at = [told.find(part) for part in parts]
    check(-1 not in at and at == sorted(at),
          f"the About box is described by its title, version, description and warning: {told!r}")
    screenshot("about", about)
    keys("Escape")
    wait_for(lambda s: not forms(s, "About Quorvex"), "About closed by Esc")
    activate(main)
    keys("alt+h", "a")
    wait_for(lambda s: forms(s, "About Quorvex"), "the About box again")
    exit_program(program, main)
    return finish()


if __name__ == "__main__":
    sys.exit(run())
