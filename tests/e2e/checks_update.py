#!/usr/bin/env python3
"""End-to-end checks of the data update (the 更新 button) against real HTTPS servers.

Usage: python3 tests/e2e/checks_update.py [--build build/win64] [--keep] [--only TEXT] [--evidence DIR]
The data-server cases (nginx with the server kit's site file, or a scripted
TLS server, on https://localhost:47443) check the status line, told by the
extent of its white pixels (8 a half-width, 16 a full-width character,
right-aligned), and the files on disk; the search-service cases (a stand-in
on https://localhost:47444) compare the program's files with the native
wolt-feed's. The test CA is trusted in this stage's Wine prefix only.
"""
import datetime
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE, os.path.join(HERE, "update")]
import catalogue  # noqa: E402
import checks_lists  # noqa: E402
import harness  # noqa: E402
import servers  # noqa: E402
from harness import expect  # noqa: E402

PORT, SEARCH_PORT, YEAR = 47443, 47444, 2020
SAMPLE_TITLE = "wolt 1.45 [サンプルデータ]"
SERVER_SOURCE = f"source = server\nserver-host = localhost\nserver-port = {PORT}\n"
UPDATE_BUTTON, STATUS = (798, 518), (519, 508, 747, 526)   # window pixels; the status line's rectangle
TEXTS = {4: "Error InternetOpenUrl", 5: "Error InternetReadFile", 7: "データは最新です",
         9: "サーバー負荷によりデータ更新できません", 20: "データ更新 完了", 31: "取得中断：更新で再開",
         32: "サンプル：更新で実データへ"}
OLD = [r for r in catalogue.STANDARD_RECORDS if r[0] == YEAR]
NEW = [(2020, 8, 20, 6, 30, 408, 132, 60, 6, 55, 4),   # pixel (349, 200): clear of the panels
       (2020, 7, 10, 22, 5, 300, 40, 20, 7, 35, 2)]
GOOD = catalogue.year_file(OLD + NEW)
HTML = (b"<!DOCTYPE html>\n<html><head><title>maintenance</title></head>\n<!-- served by the CDN -->\n"
        b"<body>The data server is down for maintenance.</body></html>\n")
ERROR_PAGE = b"<html><body>500</body></html>\n"


