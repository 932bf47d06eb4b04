"""The servers of the update end-to-end test on https://localhost:PORT: a
test CA (kept with the Wine prefix, which cannot forget a trusted CA) and
a server certificate; nginx with the server kit's own site file from a
private configuration; a scripted TLS server for the replies nginx does not
give (a canned reply, a break half way, a slow send); a checked fetch.
"""
import http.client
import http.server
import json
import os
import shutil
import socket
import ssl
import subprocess
import threading
import time
import urllib.parse

TOP = os.path.realpath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
HOST = "localhost"


def _openssl(*args):
    subprocess.run(["openssl", *args], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def make_certificates(ca_folder, folder):
    """The test CA (ca.pem, ca.der, ca.key in `ca_folder`, made when missing
    or valid for less than two more days) and, in `folder`, a fresh server
    certificate server.pem + server.key for localhost (CN and SAN) signed by it."""
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
    _openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", path("server.key"), "-out", path("server.csr"),
             "-subj", "/CN=" + HOST)
    with open(path("server.ext"), "w") as f:
        f.write(f"subjectAltName=DNS:{HOST}\nbasicConstraints=CA:FALSE\n"
                "keyUsage=critical,digitalSignature,keyEncipherment\nextendedKeyUsage=serverAuth\n")
    _openssl("x509", "-req", "-in", path("server.csr"), "-CA", ca("ca.pem"), "-CAkey", ca("ca.key"),
             "-set_serial", str(int(time.time() * 1000)), "-days", "3", "-out", path("server.pem"),
             "-extfile", path("server.ext"))
    return {"ca.pem": ca("ca.pem"), "ca.der": ca("ca.der"), "server.pem": path("server.pem"),
            "server.key": path("server.key")}


def port_open(port):
    with socket.socket() as s:
        s.settimeout(0.5)
        return s.connect_ex(("127.0.0.1", port)) == 0


def wait_port(port, state, timeout=10):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if port_open(port) == state:
            return True
        time.sleep(0.05)
    return False


def fetch(port, path, ca_file, headers=None):
    """(status, body, headers) of one GET over HTTPS, the chain checked against the test CA."""
    context = ssl.create_default_context(cafile=ca_file)
    connection = http.client.HTTPSConnection(HOST, port, context=context, timeout=10)
    try:
        connection.request("GET", path, headers=headers or {})
        response = connection.getresponse()
        return response.status, response.read(), dict(response.getheaders())
    finally:
        connection.close()


