#!/usr/bin/env python3
"""Counts the instructions of one engine request through the plug-in: the round-trip row, run
under valgrind's callgrind once with one repetition and once with three, the difference divided
by the round trips between them, so that starting and stopping the plug-in cancel out. The count
is the whole process's, the log writer's share included.

Time on a shared machine moves with the load by half from one minute to the next; the count
does not, so a change to the round trip is judged by it. With --stages, the stages of the
three-repetition run are listed as well (callgrind_annotate, inclusive, per round trip).

    python3 bench/instructions.py build/bench/bin/kinetra_bench [--stages]
"""
import re
import subprocess
import sys
import tempfile

ROW = "UpdateQueryRoundTrip/plugin"
# Functions whose inclusive count is a stage of the round trip, as named in the profile.
STAGES = [
    ("the engine's query to the task handed to the host", "ReqUpdateInfoCmd::ExecuteReqUpdateCommand(std"),
    ("writing the request", "::Encode(service_plugin::"),
    ("reading the reply", "taf::detail::decodeReplyWith<"),
    ("answering the engine", "::OnCallback()"),
    ("the log writer", "core::logger::run()"),
]


def run(binary, repetitions, out_file):
    """Runs the row under callgrind; returns the instructions collected and the iterations."""
    result = subprocess.run(
        ["valgrind", "--tool=callgrind", f"--callgrind-out-file={out_file}", binary,
         f"--benchmark_filter={ROW}/", f"--benchmark_repetitions={repetitions}"],
        capture_output=True, text=True, check=True)
    collected = re.findall(r"Collected : (\d+)", result.stderr)
    iterations = re.search(r"/iterations:(\d+)", result.stdout)
    if not collected or not iterations:
        sys.exit("callgrind or the benchmark printed nothing to count: is valgrind installed?")
    return int(collected[-1]), int(iterations.group(1)) * repetitions


def stages(profile, round_trips):
    listing = subprocess.run(["callgrind_annotate", "--inclusive=yes", profile],
                             capture_output=True, text=True, check=True).stdout
    for name, symbol in STAGES:
        for line in listing.splitlines():
            if symbol in line:
                count = int(line.split()[0].replace(",", ""))
                print(f"  {name:<52} {count // round_trips:>8,}")
                break


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    binary = sys.argv[1]
    with tempfile.TemporaryDirectory() as folder:
        once, once_trips = run(binary, 1, f"{folder}/once")
        thrice, thrice_trips = run(binary, 3, f"{folder}/thrice")
        round_trips = thrice_trips - once_trips
        print(f"{ROW}: {(thrice - once) // round_trips:,} instructions per round trip "
              f"(callgrind, {round_trips:,} round trips)")
        if "--stages" in sys.argv[2:]:
            stages(f"{folder}/thrice", thrice_trips)


if __name__ == "__main__":
    main()
