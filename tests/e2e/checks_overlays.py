"""Overlay panels: hover, map click, tabs, a ranking row, 保存 on both pages, a class row. A region
name is read from the screen as the ranking page's name whose bright-pixel mask (same font,
right-aligned) it matches."""
import datetime
import glob
import os

import catalogue
import checks_lists
import harness
from harness import expect

NAMES = {1: "石川県能登地方", 2: "千葉県東方沖", 3: "釧路沖", 4: "Region 4"}
GRID = {1: (343, 99), 2: (420, 200), 3: (480, 80), 4: (250, 250)}
M6 = {2: (3, 68), 5: (2, 64), 13: (1, 62), 21: (2, 61), 30: (3, 60)}  # index: (region, mag10)
RANKED = [2, 1, 3]   # the alert order of these M6+ events: region 2 is the most overdue
BOTTOM, REGION_PANEL = (0, 516), (2, 284)   # picture pixels of the panels' corners
TAB_1, TAB_2, SAVE = (100, 530), (360, 530), (660, 745)
LIST2 = "{} 設定条件地震一覧"


def records():
    """40 earthquakes a day apart, newest first; record 9 is below the minimum magnitude."""
    out = []
    for i in range(40):
        day = datetime.date(2024, 6, 30) - datetime.timedelta(days=i)
        region, mag10 = M6.get(i, ((4, 2, 3, 1)[i % 4], 15 if i == 9 else 20 + i * 7 % 35))
        out.append((day.year, day.month, day.day, 12, 0, *GRID[region], 10 + i * 13 % 150, region, mag10, 1 + i % 5))
    return out


RECORDS = records()


def bright_mask(image, origin, right, top, width=176):
    """Bright pixels of a 16-pixel text row ending at picture x `right`."""
    return {(dx, dy) for dy in range(16) for dx in range(1, width + 1)
            if image.pixel(origin[0] + right - dx, origin[1] + top + dy)[1] >= 150}


def reading(mask, references):
    """The reference name the mask matches (overlap over union, shifted up to
    2 pixels) with a clear margin, else None."""
    def likeness(a, b):
        best = 0.0
        for sx in range(-2, 3):
            for sy in range(-2, 3):
                moved = {(x + sx, y + sy) for x, y in b}
                best = max(best, len(a & moved) / max(1, len(a | moved)))
        return best
    scores = sorted(((likeness(mask, ref), name) for name, ref in references.items()), reverse=True)
    ok = len(mask) > 30 and scores[0][0] >= 0.8 and scores[0][0] - scores[1][0] >= 0.2
    return scores[0][1] if ok else None


class Screen(harness.View):
    def press(self, x, y, done, what):
        """A click at window pixel (x, y) once the window is active (the hover
        state behind a click comes from the ticks while a program window is
        active); then done() must come true."""
        self.activate()
        self.point(x, y, button=1)
        expect(harness.wait_for(done, 10, interval=0.3), f"{what}: expected the click's effect; none seen")

    def page(self, page):
        def shown():
            image = self.case.shot(f"page-{page}")
            left, right = (self.at(image, x, BOTTOM[1] + 5)[1] for x in (250, 430))
            return right > left + 15 if page == 1 else left > right + 15
        self.press(*(TAB_2 if page else TAB_1), shown, f"tab {page + 1}")

    def reads(self, references, places, expected, name):
        """Screenshots until every text place (right edge, top) reads `expected`."""
        seen = []

        def probe():
            image = self.case.shot(name)
            seen[:] = [reading(bright_mask(image, self.origin, *p), references) for p in places]
            return all(r == expected for r in seen)
        expect(harness.wait_for(probe, 10, interval=0.3), f"{name}: expected {expected} at {places}; seen {seen}")

    def save(self, folder, exe, pattern, cli_args):
        """保存 writes what wolt-cli writes with the same wolt.dat; returns its bytes."""
        before = set(glob.glob(os.path.join(folder, "text", "*")))
        self.press(*SAVE, lambda: True, "保存")
        path = self.case.new_files(folder, pattern, before)[0]
        self.case.same_as_cli(path, folder, exe, cli_args)
        with open(path, "rb") as f:
            return f.read()


