"""Drives the real wolt.exe under Wine on a private Xvfb display: a Suite owns
the display and an unmanaged prefix and runs its cases one after another, each
in its own evidence folder (docs/testing.md), the prefix's processes ended in between."""
import argparse
import glob
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import time
import traceback

WINESERVER = "/usr/lib/wine/wineserver"
TITLE = "wolt 1.45"
MAIN_SIZE = (864, 768)
CLIENT_OFFSET = (2, 2)   # the sunken client edge of the main window
OWNED_CLIENT = (5, 24)   # the client corner of an owned window with a caption
STRIP = (856, 300)       # beside the control panel: no control there
TOP = os.path.realpath(os.path.join(os.path.dirname(__file__), "..", ".."))
WINE = os.path.join(TOP, "scripts", "wine.sh")
# Upper bounds only: every wait ends as soon as its event is seen.
START_LIMIT, EXIT_LIMIT = 60, 30


class CheckFailed(AssertionError):
    pass


def expect(condition, message):
    if not condition:
        raise CheckFailed(message)


def wait_for(probe, timeout, interval=0.1):
    """Calls probe() until it returns something true; returns that or None."""
    end = time.monotonic() + timeout
    while True:
        value = probe()
        if value or time.monotonic() >= end:
            return value
        time.sleep(interval)


def near(a, b, tolerance):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


class Image:
    """A screenshot in the xwd format: 24-bit colour in 3 or 4 bytes a pixel,
    in either byte order (xwd and ImageMagick write different ones)."""

    def __init__(self, name, xwd):
        self.name, self.xwd = name, xwd
        header = struct.unpack(">25I", xwd[:100])
        self.step, self.line = header[11] // 8, header[12]
        self.start = header[0] + header[19] * 12   # behind the header and the colour map
        expect(header[3] == 24 and self.step in (3, 4) and header[14] == 0xFF0000, f"xwd format {header[:15]}")
        # Offsets of red, green and blue within a pixel.
        self.rgb = (2, 1, 0) if header[7] == 0 else (0, 1, 2) if self.step == 3 else (1, 2, 3)

    def pixel(self, x, y):
        i = self.start + y * self.line + x * self.step
        return self.xwd[i + self.rgb[0]], self.xwd[i + self.rgb[1]], self.xwd[i + self.rgb[2]]

    def save(self, path):
        """As a PNG (evidence)."""
        subprocess.run(["convert", "xwd:-", path], input=self.xwd, check=True)


