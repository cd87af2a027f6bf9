#!/usr/bin/env python3
"""bench_report.py RESULTS MACHINE OUTPUT: fills in the tables of OUTPUT
(docs/performance.md) from RESULTS (fake.json, real.json, c.json of Google
Benchmark; wine.txt, tsen_wine_timing's "name: figure ns" lines) and MACHINE
("what: value" lines), keeping the text around them. Exits 1 when a side that
ran lacks a figure that a goal needs."""

import json
import re
import sys
from pathlib import Path

# A figure is SIDE:NAME: a benchmark of bench_fake, bench_real or bench_c (the
# fastest repetition's CPU time) or a line of tsen_wine_timing (wall time).
# Goal "<= X": the time at most X times the other's; ">= X": lines per second
# at least X times the other's; "no C": the benchmarks' counter C stays 0.
FAKE, REAL, WINE = "host, test double", "host, registry file", "Wine"
HAND = " by hand (bare platform calls)"
GOALS = [
    (2, WINE, "wine:TsEnGetCurrentConfig",
     "wine:TsEnGetCurrentConfig by hand (RegOpenKeyA, RegQueryValueExA, RegCloseKey)", "<= 1.2"),
    (2, REAL + " of 1,000 keys", "real:TsEnGetCurrentConfig", "real:TsEnGetCurrentConfig" + HAND,
     "no reparses"),
    *((3, FAKE, f"fake:cached {name}", f"fake:string copy as long as {name}", "<= 2")
      for name in ("TsEnGetAppPath", "TsEnGetLanguageCode", "TsEnGetMyTessalinePath")),
    (3, REAL + " of 1,000 keys", "real:TsEnGetUserDataPath", "real:TsEnGetUserDataPath" + HAND,
     "<= 1.2"),
    (4, FAKE, "fake:60-character name without <", "fake:copy and upper-cased copy", "<= 2"),
    (4, WINE, "wine:TsEnBuildFilename(<APPATH>\\Help\\<LANGCODE>\\x.chm), caches warm",
     "wine:ExpandEnvironmentStringsA(%APPDATA%\\Help\\%USERNAME%\\x.chm)", "<= 1"),
    (5, REAL, "real:LogCommandInfo", "real:appendToFile (open, lock, write, close)", ">= 0.8"),
    (5, WINE, "wine:LogCommandInfo", "wine:CreateFileA, WriteFile, CloseHandle", ">= 0.8"),
    (6, "host, real files", "real:FindWikiPage", "real:reading the files with fgets", "<= 1.5"),
    (7, WINE, "wine:TsEnWikiHelp", "wine:TsEnWikiHelp by hand", "<= 1.3"),
    (7, FAKE, "fake:TsEnWikiHelp", "fake:TsEnWikiHelp by hand", "<= 1.3"),
    (13, "host, shared library", "c:TsEnGetAppPath over the C interface",
     "c:TsEnGetAppPath, direct export", "<= 1.1"),
]
UNIT_NS = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}


def read_results(folder):
    """{SIDE:NAME: [runs, each with its time in "ns"]}, and the sides that ran."""
    runs, sides = {}, set()
    for side in ("fake", "real", "c"):
        if (folder / f"{side}.json").exists():
            sides.add(side)
            for run in json.loads((folder / f"{side}.json").read_text()).get("benchmarks", []):
                if run.get("run_type") == "iteration":
                    run["ns"] = run.get("cpu_time", 0) * UNIT_NS[run.get("time_unit", "ns")]
                    runs.setdefault(f"{side}:{run['run_name']}", []).append(run)
    if (folder / "wine.txt").exists():
        sides.add("wine")
        text = (folder / "wine.txt").read_text(errors="replace")
        for name, ns in re.findall(r"^(.+): ([\d.]+) ns$", text, re.MULTILINE):
            runs[f"wine:{name}"] = [{"ns": float(ns)}]
    return runs, sides


def fastest(runs, key):
    """The figure's fastest time; LookupError when it is missing or failed."""
    if not runs.get(key):
        raise LookupError(f"no figure {key}")
    if runs[key][0].get("error_occurred"):
        raise LookupError(f"{key}: {runs[key][0]['error_message']}")
    return min(run["ns"] for run in runs[key])


def duration(ns):
    scale, unit = (1e6, "ms") if ns >= 1e6 else (1e3, "µs") if ns >= 1e3 else (1, "ns")
    value = ns / scale
    return f"{value:.{2 if value < 10 else 1 if value < 100 else 0}f} {unit}"


def result_cells(runs, measured, against, goal):
    """The cells Time, Time, Ratio and Result, and whether the goal is met."""
    mine, other = fastest(runs, measured), fastest(runs, against)
    kind, _, value = goal.partition(" ")
    ratio = other / mine if kind == ">=" else mine / other
    if kind == "no":
        count = sum(run.get(value, 1) for run in runs[measured] + runs[against])
        met, note = count == 0, f" ({count:.0f} {value})"
    else:
        met, note = ratio <= float(value) if kind == "<=" else ratio >= float(value), ""
    return [duration(mine), duration(other), f"{ratio:.2f}x",
            ("met" if met else "**missed**") + note], met


def splice(document, tables):
    """The document's lines, its first table replaced by tables[None], the one
    under "## Issue N" by tables[N]."""
    lines, issue = [], None
    for line in document.splitlines():
        if line.startswith("## Issue "):
            issue = int(line.split()[2])
        if not line.startswith("|"):
            lines.append(line)
        elif not lines[-1].startswith("|"):
            lines += tables.pop(issue)
    if tables:
        raise LookupError(f"no section for issue {', '.join(map(str, tables))}")
    return lines


def main():
    results, machine, output = (Path(argument) for argument in sys.argv[1:4])
    runs, sides = read_results(results)
    tables, verdicts, missing = {}, [], []
    for issue, build, measured, against, goal in GOALS:
        cells = ["—", "—", "—", "not run"]
        if {measured.split(":")[0], against.split(":")[0]} <= sides:
            try:
                cells, met = result_cells(runs, measured, against, goal)
                verdicts.append(met)
            except LookupError as error:
                missing.append(str(error))
                cells[3] = f"no figure ({error})"
        kind, _, value = goal.partition(" ")
        shown = {"<=": f"≤ {value}x", ">=": f"≥ {value}x"}.get(kind, goal)
        tables.setdefault(issue, [
            "| Build | Clock | Measured | Time | Against | Time | Ratio | Goal | Result |",
            "|---|---|---|---|---|---|---|---|---|"]).append("| " + " | ".join(
                [build, "wall" if build == WINE else "CPU", f"`{measured.split(':', 1)[1]}`",
                 cells[0], f"`{against.split(':', 1)[1]}`", *cells[1:3], shown, cells[3]]) + " |")
    ran = " and ".join(name for name, side in (("host", "fake"), ("Wine", "wine")) if side in sides)
    facts = [f"Goals met: {sum(verdicts)} of {len(verdicts)} measured ({ran} benchmarks)"]
    facts += machine.read_text().splitlines()
    tables[None] = ["|  |  |", "|---|---|"] + [
        f"| {' | '.join(line.split(': ', 1))} |" for line in facts if ": " in line]
    output.write_text("\n".join(splice(output.read_text(), tables)) + "\n")
    for error in missing:
        print(f"missing: {error}", file=sys.stderr)
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
