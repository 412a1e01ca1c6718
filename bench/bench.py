# SPDX-License-Identifier: MIT
"""Runs every benchmark and prints each figure with its method and, where there is a goal,
its ratio to the goal (measured / goal: 1.00 or less meets it). bench/run calls this after
building; `--quick` shortens the LAN, scale and real parts for a trial run, `--json FILE`
keeps every raw figure, `--only micro|lan|scale|real` runs one part; `--real-n` and
`--real-seconds` size the real part."""

import argparse
import json
import os
import signal
import statistics
import subprocess
import sys
import tempfile
from pathlib import Path

sys.dont_write_bytecode = True
HERE = Path(__file__).resolve().parent


def run_micro(binary, scratch):
    """Runs one Google Benchmark binary; its JSON report's benchmarks."""
    out = scratch / (binary.name + ".json")
    console = scratch / (binary.name + ".txt")
    with open(console, "w") as text:
        subprocess.run([str(binary), f"--benchmark_out={out}", "--benchmark_out_format=json"],
                       stdout=text, stderr=subprocess.STDOUT, check=True)
    return json.loads(out.read_text())["benchmarks"]


def aggregate(benchmarks, prefix, field="real_time", stat="median"):
    """A statistic of a benchmark's repetitions (its own aggregate when it has one)."""
    for entry in benchmarks:
        if entry["name"].startswith(prefix) and entry.get("aggregate_name") == stat:
            return entry[field]
    values = [e[field] for e in benchmarks if e["name"].startswith(prefix) and e.get("run_type") == "iteration"]
    return statistics.median(values) if values else None


def first(benchmarks, prefix, field):
    for entry in benchmarks:
        if entry["name"].startswith(prefix) and entry.get("run_type", "iteration") == "iteration":
            return entry.get(field)
    return None


class Report:
    def __init__(self):
        self.rows = []

    def figure(self, name, value, unit, method, goal=None, limit=None):
        """goal: the largest value that meets it."""
        if goal is None or value is None:
            ratio = None
        elif goal == 0:
            ratio = 0.0 if value <= 0 else float("inf")
        else:
            ratio = value / goal
        self.rows.append({"name": name, "value": value, "unit": unit, "goal": goal, "ratio": ratio,
                          "method": method, "limit": limit})
        shown = "n/a" if value is None else (f"{value:,.0f}" if abs(value) >= 1000 else f"{value:.3g}")
        line = f"{name}: {shown} {unit}"
        if goal is not None:
            verdict = "meets" if ratio is not None and ratio <= 1.0 else "MISSES"
            line += f"  (goal <= {goal:g} {unit}; ratio {ratio:.2f}, {verdict})" if ratio is not None else \
                f"  (goal <= {goal:g} {unit}; not measured)"
        print(line)
        print(f"    method: {method}")
        if limit:
            print(f"    limited by: {limit}")

    def heading(self, text):
        print(f"\n== {text}")


