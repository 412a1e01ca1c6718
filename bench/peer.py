# SPDX-License-Identifier: MIT
"""A test peer that speaks the wire format from inside a host of the virtual LAN and watches
the receiving copy's chat log (the file system is shared across the hosts).

Run as `ip netns exec <host> python3 peer.py '<json>'`; prints one JSON object. Modes:
  latency   one chat packet at a time, time from the send to its line in the log
  hlthy     many liveness answers at once, each from another member address
  stream    chat packets at a given rate, then how many were shown, how often, how late
  hold      a socket that never reads, to see what the kernel charges per waiting datagram
"""

import json
import os
import random
import re
import socket
import struct
import sys
import time

BROADCAST_PORT = 9829
CRLF = b"\r\n"
_tags = iter(range(random.randrange(1 << 20, 1 << 30), 1 << 32))


def _text(value, width):
    data = value.encode("cp932")
    return data[:width].ljust(width, b"\0")


def _packet(code, address, body):
    return struct.pack("<I", next(_tags)) + code + _text(address, 16) + body + CRLF


def hello(address, handle):
    return _packet(b"0010", address, _text(handle, 50))


def chat(address, handle, text):
    return _packet(b"0040", address, bytes(16) + _text(handle, 50) + text.encode("cp932"))


def health_reply(address, target, handle):
    return _packet(b"0061", address, _text(target, 16) + _text(handle, 50))


def notice_logged_in(handle):
    return "*** <<%s>> がログインしました ***" % handle


def notice_is_logged_in(handle):
    return "*** <<%s>> がログインしています ***" % handle


class LogWatcher:
    """Follows a chat log by its size, polled every millisecond; remembers when each
    complete line was first seen (monotonic ns of the poll that found it)."""

    LINE = re.compile(rb"^\[[^\]]{24}\] (.*)$")

    def __init__(self, path):
        self.path = path
        self.offset = os.path.getsize(path) if os.path.exists(path) else 0
        self.partial = b""
        self.lines = []  # (time ns, text bytes)

    def poll(self):
        """Reads what was added; returns the lines completed by it."""
        now = time.monotonic_ns()
        try:
            size = os.stat(self.path).st_size
        except FileNotFoundError:
            return []
        if size <= self.offset:
            return []
        with open(self.path, "rb") as log:
            log.seek(self.offset)
            data = log.read(size - self.offset)
        self.offset += len(data)
        chunks = (self.partial + data).split(CRLF)
        self.partial = chunks.pop()
        added = []
        for chunk in chunks:
            match = self.LINE.match(chunk)
            if match:
                added.append((now, match.group(1)))
        self.lines.extend(added)
        return added

    def wait_for(self, text, timeout):
        wanted = text.encode("cp932")
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for stamp, line in self.poll():
                if line == wanted:
                    return stamp
            time.sleep(0.001)
        return None


def _socket(own):
    sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_SNDBUF, 1 << 20)
    sock.bind((own, 0))
    return sock


def announce(sock, args, watcher):
    """Makes the peer a member of the copy (CMD_HELLO), unless it already is."""
    if any(line == notice_logged_in(args["handle"]).encode("cp932") for _, line in watcher.lines):
        return True
    sock.sendto(hello(args["own"], args["handle"]), (args["broadcast"], BROADCAST_PORT))
    return watcher.wait_for(notice_logged_in(args["handle"]), 5.0) is not None


def run_latency(args):
    sock, watcher = _socket(args["own"]), LogWatcher(args["log"])
    watcher.offset = 0  # an earlier announcement counts
    watcher.poll()
    if not announce(sock, args, watcher):
        return {"error": "the copy did not take the peer as a member"}
    rng = random.Random(args.get("seed", 1))
    samples, lost = [], 0
    for i in range(args["count"]):
        text = "lat%04d-%06x" % (i, rng.randrange(1 << 24))
        wanted = ("%s > %s" % (args["handle"], text)).encode("cp932")
        watcher.poll()
        packet = chat(args["own"], args["handle"], text)
        sent = time.monotonic_ns()
        sock.sendto(packet, (args["broadcast"], BROADCAST_PORT))
        seen = None
        deadline = sent + 2_000_000_000
        while seen is None and time.monotonic_ns() < deadline:
            for stamp, line in watcher.poll():
                if line == wanted:
                    seen = stamp
            if seen is None:
                time.sleep(0.001)
        if seen is None:
            lost += 1
        else:
            samples.append((seen - sent) / 1e6)
        # A random pause, so that sends do not fall into step with anything in the copy.
        time.sleep(rng.uniform(0.0, 0.1))
    return {"latencies_ms": samples, "lost": lost}