class Run:
    """One program on the standard catalogue (or on a Data folder `data` made
    by the caller), its data source `source`, ready for a press of 更新."""

    def __init__(self, case, ctx, regions=None, source=SERVER_SOURCE, data=None, title=harness.TITLE, box=None):
        self.case, self.ctx = case, ctx
        self.folder = case.run_folder(ctx["exe"])
        self.data = os.path.join(self.folder, "Data")
        if data:
            shutil.copytree(data, self.data)
        else:
            catalogue.write_data_folder(self.data)
        if regions:   # another region table (s_tbl.dat)
            shutil.copy(regions, os.path.join(self.data, "s_tbl.dat"))
        with open(os.path.join(self.folder, "wolt-source.txt"), "w") as f:
            f.write(source)
        catalogue.write_settings(os.path.join(self.folder, "wolt.dat"))
        self.yearly = os.path.join(self.data, f"cmp_{YEAR}.dat")
        self.old = open(self.yearly, "rb").read() if os.path.exists(self.yearly) else None
        self.start(title, box)

    def start(self, title=harness.TITLE, box=None):
        """Starts the program; `box`: the text of a box it shows before its window, answered."""
        self.program = self.case.start(self.folder)
        if box:
            dismiss_box(self.case, self.program, box)
        self.window, _ = self.program.shown(title)
        self.view = harness.View(self.case, self.window)

    def press(self):
        # The hover test runs on the tick only while the window is active.
        self.view.activate()
        self.view.point(*UPDATE_BUTTON, button=1)

    def extent(self, image):
        """(left, right) window columns of the white text in the status line, or None."""
        cols = [x for x in range(STATUS[0] + 2, STATUS[2])
                if any(self.view.at(image, x, y) == (255, 255, 255) for y in range(STATUS[1], STATUS[3]))]
        return (cols[0], cols[-1]) if cols else None

    def shows(self, image, code):
        """Right-aligned and as wide as the text of `code` (a glyph's bearings
        make the ink a little narrower); a text wider than the line is cut
        with an ellipsis and fills it."""
        extent = self.extent(image)
        if not extent or extent[1] < STATUS[2] - 10:
            return False
        width, seen, box = sum(8 if ord(c) < 0x80 else 16 for c in TEXTS[code]), STATUS[2] - extent[0], STATUS[2] - STATUS[0]
        return box - 24 <= seen <= box if width > box else width - 5 <= seen <= width + 1

    def crop(self, image):
        return b"".join(bytes(self.view.at(image, x, y)) for y in range(STATUS[1], STATUS[3]) for x in range(STATUS[0], STATUS[2]))

    def expect_status(self, code, timeout=30):
        """The status line shows the text of `code`, and still does in the next
        screenshot (which is returned: its frame also shows what came with it).
        The stages' texts have the width of "データ更新 完了": once a case has
        seen a status's pixels for certain, later ones compare pixels."""
        seen = self.ctx["crops"].get(code)
        shows = (lambda i: self.crop(i) == seen[0][1]) if seen else (lambda i: self.shows(i, code))
        message = lambda i: f"expected the status {TEXTS[code]!r}; seen a text extent {self.extent(i)}"
        self.case.shot_until("status", shows, message, timeout)
        image = self.case.shot("status-again")
        expect(shows(image), message(image))
        self.ctx["crops"].setdefault(code, []).append((self.case.name, self.crop(image)))
        return image

    def expect_untouched(self):
        expect(open(self.yearly, "rb").read() == self.old, f"expected {self.yearly} untouched")
        left = sorted(set(os.listdir(self.data)) - {"cmp_2019.dat", "cmp_2020.dat", "s_tbl.dat", "ne_tbl.dat",
                                                   "MAP01_512.bmp"})
        expect(left == [], f"expected no other file in Data; seen {left}")

    def close(self, boxes=0):
        self.program.close(self.window, boxes=boxes)
        return catalogue.read_settings(os.path.join(self.folder, "wolt.dat"))


def program_requests(nginx):
    return [line for line in nginx.requests(f"/wolt/data/cmp_{YEAR}.dat") if '"wolt 1.45"' in line]


def wait_requests(probe):
    expect(harness.wait_for(lambda: len(probe()) >= 1, 30), "expected a request at the server; none seen")


def case_good(case, ctx):
    """A longer file: "データ更新 完了", the file replaced, the catalogue reloaded
    with the new records first; a second press on the same day asks nothing."""
    nginx = ctx["nginx"]
    nginx.start()
    nginx.put(f"cmp_{YEAR}.dat", GOOD)
    run = Run(case, ctx)
    marker = lambda image: [run.view.at(image, 349 + dx, 200 + dy) for dx in range(-3, 4) for dy in range(-3, 4)]
    before = marker(case.shot("before"))
    run.press()
    wait_requests(lambda: program_requests(nginx))
    expect(harness.wait_for(lambda: open(run.yearly, "rb").read() == GOOD, 30), "expected the yearly file to be the server's")
    # The program shows "完了" before it reloads: with the new marker drawn
    # the status line holds the pixels of "完了" (the first case to see them).
    case.shot_until("reloaded", lambda i: marker(i) != before, "expected a marker at the newest record's place", 30)
    after = run.expect_status(20)
    run.press()   # the same day: nothing is asked
    time.sleep(2.5)   # a request, if one were made, would reach the log within this
    expect(len(program_requests(nginx)) == 1, f"expected one request; seen {program_requests(nginx)}")
    expect(run.crop(case.shot("second")) == run.crop(after), "expected the status kept after the second press")
    s = run.close()
    seen = [s[k] for k in ("recordCount", "endYear", "endMonth", "endDay", "lastUpdateDay", "lastFullYear")]
    expect(seen == [7, 2020, 8, 20, time.localtime().tm_mday, 2019], f"saved block {seen}")
    expect(f'HTTP/1.1" 200 {len(GOOD)}' in program_requests(nginx)[0], f"access log {program_requests(nginx)}")


