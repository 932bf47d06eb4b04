"""Map picture checks, run by run_e2e.py on the main window showing the
standard catalogue (every record matches): the map image in (0, 0)-(512, 512),
the white map frame, the markers in their depth colours at their grid
positions, and the pulse of the selected earthquake's marker.

The overlay panels are drawn over parts of the map (their black is
transparent); a probe that falls on panel text is passed over, so the map
and frame checks ask for a clear majority of their probes, not all.
"""
from harness import expect

MAP_SIZE = 512
UV_SCALE = 0.99 * 512 / 511.5   # the map quad spans 511.5 pixels with u, v up to 0.99
# Window rectangles of the overlay panels that lie over the map.
RECENT_PANEL = (0, 0, 193, 269)
REGION_PANEL = (2, 284, 514, 514)
# The parts of them that are painted (the rest is black, so transparent):
# the recent-events panel, and of the region panel its box, its depth legend
# with the labels, and the site and credit lines.
PAINTED_OVERLAYS = [RECENT_PANEL, (315, 407, 507, 487), (440, 290, 512, 412), (98, 464, 504, 512)]


def _inside(rect, x, y):
    return rect[0] <= x < rect[2] and rect[1] <= y < rect[3]


def _near(a, b, tolerance):
    return all(abs(p - q) <= tolerance for p, q in zip(a, b))


def _map_pixel(context, x, y):
    """The map picture's colour that window pixel (x, y) shows."""
    return context.catalogue.map_colour(int(x * UV_SCALE), int(y * UV_SCALE))


def _record_pixels(context):
    """(pixel, record) of every record on the map, newest first."""
    placed = []
    for record in context.records:
        x, y = context.catalogue.grid_to_pixel(record[5], record[6])
        if x <= MAP_SIZE and y <= MAP_SIZE:
            placed.append(((x, y), record))
    return placed


def _clear_of_markers(context, x, y, margin=40):
    return all(abs(x - px) > margin or abs(y - py) > margin for (px, py), _ in _record_pixels(context))


def map_image_visible(context):
    """Four points inside every 64-pixel square of the map picture, away from
    the markers and the painted parts of the overlay panels, show the
    picture's colour there; none of them is seen right of the map."""
    matched, probed = 0, 0
    for by in range(8):
        for bx in range(8):
            for x, y in ((64 * bx + dx, 64 * by + dy) for dx in (16, 48) for dy in (16, 48)):
                if not _clear_of_markers(context, x, y) or any(_inside(r, x, y) for r in PAINTED_OVERLAYS):
                    continue
                probed += 1
                if _near(context.pixel(x, y), _map_pixel(context, x, y), 2):
                    matched += 1
    expect(probed >= 40, f"only {probed} map probes clear of the markers")
    expect(matched >= probed * 3 // 4,
           f"the map picture shows at {matched} of {probed} square centres")
    beside = [context.pixel(MAP_SIZE + 8 + 64 * k, 300) for k in range(4)]
    expect(not any(p in (context.catalogue.LAND, context.catalogue.SEA) for p in beside),
           f"map colours right of the map: {beside}")


def map_frame_white(context):
    """The white frame: the right edge above the region panel and the top
    edge; just inside the right edge the map shows again."""
    white = (255, 255, 255)
    edge = [(MAP_SIZE, y) for y in range(16, 272, 16)] + [(x, 0) for x in range(208, 508, 20)]
    on_edge = sum(1 for x, y in edge if _near(context.pixel(x, y), white, 16))
    expect(on_edge >= len(edge) * 9 // 10, f"{on_edge} of {len(edge)} frame probes are white")
    inner = [(MAP_SIZE - 3, y) for y in range(16, 272, 16)]
    map_like = sum(1 for x, y in inner if _near(context.pixel(x, y), _map_pixel(context, x, y), 2))
    expect(map_like >= len(inner) * 3 // 4, f"inside the frame only {map_like} of {len(inner)} probes show the map")


def _marker_fit(observed, map_colour, depth_colour):
    """True when `observed` is the map colour plus the depth colour dimmed by
    the sprite, with the same dimming in every channel: additive blending,
    saturating at 255. The dimming must be substantial, or there is no marker."""
    for step in range(30, 101):
        f = step / 100
        expected = tuple(min(255, m + int(d * f)) for m, d in zip(map_colour, depth_colour))
        if _near(observed, expected, 12):
            return True
    return False


def markers_in_depth_colours(context):
    """Each record clear of the panels and not selected shows a marker at its
    grid position in its depth colour (looked for within a pixel)."""
    checked = []
    selected = context.records[0]   # the newest matching record
    for (x, y), record in _record_pixels(context):
        if record is selected or _inside(RECENT_PANEL, x, y) or _inside(REGION_PANEL, x, y):
            continue
        depth = context.catalogue.depth_colour(record[7])
        found = any(_marker_fit(context.pixel(x + dx, y + dy), _map_pixel(context, x + dx, y + dy), depth)
                    for dx in (-1, 0, 1) for dy in (-1, 0, 1))
        expect(found, f"no marker of depth colour {depth} at {(x, y)}: {context.pixel(x, y)}")
        beside = (x + 2 * context.catalogue.marker_half_size(record[9]) + 4, y)
        expect(_near(context.pixel(*beside), _map_pixel(context, *beside), 2),
               f"the marker at {(x, y)} spreads to {beside}: {context.pixel(*beside)}")
        checked.append((x, y))
    expect(checked, "no record clear of the panels to look at")


def selected_marker_pulses(context):
    """The selected (newest) earthquake's marker pulses: its pulse level is
    added to every channel of its depth colour, so within a few seconds the
    centre swings between the plain marker (red, for a shallow earthquake)
    and nearly white. Green and blue carry the swing; red is full anyway.
    Screenshots are taken until both ends were seen (the screen of a busy
    Xvfb may hold one picture for a second)."""
    (x, y), _ = _record_pixels(context)[0]
    ox, oy = context.origin
    levels = []
    # The marker's centre lies at the recent-events panel's transparent gap
    # between its strong-events tab and its card (texture rows 152 to 155,
    # shown one pixel lower), and the leader line to the card runs down and
    # right from it: the probes stay in the gap, left of the line.
    for k in range(24):
        image = context.screenshot(f"pulse{k}.png")
        levels.append(max(sum(image.pixel(ox + x + dx, oy + y + dy)[1:])
                          for dx in (-2, -1) for dy in (1, 2, 3)))
        if max(levels) >= 400 and max(levels) - min(levels) >= 150:
            return
    expect(False, f"no pulse from the marker to nearly white: green + blue {levels}")


CHECKS = [map_image_visible, map_frame_white, markers_in_depth_colours, selected_marker_pulses]
