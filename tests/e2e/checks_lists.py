"""List and graph window checks, run by run_e2e.py: the three windows at
their stored positions, the depth header clicked three times (the order read
from the row tints on screen), row clicks that move the second list and the
map's selected marker, the save buttons against wolt-cli, and a moved list
window that Esc (pressed in the list window) saves for the next start.

Rows are told apart by their magnitude tint RGB((2m) mod 256, m div 2,
m div 3); every test record has its own magnitude. The highlighted row (the
current record) shows the highlight band instead.
"""
import glob
import os
import subprocess
import time

import catalogue
import harness
from harness import expect

TITLE_LIST = "wolt 1.45 設定条件地震一覧"
TITLE_GRAPH = "wolt 1.45 地震回数・合計規模グラフ"
LIST_SIZE, LIST2_SIZE, GRAPH_SIZE = (508, 520), (320, 772), (508, 256)
CLIENT = (5, 24)           # client origin in a captioned owned window
HIGHLIGHT = (32, 64, 96)

# year mo dy hh mi  mapX mapY depth region mag10 int; every marker clear of the panels
RECORDS = [
    (2021, 3, 10, 10, 0, 330, 30, 40, 1, 52, 3),
    (2021, 3, 5, 9, 0, 400, 60, 200, 2, 61, 5),
    (2021, 2, 20, 8, 0, 460, 100, 40, 1, 47, 2),   # the depth of record 0
    (2021, 1, 15, 7, 0, 360, 150, 120, 3, 38, 1),
    (2020, 12, 1, 6, 0, 500, 40, 10, 2, 70, 6),
    (2020, 11, 11, 5, 0, 430, 160, 300, 1, 44, 2),
]
POSITIONS = dict(winX0=0, winY0=0, winX1=900, winY1=10, winX2=900, winY2=560, winX3=1420, winY3=10)


