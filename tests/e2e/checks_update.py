#!/usr/bin/env python3
"""End-to-end checks of the data update (the 更新 button) against real HTTPS servers.

Usage: python3 tests/e2e/checks_update.py [--build build/win64] [--keep] [--only TEXT]

The server address is built into the program, so this stage links
wolt-e2e.exe in the program's own MinGW tree: the same objects with the data
server at https://localhost:47443 (CMake's WOLT_E2E_DATA_PORT). It makes a
test certificate authority with openssl and trusts it inside its own Wine
prefix only (build/wineprefix-update, through add-root-cert.exe; the CA is
kept there and renewed when it nears its end), never on the system and never
by switching certificate checks off. nginx serves the
server kit's own site file; a small Python TLS server gives the replies
nginx does not (a 500, a connection that breaks off, a slow download).

Each case starts the program on the standard catalogue (newest record
2020-06-01, last complete year 2019, so it asks for cmp_2020.dat), presses
the update button and checks the status line in a screenshot and the files
on disk. The status line's text is recognised by the extent of its white
pixels (the panel font is fixed-pitch: 8 pixels per ASCII character, 16 per
Japanese one, right-aligned) and every case that ends with the same text
must show exactly the same pixels. Ends with "N passed, N failed".
"""
import argparse
import os
import shutil
import subprocess
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(HERE, "update"))
import catalogue  # noqa: E402
import harness  # noqa: E402
import servers  # noqa: E402
from harness import expect  # noqa: E402

PORT = 47443
YEAR = 2020                       # lastFullYear (2019) + 1 of the standard catalogue
UPDATE_BUTTON = (798, 518)        # window pixel of the 更新 button's centre
STATUS_RECT = (519, 508, 747, 526)  # window pixels of the status line (right-aligned text)
STATUS_TEXTS = {
    1: "Error InternetConnect",
    4: "Error InternetOpenUrl",
    5: "Error InternetReadFile",
    7: "データは最新です",
    9: "サーバー負荷によりデータ更新できません",
    20: "データ更新 完了",
}
NEW_RECORDS = [
    (2020, 8, 20, 6, 30, 408, 132, 60, 6, 55, 4),   # pixel (349, 200): clear of the panels
    (2020, 7, 10, 22, 5, 300, 40, 20, 7, 35, 2),
]


def old_year_records():
    return [r for r in catalogue.STANDARD_RECORDS if r[0] == YEAR]


def year_file(records):
    return b"".join(catalogue.pack_record(r) for r in sorted(records, reverse=True))


def text_width(text):
    return sum(8 if ord(c) < 0x80 else 16 for c in text)


class Context:
    def __init__(self, session, exe, certs, nginx, report):
        self.session, self.exe, self.certs, self.nginx, self.report = session, exe, certs, nginx, report
        self.status_crops = {}   # final status code -> [(case, crop bytes)]