# Three earthquakes of 2020 as the intensity database answers them, and the
# lines the program's list file gives them (date, time, region, depth,
# magnitude, intensity).
FED = [dict(ot="2020/07/09 21:00:00.0", name="日向灘", lat="32.0", lon="132.0", dep="30 km", mag="6.0", maxI="震度５弱"),
       dict(ot="2020/05/02 03:04:05.0", name="千葉県北西部", lat="35.7", lon="140.1", dep="45 km", mag="5.2", maxI="震度４"),
       dict(ot="2020/03/15 12:34:56.7", name="石川県能登地方", lat="37.3", lon="136.9", dep="12 km", mag="4.1", maxI="震度３")]
FED_LINES = [[*e["ot"][:16].split(), e["name"], e["dep"].split()[0], e["mag"],
              e["maxI"][2:].translate({0xFF10 + d: 0x30 + d for d in range(10)})] for e in FED]


def case_feed_chain(case, ctx):
    """wolt-feed fills the kit's nginx data folder from the search service; 更新
    takes the fed file, and the list window's 保存 writes the fed earthquakes."""
    native = os.path.join(harness.TOP, "build", "native")
    kit = os.path.join(case.folder, "kit")
    subprocess.run([os.path.join(native, "make-sample"), "--out", kit, "--records", "10", "--end", "2019-06-30"],
                   check=True, capture_output=True)
    nginx = ctx["nginx"]
    nginx.start()
    nginx.clear()
    service = servers.SearchService([dict(e, latS="-", lonS="-") for e in FED])
    try:
        feed = subprocess.run([os.path.join(native, "wolt-feed"), "--out", nginx.data, "--server", "--from", "2020-01-01",
                               "--to", "2020-12-31", "--endpoint", service.url, "--delay", "0",
                               "--state", os.path.join(case.folder, "feed.state")], capture_output=True, text=True)
        expect(feed.returncode == 0 and len(service.forms) == 12,
               f"expected one search per month, exit 0; seen {len(service.forms)}, exit {feed.returncode}: {feed.stderr[-400:]}")
    finally:
        service.stop()
    run = Run(case, ctx, regions=os.path.join(kit, "s_tbl.dat"))
    run.press()
    wait_requests(lambda: program_requests(nginx))
    fed = open(os.path.join(nginx.data, f"cmp_{YEAR}.dat"), "rb").read()
    expect(harness.wait_for(lambda: open(run.yearly, "rb").read() == fed, 30), "expected the yearly file to be the fed one")
    run.expect_status(20)
    before = set()
    harness.View(case, case.window(checks_lists.TITLE_LIST), owned=True).point(439, 470, button=1)
    path = case.new_files(run.folder, "wolt_list_*.txt", before)[0]

    def rows():
        try:
            return [line.split() for line in open(path, "rb").read().decode("cp932").splitlines()]
        except UnicodeDecodeError:   # still being written
            return []
    harness.wait_for(lambda: all(line in rows() for line in FED_LINES), 5)
    missing = [line for line in FED_LINES if line not in rows()]
    expect(not missing, f"expected lines {missing} in the list file:\n{rows()[:40]}")
    run.close()


# ---- The search service ------------------------------------------------------------

def search_source(url, extra=""):
    return f"# the stand-in of the search service\nsearch-url = {url}\nsearch-delay = 0\n{extra}"


def native_feed(events, folder, data, *args):
    """The native wolt-feed's files for the same replies (from a plain-HTTP
    stand-in: libcurl does not know the test CA), fed into a copy of `data`
    (None: an empty folder): what the program must write too."""
    if data:
        shutil.copytree(data, folder)
    service = servers.SearchService(events)
    try:
        feed = subprocess.run([os.path.join(harness.TOP, "build", "native", "wolt-feed"), "--out", folder,
                               "--endpoint", service.url, "--delay", "0", *args], capture_output=True, text=True)
    finally:
        service.stop()
    expect(feed.returncode == 0, f"native wolt-feed failed: {feed.stderr[-600:]}")
    return {name: open(os.path.join(folder, name), "rb").read() for name in os.listdir(folder)
            if name.startswith("cmp_") or name in ("s_tbl.dat", "regions-filed.txt")}


