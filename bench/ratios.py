#!/usr/bin/env python3
"""Runs the benchmark binary once and prints the ratio table: project time / peer time.

Every row is a pair of benchmarks named "<row>/ours" and "<row>/<peer>"; the row's text is
the label the benchmark sets. Times are the medians of 5 repetitions of processor time (on a
shared machine wall time also counts the other processes). Benchmarks outside a pair are
listed after the table. Extra arguments go to the benchmark binary (e.g. a filter).

The HostThreads benchmarks run once, in a second run of the binary, and are printed as their
own tables: how long each host thread is held per call (median, p99, p99.9, slowest, in µs),
quiet and under the flood, also over the calls the system did not preempt, and what the
plug-in's own threads cost while idle on air.

The C library's heap gives pages back to the system whenever more than 128 KB at its top is
free, and takes fresh, zeroed pages again on the next growth. Whether a 1 MB document's blocks
end at the top depends on what else was allocated last, not on the parser, and on a busy virtual
machine each page fault costs microseconds, so the row would measure the machine. Both sides
therefore run with the heap keeping its pages (HEAP_POLICY below); a GLIBC_TUNABLES already in
the environment wins, and GLIBC_TUNABLES= runs with the C library's defaults.
"""
import json
import os
import re
import subprocess
import sys

HEAP_POLICY = "glibc.malloc.trim_threshold=268435456:glibc.malloc.mmap_threshold=33554432"


HOST_THREADS = "HostThreads"
HOST_ROWS = [
    ("audio_480", "Audio callback, 480 frames (host's audio thread)"),
    ("channel_2014", "Engine message 2014 (channel's thread)"),
    ("channel_22", "Engine message 22, 200-byte pass-through (channel's thread)"),
    ("signal_reply", "Server reply to the 22: response and callback (signal thread)"),
    ("signal_push_1400", "Push 1400 (signal thread)"),
    ("bare_1us", "Bare 1 µs loop, no plug-in (the machine's own tail)"),
]


def run(binary, extra, repetitions=("--benchmark_repetitions=5",
                                    "--benchmark_report_aggregates_only=true")):
    command = [binary, *repetitions, "--benchmark_format=json"] + extra
    environment = dict(os.environ)
    environment.setdefault("GLIBC_TUNABLES", HEAP_POLICY)
    result = subprocess.run(command, check=True, stdout=subprocess.PIPE, text=True,
                            env=environment)
    return json.loads(result.stdout)


def medians(report):
    rows = {}
    for entry in report["benchmarks"]:
        if entry.get("aggregate_name") != "median":
            continue
        if entry.get("error_occurred"):
            sys.exit(f"{entry['run_name']}: {entry.get('error_message', 'failed')}")
        # "/iterations:N", "/threads:N" and "/process_time" are how a benchmark runs, not part of
        # its row's name.
        rows[re.sub(r"(/(iterations|threads):\d+|/process_time)+$", "", entry["run_name"])] = entry
    return rows


def nanoseconds(entry):
    scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[entry.get("time_unit", "ns")]
    return entry["cpu_time"] * scale


def allocations(entry):
    value = entry.get("allocs")
    return "" if value is None else f"{value:,.0f}"


def heaps(rows):
    """Rows whose benchmarks report the heap a parsed document holds (heap_bytes, heap_blocks)."""
    pairs = [(name, peer) for name, ours in rows.items() if name.endswith("/ours") and
             "heap_bytes" in ours for peer in rows if peer.startswith(name[:-len("ours")])
             and peer != name]
    if not pairs:
        return
    print("\n| Heap held by | Peer | Ours (bytes / blocks) | Peer (bytes / blocks) | Ratio |")
    print("|---|---|---:|---:|---:|")
    for name, peer_name in pairs:
        ours, peer = rows[name], rows[peer_name]
        print(f"| {ours.get('label') or name} | {peer_name.split('/')[-1]} | "
              f"{ours['heap_bytes']:,.0f} / {ours['heap_blocks']:,.0f} | "
              f"{peer['heap_bytes']:,.0f} / {peer['heap_blocks']:,.0f} | "
              f"{ours['heap_bytes'] / peer['heap_bytes']:.2f} |")


def micros(value):
    return f"{value / 1000:,.1f}"