class Suite:
    def __init__(self, name, prefix, keep=False, evidence=None):
        self.name, self.keep = name, keep
        self.prefix = os.path.join(TOP, "build", prefix)
        self.root = os.path.abspath(evidence) if evidence else os.path.join(TOP, "build", "e2e", name)
        self.results, self.xvfb, self.display, self.case = [], None, None, None

    def __enter__(self):
        signal.signal(signal.SIGTERM, lambda *_: (_ for _ in ()).throw(KeyboardInterrupt("SIGTERM")))
        shutil.rmtree(self.root, ignore_errors=True)
        os.makedirs(self.root)
        subprocess.run(["bash", os.path.join(TOP, "scripts", "wineprefix.sh"), self.prefix, "--unmanaged"], check=True)
        # As scripts/xvfb.sh: Xvfb picks its own display and never resets.
        reader, writer = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(writer), "-screen", "0", "1920x1080x24",
                                      "-nolisten", "tcp", "-noreset"], pass_fds=(writer,), stdout=subprocess.DEVNULL,
                                     stderr=open(os.path.join(self.root, "xvfb.log"), "ab"))
        os.close(writer)
        with os.fdopen(reader) as numbers:
            ready, _, _ = select.select([numbers], [], [], 20)
            number = numbers.readline().strip() if ready else ""
        if not number.isdigit() or self.xvfb.poll() is not None:
            self.xvfb.kill()
            raise CheckFailed(f"expected Xvfb to start; see {os.path.join(self.root, 'xvfb.log')}")
        self.display = f":{number}"
        self.expect_no_reset()
        return self

    def expect_no_reset(self):
        """A reset would clear a root window property once its setter has left."""
        env = dict(os.environ, DISPLAY=self.display)
        subprocess.run(["xprop", "-root", "-f", "WOLT_SUITE", "8s", "-set", "WOLT_SUITE", self.name], env=env, check=True)
        kept = subprocess.run(["xprop", "-root", "WOLT_SUITE"], env=env, capture_output=True, text=True).stdout
        if self.name not in kept:
            self.xvfb.kill()   # the suite is not entered, so its exit will not end the server
        expect(self.name in kept, f"expected the display to keep its state between clients (Xvfb -noreset); seen {kept!r}")

    def __exit__(self, kind, *_):
        self.end_wine()
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait(timeout=10)
        if kind is KeyboardInterrupt:
            print("interrupted")
            self.results.append(False)
        return kind is KeyboardInterrupt

    def run_cases(self, cases, only, *args):
        for name, body in cases:
            if only in name:
                self.run(name, body, *args)

    def env(self):
        debug = os.environ.get("E2E_WINEDEBUG", "-all,err+all,+msgbox,+timestamp")
        return dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG=debug, WINEDLLOVERRIDES="mscoree,mshtml=",
                    DISPLAY=self.display or "")

    def end_wine(self):
        """Ends every process of the prefix and waits until its wineserver has exited."""
        if self.case:
            for program in self.case.programs:
                if program.process.poll() is None:
                    program.process.kill()
        subprocess.run([WINESERVER, "-k"], env=self.env(), capture_output=True)
        subprocess.run([WINESERVER, "-w"], env=self.env(), capture_output=True, timeout=60)
        if self.case:
            for program in self.case.programs:
                program.process.wait(timeout=10)
                program.log.close()

    def run(self, name, body, *args):
        """Runs body(case, *args) as the case `name`; prints PASS or FAIL."""
        self.case = Case(self, name)
        started = time.monotonic()
        try:
            body(self.case, *args)
            failure = None
        except CheckFailed as error:
            failure = str(error)
        except Exception:
            failure = traceback.format_exc()
        if failure:
            self.case.keep_evidence()
            failure += f"\n    evidence: {self.case.folder}"
        self.end_wine()
        if not failure and not self.keep:
            shutil.rmtree(self.case.folder, ignore_errors=True)
        self.case = None
        self.results.append(failure is None)
        print(f"{'PASS' if failure is None else 'FAIL'} {name} ({time.monotonic() - started:.1f} s)"
              f"{': ' + failure if failure else ''}", flush=True)

    def summary(self):
        passed = sum(self.results)
        print(f"{self.name}: {passed} passed, {len(self.results) - passed} failed")
        return 0 if self.results and all(self.results) else 1