def _follow(watcher, expected, last_send_ns, quiet_s, limit_s):
    """Polls until every expected line was seen (and a little longer, for repeats), or the
    log has been quiet for quiet_s, or limit_s has passed. expected: texts (bytes)."""
    wanted = set(expected)
    seen, first_seen = {}, {}
    last_growth = time.monotonic()
    stop_at = time.monotonic() + limit_s
    all_seen_at = None

    def take(lines):
        for stamp, line in lines:
            if line in wanted:
                seen[line] = seen.get(line, 0) + 1
                first_seen.setdefault(line, stamp)

    take(watcher.lines)
    while time.monotonic() < stop_at:
        lines = watcher.poll()
        if lines:
            last_growth = time.monotonic()
            take(lines)
        if all_seen_at is None and len(seen) == len(wanted):
            all_seen_at = time.monotonic()
        if all_seen_at is not None and time.monotonic() - all_seen_at > 0.3:
            break
        if time.monotonic() - last_growth > quiet_s:
            break
        time.sleep(0.001)
    shown = len(seen)
    last_line = expected[-1]
    return {
        "sent": len(expected),
        "shown": shown,
        "lost": len(wanted) - shown,
        "shown_twice": sum(1 for count in seen.values() if count > 1),
        "last_sent_shown_after_ms": (first_seen[last_line] - last_send_ns) / 1e6 if last_line in first_seen else None,
        "all_shown_after_ms": (max(first_seen.values()) - last_send_ns) / 1e6 if shown == len(wanted) else None,
        "first_seen_ns": sorted(first_seen.values()),
    }


def run_hlthy(args):
    sock, watcher = _socket(args["own"]), LogWatcher(args["log"])
    packets, expected = [], []
    for i in range(args["count"]):
        member = "%s%d" % (args["member_prefix"], i + 1)
        handle = "%s%03d" % (args["handle_prefix"], i + 1)
        packets.append(health_reply(member, args["target"], handle))
        expected.append(notice_is_logged_in(handle).encode("cp932"))
    first = time.monotonic_ns()
    for packet in packets:
        sock.sendto(packet, (args["broadcast"], BROADCAST_PORT))
    last = time.monotonic_ns()
    result = _follow(watcher, expected, last, quiet_s=1.0, limit_s=10.0)
    result["send_span_ms"] = (last - first) / 1e6
    del result["first_seen_ns"]
    return result


def run_stream(args):
    sock, watcher = _socket(args["own"]), LogWatcher(args["log"])
    watcher.offset = 0
    watcher.poll()
    if not announce(sock, args, watcher):
        return {"error": "the copy did not take the peer as a member"}
    count, rate = args["count"], args["rate"]
    texts = ["%s%06d" % (args["prefix"], i) for i in range(count)]
    packets = [chat(args["own"], args["handle"], text) for text in texts]
    expected = [("%s > %s" % (args["handle"], text)).encode("cp932") for text in texts]
    destination = (args["broadcast"], BROADCAST_PORT)
    watcher.poll()
    watcher.lines = []
    start = time.monotonic_ns()
    sent = 0
    # Every packet goes out at its slot start + i / rate; between slots the peer sleeps.
    while sent < count:
        due = min(count, int((time.monotonic_ns() - start) * rate / 1e9) + 1)
        while sent < due:
            sock.sendto(packets[sent], destination)
            sent += 1
        if sent < count:
            watcher.poll()
            time.sleep(0.0003)
    last = time.monotonic_ns()
    result = _follow(watcher, expected, last, quiet_s=1.5, limit_s=args.get("limit_s", 30.0))
    result["send_span_ms"] = (last - start) / 1e6
    result["offered_rate"] = count / ((last - start) / 1e9) if last > start else None
    stamps = result.pop("first_seen_ns")
    # Shown per second once the copy is saturated: the middle half of what was shown.
    if len(stamps) > 200:
        lo, hi = len(stamps) // 4, 3 * len(stamps) // 4
        span = (stamps[hi] - stamps[lo]) / 1e9
        result["shown_rate_mid"] = (hi - lo) / span if span > 0 else None
    return result


def run_hold(args):
    """Binds a socket like the copy's (8 MiB asked), lets the peer fill it, reports the charge."""
    sock = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    sock.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 8 << 20)
    sock.bind(("0.0.0.0", args["port"]))
    effective = sock.getsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF)
    print(json.dumps({"ready": True, "rcvbuf": effective}), flush=True)
    sys.stdin.readline()  # the peer has sent its datagrams
    port_hex = "%04X" % args["port"]
    queued = None
    with open("/proc/net/udp") as table:
        for row in table.readlines()[1:]:
            fields = row.split()
            if fields[1].endswith(":" + port_hex):
                queued = int(fields[4].split(":")[1], 16)
    waiting = 0
    sock.setblocking(False)
    try:
        while True:
            sock.recv(2048)
            waiting += 1
    except BlockingIOError:
        pass
    return {"rcvbuf": effective, "rx_queue_bytes": queued, "datagrams": waiting,
            "rmem_max": int(open("/proc/sys/net/core/rmem_max").read())}


def run_send(args):
    """count chat-sized datagrams to a port, as fast as possible."""
    sock = _socket(args["own"])
    for i in range(args["count"]):
        sock.sendto(chat(args["own"], "x", "x" * args["text_bytes"]), (args["broadcast"], args["port"]))
    return {"sent": args["count"]}


MODES = {"latency": run_latency, "hlthy": run_hlthy, "stream": run_stream, "hold": run_hold,
         "send": run_send}

if __name__ == "__main__":
    arguments = json.loads(sys.argv[1])
    print(json.dumps(MODES[arguments["mode"]](arguments)), flush=True)