def host_threads(report):
    """The HostThreads tables: per-call hold times by load, then the idle figures."""
    runs = {entry["run_name"].split("/")[1]: entry for entry in report["benchmarks"]
            if entry["run_name"].startswith(HOST_THREADS + "/")}
    for entry in runs.values():
        if entry.get("error_occurred"):
            sys.exit(f"{entry['run_name']}: {entry.get('error_message', 'failed')}")
    loads = [load for load in ("quiet", "flood") if load in runs]
    if loads:
        print("\n| Host thread held per call (µs) | Load | Calls | p50 | p99 | p99.9 | Max | "
              "Preempted calls | p99.9 / max of the others |")
        print("|---|---|---:|---:|---:|---:|---:|---:|---:|")
        for row, text in HOST_ROWS:
            for load in loads:
                entry = runs[load]
                if f"{row}.p50_ns" not in entry:
                    continue
                print(f"| {text} | {load} | {entry[row + '.calls']:,.0f} | "
                      f"{micros(entry[row + '.p50_ns'])} | {micros(entry[row + '.p99_ns'])} | "
                      f"{micros(entry[row + '.p999_ns'])} | {micros(entry[row + '.max_ns'])} | "
                      f"{entry[row + '.preempted']:,.0f} | "
                      f"{micros(entry[row + '.unpreempted_p999_ns'])} / "
                      f"{micros(entry[row + '.unpreempted_max_ns'])} |")
        for load in loads:
            entry = runs[load]
            if "audio_480.allocs" in entry:
                print(f"Audio thread after its first block, {load}: "
                      f"{entry['audio_480.allocs']:,.0f} allocations, "
                      f"{entry.get('audio_480.waits', float('nan')):,.0f} waits "
                      "(times it went to sleep during a call), "
                      f"{entry.get('audio_480.lost', float('nan')):,.0f} blocks that did not "
                      "reach the engine")
    idle = runs.get("idle_60s")
    if idle:
        print("\n| Plug-in thread, 60 s on air and idle | Wake-ups | Processor time (µs) |")
        print("|---|---:|---:|")
        names = sorted({key.split(".")[1] for key in idle if key.startswith("idle.")})
        for name in [n for n in names if n != "all"] + ["all"]:
            print(f"| {name} | {idle[f'idle.{name}.wakeups']:,.0f} | "
                  f"{idle[f'idle.{name}.cpu_us']:,.0f} |")
        if "floor_alone.cpu_us" in idle:
            print(f"| floor: a bare 5 s timer thread alone, same run | "
                  f"{idle['floor_alone.wakeups']:,.0f} | {idle['floor_alone.cpu_us']:,.0f} |")
        if "floor.cpu_us" in idle:
            print(f"| floor: a bare 5 s timer thread waking a bare writer, same run | "
                  f"{idle['floor.wakeups']:,.0f} | {idle['floor.cpu_us']:,.0f} |")
            above = idle['idle.all.cpu_us'] - idle['floor.cpu_us']
            if above >= 0:
                print(f"Plug-in's own work above the pair's floor: {above:,.0f} µs of processor "
                      "time in 60 s")
            else:
                print(f"The plug-in used {-above:,.0f} µs less processor time than the pair's "
                      "floor in 60 s: the floor moves with the machine by more than that")


def main():
    if len(sys.argv) < 2:
        sys.exit("usage: ratios.py <kinetra_bench> [benchmark arguments]")
    rows = medians(run(sys.argv[1], [f"--benchmark_filter=-{HOST_THREADS}"] + sys.argv[2:]))
    paired = set()
    print("| Path | Peer | Ours (ns) | Peer (ns) | Ratio | Allocations (ours / peer) |")
    print("|---|---|---:|---:|---:|---|")
    for name, ours in rows.items():
        if not name.endswith("/ours"):
            continue
        stem = name[: -len("ours")]
        for peer_name, peer in rows.items():
            if not peer_name.startswith(stem) or peer_name == name:
                continue
            paired.update({name, peer_name})
            ours_ns, peer_ns = nanoseconds(ours), nanoseconds(peer)
            allocs = f"{allocations(ours)} / {allocations(peer)}" if "allocs" in ours else ""
            print(f"| {ours.get('label') or stem[:-1]} | {peer_name[len(stem):]} | "
                  f"{ours_ns:,.0f} | {peer_ns:,.0f} | {ours_ns / peer_ns:.2f} | {allocs} |")
    heaps(rows)
    others = [name for name in rows if name not in paired]
    if others:
        print("\nOther benchmarks (median processor time):")
        for name in others:
            allocs = f"  {allocations(rows[name])} allocations" if "allocs" in rows[name] else ""
            print(f"  {name:<44} {nanoseconds(rows[name]):>12,.1f} ns{allocs}")
    host_threads(run(sys.argv[1], [f"--benchmark_filter={HOST_THREADS}"] + sys.argv[2:],
                     repetitions=()))


if __name__ == "__main__":
    main()
