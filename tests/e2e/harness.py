"""Drives the real wolt.exe under Wine on a private Xvfb display.

A Session owns one Xvfb display and one Wine prefix; leaving it (also on a
failed check, an exception or Ctrl-C) ends every Wine process of the prefix
and stops Xvfb. A Program is one wolt.exe started in a run folder; its Wine
log records the message boxes it showed (the msgbox debug channel).
Only the Python standard library and the Debian tools xdotool, xprop and
ImageMagick's import/convert are used.
"""
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
TITLE = "wolt 1.45"
MAIN_SIZE = (864, 768)
CLIENT_OFFSET = (2, 2)   # the sunken client edge of the main window
SCREEN = "1920x1080x24"
TOP = os.path.realpath(os.path.join(os.path.dirname(__file__), "..", ".."))


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
        if value:
            return value
        if time.monotonic() >= end:
            return None
        time.sleep(interval)


def free_display():
    for n in range(90, 200):
        if not os.path.exists(f"/tmp/.X{n}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{n}"):
            return n
    raise RuntimeError("no free X display number")


class Image:
    """A screenshot as raw RGB bytes."""

    def __init__(self, path):
        self.path = path
        size = subprocess.run(["identify", "-format", "%w %h", path], check=True,
                              capture_output=True, text=True).stdout.split()
        self.width, self.height = int(size[0]), int(size[1])
        self.data = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True,
                                   capture_output=True).stdout

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])


