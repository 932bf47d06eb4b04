"""Control panel checks, run by run_e2e.py: the start-year minus arrow at the
catalogue's first year changes nothing, a held magnitude plus button raises
the minimum (fewer markers, another summary line), the wheel over the depth
maximum, Reset, the period dialog (cancelled, then confirmed), the About and
settings dialogs, and 終了 from the right-button menu (orderly exit, wolt.dat
written).

Clicks go to window pixels as the program measures them: from the outer
window corner. The picture (and so every screenshot probe) starts 2 pixels
further in, at the client corner. The hover state comes from the tick, so
the pointer rests on a control for a moment before each press.
"""
import os
import time

import catalogue
import harness
from harness import expect

PANEL = (512, 0)            # window pixel of the panel's top-left corner
SETTLE = 0.35               # a few ticks with the pointer still
POSITIONS = dict(winX0=0, winY0=0, winX1=900, winY1=10, winX2=900, winY2=560, winX3=1420, winY3=10)
PERIOD_TITLE = "開始、終了、日時設定"
ABOUT_TITLE = "バージョン情報 wolt"
SETTINGS_TITLE = "設定"

# Window pixels (as measured by the program) of the controls used here.
START_MINUS, START_PLUS = (775, 40), (800, 40)
START_LABEL = (540, 40)
MAG_MIN, FILTER_PLUS = (600, 90), (805, 110)
DEPTH_MAX = (700, 110)
RESET = (800, 136)
EMPTY = (300, 300)          # on the map, away from every marker

# Panel rectangles (left, top, right, bottom) of texts compared between shots
# (the date rows without their labels, which light up under the pointer).
START_ROW = (52, 28, 252, 52)
END_ROW = (52, 52, 252, 76)
SUMMARY_LINE = (18, 160, 330, 178)
MAG_MIN_TEXT = (18, 76, 160, 100)
DEPTH_MAX_TEXT = (178, 100, 252, 124)


class Panel:
    """The running program's main window: pointer actions in window pixels
    and screenshots read in panel pixels."""

    def __init__(self, session, program, window, name):
        self.session = session
        self.name = name
        self.program = program
        self.window = window
        self.shots = 0
        self.corner = session.geometry(window)[:2]

    def move(self, point):
        self.session.tool("xdotool", "mousemove", str(self.corner[0] + point[0]), str(self.corner[1] + point[1]))
        time.sleep(SETTLE)

    def click(self, point, button=1):
        self.move(point)
        self.session.tool("xdotool", "click", str(button))
        time.sleep(SETTLE)

    def hold(self, point, seconds):
        self.move(point)
        self.session.tool("xdotool", "mousedown", "1")
        time.sleep(seconds)
        self.session.tool("xdotool", "mouseup", "1")
        time.sleep(SETTLE)

    def shot(self, name):
        self.shots += 1
        return self.session.screenshot(os.path.join(self.session.work, f"{self.name}-{self.shots:02d}-{name}.png"))

    def screen(self, x, y):
        """Screen pixel of window picture pixel (x, y)."""
        return (self.corner[0] + harness.CLIENT_OFFSET[0] + x, self.corner[1] + harness.CLIENT_OFFSET[1] + y)

    def shot_until(self, name, condition, message, timeout=6):
        """Screenshots until `condition(image)` holds (a busy Xvfb may show
        an older frame for a while); fails with `message` after `timeout` s."""
        end = time.monotonic() + timeout
        while True:
            image = self.shot(name)
            if condition(image):
                return image
            expect(time.monotonic() < end, message)
            time.sleep(0.2)

    def crop(self, image, rect):
        """The pixels of a panel rectangle."""
        left, top, right, bottom = rect
        return [image.pixel(*self.screen(PANEL[0] + x, PANEL[1] + y))
                for y in range(top, bottom) for x in range(left, right)]

    def at(self, image, x, y):
        return image.pixel(*self.screen(x, y))

    def hovered_small_button(self, image, left, top):
        """The small button at panel (left, top) in its hovered fill (looked
        for within a pixel: the view stretches the panel by half a pixel)."""
        return any(_near(self.at(image, PANEL[0] + left + 3 + dx, PANEL[1] + top + 3 + dy), (128, 80, 80), 8)
                   for dx in (-1, 0, 1) for dy in (-1, 0, 1))


