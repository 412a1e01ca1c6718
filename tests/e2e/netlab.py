# SPDX-License-Identifier: MIT
"""A virtual LAN: network namespaces on bridges, addresses from 198.18.0.0/15, windows on one Xvfb."""

import contextlib
import ctypes
import functools
import os
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time
from pathlib import Path

PROGRAM = Path(os.environ.get("KORVANE_BINARY", Path(__file__).resolve().parents[2] / "build" / "korvane"))
TMP, ETC = Path(tempfile.gettempdir()), Path("/etc/netns")


def run(*args, check=True, **kwargs):
    return subprocess.run(args, check=check, capture_output=True, text=True, **kwargs)


def spawn(args, **kwargs):
    # The kernel kills the child when the test process dies, even by SIGKILL (PR_SET_PDEATHSIG).
    return subprocess.Popen(args, preexec_fn=lambda: ctypes.CDLL(None).prctl(1, signal.SIGKILL), **kwargs)


def wait_for(condition, timeout=10.0, what="condition"):
    deadline = time.monotonic() + timeout
    while not (result := condition()):
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(0.05)
    return result


def remove_labs(prefix=None):
    # All a lab makes is named kv<pid>-...; without prefix, what runs killed before their clean-up left behind.
    for name in run("ip", "netns", "list").stdout.split() + [path.name for path in TMP.glob("kv*")]:
        pid = name[2:].split("-")[0]
        if name.startswith(prefix or "kv") and (prefix or pid.isdigit() and not Path(f"/proc/{pid}").exists()):
            run("ip", "netns", "del", name, check=False)
            shutil.rmtree(ETC / name, ignore_errors=True)
            shutil.rmtree(TMP / name, ignore_errors=True)


def tester_settings(handle=None, addresses=(), nIconAction=0):
    # The 7,172-byte settings record. A handle logs in by itself; registered addresses reach other subnets.
    record = bytearray(7172)
    # nIconAction, bAutoLogin, nLogMode, crBack (white), nOutDomainMode, nAddrCount, bShowSysMsg
    for offset, value in ((0, nIconAction), (168, handle is not None), (204, 1), (548, 0xFFFFFF),
                          (552, bool(addresses)), (556, len(addresses)), (7160, 1)):
        struct.pack_into("<i", record, offset, value)
    texts = [(172, handle or ""), (208, "chat.log")] + [(560 + 50 * i, name) for i, (name, _) in enumerate(addresses)]
    for offset, text in texts + [(5560 + 16 * i, address) for i, (_, address) in enumerate(addresses)]:
        record[offset:offset + len(text.encode("cp932"))] = text.encode("cp932")
    return bytes(record)


