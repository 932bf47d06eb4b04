"""Overlay panel checks, run by run_e2e.py: the hover panel over a known
epicentre, read from the screenshot; a click there makes the region current
(the region box, the card and the second list's title follow); the bottom
tabs; a ranking row click; 保存 on both pages against wolt-cli; a class row
of the region page selects that class's newest earthquake (kept in wolt.dat).

Reading a text from the screen: the program draws every region name with
the same font, right-aligned, white on a dark fill. The mask of its bright
pixels, taken from the right edge of its box, is the same wherever the name
is drawn; the ranking page shows the names of every ranked region, and a
text elsewhere is read as the ranking name whose mask it matches.

Pointer positions are window pixels as the program measures them (from the
outer corner); screenshot probes are picture pixels, 2 further in.
"""
import datetime
import glob
import os
import struct
import subprocess
import time

import catalogue
import harness
from harness import expect

SETTLE = 0.4
POSITIONS = dict(winX0=0, winY0=0, winX1=900, winY1=10, winX2=900, winY2=560, winX3=1420, winY3=10)
NAMES = {1: "石川県能登地方", 2: "千葉県東方沖", 3: "釧路沖", 4: "Region 4"}
GRID = {1: (343, 99), 2: (420, 200), 3: (480, 80), 4: (250, 250)}   # region 1 at picture (250, 150)
M6 = {2: (3, 68), 5: (2, 64), 13: (1, 62), 21: (2, 61), 30: (3, 60)}  # index: (region, mag10)
BOTTOM = (0, 516)    # picture pixel of the bottom panel's corner
REGION_PANEL = (2, 284)
TAB_1, TAB_2 = (100, 530), (360, 530)
SAVE = (660, 745)
EMPTY_STRIP = (858, 300)   # beside the control panel: no control, off the map
LIST2 = "{} 設定条件地震一覧"


def records():
    """40 earthquakes a day apart, newest first. Regions 2 and 3 have two
    M6+ each and region 1 one; record 9 is below the minimum magnitude."""
    out = []
    for i in range(40):
        day = datetime.date(2024, 6, 30) - datetime.timedelta(days=i)
        region, mag10 = M6.get(i, ((4, 2, 3, 1)[i % 4], 20 + i * 7 % 35))
        if i == 9:
            mag10 = 15
        x, y = GRID[region]
        out.append((day.year, day.month, day.day, 12, 0, x, y, 10 + i * 13 % 150, region, mag10, 1 + i % 5))
    return out


RECORDS = records()


def write_region_names(data_dir):
    entries = []
    for i in range(300):
        name = NAMES.get(i, f"Region {i}" if i < 10 else "").encode("cp932")
        entries.append(struct.pack("<i", 100 + i if i < 10 else 0) + name.ljust(44, b"\0"))
    with open(os.path.join(data_dir, "s_tbl.dat"), "wb") as f:
        f.write(b"".join(entries))


def f32(value):
    return struct.unpack("<f", struct.pack("<f", value))[0]


def ranking(first_match):
    """Regions in alert order, as the ranking computes it."""
    total = len(RECORDS)
    events = {}
    for i, r in enumerate(RECORDS):
        if r[9] >= 60:
            events.setdefault(r[8], []).append(i)
    levels = []
    for region, indices in events.items():
        mean = total // len(indices)
        due = f32((indices[0] - first_match) / mean * 100)
        share = f32(len(indices) / total * 100)
        levels.append((f32(due * share), region, indices[0]))
    return [(region, newest) for _, region, newest in sorted(levels, reverse=True)]


def bright_mask(image, origin, right, top, width=176):
    """Bright pixels of a 16-pixel text row ending at picture x `right`, as
    (columns left of the right edge, row) pairs."""
    mask = set()
    for dy in range(16):
        for dx in range(1, width + 1):
            if image.pixel(origin[0] + right - dx, origin[1] + top + dy)[1] >= 150:
                mask.add((dx, dy))
    return mask


def likeness(a, b):
    """The best overlap (intersection over union) of two masks moved by up to
    2 pixels against each other."""
    best = 0.0
    for sx in range(-2, 3):
        for sy in range(-2, 3):
            moved = {(x + sx, y + sy) for x, y in b}
            union = len(a | moved)
            best = max(best, len(a & moved) / union if union else 0.0)
    return best


def reading(mask, references):
    """The reference name the mask matches with a clear margin, else None."""
    scores = sorted(((likeness(mask, ref), name) for name, ref in references.items()), reverse=True)
    if len(mask) > 30 and scores[0][0] >= 0.8 and scores[0][0] - scores[1][0] >= 0.2:
        return scores[0][1]
    return None


def screen_reads(session, origin, references, places, expected, name, timeout=5):
    """Screenshots until every text place (right edge, top) reads `expected`
    (the screen may lag a change by a few ticks); returns the last image and
    the readings."""
    seen = []

    def probe():
        image = session.screenshot(os.path.join(session.work, name))
        seen[:] = [image] + [reading(bright_mask(image, origin, *place), references) for place in places]
        return all(r == expected for r in seen[1:])
    harness.wait_for(probe, timeout, interval=0.3)
    return seen[0], seen[1:]


