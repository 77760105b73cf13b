"""What a blind user hears: the installed program under the screen reader Orca.

The program is driven by the keyboard alone (xdotool), one step at a time, and each step is
judged by the words Orca would have spoken meanwhile: the "SPEECH OUTPUT: '...'" lines of its
debug log. Orca opens its log with Python's open(), which buffers a file by blocks but a
terminal by lines, so the log goes to a pseudo-terminal read here as it is written: every
line arrives when Orca speaks it, and each is matched to the step that caused it.

Run by tests/screenreader/run inside Xvfb and a private D-Bus session; see there.
"""

import argparse
import os
import re
import signal
import subprocess
import sys
import threading
import time
import tty

MAIN_TITLE = "Tollick's Results"
WIN = "YOU WIN! You're as rich as a Duke!"
DESCRIPTION = "This is Tollick's personal Betting calculator."
WARNING = "Use this program at your own risk."
# The words, then the voice's settings when there are any.
SPEECH = re.compile(r"SPEECH OUTPUT: '(.*)' ?(?:\{.*\})?$")
FIGURE = re.compile(r"\d+(?:\.\d+)?")


class OrcaLog:
    """Orca's debug log, read line by line from a pseudo-terminal, each line with the time it
    arrived; the whole log is copied to a file for whoever reads a failure."""

    def __init__(self, path):
        self.master, slave = os.openpty()
        tty.setraw(slave)  # no line-ending translation
        self.device = os.ttyname(slave)
        self.slave = slave
        self.copy = open(path, "w", encoding="utf-8")
        self.lines = []  # (arrival, text)
        self.lock = threading.Lock()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        pending = b""
        while True:
            try:
                chunk = os.read(self.master, 65536)
            except OSError:
                return
            if not chunk:
                return
            pending += chunk
            *complete, pending = pending.split(b"\n")
            now = time.monotonic()
            with self.lock:
                for raw in complete:
                    line = raw.decode("utf-8", "replace").rstrip("\r")
                    self.lines.append((now, line))
                    self.copy.write(line + "\n")
                self.copy.flush()

    def spoken(self, since, until=None):
        """The utterances that arrived in that span of time."""
        with self.lock:
            found = []
            for at, line in self.lines:
                if at >= since and (until is None or at < until):
                    match = SPEECH.search(line)
                    if match and match.group(1).strip():
                        found.append(match.group(1))
            return found

    def has(self, text):
        with self.lock:
            return any(text in line for _, line in self.lines)


def xdotool(*args):
    subprocess.run(["xdotool", *args], check=True, capture_output=True)


def wait(probe, timeout, interval=0.1):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if probe():
            return True
        time.sleep(interval)
    return bool(probe())


class Step:
    """One action of the user, with what Orca said from its start until the next step's. Orca
    has answered once it has said `until` (which it says for the step whatever the program's
    version) and then been quiet for a second."""

    def __init__(self, what, until, keys=None, text=None, patience=20.0, action=None):
        self.what, self.until, self.keys, self.text = what, until, keys, text
        self.action = action
        self.patience = patience
        self.started = self.ended = 0.0
        self.said = []

    def heard(self):
        return " ".join(self.said)


def run_steps(log, steps):
    for step in steps:
        step.started = time.monotonic()
        if step.action:
            step.action()
        if step.keys:
            xdotool("key", "--clearmodifiers", "--delay", "150", *step.keys)
        if step.text:
            xdotool("type", "--delay", "150", step.text)
        # A busy machine may keep Orca waiting: give it time to answer, then to finish.
        wait(lambda: any(step.until in said for said in log.spoken(step.started)),
             step.patience)
        deadline = time.monotonic() + 10
        count, quiet_since = -1, time.monotonic()
        while time.monotonic() < deadline and time.monotonic() - quiet_since < 1.0:
            if len(log.spoken(step.started)) != count:
                count, quiet_since = len(log.spoken(step.started)), time.monotonic()
            time.sleep(0.1)
        step.ended = time.monotonic()
        step.said = log.spoken(step.started, step.ended)
        print(f"{step.started - steps[0].started:6.1f} s  {step.what}: {step.said}")
        sys.stdout.flush()


