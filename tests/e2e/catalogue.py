"""Small deterministic Data folders (yearly files, region table, a checkerboard map), wolt.dat,
and where the program should draw what."""
import os
import struct

# year mo dy hh mi  mapX mapY depth region mag10 int; newest first. The newest
# record is the selected earthquake at start.
STANDARD_RECORDS = [
    (2020, 6, 1, 12, 0, 278, 100, 10, 1, 60, 4),    # pixel (152, 152), red-orange, M6
    (2020, 5, 1, 8, 30, 378, 250, 100, 2, 50, 3),   # pixel (304, 380), yellow-green, M5
    (2020, 4, 1, 3, 15, 228, 300, 180, 3, 40, 2),   # pixel (76, 456), blue-green, M4
    (2019, 12, 31, 23, 59, 428, 60, 40, 4, 45, 2),  # pixel (380, 91), orange, M4.5
    (2019, 7, 7, 7, 7, 600, 100, 30, 5, 50, 3),     # pixel (641, 152): off the map
]

FIELDS = ("tag winWidth winHeight " + " ".join(f"winX{i}" for i in range(8)) + " "
          + " ".join(f"winY{i}" for i in range(8)) + " placeMode alpha magMin magMax depthMin depthMax "
          "intMin intMax selCount selMaxMag10 selMeanMag10 selMeanDepth selStrongRecent recordCount dataDays "
          "selCount2 selFirst selMaxMag10b selMeanMag10b selMeanDepthB selLastIndex selFirstIndex "
          "lastFullYear newestFileSize lastUpdateDay startYear startMonth startDay startHour startMinute "
          "endYear endMonth endDay endHour endMinute").split()
DEFAULTS = dict(tag=100, winWidth=864, winHeight=768, winX1=860, winX2=860, winX3=1359, winY2=516, alpha=255,
                magMin=1, magMax=9, depthMax=999, intMin=1, intMax=9, startYear=1970, startMonth=1, startDay=1,
                endYear=1970, endMonth=1, endDay=1, endHour=23, endMinute=59)
SEA, LAND = (0, 32, 64), (48, 48, 32)


def write_settings(path, **fields):
    """wolt.dat: the defaults with `fields` over them (216 bytes)."""
    values = dict(DEFAULTS, **fields)
    with open(path, "wb") as f:
        f.write(struct.pack("<54i", *(values.get(name, 0) for name in FIELDS)))


def read_settings(path):
    with open(path, "rb") as f:
        data = f.read()
    if len(data) != 216:
        raise AssertionError(f"expected 216 bytes in {path}; seen {len(data)}")
    return dict(zip(FIELDS, struct.unpack("<54i", data)))


def pack_record(r):
    year, month, day, hour, minute, map_x, map_y, depth, region, mag10, intensity = r
    return struct.pack("<4i", year * 10000 + month * 100 + day, hour * 100 + minute,
                       map_x * 1000000 + map_y * 1000 + depth, region * 1000 + mag10 * 10 + intensity)


def year_file(records):
    return b"".join(pack_record(r) for r in sorted(records, reverse=True))


def write_data_folder(data, records=STANDARD_RECORDS, names=None, with_map=True):
    """One cmp_YYYY.dat per year, the region table ("Region i" for 0..9, or
    `names` by index, Shift-JIS), ne_tbl.dat and the map."""
    os.makedirs(data, exist_ok=True)
    for year in {r[0] for r in records}:
        with open(os.path.join(data, f"cmp_{year:04d}.dat"), "wb") as f:
            f.write(year_file([r for r in records if r[0] == year]))
    names = names or {}
    table = b"".join(struct.pack("<i", 100 + i if i < 10 else 0)
                     + (names.get(i, f"Region {i}" if i < 10 else "")).encode("cp932").ljust(44, b"\0")
                     for i in range(300))
    with open(os.path.join(data, "s_tbl.dat"), "wb") as f:
        f.write(table)
    with open(os.path.join(data, "ne_tbl.dat"), "wb") as f:
        f.write(bytes(5000))
    if with_map:
        write_map(data)


def map_colour(x, y):
    """The map picture: 64-pixel squares of dark land and sea, row 0 at the top."""
    return LAND if (x // 64 + y // 64) % 2 == 0 else SEA


def map_pixel(x, y):
    """The map picture's colour that window pixel (x, y) shows: the map quad
    spans 511.5 pixels with u, v up to 0.99."""
    return map_colour(int(x * 0.99 * 512 / 511.5), int(y * 0.99 * 512 / 511.5))


def write_map(data, size=512):
    """MAP01_512.bmp: 24-bit, bottom-up (rows of 1536 bytes need no padding)."""
    pixels = b"".join(bytes(c for x in range(size) for c in reversed(map_colour(x, y)))
                      for y in range(size - 1, -1, -1))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(os.path.join(data, "MAP01_512.bmp"), "wb") as f:
        f.write(header + info + pixels)


K = struct.unpack("<f", struct.pack("<f", 1.52))[0]   # 1.52 rounded to single precision


def grid_to_pixel(map_x, map_y):
    """Window pixel of a grid position, truncated: 25 x K = 37.9999995 lands at 37."""
    return int((map_x - 178) * K), int(map_y * K)
