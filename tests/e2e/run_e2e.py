#!/usr/bin/env python3
"""End-to-end checks of wolt.exe under Wine on a private Xvfb display.

Usage: python3 tests/e2e/run_e2e.py [--exe build/win64/wolt.exe] [--keep]
Each check runs the real program in a throwaway run folder with a small
deterministic catalogue. The map picture checks live in checks_map.py (run
when present: a list CHECKS of functions taking a MapContext). Ends with
the line "N passed, N failed"; the exit code is 0 only when all passed.
"""
import argparse
import importlib
import os
import shutil
import subprocess
import sys
import time
import traceback

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import catalogue  # noqa: E402
import harness  # noqa: E402
from harness import expect  # noqa: E402


class MapContext:
    """What a map check gets: the running program on the standard catalogue,
    its main window, one screenshot taken at full opacity, and the client
    origin (screen pixel of window pixel (0, 0))."""

    def __init__(self, session, program, window, image):
        self.session = session
        self.program = program
        self.window = window
        self.image = image
        x, y, _, _ = session.geometry(window)
        self.origin = (x + harness.CLIENT_OFFSET[0], y + harness.CLIENT_OFFSET[1])
        self.records = catalogue.STANDARD_RECORDS
        self.catalogue = catalogue

    def pixel(self, x, y):
        """The screenshot's colour at window pixel (x, y)."""
        return self.image.pixel(self.origin[0] + x, self.origin[1] + y)

    def screenshot(self, name):
        return self.session.screenshot(os.path.join(self.session.work, name))


def load_map_checks():
    try:
        import checks_map
    except ImportError:
        return []
    return list(getattr(checks_map, "CHECKS", []))


def load_window_checks():
    """(name, function(session, exe, report)) pairs of the other windows' and
    the control panel's checks (checks_lists.py: the list and graph windows;
    checks_panel.py: the control panel, dialogs and menu; checks_overlays.py:
    the overlay panels, map picking and the report buttons), when present."""
    checks = []
    for module in ("checks_lists", "checks_panel", "checks_overlays"):
        try:
            checks += list(getattr(importlib.import_module(module), "CHECKS", []))
        except ImportError:
            pass
    return checks


def standard_folder(session, exe, name, **settings):
    folder = session.run_folder(name, exe)
    catalogue.write_data_folder(os.path.join(folder, "Data"))
    if settings:
        catalogue.write_settings(os.path.join(folder, "wolt.dat"), **settings)
    return folder


def close_with_escape(program, window):
    # The X focus follows the click with a delay: a key sent too early is
    # lost, so Esc is given up to three times.
    code = None
    for _ in range(3):
        if window in program.session.windows():
            program.press_escape(window)
        code = program.exited(5)
        if code is not None:
            break
    expect(code is not None, "Esc (three times) did not end the program")
    expect(code == 0, f"the program ended with exit code {code}")


def check_empty_data(session, exe, report):
    """Only the map in Data: the program starts to an empty map, no box."""
    folder = session.run_folder("empty", exe)
    os.makedirs(os.path.join(folder, "Data"))
    catalogue.write_map(os.path.join(folder, "Data"))
    program = session.start(folder)
    window = program.main_window()
    program.wait_full_opacity(window)
    time.sleep(2)   # a box would come up within the first ticks
    expect(program.process.poll() is None, "the program ended on its own")
    expect(program.boxes() == [], "a message box is open")
    expect(program.box_texts() == [], f"message boxes were shown: {program.box_texts()}")
    report.append(("empty data screenshot", session.screenshot(os.path.join(session.work, "empty.png")).path))
    close_with_escape(program, window)


def check_missing_map(session, exe, report):
    """No MAP01_512.bmp: "ERROR : D3DCreate 3", then a clean exit."""
    folder = session.run_folder("nomap", exe)
    catalogue.write_data_folder(os.path.join(folder, "Data"), with_map=False)
    program = session.start(folder)
    boxes = program.boxes(timeout=20)
    expect(len(boxes) == 1, f"expected one message box, found {len(boxes)}")
    time.sleep(1)   # the box must stay the only one while it is open
    expect(len(program.boxes()) == 1, "a second box came up while the first was open")
    expect(program.box_texts() == ["ERROR : D3DCreate 3"], f"box texts: {program.box_texts()}")
    report.append(("missing map screenshot", session.screenshot(os.path.join(session.work, "nomap.png")).path))
    code = None
    for _ in range(3):   # as with Esc: a Return sent before the focus moved is lost
        if boxes[0] in session.windows():
            program.dismiss_box(boxes[0])
        code = program.exited(5)
        if code is not None:
            break
    expect(code is not None, "the program did not end after the box was confirmed")
    expect(code == 0, f"exit code {code}")
    expect(session.windows() == [], "a window is left after the exit")
    expect(program.box_texts() == ["ERROR : D3DCreate 3"], f"box texts: {program.box_texts()}")