def figures(text):
    return FIGURE.findall(text)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--log", required=True, help="where Orca's debug log is copied")
    options = parser.parse_args()

    for key, value in (("org.gnome.desktop.a11y.applications", "screen-reader-enabled"),
                       ("org.gnome.desktop.interface", "toolkit-accessibility")):
        subprocess.run(["gsettings", "set", key, value, "true"], capture_output=True)
    # The accessibility bus first, so that Orca and the program find it.
    bus = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                           stderr=subprocess.DEVNULL)
    window_manager = subprocess.Popen(["openbox"], stderr=subprocess.DEVNULL)
    log = OrcaLog(options.log)
    # Orca refuses to start while another Orca of this user runs, as another test may have on
    # this machine; it looks for one with pgrep, which finds none here.
    shim = os.path.join(os.environ["HOME"], "bin")
    os.makedirs(shim, exist_ok=True)
    with open(os.path.join(shim, "pgrep"), "w") as file:
        file.write("#!/bin/sh\nexit 1\n")
    os.chmod(os.path.join(shim, "pgrep"), 0o755)
    orca_env = dict(os.environ, PATH=shim + os.pathsep + os.environ["PATH"])
    orca = subprocess.Popen(["orca", "--debug-file", log.device], env=orca_env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    program = None
    failures = []
    begun = time.monotonic()
    try:
        if not wait(lambda: log.has("ORCA: ATSPI registry initialized"), 60):
            raise AssertionError("Orca did not start")
        time.sleep(1)

        def start():
            nonlocal program
            program = subprocess.Popen(
                [options.program],
                env=dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"),
                stdout=subprocess.DEVNULL)
            if not wait(lambda: subprocess.run(
                    ["xdotool", "search", "--onlyvisible", "--name", f"^{MAIN_TITLE}$"],
                    capture_output=True).returncode == 0, 60):
                raise AssertionError("the main window did not come up")

        def main_window_in_front():
            # Openbox may leave no window active when a window without an owner closes; the
            # user would click the main window then.
            wid = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                  f"^{MAIN_TITLE}$"], capture_output=True, text=True).stdout.split()
            active = lambda: subprocess.run(["xdotool", "getactivewindow"], capture_output=True,
                                            text=True).stdout.strip()
            if wid and not wait(lambda: active() in wid, 5):
                print("         (the window manager left no window active: activating the main one)")
                xdotool("windowactivate", "--sync", wid[0])
                time.sleep(1)

        steps = [
            # The focus in the stake field, as the window comes up.
            Step("the window comes up", "Stake Bet", action=start, patience=60),
            Step("type the stake", "0", keys=["ctrl+a"], text="10"),
            Step("Tab to the left odds figure", "ODDS", keys=["Tab"]),
            Step("type 5", "5", keys=["ctrl+a"], text="5"),
            Step("Tab to the right odds figure", "ODDS", keys=["Tab"]),
            Step("type 2", "2", keys=["ctrl+a"], text="2"),
            Step("Tab to Odds-On", "Odds-On", keys=["Tab"]),
            Step("Tab to Winnings", "Winnings", keys=["Tab"]),
            Step("Tab to Plus Original Stake", "Plus Original Stake", keys=["Tab"]),
            Step("Tab to TOTAL", "TOTAL", keys=["Tab"]),
            Step("Tab to Calculate", "Calculate", keys=["Tab"]),
            Step("Tab to Did you win?", "Did you win?", keys=["Tab"]),
            Step("Down to No", "No", keys=["Down"], patience=8),
            Step("Up to Yes", "Yes", keys=["Up"], patience=8),
            Step("Shift+Tab to Calculate", "Calculate", keys=["shift+Tab"]),
            Step("Space presses Calculate", "YOU WIN", keys=["space"]),
            Step("Shift+Tab to TOTAL", "TOTAL", keys=["shift+Tab"]),
            Step("Shift+Tab to Plus Original Stake", "Plus Original Stake", keys=["shift+Tab"]),
            Step("Shift+Tab to Winnings", "Winnings", keys=["shift+Tab"]),
            Step("Help, About", "OK push button", keys=["alt+h", "a"]),
            Step("Esc closes the About box", MAIN_TITLE, keys=["Escape"]),
            Step("Options, Paths", "Options", keys=["alt+o", "p"], action=main_window_in_front),
        ]
        run_steps(log, steps)
        by = {step.what: step for step in steps}

        def check(ok, what, step):
            if not ok:
                failures.append(f"{what}; heard {step.said!r}")

        left, right = by["Tab to the left odds figure"], by["Tab to the right odds figure"]
        for step, side, figure in ((left, "left-hand", "1"), (right, "right-hand", "1")):
            check(re.search(rf"ODDS, {side} figure", step.heard()) and
                  figures(step.heard()) == [figure],
                  f"the {side} odds field heard as ODDS, {side} figure, with {figure} once", step)
        check(left.heard() != right.heard(), "the two odds fields heard apart", right)
        for what, name, figure in (("the window comes up", "Stake Bet", "0.00"),
                                   ("Tab to TOTAL", "TOTAL", "0.00"),
                                   ("Shift+Tab to TOTAL", "TOTAL", "35"),
                                   ("Shift+Tab to Plus Original Stake", "Plus Original Stake",
                                    "10"),
                                   ("Shift+Tab to Winnings", "Winnings", "25.00")):
            step = by[what]
            check(name in step.heard() and figures(step.heard()) == [figure],
                  f"{name} heard with {figure}, whole and once", step)
        for step in steps:
            check("unselected" not in step.heard().lower(),
                  f"no unselection read out on leaving a field ({step.what})", step)
        step = by["Tab to Did you win?"]
        check("Did you win?" in step.heard() and "Yes" in step.heard(),
              "Did you win? heard with its choice, Yes", step)
        check("No" in by["Down to No"].said, "the choice No heard when Down changes it",
              by["Down to No"])
        check("Yes" in by["Up to Yes"].said, "the choice Yes heard when Up changes it",
              by["Up to Yes"])
        step = by["Space presses Calculate"]
        heard = step.heard()
        outcome = heard.find("YOU WIN!")
        total = heard.find("TOTAL", outcome + 1) if outcome >= 0 else -1
        grand = heard.find("GRAND TOTAL", total + 1) if total >= 0 else -1
        check(outcome >= 0 and total > outcome and grand > total and
              "35" in heard[total:grand] and "35" in heard[grand:],
              "after Calculate the outcome, then TOTAL 35, then GRAND TOTAL 35", step)
        step = by["Help, About"]
        heard = step.heard()
        check(re.search(r"About Quorvex\W+dialog", heard) and
              f"Version {options.version}" in heard and DESCRIPTION in heard and
              WARNING in heard and re.search(r"\bQuorvex\b.*Version", heard),
              "the About box read as a dialog with its title, version, description and warning",
              step)
        step = by["Options, Paths"]
        check(re.search(r"Options\W+dialog", step.heard()), "Options announced as a dialog", step)
    except AssertionError as error:
        failures.append(str(error))
    finally:
        if program and program.poll() is None:
            program.kill()
            program.wait()
        # Orca may ignore a polite request to end; everything it said is already read.
        orca.send_signal(signal.SIGKILL)
        orca.wait()
        for process in (window_manager, bus):
            process.terminate()
            process.wait()
    print(f"Orca's log: {options.log}; {time.monotonic() - begun:.0f} s in all")
    for failure in failures:
        print("FAIL " + failure)
    print("ok, every check heard" if not failures else f"{len(failures)} checks failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
