#!/usr/bin/env python3
"""The whole record's backfill as the program and wolt-feed do it, timed:
a catalogue of the felt record's size (make-sample, 1970-2024, 110,299
records by default) exported in the database's CSV shape, served by the
local stand-in of the search service, fetched by the native wolt-feed at
delay 0. Prints requests, events, seconds.
Usage: python3 bench/backfill.py [BUILD_DIR] [--records N]"""
import argparse
import csv
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

TOP = os.path.realpath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(TOP, "tests", "e2e", "update"))
import servers  # noqa: E402


def decimal(text):
    """37°29.7′N -> 37.50 (the reply's rounded decimal)."""
    degrees, rest = text.split("°")
    return f"{int(degrees) + float(rest.rstrip('′NE')) / 60:.2f}"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", nargs="?", default=os.path.join(TOP, "build", "native"))
    parser.add_argument("--records", type=int, default=110299)
    args = parser.parse_args()
    work = tempfile.mkdtemp(prefix="wolt-backfill-")
    try:
        subprocess.run([os.path.join(args.build, "make-sample"), "--out", os.path.join(work, "sample"), "--seed", "1",
                        "--end", "2024-12-31", "--records", str(args.records)], check=True, capture_output=True)
        exported = subprocess.run([os.path.join(args.build, "export-csv"), "--data", os.path.join(work, "sample")],
                                  check=True, capture_output=True, text=True).stdout.splitlines()
        events = [dict(ot=f"{r[0]} {r[1]}:00.0", name=r[2], lat=decimal(r[3]), lon=decimal(r[4]), latS=r[3],
                       lonS=r[4], dep=r[5], mag=r[6], maxI="震度" + r[7])
                  for r in csv.reader(exported[1:]) if "不明" not in r[3] + r[4]]
        service = servers.SearchService(events)
        try:
            started = time.monotonic()
            feed = subprocess.run([os.path.join(args.build, "wolt-feed"), "--out", os.path.join(work, "fed"),
                                   "--endpoint", service.url, "--delay", "0", "--to", "2024-12-31"],
                                  capture_output=True, text=True)
            seconds = time.monotonic() - started
            requests = len(service.forms)
        finally:
            service.stop()
        if feed.returncode != 0:
            sys.exit(f"wolt-feed failed: {feed.stderr[-500:]}")
        print(f"backfill 1970-2024: {len(events)} events served, {requests} requests, {seconds:.1f} s "
              f"({seconds / requests * 1000:.1f} ms a request); {feed.stderr.splitlines()[-1][:200]}")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
