#!/usr/bin/env python3
"""End-to-end checks of wolt.exe under Wine on a private Xvfb display, each case on a small
deterministic catalogue, starting the program as few times as its checks allow.

Usage: python3 tests/e2e/run_e2e.py [--exe build/win64/wolt.exe] [--keep] [--only TEXT] [--evidence DIR]
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import catalogue  # noqa: E402
import checks_lists  # noqa: E402
import checks_overlays  # noqa: E402
import checks_panel  # noqa: E402
import checks_views  # noqa: E402
import harness  # noqa: E402
from harness import expect, near  # noqa: E402

RIGHT_LISTS = dict(winX1=1170, winY1=0, winX2=1170, winY2=560, winX3=1600, winY3=0)
RECENT_PANEL, REGION_PANEL = (0, 0, 193, 269), (2, 284, 514, 514)   # window rectangles over the map
map_pixel = catalogue.map_pixel


def check_map(case, program, window):
    """The checkerboard map in (0, 0)-(512, 512) under a white frame, each
    visible record's marker at its grid pixel with the hue of its depth band
    (red shallow, green middle, blue deep), and the newest record's marker
    pulsing towards white."""
    view, image = harness.View(case, window), case.shot("map")
    at = lambda x, y: view.at(image, x, y)
    inside = lambda r, x, y: r[0] <= x < r[2] and r[1] <= y < r[3]
    placed = [(catalogue.grid_to_pixel(r[5], r[6]), r) for r in catalogue.STANDARD_RECORDS]
    clear = [(x, y) for x in range(16, 512, 32) for y in range(16, 512, 32)
             if not any(inside(r, x, y) for r in (RECENT_PANEL, REGION_PANEL))
             and all(abs(x - px) > 40 or abs(y - py) > 40 for (px, py), _ in placed)]
    shown = sum(near(at(x, y), map_pixel(x, y), 2) for x, y in clear)
    expect(len(clear) > 60 and shown >= len(clear) * 9 // 10,
           f"expected the map picture at {len(clear)} clear probes; seen at {shown}")
    beside = [at(520 + 64 * k, 300) for k in range(4)]
    expect(not any(p in (catalogue.LAND, catalogue.SEA) for p in beside), f"map colours right of the map: {beside}")
    frame = [(512, y) for y in range(16, 272, 16)] + [(x, 0) for x in range(208, 508, 20)]
    white = sum(near(at(x, y), (255, 255, 255), 16) for x, y in frame)
    expect(white >= len(frame) * 9 // 10, f"expected a white frame; {white} of {len(frame)} probes are white")

    for (x, y), r in placed[1:]:
        if x > 512 or inside(RECENT_PANEL, x, y) or inside(REGION_PANEL, x, y):
            continue
        added = [max(0, c - m) for c, m in zip(at(x, y), map_pixel(x, y))]
        band = 0 if r[7] <= 67 else 1 if r[7] <= 135 else 2
        expect(max(added) >= 60 and added.index(max(added)) == band,
               f"expected a depth-{r[7]} marker at {(x, y)}; seen {at(x, y)} over the map's {map_pixel(x, y)}")
        expect(near(at(x + 12, y), map_pixel(x + 12, y), 2), f"the marker at {(x, y)} spreads to x + 12")

    # The selected marker's centre lies in the recent panel's transparent gap
    # left of the leader line: green + blue swing from the red marker to white.
    (x, y), _ = placed[0]
    levels = []

    def swung(image):
        levels.append(max(sum(view.at(image, x + dx, y + dy)[1:]) for dx in (-2, -1) for dy in (1, 2, 3)))
        return max(levels) >= 400 and max(levels) - min(levels) >= 150
    case.shot_until("pulse", swung, lambda _: f"expected the selected marker to pulse; green + blue {levels}")


def case_main(case, exe):
    """The stored position and the fade-in, the map, a second start that
    ends silently, the control panel and its dialogs, 終了 saving the block;
    then an off-screen position repaired and the block saved at log-off."""
    folder = case.run_folder(exe)
    catalogue.write_data_folder(os.path.join(folder, "Data"))
    settings = os.path.join(folder, "wolt.dat")
    catalogue.write_settings(settings, winX0=300, winY0=200, magMin=2, **RIGHT_LISTS)
    program = case.start(folder)
    window, readings = program.shown()
    partial = [r for r in readings if r < 1.0]
    expect(partial and partial == sorted(partial), f"expected a steady fade-in; seen opacities {readings}")
    expect(case.geometry(window) == (300, 200, 864, 768), f"expected the window at (300, 200, 864, 768); "
                                                         f"seen {case.geometry(window)}")
    check_map(case, program, window)

    second = case.start(folder)
    expect(second.exited(harness.EXIT_LIMIT) == 0, f"expected a second start to end with 0; seen "
                                                   f"{second.process.poll()}")
    expect(case.windows() == [window] and program.process.poll() is None,
           f"expected the first program alone; windows {case.windows()}")

    checks_panel.check_buttons(case, program, window)
    checks_panel.check_dialogs(case, program, window, settings)
    s = catalogue.read_settings(settings)
    seen = [s[k] for k in ("tag", "winX0", "winY0", "recordCount", "magMin", "magMax", "depthMin", "depthMax",
                           "intMin", "intMax", "startYear", "startMonth", "startDay", "startHour", "startMinute")]
    expect(seen == [100, 300, 200, 5, 1, 9, 0, 999, 1, 9, 2020, 1, 2, 3, 4], f"saved block {seen}")

    catalogue.write_settings(settings, **dict(s, winX0=5000, winY0=3000, magMin=3))
    program = case.start(folder)
    window, _ = program.shown()
    inside = (1920 - 864, 1080 - 768)
    expect(case.geometry(window)[:2] == inside, f"expected the off-screen window moved to {inside}; "
                                                f"seen {case.geometry(window)[:2]}")
    subprocess.run([harness.WINE, "wineboot", "--end-session"], env=case.suite.env(), timeout=60, capture_output=True)
    expect(program.exited(harness.EXIT_LIMIT) is not None, "expected the program to end with the session")
    s = catalogue.read_settings(settings)
    seen = [s[k] for k in ("tag", "winX0", "winY0", "magMin", "recordCount")]
    expect(seen == [100, *inside, 3, 5], f"expected the block saved at log-off; seen {seen}")
    with open(program.log_path, "rb") as f:
        expect(b"Unhandled" not in f.read(), "the program crashed while the session ended")


def case_empty_data(case, exe):
    """Only the map in Data: an empty map, no message box."""
    folder = case.run_folder(exe)
    catalogue.write_data_folder(os.path.join(folder, "Data"), records=[])
    for name in ("s_tbl.dat", "ne_tbl.dat"):
        os.remove(os.path.join(folder, "Data", name))
    program = case.start(folder)
    window, _ = program.shown()   # 32 ticks have run: a box of the first ticks would be up
    expect(program.boxes() == [] and program.box_texts() == [], f"expected no box; seen {program.box_texts()}")
    view, image = harness.View(case, window), case.shot("empty")
    probes = [(x, y) for x in range(220, 500, 40) for y in range(20, 270, 40)]
    shown = sum(near(view.at(image, x, y), map_pixel(x, y), 2) for x, y in probes)
    expect(shown == len(probes), f"expected the bare map at {len(probes)} probes; seen at {shown}")
    program.close(window)


def case_missing_map(case, exe):
    """No MAP01_512.bmp: one box "ERROR : D3DCreate 3", then a clean exit."""
    folder = case.run_folder(exe)
    catalogue.write_data_folder(os.path.join(folder, "Data"), with_map=False)
    program = case.start(folder)
    boxes = harness.wait_for(program.boxes, harness.START_LIMIT)
    expect(len(boxes) == 1, f"expected one message box; seen {boxes}")
    case.shot("box")
    expect(program.box_texts() == ["ERROR : D3DCreate 3"], f"expected 'ERROR : D3DCreate 3'; seen "
                                                           f"{program.box_texts()}")
    case.focus(boxes[0], (8, 8))
    case.key("Return")
    expect(program.exited(harness.EXIT_LIMIT) == 0, f"expected exit code 0; seen {program.process.poll()}")
    expect(case.windows() == [] and len(program.box_texts()) == 1,
           f"expected no window and no second box; seen {case.windows()}, {program.box_texts()}")


CASES = [
    ("start, map, second start, control panel, dialogs, 終了, repair, log-off", case_main),
    ("empty Data folder", case_empty_data),
    ("missing map", case_missing_map),
    ("list windows: positions, depth sort, row clicks, save files, a moved window", checks_lists.case_lists),
    ("overlay panels: hover, map click, tabs, ranking row, 保存 on both pages", checks_overlays.case_overlays),
    ("views: replay, cross-section, list exports", checks_views.case_views),
]


def main():
    args = harness.arguments(__doc__, exe=os.path.join(harness.TOP, "build", "win64", "wolt.exe"))
    exe = os.path.realpath(args.exe)
    expect(os.path.isfile(exe), f"no program at {exe}")
    suite = harness.Suite("main", "wineprefix-e2e", args.keep, args.evidence)
    with suite:
        suite.run_cases(CASES, args.only, exe)
    return suite.summary()


if __name__ == "__main__":
    sys.exit(main())
