#!/usr/bin/env python3
"""Writes docs/performance.md from what the benchmark programs printed:
  bench_report.py RESULTS MACHINE OUTPUT
RESULTS holds fake.json, real.json and c.json (Google Benchmark), grep.txt and
wine.txt (tsen_wine_timing's lines); MACHINE holds "what: value" lines.
Every goal is one row of GOALS (a new ratio is a new row); every other
figure is listed as its program names it. Exits 1 when a figure that a row
needs is missing from a side that ran."""

import json
import re
import sys
from pathlib import Path

# A figure is SIDE:NAME, NAME as the program names it. fake and real: a
# benchmark of bench_fake or bench_real, the fastest repetition's CPU time;
# c: a benchmark of bench_c; wine: a line of tsen_wine_timing, wall time; grep: grep's CPU time a run.
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
    (5, FAKE + " (log a real file)", "fake:LogCommandInfo/star:0",
     "fake:appendToFile (open, lock, write, close)", ">= 0.8"),
    (5, REAL, "real:LogCommandInfo/star:0", "real:appendToFile (open, lock, write, close)",
     ">= 0.8"),
    (5, WINE, "wine:LogCommandInfo", "wine:CreateFileA, WriteFile, CloseHandle", ">= 0.8"),
    (5, FAKE, "fake:LogCommandInfo/star:0", "fake:fopen, fputs, fclose", ">="),
    (5, REAL, "real:LogCommandInfo/star:0", "real:fopen, fputs, fclose", ">="),
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


class Missing(Exception):
    pass


def read_results(folder):
    """{SIDE: {NAME: [(nanoseconds or count, counters)]}} for the sides that ran."""
    sides = {}
    for side in ("fake", "real", "c"):
        if (folder / f"{side}.json").exists():
            runs = sides.setdefault(side, {})
            for run in json.loads((folder / f"{side}.json").read_text()).get("benchmarks", []):
                if run.get("run_type") == "iteration":
                    runs.setdefault(run["run_name"], []).append(
                        (run["cpu_time"] * UNIT_NS[run["time_unit"]], run))
    if (folder / "grep.txt").exists():
        runs, user, system = (float(x) for x in (folder / "grep.txt").read_text().split())
        sides["grep"] = {"the sought line, a run": [((user + system) / runs * 1e9, {})]}
    if (folder / "wine.txt").exists():
        sides["wine"] = {}
        for line in (folder / "wine.txt").read_text(errors="replace").splitlines():
            match = re.fullmatch(r"(.+): ([\d.]+) (ns|calls)", line.strip())
            if match:
                value = float(match[2])
                sides["wine"][match[1]] = [(value, {"unit": match[3]})]
    return sides


def figure(sides, key):
    """(the fastest time or the count, every run), or None when the side did not run."""
    side, name = key.split(":", 1)
    if side not in sides:
        return None
    runs = sides[side].get(name)
    if not runs:
        raise Missing(f"no figure {key}")
    failed = [run["error_message"] for _, run in runs if run.get("error_occurred")]
    if failed:
        raise Missing(f"{key}: {failed[0]}")
    return min(value for value, _ in runs), [run for _, run in runs]


def name_of(key):
    return "`" + key.split(":", 1)[1] + "`"


def duration(ns):
    if ns < 1e3:
        return f"{ns:.1f} ns" if ns < 100 else f"{ns:.0f} ns"
    if ns < 1e6:
        return f"{ns / 1e3:.2f} µs" if ns < 1e4 else f"{ns / 1e3:.1f} µs"
    return f"{ns / 1e6:.2f} ms"


def goal_row(sides, measured, against, goal):
    """The cells Time, Time, Ratio and Result, and whether the goal is met
    (None: no goal, or a side that did not run)."""
    mine, floor = figure(sides, measured), figure(sides, against)
    if mine is None or floor is None:
        return ["—", "—", "—", "not run"], None
    kind, _, value = goal.partition(" ")
    ratio = floor[0] / mine[0] if kind == ">=" else mine[0] / floor[0]
    if kind == "no":
        count = sum(run.get(value, 1) for run in mine[1] + floor[1])
        met, note = count == 0, f" ({count:.0f} {value})"
    else:
        met = None if not value else ratio <= float(value) if kind == "<=" else ratio >= float(value)
        note = ""
    result = "—" if met is None else ("met" if met else "**missed**") + note
    return [duration(mine[0]), duration(floor[0]), f"{ratio:.2f}x", result], met


def shown(goal):
    kind, _, value = goal.partition(" ")
    return "—" if not value else {"<=": f"≤ {value}x", ">=": f"≥ {value}x"}.get(kind, goal)


def other_figures(sides, used):
    """Every figure no goal uses, as list lines: the programs' own names."""
    lines = []
    for side, figures in sides.items():
        for name, runs in figures.items():
            if f"{side}:{name}" not in used and not runs[0][1].get("error_occurred"):
                value = min(value for value, _ in runs)
                shown = (f"{value:.0f}" if runs[0][1].get("unit") == "calls" else
                         f"{duration(value)} {'wall' if side == 'wine' else 'CPU'} "
                         f"({1e9 / value:,.0f} a second)")
                lines.append(f"- {side}: `{name}`: {shown}")
    return lines


def main():
    results, machine, output = (Path(argument) for argument in sys.argv[1:4])
    sides = read_results(results)
    sections, verdicts, missing = [], [], []
    for issue, what in ISSUES.items():
        table = ["| Build | Clock | Measured | Time | Against | Time | Ratio | Goal | Result |",
                 "|---|---|---|---|---|---|---|---|---|"]
        for row_issue, build, key, floor, goal in GOALS:
            if row_issue == issue:
                try:
                    cells, met = goal_row(sides, key, floor, goal)
                except Missing as error:
                    missing.append(str(error))
                    cells, met = ["—", "—", "—", f"no figure ({error})"], None
                table.append("| " + " | ".join(
                    [build, "wall" if build == WINE else "CPU", name_of(key), cells[0],
                     name_of(floor), *cells[1:3], shown(goal), cells[3]]) + " |")
                verdicts += [] if met is None else [met]
        sections += ["", f"## Issue {issue}", "", what, ""] + table
    used = {key for row in GOALS for key in row[2:4]}
    sections += ["", "## Every other figure", "",
                 "As the programs name them (`fake`, `real`: the host's bench_fake and "
                 "bench_real; `grep`: `grep -F -m1` over the topic files of issue 6, process "
                 "start included; `wine`: tsen_wine_timing).", ""] + other_figures(sides, used)
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