def differing(data, files):
    """The names of `files` whose bytes the program's Data folder does not have."""
    return [name for name, content in files.items()
            if not os.path.exists(os.path.join(data, name)) or open(os.path.join(data, name), "rb").read() != content]


def expect_files(data, files, timeout):
    """The program's Data folder ends up with the native feed's files (the
    status line's "完了" has the width of its stages' texts: the files tell)."""
    harness.wait_for(lambda: not differing(data, files), timeout, interval=0.5)
    expect(not differing(data, files), f"expected the native feed's bytes in {differing(data, files)}")


def dismiss_box(case, program, text):
    """Waits for a message box of the program, checks its text and answers it with Return."""
    box = harness.wait_for(program.boxes, 30)
    expect(box, f"expected a message box saying {text!r}")
    expect(any(text in t for t in program.box_texts()), f"expected a box saying {text!r}; seen {program.box_texts()}")
    case.focus(box[0], (8, 8))
    case.key("Return")
    expect(harness.wait_for(lambda: not program.boxes(), 10), "expected the box to close")


def case_search_update(case, ctx):
    """The search service brings the newest days up to date: a bad line of
    wolt-source.txt is reported once at start and the rest holds; 更新 fetches
    from the newest record's day less 14 days to two days ago and gives the
    native feed's files; a second press the same day asks nothing."""
    today = datetime.date.today()
    events = servers.felt_events(2020, today - datetime.timedelta(days=1), seed=3)
    events = [e for e in events if e["ot"] >= "2020/05/20"]   # the catalogue ends on 2020-06-01
    service = servers.SearchService(events, SEARCH_PORT, ctx["certs"])
    try:
        standard = os.path.join(case.folder, "standard")
        catalogue.write_data_folder(standard)
        expected = native_feed(events, os.path.join(case.folder, "native"), standard, "--from", "2020-05-18")
        run = Run(case, ctx, source=search_source(service.url, "search-delay = soon\n"), data=standard,
                  box="wolt-source.txt:4: search-delay must be a number")
        run.press()
        expect_files(run.data, expected, 90)
        run.expect_status(20)
        requests = len(service.forms)
        expect(requests >= 70 and service.forms[0]["dateTimeF[]"][0] == "2020-05-18",
               f"expected monthly requests from 2020-05-18; seen {requests}, first {service.forms[0]}")
        run.press()   # the same day: nothing is asked
        time.sleep(2.5)
        expect(len(service.forms) == requests, f"expected no request on a second press; seen {len(service.forms) - requests}")
        run.close(boxes=1)   # the bad line's, once
    finally:
        service.stop()


