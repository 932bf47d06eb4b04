"""The update end-to-end test's servers: a test CA (kept with the Wine prefix, which cannot forget
a trusted CA), nginx with the server kit's site file, a scripted TLS server for what nginx does
not do (a break half way, a slow send), and the stand-in of the search service."""
import hashlib
import http.server
import json
import os
import shutil
import socket
import ssl
import struct
import subprocess
import threading
import time
import urllib.parse

TOP = os.path.realpath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
HOST = "localhost"


def _openssl(*args):
    subprocess.run(["openssl", *args], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def make_certificates(ca_folder, folder):
    """The test CA in `ca_folder` (made when missing or valid for less than two more days) and a
    fresh server certificate for localhost signed by it in `folder`."""
    os.makedirs(ca_folder, exist_ok=True)
    os.makedirs(folder, exist_ok=True)
    ca = lambda name: os.path.join(ca_folder, name)
    path = lambda name: os.path.join(folder, name)
    fresh = os.path.exists(ca("ca.der")) and subprocess.run(
        ["openssl", "x509", "-in", ca("ca.pem"), "-noout", "-checkend", "172800"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0
    if not fresh:
        _openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", ca("ca.key"), "-out", ca("ca.pem"),
                 "-days", "30", "-subj", "/CN=wolt end-to-end test CA",
                 "-addext", "basicConstraints=critical,CA:TRUE",
                 "-addext", "keyUsage=critical,keyCertSign,cRLSign")
        _openssl("x509", "-in", ca("ca.pem"), "-outform", "der", "-out", ca("ca.der"))
    _openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", path("server.key"), "-out", path("server.pem"),
             "-subj", "/CN=" + HOST, "-CA", ca("ca.pem"), "-CAkey", ca("ca.key"), "-set_serial", str(int(time.time() * 1000)),
             "-days", "3", "-addext", f"subjectAltName=DNS:{HOST}", "-addext", "basicConstraints=CA:FALSE",
             "-addext", "keyUsage=critical,digitalSignature,keyEncipherment", "-addext", "extendedKeyUsage=serverAuth")
    return {"ca.pem": ca("ca.pem"), "ca.der": ca("ca.der"), "server.pem": path("server.pem"),
            "server.key": path("server.key")}


def trust(ca_der, env):
    """Trusts the CA in the Root store of the local machine of the Wine prefix of `env`, as
    crypt32 keeps it: its SHA-1 hash and the certificate, each a property (id, 1, size)."""
    with open(ca_der, "rb") as f:
        der = f.read()
    sha1 = hashlib.sha1(der)
    blob = struct.pack("<3I", 3, 1, 20) + sha1.digest() + struct.pack("<3I", 32, 1, len(der)) + der
    key = "HKLM\\Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\" + sha1.hexdigest().upper()
    subprocess.run([os.path.join(TOP, "scripts", "wine.sh"), "reg", "add", key, "/v", "Blob", "/t", "REG_BINARY", "/d", blob.hex(), "/f"],
                   env=env, check=True, capture_output=True)


def port_open(port):
    with socket.socket() as s:
        s.settimeout(0.5)
        return s.connect_ex(("127.0.0.1", port)) == 0


def wait_port(port, state, timeout=10):
    end = time.monotonic() + timeout
    while port_open(port) != state and time.monotonic() < end:
        time.sleep(0.05)


class Nginx:
    """nginx with the server kit's site file, serving `root` (a copy of server/www)."""

    def __init__(self, work, port, certs):
        self.work, self.port, self.process = work, port, None
        self.root = os.path.join(work, "www")
        self.data = os.path.join(self.root, "wolt", "data")
        self.access_log = os.path.join(work, "access.log")
        shutil.rmtree(self.root, ignore_errors=True)
        shutil.copytree(os.path.join(TOP, "server", "www"), self.root)
        os.makedirs(self.data, exist_ok=True)
        site = subprocess.run(["bash", os.path.join(TOP, "server", "configure.sh"), "--host", HOST,
                               "--listen", f"127.0.0.1:{port}", "--cert", certs["server.pem"],
                               "--key", certs["server.key"], "--root", self.root],
                              check=True, capture_output=True, text=True).stdout
        with open(os.path.join(work, "wolt.conf"), "w") as f:
            f.write(site)
        os.makedirs(os.path.join(work, "temp"), exist_ok=True)
        temps = "".join(f"    {n}_temp_path {work}/temp/{n};\n" for n in ("client_body", "proxy", "fastcgi", "uwsgi", "scgi"))
        # As root the workers would switch to "nobody", who may not read the work folder.
        user = "user root;\n" if os.geteuid() == 0 else ""
        with open(os.path.join(work, "nginx.conf"), "w") as f:
            f.write(f"{user}daemon off;\nworker_processes 1;\npid {work}/nginx.pid;\nerror_log {work}/error.log info;\n"
                    f"events {{ worker_connections 64; }}\nhttp {{\n    access_log {self.access_log};\n{temps}"
                    f"    include {work}/wolt.conf;\n}}\n")
        self.command = ["nginx", "-p", work, "-c", os.path.join(work, "nginx.conf"), "-e", os.path.join(work, "error.log")]

    def check_config(self):
        result = subprocess.run(self.command + ["-t"], capture_output=True, text=True)
        return result.returncode, result.stderr

    def start(self):
        """Starts nginx afresh (so the rate limit's counts start at zero)."""
        self.stop()
        if os.path.exists(self.access_log):
            os.remove(self.access_log)
        self.process = subprocess.Popen(self.command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_port(self.port, True)
        if not port_open(self.port):
            self.stop()
            raise RuntimeError(f"nginx did not start; see {self.work}/error.log")

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.terminate()   # the master ends its workers
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        self.process = None
        wait_port(self.port, False)

    def put(self, name, data):
        with open(os.path.join(self.data, name), "wb") as f:
            f.write(data)

    def clear(self):
        for name in os.listdir(self.data):
            os.remove(os.path.join(self.data, name))

    def requests(self, path_part):
        """The access log lines of requests whose path contains `path_part`."""
        if not os.path.exists(self.access_log):
            return []
        with open(self.access_log, encoding="utf-8", errors="replace") as f:
            return [line for line in f if path_part in line]


class ScriptedServer:
    """A TLS server on 127.0.0.1:PORT that announces `body` whole with
    `status`, then breaks the connection after `cut` bytes, or (cut None) sends
    16 bytes every half second. Each request's first line and headers are kept
    in `requests`."""

    def __init__(self, port, certs, body, cut=None, status=200):
        self.port, self.requests, self.sent, self.stopping = port, [], 0, threading.Event()
        scripted = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def do_GET(self):
                scripted.requests.append(f"{self.requestline}\n{self.headers}")
                self.send_response(status)
                for name, value in (("Content-Type", "application/octet-stream"),
                                    ("Content-Length", str(len(body))), ("Connection", "close")):
                    self.send_header(name, value)
                self.end_headers()
                try:
                    for at in range(0, cut or len(body), cut or 16):
                        if scripted.stopping.is_set():
                            return
                        self.wfile.write(body[at:at + (cut or 16)])
                        scripted.sent += cut or 16
                        time.sleep(0.2 if cut else 0.5)
                    if cut:   # no TLS close: the connection just breaks
                        socket.socket.shutdown(self.connection, socket.SHUT_RDWR)
                except OSError:   # the program closed the connection
                    pass

            def log_message(self, *args):
                pass

        self.server = _TlsServer(("127.0.0.1", port), Handler, certs)
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def stop(self):
        self.stopping.set()
        self.server.shutdown()
        self.server.server_close()
        self.thread.join(timeout=5)
        wait_port(self.port, False)


class _TlsServer(http.server.ThreadingHTTPServer):
    """HTTPS with the handshake in each connection's own thread (with a time
    limit), so that one slow or abandoned handshake never holds up accept()."""

    def __init__(self, address, handler, certs):
        super().__init__(address, handler)
        self.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        self.context.load_cert_chain(certs["server.pem"], certs["server.key"])

    def finish_request(self, request, client_address):
        request.settimeout(10)
        try:
            tls = self.context.wrap_socket(request, server_side=True)
        except (OSError, ssl.SSLError):
            return
        self.RequestHandlerClass(tls, client_address, self)


def _serve_search(events_path, forms_path, port, cert, key):
    """The stand-in's own process: answers searches for the events in
    `events_path` (JSON, read again whenever it changes) and appends each
    request's form to `forms_path` (JSON lines). A file events_path +
    ".answers" may replace the answers to some requests: a JSON list of
    {from, to (request numbers), status, body, headers ("Name: value" lines), stall (ms)}."""
    forms, count, cache = open(forms_path, "a", encoding="utf-8"), [0], {}

    def load(path, default):
        if not os.path.exists(path):
            return default
        stamp = os.stat(path).st_mtime_ns, os.stat(path).st_size
        if cache.get(path, (None,))[0] != stamp:
            with open(path, encoding="utf-8") as f:
                cache[path] = stamp, json.load(f)
        return cache[path][1]

    class Handler(http.server.BaseHTTPRequestHandler):
        def do_POST(self):
            form = urllib.parse.parse_qs(self.rfile.read(int(self.headers["Content-Length"])).decode())
            forms.write(json.dumps(form, ensure_ascii=False) + "\n")
            forms.flush()
            number, count[0] = count[0], count[0] + 1
            events = sorted(load(events_path, []), key=lambda e: e["ot"], reverse=True)   # the service's order, newest first
            a, b = (" ".join(form[k]).replace("-", "/") for k in ("dateTimeF[]", "dateTimeT[]"))
            res = [dict(e, id=e["ot"]) for e in events if a <= e["ot"][:16] <= b][:SearchService.LIMIT]
            answer = dict(status=200, body=json.dumps({"res": res}, ensure_ascii=False), headers="", stall=0)
            answer.update(next((a for a in load(events_path + ".answers", []) if a["from"] <= number < a["to"]), {}))
            time.sleep(answer["stall"] / 1000)
            body = answer["body"].encode()
            try:
                self.send_response(answer["status"])
                for line in ("Content-Type: application/json; charset=UTF-8", f"Content-Length: {len(body)}",
                             *answer["headers"].splitlines()):
                    self.send_header(*line.split(": ", 1))
                self.end_headers()
                self.wfile.write(body)
            except OSError:   # the client gave up waiting
                pass

        def log_message(self, *args):
            pass

    certs = {"server.pem": cert, "server.key": key} if cert else None
    address = (HOST if certs else "127.0.0.1", port)
    http.server.ThreadingHTTPServer.request_queue_size = 64
    server = _TlsServer(address, Handler, certs) if certs else http.server.ThreadingHTTPServer(address, Handler)
    print(server.server_address[1], flush=True)
    server.serve_forever()


class SearchService:
    """The intensity database's search service: its form fields, replies in its shape for the
    events given (ot, name, lat, lon, latS, lonS, dep, mag, maxI), at most 1,000 as it cuts them;
    plain HTTP on 127.0.0.1, or HTTPS on localhost:`port`; in a process of its own."""

    LIMIT = 1000

    def __init__(self, events, port=0, certs=None):
        import tempfile
        self.work = tempfile.mkdtemp(prefix="wolt-search-")
        self.forms_path = os.path.join(self.work, "forms.jsonl")
        events_path = os.path.join(self.work, "events.json")
        with open(events_path, "w", encoding="utf-8") as f:
            json.dump(events, f, ensure_ascii=False)
        open(self.forms_path, "w").close()
        cert, key = (certs["server.pem"], certs["server.key"]) if certs else ("", "")
        self.process = subprocess.Popen(["python3", __file__, "serve-search", events_path, self.forms_path, str(port),
                                         cert, key], stdout=subprocess.PIPE, text=True)
        bound = self.process.stdout.readline().strip()
        if not bound.isdigit():
            self.stop()
            raise RuntimeError("the search stand-in did not start")
        scheme, host = ("https", HOST) if certs else ("http", "127.0.0.1")
        self.url = f"{scheme}://{host}:{bound}/svd/eqdb/data/shindo/api/api.php"

    @property
    def forms(self):
        with open(self.forms_path, encoding="utf-8") as f:
            return [json.loads(line) for line in f]

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)
        shutil.rmtree(self.work, ignore_errors=True)


def felt_events(first_year, last_day, seed=1):
    """A felt record from 1 January of `first_year` to `last_day`: a few earthquakes a week, March
    2011 far beyond what one reply holds, events without a magnitude, a name the table lacks."""
    import datetime
    import random
    rng = random.Random(seed)
    names = [("石川県能登地方", 37.3, 136.9), ("宮城県沖", 38.5, 141.9), ("熊本県熊本地方", 32.7, 130.7),
             ("トカラ列島近海", 29.3, 129.4), ("千葉県北西部", 35.7, 140.1), ("日向灘", 32.0, 132.0),
             ("ウラジオストク付近", 42.9, 131.4), ("新しい海域の名", 30.5, 135.5)]
    events, day = [], datetime.date(first_year, 1, 1)

    def minutes(v, hemisphere):
        d, m = int(v), round((v - int(v)) * 60, 1)
        return f"{d}°{m:04.1f}′{hemisphere}"

    def add(when, k):
        name, lat, lon = names[k % len(names)]
        lat, lon = lat + rng.uniform(-0.3, 0.3), lon + rng.uniform(-0.3, 0.3)
        unknown = k % 97 == 0
        events.append(dict(ot=when.strftime("%Y/%m/%d %H:%M:%S") + f".{k % 10}",
                           name="詳細不明" if unknown else name, lat=f"{lat:.1f}", lon=f"{lon:.1f}",
                           latS=minutes(lat, "N"), lonS=minutes(lon, "E"), dep=f"{rng.randint(0, 80)} km",
                           mag="不明" if unknown else f"{rng.uniform(2.0, 6.5):.1f}",
                           maxI=f"震度{'１２３４'[k % 4]}"))
    k = 0
    while day <= last_day:
        busy = day.year == 2011 and day.month == 3 and day.day >= 11
        for _ in range(rng.randint(40, 60) if busy else rng.choice([0, 0, 0, 1, 1, 2])):
            add(datetime.datetime(day.year, day.month, day.day, rng.randint(0, 23), rng.randint(0, 59),
                                  rng.randint(0, 59)), k)
            k += 1
        day += datetime.timedelta(days=1)
    return events


if __name__ == "__main__":   # serve-search EVENTS FORMS PORT CERT KEY, or serve-felt WORK FIRST_YEAR LAST_DAY SEED
    import sys
    if sys.argv[1] == "serve-felt":
        import datetime
        with open(os.path.join(sys.argv[2], "events.json"), "w", encoding="utf-8") as f:
            json.dump(felt_events(int(sys.argv[3]), datetime.date.fromisoformat(sys.argv[4]), int(sys.argv[5])), f)
        sys.argv[1:] = ["serve-search", f.name, os.path.join(sys.argv[2], "forms.jsonl"), "0", "", ""]
    _serve_search(sys.argv[2], sys.argv[3], int(sys.argv[4]), sys.argv[5], sys.argv[6])