def tint(mag10):
    return (2 * mag10 % 256, mag10 // 2, mag10 // 3)


TINTS = {tint(r[9]): i for i, r in enumerate(RECORDS)}


def region_title(region):
    return f"Region {region} 設定条件地震一覧"


def find_window(session, title, timeout=10):
    windows = harness.wait_for(lambda: session.windows(title), timeout)
    expect(windows, f"no window titled '{title}'")
    expect(len(windows) == 1, f"{len(windows)} windows titled '{title}'")
    return windows[0]


def client_origin(session, window):
    x, y, _, _ = session.geometry(window)
    return x + CLIENT[0], y + CLIENT[1]


def rows_on_screen(image, origin, rows=8):
    """Per row: the record whose tint it shows, 'H' for the highlight band,
    None for a black (empty) row, '?' for anything else."""
    out = []
    for r in range(rows):
        c = image.pixel(origin[0] + 3, origin[1] + 22 + 18 * r + 8)
        out.append("H" if c == HIGHLIGHT else None if c == (0, 0, 0) else TINTS.get(c, "?"))
    return out


def expect_rows(session, work, name, origin, expected, timeout=5):
    """Screenshots until the rows read `expected` (the list redraws on its next tick)."""
    seen = []

    def probe():
        image = session.screenshot(os.path.join(work, name))
        seen.append(rows_on_screen(image, origin, len(expected)))
        return seen[-1] == expected
    harness.wait_for(probe, timeout, interval=0.3)
    expect(seen and seen[-1] == expected, f"{name}: rows {seen[-1] if seen else None}, expected {expected}")


def click_client(session, origin, x, y):
    session.click(origin[0] + x, origin[1] + y)
    time.sleep(0.3)


def pulse_swing(session, work, main_origin, records, shots=20):
    """Green + blue at each record's marker centre over a series of
    screenshots: the selected marker swings towards white and back."""
    levels = {i: [] for i in records}
    for k in range(shots):
        image = session.screenshot(os.path.join(work, f"lists_pulse{k}.png"))
        for i in records:
            x, y = catalogue.grid_to_pixel(RECORDS[i][5], RECORDS[i][6])
            levels[i].append(max(sum(image.pixel(main_origin[0] + x + dx, main_origin[1] + y + dy)[1:])
                                 for dx in (-1, 0, 1) for dy in (-1, 0, 1)))
    return {i: max(v) - min(v) for i, v in levels.items()}


def newest_file(folder, pattern, before):
    found = sorted(set(glob.glob(os.path.join(folder, "text", pattern))) - before)
    expect(len(found) == 1, f"expected one new file {pattern}, found {found}")
    return found[0]


def cli_file(session, folder, exe, args, name):
    cli = os.path.join(os.path.dirname(exe), "wolt-cli.exe")
    expect(os.path.isfile(cli), f"no {cli} beside the program")
    result = subprocess.run([harness.WINE, cli, "--settings", "wolt.dat"] + args + ["-o", name], cwd=folder,
                            env=session.env(), capture_output=True, timeout=60)
    expect(result.returncode == 0, f"wolt-cli {' '.join(args)}: exit {result.returncode} {result.stderr[-300:]!r}")
    with open(os.path.join(folder, name), "rb") as f:
        return f.read()


def save_and_compare(session, folder, exe, origin, button, pattern, cli_args, what):
    before = set(glob.glob(os.path.join(folder, "text", "*")))
    click_client(session, origin, *button)
    path = harness.wait_for(lambda: sorted(set(glob.glob(os.path.join(folder, "text", pattern))) - before), 5)
    expect(path, f"{what}: no file {pattern} after pressing 保存")
    time.sleep(0.3)   # written and closed within the click
    with open(newest_file(folder, pattern, before), "rb") as f:
        saved = f.read()
    expected = cli_file(session, folder, exe, cli_args, f"cli_{what}.txt")
    expect(saved == expected, f"{what}: the saved list differs from wolt-cli {' '.join(cli_args)}:\n"
                              f"{saved[:400]!r}\n{expected[:400]!r}")
    expect(saved.count(b"\r\n") >= 6 + 1, f"{what}: CR LF lines expected")


def start_and_settle(session, folder):
    """Starts the program and activates the main window by a click on its
    empty right strip: the control panel's first change check (which
    re-filters and makes the newest match current again) then runs before
    the lists are touched."""
    program = session.start(folder)
    main = program.main_window()
    program.wait_full_opacity(main)
    x, y, _, _ = session.geometry(main)
    session.click(x + harness.CLIENT_OFFSET[0] + 856, y + harness.CLIENT_OFFSET[1] + 300)
    time.sleep(1)
    return program, main


def check_lists(session, exe, report):
    """Stored positions and sizes; the depth header three times; row clicks
    in both lists; both save buttons against wolt-cli."""
    folder = session.run_folder("lists", exe)
    catalogue.write_data_folder(os.path.join(folder, "Data"), records=RECORDS)
    catalogue.write_settings(os.path.join(folder, "wolt.dat"), **POSITIONS)
    program, main = start_and_settle(session, folder)
    work = session.work

    listw = find_window(session, TITLE_LIST)
    graph = find_window(session, TITLE_GRAPH)
    list2 = find_window(session, region_title(1))
    for window, position, size, what in ((listw, (900, 10), LIST_SIZE, "list"),
                                         (graph, (900, 560), GRAPH_SIZE, "graph"),
                                         (list2, (1420, 10), LIST2_SIZE, "second list")):
        expect(session.geometry(window) == position + size,
               f"{what} window at {session.geometry(window)}, expected {position + size}")
    o1, o2 = client_origin(session, listw), client_origin(session, list2)
    expect_rows(session, work, "lists_start.png", o1, ["H", 1, 2, 3, 4, 5, None])
    expect_rows(session, work, "lists_start2.png", o2, ["H", 2, 5, None])
    report.append(("lists at start", os.path.join(work, "lists_start.png")))

    # Depth: deepest first (equal depths newest first), shallowest first, as built.
    click_client(session, o1, 320, 10)
    expect_rows(session, work, "lists_depth1.png", o1, [5, 1, 3, "H", 2, 4, None])
    report.append(("depth, deepest first", os.path.join(work, "lists_depth1.png")))
    save_and_compare(session, folder, exe, o1, (439, 470), "wolt_list_2*.txt", ["list", "--sort", "depth"],
                     "list")
    click_client(session, o1, 320, 10)
    expect_rows(session, work, "lists_depth2.png", o1, [4, "H", 2, 3, 1, 5, None])
    click_client(session, o1, 320, 10)
    expect_rows(session, work, "lists_depth3.png", o1, ["H", 1, 2, 3, 4, 5, None])

    # A row click in the first list: record 3 (region 3) becomes current.
    click_client(session, o1, 100, 22 + 18 * 3 + 8)
    expect(harness.wait_for(lambda: session.windows(region_title(3)), 5),
           f"the second list is not retitled '{region_title(3)}'")
    expect_rows(session, work, "lists_row3.png", o1, [0, 1, 2, "H", 4, 5, None])
    expect_rows(session, work, "lists_row3_second.png", o2, ["H", None])
    report.append(("row 4 clicked", os.path.join(work, "lists_row3.png")))
    main_origin = (session.geometry(main)[0] + harness.CLIENT_OFFSET[0],
                   session.geometry(main)[1] + harness.CLIENT_OFFSET[1])
    swing = pulse_swing(session, work, main_origin, (3, 0))
    expect(swing[3] >= 100 and swing[0] < 40,
           f"the selected marker did not move to record 3: green + blue swings {swing}")

    # Record 5 (region 1), then the second record of region 1 in the second list.
    click_client(session, o1, 100, 22 + 18 * 5 + 8)
    expect(harness.wait_for(lambda: session.windows(region_title(1)), 5), "not retitled to region 1")
    expect_rows(session, work, "lists_row5_second.png", o2, [0, 2, "H", None])
    click_client(session, o2, 100, 22 + 18 * 1 + 8)
    expect_rows(session, work, "lists_second_row2.png", o1, [0, 1, "H", 3, 4, 5, None])
    expect_rows(session, work, "lists_second_row2b.png", o2, [0, "H", 5, None])
    report.append(("second list row 2 clicked", os.path.join(work, "lists_second_row2b.png")))
    save_and_compare(session, folder, exe, o2, (251, 721), "wolt_list_Region 1_*.txt",
                     ["--record", "2", "list", "--region"], "region list")
    expect(program.box_texts() == [], f"message boxes: {program.box_texts()}")


def check_moved_window(session, exe, report):
    """A list window dragged by its caption; Esc pressed in that window ends
    the program in order (the settings are saved, exit code 0); the next
    start opens it where it was left."""
    folder = session.run_folder("moved", exe)
    catalogue.write_data_folder(os.path.join(folder, "Data"), records=RECORDS)
    catalogue.write_settings(os.path.join(folder, "wolt.dat"), **POSITIONS)
    program, main = start_and_settle(session, folder)
    listw = find_window(session, TITLE_LIST)
    x, y, _, _ = session.geometry(listw)
    session.drag((x + 250, y + 10), (x + 250 - 320, y + 10 + 240))
    # Wine may still be working through the drag's motions: wait until the
    # window has left its place and stays put.
    last = [None]

    def settled():
        time.sleep(0.5)
        now = session.geometry(listw)[:2]
        done = now != (x, y) and now == last[0]
        last[0] = now
        return done and now
    moved = harness.wait_for(settled, 10)
    expect(moved, f"the list window did not move and settle (at {last[0]})")
    origin = client_origin(session, listw)
    code = None
    for _ in range(3):   # the focus follows the click with a delay
        if listw in session.windows(TITLE_LIST):
            click_client(session, origin, 200, 486)   # below the counter: nothing there
            time.sleep(0.3)
            session.key("Escape")
        code = program.exited(5)
        if code is not None:
            break
    expect(code == 0, f"Esc in the list window: exit code {code}")
    saved = catalogue.read_settings(os.path.join(folder, "wolt.dat"))
    expect((saved["winX1"], saved["winY1"]) == tuple(moved),
           f"saved list position {saved['winX1']}, {saved['winY1']}, window was at {moved}")
    expect((saved["winX3"], saved["winY3"], saved["winX2"], saved["winY2"]) == (1420, 10, 900, 560),
           "the other windows' positions changed")

    program = session.start(folder)
    main = program.main_window()
    program.wait_full_opacity(main)
    listw = find_window(session, TITLE_LIST)
    expect(session.geometry(listw)[:2] == tuple(moved),
           f"after the restart the list window is at {session.geometry(listw)[:2]}, expected {moved}")
    report.append(("moved list after restart",
                   session.screenshot(os.path.join(session.work, "lists_moved.png")).path))


CHECKS = [
    ("list windows: positions, depth sort on screen, row clicks, save files", check_lists),
    ("a moved list window is saved by Esc in it and reopens there", check_moved_window),
]