class Case:
    def __init__(self, suite, name):
        self.suite, self.name = suite, name
        self.folder = os.path.join(suite.root, re.sub(r"[^A-Za-z0-9]+", "-", name).strip("-")[:60])
        os.makedirs(self.folder)
        self.programs, self.shots, self.recent = [], 0, []

    def tool(self, *args, check=True):
        result = subprocess.run(list(args), env=self.suite.env(), capture_output=True, text=True, timeout=60)
        expect(result.returncode == 0 or not check, f"{' '.join(args)}: {result.stderr.strip()}")
        return result.stdout

    def run_folder(self, exe, name="run"):
        """A fresh program folder with wolt.exe and text/; the caller fills Data/."""
        folder = os.path.join(self.folder, name)
        os.makedirs(os.path.join(folder, "text"))
        shutil.copy(exe, os.path.join(folder, "wolt.exe"))
        return folder

    def start(self, folder):
        program = Program(self, folder, len(self.programs) + 1)
        self.programs.append(program)
        return program

    def window(self, title):
        """The one window titled `title`, waited for."""
        found = wait_for(lambda: self.windows(title), 20)
        expect(found and len(found) == 1, f"expected one window titled '{title}'; seen {found}")
        return found[0]

    def new_files(self, folder, pattern, before, count=1):
        """The files of folder/text matching `pattern` that are not in `before`, once there are `count`."""
        new = lambda: sorted(set(glob.glob(os.path.join(folder, "text", pattern))) - before)
        expect(wait_for(lambda: len(new()) == count, 10), f"expected {count} new {pattern}; seen {new()}")
        return new()

    def same_as_cli(self, path, folder, exe, args):
        """The file at `path` ends up with the bytes wolt-cli.exe writes with the same wolt.dat."""
        cli = os.path.join(os.path.dirname(exe), "wolt-cli.exe")
        result = subprocess.run([WINE, cli, "--settings", "wolt.dat", *args, "-o", "cli.txt"], cwd=folder,
                                env=self.suite.env(), capture_output=True, timeout=120)
        expect(result.returncode == 0, f"wolt-cli {' '.join(args)}: exit {result.returncode} {result.stderr[-300:]!r}")
        with open(os.path.join(folder, "cli.txt"), "rb") as f:
            expected = f.read()
        expect(wait_for(lambda: open(path, "rb").read() == expected, 5), f"expected {path} to equal wolt-cli {' '.join(args)}")

    # --- the display -------------------------------------------------------
    def windows(self, title=TITLE):
        """X windows whose name is exactly `title`."""
        out = self.tool("xdotool", "search", "--name", "^" + re.escape(title) + "$", check=False)
        return [int(w) for w in out.split()]

    def geometry(self, window):
        """(x, y, width, height) of a window's outer rectangle, None once it is gone."""
        out = self.tool("xdotool", "getwindowgeometry", "--shell", str(window), check=False)
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        keys = ("X", "Y", "WIDTH", "HEIGHT")
        return tuple(int(values[k]) for k in keys) if all(k in values for k in keys) else None

    def viewable(self, window):
        """Waits until `window` is mapped (a dialog's keys then reach its focused control)."""
        probe = lambda: "IsViewable" in self.tool("xwininfo", "-id", str(window), check=False)
        expect(wait_for(probe, 20), f"expected window {window} mapped within 20 s")

    def opacity(self, window):
        """_NET_WM_WINDOW_OPACITY as 0..1; 1.0 when absent (Wine removes it at full opacity)."""
        out = self.tool("xprop", "-id", str(window), "_NET_WM_WINDOW_OPACITY", check=False)
        match = re.search(r"=\s*(\d+)", out)
        return int(match.group(1)) / 0xFFFFFFFF if match else 1.0

    def shot(self, name, every_visual=False):
        """A screenshot; the last few become PNG files of a failed case (all with
        --keep). `every_visual` reads each window in its own visual (import):
        xwd leaves windows of another depth, Wine's pop-up menus, black."""
        self.shots += 1
        command = ["import", "-window", "root", "xwd:-"] if every_visual else ["xwd", "-root", "-silent"]
        for _ in range(3):
            # A window that goes away during the capture fails it, not the program.
            result = subprocess.run(command, env=self.suite.env(), capture_output=True, timeout=60)
            if result.returncode == 0:
                break
            with open(os.path.join(self.folder, "capture-errors.txt"), "ab") as f:
                f.write(result.stderr)
        expect(result.returncode == 0, f"expected a screenshot; {command[0]} failed three times")
        image = Image(f"{self.shots:03d}-{name}", result.stdout)
        self.recent = self.recent[-4:] + [image]
        if self.suite.keep:
            image.save(os.path.join(self.folder, image.name + ".png"))
        return image

    def shot_until(self, name, condition, message, timeout=10, every_visual=False):
        """Screenshots until condition(image) holds; fails with message(last image) after `timeout`."""
        end = time.monotonic() + timeout
        while True:
            image = self.shot(name, every_visual)
            if condition(image):
                return image
            expect(time.monotonic() < end, message(image) if callable(message) else message)
            time.sleep(0.2)

    def move(self, x, y, settle=0.35):
        self.tool("xdotool", "mousemove", str(x), str(y))
        time.sleep(settle)   # the hover state comes from the next ticks

    def click(self, x, y, button=1, settle=0.35):
        self.move(x, y, settle)
        self.tool("xdotool", "click", str(button))
        time.sleep(settle)

    def key(self, *names):
        self.tool("xdotool", "key", *names)

    def focus(self, window, point=None):
        """Gives `window` the keyboard focus the way a window manager would: X
        focus set on it, then (with `point`, window pixels) a click there for
        the program's own activation. Xvfb has no window manager: when a
        dialog's X window goes, X returns the focus to the root, and if Wine
        has already activated the owner again a click changes nothing in Wine,
        so Wine sets no X focus either."""
        focused = lambda: self.tool("xdotool", "getwindowfocus", check=False).strip() == str(window)
        corner = self.geometry(window)
        expect(corner, f"expected window {window} to focus; it is gone")
        # X focuses only a mapped window (BadMatch otherwise), and a window
        # found by its title may not be mapped yet: a message box just made.
        self.viewable(window)
        self.tool("xdotool", "windowfocus", str(window))
        if point:
            self.click(corner[0] + point[0], corner[1] + point[1], settle=0)
        expect(wait_for(focused, 10), f"expected window {window} to have the focus; seen "
                                      f"{self.tool('xdotool', 'getwindowfocus', check=False).strip()}")

    def keep_evidence(self):
        """What a failed case leaves for whoever reads it."""
        for name, command in (("processes.txt", "ps -eo pid,ppid,etimes,time,stat,args"), ("windows.txt", "xwininfo -root -tree"),
                              ("display.txt", "xdpyinfo")):
            with open(os.path.join(self.folder, name), "w") as f:
                f.write(self.tool(*command.split(), check=False))
        for image in self.recent:
            image.save(os.path.join(self.folder, image.name + ".png"))
        try:
            self.shot("failure").save(os.path.join(self.folder, "failure.png"))
        except (CheckFailed, subprocess.SubprocessError) as error:
            print(f"    no failure screenshot: {error}")