def report_micro(report, display, chatlog):
    report.heading("Display of chat lines (offscreen platform, the display's real size and font)")
    near_1k = aggregate(display, "BM_AppendLine/1000/")
    near_100k = aggregate(display, "BM_AppendLine/100000/")
    report.figure("one chat line, display holding ~1,000 lines", near_1k, "us",
                  "LinePresenter::Present of a 48-byte Japanese chat line into CMessageList (append, measure, "
                  "scroll), lines 500..1,500; median of 5 runs of 1,000 lines; paints coalesced")
    report.figure("one chat line, display holding ~100,000 lines", near_100k, "us",
                  "the same for lines 99,500..100,500")
    report.figure("cost of the 100,000th line / cost of the 1,000th", near_100k / near_1k, "x",
                  "ratio of the two medians above", goal=2.0)
    paint_1k = aggregate(display, "BM_AppendLineAndPaint/1000/")
    paint_100k = aggregate(display, "BM_AppendLineAndPaint/100000/")
    report.figure("one line painted at once, ~1,000 lines", paint_1k, "us",
                  "as above, plus processEvents() after every line, so each line is painted",
                  limit="a full repaint of the view for every line (scrolling moves every row); perf puts most "
                        "of its time in futex wake-ups of worker threads, costly on this virtual machine")
    report.figure("one line painted at once, ~100,000 lines", paint_100k, "us", "the same near line 100,000")
    report.figure("painted: 100,000th / 1,000th", paint_100k / paint_1k, "x", "ratio of the two medians", goal=2.0)
    report.figure("heap per line (100,000 lines)", first(display, "BM_MemoryPerLine", "heap_bytes_per_line"),
                  "bytes", "mallinfo2().uordblks after minus before appending 100,000 lines, / 100,000",
                  limit="the line as UTF-16 QString (about 2 bytes a character + 16-byte header + allocator "
                        "overhead) plus 24 bytes of vector slot, the vector's spare capacity included")
    report.figure("resident memory per line (100,000 lines)", first(display, "BM_MemoryPerLine", "rss_bytes_per_line"),
                  "bytes", "VmRSS after minus before, / 100,000")
    report.figure("one wrapped line (auto line-break on, 126 bytes -> 3 rows)",
                  aggregate(display, "BM_AppendWrappedLine"), "us",
                  "Present of a chat line wider than the display with auto line-break; median of 3 x 1,000",
                  limit="WrapLine measures the growing row once per character (QFontMetrics::horizontalAdvance "
                        "shapes the whole row each time)")
    report.figure("code page 932 -> Unicode, one chat line", aggregate(display, "BM_ConvertLine"), "us",
                  "Cp932ToUtf8 of the 48-byte line (iconv_open + iconv + iconv_close)")
    report.figure("width of one chat line", aggregate(display, "BM_MeasureLine"), "us",
                  "CMessageList::MeasureText of the 48-byte line (conversion + text shaping)")

    report.heading("Chat log (CChatLog::WriteLogLine on this machine's disk)")
    label = first(chatlog, "BM_WriteLogLine/", "label")
    report.figure("log lines per second", aggregate(chatlog, "BM_WriteLogLine/", "items_per_second"), "lines/s",
                  f"WriteLogLine of a 40-byte chat line: a stat of the name, one pwrite of stamp, text and CR LF to "
                  f"the file kept open; "
                  f"median of 3 runs of >= 1 s; file system {label}",
                  limit="the two system calls, the name's look-up and the write; the bytes stay in the page cache")
    report.figure("log lines per second under a 1,024 KB cap", aggregate(chatlog, "BM_WriteLogLineCapped/",
                                                                            "items_per_second"),
                  "lines/s", "the same with the size cap on (the ring writes over its oldest lines)")


