"""A virtual LAN on this machine: hosts are network namespaces joined by veth pairs on
bridges (each bridge in a namespace of its own), addresses from 198.18.0.0/15, one Xvfb
display for every copy's window. Nothing reaches the machine's own interfaces. Everything
made here is removed again by Lab.close(), also when a test fails."""

import ctypes
import os
import re
import shutil
import signal
import socket
import subprocess
import tempfile
import time
import uuid
from pathlib import Path

from xwindow import XConnection

ROOT = Path(__file__).resolve().parents[2]
PROGRAM = Path(os.environ.get("KORVANE_BINARY", ROOT / "build" / "korvane"))
SKIP = 77  # ctest's SKIP_RETURN_CODE for this suite


def run(*args, check=True, **kwargs):
    return subprocess.run(args, check=check, capture_output=True, text=True, **kwargs)


def _die_with_us():
    """Child set-up: the kernel kills the child when the test process dies, even by SIGKILL."""
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def spawn(args, **kwargs):
    return subprocess.Popen(args, preexec_fn=_die_with_us, **kwargs)


# Everything a lab makes is named after it: "kv<pid of the test>-<4 hex>".
_LAB_NAME = re.compile(r"^kv(\d+)-[0-9a-f]{4}")


def remove_orphans():
    """Removes what labs of test processes that no longer run left behind (a test killed
    by a time-out cannot clean up after itself)."""
    def dead(name):
        match = _LAB_NAME.match(name)
        if not match:
            return False
        try:
            os.kill(int(match.group(1)), 0)
        except ProcessLookupError:
            return True
        except PermissionError:
            pass
        return False

    for line in run("ip", "netns", "list", check=False).stdout.splitlines():
        name = line.split(" ")[0]
        if dead(name):
            for pid in run("ip", "netns", "pids", name, check=False).stdout.split():
                try:
                    os.kill(int(pid), signal.SIGKILL)
                except ProcessLookupError:
                    pass
            run("ip", "netns", "del", name, check=False)
            shutil.rmtree(Path("/etc/netns") / name, ignore_errors=True)
    for folder in Path(tempfile.gettempdir()).glob("kv*-*"):
        if folder.is_dir() and dead(folder.name):
            shutil.rmtree(folder, ignore_errors=True)


def can_make_hosts():
    """Why this machine cannot make test hosts, or None when it can."""
    if os.geteuid() != 0:
        return "needs root (network namespaces)"
    for tool, package in (("ip", "iproute2"), ("Xvfb", "xvfb"), ("xdotool", "xdotool"),
                          ("tcpdump", "tcpdump")):
        if shutil.which(tool) is None:
            return f"needs {tool} ({package})"
    if not PROGRAM.is_file():
        return f"no program at {PROGRAM}"
    probe = "kvprobe" + uuid.uuid4().hex[:6]
    if run("ip", "netns", "add", probe, check=False).returncode != 0:
        return "cannot create network namespaces here"
    run("ip", "netns", "del", probe, check=False)
    return None


def wait_for(condition, timeout=10.0, interval=0.05, what="condition"):
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