def case_real_record(case, ctx):
    """The sample says so; 更新 offers the national record from 1970; the fetch
    is interrupted by closing the program and resumed after a restart from the
    day it reached; once complete and checked it replaces the sample in one
    step, with the native feed's files."""
    today = datetime.date.today()
    events = servers.felt_events(1970, today, seed=5)
    service = servers.SearchService(events, SEARCH_PORT, ctx["certs"])
    try:
        expected = native_feed(events, os.path.join(case.folder, "native"), None)
        months = (today.year - 1970) * 12 + today.month
        sample = os.path.join(case.folder, "sample")
        subprocess.run([os.path.join(harness.TOP, "build", "native", "make-sample"), "--out", sample, "--records", "2000",
                        "--end", (today - datetime.timedelta(days=3)).isoformat()], check=True, capture_output=True)
        catalogue.write_map(sample)
        run = Run(case, ctx, source=search_source(service.url), data=sample, title=SAMPLE_TITLE)
        run.expect_status(32)
        run.press()
        dismiss_box(case, run.program, "生成したサンプル")
        expect(harness.wait_for(lambda: len(service.forms) >= months // 3, 60), "expected the fetch under way")
        run.close(boxes=1)   # mid-way: the program ends, the fetch stops
        state = open(os.path.join(run.folder, "Data.fetching", "wolt-feed.state")).read().split()[1]
        expect(os.path.exists(os.path.join(run.data, "sample.txt")), "expected the sample kept while the fetch is unfinished")
        for name in os.listdir(sample):
            expect(open(os.path.join(run.data, name), "rb").read() == open(os.path.join(sample, name), "rb").read(),
                   f"expected the sample's {name} untouched")
        before = len(service.forms)
        run.start(SAMPLE_TITLE)
        run.expect_status(31)
        run.press()
        dismiss_box(case, run.program, "再開")
        expect_files(run.data, expected, 120)
        run.expect_status(20)
        resumed = service.forms[before]["dateTimeF[]"][0]
        done = datetime.date.fromisoformat(state) + datetime.timedelta(days=1)
        expect(resumed == done.isoformat(), f"expected the fetch resumed on {done}; it asked from {resumed}")
        expect(len(service.forms) <= months + 20, f"expected about {months} requests; seen {len(service.forms)}")
        expect(sorted(os.listdir(run.folder)) == ["Data", "text", "wolt-source.txt", "wolt.dat", "wolt.exe"],
               f"expected the fetch folder gone; seen {sorted(os.listdir(run.folder))}")
        expect(not os.path.exists(os.path.join(run.data, "sample.txt")), "expected the sample mark gone")
        expect(os.path.exists(os.path.join(run.data, "MAP01_512.bmp")), "expected the map image kept")
        expect(case.windows(harness.TITLE), "expected the title without the sample mark")
        run.close(boxes=1)
    finally:
        service.stop()


def nginx_case(code, content):
    """nginx serves `content` as the year's file (None: no file)."""
    def case(case, ctx):
        ctx["nginx"].start()
        ctx["nginx"].clear()
        if content is not None:
            ctx["nginx"].put(f"cmp_{YEAR}.dat", content)
        run = Run(case, ctx)
        run.press()
        wait_requests(lambda: program_requests(ctx["nginx"]))
        run.expect_status(code)
        run.close()
        run.expect_untouched()
    return case


def case_busy(case, ctx):
    """The kit's rate limit refuses: its 589-byte page with 503 shows the busy text."""
    ctx["nginx"].start()
    ctx["nginx"].put(f"cmp_{YEAR}.dat", GOOD)
    run = Run(case, ctx)
    statuses = []
    while not statuses or not statuses[-1].startswith("503"):   # use up the burst of this address
        statuses.append(subprocess.run(["curl", "-s", "-o", "/dev/null", "-w", "%{http_code} %{size_download}", "--cacert",
                                        ctx["certs"]["ca.pem"], f"https://localhost:{PORT}/wolt/data/cmp_{YEAR}.dat"],
                                       capture_output=True, text=True).stdout)
        expect(len(statuses) <= 10, f"expected the rate limit to refuse; seen {statuses}")
    expect(statuses[-1] == "503 589", f"expected 503 with 589 bytes; seen {statuses[-1]}")
    run.press()
    wait_requests(lambda: program_requests(ctx["nginx"]))
    run.expect_status(9)
    expect('" 503 589 ' in program_requests(ctx["nginx"])[0], f"access log {program_requests(ctx['nginx'])}")
    run.close()
    run.expect_untouched()


def scripted_case(code, body=GOOD, cut=None, status=200):
    """The scripted server announces `body` with `status` and breaks after
    `cut` bytes, or (None) sends 20 times GOOD slowly."""
    def case(case, ctx):
        ctx["nginx"].stop()
        server = servers.ScriptedServer(PORT, ctx["certs"], body if cut else GOOD * 20, cut, status)
        try:
            run = Run(case, ctx)
            run.press()
            wait_requests(lambda: server.requests)
            if code:
                run.expect_status(code)
            else:   # Esc while the reply trickles in: the program ends at once
                expect(harness.wait_for(lambda: server.sent >= 48, 30), "expected the slow reply under way")
            run.close()
            run.expect_untouched()
            expect(len(server.requests) == 1, f"expected one request; seen {len(server.requests)}")
        finally:
            server.stop()
    return case


def case_no_server(case, ctx):
    """Nothing listens: after ten attempts "Error InternetOpenUrl", never "最新"."""
    ctx["nginx"].stop()
    expect(not servers.port_open(PORT), f"expected nothing on port {PORT}")
    run = Run(case, ctx)
    started = time.monotonic()
    run.press()
    run.expect_status(4, timeout=60)
    seconds = time.monotonic() - started
    expect(seconds >= 9, f"expected ten attempts a second apart; gave up after {seconds:.1f} s")
    run.close()
    run.expect_untouched()


CASES = [
    ("good newer file", case_good),
    ("fed by wolt-feed, listed after 更新", case_feed_chain),
    ("empty file", nginx_case(7, b"")),
    ("busy", case_busy),
    ("300000 bytes", nginx_case(5, catalogue.year_file([(YEAR, 1 + i % 12, 1 + i % 28, i % 24, i % 60, 300, 200, 10, 1, 30, 1)
                                                        for i in range(18750)]))),
    ("html with status 200", nginx_case(5, HTML)),
    ("wrong year", nginx_case(5, catalogue.year_file([(YEAR - 1, *r[1:]) for r in NEW]))),
    ("odd length", nginx_case(5, GOOD + b"\x01\x02\x03")),
    ("404", nginx_case(7, None)),
    ("500 with a page", scripted_case(5, ERROR_PAGE, cut=len(ERROR_PAGE), status=500)),
    ("closed half way", scripted_case(5, cut=len(GOOD) // 32 * 16)),
    ("no server", case_no_server),
    ("closed during the download", scripted_case(None)),
    ("search service: the newest days", case_search_update),
    ("search service: the national record in place of the sample", case_real_record),
]


def check_status_pixels(case, ctx):
    """The same status shows the same pixels in every case; different ones differ."""
    firsts = {}
    for code, crops in ctx["crops"].items():
        for name, crop in crops:
            expect(crop == crops[0][1], f"status {code}: {name} differs from {crops[0][0]}")
        firsts[code] = crops[0][1]
    codes = sorted(firsts)
    for i, a in enumerate(codes):
        for b in codes[i + 1:]:
            expect(firsts[a] != firsts[b], f"statuses {a} and {b} look the same")


def main():
    args = harness.arguments(__doc__, build=os.path.join(harness.TOP, "build", "win64"))
    tree = os.path.realpath(args.build)
    subprocess.run(["ninja", "-C", tree, "wolt"], check=True, stdout=subprocess.DEVNULL)
    for port in (PORT, SEARCH_PORT):
        expect(not servers.port_open(port), f"port {port} is in use: the test servers need it")
    suite = harness.Suite("update", "wineprefix-update", args.keep, args.evidence)
    nginx = None
    try:
        with suite:
            certs = servers.make_certificates(os.path.join(suite.prefix, "wolt-test-ca"),
                                              os.path.join(suite.root, "certs"))
            servers.trust(certs["ca.der"], suite.env())
            nginx = servers.Nginx(os.path.join(suite.root, "nginx"), PORT, certs)
            code, messages = nginx.check_config()
            expect(code == 0, f"nginx -t refuses the kit's site file: {messages}")
            ctx = dict(exe=os.path.join(tree, "wolt.exe"), certs=certs, nginx=nginx, crops={})
            suite.run_cases(CASES, args.only, ctx)
            if len(ctx["crops"]) > 1:
                suite.run("status line pixels per status", check_status_pixels, ctx)
    finally:
        if nginx:
            nginx.stop()
    return suite.summary()


if __name__ == "__main__":
    sys.exit(main())