class Run:
    """One program on the standard catalogue, ready for a press of 更新."""

    def __init__(self, ctx, name):
        self.ctx, self.name = ctx, name
        self.folder = ctx.session.run_folder("update-" + name, ctx.exe)
        self.data = os.path.join(self.folder, "Data")
        catalogue.write_data_folder(self.data)
        catalogue.write_settings(os.path.join(self.folder, "wolt.dat"))
        self.yearly = os.path.join(self.data, f"cmp_{YEAR}.dat")
        with open(self.yearly, "rb") as f:
            self.old_bytes = f.read()
        self.program = ctx.session.start(self.folder)
        self.window = self.program.main_window()
        self.program.wait_full_opacity(self.window)
        x, y, _, _ = ctx.session.geometry(self.window)
        self.origin = (x + harness.CLIENT_OFFSET[0], y + harness.CLIENT_OFFSET[1])

    def press_update(self):
        # The panel's hover test runs on the tick only while the window is
        # active: activate it by a click beside the panel, then let a tick
        # pass over the button before the press.
        self.ctx.session.click(self.origin[0] + 856, self.origin[1] + 300)
        time.sleep(0.5)
        x, y = self.origin[0] + UPDATE_BUTTON[0], self.origin[1] + UPDATE_BUTTON[1]
        self.ctx.session.tool("xdotool", "mousemove", str(x), str(y))
        time.sleep(0.3)
        self.ctx.session.tool("xdotool", "click", "1")

    def screenshot(self, label):
        path = os.path.join(self.ctx.session.work, f"update-{self.name}-{label}.png")
        image = self.ctx.session.screenshot(path)
        self.ctx.report.append((f"{self.name} {label}", path))
        return image

    def status_crop(self, image):
        """The status line's pixels as bytes (rows top to bottom)."""
        x0, y0 = self.origin[0] + STATUS_RECT[0], self.origin[1] + STATUS_RECT[1]
        rows = []
        for y in range(y0, self.origin[1] + STATUS_RECT[3]):
            for x in range(x0, self.origin[0] + STATUS_RECT[2]):
                rows.append(bytes(image.pixel(x, y)))
        return b"".join(rows)

    def status_extent(self, image):
        """(left, right) window columns of the white text in the status line,
        right of the panel box's white left edge; None when it shows no text."""
        columns = []
        for x in range(STATUS_RECT[0] + 2, STATUS_RECT[2]):
            for y in range(STATUS_RECT[1], STATUS_RECT[3]):
                if image.pixel(self.origin[0] + x, self.origin[1] + y) == (255, 255, 255):
                    columns.append(x)
                    break
        return (columns[0], columns[-1]) if columns else None

    def shows(self, image, code):
        """The text is right-aligned at the line's right end and as wide as
        the text of `code` (a glyph's side bearings make the ink a few
        pixels narrower than its cells); a text wider than the line ends in
        an ellipsis and fills it."""
        extent = self.status_extent(image)
        if extent is None:
            return False
        left, right = extent
        box = STATUS_RECT[2] - STATUS_RECT[0]
        expected = text_width(STATUS_TEXTS[code])
        seen = STATUS_RECT[2] - left
        if right < STATUS_RECT[2] - 10:
            return False
        if expected > box:   # cut at a whole character and ended with "..."
            return box - 24 <= seen <= box
        return expected - 5 <= seen <= expected + 1

    def wait_status(self, code, timeout):
        """Waits until the status line shows the text of `code` and still shows
        it a second later; returns that screenshot."""
        end = time.monotonic() + timeout
        last = None
        while time.monotonic() < end:
            image = self.screenshot("status")
            if self.shows(image, code):
                time.sleep(1.0)
                image = self.screenshot("status")
                if self.shows(image, code):
                    self.ctx.status_crops.setdefault(code, []).append((self.name, self.status_crop(image)))
                    return image
            last = self.status_extent(image)
            time.sleep(0.3)
        raise harness.CheckFailed(f"the status line never showed {STATUS_TEXTS[code]!r} "
                                  f"(text extent last seen: {last}); see {self.ctx.session.work}")

    def expect_file_untouched(self):
        with open(self.yearly, "rb") as f:
            expect(f.read() == self.old_bytes, f"{self.yearly} changed")
        self.expect_no_temporary_file()

    def expect_no_temporary_file(self):
        left = [n for n in os.listdir(self.data) if n not in (f"cmp_{y}.dat" for y in (2019, 2020))
                and n not in ("s_tbl.dat", "ne_tbl.dat", "MAP01_512.bmp")]
        expect(left == [], f"files left in Data: {left}")

    def close(self):
        """Esc; returns the saved settings."""
        code = None
        for _ in range(3):
            if self.window in self.ctx.session.windows():
                self.program.press_escape(self.window)
            code = self.program.exited(10)
            if code is not None:
                break
        expect(code == 0, f"the program did not end cleanly after Esc (exit code {code})")
        expect(self.program.box_texts() == [], f"message boxes: {self.program.box_texts()}")
        return catalogue.read_settings(os.path.join(self.folder, "wolt.dat"))


