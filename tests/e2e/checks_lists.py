"""List and graph windows: places, the depth sort, row clicks, both save buttons, a moved window
kept. Rows are told apart by their magnitude tint RGB((2m) mod 256, m div 2, m div 3) (every
record here has its own magnitude); the current record's row shows the highlight band."""
import glob
import os

import catalogue
import harness
from harness import expect

TITLE_LIST, TITLE_GRAPH = "wolt 1.45 設定条件地震一覧", "wolt 1.45 地震回数・合計規模グラフ"
HIGHLIGHT = (32, 64, 96)
# year mo dy hh mi  mapX mapY depth region mag10 int; every marker clear of the panels
RECORDS = [
    (2021, 3, 10, 10, 0, 330, 30, 40, 1, 52, 3),
    (2021, 3, 5, 9, 0, 400, 60, 200, 2, 61, 5),
    (2021, 2, 20, 8, 0, 460, 100, 40, 1, 47, 2),
    (2021, 1, 15, 7, 0, 360, 150, 120, 3, 38, 1),
    (2020, 12, 1, 6, 0, 500, 40, 10, 2, 70, 6),
    (2020, 11, 11, 5, 0, 430, 160, 300, 1, 44, 2),
]
POSITIONS = dict(winX0=0, winY0=0, winX1=900, winY1=10, winX2=900, winY2=560, winX3=1420, winY3=10)
TINTS = {(2 * r[9] % 256, r[9] // 2, r[9] // 3): i for i, r in enumerate(RECORDS)}


def region_title(region):
    return f"Region {region} 設定条件地震一覧"


def expect_rows(case, name, view, expected):
    """Screenshots until the rows read `expected` (the list redraws on its next tick)."""
    def rows(image):
        seen = []
        for r in range(len(expected)):
            c = view.at(image, 3, 22 + 18 * r + 8)
            seen.append("H" if c == HIGHLIGHT else None if c == (0, 0, 0) else TINTS.get(c, "?"))
        return seen
    case.shot_until(name, lambda i: rows(i) == expected, lambda i: f"{name}: expected rows {expected}; seen {rows(i)}")


def save_and_compare(case, folder, exe, view, button, pattern, cli_args):
    """保存 writes the same bytes as wolt-cli with the same conditions."""
    before = set(glob.glob(os.path.join(folder, "text", "*")))
    view.point(*button, button=1, settle=0.3)
    case.same_as_cli(case.new_files(folder, pattern, before)[0], folder, exe, cli_args)


def pulse_swing(case, main, records, shots=20):
    """How far green + blue swing at each record's marker over a series of screenshots (the
    selected marker swings towards white and back)."""
    levels = {i: [] for i in records}
    for image in (case.shot("pulse") for _ in range(shots)):
        for i in records:
            x, y = catalogue.grid_to_pixel(RECORDS[i][5], RECORDS[i][6])
            levels[i].append(max(sum(main.at(image, x + dx, y + dy)[1:]) for dx in (-1, 0, 1) for dy in (-1, 0, 1)))
    return {i: max(v) - min(v) for i, v in levels.items()}


def case_lists(case, exe):
    folder = case.run_folder(exe)
    catalogue.write_data_folder(os.path.join(folder, "Data"), records=RECORDS)
    settings = os.path.join(folder, "wolt.dat")
    catalogue.write_settings(settings, **POSITIONS)
    program = case.start(folder)
    main, _ = program.shown()
    case.focus(main, harness.STRIP)
    listw, graph, list2 = (case.window(t) for t in (TITLE_LIST, TITLE_GRAPH, region_title(1)))
    for window, place in ((listw, (900, 10, 508, 520)), (graph, (900, 560, 508, 256)), (list2, (1420, 10, 320, 772))):
        expect(case.geometry(window) == place, f"expected a window at {place}; seen {case.geometry(window)}")
    o1, o2 = harness.View(case, listw, owned=True), harness.View(case, list2, owned=True)
    expect_rows(case, "start", o1, ["H", 1, 2, 3, 4, 5, None])
    expect_rows(case, "start-second", o2, ["H", 2, 5, None])

    # Depth: deepest first (equal depths newest first); the later clicks' orders are the engine's.
    o1.point(320, 10, 1, 0.3)
    expect_rows(case, "depth-1", o1, [5, 1, 3, "H", 2, 4, None])
    save_and_compare(case, folder, exe, o1, (439, 470), "wolt_list_2*.txt", ["list", "--sort", "depth"])
    o1.point(320, 10, 1, 0.3)
    o1.point(320, 10, 1, 0.3)
    expect_rows(case, "depth-3", o1, ["H", 1, 2, 3, 4, 5, None])

    # A row click in the first list: record 3 (region 3) becomes current.
    o1.point(100, 22 + 18 * 3 + 8, 1, 0.3)
    expect(harness.wait_for(lambda: case.windows(region_title(3)), 10), "expected the second list retitled Region 3")
    expect_rows(case, "row-3", o1, [0, 1, 2, "H", 4, 5, None])
    expect_rows(case, "row-3-second", o2, ["H", None])
    swing = pulse_swing(case, harness.View(case, main), (3, 0))
    expect(swing[3] >= 100 and swing[0] < 40, f"expected the pulse at record 3, not 0; green + blue swings {swing}")

    # Record 5 (region 1), then the second record of region 1 in the second list.
    o1.point(100, 22 + 18 * 5 + 8, 1, 0.3)
    expect(harness.wait_for(lambda: case.windows(region_title(1)), 10), "expected the second list retitled Region 1")
    expect_rows(case, "row-5-second", o2, [0, 2, "H", None])
    o2.point(100, 22 + 18 * 1 + 8, 1, 0.3)
    expect_rows(case, "second-row-2", o1, [0, 1, "H", 3, 4, 5, None])
    expect_rows(case, "second-row-2b", o2, [0, "H", 5, None])
    save_and_compare(case, folder, exe, o2, (251, 721), "wolt_list_Region 1_*.txt", ["--record", "2", "list", "--region"])

    # Dragged by its caption, each step once Wine has moved the window for
    # the last; Esc in it ends the program in order.
    x, y, _, _ = case.geometry(listw)
    case.tool("xdotool", "mousemove", str(x + 250), str(y + 10), "mousedown", "1")
    moved = (x, y)
    for i in range(1, 13):
        case.tool("xdotool", "mousemove", str(x + 250 - 320 * i // 12), str(y + 10 + 240 * i // 12))
        expect(harness.wait_for(lambda: tuple(case.geometry(listw)[:2]) != moved, 10),
               f"expected the list window to follow the drag; it stayed at {moved}")
        moved = tuple(case.geometry(listw)[:2])
    case.tool("xdotool", "mouseup", "1")
    program.close(listw, focus=(205, 510))   # below the counter: nothing there
    s = catalogue.read_settings(settings)
    expect((s["winX1"], s["winY1"]) == tuple(moved), f"expected {moved} saved; seen {s['winX1']}, {s['winY1']}")
    expect((s["winX3"], s["winY3"], s["winX2"], s["winY2"]) == (1420, 10, 900, 560), "expected the others kept")

    program = case.start(folder)
    program.shown()
    seen = case.geometry(case.window(TITLE_LIST))[:2]
    expect(seen == tuple(moved), f"expected the list window reopened at {moved}; seen {seen}")