def point(session, corner, x, y):
    session.tool("xdotool", "mousemove", str(corner[0] + x), str(corner[1] + y))
    time.sleep(SETTLE)


def press(session, corner, x, y, done, what, tries=3):
    """A click at window pixel (x, y), repeated until `done()` holds. The
    hover state behind a click is computed only while a program window is
    active, and under Xvfb the activation follows a click with a delay: the
    window is first activated by a click on the empty strip right of the
    panel, the pointer rests on the target for a few ticks, and a click that
    came too early is given again."""
    for _ in range(tries):
        # The program acts where the pointer is when it handles a click (the
        # hover state of its last tick), so the pointer stays on the strip
        # until that click has surely been handled.
        session.click(corner[0] + EMPTY_STRIP[0], corner[1] + EMPTY_STRIP[1])
        time.sleep(SETTLE)
        point(session, corner, x, y)
        session.tool("xdotool", "click", "1")
        # Long enough that a slow but taken click is never given twice.
        if harness.wait_for(done, 6, interval=0.3):
            return
    expect(False, f"{what}: no effect after {tries} clicks")


def saved_report(session, folder, exe, corner, pattern, cli_args, what):
    before = set(glob.glob(os.path.join(folder, "text", "*")))
    new_files = lambda: sorted(set(glob.glob(os.path.join(folder, "text", pattern))) - before)
    press(session, corner, *SAVE, new_files, f"{what}: 保存")
    time.sleep(0.3)
    found = new_files()
    expect(len(found) == 1, f"{what}: expected one new file {pattern}, found {found}")
    with open(found[0], "rb") as f:
        saved = f.read()
    cli = os.path.join(os.path.dirname(exe), "wolt-cli.exe")
    expect(os.path.isfile(cli), f"no {cli} beside the program")
    name = f"cli_{what.replace(' ', '_')}.txt"
    result = subprocess.run([harness.WINE, cli, "--settings", "wolt.dat"] + cli_args + ["-o", name], cwd=folder,
                            env=session.env(), capture_output=True, timeout=60)
    expect(result.returncode == 0, f"wolt-cli {' '.join(cli_args)}: exit {result.returncode} {result.stderr[-300:]!r}")
    with open(os.path.join(folder, name), "rb") as f:
        expected = f.read()
    expect(saved == expected, f"{what}: the saved report differs from wolt-cli {' '.join(cli_args)}:\n"
                              f"{saved[:600]!r}\n{expected[:600]!r}")
    return saved


def current_region_is(session, region):
    return lambda: session.windows(LIST2.format(NAMES[region]))


def tab_colours(image, origin):
    """Green of the left and the right tab's inside (a dark inactive tab, a
    lighter active one)."""
    left = image.pixel(origin[0] + BOTTOM[0] + 250, origin[1] + BOTTOM[1] + 5)[1]
    right = image.pixel(origin[0] + BOTTOM[0] + 430, origin[1] + BOTTOM[1] + 5)[1]
    return left, right


def page_shown(session, origin, page, name):
    """A probe that takes a screenshot and tells whether the tab of `page` is the active one."""
    def probe():
        left, right = tab_colours(session.screenshot(os.path.join(session.work, name)), origin)
        return right > left + 15 if page == 1 else left > right + 15
    return probe


