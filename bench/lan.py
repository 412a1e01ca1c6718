# SPDX-License-Identifier: MIT
"""Benchmarks of the real program on the virtual LAN: message latency, bursts on the
broadcast carrier and the highest loss-free rate, idle cost, start-up time.
Returns figures as dicts; bench.py prints them. Needs root (network namespaces)."""

import json
import os
import statistics
import struct
import subprocess
import sys
import time
from pathlib import Path
from typing import NamedTuple

sys.dont_write_bytecode = True
HERE = Path(__file__).resolve().parent
ROOT = HERE.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))

import netlab  # noqa: E402  (after the path is set)
from netlab import tester_settings  # noqa: E402
from xmap import MapWatcher  # noqa: E402

PEER = HERE / "peer.py"
CLOCK_TICK = os.sysconf("SC_CLK_TCK")
SUBNET = "198.18.0"
BROADCAST = f"{SUBNET}.255"


def peer(host, **args):
    """Runs the test peer inside host; its JSON answer."""
    out = subprocess.run(["ip", "netns", "exec", host.netns, sys.executable, "-B", str(PEER), json.dumps(args)],
                         capture_output=True, text=True, timeout=300)
    if out.returncode != 0:
        raise RuntimeError(f"peer failed: {out.stderr[-2000:]}")
    return json.loads(out.stdout.strip().splitlines()[-1])