def report_lan(report, lan):
    if "skipped" in lan:
        print(f"\n== Virtual LAN: skipped ({lan['skipped']})")
        return
    traffic = lan["traffic"]
    report.heading("Virtual LAN: message latency (test peer -> copy, broadcast carrier)")
    latency = traffic["latency"]
    method = ("200 BC_MSG from a test peer in its own host, 0-100 ms apart at random; clock read just before "
              "sendto(); arrival = the poll (every 1 ms, file size) that finds the line in the receiving copy's "
              "chat log")
    report.figure("latency p50", latency["p50_ms"], "ms", method, goal=2,
                  limit="the observer's 1 ms polling of the log (up to a millisecond), the wake-up of "
                        "the receive thread, and three chat-log lines (one look-up of the name, a write each) before the line")
    report.figure("latency p99", latency["p99_ms"], "ms", f"same run; min {latency['min_ms']:.1f} ms, "
                  f"max {latency['max_ms']:.1f} ms, {latency['samples']} shown, {latency['lost']} lost", goal=10,
                  limit="scheduling of the receive thread and the observer on a shared 2-core machine")

    report.heading("Virtual LAN: bursts on the broadcast carrier")
    hlthy = traffic["hlthy"]
    report.figure("100 RSP_HLTHY at once: lost / shown twice", hlthy["lost"] + hlthy["shown_twice"], "packets",
                  f"100 liveness answers, each from another member address, sent in {hlthy['send_span_ms']:.1f} ms; "
                  f"{hlthy['shown']} '...がログインしています' notices found, {hlthy['shown_twice']} twice, "
                  f"{hlthy['rcvbuf_errors']} socket overflows", goal=0)
    report.figure("100 RSP_HLTHY: last notice after the last send", hlthy["last_sent_shown_after_ms"], "ms",
                  "from the last sendto() to the poll that finds the last notice", goal=200)
    stream = traffic["stream"]
    report.figure("1,000 BC_MSG at 1,000/s: lost / shown twice", stream["lost"] + stream["shown_twice"], "packets",
                  f"1,000 chat packets paced at {stream['offered_rate']:.0f}/s; {stream['shown']} shown, "
                  f"{stream['shown_twice']} twice, {stream['rcvbuf_errors']} socket overflows", goal=0)
    report.figure("1,000 BC_MSG: last line after the last send", stream["last_sent_shown_after_ms"], "ms",
                  "from the last sendto() to the poll that finds the last line", goal=200)
    report.figure("receive thread CPU per chat packet", stream["receive_thread_us_per_packet"], "us",
                  "schedstat run time of the receive thread during the 1,000/s stream / packets shown",
                  limit="three chat-log lines per packet (trace '------------', trace 'Received BC_MSG', the chat "
                        "line; one look-up of the name, a write each), plus the dispatch")
    report.figure("UI thread CPU per chat packet", stream["ui_thread_us_per_packet"], "us",
                  "schedstat run time of the main thread during the same stream / packets shown (display of the "
                  "line, coalesced repaints on Xvfb)")
    socket_info = traffic["socket"]
    report.figure("socket receive buffer of the broadcast carrier", socket_info["rcvbuf"], "bytes",
                  f"SO_RCVBUF after asking for 8 MiB as the copy does, in the copy's host "
                  f"(net.core.rmem_max there = {socket_info['rmem_max']:,})")
    report.figure("buffer charged per waiting chat datagram", socket_info["bytes_per_datagram"], "bytes",
                  "rx_queue of /proc/net/udp with 100 chat-sized broadcast datagrams waiting, / 100")
    report.figure("datagrams the buffer holds", socket_info["datagrams_that_fit"], "datagrams",
                  "buffer / charge per datagram; the copy also takes up to 1,024 a cycle into its own ring")
    rates = traffic.get("rates")
    if rates:
        trials = ", ".join(f"{t['rate']}/s: {t['shown']}/{t['sent']}" + (f" ({t['rcvbuf_errors']} overflows)"
                                                                          if t['rcvbuf_errors'] else "")
                           for t in rates["trials"])
        report.figure(f"highest loss-free rate ({rates['stream_seconds']:.0f} s streams)",
                      rates["highest_clean_rate"], "packets/s",
                      f"chat streams of {rates['stream_seconds']:.0f} s at rising rates, then halving the gap; "
                      f"shown/sent: {trials}",
                      limit="the receive loop's work per packet (three chat-log lines, one look-up of the name and a write each, "
                            "and the dispatch) on one thread: above the rate it drains, the backlog grows in the "
                            "socket buffer, and loss starts when the backlog outgrows it")
        report.figure("packets shown per second when saturated", rates["drain_rate_when_saturated"], "packets/s",
                      "chat lines per second in the middle half of each lossy stream (median over those streams)")

    report.heading("Idle logged-in copy under Xvfb")
    idle = lan["idle"]
    for state, words in (("active", "its window active, the caret in the message input"),
                         ("inactive", "keyboard focus taken away (a background window)")):
        figures = idle[state]
        threads = "; ".join(f"{name} {v['cpu_ms_per_s']:.2f} ms/s, {v['wakeups_per_s']:.1f} wakeups/s"
                            for name, v in figures["threads"].items())
        report.figure(f"idle CPU, {words}", figures["cpu_percent_schedstat"], "% of a core",
                      f"run time of every thread from /proc/<pid>/task/*/schedstat over {figures['seconds']:.0f} s "
                      f"(utime+stime from /proc/<pid>/stat, in 10 ms ticks, says {figures['cpu_percent_stat']:.3f} %); "
                      f"by thread: {threads}; measured from 12 s after start, once the caret's blinking (10 s "
                      f"after the last input) is over", goal=0.01,
                      limit="the liveness check, the one timer of an idle copy (every 90 s: a query, two caption "
                            "changes, the report); nothing else wakes")
    report.figure("a thread that only sleeps 100 ms at a time", idle["floor_ms_per_s"] / 10, "% of a core",
                  "schedstat of bench_sleep (std::this_thread::sleep_for(100 ms), 100 times) on this machine: what "
                  "ten wake-ups a second (the receive loop's old polling) would cost before any work")
    report.figure("peak resident memory (VmHWM)", idle["vm_hwm_mib"] * 1.048576, "MB",
                  "VmHWM from /proc/<pid>/status after the idle periods (MB = 10^6 bytes)", goal=50,
                  limit="Qt, its xcb platform and the Japanese font mapped in")
    report.figure("VmHWM of the receiving copy after all traffic", traffic["vm_hwm_mib_after"] * 1.048576, "MB",
                  "the same figure for the copy that received every burst and stream above")

    report.heading("Start-up")
    startup = lan["startup"]
    report.figure("start-up, exec to window mapped (median)", startup["median_ms"], "ms",
                  f"from Popen of 'ip netns exec <host> korvane' to the MapNotify of its top-level window on "
                  f"Xvfb's root, read over the X protocol; {len(startup['samples_ms'])} runs: "
                  + ", ".join(f"{v:.0f}" for v in startup["samples_ms"])
                  + f"; 'ip netns exec' alone takes {startup['netns_exec_overhead_ms']:.1f} ms", goal=250,
                  limit="loading Qt and connecting to the X server; the settings file and the carriers are quick")


