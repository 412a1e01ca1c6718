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

ROOT = Path(__file__).resolve().parents[2]
PROGRAM = Path(os.environ.get("KORVANE_BINARY", ROOT / "build" / "korvane"))
SKIP = 77  # ctest's SKIP_RETURN_CODE for this suite


def run(*args, check=True, **kwargs):
    return subprocess.run(args, check=check, capture_output=True, text=True, **kwargs)


def _die_with_us():
    # The kernel kills the child when the test process dies, even by SIGKILL.
    ctypes.CDLL(None, use_errno=True).prctl(1, signal.SIGKILL)  # PR_SET_PDEATHSIG


def spawn(args, **kwargs):
    return subprocess.Popen(args, preexec_fn=_die_with_us, **kwargs)


def wait_for(condition, timeout=10.0, what="condition"):
    """condition()'s first true value, polled until timeout seconds have passed."""
    deadline = time.monotonic() + timeout
    while not (result := condition()):
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(0.05)
    return result


def remove_orphans():
    """Removes what labs of test processes that no longer run left behind (a test killed by
    a time-out cannot clean up after itself). Everything a lab makes is named kv<pid>-..."""
    def dead(name):
        match = re.match(r"kv(\d+)-[0-9a-f]{4}", name)
        return bool(match) and not Path(f"/proc/{match.group(1)}").exists()

    for name in (line.split(" ")[0] for line in run("ip", "netns", "list").stdout.splitlines()):
        if dead(name):
            run("kill", "-9", *run("ip", "netns", "pids", name, check=False).stdout.split(), check=False)
            run("ip", "netns", "del", name, check=False)
            shutil.rmtree(Path("/etc/netns") / name, ignore_errors=True)
    for folder in Path(tempfile.gettempdir()).glob("kv*-*"):
        if dead(folder.name):
            shutil.rmtree(folder, ignore_errors=True)


def can_make_hosts():
    """Why this machine cannot make test hosts, or None when it can."""
    if os.geteuid() != 0:
        return "needs root (network namespaces)"
    for tool in ("ip", "Xvfb", "xdotool"):
        if shutil.which(tool) is None:
            return f"needs {tool}"
    if not PROGRAM.is_file():
        return f"no program at {PROGRAM}"
    probe = "kvprobe" + uuid.uuid4().hex[:6]
    if run("ip", "netns", "add", probe, check=False).returncode != 0:
        return "cannot create network namespaces here"
    run("ip", "netns", "del", probe, check=False)
    return None


class Copy:
    """One running copy of the program on a host, driven through its window."""

    # Where the controls are, in client pixels (template 102 at base units 7 x 13).
    CLIENT_HEIGHT = 297
    HANDLE_INPUT, MESSAGE_INPUT = (40, 239), (300, 256)
    MEMBER_ROW_X, MEMBER_FIRST_ROW_Y, MEMBER_ROW_HEIGHT = 50, 52, 13

    def __init__(self, host, process):
        self.host, self.lab, self.process, self._window = host, host.lab, process, None

    @property
    def pid(self):
        return self.process.pid

    def alive(self):
        return self.process.poll() is None

    def windows(self):
        """Every visible top-level window of this copy (the main window, message boxes)."""
        return self.lab.xdotool("search", "--all", "--onlyvisible", "--pid", str(self.pid),
                                check=False).stdout.split()

    def window(self):
        if self._window is None:
            self._window = wait_for(lambda: self.lab.xdotool(
                "search", "--all", "--onlyvisible", "--pid", str(self.pid), "--name", "^Korvane$",
                check=False).stdout.split(), what=f"the window of {self.host.name}")[0]
            self.lab.place(self._window)
        return self._window

    def message_boxes(self):
        return [w for w in self.windows() if w != self.window()]

    def click(self, x, y, *modifiers):
        """Clicks at (x, y) of the client area, below the menu bar, with modifier keys held."""
        window = self.window()
        height = self.lab.xdotool("getwindowgeometry", "--shell", window).stdout.split("HEIGHT=")[1]
        self.lab.xdotool("windowraise", window)
        self.lab.xdotool("windowfocus", "--sync", window)
        for key in modifiers:
            self.lab.xdotool("keydown", key)
        self.lab.xdotool("mousemove", "--window", window, str(x),
                         str(y + int(height.split()[0]) - self.CLIENT_HEIGHT), "click", "1")
        for key in modifiers:
            self.lab.xdotool("keyup", key)

    def type_into(self, place, text):
        self.click(*place)
        # Characters outside the keyboard map are lost when typed quickly.
        delay = "150" if any(ord(c) > 127 for c in text) else "20"
        self.lab.xdotool("type", "--delay", delay, "--window", self.window(), text)
        self.lab.xdotool("key", "--window", self.window(), "Return")

    def log_in(self, handle):
        self.type_into(self.HANDLE_INPUT, handle)

    def say(self, text):
        self.type_into(self.MESSAGE_INPUT, text)

    def select_member(self, row, add=False):
        self.click(self.MEMBER_ROW_X, self.MEMBER_FIRST_ROW_Y + row * self.MEMBER_ROW_HEIGHT,
                   *(["ctrl"] if add else []))


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
        self.copies.append(Copy(self, process))
        return self.copies[-1]

    def log_lines(self):
        """The chat log as (stamp, text) pairs, texts decoded from code page 932."""
        path = self.workdir / "chat.log"
        raw_lines = path.read_bytes().split(b"\r\n") if path.exists() else []
        return [(raw[1:25].decode("ascii", "replace"), raw[27:].decode("cp932", "replace"))
                for raw in raw_lines if len(raw) >= 27]

    def log_texts(self):
        return [text for _, text in self.log_lines()]

    def count_in_log(self, text):
        return self.log_texts().count(text)

    def wait_for_log(self, text, timeout=10.0, count=1):
        wait_for(lambda: self.count_in_log(text) >= count, timeout, f"{text!r} in the log of {self.name}")