class Session:
    def __init__(self, prefix=None, keep_dir=None):
        self.prefix = prefix or os.path.join(TOP, "build", "wineprefix-e2e")
        self.work = keep_dir or tempfile.mkdtemp(prefix="wolt-e2e-", dir=os.path.join(TOP, "build"))
        self.xvfb = None
        self.display = None
        self.programs = []

    def __enter__(self):
        self._old_handlers = {s: signal.signal(s, self._on_signal) for s in (signal.SIGTERM, signal.SIGHUP)}
        try:
            subprocess.run(["bash", os.path.join(TOP, "scripts", "wineprefix.sh"), self.prefix], check=True)
            self._start_xvfb()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def _on_signal(self, signum, frame):
        raise KeyboardInterrupt(f"signal {signum}")

    def _start_xvfb(self):
        n = free_display()
        self.xvfb = subprocess.Popen(["Xvfb", f":{n}", "-screen", "0", SCREEN, "-nolisten", "tcp"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.display = f":{n}"
        if not wait_for(lambda: os.path.exists(f"/tmp/.X11-unix/X{n}"), 10):
            raise RuntimeError("Xvfb did not start")

    def stop_programs(self):
        """Ends every Wine process of the prefix (the display stays)."""
        for program in self.programs:
            if program.process.poll() is None:
                program.process.terminate()
        if os.path.isdir(self.prefix):
            subprocess.run([WINESERVER, "-k"], env=self.env(), stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
            subprocess.run([WINESERVER, "-w"], env=self.env(), timeout=30,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for program in self.programs:
            try:
                program.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                program.process.kill()
            program.log.close()
        self.programs = []

    def close(self):
        """Ends every Wine process of the prefix, then Xvfb. Safe to repeat."""
        try:
            self.stop_programs()
        finally:
            if self.xvfb and self.xvfb.poll() is None:
                self.xvfb.terminate()
                try:
                    self.xvfb.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    self.xvfb.kill()
            self.xvfb = None
            for s, handler in getattr(self, "_old_handlers", {}).items():
                signal.signal(s, handler)
            self._old_handlers = {}

    def env(self):
        env = dict(os.environ, WINEPREFIX=self.prefix, WINEDEBUG=os.environ.get("E2E_WINEDEBUG", "-all,+msgbox"),
                   WINEDLLOVERRIDES="mscoree,mshtml=")
        if self.display:
            env["DISPLAY"] = self.display
        return env

    # --- run folders and programs -------------------------------------------------
    def run_folder(self, name, exe):
        """A fresh folder with wolt.exe and text/; the caller fills Data/."""
        folder = os.path.join(self.work, name)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(os.path.join(folder, "text"))
        shutil.copy(exe, os.path.join(folder, "wolt.exe"))
        return folder

    def start(self, folder):
        program = Program(self, folder, len(self.programs))
        self.programs.append(program)
        return program

    # --- the display -------------------------------------------------------------
    def tool(self, *args, check=True):
        result = subprocess.run(list(args), env=self.env(), capture_output=True, text=True, timeout=30)
        if check and result.returncode != 0:
            raise CheckFailed(f"{' '.join(args)}: {result.stderr.strip()}")
        return result.stdout

    def windows(self, title=TITLE):
        """X windows whose name is exactly `title`."""
        out = self.tool("xdotool", "search", "--name", "^" + re.escape(title) + "$", check=False)
        return [int(w) for w in out.split()]

    def geometry(self, window):
        """(x, y, width, height) of a window's outer rectangle."""
        out = self.tool("xdotool", "getwindowgeometry", "--shell", str(window))
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def opacity(self, window):
        """_NET_WM_WINDOW_OPACITY as 0..1; 1.0 when the property is absent
        (Wine removes it at full opacity)."""
        out = self.tool("xprop", "-id", str(window), "_NET_WM_WINDOW_OPACITY", check=False)
        match = re.search(r"=\s*(\d+)", out)
        return int(match.group(1)) / 0xFFFFFFFF if match else 1.0

    def screenshot(self, path):
        self.tool("import", "-window", "root", path)
        return Image(path)

    def click(self, x, y):
        self.tool("xdotool", "mousemove", str(x), str(y), "click", "1")

    def key(self, name):
        self.tool("xdotool", "key", name)

    def drag(self, start, end, steps=12):
        """Left-button drag from `start` to `end` in screen pixels."""
        self.tool("xdotool", "mousemove", str(start[0]), str(start[1]), "mousedown", "1")
        for i in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * i // steps
            y = start[1] + (end[1] - start[1]) * i // steps
            self.tool("xdotool", "mousemove", str(x), str(y))
            time.sleep(0.05)
        time.sleep(0.2)
        self.tool("xdotool", "mouseup", "1")


class Program:
    def __init__(self, session, folder, number):
        self.session = session
        self.folder = folder
        self.log_path = os.path.join(session.work, f"wine-{number}.log")
        self.log = open(self.log_path, "wb")
        self.process = subprocess.Popen([WINE, "wolt.exe"], cwd=folder, env=session.env(),
                                        stdout=self.log, stderr=subprocess.STDOUT)

    def exited(self, timeout):
        """The exit code once the process has ended within `timeout`, else None."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def main_window(self, timeout=20):
        """The 864-pixel-wide window titled "wolt 1.45"."""
        def probe():
            for w in self.session.windows():
                try:
                    if self.session.geometry(w)[2:] == MAIN_SIZE:
                        return w
                except CheckFailed:
                    pass   # the window went away between search and query
            return None
        window = wait_for(probe, timeout)
        expect(window, f"no {MAIN_SIZE[0]}x{MAIN_SIZE[1]} window titled '{TITLE}' within {timeout} s")
        return window

    def wait_full_opacity(self, window, timeout=10):
        """Waits until the window is fully opaque; returns the opacities read
        on the way (the fade-in shows as rising values below 1)."""
        readings = []

        def probe():
            readings.append(self.session.opacity(window))
            return readings[-1] >= 1.0
        expect(wait_for(probe, timeout, interval=0.05),
               f"the window did not reach full opacity within {timeout} s (at {readings[-1]:.3f})")
        return readings

    def boxes(self, timeout=0):
        """Windows titled "wolt 1.45" that are not the main window (message boxes)."""
        def probe():
            found = []
            for w in self.session.windows():
                try:
                    if self.session.geometry(w)[2:] != MAIN_SIZE:
                        found.append(w)
                except CheckFailed:
                    pass
            return found
        return wait_for(probe, timeout) or []

    def box_texts(self):
        """Texts of every message box the program has shown so far."""
        self.log.flush()
        with open(self.log_path, "rb") as f:
            text = f.read().decode("utf-8", "replace")
        return [_unescape(m) for m in re.findall(r'trace:msgbox:MSGBOX_OnInit L"((?:[^"\\]|\\.)*)"', text)]

    def dismiss_box(self, box):
        """Focuses the box by a click on its body and confirms it with Return."""
        x, y, w, h = self.session.geometry(box)
        self.session.click(x + 8, y + 8)
        time.sleep(0.2)
        self.session.key("Return")

    def press_escape(self, window):
        """Gives the main window the keyboard focus by a click on the empty
        strip at its right edge (beside the control panel), then Esc."""
        x, y, w, h = self.session.geometry(window)
        self.session.click(x + CLIENT_OFFSET[0] + 856, y + CLIENT_OFFSET[1] + 300)
        time.sleep(0.5)
        self.session.key("Escape")


def _unescape(text):
    text = re.sub(r"\\u([0-9a-fA-F]{4})", lambda m: chr(int(m.group(1), 16)), text)
    text = re.sub(r"\\x([0-9a-fA-F]{2})", lambda m: chr(int(m.group(1), 16)), text)
    return text.replace('\\"', '"').replace("\\\\", "\\")