def case_overlays(case, exe):
    folder = case.run_folder(exe)
    catalogue.write_data_folder(os.path.join(folder, "Data"), records=RECORDS, names=NAMES)
    catalogue.write_settings(os.path.join(folder, "wolt.dat"), magMin=2, **checks_lists.POSITIONS)
    program = case.start(folder)
    window, _ = program.shown()
    screen = Screen(case, window)
    current = lambda region: lambda: case.windows(LIST2.format(NAMES[region]))
    expect(harness.wait_for(current(4), 10), "expected Region 4 current at start")

    # The ranking page gives the names to read the other texts by.
    screen.page(1)
    image = case.shot("ranking")
    refs = {NAMES[r]: bright_mask(image, screen.origin, BOTTOM[0] + 235, BOTTOM[1] + 47 + 18 * row)
            for row, r in enumerate(RANKED)}
    expect(all(len(m) > 30 for m in refs.values()), "expected the three ranked names on the ranking page")
    screen.page(0)

    # Hover over region 1's epicentre: the panel below right of the cursor names it.
    px, py = catalogue.grid_to_pixel(*GRID[1])
    screen.point(px, py)
    hx, hy = px + 28, py
    image = case.shot_until("hover", lambda i: len(bright_mask(i, screen.origin, hx + 188, hy + 4)) > 30,
                            "expected the hover panel beside the cursor")
    notch = screen.at(image, hx + 4, hy + 4)
    expect(harness.near(notch, catalogue.map_colour(hx + 4, hy + 4), 2), f"expected a transparent notch; seen {notch}")
    name = reading(bright_mask(image, screen.origin, hx + 188, hy + 4), refs)
    expect(name == NAMES[1], f"expected the hover panel to read {NAMES[1]}; seen {name}")

    # The click makes the region's newest match current: the box and the card follow.
    places = [(REGION_PANEL[0] + 499, REGION_PANEL[1] + 146), (188, 195)]
    screen.press(px, py, current(1), "map click")
    screen.reads(refs, places, NAMES[1], "clicked")
    newest = next(i for i, r in enumerate(RECORDS) if r[8] == 1 and r[9] >= 20)
    screen.save(folder, exe, f"wolt_{NAMES[1]}_*.txt", ["--record", str(newest), "region-report"])

    # Ranking row 1 selects its region's newest M6+ earthquake and marks the row.
    screen.page(1)
    screen.press(400, 572, current(RANKED[0]), "ranking row 1")
    screen.reads(refs, places, NAMES[RANKED[0]], "ranked")
    image = case.shot("ranked-mark")
    mark, body = (screen.at(image, 20, BOTTOM[1] + y) for y in (50, 150))
    expect(mark[1] > body[1] + 10 and mark[2] > body[2] + 10, f"expected a row mark; seen {mark} on {body}")
    alert = screen.save(folder, exe, "wolt 要警戒_*.txt", ["alert-report"])
    expect(NAMES[RANKED[0]].encode("cp932") in alert, "expected the top region in the alert report")
    screen.page(0)
    top_newest = next(i for i, r in enumerate(RECORDS) if r[8] == RANKED[0] and r[9] >= 60)
    screen.save(folder, exe, f"wolt_{NAMES[RANKED[0]]}_*.txt", ["--record", str(top_newest), "region-report"])

    # Class row M3: its newest match becomes the selected earthquake, the card
    # turns from red (M6+) to blue-violet.
    m3 = next(i for i, r in enumerate(RECORDS) if r[8] == RANKED[0] and r[9] // 10 == 3)
    blue = lambda: screen.at(case.shot("card"), 2, 230)[2] > 40
    expect(not blue(), "expected the card of the M6+ earthquake red")
    screen.press(700, 544 + 18 * 3, blue, "class row M3")
    program.close(window)
    saved = catalogue.read_settings(os.path.join(folder, "wolt.dat"))["selFirst"]
    expect(saved == m3, f"expected record {m3} (class M3) saved as the selection; seen {saved}")