class Lab:
    """Make it with `with Lab() as lab:`; close() removes everything."""

    def __init__(self):
        # Xvfb picks a free display itself, so labs running side by side never share one.
        reader, writer = os.pipe()
        self.xvfb = spawn(["Xvfb", "-displayfd", str(writer), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(writer,))
        os.close(writer)
        with os.fdopen(reader) as announced:
            self.xvfb.display = ":" + announced.readline().strip()
        self.prefix = f"kv{os.getpid()}-{uuid.uuid4().hex[:4]}-"
        self.folder = Path(tempfile.gettempdir()) / self.prefix.rstrip("-")
        self.folder.mkdir()
        self.hosts, self.bridges, self.namespaces = {}, [], []
        self.closed, self.summary, self.windows_placed = False, "", 0

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def place(self, window):
        # Without a window manager every window opens in the middle, covering the others.
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
        run("ip", "netns", "exec", netns, "ip", "link", "add", "br0", "type", "bridge")
        run("ip", "netns", "exec", netns, "ip", "link", "set", "br0", "up")
        self.bridges.append(name)
        return netns

    def _plug(self, netns, bridge, address, interface):
        """A veth pair from netns's interface to a port of bridge, which is made if new."""
        if bridge not in self.bridges:
            self.add_bridge(bridge)
        port = f"p{uuid.uuid4().hex[:8]}"
        in_bridge = ("ip", "netns", "exec", f"{self.prefix}{bridge}", "ip", "link", "set", port)
        in_host = ("ip", "netns", "exec", netns, "ip")
        run("ip", "link", "add", port, "type", "veth", "peer", "name", interface, "netns", netns)
        run("ip", "link", "set", port, "netns", f"{self.prefix}{bridge}")
        run(*in_bridge, "master", "br0")
        run(*in_bridge, "up")
        run(*in_host, "addr", "add", f"{address}/24", "brd", "+", "dev", interface)
        run(*in_host, "link", "set", interface, "up")

    def add_host(self, name, address, bridge="lan", gateway=None):
        host = Host(self, name, address, bridge)
        self._netns(host.netns)
        self._plug(host.netns, bridge, address, "eth0")
        if gateway:
            host.exec("ip", "route", "add", "default", "via", gateway)
        # The program finds its own address through the host name.
        hosts_dir = Path("/etc/netns") / host.netns
        hosts_dir.mkdir(parents=True, exist_ok=True)
        (hosts_dir / "hosts").write_text(f"127.0.0.1 localhost\n{address} {socket.gethostname()}\n")
        self.hosts[name] = host
        return host

    def add_router(self, name, legs):
        """A host that forwards between bridges; legs: (bridge, address) pairs."""
        netns = f"{self.prefix}{name}"
        self._netns(netns)
        for index, (bridge, address) in enumerate(legs):
            self._plug(netns, bridge, address, f"eth{index}")
        run("ip", "netns", "exec", netns, "sysctl", "-qw", "net.ipv4.ip_forward=1")
        return netns

    def describe(self):
        """Each host's log and its copies' error output."""
        parts = []
        for host in self.hosts.values():
            parts.append(f"--- {host.name} {host.address}: log")
            parts += [f"  [{stamp}] {text}" for stamp, text in host.log_lines()]
            errors = host.workdir / "stderr.txt"
            if errors.exists() and errors.stat().st_size:
                parts += [f"--- {host.name}: stderr", errors.read_text(errors="replace")[-3000:]]
        return "\n".join(parts)

    def close(self):
        """Safe to call twice and after a partial set-up; keeps describe()'s text in summary."""
        if self.closed:
            return
        self.closed = True
        for copy in (copy for host in self.hosts.values() for copy in host.copies):
            copy.process.kill()
            copy.process.wait()
        try:
            self.summary = self.describe()
        except Exception as error:  # diagnostics must never keep the lab from going away
            self.summary = f"(no summary: {error})"
        for name in reversed(self.namespaces):
            run("ip", "netns", "del", name, check=False)
            shutil.rmtree(Path("/etc/netns") / name, ignore_errors=True)
        self.xvfb.kill()
        self.xvfb.wait()
        shutil.rmtree(self.folder, ignore_errors=True)