def wait_requests(probe, count=1, timeout=15):
    expect(harness.wait_for(lambda: len(probe()) >= count, timeout), f"the server saw {len(probe())} requests")


def program_requests(nginx):
    return [line for line in nginx.requests(f"/wolt/data/cmp_{YEAR}.dat") if '"wolt 1.45"' in line]


# ---- the cases --------------------------------------------------------------

def case_good_newer_file(ctx):
    """A longer file for the year: "データ更新 完了", the file replaced, the
    catalogue reloaded with the new records first; a second press on the same
    day asks nothing."""
    body = year_file(old_year_records() + NEW_RECORDS)
    ctx.nginx.start()
    ctx.nginx.put(f"cmp_{YEAR}.dat", body)
    run = Run(ctx, "good")
    marker = (349, 200)
    before = run.screenshot("before")
    near = lambda image: [image.pixel(run.origin[0] + marker[0] + dx, run.origin[1] + marker[1] + dy)
                          for dx in range(-3, 4) for dy in range(-3, 4)]
    run.press_update()
    wait_requests(lambda: program_requests(ctx.nginx))
    after = run.wait_status(20, 15)
    with open(run.yearly, "rb") as f:
        expect(f.read() == body, "the yearly file is not the server's file")
    run.expect_no_temporary_file()
    expect(near(before) != near(after), "no marker appeared at the newest record's place")
    crop = run.status_crop(after)

    run.press_update()   # the same day: nothing happens
    time.sleep(2.5)
    expect(len(program_requests(ctx.nginx)) == 1, f"requests after a second press: {program_requests(ctx.nginx)}")
    expect(run.status_crop(run.screenshot("second-press")) == crop, "the status line changed on the second press")
    saved = run.close()
    expect(saved["recordCount"] == 7, f"recordCount {saved['recordCount']}, expected 5 + 2")
    expect((saved["endYear"], saved["endMonth"], saved["endDay"]) == (2020, 8, 20),
           f"period end {saved['endYear']}-{saved['endMonth']}-{saved['endDay']}, expected the new newest record")
    expect(saved["lastUpdateDay"] == time.localtime().tm_mday, f"lastUpdateDay {saved['lastUpdateDay']}")
    expect(saved["lastFullYear"] == 2019, f"lastFullYear {saved['lastFullYear']}")
    line = program_requests(ctx.nginx)[0]
    expect(f"/wolt/data/cmp_{YEAR}.dat HTTP/1.1\" 200 {len(body)}" in line, f"access log: {line}")


def nginx_case(name, code, content, doc):
    """A case where nginx serves `content` as the year's file (None: no file)."""
    def case(ctx):
        ctx.nginx.start()
        ctx.nginx.clear()
        if content is not None:
            ctx.nginx.put(f"cmp_{YEAR}.dat", content)
        run = Run(ctx, name)
        run.press_update()
        wait_requests(lambda: program_requests(ctx.nginx))
        run.wait_status(code, 15)
        run.expect_file_untouched()
        run.close()
        run.expect_file_untouched()
    case.__name__ = "case_" + name
    case.__doc__ = doc
    return case


def case_busy(ctx):
    """The kit's rate limit refuses the request: its 589-byte page with 503
    shows the busy text."""
    ctx.nginx.start()
    ctx.nginx.put(f"cmp_{YEAR}.dat", year_file(old_year_records() + NEW_RECORDS))
    run = Run(ctx, "busy")
    statuses = []
    while not statuses or statuses[-1][0] != 503:   # use up the burst of this address
        status, body, _ = servers.fetch(PORT, f"/wolt/data/cmp_{YEAR}.dat", ctx.certs["ca.pem"])
        statuses.append((status, len(body)))
        expect(len(statuses) <= 10, f"the rate limit never refused: {statuses}")
    expect(statuses[-1] == (503, 589), f"the busy answer was {statuses[-1]}, not 503 with 589 bytes")
    run.press_update()
    wait_requests(lambda: program_requests(ctx.nginx))
    run.wait_status(9, 15)
    expect('" 503 589 ' in program_requests(ctx.nginx)[0], f"access log: {program_requests(ctx.nginx)}")
    run.expect_file_untouched()
    run.close()