def _near(a, b, tolerance):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


def marker_shown(panel, image, record):
    """A marker covers the record's grid pixel: no pixel within one of it
    shows the map picture's own colour there."""
    x, y = catalogue.grid_to_pixel(record[5], record[6])
    return not any(_near(panel.at(image, x + dx, y + dy), catalogue.map_colour(x + dx, y + dy), 6)
                   for dx in (-1, 0, 1) for dy in (-1, 0, 1))


def start_panel(session, exe, name, **settings):
    folder = session.run_folder(name, exe)
    catalogue.write_data_folder(os.path.join(folder, "Data"))
    catalogue.write_settings(os.path.join(folder, "wolt.dat"), **dict(POSITIONS, **settings))
    program = session.start(folder)
    window = program.main_window()
    program.wait_full_opacity(window)
    panel = Panel(session, program, window, name)
    panel.click((856, 300))   # the empty strip right of the panel: focus, no control
    return folder, panel


def wait_window(session, title, present, timeout=10):
    found = harness.wait_for(lambda: bool(session.windows(title)) == present or None, timeout)
    expect(found, f"the window '{title}' {'did not open' if present else 'is still open'} within {timeout} s")
    return session.windows(title)


def saved(folder):
    return catalogue.read_settings(os.path.join(folder, "wolt.dat"))


def check_buttons(session, exe, report):
    """Arrows at the first year, a held plus button, the wheel and Reset."""
    # magMax 5: the held plus button stops at 5 however fast the ticks come.
    folder, panel = start_panel(session, exe, "panel-buttons", magMax=5)
    first = panel.shot("start")
    report.append(("panel at start", first.path))
    m45 = catalogue.STANDARD_RECORDS[3]   # M4.5 at (380, 91), clear of the overlay panels
    m5 = catalogue.STANDARD_RECORDS[1]    # M5.0 at (304, 380)
    expect(marker_shown(panel, first, m45) and marker_shown(panel, first, m5),
           "the M4.5 and M5.0 markers are not on the map at start")

    # The catalogue starts in 2019: minus on the start year changes nothing
    # (looked at once the picture shows the pointer over the button), plus
    # moves it to 2020 and minus back to 2019.
    start_row = panel.crop(first, START_ROW)
    panel.click(START_MINUS)
    time.sleep(1)
    at_first_year = panel.shot_until("start-minus", lambda i: panel.hovered_small_button(i, 257, 30),
                                     "the minus button never showed the pointer over it")
    expect(panel.crop(at_first_year, START_ROW) == start_row, "the start row changed after minus at the first year")
    panel.click(START_PLUS)
    panel.shot_until("start-plus", lambda i: panel.crop(i, START_ROW) != start_row,
                     "the start year did not move with plus")
    panel.click(START_MINUS)
    panel.shot_until("start-back", lambda i: panel.crop(i, START_ROW) == start_row,
                     "minus did not bring the start year back")

    # Hold the plus button with the magnitude minimum selected.
    panel.click(MAG_MIN)
    panel.hold(FILTER_PLUS, 3.0)
    held = panel.shot_until("magnitude-held", lambda i: not marker_shown(panel, i, m45),
                            "the M4.5 marker is still shown after holding magnitude plus")
    report.append(("panel after holding magnitude plus", held.path))
    expect(panel.crop(held, MAG_MIN_TEXT) != panel.crop(first, MAG_MIN_TEXT), "the magnitude minimum did not change")
    expect(panel.crop(held, SUMMARY_LINE) != panel.crop(first, SUMMARY_LINE), "the summary line did not change")
    expect(marker_shown(panel, held, m5), "the M5.0 marker went away")

    # Three turns away from the user over the depth maximum: 999 -> 996.
    panel.move(DEPTH_MAX)
    time.sleep(1)
    hovered = panel.crop(panel.shot("depth-hovered"), DEPTH_MAX_TEXT)
    for _ in range(3):
        session.tool("xdotool", "click", "4")
        time.sleep(0.15)
    panel.shot_until("depth-wheel", lambda i: panel.crop(i, DEPTH_MAX_TEXT) != hovered,
                     "the wheel did not change the depth maximum")

    panel.click(RESET)
    panel.shot_until("reset", lambda i: marker_shown(panel, i, m45),
                     "the M4.5 marker did not come back after Reset")

    panel.program.press_escape(panel.window)
    code = panel.program.exited(15)
    expect(code == 0, f"Esc: exit code {code}")
    s = saved(folder)
    values = [s[k] for k in ("magMin", "depthMin", "intMin", "magMax", "depthMax", "intMax", "startYear")]
    expect(values == [1, 0, 1, 9, 999, 9, 2019], f"saved after Reset: {values}")


