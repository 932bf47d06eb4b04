"""The replay (markers go, come back over time, stand still while paused, Esc restores the map),
the cross-section (a dragged line, its window, 保存's SVG and list) and the list window's exports
(CSV, GeoJSON and KML equal to wolt-cli's)."""
import datetime
import glob
import os
import re
import xml.etree.ElementTree as ElementTree

import catalogue
import checks_lists
import harness
from harness import STRIP, expect, near

TITLE_SECTION = "wolt 1.45 断面図"
EMPTY = (300, 300)               # on the map (the region panel), away from every marker
AREA = (200, 10, 508, 272)       # map pixels clear of the panels, where every marker lies
LINE_Y, LINE_X = 140, (204, 506)   # the section's line, map pixels: every marker lies between its ends
NOTE_BOX = (96, 40)              # inside the map note's box (replay read-out or line hint)
NOTE_FILL = (24, 24, 40)
EXPORTS = {1: ("csv", "*.csv"), 2: ("geojson", "*.geojson"), 3: ("kml", "*.kml")}   # menu item: format


def records():
    """72 earthquakes ten days apart over two years, newest first, all below M6
    (no alert boxes). Every fourth lies on the section's line (y 140), the
    others at y 40 or 240, far outside its 50 km strip."""
    out = []
    for i in range(72):
        day = datetime.date(2020, 12, 20) - datetime.timedelta(days=10 * i)
        px, py = 210 + (i * 37) % 290, (LINE_Y, 40, 240, 40)[i % 4]
        grid = (round(px / catalogue.K) + 178, round(py / catalogue.K))
        out.append((day.year, day.month, day.day, 12, 0, *grid, 10 + (i * 29) % 400, 1 + i % 3, 30 + i % 25, 1 + i % 5))
    return out


RECORDS = records()
ON_LINE = sum(1 for r in RECORDS if catalogue.grid_to_pixel(r[5], r[6])[1] in range(LINE_Y - 3, LINE_Y + 4))


class Map(harness.View):
    def __init__(self, case, program, window):
        super().__init__(case, window)
        self.program = program
        self.pulse = catalogue.grid_to_pixel(RECORDS[0][5], RECORDS[0][6])

    def marker_pixels(self, image):
        """Map pixels in AREA (every 4th) that a marker lights."""
        lit = 0
        for y in range(AREA[1], AREA[3], 4):
            for x in range(AREA[0], AREA[2], 4):
                lit += any(abs(p - q) > 24 for p, q in zip(self.at(image, x, y), catalogue.map_pixel(x, y)))
        return lit

    def steady(self, image):
        """The map's pixels except those the selected marker's pulse reaches."""
        px, py = self.pulse
        return [self.at(image, x, y) for y in range(0, 512, 2) for x in range(0, 512, 2)
                if abs(x - px) > 40 or abs(y - py) > 40]

    def note(self, image):
        return near(self.at(image, *NOTE_BOX), NOTE_FILL, 4)

    def menu(self, downs):
        """The pop-up menu's item `downs` (separators are passed over)."""
        self.activate()
        self.popup(*EMPTY, ["Down"] * downs + ["Return"])

    def rest(self):
        self.point(*STRIP)


def check_replay(case, m):
    m.rest()
    before = case.shot_until("before", lambda i: m.marker_pixels(i) > 40, "expected the markers before the replay")
    m.menu(3)   # 設定, 情報, 再生
    m.rest()
    counts = []

    def started(image):
        counts.append(m.marker_pixels(image))
        return m.note(image) and counts[-1] < m.marker_pixels(before) // 2
    case.shot_until("replay-start", started, lambda _: f"expected the read-out and the markers cleared; lit {counts}")

    # New markers flash larger, then settle: the most seen so far rises.
    rising = [counts[-1]]

    def rose(image):
        rising.append(m.marker_pixels(image))
        return sum(b > max(rising[:k + 1]) for k, b in enumerate(rising[1:])) >= 3
    playing = case.shot_until("replay-rising", rose, lambda _: f"expected the lit pixels to rise three times; seen {rising}",
                              timeout=30)

    # Paused: once the read-out's first line says so, a second of screenshots
    # shows one picture (the flashes stand still too).
    state = lambda image: [m.at(image, x, y) for x in range(6, 110) for y in range(8, 22)]
    case.key("space")
    first = case.shot_until("paused", lambda i: state(i) != state(playing), "expected the read-out to show the pause")
    same = [m.steady(case.shot("paused")) == m.steady(first) for _ in range(5)]
    expect(all(same), f"expected the paused replay to stand still; equal shots {same}")
    paused = m.marker_pixels(first)
    case.key("space")
    case.shot_until("resumed", lambda i: m.marker_pixels(i) > paused, "expected the replay to go on after space")

    # The link lines take the selected marker's colour at their rebuild, in
    # whatever phase of its pulse: a level or two either way.
    case.key("Escape")
    differ = lambda i: sum(not near(a, b, 3) for a, b in zip(m.steady(i), m.steady(before)))
    case.shot_until("restored", lambda i: differ(i) == 0 and not m.note(i),
                    lambda i: f"expected the map as before the replay; {differ(i)} pixels differ")
    expect(m.program.process.poll() is None, "expected Esc to end the replay, not the program")


