#!/usr/bin/env python3
"""Writes docs/performance.md from what the benchmark programs printed:
  bench_report.py RESULTS MACHINE OUTPUT
RESULTS holds fake.json, real.json and c.json (Google Benchmark) and wine.txt
(tsen_wine_timing's lines); MACHINE holds "what: value" lines. Every goal is
one row of GOALS (a new ratio is a new row). Exits 1 when a figure that a row
needs is missing from a side that ran."""

import json
import re
import sys
from pathlib import Path

# A figure is SIDE:NAME, NAME as the program names it. fake and real: a
# benchmark of bench_fake or bench_real, the fastest repetition's CPU time;
# c: a benchmark of bench_c; wine: a line of tsen_wine_timing, wall time.
# Goal: "<= X", the time at most X times the other's; ">= X", lines per
# second at least X times the other's (the ratio is the other's time over the
# measured); "no C", the benchmarks' counter C stays 0; "<=" or ">=" alone,
# the ratio shown without a goal.
FAKE, REAL, WINE = "host, test double", "host, registry file", "Wine"
HAND = " by hand (bare platform calls)"
GOALS = [
    (2, WINE, "wine:TsEnGetCurrentConfig",
     "wine:TsEnGetCurrentConfig by hand (RegOpenKeyA, RegQueryValueExA, RegCloseKey)", "<= 1.2"),
    (2, REAL + " of 1,000 keys", "real:TsEnGetCurrentConfig", "real:TsEnGetCurrentConfig" + HAND,
     "no reparses"),
    (3, FAKE, "fake:cached TsEnGetAppPath", "fake:string copy as long as TsEnGetAppPath", "<= 2"),
    (3, FAKE, "fake:cached TsEnGetLanguageCode", "fake:string copy as long as TsEnGetLanguageCode",
     "<= 2"),
    (3, FAKE, "fake:cached TsEnGetMyTessalinePath",
     "fake:string copy as long as TsEnGetMyTessalinePath", "<= 2"),
    (3, REAL + " of 1,000 keys", "real:TsEnGetUserDataPath", "real:TsEnGetUserDataPath" + HAND, "<= 1.2"),
    (4, FAKE, "fake:60-character name without <", "fake:copy and upper-cased copy", "<= 2"),
    (4, WINE, "wine:TsEnBuildFilename(<APPATH>\\Help\\<LANGCODE>\\x.chm), caches warm",
     "wine:ExpandEnvironmentStringsA(%APPDATA%\\Help\\%USERNAME%\\x.chm)", "<= 1"),
    (5, FAKE + " (log a real file)", "fake:LogCommandInfo",
     "fake:appendToFile (open, lock, write, close)", ">= 0.8"),
    (5, REAL, "real:LogCommandInfo", "real:appendToFile (open, lock, write, close)",
     ">= 0.8"),
    (5, WINE, "wine:LogCommandInfo", "wine:CreateFileA, WriteFile, CloseHandle", ">= 0.8"),
    (5, FAKE, "fake:LogCommandInfo", "fake:fopen, fputs, fclose", ">="),
    (5, REAL, "real:LogCommandInfo", "real:fopen, fputs, fclose", ">="),
    (6, "host, real files", "real:FindWikiPage", "real:reading the files with fgets", "<= 1.5"),
    (7, WINE, "wine:TsEnWikiHelp", "wine:TsEnWikiHelp by hand", "<= 1.3"),
    (7, FAKE, "fake:TsEnWikiHelp", "fake:TsEnWikiHelp by hand", "<= 1.3"),
    (13, "host, shared library", "c:TsEnGetAppPath over the C interface",
     "c:TsEnGetAppPath, direct export", "<= 1.1"),
]

ISSUES = {
    2: "`TsEnGetCurrentConfig` against the bare registry calls it must make (open, query, "
       "close; twice).",
    3: "The kept answers against a plain copy of a string as long (test double); "
       "`TsEnGetUserDataPath` against the platform calls it makes (registry file).",
    4: "File name expansion: a 60-character name without \"<\" against one copy and one "
       "upper-cased copy; under Wine, a warm `TsEnBuildFilename(\"<APPATH>\\Help\\<LANGCODE>"
       "\\x.chm\", 0, 0)` against `ExpandEnvironmentStringsA` of a name with two variables.",
    5: "`LogCommandInfo` lines per second against a bare loop that opens the log for appending, "
       "writes the same line and closes it; the ratio is lines per second, library over floor.",
    6: "`FindWikiPage` over 20 topic files of 5,000 lines, the topic on the last line of the "
       "last file, against reading the same files without examining them.",
    7: "From `TsEnWikiHelp` to the shell call against composing the same address by plain "
       "concatenation after reading the same registry values and files directly.",
    13: "The kept application folder through the header's inline definitions over the C "
        "interface against the direct export, both from the shared library.",
}
UNIT_NS = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}


