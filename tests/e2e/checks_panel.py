"""The control panel on the standard catalogue (run by case_main): the wheel, a held plus, Reset;
the period dialog cancelled and confirmed, About, the settings dialog, 終了 from the menu. Crops
are panel pixels of the picture."""
import os
import time

import catalogue
import harness
from harness import STRIP, expect, near

PANEL = (512, 0)
START_LABEL, MAG_MIN, MAG_MAX, FILTER_PLUS, RESET = (540, 40), (600, 90), (700, 90), (805, 110), (800, 136)
EMPTY = (300, 300)          # on the map, away from every marker
START_ROW, END_ROW = (52, 28, 252, 52), (52, 52, 252, 76)   # panel rectangles compared between shots
HOVER_OUTLINE = (128, 255, 168)   # the hovered control's frame
SUMMARY, MAG_MIN_TEXT, MAG_MAX_TEXT = (18, 160, 330, 178), (18, 76, 160, 100), (178, 76, 252, 100)
TITLES = {"period": "開始、終了、日時設定", "about": "バージョン情報 wolt", "settings": "設定"}


class Panel(harness.View):
    def crop(self, image, rect):
        return [self.at(image, PANEL[0] + x, PANEL[1] + y) for y in range(rect[1], rect[3])
                for x in range(rect[0], rect[2])]

    def marker_shown(self, image, record):
        """A marker covers the record's grid pixel: no pixel within one of it shows the bare map."""
        x, y = catalogue.grid_to_pixel(record[5], record[6])
        return not any(near(self.at(image, x + dx, y + dy), catalogue.map_colour(x + dx, y + dy), 6)
                       for dx in (-1, 0, 1) for dy in (-1, 0, 1))

    def until(self, name, condition, message):
        return self.case.shot_until(name, condition, message)

    def dialog(self, which, present):
        title = TITLES[which]
        found = harness.wait_for(lambda: bool(self.case.windows(title)) == present, 20)
        expect(found, f"expected the window '{title}' {'open' if present else 'closed'} within 20 s")
        if present:
            self.case.viewable(self.case.windows(title)[0])


def check_buttons(case, program, window):
    panel = Panel(case, window)
    panel.point(*STRIP, button=1)
    first = case.shot("panel-start")
    m45, m5 = catalogue.STANDARD_RECORDS[3], catalogue.STANDARD_RECORDS[1]
    expect(panel.marker_shown(first, m45) and panel.marker_shown(first, m5), "expected the M4.5 and M5 markers")

    # Four wheel turns away from the user over the magnitude maximum: 9 -> 5.
    # The wheel steps the control the last tick found under the pointer:
    # turned before that tick, a turn goes elsewhere.
    panel.point(*MAG_MAX)
    outlined = lambda i: any(near(panel.at(i, PANEL[0] + 200 + dx, PANEL[1] + 76 + dy), HOVER_OUTLINE, 8)
                             for dx in (-1, 0, 1) for dy in (-1, 0, 1))
    before = panel.crop(panel.until("max-hovered", outlined, "expected the magnitude maximum hovered"), MAG_MAX_TEXT)
    for _ in range(4):
        case.tool("xdotool", "click", "4")
    panel.until("wheel", lambda i: panel.crop(i, MAG_MAX_TEXT) != before, "expected the wheel to change the maximum")

    # Held plus with the magnitude minimum selected: it climbs up to 5.
    panel.point(*MAG_MIN, button=1)
    panel.point(*FILTER_PLUS)
    case.tool("xdotool", "mousedown", "1")
    time.sleep(3.0)   # the hold itself: about 75 ticks of repeats
    case.tool("xdotool", "mouseup", "1")
    held = panel.until("held", lambda i: not panel.marker_shown(i, m45), "expected the M4.5 marker gone")
    expect(panel.crop(held, MAG_MIN_TEXT) != panel.crop(first, MAG_MIN_TEXT), "expected another magnitude minimum")
    expect(panel.crop(held, SUMMARY) != panel.crop(first, SUMMARY), "expected another summary line")
    expect(panel.marker_shown(held, m5), "expected the M5 marker kept")
    panel.point(*RESET, button=1)
    panel.until("reset", lambda i: panel.marker_shown(i, m45), "expected the M4.5 marker back after Reset")


def check_dialogs(case, program, window, settings):
    panel = Panel(case, window)
    first = case.shot("dialogs-start")
    # A typed start is dropped by キャンセル (Esc), kept by OK (Return).
    for key, changed in (("Escape", False), ("Return", True)):
        panel.point(*START_LABEL, button=1)
        panel.dialog("period", True)   # its start text selected
        case.tool("xdotool", "type", "--delay", "30", "2020/1/2 3:4")
        case.key(key)
        panel.dialog("period", False)
        panel.point(*STRIP, button=1)
        same = lambda i: panel.crop(i, START_ROW) == panel.crop(first, START_ROW)
        panel.until(f"period-{key}", lambda i: same(i) != changed and panel.crop(i, END_ROW) == panel.crop(first, END_ROW),
                    f"expected the start {'changed' if changed else 'kept'} by {key}, the end kept")

    panel.activate()
    case.key("alt+slash")
    panel.dialog("about", True)
    case.shot("about")
    case.key("Return")
    panel.dialog("about", False)

    # The menu's first item opens the settings dialog, its last one is 終了.
    for keys, item in ((("Down", "Return"), "settings"), (("Up", "Return"), None)):
        panel.activate()
        before = os.path.getmtime(settings)
        panel.popup(*EMPTY, keys)
        if item:
            panel.dialog(item, True)
            case.key("Return")
            panel.dialog(item, False)
    expect(program.exited(harness.EXIT_LIMIT) == 0, f"expected 終了 to end with 0; seen {program.process.poll()}")
    expect(os.path.getmtime(settings) > before, "expected wolt.dat written at the exit")
    expect(program.box_texts() == [], f"expected no message box; seen {program.box_texts()}")