def percentile(values, fraction):
    """Nearest-rank percentile."""
    ordered = sorted(values)
    rank = max(1, int(-(-fraction * len(ordered) // 1)))
    return ordered[min(rank, len(ordered)) - 1]


# --- a copy's process ---------------------------------------------------------------------

def cpu_ticks(pid):
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def status_kib(pid, key):
    for line in Path(f"/proc/{pid}/status").read_text().splitlines():
        if line.startswith(key + ":"):
            return int(line.split()[1])
    return None


class Task(NamedTuple):
    name: str
    run_ns: int
    wait_ns: int  # runnable, waiting for a core
    voluntary: int  # switches: the thread slept (a wake-up follows)
    involuntary: int  # switches: the thread was preempted


def threads(pid):
    """{tid: Task} of every thread of pid."""
    found = {}
    for task in Path(f"/proc/{pid}/task").iterdir():
        try:
            name = (task / "comm").read_text().strip()
            run_ns, wait_ns = map(int, (task / "schedstat").read_text().split()[:2])
            switches = dict(line.split(":") for line in (task / "status").read_text().splitlines()
                            if "ctxt_switches:" in line)
            found[int(task.name)] = Task(name, run_ns, wait_ns, int(switches["voluntary_ctxt_switches"]),
                                         int(switches["nonvoluntary_ctxt_switches"]))
        except (FileNotFoundError, ProcessLookupError):
            pass
    return found


def receive_thread(pid):
    """The receive loop's thread: the one besides the main thread that carries the
    program's own name (Qt names its threads)."""
    others = [tid for tid, task in threads(pid).items() if tid != pid and task.name == "korvane"]
    if len(others) != 1:
        raise RuntimeError(f"cannot tell the receive thread among {threads(pid)}")
    return others[0]


def thread_cpu_ns(pid, tid):
    entry = threads(pid).get(tid)
    return entry.run_ns if entry else 0


def udp_counters(pid):
    """The UDP counters of the network namespace pid runs in."""
    lines = Path(f"/proc/{pid}/net/snmp").read_text().splitlines()
    rows = [line.split()[1:] for line in lines if line.startswith("Udp:")]
    return dict(zip(rows[0], map(int, rows[1])))


def start_copy(host, handle):
    host.write_settings(tester_settings(handle))
    copy = host.start()
    log = host.workdir / "chat.log"
    # Logged in and polling: the copy has read back its own announcement.
    netlab.wait_for(lambda: log.exists() and b"Received Own Message" in log.read_bytes(), timeout=15,
                    what=f"{host.name} logged in")
    return copy


def stop_copy(copy):
    if copy.process.poll() is None:
        copy.process.terminate()
        try:
            copy.process.wait(5)
        except subprocess.TimeoutExpired:
            copy.process.kill()
            copy.process.wait()


def wait_quiet(path, quiet=0.5, limit=30.0):
    """Until the log has not grown for quiet seconds."""
    deadline = time.monotonic() + limit
    size, since = -1, time.monotonic()
    while time.monotonic() < deadline:
        now_size = path.stat().st_size
        if now_size != size:
            size, since = now_size, time.monotonic()
        elif time.monotonic() - since >= quiet:
            return
        time.sleep(0.05)


# --- the benchmarks ---------------------------------------------------------------------

def bench_startup(lab, runs=10):
    lab.add_bridge("startlan")
    host = lab.add_host("start", f"{SUBNET}.30", bridge="startlan")
    host.write_settings(tester_settings("start"))
    overhead = []
    for _ in range(runs):
        began = time.monotonic()
        getattr(netlab, "spawn", subprocess.Popen)(["ip", "netns", "exec", host.netns, "/bin/true"]).wait()
        overhead.append((time.monotonic() - began) * 1000)
    samples = []
    for _ in range(runs):
        watcher = MapWatcher(lab.xvfb.display)
        try:
            began = time.monotonic()
            copy = host.start()
            mapped = watcher.wait_for_map(10)
        finally:
            watcher.close()
        if mapped is None:
            raise RuntimeError("the window was never mapped")
        if int(copy.window()) != mapped[1]:
            raise RuntimeError("another window was mapped first")
        samples.append((mapped[0] - began) * 1000)
        stop_copy(copy)
    return {"samples_ms": samples, "median_ms": statistics.median(samples),
            "netns_exec_overhead_ms": statistics.median(overhead)}


def bench_idle(lab, seconds=120):
    """A logged-in copy left alone: first as started (its window active, the caret in the
    message input), then with the keyboard focus taken away (a window in the background,
    the usual state of an idle chat)."""
    lab.add_bridge("idlelan")
    host = lab.add_host("idle", f"{SUBNET}.40", bridge="idlelan")
    copy = start_copy(host, "idle")
    # Start-up work done, the window painted, and the caret's blinking over (it blinks for
    # 10 s after the last input, here the start): what is left is idling.
    time.sleep(12)
    pid = copy.pid

    def measure():
        ticks0, threads0, began = cpu_ticks(pid), threads(pid), time.monotonic()
        time.sleep(seconds)
        ticks1, threads1, ended = cpu_ticks(pid), threads(pid), time.monotonic()
        elapsed = ended - began
        per_thread = {}
        for tid, task in threads1.items():
            if tid in threads0 and task.run_ns > threads0[tid].run_ns:
                label = "ui" if tid == pid else task.name
                per_thread[label] = {"cpu_ms_per_s": (task.run_ns - threads0[tid].run_ns) / 1e6 / elapsed,
                                     "wakeups_per_s": (task.voluntary - threads0[tid].voluntary) / elapsed}
        run_ns = sum(threads1[t].run_ns - threads0[t].run_ns for t in threads1 if t in threads0)
        return {
            "seconds": elapsed,
            "cpu_percent_stat": 100.0 * (ticks1 - ticks0) / CLOCK_TICK / elapsed,
            "cpu_ticks": ticks1 - ticks0,
            "cpu_percent_schedstat": 100.0 * run_ns / 1e9 / elapsed,
            "threads": per_thread,
        }

    result = {"active": measure()}
    watcher = MapWatcher(lab.xvfb.display)
    watcher.focus_nothing()
    watcher.close()
    time.sleep(3)  # the window repaints itself as inactive once; that is not idling
    result["inactive"] = measure()
    result["vm_hwm_mib"] = status_kib(pid, "VmHWM") / 1024
    result["vm_rss_mib"] = status_kib(pid, "VmRSS") / 1024
    result["floor_ms_per_s"] = sleeper_floor(host)
    stop_copy(copy)
    return result


def sleeper_floor(host, periods=100):
    """CPU time (ms per s) of a thread that only sleeps 100 ms at a time, on this machine:
    what ten wake-ups a second (the receive loop's old polling) cost before any work."""
    sleeper = netlab.PROGRAM.parent / "bench" / "bench_sleep"
    return float(netlab.run("ip", "netns", "exec", host.netns, str(sleeper), str(periods)).stdout.strip())


def bench_traffic(lab, search=True):
    """Latency, then the bursts, then the rate search, all against one receiving copy."""
    lab.add_bridge()
    receiver = lab.add_host("recv", f"{SUBNET}.10")
    sender = lab.add_host("peer", f"{SUBNET}.20")
    copy = start_copy(receiver, "recv")
    log = receiver.workdir / "chat.log"
    common = {"own": sender.address, "broadcast": BROADCAST, "log": str(log), "handle": "peer"}
    results = {}

    # What the kernel charges per waiting datagram, and how much the copy's socket may hold.
    holder = subprocess.Popen(["ip", "netns", "exec", receiver.netns, sys.executable, "-B", str(PEER),
                               json.dumps({"mode": "hold", "port": 9830})],
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    json.loads(holder.stdout.readline())
    peer(sender, mode="send", own=sender.address, broadcast=BROADCAST, port=9830, count=100, text_bytes=30)
    time.sleep(0.2)  # delivery through the bridge is asynchronous
    held, _ = holder.communicate("sent\n", timeout=10)
    held = json.loads(held.strip().splitlines()[-1])
    held["bytes_per_datagram"] = held["rx_queue_bytes"] / held["datagrams"] if held["datagrams"] else None
    held["datagrams_that_fit"] = int(held["rcvbuf"] / held["bytes_per_datagram"]) if held["datagrams"] else None
    results["socket"] = held

    results["latency"] = peer(sender, mode="latency", count=200, **common)
    lat = results["latency"]["latencies_ms"]
    results["latency"].update(p50_ms=percentile(lat, 0.50), p99_ms=percentile(lat, 0.99),
                              min_ms=min(lat), max_ms=max(lat), samples=len(lat))
    del results["latency"]["latencies_ms"]
    wait_quiet(log)

    udp0 = udp_counters(copy.pid)
    results["hlthy"] = peer(sender, mode="hlthy", count=100, target=receiver.address, member_prefix="198.18.1.",
                            handle_prefix="hm", **common)
    results["hlthy"]["rcvbuf_errors"] = udp_counters(copy.pid)["RcvbufErrors"] - udp0["RcvbufErrors"]
    wait_quiet(log)

    pid = copy.pid
    receiving = receive_thread(pid)

    def stream(rate, count, prefix, limit_s=30.0):
        wait_quiet(log)
        udp_before = udp_counters(copy.pid)
        receive_before, ui_before = thread_cpu_ns(pid, receiving), thread_cpu_ns(pid, pid)
        result = peer(sender, mode="stream", rate=rate, count=count, prefix=prefix, limit_s=limit_s, **common)
        wait_quiet(log)
        result["rcvbuf_errors"] = udp_counters(copy.pid)["RcvbufErrors"] - udp_before["RcvbufErrors"]
        handled = max(1, result["shown"])
        result["receive_thread_us_per_packet"] = (thread_cpu_ns(pid, receiving) - receive_before) / 1e3 / handled
        result["ui_thread_us_per_packet"] = (thread_cpu_ns(pid, pid) - ui_before) / 1e3 / handled
        result["rate"] = rate
        return result

    results["stream"] = stream(1000, 1000, "s1k-")

    if search:
        results["rates"] = rate_search(stream)
    results["vm_hwm_mib_after"] = status_kib(pid, "VmHWM") / 1024
    stop_copy(copy)
    return results


def rate_search(stream, seconds=3.0):
    """The highest rate at which a stream of `seconds` is shown without loss: a coarse climb,
    then halving the gap between the best clean and the first lossy rate."""
    trials = []

    def clean(rate):
        result = stream(rate, int(rate * seconds), "r%d-" % rate)
        trials.append(result)
        return result["lost"] == 0 and result["shown_twice"] == 0

    good, bad = None, None
    for rate in (2000, 3000, 4000, 6000, 8000, 12000):
        if clean(rate):
            good = rate
        else:
            bad = rate
            break
    if good is not None and bad is not None:
        for _ in range(3):
            middle = int((good + bad) / 2 / 50) * 50
            if middle in (good, bad):
                break
            if clean(middle):
                good = middle
            else:
                bad = middle
    # A lossy stream kept the copy busy all along: its pace is what the copy can drain.
    saturated = [t["shown_rate_mid"] for t in trials if t.get("shown_rate_mid") and t["lost"] > 0]
    return {"stream_seconds": seconds, "highest_clean_rate": good, "lowest_lossy_rate": bad,
            "drain_rate_when_saturated": statistics.median(saturated) if saturated else None,
            "trials": [{k: t.get(k) for k in ("rate", "sent", "shown", "lost", "shown_twice", "rcvbuf_errors",
                                              "offered_rate", "shown_rate_mid", "last_sent_shown_after_ms",
                                              "receive_thread_us_per_packet", "ui_thread_us_per_packet")}
                       for t in trials]}


# --- many real copies on one LAN ----------------------------------------------------------

LIVENESS_PERIOD_S = 90.0
LOG_MODE, LOG_CAP_ON, LOG_CAP_KB = 204, 508, 512  # offsets in the settings record
MEMBER_NOTICES = ("がログインしました ***", "がログインしています ***")


def real_settings(handle, logged):
    """Logs in by itself as handle; the chat log on or off, capped at 1,024 KB as in bench_scale."""
    record = bytearray(tester_settings(handle))
    struct.pack_into("<i", record, LOG_MODE, int(logged))
    struct.pack_into("<i", record, LOG_CAP_ON, int(logged))
    record[LOG_CAP_KB:LOG_CAP_KB + 4] = b"1024" if logged else bytes(4)
    return bytes(record)


def logged_in(copy, host):
    """It has sent its announcement: nothing else leaves a copy before its login. Read once it
    runs in its host (before, /proc/<pid>/net is the machine's)."""
    if copy.process.poll() is not None:
        raise RuntimeError(f"{host.name} ended before its login: {(host.workdir / 'stderr.txt').read_text()[-500:]}")
    return Path(f"/proc/{copy.pid}/comm").read_text().strip() == "korvane" and \
        udp_counters(copy.pid)["OutDatagrams"] > 0


def members_seen(host):
    return sum(any(text.endswith(notice) for notice in MEMBER_NOTICES) for text in host.log_texts())


def sample(pid):
    return threads(pid), udp_counters(pid)


def copy_figures(pid, before, after, elapsed):
    """One copy's figures over the measured time, per 90 s."""
    (threads0, udp0), (threads1, udp1) = before, after
    per_period = LIVENESS_PERIOD_S / elapsed
    receiving = receive_thread(pid)

    def ran(tids):  # threads that began meanwhile count whole
        return sum(threads1[t].run_ns - (threads0[t].run_ns if t in threads0 else 0) for t in tids) / 1e6 * per_period

    def grew(tid, field):  # per 90 s
        return (getattr(threads1[tid], field) - getattr(threads0[tid], field)) * per_period

    total, receive, ui = ran(threads1), ran([receiving]), ran([pid])
    datagrams = (udp1["InDatagrams"] - udp0["InDatagrams"]) * per_period
    wakeups = grew(receiving, "voluntary")
    return {"cpu_ms": total, "receive_ms": receive, "ui_ms": ui, "other_ms": total - receive - ui,
            "receive_wakeups": wakeups, "receive_preempted": grew(receiving, "involuntary"),
            "receive_waited_ms": grew(receiving, "wait_ns") / 1e6,
            "ui_wakeups": grew(pid, "voluntary"), "datagrams": datagrams,
            "rcvbuf_errors": udp1["RcvbufErrors"] - udp0["RcvbufErrors"],
            "us_per_datagram": 1e3 * total / datagrams if datagrams else None,
            "receive_us_per_datagram": 1e3 * receive / datagrams if datagrams else None,
            "datagrams_per_wakeup": datagrams / wakeups if wakeups else None,
            "others_by_name": {name: ran([t for t in threads1 if t not in (pid, receiving) and threads1[t].name == name])
                               for name in {task.name for t, task in threads1.items() if t not in (pid, receiving)}}}


def bench_real(lab, n, logged, seconds, settle):
    """n copies on a bridge and in hosts of their own (so each host's counters start afresh),
    started one after another, each once the one before has logged in; measured together once
    every copy has logged in (and, with the log on, lists all others)."""
    words = "on" if logged else "off"
    subnet = f"198.18.{int(logged)}"
    lab.add_bridge(f"log{words}", router=f"{subnet}.1")
    hosts = [lab.add_host(f"{words}{i}", f"{subnet}.{10 + i}", f"log{words}") for i in range(n)]
    copies = []
    for host in hosts:
        host.write_settings(real_settings(host.name, logged))
        copies.append(host.start())
        netlab.wait_for(lambda: logged_in(copies[-1], host), timeout=60, what=f"{host.name} logged in")
    if logged:
        netlab.wait_for(lambda: all(members_seen(host) >= n - 1 for host in hosts), timeout=60,
                        what=f"every copy listing the {n - 1} others")
    time.sleep(settle)  # the last window painted, its caret's blinking over
    load = [os.getloadavg()[0]]
    before, began = [sample(copy.pid) for copy in copies], time.monotonic()
    time.sleep(seconds)
    after, elapsed = [sample(copy.pid) for copy in copies], time.monotonic() - began
    load.append(os.getloadavg()[0])
    per_copy = [copy_figures(copy.pid, b, a, elapsed) for copy, b, a in zip(copies, before, after)]
    members = [members_seen(host) for host in hosts] if logged else None
    for copy in copies:
        stop_copy(copy)
    # Per datagram and per wake-up are None where nothing arrived.
    summary = {key: {"median": statistics.median(values) if values else None, "max": max(values, default=None)}
               for key in per_copy[0] if key != "others_by_name"
               for values in [[c[key] for c in per_copy if c[key] is not None]]}
    return {"n": n, "log": logged, "seconds": elapsed, "load_average": load, "members_seen": members,
            "summary": summary, "copies": per_copy}


def run_real(n=40, seconds=190.0, settle=12.0):
    """n real copies, one host each on one bridge, with the chat log off and then on."""
    if os.geteuid() != 0:
        return {"skipped": "needs root (network namespaces)"}
    netlab.remove_labs()  # what killed runs left behind
    with netlab.Lab() as lab:
        return {"settle_s": settle, "runs": [bench_real(lab, n, logged, seconds, settle) for logged in (False, True)]}


def run_all(quick=False):
    why = None if os.geteuid() == 0 else "needs root (network namespaces)"
    if why:
        return {"skipped": why}
    results = {}
    with netlab.Lab() as lab:
        results["traffic"] = bench_traffic(lab, search=not quick)
        results["startup"] = bench_startup(lab, runs=3 if quick else 10)
        results["idle"] = bench_idle(lab, seconds=10 if quick else 120)
    return results


if __name__ == "__main__":
    print(json.dumps(run_all(quick="--quick" in sys.argv), indent=1))