class Xvfb:
    def __init__(self):
        # The server picks a free display itself, so labs running side by side never share one.
        reader, writer = os.pipe()
        self.process = spawn(
            ["Xvfb", "-displayfd", str(writer), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(writer,))
        os.close(writer)
        with os.fdopen(reader) as announced:
            number = announced.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = f":{number}"

    def close(self):
        self.process.terminate()
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()


class Copy:
    """One running copy of the program on a host."""

    def __init__(self, host, process):
        self.host = host
        self.process = process
        self._window = None

    @property
    def pid(self):
        return self.process.pid

    def window(self):
        if self._window is None:
            def find():
                out = self.host.lab.xdotool("search", "--all", "--onlyvisible", "--pid", str(self.pid),
                                            "--name", "^Korvane$", check=False).stdout.split()
                return out[0] if out else None
            self._window = wait_for(find, timeout=10, what=f"the window of {self.host.name}")
            self.host.lab.place(self._window)
        return self._window

    def windows(self):
        """Every visible top-level window of this copy (the main window, message boxes)."""
        return self.host.lab.xdotool("search", "--all", "--onlyvisible", "--pid", str(self.pid),
                                     check=False).stdout.split()

    def message_boxes(self):
        return [w for w in self.windows() if w != self.window()]

    def click(self, x, y, *modifiers):
        """Clicks at (x, y) in the window's client area, with modifier keys held."""
        lab, window = self.host.lab, self.window()
        lab.xdotool("windowraise", window)  # above a message box that may overlap it
        lab.xdotool("windowfocus", "--sync", window)
        for key in modifiers:
            lab.xdotool("keydown", key)
        lab.xdotool("mousemove", "--window", window, str(x), str(y + self.client_top()), "click", "1")
        for key in modifiers:
            lab.xdotool("keyup", key)

    def type_into(self, x, y, text, enter=True):
        """Focuses the control at (x, y) with a click and types text like a person."""
        self.click(x, y)
        if text:
            # Characters outside the keyboard map are lost when typed quickly.
            delay = "120" if any(ord(c) > 127 for c in text) else "20"
            self.host.lab.xdotool("type", "--delay", delay, "--window", self.window(), text)
        if enter:
            self.host.lab.xdotool("key", "--window", self.window(), "Return")

    def client_top(self):
        """Where the template's client area starts in the window: below the menu bar."""
        height = int(self.host.lab.xdotool("getwindowgeometry", "--shell", self.window()).stdout
                     .split("HEIGHT=")[1].split()[0])
        return height - self.CLIENT_HEIGHT

    # Where the controls are, in client pixels (template 102 at base units 7 x 13).
    CLIENT_HEIGHT = 297
    HANDLE_INPUT = (40, 239)
    MESSAGE_INPUT = (300, 256)
    MEMBER_ROW_X = 50
    MEMBER_FIRST_ROW_Y = 52
    MEMBER_ROW_HEIGHT = 13
    MEMBER_ROWS_LEFT, MEMBER_ROWS_RIGHT, MEMBER_ROWS_BOTTOM = 20, 118, 172  # inside the frame, above the scroll bar

    def log_in(self, handle):
        self.type_into(*self.HANDLE_INPUT, handle)

    def say(self, text):
        self.type_into(*self.MESSAGE_INPUT, text)

    def listed_members(self):
        """How many rows the member list shows, read off the screen: rows holding dark text
        (so not a selected row), counted from the first."""
        _, _, pixels = self.window_image(self.window())
        offset = self.client_top()
        top, count = offset + self.MEMBER_FIRST_ROW_Y - self.MEMBER_ROW_HEIGHT // 2 - 1, 0
        while top + self.MEMBER_ROW_HEIGHT <= offset + self.MEMBER_ROWS_BOTTOM and any(
                sum(pixel) < 300 for line in pixels[top:top + self.MEMBER_ROW_HEIGHT]
                for pixel in line[self.MEMBER_ROWS_LEFT:self.MEMBER_ROWS_RIGHT]):
            top, count = top + self.MEMBER_ROW_HEIGHT, count + 1
        return count

    def select_member(self, row, add=False):
        y = self.MEMBER_FIRST_ROW_Y + row * self.MEMBER_ROW_HEIGHT
        self.click(self.MEMBER_ROW_X, y, *(["ctrl"] if add else []))

    def close_window(self):
        """As the close box of a window manager does it."""
        with XConnection(self.host.lab.xvfb.display) as x:
            x.close_window(int(self.window()))

    def window_image(self, window):
        with XConnection(self.host.lab.xvfb.display) as x:
            return x.image(int(window))

    def alive(self):
        return self.process.poll() is None


class Host:
    def __init__(self, lab, name, address, bridge):
        self.lab, self.name, self.address, self.bridge = lab, name, address, bridge
        self.netns = f"{lab.prefix}{name}"
        self.workdir = lab.folder / name
        self.workdir.mkdir(mode=0o700)  # also the runtime folder, which Qt wants private
        self.copies = []

    def exec(self, *args, check=True):
        return run("ip", "netns", "exec", self.netns, *args, check=check)

    def write_settings(self, record):
        (self.workdir / "TOOLBOX").write_bytes(record)

    def start(self):
        environment = dict(os.environ, DISPLAY=self.lab.xvfb.display, QT_QPA_PLATFORM="xcb",
                           XDG_RUNTIME_DIR=str(self.workdir))
        # stderr goes to a file: a pipe nobody reads would stall a long-running copy.
        with open(self.workdir / "stderr.txt", "ab") as stderr:
            process = spawn(["ip", "netns", "exec", self.netns, str(PROGRAM)], cwd=self.workdir,
                            env=environment, stdout=subprocess.DEVNULL, stderr=stderr)
        copy = Copy(self, process)
        self.copies.append(copy)
        return copy

    def log_lines(self, name="chat.log"):
        """The chat log as (stamp, text) pairs, texts decoded from code page 932."""
        path = self.workdir / name
        if not path.exists():
            return []
        lines = []
        for raw in path.read_bytes().split(b"\r\n"):
            if len(raw) >= 27:
                lines.append((raw[1:25].decode("ascii", "replace"), raw[27:].decode("cp932", "replace")))
        return lines

    def log_texts(self):
        return [text for _, text in self.log_lines()]

    def count_in_log(self, text):
        return self.log_texts().count(text)

    def wait_for_log(self, text, timeout=10.0, count=1):
        wait_for(lambda: self.count_in_log(text) >= count, timeout=timeout,
                 what=f"{text!r} in the log of {self.name}")


class Lab:
    """Make it with `with Lab() as lab:`; close() removes everything."""

    def __init__(self):
        self.xvfb = Xvfb()
        self.prefix = f"kv{os.getpid()}-{uuid.uuid4().hex[:4]}-"
        self.folder = Path(tempfile.gettempdir()) / self.prefix.rstrip("-")
        self.folder.mkdir()
        self.hosts = {}
        self.bridges = []
        self.namespaces = []
        self.captures = []
        self.closed = False
        self.summary = ""
        self.windows_placed = 0
        self.hostname = socket.gethostname()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def place(self, window):
        """Moves a main window to a place of its own, so that windows do not cover each other
        (without a window manager they all open in the middle of the screen)."""
        x, y = (self.windows_placed % 2) * 640, (self.windows_placed // 2 % 3) * 340
        self.windows_placed += 1
        self.xdotool("windowmove", window, str(x), str(y))

    def xdotool(self, *args, check=True):
        return run("xdotool", *args, check=check, env=dict(os.environ, DISPLAY=self.xvfb.display))

    def _netns(self, name):
        run("ip", "netns", "add", name)
        self.namespaces.append(name)
        run("ip", "netns", "exec", name, "ip", "link", "set", "lo", "up")

    def add_bridge(self, name="lan"):
        netns = f"{self.prefix}{name}"
        self._netns(netns)
        # No learning: every frame is flooded, so a capture on the bridge sees unicast too.
        run("ip", "netns", "exec", netns, "ip", "link", "add", "br0", "type", "bridge", "ageing_time", "0")
        run("ip", "netns", "exec", netns, "ip", "link", "set", "br0", "up")
        self.bridges.append(name)
        return netns

    def _plug(self, netns, bridge, address, prefix_length, interface):
        """A veth pair from netns's interface to a port of bridge."""
        bridge_netns = f"{self.prefix}{bridge}"
        port = f"p{uuid.uuid4().hex[:8]}"
        run("ip", "link", "add", port, "type", "veth", "peer", "name", interface, "netns", netns)
        run("ip", "link", "set", port, "netns", bridge_netns)
        run("ip", "netns", "exec", bridge_netns, "ip", "link", "set", port, "master", "br0")
        run("ip", "netns", "exec", bridge_netns, "ip", "link", "set", port, "up")
        run("ip", "netns", "exec", netns, "ip", "addr", "add", f"{address}/{prefix_length}", "brd", "+",
            "dev", interface)
        run("ip", "netns", "exec", netns, "ip", "link", "set", interface, "up")

    def add_host(self, name, address, bridge="lan", gateway=None):
        if bridge not in self.bridges:
            self.add_bridge(bridge)
        host = Host(self, name, address, bridge)
        self._netns(host.netns)
        self._plug(host.netns, bridge, address, 24, "eth0")
        if gateway:
            host.exec("ip", "route", "add", "default", "via", gateway)
        # The program finds its own address through the host name.
        hosts_dir = Path("/etc/netns") / host.netns
        hosts_dir.mkdir(parents=True, exist_ok=True)
        (hosts_dir / "hosts").write_text(f"127.0.0.1 localhost\n{address} {self.hostname}\n")
        self.hosts[name] = host
        return host

    def add_router(self, name, legs):
        """A host that forwards between bridges; legs: (bridge, address) pairs."""
        netns = f"{self.prefix}{name}"
        self._netns(netns)
        for index, (bridge, address) in enumerate(legs):
            if bridge not in self.bridges:
                self.add_bridge(bridge)
            self._plug(netns, bridge, address, 24, f"eth{index}")
        run("ip", "netns", "exec", netns, "sysctl", "-qw", "net.ipv4.ip_forward=1")
        return netns

    def capture(self, bridge="lan"):
        if bridge not in self.bridges:
            self.add_bridge(bridge)
        capture = Capture(f"{self.prefix}{bridge}", self.folder / f"{bridge}-{len(self.captures)}.pcap")
        self.captures.append(capture)
        return capture

    def describe(self):
        """Each host's log and the copies' error output, and the packets on each bridge."""
        parts = []
        for host in self.hosts.values():
            parts.append(f"--- {host.name} {host.address}: log")
            parts += [f"  [{stamp}] {text}" for stamp, text in host.log_lines()]
            errors = host.workdir / "stderr.txt"
            if errors.exists() and errors.stat().st_size:
                parts.append(f"--- {host.name}: stderr")
                parts.append(errors.read_text(errors="replace")[-3000:])
        for capture in self.captures:
            parts.append(f"--- wire {capture.bridge_netns}")
            parts += [f"  {stamp:.3f} {source} > {destination}:{port} {payload[4:8].decode('ascii', 'replace')}"
                      f" {payload[8:24].rstrip(bytes(1)).decode('ascii', 'replace')}"
                      for stamp, source, destination, port, payload in capture.datagrams()]
        return "\n".join(parts)

    def close(self):
        """Safe to call twice and after a partial set-up; keeps describe()'s text in summary."""
        if self.closed:
            return
        self.closed = True
        for host in self.hosts.values():
            for copy in host.copies:
                if copy.alive():
                    copy.process.kill()
                    copy.process.wait()
        for capture in self.captures:
            capture.stop()
        try:
            self.summary = self.describe()
        except Exception as error:  # diagnostics must never keep the lab from going away
            self.summary = f"(no summary: {error})"
        for name in reversed(self.namespaces):
            run("ip", "netns", "del", name, check=False)
        for host in self.hosts.values():
            shutil.rmtree(Path("/etc/netns") / host.netns, ignore_errors=True)
        self.xvfb.close()
        shutil.rmtree(self.folder, ignore_errors=True)


class Capture:
    """Every UDP datagram on a bridge, as tcpdump saw it."""

    def __init__(self, bridge_netns, path):
        self.bridge_netns, self.path = bridge_netns, path
        # -Z root: tcpdump keeps its credentials, and with them the signal that ends it with us.
        self.process = spawn(
            ["ip", "netns", "exec", bridge_netns, "tcpdump", "-Z", "root", "--immediate-mode", "-i", "br0",
             "-U", "-n", "-s", "0", "-w", str(self.path), "udp"], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        # tcpdump says "listening on" once it captures.
        self.process.stderr.readline()

    def datagrams(self):
        """(time, source, destination, destination port, payload) of every datagram so far."""
        from pcap import read_udp
        return read_udp(self.path) if self.path.exists() else []

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait()