def check_section(case, m, folder):
    m.menu(4)   # 設定, 情報, 再生, 断面図
    case.shot_until("line-wanted", m.note, "expected the line hint on the map")
    x0, y0 = m.origin
    case.tool("xdotool", "mousemove", str(x0 + LINE_X[0]), str(y0 + LINE_Y), "mousedown", "1")
    for k in range(1, 11):
        case.tool("xdotool", "mousemove", str(x0 + LINE_X[0] + (LINE_X[1] - LINE_X[0]) * k // 10), str(y0 + LINE_Y))
    case.tool("xdotool", "mouseup", "1")
    section = case.window(TITLE_SECTION)
    view = harness.View(case, section, owned=True)

    def dots(image):   # depth-coloured pixels inside the plot
        return sum(1 for y in range(60, 360, 2) for x in range(70, 700, 2)
                   if max(view.at(image, x, y)) > 200 and min(view.at(image, x, y)) < 60)
    case.shot_until("section", lambda i: dots(i) > 50, lambda i: f"expected the events drawn; {dots(i)} pixels")

    before = set(glob.glob(os.path.join(folder, "text", "wolt_section_*")))
    view.point(720 - 55, 440 - 21, button=1)   # 保存
    svg, txt = sorted(case.new_files(folder, "wolt_section_*", before, count=2), key=lambda f: f.endswith(".txt"))
    circles = harness.wait_for(lambda: _circles(svg), 5)
    expect(circles == ON_LINE, f"expected {ON_LINE} events in the SVG; seen {circles}")
    rows = [line for line in open(txt, "rb").read().split(b"\r\n") if re.match(rb"^\d{4}/\d\d/\d\d ", line)]
    expect(len(rows) == ON_LINE, f"expected {ON_LINE} rows in the list; seen {len(rows)}")

    case.focus(section, (300, 200))
    case.key("Escape")
    expect(harness.wait_for(lambda: not case.windows(TITLE_SECTION), 10), "expected Esc to close the section window")
    expect(m.program.process.poll() is None, "expected the program to go on")


def _circles(path):
    try:
        return len(ElementTree.parse(path).getroot().findall(".//{http://www.w3.org/2000/svg}circle"))
    except (ElementTree.ParseError, OSError):
        return None


def check_exports(case, folder, exe):
    listw = harness.View(case, case.window(checks_lists.TITLE_LIST), owned=True)
    for downs, (name, pattern) in EXPORTS.items():
        before = set(glob.glob(os.path.join(folder, "text", pattern)))
        listw.popup(359, 470, ["Down"] * downs + ["Return"], button=1, probe=(-19, 20, 30, 6, 40))   # 出力
        case.same_as_cli(case.new_files(folder, pattern, before)[0], folder, exe, ["list", "--format", name])


def case_views(case, exe):
    folder = case.run_folder(exe)
    catalogue.write_data_folder(os.path.join(folder, "Data"), records=RECORDS)
    settings = os.path.join(folder, "wolt.dat")
    catalogue.write_settings(settings, **checks_lists.POSITIONS)
    program = case.start(folder)
    window, _ = program.shown()
    m = Map(case, program, window)
    check_replay(case, m)
    check_section(case, m, folder)
    check_exports(case, folder, exe)
    program.close(window)
    s = catalogue.read_settings(settings)
    expect((s["winX4"], s["winY4"]) == (900 + 24, 10 + 24),
           f"expected the section window's place kept in the block; seen {s['winX4']}, {s['winY4']}")