def check_main(session, exe, report, map_checks, results):
    """The stored position, size and full opacity; the map checks; a second
    start; Esc saves the position; a restart uses it."""
    folder = standard_folder(session, exe, "main", winX0=300, winY0=200, magMin=2)
    program = session.start(folder)
    window = program.main_window()
    readings = program.wait_full_opacity(window)
    partial = [r for r in readings if r < 1.0]
    expect(partial and partial == sorted(partial), f"no steady fade-in seen: {readings}")
    expect(session.geometry(window) == (300, 200, 864, 768),
           f"window at {session.geometry(window)}, expected (300, 200, 864, 768)")
    time.sleep(0.5)
    image = session.screenshot(os.path.join(session.work, "main.png"))
    report.append(("main screenshot", image.path))
    context = MapContext(session, program, window, image)
    for check in map_checks:
        results.append(run_one("map: " + check.__name__, lambda: check(context)))

    second = session.start(folder)
    code = second.exited(15)
    expect(code == 0, f"the second start did not end silently (exit code {code})")
    expect(session.windows() == [window], f"windows after a second start: {session.windows()}")
    expect(program.process.poll() is None, "the first program ended")

    close_with_escape(program, window)
    saved = catalogue.read_settings(os.path.join(folder, "wolt.dat"))
    expect((saved["winX0"], saved["winY0"]) == (300, 200),
           f"saved position {saved['winX0']}, {saved['winY0']}")
    expect(saved["tag"] == 100 and saved["magMin"] == 2 and saved["recordCount"] == 5,
           f"saved block: tag {saved['tag']}, magMin {saved['magMin']}, records {saved['recordCount']}")
    expect(program.box_texts() == [], f"message boxes were shown: {program.box_texts()}")


def check_position_repair(session, exe, report):
    """A stored position far off-screen comes back inside the work area; Esc
    saves the repaired position and a restart opens there again."""
    folder = standard_folder(session, exe, "repair", winX0=5000, winY0=3000)
    inside = (1920 - 864, 1080 - 768)
    for run in range(2):
        program = session.start(folder)
        window = program.main_window()
        program.wait_full_opacity(window)   # placed before the first tick
        expect(session.geometry(window)[:2] == inside,
               f"run {run + 1}: window at {session.geometry(window)[:2]}, expected {inside}")
        close_with_escape(program, window)
        saved = catalogue.read_settings(os.path.join(folder, "wolt.dat"))
        expect((saved["winX0"], saved["winY0"]) == inside,
               f"run {run + 1}: saved position {saved['winX0']}, {saved['winY0']}")


def check_session_end(session, exe, report):
    """Log-off (wineboot --end-session): the settings are saved, not zeroed,
    and nothing crashes on the way out."""
    folder = standard_folder(session, exe, "logoff", winX0=40, winY0=30, magMin=3)
    program = session.start(folder)
    window = program.main_window()
    program.wait_full_opacity(window)
    subprocess.run([harness.WINE, "wineboot", "--end-session"], env=session.env(), timeout=60,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    expect(program.exited(20) is not None, "the program still runs after the session ended")
    saved = catalogue.read_settings(os.path.join(folder, "wolt.dat"))
    expect((saved["tag"], saved["winX0"], saved["winY0"], saved["magMin"], saved["recordCount"]) == (100, 40, 30, 3, 5),
           f"saved block: {saved}")
    program.log.flush()
    with open(program.log_path, "rb") as f:
        log = f.read().decode("utf-8", "replace")
    expect("Unhandled" not in log, "the program crashed while the session ended")


def run_one(name, body):
    started = time.monotonic()
    try:
        body()
        outcome = (name, True, "")
    except harness.CheckFailed as failure:
        outcome = (name, False, str(failure))
    except Exception:
        outcome = (name, False, traceback.format_exc())
    seconds = time.monotonic() - started
    print(f"{'PASS' if outcome[1] else 'FAIL'} {name} ({seconds:.1f} s){': ' + outcome[2] if outcome[2] else ''}",
          flush=True)
    return outcome


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", default=os.path.join(harness.TOP, "build", "win64", "wolt.exe"))
    parser.add_argument("--keep", action="store_true", help="keep the run folders, logs and screenshots")
    parser.add_argument("--only", default="", help="run only the checks whose name contains this")
    args = parser.parse_args()
    exe = os.path.realpath(args.exe)
    if not os.path.isfile(exe):
        print(f"no program at {exe}")
        print("0 passed, 1 failed")
        return 1

    results, report = [], []
    map_checks = load_map_checks()
    session = harness.Session()
    try:
        with session:
            checks = [
                ("empty Data folder starts without a box", lambda: check_empty_data(session, exe, report)),
                ("missing map shows ERROR : D3DCreate 3", lambda: check_missing_map(session, exe, report)),
                ("position, opacity, second start, Esc saves", lambda: check_main(session, exe, report, map_checks, results)),
                ("off-screen position repaired, saved, reused", lambda: check_position_repair(session, exe, report)),
                ("session end saves the settings", lambda: check_session_end(session, exe, report)),
            ]
            checks += [(name, lambda check=check: check(session, exe, report)) for name, check in load_window_checks()]
            for name, body in checks:
                if args.only not in name:
                    continue
                results.append(run_one(name, body))
                session.stop_programs()
    except KeyboardInterrupt:
        print("interrupted")
        results.append(("interrupted", False, ""))
    finally:
        if args.keep or not all(ok for _, ok, _ in results):
            for what, path in report:
                print(f"{what}: {path}")
            print(f"run folders and logs kept in {session.work}")
        else:
            shutil.rmtree(session.work, ignore_errors=True)
    passed = sum(1 for _, ok, _ in results if ok)
    print(f"{passed} passed, {len(results) - passed} failed")
    return 0 if passed == len(results) and results else 1


if __name__ == "__main__":
    sys.exit(main())