def close_window(display, window):
    # As a window manager's close box does (WM_DELETE_WINDOW), which xdotool cannot.
    with socket.socket(socket.AF_UNIX) as x:
        x.connect(f"/tmp/.X11-unix/X{display[1:]}")
        # Xvfb wants no authorisation; both atom names are a multiple of four bytes long.
        names = (b"WM_PROTOCOLS", b"WM_DELETE_WINDOW")
        x.sendall(struct.pack("<BxHHHHxx", 0x6C, 11, 0, 0, 0) + b"".join(
            struct.pack("<BxHHxx", 16, 2 + len(name) // 4, len(name)) + name for name in names))
        read = x.makefile("rb").read
        read(struct.unpack_from("<H", read(8), 6)[0] * 4)
        atoms = [struct.unpack_from("<I", read(32), 8)[0] for _ in range(2)]
        x.sendall(struct.pack("<BBHIIBBHII5I", 25, 0, 11, window, 0, 33, 32, 0, window, *atoms, 0, 0, 0, 0))


class Copy:
    # Where the controls are, in client pixels (template 102 at base units 7 x 13).
    CLIENT_HEIGHT, HANDLE_INPUT, MESSAGE_INPUT = 297, (40, 239), (300, 256)

    def __init__(self, host, args):
        # Its output goes to a file: a pipe nobody reads would stall a long-running copy.
        with open(host.workdir / "stderr.txt", "ab") as out:
            self.process = spawn(["ip", "netns", "exec", host.netns, PROGRAM, *args], stdout=out, stderr=out, cwd=host.workdir,
                                 env=dict(os.environ, XDG_RUNTIME_DIR=host.workdir))
        self.pid = self.process.pid

    def windows(self, *name):
        return run("xdotool", "search", "--onlyvisible", "--pid", str(self.pid), *name, check=False).stdout.split()

    @functools.cache  # the first one: message boxes bear the same name
    def window(self):
        return wait_for(lambda: self.windows("--all", "--name", "^Korvane$"), what=f"the window of {self.pid}")[0]

    def message_boxes(self):
        return [window for window in self.windows() if window != self.window()]

    def click(self, x, y, modifier=None):
        # (x, y) in the client area, which starts below the menu bar.
        window = self.window()
        height = int(run("xdotool", "getwindowgeometry", "--shell", window).stdout.split("HEIGHT=")[1].split()[0])
        keys = (["keydown", modifier], ["keyup", modifier]) if modifier else ([], [])
        # Without a window manager all windows open in one place: the one clicked goes on top.
        run("xdotool", "windowraise", window, "windowfocus", "--sync", window, *keys[0], "mousemove", "--window",
            window, str(x), str(y + height - self.CLIENT_HEIGHT), "click", "1", *keys[1])

    def say(self, text, place=MESSAGE_INPUT):
        self.click(*place)
        # Characters outside the keyboard map are lost when typed quickly.
        run("xdotool", "type", "--delay", "150", "--window", self.window(), text)
        run("xdotool", "key", "--window", self.window(), "Return")


class Host:
    def __init__(self, lab, name, address, settings):
        self.name, self.address, self.netns, self.copies = name, address, lab.prefix + name, []
        self.workdir = lab.folder / name
        self.workdir.mkdir(mode=0o700)  # also the runtime folder, which Qt wants private
        self.write_settings(tester_settings(*settings))

    def write_settings(self, record):
        (self.workdir / "TOOLBOX").write_bytes(record)

    def start(self, *args):
        self.copies.append(Copy(self, args))
        return self.copies[-1]

    def put(self, address):
        # The LAN link's address, with the default route through its router (.1).
        self.ip(f"addr add {address}/24 brd + dev eth0", f"route add default via {address.rsplit('.', 1)[0]}.1")
        self.address = address

    def move(self, address):
        # As a laptop that wakes in another network: the old address goes, the new one comes.
        self.ip(f"addr del {self.address}/24 dev eth0")
        self.put(address)

    def ip(self, *commands):
        for command in commands:
            run("ip", "-n", self.netns, *command.split())

    def log_texts(self):
        log = self.workdir / "chat.log"
        return [line[27:] for line in log.read_bytes().decode("cp932", "replace").split("\r\n")] if log.exists() else []

    def wait_for_log(self, text, timeout=10.0, count=1):
        wait_for(lambda: self.log_texts().count(text) >= count, timeout, f"{text!r} in the log of {self.name}")


class Lab(contextlib.AbstractContextManager):
    def __init__(self, wayland=False):
        # Xvfb picks a free display itself and tells its number, so labs running side by side never share one.
        self.xvfb = spawn(["Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.xvfb.display = ":" + self.xvfb.stdout.readline().strip()
        self.servers = [self.xvfb]
        os.environ.update(DISPLAY=self.xvfb.display, QT_QPA_PLATFORM="xcb")  # for xdotool and the copies
        self.prefix = f"kv{os.getpid()}-{os.urandom(2).hex()}-"
        self.folder = Path(tempfile.mkdtemp(prefix=self.prefix))
        self.hosts, self.wires = [], self.prefix + "wires"
        if wayland:
            # Weston in a window of the Xvfb: a Wayland desktop with a seat, which xdotool types into. The copies
            # are its clients and write what they tell it and hear from it to their output (WAYLAND_DEBUG).
            weston = ["weston", "--backend=x11-backend.so", "--use-pixman", "--socket=wayland", "--idle-time=0"]
            self.servers.append(spawn(weston, env=dict(os.environ, XDG_RUNTIME_DIR=self.folder), stderr=subprocess.DEVNULL))
            os.environ.update(WAYLAND_DISPLAY=str(self.folder / "wayland"), QT_QPA_PLATFORM="wayland", WAYLAND_DEBUG="client")
            wait_for(lambda: Path(os.environ["WAYLAND_DISPLAY"]).exists(), what="weston")
        # The bridges live in a namespace of their own, which routes between them but forwards no broadcast.
        run("ip", "netns", "add", self.wires)
        run("ip", "netns", "exec", self.wires, "sysctl", "-qw", "net.ipv4.ip_forward=1")

    def __exit__(self, *exc):
        for copy in (copy for host in self.hosts for copy in host.copies):
            copy.process.kill()
        for server in self.servers:
            server.kill()
        remove_labs(f"kv{os.getpid()}-")  # also what else this process made

    def xdotool(self, *args, check=True):
        return run("xdotool", *args, check=check)

    def add_bridge(self, name="lan", router="198.18.0.1"):
        run("ip", "-n", self.wires, "link", "add", "name", name, "up", "type", "bridge")
        run("ip", "-n", self.wires, "addr", "add", f"{router}/24", "dev", name)

    def add_host(self, name, address, bridge="lan", *settings):
        # It logs in as name unless given other settings for tester_settings(). Each is a desktop as people have
        # them: a container engine's bridge listed before the LAN link, and Debian's hosts file (127.0.1.1).
        host = Host(self, name, address, settings or (name,))
        run("ip", "netns", "add", host.netns)
        host.ip("link add name docker0 type bridge", "addr add 172.17.0.1/16 brd + dev docker0", "link set docker0 up")
        run("ip", "-n", host.netns, "link", "add", "name", "eth0", "type", "veth", "peer", "name", name, "netns", self.wires)
        run("ip", "-n", self.wires, "link", "set", "dev", name, "master", bridge, "up")
        host.ip("link set eth0 up", "link set lo up")
        host.put(address)
        (ETC / host.netns).mkdir(parents=True)
        (ETC / host.netns / "hosts").write_text(f"127.0.0.1 localhost\n127.0.1.1 {socket.gethostname()}\n")
        self.hosts.append(host)
        return host


def start(host, handle=None):
    # Logged in, as handle if given, once its own announcement has come back.
    own_before = host.log_texts().count("Received Own Message")
    copy = host.start()
    if handle:
        copy.say(handle, Copy.HANDLE_INPUT)
    host.wait_for_log("Received Own Message", count=own_before + 1)
    return copy


def run_scenario(scenario, wayland=False):
    remove_labs()
    # Without root (for network namespaces) ip refuses. The lab removes the probe again.
    tools = ("ip", "Xvfb", "xdotool") + ("weston",) * wayland
    if not all(map(shutil.which, tools)) or not PROGRAM.is_file() or run(
            "ip", "netns", "add", f"kv{os.getpid()}-probe", check=False).returncode:
        print(f"virtual-LAN test cannot run: it needs root, network namespaces, {', '.join(tools)} and {PROGRAM}")
        sys.exit(1 if os.environ.get("CI") == "true" else 77)  # 77: skipped, but not on CI
    with Lab(wayland) as lab:
        try:
            scenario(lab)
        except BaseException:
            for path in sorted([*lab.folder.glob("*/chat.log"), *lab.folder.glob("*/stderr.txt")]):
                print(f"----- {path.relative_to(lab.folder)}\n" + path.read_bytes().decode("cp932", "replace"))
            raise