class View:
    """A window of the program. Pointer positions are window pixels as the
    program measures them, from `corner`: the outer corner of the main window,
    the client corner of an owned window with a caption; `origin` is the
    screen pixel of the picture's (0, 0), 2 pixels inside the main window."""

    def __init__(self, case, window, owned=False):
        self.case, self.window = case, window
        x, y = case.geometry(window)[:2]
        self.corner = (x + OWNED_CLIENT[0], y + OWNED_CLIENT[1]) if owned else (x, y)
        self.origin = self.corner if owned else (x + CLIENT_OFFSET[0], y + CLIENT_OFFSET[1])

    def at(self, image, x, y):
        return image.pixel(self.origin[0] + x, self.origin[1] + y)

    def point(self, x, y, button=None, settle=0.35):
        """Rests the pointer on window pixel (x, y) (the hover state comes from the ticks), then clicks `button`."""
        x, y = self.corner[0] + x, self.corner[1] + y
        self.case.click(x, y, button, settle) if button else self.case.move(x, y, settle)

    def activate(self):
        """A click on the strip beside the control panel (no control there) until the main window has the focus."""
        self.case.focus(self.window, STRIP)

    def popup(self, x, y, keys, button=3, probe=(20, 8, 20, 6, 40)):
        """Opens a pop-up menu by a click at (x, y) and gives it `keys` once
        more than probe[4] pixels of the probe[2] x probe[3] rectangle at
        (x + probe[0], y + probe[1]) are light (picture pixels)."""
        self.point(x, y, button)
        dx, dy, w, h, need = probe
        light = lambda i: sum(min(self.at(i, x + dx + u, y + dy + v)) > 150 for u in range(w) for v in range(h)) > need
        self.case.shot_until("menu", light, "expected the pop-up menu", every_visual=True)
        self.case.key(*keys)