SCALE_SIZES = (10, 50, 100, 200, 400)
# The office sizes each configuration must serve under 1 % of a core: a full /24 subnet with
# the chat log on, a thousand copies with it off.
SCALE_GOALS = ((1000, False), (254, True))
REAL_PERIOD_S = 90.0
# The largest office the generator thread can play within the period (n² datagrams from one
# thread): a bound beyond it is the fit's alone, checked here.
SCALE_CHECK_MAX = 1200


def run_scale(build, quick):
    """bench_scale for each size, without and with the chat log; then once at the size the
    fit predicts for 1 % of a core, to check it."""
    binary = build / "bench" / "bench_scale"
    if os.geteuid() != 0:
        return {"skipped": "needs root (a network namespace of its own)"}
    period_ms, periods = (3000, 2) if quick else (9000, 2)
    runs = []
    with tempfile.TemporaryDirectory(prefix="korvane-scale-", dir="/var/tmp") as folder:
        def once(n, logged):
            args = [str(binary), str(n), str(period_ms), str(periods)]
            if logged:
                args.append(str(Path(folder) / f"chat-{n}.log"))
            result = json.loads(subprocess.run(args, check=True, capture_output=True, text=True).stdout)
            print(f"  n={n} log={'on' if logged else 'off'}: {result['read']} read, {result['lost']} lost, "
                  f"{result['cpu_s']:.3f} s CPU", flush=True)
            return result
        for logged in (False, True):
            for n in SCALE_SIZES:
                runs.append(once(n, logged))
        fits = {}
        for logged in (False, True):
            fit = fit_square([r for r in runs if r["log"] == logged], periods)
            fit["n_at_1_percent"] = copies_at(fit, 0.01 * REAL_PERIOD_S)
            fit["check"] = once(min(fit["n_at_1_percent"], SCALE_CHECK_MAX), logged)
            fits["log" if logged else "nolog"] = fit
        goals = [] if quick else [dict(once(n, logged), goal=True) for n, logged in SCALE_GOALS]
    return {"period_ms": period_ms, "periods": periods, "runs": runs + goals, "fits": fits}