def scripted_case(name, code, doc, **reply):
    def case(ctx):
        ctx.nginx.stop()
        server = servers.ScriptedServer(PORT, ctx.certs, **reply)
        try:
            run = Run(ctx, name)
            run.press_update()
            wait_requests(lambda: server.requests)
            run.wait_status(code, 15)
            run.expect_file_untouched()
            run.close()
            expect(len(server.requests) == 1, f"{len(server.requests)} requests")
        finally:
            server.stop()
    case.__name__ = "case_" + name
    case.__doc__ = doc
    return case


def case_no_server(ctx):
    """Nothing listens: after ten attempts "Error InternetOpenUrl", never "最新"."""
    ctx.nginx.stop()
    expect(not servers.port_open(PORT), f"something listens on port {PORT}")
    run = Run(ctx, "no-server")
    started = time.monotonic()
    run.press_update()
    run.wait_status(4, 30)
    seconds = time.monotonic() - started
    expect(seconds >= 9, f"gave up after {seconds:.1f} s: not ten attempts a second apart")
    run.expect_file_untouched()
    run.close()


def case_close_during_download(ctx):
    """Esc while the reply trickles in: the program ends at once and the
    yearly file is the old one, whole."""
    ctx.nginx.stop()
    body = year_file(old_year_records() + NEW_RECORDS) * 20
    server = servers.ScriptedServer(PORT, ctx.certs, mode="slow", body=body, pause=0.5)
    try:
        run = Run(ctx, "closed-while-reading")
        run.press_update()
        wait_requests(lambda: server.requests)
        time.sleep(1.5)
        run.close()
        run.expect_file_untouched()
    finally:
        server.stop()


def records_of(year, n):
    return year_file([(year, 1 + i % 12, 1 + i % 28, i % 24, i % 60, 300, 200, 10, 1, 30, 1) for i in range(n)])


GOOD_SIZE = year_file(old_year_records() + NEW_RECORDS)
HTML = (b"<!DOCTYPE html>\n<html><head><title>maintenance</title></head>\n<!-- served by the CDN -->\n"
        b"<body>The data server is down for maintenance.</body></html>\n")