class Program:
    """One wolt.exe started in a program folder; its Wine log records the
    message boxes it showed (the msgbox channel) and Wine's errors."""

    def __init__(self, case, folder, number):
        self.case, self.folder = case, folder
        self.log_path = os.path.join(case.folder, f"wine-{number}.log")
        self.log = open(self.log_path, "wb")
        self.process = subprocess.Popen([WINE, "wolt.exe"], cwd=folder, env=case.suite.env(),
                                        stdout=self.log, stderr=subprocess.STDOUT)

    def exited(self, timeout):
        """The exit code once the process has ended within `timeout`, else None."""
        wait_for(lambda: self.process.poll() is not None, timeout)
        return self.process.poll()

    def shown(self, title=TITLE):
        """The 864 x 768 window titled `title` once it has faded in; returns (window, opacities seen on the way)."""
        def probe():
            if self.process.poll() is not None:
                return "ended"
            return next((w for w in self.case.windows(title) if (self.case.geometry(w) or (0, 0))[2:] == MAIN_SIZE), None)
        window = wait_for(probe, START_LIMIT)
        expect(window != "ended", f"expected the main window; the program ended with exit code "
                                  f"{self.process.returncode} before showing it (see {self.log_path})")
        expect(window, f"expected a {MAIN_SIZE[0]}x{MAIN_SIZE[1]} window titled '{title}' within "
                       f"{START_LIMIT} s; seen: {[(w, self.case.geometry(w)) for w in self.case.windows(title)]}")
        with open(f"/proc/{self.process.pid}/personality") as f:
            expect(int(f.read(), 16) & 0x0040000, f"expected Wine started by {WINE}, unrandomized")   # ADDR_NO_RANDOMIZE
        readings = []

        def opaque():
            readings.append(self.case.opacity(window))
            return readings[-1] >= 1.0
        expect(wait_for(opaque, 20, interval=0.05), f"expected full opacity within 20 s; last seen {readings[-1]:.3f}")
        return window, readings

    def box_texts(self):
        """Texts of every message box the program has shown so far."""
        self.log.flush()
        with open(self.log_path, "rb") as f:
            text = f.read().decode("utf-8", "replace")
        return [_unescape(m) for m in re.findall(r'trace:msgbox:MSGBOX_OnInit L"((?:[^"\\]|\\.)*)"', text)]

    def boxes(self):
        """Windows titled "wolt 1.45" that are not the main window (message boxes)."""
        return [w for w in self.case.windows() if (self.case.geometry(w) or (0, 0))[2:] != MAIN_SIZE]

    def close(self, window, key="Escape", focus=STRIP, boxes=0):
        """Focus by a click at `focus` (the strip beside the control panel), then
        `key`; expects a clean exit and no message box but the `boxes` answered."""
        self.case.focus(window, focus)
        self.case.key(key)
        code = self.exited(EXIT_LIMIT)
        expect(code == 0, f"expected exit code 0 within {EXIT_LIMIT} s after {key}; seen {code}")
        expect(len(self.box_texts()) == boxes, f"expected {boxes} message boxes; seen {self.box_texts()}")


def arguments(doc, **options):
    """The command line: each of `options` as --NAME (default its value), --keep, --only TEXT, --evidence DIR."""
    parser = argparse.ArgumentParser(description=doc.splitlines()[0])
    for name, default in options.items():
        parser.add_argument("--" + name, default=default)
    parser.add_argument("--keep", action="store_true", help="keep the folders of passed cases too")
    parser.add_argument("--only", default="", help="run only the cases whose name contains this")
    parser.add_argument("--evidence", help="the folder for the cases' folders (default build/e2e/SUITE)")
    return parser.parse_args()


def _unescape(text):
    text = re.sub(r"\\u?([0-9a-fA-F]{4})", lambda m: chr(int(m.group(1), 16)), text)   # Wine writes \8868
    text = re.sub(r"\\x([0-9a-fA-F]{2})", lambda m: chr(int(m.group(1), 16)), text)
    return text.replace('\\"', '"').replace("\\\\", "\\")