def fit_square(runs, periods):
    """CPU seconds per period = a + w n + b n², by least squares of the relative error, so the
    small sizes count as much as the large ones: a is the liveness check's own work once a
    period, w what each of the n bursts a period costs beyond its packets (the wake-ups that
    take it), b the work per packet."""
    rows = [(1.0, r["n"], r["n"] ** 2, r["cpu_s"] / periods) for r in runs]
    normal = [[sum(row[i] * row[j] / row[3] ** 2 for row in rows) for j in range(3)]
              + [sum(row[i] / row[3] for row in rows)] for i in range(3)]
    for i in range(3):  # Gauss-Jordan on the 3 x 3 normal equations
        normal[i] = [v / normal[i][i] for v in normal[i]]
        for k in range(3):
            if k != i:
                normal[k] = [vk - normal[k][i] * vi for vk, vi in zip(normal[k], normal[i])]
    a, w, b = (normal[i][3] for i in range(3))
    residual = max(abs(y - (a + w * n + b * q)) / y for _, n, q, y in rows)
    # The kernel's carriage of one datagram, its send and its delivery: the generator pays it
    # here, while on a LAN the copies do (a desktop's kernel receives n² datagrams a period;
    # on the virtual LAN each copy's broadcasts are delivered to all n hosts at its expense).
    carriage = statistics.median(r["generator_cpu_s"] / r["sent"] for r in runs if r["sent"])
    return {"a": a, "w": w, "b": b, "g": carriage, "worst_relative_residual": residual}


def copies_at(fit, seconds):
    """The largest n whose CPU a period, a + w n + b n², stays within seconds."""
    budget, w, b = seconds - fit["a"], fit["w"], fit["b"]
    if b <= 1e-12 * w:  # nothing grows with the square: the copy's work is linear in n
        return int(budget / w)
    return int((-w + (w ** 2 + 4 * b * budget) ** 0.5) / (2 * b))


def cpu_per_period(fit, n, carried=False):
    """The model's CPU seconds a period for n copies; carried adds the kernel's carriage."""
    return fit["a"] + fit["w"] * n + (fit["b"] + (fit["g"] if carried else 0.0)) * n * n


def report_scale(report, scale):
    if "skipped" in scale:
        print(f"\n== Scale: skipped ({scale['skipped']})")
        return
    periods, period_s = scale["periods"], scale["period_ms"] / 1000
    report.heading(f"Scale: one copy on a LAN of n copies, liveness traffic only ({periods} periods of "
                   f"{period_s:g} s standing for 90 s each)")
    method = ("bench_scale: a window-less copy (protocol core, receive loop, dispatcher, liveness check) in a network "
              "namespace of its own, the n - 1 others played by a generator thread on 127.1.x.y, everything "
              "broadcast to 127.255.255.255:9829; each other copy asks once a period (spread evenly) and every copy "
              "answers every query; CPU = process CPU time minus the generator thread's")
    for run in scale["runs"]:
        per_period = run["read"] / periods
        percent = 100 * run["cpu_s"] / periods / REAL_PERIOD_S
        report.figure(f"n = {run['n']}, chat log {'on' if run['log'] else 'off'}: CPU per 90 s period",
                      percent, "% of a core",
                      f"{per_period:,.0f} packets received a period (n² = {run['n'] ** 2:,}; "
                      f"{run.get('filtered', 0) / periods:,.0f} more dropped by the socket filter in the kernel), "
                      f"{1e3 * run['cpu_s'] / periods:.1f} ms CPU a period "
                      f"({1e6 * run['cpu_s'] / max(1, run['read']):.1f} us a packet), lost {run['lost']} "
                      f"(socket overflows {run['rcvbuf_errors']}), members kept {run['members']}/{run['n'] - 1}, "
                      f"'may have logged out' notices {run['silent_notices']}, VmHWM {run['vmhwm_kb'] / 1024:.1f} MiB",
                      goal=1.0 if run.get("goal") else None)
    for key, fit in scale["fits"].items():
        check = fit["check"]
        words = "on" if key == "log" else "off"
        report.figure(f"chat log {words}: largest n under 1 % of a core (fit)", fit["n_at_1_percent"], "copies",
                      f"CPU a period = {1e3 * fit['a']:.2f} ms + {1e6 * fit['w']:.1f} us x n + "
                      f"{1e6 * fit['b']:.2f} us x n² (worst residual "
                      f"{100 * fit['worst_relative_residual']:.0f} %); the kernel's carriage of a datagram (the "
                      f"generator's CPU a packet) g = {1e6 * fit['g']:.2f} us; the fit solved for 0.9 s and "
                      f"checked at n = {check['n']}: "
                      f"{100 * check['cpu_s'] / periods / REAL_PERIOD_S:.2f} % of a core, lost {check['lost']}",
                      limit="the work per received packet, n² of them a period: the dispatch and, with the log "
                            "on, three log lines per packet (one look-up of the name and three writes)" if key == "log"
                            else "with the others' answers to each other dropped in the kernel, n wake-ups and 3 n "
                            "packets a period; before that, the socket buffer the n - 1 answers to the copy's own "
                            "query must fit in at once (about 500 on stock Debian, see README)")