def check_overlays(session, exe, report):
    folder = session.run_folder("overlays", exe)
    data = os.path.join(folder, "Data")
    catalogue.write_data_folder(data, records=RECORDS)
    write_region_names(data)
    catalogue.write_settings(os.path.join(folder, "wolt.dat"), magMin=2, **POSITIONS)
    program = session.start(folder)
    window = program.main_window()
    program.wait_full_opacity(window)
    x, y, _, _ = session.geometry(window)
    corner = (x, y)
    origin = (x + harness.CLIENT_OFFSET[0], y + harness.CLIENT_OFFSET[1])
    work = session.work
    expect(harness.wait_for(current_region_is(session, 4), 5), "at start the current region is not Region 4")

    # The ranking page: its rows give the names to read the other texts by.
    press(session, corner, *TAB_2, page_shown(session, origin, 1, "overlays_ranking.png"), "tab 2")
    image = harness.Image(os.path.join(work, "overlays_ranking.png"))
    report.append(("ranking page", image.path))
    ranked = ranking(first_match=0)
    expect([r for r, _ in ranked] == [2, 1, 3], f"unexpected ranking {ranked}")
    references = {NAMES[region]: bright_mask(image, origin, BOTTOM[0] + 235, BOTTOM[1] + 47 + 18 * row)
                  for row, (region, _) in enumerate(ranked)}
    for name, mask in references.items():
        expect(len(mask) > 30, f"ranking row of {name}: no text found")
    press(session, corner, *TAB_1, page_shown(session, origin, 0, "overlays_page0.png"), "tab 1")

    # Hover over region 1's epicentre: the panel beside the cursor names it.
    px, py = catalogue.grid_to_pixel(*GRID[1])
    point(session, corner, px, py)
    hover = (px + 28, py)   # the panel's corner, below and right of the cursor

    def hover_shown():   # the screen may lag the pointer by a few ticks
        image = session.screenshot(os.path.join(work, "overlays_hover.png"))
        mask = bright_mask(image, origin, hover[0] + 188, hover[1] + 4)
        return (image, mask) if len(mask) > 30 else None
    shown = harness.wait_for(hover_shown, 5, interval=0.3)
    expect(shown, "no hover panel beside the cursor")
    image, mask = shown
    report.append(("hover over 石川県能登地方", image.path))
    notch = image.pixel(origin[0] + hover[0] + 4, origin[1] + hover[1] + 4)
    expect(max(abs(a - b) for a, b in zip(notch, catalogue.map_colour(hover[0] + 4, hover[1] + 4))) <= 2,
           f"the hover panel's notch is not transparent: {notch}")
    name = reading(mask, references)
    expect(name == NAMES[1], f"the hover panel reads {name}, expected {NAMES[1]}")

    # The click makes the region's newest match current.
    press(session, corner, px, py, current_region_is(session, 1), "map click")
    box_name, card_name = (REGION_PANEL[0] + 499, REGION_PANEL[1] + 146), (188, 195)
    image, (box, card) = screen_reads(session, origin, references, [box_name, card_name], NAMES[1],
                                      "overlays_clicked.png")
    report.append(("clicked 石川県能登地方", image.path))
    expect((box, card) == (NAMES[1], NAMES[1]), f"after the click the region box reads {box}, the card {card}")
    newest_match = next(i for i, r in enumerate(RECORDS) if r[8] == 1 and r[9] >= 20)
    saved_report(session, folder, exe, corner, f"wolt_{NAMES[1]}_*.txt",
                 ["--record", str(newest_match), "region-report"], "region report after the map click")

    # The ranking: its first row selects that region's newest M6+ earthquake.
    press(session, corner, *TAB_2, page_shown(session, origin, 1, "overlays_page1.png"), "tab 2 again")
    top_region, top_newest = ranked[0]
    press(session, corner, 400, 572, current_region_is(session, top_region), "ranking row 1")
    image, (box, card) = screen_reads(session, origin, references, [box_name, card_name], NAMES[top_region],
                                      "overlays_ranked.png")
    report.append(("ranking row 1 clicked", image.path))
    expect((box, card) == (NAMES[top_region], NAMES[top_region]),
           f"after the ranking click the region box reads {box}, the card {card}")
    mark = image.pixel(origin[0] + BOTTOM[0] + 20, origin[1] + BOTTOM[1] + 50)
    body = image.pixel(origin[0] + BOTTOM[0] + 20, origin[1] + BOTTOM[1] + 150)
    expect(mark[1] > body[1] + 10 and mark[2] > body[2] + 10, f"no row mark: {mark} against the body {body}")
    alert = saved_report(session, folder, exe, corner, "wolt 要警戒_*.txt", ["alert-report"], "alert report")
    expect(NAMES[top_region].encode("cp932") in alert, "the alert report lacks the top region")

    press(session, corner, *TAB_1, page_shown(session, origin, 0, "overlays_page0b.png"), "tab 1 again")
    saved_report(session, folder, exe, corner, f"wolt_{NAMES[top_region]}_*.txt",
                 ["--record", str(top_newest), "region-report"], "region report after the ranking click")

    # A class row of page 0: the region's newest match of class M3 becomes
    # the selected earthquake; its card turns from red (M6+) to blue-violet.
    m3 = next(i for i, r in enumerate(RECORDS) if r[8] == top_region and r[9] // 10 == 3)
    card_blue = lambda: session.screenshot(os.path.join(work, "overlays_class.png")).pixel(
        origin[0] + 2, origin[1] + 230)[2] > 40
    expect(not card_blue(), "the card of the M6+ earthquake is not red")
    press(session, corner, 700, 544 + 18 * 3, card_blue, "class row M3")
    report.append(("class row M3 clicked", os.path.join(work, "overlays_class.png")))
    expect(program.box_texts() == [], f"message boxes: {program.box_texts()}")
    code = None
    for _ in range(3):   # as with every Esc here: a key sent before the focus moved is lost
        if window in session.windows():
            program.press_escape(window)
        code = program.exited(5)
        if code is not None:
            break
    expect(code == 0, f"Esc did not end the program (exit code {code})")
    saved = catalogue.read_settings(os.path.join(folder, "wolt.dat"))
    expect(saved["selFirst"] == m3, f"saved selection {saved['selFirst']}, expected record {m3} (class M3)")


CHECKS = [
    ("overlay panels: hover read from the screen, map click, tabs, ranking row, 保存 on both pages",
     check_overlays),
]