def check_dialogs(session, exe, report):
    """The period dialog cancelled and confirmed, the About and settings
    dialogs, then 終了 from the menu."""
    folder, panel = start_panel(session, exe, "panel-dialogs")
    first = panel.shot("start")

    # Opened from the start label; a typed start is dropped by キャンセル (Esc).
    panel.click(START_LABEL)
    wait_window(session, PERIOD_TITLE, True)
    time.sleep(1)   # mapped and painted
    report.append(("period dialog", panel.shot("period-dialog").path))
    session.tool("xdotool", "type", "--delay", "30", "2020/1/2 3:4")
    session.tool("xdotool", "key", "Escape")
    wait_window(session, PERIOD_TITLE, False)
    panel.click((856, 300))   # back to the main window
    time.sleep(1)
    cancelled = panel.shot("period-cancelled")
    expect(panel.crop(cancelled, START_ROW) == panel.crop(first, START_ROW), "キャンセル changed the start")
    expect(panel.crop(cancelled, END_ROW) == panel.crop(first, END_ROW), "キャンセル changed the end")

    # Confirmed with Return (the default OK): the start becomes 2020/01/02 03:04.
    panel.click(START_LABEL)
    wait_window(session, PERIOD_TITLE, True)
    session.tool("xdotool", "type", "--delay", "30", "2020/1/2 3:4")
    session.tool("xdotool", "key", "Return")
    wait_window(session, PERIOD_TITLE, False)
    panel.click((856, 300))
    panel.shot_until("period-ok", lambda i: panel.crop(i, START_ROW) != panel.crop(first, START_ROW),
                     "OK did not change the start")

    # About by its accelerator Alt+/, closed with Return.
    panel.click((856, 300))
    session.tool("xdotool", "key", "alt+slash")
    wait_window(session, ABOUT_TITLE, True)
    time.sleep(1)
    report.append(("About dialog", panel.shot("about").path))
    session.tool("xdotool", "key", "Return")
    wait_window(session, ABOUT_TITLE, False)

    # The settings dialog from the menu's first item.
    panel.click(EMPTY, button=3)
    time.sleep(0.5)
    session.tool("xdotool", "key", "Down", "Return")
    wait_window(session, SETTINGS_TITLE, True)
    session.tool("xdotool", "key", "Return")
    wait_window(session, SETTINGS_TITLE, False)

    # 終了, the menu's last item.
    before = os.path.getmtime(os.path.join(folder, "wolt.dat"))
    panel.click(EMPTY, button=3)
    time.sleep(0.5)
    report.append(("pop-up menu", panel.shot("menu").path))
    session.tool("xdotool", "key", "Up", "Return")
    code = panel.program.exited(15)
    expect(code == 0, f"終了: exit code {code}")
    expect(os.path.getmtime(os.path.join(folder, "wolt.dat")) > before, "wolt.dat was not written at the exit")
    s = saved(folder)
    start = [s[k] for k in ("startYear", "startMonth", "startDay", "startHour", "startMinute")]
    expect(start == [2020, 1, 2, 3, 4], f"saved start {start}")
    expect(panel.program.box_texts() == [], f"message boxes were shown: {panel.program.box_texts()}")


CHECKS = [
    ("control panel: first-year arrow, held plus, wheel, Reset", check_buttons),
    ("control panel: period dialog, About, settings, 終了 from the menu", check_dialogs),
]