# The scale part's fit of 7 Dec 2026, evening (bench/README.md): the model of the real copies
# when the scale part has not run in the same invocation.
SCALE_MODEL = {"nolog": {"a": 0.59e-3, "w": 312.9e-6, "b": -0.27e-6, "g": 4.33e-6},
               "log": {"a": 0.22e-3, "w": 564.1e-6, "b": 8.62e-6, "g": 5.59e-6}}


def report_real(report, real, model, fitted):
    if "skipped" in real:
        print(f"\n== Real copies: skipped ({real['skipped']})")
        return
    for run in real["runs"]:
        n, key, words = run["n"], "log" if run["log"] else "nolog", "on" if run["log"] else "off"
        summary = run["summary"]
        load = run["load_average"]

        def both(name, digits=1):
            if summary[name]["median"] is None:
                return "none arrived"
            return f"median {summary[name]['median']:,.{digits}f}, max {summary[name]['max']:,.{digits}f}"

        report.heading(f"Real copies: {n} programs on one virtual LAN, chat log {words} "
                       f"({run['seconds']:.0f} s, load average {load[0]:.1f} -> {load[1]:.1f})")
        fit = model[key]
        windowless, predicted = cpu_per_period(fit, n), cpu_per_period(fit, n, carried=True)
        measured = summary["cpu_ms"]["median"] / 1e3
        source = "the scale part's fit of this run" if fitted else "the scale fit of 7 Dec 2026, evening (bench/README.md)"
        report.figure("CPU per copy per 90 s (median of the copies)", 100 * measured / REAL_PERIOD_S, "% of a core",
                      f"{n} copies of the program, one host each on one bridge, under one Xvfb, started one after "
                      f"another and logged in by their settings"
                      + (", chat log in each host's folder capped at 1,024 KB" if run["log"] else "")
                      + f"; from {real['settle_s']:.0f} s after the last login, schedstat run time of every thread "
                      f"over {run['seconds']:.0f} s, scaled to 90 s; CPU per 90 s {both('cpu_ms')} ms",
                      limit="the liveness traffic (n² datagrams a period) and what each datagram costs the receive "
                            "thread, the UI thread and the X connection")
        report.figure("model: a + w n + (b + g) n² per 90 s", 100 * predicted / REAL_PERIOD_S, "% of a core",
                      f"a = {1e3 * fit['a']:.2f} ms, w = {1e6 * fit['w']:.1f} us, b = {1e6 * fit['b']:.2f} us, "
                      f"g = {1e6 * fit['g']:.2f} us (the kernel's carriage of a datagram) from {source}; "
                      f"{1e3 * predicted:.1f} ms a period; the window-less copy alone, a + w n + b n²: "
                      f"{1e3 * windowless:.1f} ms "
                      f"({100 * windowless / REAL_PERIOD_S:.4f} % of a core)")
        report.figure("real / model", measured / predicted if summary["datagrams"]["median"] else None, "x",
                      "median CPU per copy / the model's prediction for the same n (not measured when no "
                      "liveness traffic arrived: the measured time should hold a whole period)", goal=1.3)
        others = {}
        for copy in run["copies"]:
            for name, ms in copy["others_by_name"].items():
                others.setdefault(name, []).append(ms)
        report.figure("by thread: receive thread per 90 s", summary["receive_ms"]["median"], "ms",
                      f"{both('receive_ms', 2)}; UI thread {both('ui_ms', 2)}; other threads {both('other_ms', 2)} "
                      f"(medians by name: " + ", ".join(f"{name} {statistics.median(ms):.2f}"
                                                        for name, ms in sorted(others.items())) + ")")
        report.figure("datagrams received per copy per 90 s", summary["datagrams"]["median"], "datagrams",
                      f"InDatagrams of /proc/net/snmp in the copy's host, before and after; {both('datagrams', 0)}; "
                      f"n² = {n * n:,}; socket overflows {sum(c['rcvbuf_errors'] for c in run['copies'])} in all"
                      + (f"; every copy listed {min(run['members_seen'])} or more of the {n - 1} others"
                         if run["members_seen"] else ""))
        report.figure("CPU per datagram received", summary["us_per_datagram"]["median"], "us",
                      f"a copy's CPU / its datagrams; {both('us_per_datagram')}; the receive thread's alone "
                      f"{both('receive_us_per_datagram')}; the model's b + g is {1e6 * (fit['b'] + fit['g']):.1f} us "
                      f"(at small n its a, once a period, weighs more than the datagrams)")
        report.figure("receive thread wake-ups per 90 s", summary["receive_wakeups"]["median"], "wake-ups",
                      f"voluntary context switches of the receive thread; {both('receive_wakeups', 0)}; "
                      f"{summary['receive_wakeups']['median'] / n:.1f} a query (n queries a period, each "
                      f"answered by the n - 1 others at once); "
                      f"{both('datagrams_per_wakeup')} datagrams a wake-up; preempted "
                      f"{both('receive_preempted', 0)} times; runnable but waiting for a core {both('receive_waited_ms')} "
                      f"ms; the UI thread woke {both('ui_wakeups', 0)} times")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=str(HERE.parent / "build-bench"))
    parser.add_argument("--quick", action="store_true")
    parser.add_argument("--json")
    parser.add_argument("--only", type=lambda text: set(text.split(",")),
                        help="parts to run, of micro, lan, scale and real, with commas between")
    parser.add_argument("--real-n", type=int, help="copies in the real part (40; 8 with --quick)")
    parser.add_argument("--real-seconds", type=float, help="its measured time (190 s; with --quick 90, one period)")
    args = parser.parse_args()
    # Killed, the virtual LANs are taken down as on Ctrl+C: their labs' exits run.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    build = Path(args.build).resolve()  # the copies run in folders of their own
    os.environ["KORVANE_BINARY"] = str(build / "korvane")

    report, raw = Report(), {}
    with tempfile.TemporaryDirectory(prefix="korvane-bench-") as folder:
        scratch = Path(folder)
        if not args.only or "micro" in args.only:
            print("running the micro-benchmarks ...", flush=True)
            raw["display"] = run_micro(build / "bench" / "bench_display", scratch)
            raw["chatlog"] = run_micro(build / "bench" / "bench_chatlog", scratch)
            report_micro(report, raw["display"], raw["chatlog"])
        if not args.only or "lan" in args.only:
            print("\nrunning the virtual-LAN benchmarks (a few minutes) ...", flush=True)
            import lan
            raw["lan"] = lan.run_all(quick=args.quick)
            report_lan(report, raw["lan"])
        if not args.only or "scale" in args.only:
            print("\nrunning the scale benchmark (a few minutes) ...", flush=True)
            raw["scale"] = run_scale(build, args.quick)
            report_scale(report, raw["scale"])
        if not args.only or "real" in args.only:
            n = args.real_n or (8 if args.quick else 40)
            print(f"\nrunning {n} real copies on the virtual LAN, chat log off and on (several minutes) ...",
                  flush=True)
            import lan
            raw["real"] = lan.run_real(n, args.real_seconds or (90.0 if args.quick else 190.0))
            fitted = raw.get("scale", {}).get("fits")
            report_real(report, raw["real"], fitted or SCALE_MODEL, bool(fitted))
    if args.json:
        Path(args.json).write_text(json.dumps({"figures": report.rows, "raw": raw}, indent=1))
    misses = [row["name"] for row in report.rows if row["ratio"] is not None and row["ratio"] > 1.0]
    print(f"\n{len([r for r in report.rows if r['goal'] is not None])} figures with a goal; "
          + (f"missed: {', '.join(misses)}" if misses else "all meet their goals"))


if __name__ == "__main__":
    main()