def read_results(folder):
    """{SIDE: {NAME: [Google Benchmark's run, or {"ns": wall time}]}} for the sides that ran."""
    sides = {}
    for side in ("fake", "real", "c"):
        if (folder / f"{side}.json").exists():
            runs = sides.setdefault(side, {})
            for run in json.loads((folder / f"{side}.json").read_text()).get("benchmarks", []):
                if run.get("run_type") == "iteration":
                    run["ns"] = run["cpu_time"] * UNIT_NS[run["time_unit"]]
                    runs.setdefault(run["run_name"], []).append(run)
    if (folder / "wine.txt").exists():
        lines = (folder / "wine.txt").read_text(errors="replace").splitlines()
        matches = (re.fullmatch(r"(.+): ([\d.]+) ns", line.strip()) for line in lines)
        sides["wine"] = {match[1]: [{"ns": float(match[2])}] for match in matches if match}
    return sides


def figure(sides, key):
    """Every run of the figure; None when its side did not run. Raises
    LookupError when the side ran but the figure is missing or failed."""
    side, name = key.split(":", 1)
    runs = sides[side].get(name) if side in sides else None
    if side in sides and not runs:
        raise LookupError(f"no figure {key}")
    if runs and runs[0].get("error_occurred"):
        raise LookupError(f"{key}: {runs[0]['error_message']}")
    return runs


def duration(ns):
    for unit, scale in (("ms", 1e6), ("µs", 1e3), ("ns", 1)):
        if ns >= scale or unit == "ns":
            return f"{ns / scale:.{2 if ns / scale < 10 else 1 if ns / scale < 100 else 0}f} {unit}"


def goal_row(sides, measured, against, goal):
    """The cells Time, Time, Ratio and Result, and whether the goal is met
    (None: no goal, or a side that did not run)."""
    mine, floor = figure(sides, measured), figure(sides, against)
    if mine is None or floor is None:
        return ["—", "—", "—", "not run"], None
    best, other = min(run["ns"] for run in mine), min(run["ns"] for run in floor)
    kind, _, value = goal.partition(" ")
    ratio = other / best if kind == ">=" else best / other
    note = ""
    if kind == "no":
        count = sum(run.get(value, 1) for run in mine + floor)
        met, note = count == 0, f" ({count:.0f} {value})"
    else:
        met = None if not value else ratio <= float(value) if kind == "<=" else ratio >= float(value)
    result = "—" if met is None else ("met" if met else "**missed**") + note
    return [duration(best), duration(other), f"{ratio:.2f}x", result], met


def main():
    results, machine, output = (Path(argument) for argument in sys.argv[1:4])
    sides = read_results(results)
    sections, verdicts, missing = [], [], []
    for issue, what in ISSUES.items():
        table = ["| Build | Clock | Measured | Time | Against | Time | Ratio | Goal | Result |",
                 "|---|---|---|---|---|---|---|---|---|"]
        for build, key, floor, goal in (row[1:] for row in GOALS if row[0] == issue):
            try:
                cells, met = goal_row(sides, key, floor, goal)
            except LookupError as error:
                missing.append(str(error))
                cells, met = ["—", "—", "—", f"no figure ({error})"], None
            kind, _, value = goal.partition(" ")
            shown = "—" if not value else {"<=": f"≤ {value}x", ">=": f"≥ {value}x"}.get(kind, goal)
            table.append("| " + " | ".join(
                [build, "wall" if build == WINE else "CPU", f"`{key.split(':', 1)[1]}`", cells[0],
                 f"`{floor.split(':', 1)[1]}`", *cells[1:3], shown, cells[3]]) + " |")
            verdicts += [] if met is None else [met]
        sections += ["", f"## Issue {issue}", "", what, ""] + table
    ran = " and ".join(name for name, part in (("host", "fake"), ("Wine", "wine")) if part in sides)
    facts = [line.split(": ", 1) for line in machine.read_text().splitlines() if ": " in line]
    output.write_text("\n".join([
        "# Performance", "",
        f"Written by `scripts/bench.sh` ({ran} benchmarks); run it again rather than editing "
        f"this file. {sum(verdicts)} of {len(verdicts)} goals measured are met.", "",
        "|  |  |", "|---|---|"] + [f"| {what} | {value} |" for what, value in facts] + [
        "", "How the figures are taken:", "",
        "- **Host** (Google Benchmark, Release build): each benchmark repeated 8 times, "
        "interleaved at random with the others of its program so that a busy spell falls on "
        "both sides of a comparison alike; the fastest repetition's **CPU time** per call, "
        "which leaves out the time the process waits for a core. Raw results in "
        "`build/bench-results/`.",
        "- **Wine** (`tsen_wine_timing`): **wall time**, the fastest of batches that alternate "
        "between the two sides (CPU time would leave out the Wine server's work).",
        "- **Ratio**: the measured time over the other's; against a goal \"≥\", lines per "
        "second, the measured over the other's. Under load a ratio near its goal can fall on "
        "either side of it from one run to the next.",
    ] + sections) + "\n")
    for error in missing:
        print(f"missing: {error}", file=sys.stderr)
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