CASES = [
    case_good_newer_file,
    nginx_case("empty", 7, b"", "An empty file: \"データは最新です\", the file untouched."),
    case_busy,
    nginx_case("300000-bytes", 5, records_of(YEAR, 18750),
               "300,000 bytes of good records: refused as too long (code 5), untouched."),
    nginx_case("html", 5, HTML, "An HTML page with \"<!--\" and status 200: code 5, untouched."),
    nginx_case("wrong-year", 5, records_of(YEAR - 1, 4), "Records of 2019 as the 2020 file: code 5."),
    nginx_case("odd-length", 5, GOOD_SIZE + b"\x01\x02\x03", "A body that is not whole records: code 5."),
    nginx_case("404", 7, None, "No file for the year yet (404): \"データは最新です\", untouched."),
    scripted_case("500", 5, "Status 500 with a page: code 5, untouched.", mode="reply", status=500,
                  body=b"<html><body>500 Internal Server Error</body></html>\n"),
    scripted_case("closed-half-way", 5,
                  "Good records announced, the connection broken after half of them (on a record "
                  "boundary): code 5, untouched.", mode="halfway", body=GOOD_SIZE, cut=len(GOOD_SIZE) // 32 * 16),
    case_no_server,
    case_close_during_download,
]


def check_status_pixels(ctx):
    """Every case that ended with the same status shows the same pixels, and
    different statuses show different pixels."""
    firsts = {}
    for code, crops in ctx.status_crops.items():
        for name, crop in crops:
            expect(crop == crops[0][1], f"status {code}: {name} differs from {crops[0][0]}")
        firsts[code] = crops[0][1]
    codes = sorted(firsts)
    for i, a in enumerate(codes):
        for b in codes[i + 1:]:
            expect(firsts[a] != firsts[b], f"statuses {a} and {b} look the same")


# ---- the run ----------------------------------------------------------------

def build(tree):
    """Builds, in the program's own MinGW tree, wolt-e2e.exe (the same objects
    linked for https://localhost:PORT) and the CA helper."""
    subprocess.run(["ninja", "-C", tree, "-j", os.environ.get("JOBS", "2"), "wolt-e2e", "add-root-cert"],
                   check=True, stdout=subprocess.DEVNULL)


def wine_path(path):
    return "Z:" + os.path.realpath(path).replace("/", "\\")


def run_one(name, body):
    started = time.monotonic()
    try:
        body()
        outcome = (name, True, "")
    except harness.CheckFailed as failure:
        outcome = (name, False, str(failure))
    except Exception:
        outcome = (name, False, traceback.format_exc())
    print(f"{'PASS' if outcome[1] else 'FAIL'} {name} ({time.monotonic() - started:.1f} s)"
          f"{': ' + outcome[2] if outcome[2] else ''}", flush=True)
    return outcome


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(harness.TOP, "build", "win64"))
    parser.add_argument("--keep", action="store_true", help="keep the run folders, logs and screenshots")
    parser.add_argument("--only", default="", help="run only the cases whose name contains this")
    args = parser.parse_args()
    tree = os.path.realpath(args.build)
    try:
        build(tree)
    except (subprocess.CalledProcessError, OSError) as error:
        print(f"cannot build the program for localhost:{PORT}: {error}")
        print("0 passed, 1 failed")
        return 1
    if servers.port_open(PORT):
        print(f"port {PORT} is in use: the test server needs it")
        print("0 passed, 1 failed")
        return 1

    results, report = [], []
    session = harness.Session(prefix=os.path.join(harness.TOP, "build", "wineprefix-update"))
    nginx = None
    try:
        with session:
            certs = servers.make_certificates(os.path.join(session.prefix, "wolt-test-ca"),
                                              os.path.join(session.work, "certs"))
            subprocess.run([harness.WINE, os.path.join(tree, "add-root-cert.exe"), wine_path(certs["ca.der"])],
                           env=session.env(), check=True, stdout=subprocess.DEVNULL)
            nginx = servers.Nginx(os.path.join(session.work, "nginx"), PORT, certs)
            code, messages = nginx.check_config()
            expect(code == 0, f"nginx -t refuses the kit's site file: {messages}")
            ctx = Context(session, os.path.join(tree, "wolt-e2e.exe"), certs, nginx, report)
            for case in CASES:
                name = case.__name__[len("case_"):].replace("_", " ")
                if args.only not in name:
                    continue
                results.append(run_one(f"{name}: {case.__doc__.split(':')[0].strip()}", lambda: case(ctx)))
                session.stop_programs()
            if len(ctx.status_crops) > 1:
                results.append(run_one("status line pixels per status", lambda: check_status_pixels(ctx)))
    except KeyboardInterrupt:
        print("interrupted")
        results.append(("interrupted", False, ""))
    except Exception:
        results.append(("set-up", False, traceback.format_exc()))
        print(results[-1][2])
    finally:
        if nginx:
            nginx.stop()
        if args.keep or not all(ok for _, ok, _ in results):
            for what, path in report[-40:]:
                print(f"{what}: {path}")
            print(f"run folders and logs kept in {session.work}")
        else:
            shutil.rmtree(session.work, ignore_errors=True)
    passed = sum(1 for _, ok, _ in results if ok)
    print(f"{passed} passed, {len(results) - passed} failed")
    return 0 if passed == len(results) and results else 1


if __name__ == "__main__":
    sys.exit(main())
