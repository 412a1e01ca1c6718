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

    for name in filter(dead, run("ip", "netns", "list").stdout.split()):
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
        self.host, self.lab, self.process, self.pid, self._window = host, host.lab, process, process.pid, None

    def alive(self):
        return self.process.poll() is None

    def window(self):
        if self._window is None:
            self._window = wait_for(lambda: self.lab.xdotool(
                "search", "--all", "--onlyvisible", "--pid", str(self.pid), "--name", "^Korvane$",
                check=False).stdout.split(), what=f"the window of {self.host.name}")[0]
            # Without a window manager every window opens in the middle, covering the others.
            placed, self.lab.windows_placed = self.lab.windows_placed, self.lab.windows_placed + 1
            self.lab.xdotool("windowmove", self._window, str(placed % 2 * 640), str(placed // 2 % 3 * 340))
        return self._window

    def message_boxes(self):
        """The copy's visible top-level windows besides its main window."""
        return [w for w in self.lab.xdotool("search", "--all", "--onlyvisible", "--pid", str(self.pid),
                                            check=False).stdout.split() if w != self.window()]

    def click(self, x, y, ctrl=False):
        """Clicks at (x, y) of the client area, which starts below the menu bar."""
        window = self.window()
        height = int(self.lab.xdotool("getwindowgeometry", "--shell", window).stdout.split("HEIGHT=")[1].split()[0])
        down, up = (["keydown", "ctrl"], ["keyup", "ctrl"]) if ctrl else ([], [])
        self.lab.xdotool("windowfocus", "--sync", window, *down, "mousemove", "--window", window, str(x),
                         str(y + height - self.CLIENT_HEIGHT), "click", "1", *up)

    def say(self, text, place=MESSAGE_INPUT):
        self.click(*place)
        # Characters outside the keyboard map are lost when typed quickly.
        delay = "150" if any(ord(c) > 127 for c in text) else "20"
        self.lab.xdotool("type", "--delay", delay, "--window", self.window(), text)
        self.lab.xdotool("key", "--window", self.window(), "Return")

    def log_in(self, handle):
        self.say(handle, self.HANDLE_INPUT)

    def select_member(self, row, add=False):
        self.click(self.MEMBER_ROW_X, self.MEMBER_FIRST_ROW_Y + row * self.MEMBER_ROW_HEIGHT, ctrl=add)


class Host:
    def __init__(self, lab, name, address):
        self.lab, self.name, self.address = lab, name, address
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

    def log_texts(self):
        """The chat log's texts without their stamps, decoded from code page 932."""
        path = self.workdir / "chat.log"
        lines = path.read_bytes().decode("cp932", "replace").split("\r\n") if path.exists() else []
        return [line[27:] for line in lines if len(line) >= 27]

    def wait_for_log(self, text, timeout=10.0, count=1):
        wait_for(lambda: self.log_texts().count(text) >= count, timeout, f"{text!r} in the log of {self.name}")


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

    def xdotool(self, *args, check=True):
        return run("xdotool", *args, check=check, env=dict(os.environ, DISPLAY=self.xvfb.display))

    def _netns(self, name):
        run("ip", "netns", "add", name)
        self.namespaces.append(name)
        run("ip", "-n", name, "link", "set", "lo", "up")

    def add_bridge(self, name="lan"):
        self._netns(self.prefix + name)
        run("ip", "-n", self.prefix + name, "link", "add", "br0", "up", "type", "bridge")
        self.bridges.append(name)

    def _plug(self, netns, bridge, address, interface):
        """A veth pair from netns's interface to a port of bridge, which is made if new."""
        if bridge not in self.bridges:
            self.add_bridge(bridge)
        port = f"p{uuid.uuid4().hex[:8]}"
        run("ip", "link", "add", port, "netns", self.prefix + bridge, "type", "veth", "peer", "name", interface,
            "netns", netns)
        run("ip", "-n", self.prefix + bridge, "link", "set", port, "master", "br0", "up")
        run("ip", "-n", netns, "addr", "add", f"{address}/24", "brd", "+", "dev", interface)
        run("ip", "-n", netns, "link", "set", interface, "up")

    def add_host(self, name, address, bridge="lan", gateway=None):
        host = Host(self, name, address)
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

    def describe(self):
        """Each host's chat log and its copies' error output."""
        parts = []
        for host in self.hosts.values():
            for name, encoding in (("chat.log", "cp932"), ("stderr.txt", "utf-8")):
                if (host.workdir / name).exists():
                    text = (host.workdir / name).read_bytes().decode(encoding, "replace")
                    parts.append(f"--- {host.name} {host.address}: {name}\n{text[-20000:]}")
        return "\n".join(parts)

    def close(self):
        """Safe to call twice and after a partial set-up; keeps describe()'s text in summary."""
        if self.closed:
            return
        self.closed = True
        for copy in (copy for host in self.hosts.values() for copy in host.copies):
            copy.process.kill()
            copy.process.wait()
        self.summary = self.describe()
        for name in reversed(self.namespaces):
            run("ip", "netns", "del", name, check=False)
            shutil.rmtree(Path("/etc/netns") / name, ignore_errors=True)
        self.xvfb.kill()
        self.xvfb.wait()
        shutil.rmtree(self.folder, ignore_errors=True)