class Nginx:
    """nginx with the server kit's site file, serving `root` (a copy of server/www)."""

    def __init__(self, work, port, certs):
        self.work = work
        self.port = port
        self.root = os.path.join(work, "www")
        self.data = os.path.join(self.root, "wolt", "data")
        self.access_log = os.path.join(work, "access.log")
        self.process = None
        shutil.rmtree(self.root, ignore_errors=True)
        shutil.copytree(os.path.join(TOP, "server", "www"), self.root)
        os.makedirs(self.data, exist_ok=True)
        site = subprocess.run(["bash", os.path.join(TOP, "server", "configure.sh"), "--host", HOST,
                               "--listen", f"127.0.0.1:{port}", "--cert", certs["server.pem"],
                               "--key", certs["server.key"], "--root", self.root],
                              check=True, capture_output=True, text=True).stdout
        with open(os.path.join(work, "wolt.conf"), "w") as f:
            f.write(site)
        temp = os.path.join(work, "temp")
        os.makedirs(temp, exist_ok=True)
        # As root the workers would switch to "nobody", who may not read the work folder.
        user = "user root;\n" if os.geteuid() == 0 else ""
        with open(os.path.join(work, "nginx.conf"), "w") as f:
            f.write(f"""{user}daemon off;
worker_processes 1;
pid {work}/nginx.pid;
error_log {work}/error.log info;
events {{ worker_connections 64; }}
http {{
    access_log {self.access_log};
    client_body_temp_path {temp}/body;
    proxy_temp_path {temp}/proxy;
    fastcgi_temp_path {temp}/fastcgi;
    uwsgi_temp_path {temp}/uwsgi;
    scgi_temp_path {temp}/scgi;
    include {work}/wolt.conf;
}}
""")

    def check_config(self):
        result = subprocess.run(["nginx", "-t", "-p", self.work, "-c", os.path.join(self.work, "nginx.conf"),
                                 "-e", os.path.join(self.work, "error.log")], capture_output=True, text=True)
        return result.returncode, result.stderr

    def start(self):
        """Starts nginx afresh (so the rate limit's counts start at zero)."""
        self.stop()
        if os.path.exists(self.access_log):
            os.remove(self.access_log)
        self.process = subprocess.Popen(["nginx", "-p", self.work, "-c", os.path.join(self.work, "nginx.conf"),
                                         "-e", os.path.join(self.work, "error.log")],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not wait_port(self.port, True):
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

    def requests(self, path_part="/wolt/data/"):
        """The access log lines of requests whose path contains `path_part`."""
        if not os.path.exists(self.access_log):
            return []
        with open(self.access_log, encoding="utf-8", errors="replace") as f:
            return [line for line in f if path_part in line]


class ScriptedServer:
    """A TLS server on 127.0.0.1:PORT that answers every request the same way.

    mode "reply": the status and body as given (with Content-Length);
    mode "halfway": announces the whole body, sends `cut` bytes, closes;
    mode "slow": announces the whole body and sends 16 bytes every `pause` s.
    Each request's first line and headers are kept in `requests`.
    """

    def __init__(self, port, certs, mode, status=200, body=b"", cut=0, pause=0.5):
        self.port, self.mode, self.status, self.body, self.cut, self.pause = port, mode, status, body, cut, pause
        self.requests, self.sent = [], 0
        self.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        self.context.load_cert_chain(certs["server.pem"], certs["server.key"])
        self.listener = socket.socket()
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind(("127.0.0.1", port))
        self.listener.listen(8)
        self.listener.settimeout(0.2)
        self.stopping = threading.Event()
        self.thread = threading.Thread(target=self._serve, daemon=True)
        self.thread.start()

    def _serve(self):
        while not self.stopping.is_set():
            try:
                raw, _ = self.listener.accept()
            except socket.timeout:
                continue
            except OSError:
                return
            threading.Thread(target=self._answer, args=(raw,), daemon=True).start()

    def _answer(self, raw):
        try:
            raw.settimeout(10)
            with self.context.wrap_socket(raw, server_side=True) as tls:
                request = b""
                while b"\r\n\r\n" not in request:
                    chunk = tls.recv(4096)
                    if not chunk:
                        return
                    request += chunk
                self.requests.append(request.split(b"\r\n\r\n")[0].decode("latin-1"))
                reason = {200: "OK", 500: "Internal Server Error"}.get(self.status, "Status")
                head = (f"HTTP/1.1 {self.status} {reason}\r\nContent-Type: application/octet-stream\r\n"
                        f"Content-Length: {len(self.body)}\r\nConnection: close\r\n\r\n").encode()
                if self.mode == "reply":
                    tls.sendall(head + self.body)
                elif self.mode == "halfway":
                    tls.sendall(head + self.body[:self.cut])
                    time.sleep(0.2)
                    raw.shutdown(socket.SHUT_RDWR)   # no TLS close: the connection just breaks
                    return
                elif self.mode == "slow":
                    tls.sendall(head)
                    for at in range(0, len(self.body), 16):
                        if self.stopping.is_set():
                            return
                        tls.sendall(self.body[at:at + 16])
                        self.sent += 16
                        time.sleep(self.pause)
                try:
                    tls.unwrap()
                except (OSError, ssl.SSLError):
                    pass
        except (OSError, ssl.SSLError):
            pass

    def stop(self):
        self.stopping.set()
        self.listener.close()
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
    `events_path` (JSON), appends each request's form to `forms_path` (JSON lines)."""
    with open(events_path, encoding="utf-8") as f:
        events = sorted(json.load(f), key=lambda e: e["ot"], reverse=True)   # the service's order, newest first
    forms = open(forms_path, "a", encoding="utf-8")

    class Handler(http.server.BaseHTTPRequestHandler):
        def do_POST(self):
            form = urllib.parse.parse_qs(self.rfile.read(int(self.headers["Content-Length"])).decode())
            forms.write(json.dumps(form) + "\n")
            forms.flush()
            a, b = (" ".join(form[k]).replace("-", "/") for k in ("dateTimeF[]", "dateTimeT[]"))
            res = [dict(e, id=e["ot"]) for e in events if a <= e["ot"][:16] <= b][:SearchService.LIMIT]
            body = json.dumps({"res": res}, ensure_ascii=False).encode()
            self.send_response(200)
            self.send_header("Content-Type", "application/json; charset=UTF-8")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def log_message(self, *args):
            pass

    certs = {"server.pem": cert, "server.key": key} if cert else None
    address = (HOST if certs else "127.0.0.1", port)
    http.server.ThreadingHTTPServer.request_queue_size = 64
    server = _TlsServer(address, Handler, certs) if certs else http.server.ThreadingHTTPServer(address, Handler)
    print(server.server_address[1], flush=True)
    server.serve_forever()


class SearchService:
    """The intensity database's search service: the real form fields, replies in
    the recorded shape for the events given (dicts with ot, name, lat, lon,
    latS, lonS, dep, mag, maxI), at most 1,000 of them, as the service cuts a
    reply. Plain HTTP on 127.0.0.1 (any free port), or HTTPS on localhost:`port`
    with the test certificates. It runs in a process of its own, so that the
    test's work never delays an answer; `forms` are the requests' forms."""

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
        self.skip = 0

    @property
    def forms(self):
        """The forms of the requests since the last clear()."""
        with open(self.forms_path, encoding="utf-8") as f:
            return [json.loads(line) for line in f][self.skip:]

    def clear(self):
        self.skip += len(self.forms)

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=10)
        shutil.rmtree(self.work, ignore_errors=True)


def felt_events(first_year, last_day, seed=1):
    """A deterministic felt record in the service's shape from 1 January of
    `first_year` to `last_day` (a datetime.date): a few earthquakes a week,
    one month (March 2011) far beyond what one reply holds, events without a
    magnitude (詳細不明), and a name the region table lacks."""
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



if __name__ == "__main__":
    import sys
    if len(sys.argv) == 7 and sys.argv[1] == "serve-search":
        _serve_search(sys.argv[2], sys.argv[3], int(sys.argv[4]), sys.argv[5], sys.argv[6])
