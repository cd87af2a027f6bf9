#!/usr/bin/env python3
"""Writes docs/performance.md from the raw output that scripts/bench.sh keeps:
Google Benchmark JSON files of the host programs and the printed figures of
the timing programs run under Wine. Each goal of the issues becomes one row:
what is measured, against what, both times, the ratio, the goal and whether
it is met.

  bench_report.py [--host BUILD] [--windows BUILD] --started TIME --load LOAD
                  --seconds N --output FILE

Exits 1 when a figure that a row needs is missing from a part that ran.
"""

import argparse
import json
import os
import platform
import re
import shutil
import subprocess
import sys
from pathlib import Path

UNIT_NS = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


class Missing(Exception):
    """A figure a row needs is not in the results."""


class NotRun(Exception):
    """The row's part (host or Wine) was not run."""


# ---- Results ----------------------------------------------------------------


class HostProgram:
    """One Google Benchmark program's repetitions, by benchmark name."""

    def __init__(self, results, program):
        self.program = program
        path = results / f"{program}.json"
        if not path.exists():
            raise Missing(f"{program} wrote no results")
        try:
            document = json.loads(path.read_text())
        except ValueError as error:
            raise Missing(f"{program}: unreadable results ({error})") from error
        self.runs = {}
        for run in document.get("benchmarks", []):
            if run.get("run_type", "iteration") == "iteration":
                self.runs.setdefault(run["run_name"], []).append(run)

    def repetitions(self, name):
        runs = self.runs.get(name)
        if not runs:
            raise Missing(f"{self.program} has no benchmark {name}")
        failed = [run for run in runs if run.get("error_occurred")]
        if failed:
            raise Missing(f"{name}: {failed[0].get('error_message', 'failed')}")
        return runs

    def cpu_ns(self, name):
        """The fastest repetition's CPU time per iteration, in nanoseconds."""
        return min(run["cpu_time"] * UNIT_NS[run["time_unit"]] for run in self.repetitions(name))

    def counter_total(self, name, counter):
        runs = self.repetitions(name)
        if any(counter not in run for run in runs):
            raise Missing(f"{name} reports no counter {counter}")
        return sum(run[counter] for run in runs)


class WineProgram:
    """The printed output of one Wine timing program."""

    def __init__(self, results, program):
        self.program = program
        path = results / f"{program}.txt"
        if not path.exists():
            raise Missing(f"{program} did not run")
        self.lines = path.read_text(errors="replace").splitlines()

    def number(self, pattern, group=1):
        for line in self.lines:
            match = re.search(pattern, line)
            if match:
                return float(match.group(group))
        raise Missing(f"{self.program} printed no line matching {pattern!r}")

    def row(self, label):
        """A row of the command log table: (nanoseconds per line, bare/this)."""
        pattern = rf"^\s*{re.escape(label)}\s+([\d.]+) us\s+\d+ /s\s+([\d.]+)x\s*$"
        return self.number(pattern) * 1e3, self.number(pattern, 2)


class Results:
    def __init__(self, host_build, windows_build):
        self.host_dir = host_build / "bench-results" if host_build else None
        self.wine_dir = windows_build / "bench-results" if windows_build else None
        self._cache = {}

    def host(self, program):
        if self.host_dir is None:
            raise NotRun()
        key = ("host", program)
        if key not in self._cache:
            self._cache[key] = HostProgram(self.host_dir, program)
        return self._cache[key]

    def wine(self, program):
        if self.wine_dir is None:
            raise NotRun()
        key = ("wine", program)
        if key not in self._cache:
            self._cache[key] = WineProgram(self.wine_dir, program)
        return self._cache[key]

    def grep(self):
        """Per grep run: (wall, CPU) in nanoseconds, process start included."""
        if self.host_dir is None:
            raise NotRun()
        path = self.host_dir / "grep.txt"
        if not path.exists():
            raise Missing("grep was not timed")
        fields = path.read_text().split()
        if len(fields) != 4:
            raise Missing("grep timing unreadable")
        runs, real, user, system = int(fields[0]), *map(float, fields[1:])
        return real / runs * 1e9, (user + system) / runs * 1e9


# ---- Formatting ---------------------------------------------------------------


def duration(ns):
    if ns < 1e3:
        return f"{ns:.1f} ns" if ns < 100 else f"{ns:.0f} ns"
    if ns < 1e6:
        return f"{ns / 1e3:.2f} µs" if ns < 1e4 else f"{ns / 1e3:.1f} µs"
    return f"{ns / 1e6:.2f} ms"


def rate(ns):
    per_second = 1e9 / ns
    return f"{per_second / 1e3:.1f} k/s" if per_second >= 1e4 else f"{per_second:.0f} /s"


# ---- Rows ----------------------------------------------------------------------

HOST, WINE = "host", "Wine"


class AtMost:
    """A time ratio: the library's time at most limit times the floor's."""

    def __init__(self, limit):
        self.limit = limit
        self.text = f"≤ {limit:g}x"

    def met(self, ratio):
        return ratio <= self.limit


class AtLeast:
    """A throughput ratio: the library's lines per second at least limit
    times the floor's."""

    def __init__(self, limit):
        self.limit = limit
        self.text = f"≥ {limit:g}x"

    def met(self, ratio):
        return ratio >= self.limit


class Condition:
    """A goal that is no ratio; the measurement tells whether it holds."""

    limit = None

    def __init__(self, text):
        self.text = text


class Row:
    """One goal: measured against its floor, the ratio checked against the goal.

    measure() answers (time, floor time, ratio, note, holds), holds only for
    a Condition; it raises Missing or NotRun when its figures are not there."""

    def __init__(self, part, build, measured, against, goal, earlier, measure):
        self.part, self.build, self.measured, self.against = part, build, measured, against
        self.goal, self.earlier, self.measure = goal, earlier, measure

    def verdict(self):
        """(time, floor, ratio as shown, met, note)."""
        time, floor, ratio, note, holds = self.measure()
        if self.goal.limit is None:
            return time, floor, f"{ratio:.2f}x", holds, note
        met = self.goal.met(ratio)
        shown = f"{ratio:.2f}"
        # A third decimal where two would make a miss look like a hit.
        if self.goal.met(float(shown)) != met:
            shown = f"{ratio:.3f}"
        return time, floor, shown + "x", met, note


def host_pair(results, program, name, floor_name, throughput=False):
    """Two benchmarks of one host program; with throughput, the ratio is
    the floor's time over the library's (lines per second, library over floor)."""

    def measure():
        bench = results.host(program)
        time, floor = bench.cpu_ns(name), bench.cpu_ns(floor_name)
        return time, floor, floor / time if throughput else time / floor, "", None

    return measure


def issue_rows(results):
    r = results

    def wine_registry_read():
        out = r.wine("tsen_wine_registry_timing")
        return (out.number(r"^TsEnGetCurrentConfig\s+([\d.]+) ns/call"),
                out.number(r"^bare Win32 calls\s+([\d.]+) ns/call"),
                out.number(r"^ratio\s+([\d.]+)"), "", None)

    def host_registry_read():
        bench = r.host("bench_RegistryBench")
        time = bench.cpu_ns("BM_GetCurrentConfig")
        floor = bench.cpu_ns("BM_BareRegistryCalls")
        reparses = sum(bench.counter_total(name, "reparses")
                       for name in ("BM_GetCurrentConfig", "BM_BareRegistryCalls"))
        return time, floor, time / floor, f"{reparses:.0f} re-parses", reparses == 0

    def wine_expansion_read():
        out = r.wine("tsen_wine_expansion_timing")
        return (out.number(r"^TsEnBuildFilename\s+([\d.]+) ns/call"),
                out.number(r"^ExpandEnvironmentStringsA\s+([\d.]+) ns/call"),
                out.number(r"^ratio\s+([\d.]+)"), "", None)

    def wine_log_read():
        out = r.wine("tsen_wine_command_log_timing")
        time, ratio = out.row("LogCommandInfo")
        floor, _ = out.row("bare CreateFileA/WriteFile/CloseHandle")
        return time, floor, ratio, "", None

    def wine_wiki_read():
        out = r.wine("tsen_wiki_launch_timing")
        return (out.number(r"^TsEnWikiHelp to the shell call:\s+([\d.]+) us") * 1e3,
                out.number(r"^the same by hand:\s+([\d.]+) us") * 1e3,
                out.number(r"^ratio \(median of .*\): ([\d.]+)"),
                "median of the rounds' ratios", None)

    folders = "bench_FoldersBench_fake"
    log_floor = "`appendToFile` (open, lock, write, close)"
    return {
        2: ("`TsEnGetCurrentConfig` against the bare registry calls it must make "
            "(open, query, close; twice).",
            [
                Row(WINE, "Wine", "`TsEnGetCurrentConfig`",
                    "bare RegOpenKeyA/RegQueryValueExA/RegCloseKey", AtMost(1.2), "0.91–1.04",
                    wine_registry_read),
                Row(HOST, "host, registry file of 1,000 keys", "`TsEnGetCurrentConfig`",
                    "bare platform calls", Condition("no re-parse of the unchanged file"),
                    "0.95 (12.1 µs / 12.7 µs)", host_registry_read),
            ]),
        3: ("The kept answers against a plain copy of a string as long (test double); "
            "`TsEnGetUserDataPath` against the platform calls it makes (registry file).",
            [
                Row(HOST, "host, test double", f"cached `{name}`", "string copy", AtMost(2),
                    earlier, host_pair(r, folders, f"cached/{name}", f"plainCopy/{name}"))
                for name, earlier in (("TsEnGetAppPath", "1.13x"),
                                      ("TsEnGetLanguageCode", "1.48x"),
                                      ("TsEnGetMyTessalinePath", "1.47x"))
            ] + [
                Row(HOST, "host, registry file", "`TsEnGetUserDataPath`",
                    "its bare platform calls", AtMost(1.2), "1.04x",
                    host_pair(r, "bench_FoldersBench", "TsEnGetUserDataPath",
                              "TsEnGetUserDataPath/bare platform calls")),
            ]),
        4: ("File name expansion: a 60-character name without \"<\" against one copy and one "
            "upper-cased copy; under Wine, a warm `TsEnBuildFilename(\"<APPATH>\\Help\\"
            "<LANGCODE>\\x.chm\", 0, 0)` against `ExpandEnvironmentStringsA` of a name with "
            "two variables.",
            [
                Row(HOST, "host, test double", "60-character name without \"<\"",
                    "copy + upper-cased copy", AtMost(2), "1.11x",
                    host_pair(r, "bench_ExpansionBench_fake", "BM_PlainName",
                              "BM_PlainNameFloor")),
                Row(WINE, "Wine", "`TsEnBuildFilename`, warm caches",
                    "`ExpandEnvironmentStringsA`, two variables", AtMost(1), "0.47–0.59",
                    wine_expansion_read),
            ]),
        5: ("`LogCommandInfo` lines per second against a bare loop that opens the log for "
            "appending, writes the same line and closes it; the ratio is lines per second, "
            "library over floor.",
            [
                Row(HOST, "host, test double (log a real file)", "`LogCommandInfo`", log_floor,
                    AtLeast(0.8), "0.75x (0.84x against fopen/fputs/fclose)",
                    host_pair(r, "bench_CommandLogBench_fake", "LogCommandInfoLine/star:0",
                              "FloorAppendToFile", throughput=True)),
                Row(HOST, "host, registry file", "`LogCommandInfo`", log_floor, AtLeast(0.8),
                    "0.27x",
                    host_pair(r, "bench_CommandLogBench", "LogCommandInfoLine/star:0",
                              "FloorAppendToFile", throughput=True)),
                Row(WINE, "Wine", "`LogCommandInfo`", "CreateFileA/WriteFile/CloseHandle",
                    AtLeast(0.8), "0.15–0.16x", wine_log_read),
            ]),
        6: ("`FindWikiPage` over 20 topic files of 5,000 lines, the topic on the last line of "
            "the last file, against reading the same files without examining them.",
            [
                Row(HOST, "host, real files", "`FindWikiPage`", "reading the files (fgets)",
                    AtMost(1.5), "1.44x (4.80 ms / 3.34 ms)",
                    host_pair(r, "bench_TopicFilesBench", "BM_FindWikiPage",
                              "BM_ReadFilesOnly")),
            ]),
        7: ("From `TsEnWikiHelp` to the shell call against composing the same address by "
            "plain concatenation after reading the same registry values and files directly.",
            [
                Row(WINE, "Wine", "`TsEnWikiHelp`", "the same by hand", AtMost(1.3),
                    "1.20–1.23", wine_wiki_read),
                Row(HOST, "host, test double", "`TsEnWikiHelp`", "the same by hand",
                    AtMost(1.3), "2.1x",
                    host_pair(r, "bench_WikiLaunchBench_fake", "BM_WikiHelp",
                              "BM_PlainConcatenation")),
            ]),
    }


# ---- Figures beside the goals --------------------------------------------------


def beside(results, issue):
    """Further figures the issue asked for, as lines of text."""
    r = results
    lines = []

    def add(what, figure):
        try:
            lines.append(f"{what}: {figure()}")
        except NotRun:
            pass
        except Missing as error:
            lines.append(f"{what}: no figure ({error})")

    def host_time(program, name):
        return lambda: duration(r.host(program).cpu_ns(name)) + " CPU"

    def host_calls(program, name):
        def figure():
            ns = r.host(program).cpu_ns(name)
            return f"{duration(ns)} CPU a call ({rate(ns)})"

        return figure

    def wine_calls(label):
        def figure():
            ns, _ = r.wine("tsen_wine_command_log_timing").row(label)
            return f"{duration(ns)} a call ({rate(ns)})"

        return figure

    if issue == 4:
        add("Host, test double: a name with `<APPATH>`, `<LANGCODE>` and `<USERDATA>`, caches "
            "warm (earlier 1.0 µs)", host_time("bench_ExpansionBench_fake", "BM_ThreeTokensWarm"))
    elif issue == 5:
        for program, build in (("bench_CommandLogBench_fake", "test double"),
                               ("bench_CommandLogBench", "registry file")):
            def fopen_ratio(program=program):
                bench = r.host(program)
                floor = bench.cpu_ns("FloorFopenAppend")
                ratio = floor / bench.cpu_ns("LogCommandInfoLine/star:0")
                return f"{ratio:.2f}x ({duration(floor)} CPU a line)"

            add(f"Host, {build}: `LogCommandInfo` against fopen/fputs/fclose", fopen_ratio)
            add(f"Host, {build}: `LogCommandInfo` with the domain `*` (read from the registry)",
                host_calls(program, "LogCommandInfoLine/star:1"))
            add(f"Host, {build}: `setLastTessalineCommand`, logging on",
                host_calls(program, "SetLastTessalineCommand/logging:1"))
            add(f"Host, {build}: `setLastTessalineCommand`, logging off",
                host_calls(program, "SetLastTessalineCommand/logging:0"))
        add("Wine: `setLastTessalineCommand`, logging on",
            wine_calls("setLastTessalineCommand, logging on"))
        add("Wine: `setLastTessalineCommand`, logging off",
            wine_calls("setLastTessalineCommand, logging off"))
        add("Wine: `LogCommandInfo`, logging off", wine_calls("LogCommandInfo, logging off"))
        for step in ("TsEnQVRConnect", "LogCommands read (open modules key)",
                     "TsEnGetCurrentConfig", "getActiveTessalineDomain",
                     "SHGetFolderPathA(CSIDL_APPDATA)", "TsEnGetUserDataPath",
                     "TsEnBuildFilename(<USERDATA>\\...)", "bare append with read access and lock"):
            add(f"Wine, one step of a line: `{step}`", wine_calls(step))
    elif issue == 6:
        def grep_figure():
            wall, cpu = r.grep()
            return f"{duration(cpu)} CPU, {duration(wall)} wall a run, process start included"

        add("Host: `grep -F -m1` for the same line over the same files (earlier 10.3 ms CPU)",
            grep_figure)
        add("Host: `FindWikiPageForHelp` over the same files",
            host_time("bench_TopicFilesBench", "BM_FindWikiPageForHelp"))
        add("Host: `FindCompiledHelpTopic` over the same files",
            host_time("bench_TopicFilesBench", "BM_FindCompiledHelpTopic"))
    elif issue == 7:
        def calls(kind):
            def figure():
                out = r.wine("tsen_wiki_launch_timing")
                pattern = rf"^\s+{kind}\s+(\d+)\s+(\d+)\s*$"
                return (f"{out.number(pattern):.0f} by the library, "
                        f"{out.number(pattern, 2):.0f} by hand")

            return figure

        for kind in ("registry key opens", "registry value queries", "folder listings",
                     "files opened"):
            add(f"Wine, {kind} per request", calls(kind))
    return lines


# ---- The machine ---------------------------------------------------------------


def first_line(command):
    try:
        done = subprocess.run(command, capture_output=True, text=True, timeout=60)
    except (OSError, subprocess.TimeoutExpired):
        return None
    text = (done.stdout or done.stderr).strip()
    return text.splitlines()[0] if text else None


def cache_value(build, name):
    cache = build / "CMakeCache.txt"
    if cache.exists():
        for line in cache.read_text(errors="replace").splitlines():
            if line.startswith(name + ":"):
                return line.split("=", 1)[1]
    return None


def compiler_of(build):
    """The C++ compiler a build was configured with (a toolchain file's
    choice is not in the cache, but CMake records it here)."""
    for recorded in sorted(build.glob("CMakeFiles/*/CMakeCXXCompiler.cmake")):
        match = re.search(r'set\(CMAKE_CXX_COMPILER "([^"]+)"\)', recorded.read_text())
        if match:
            return match.group(1)
    return cache_value(build, "CMAKE_CXX_COMPILER")


def cpu_model():
    try:
        for line in Path("/proc/cpuinfo").read_text().splitlines():
            if line.startswith("model name"):
                return line.split(":", 1)[1].strip()
    except OSError:
        pass
    return platform.processor() or "unknown"


def machine(arguments):
    rows = [
        ("Benchmarks run", f"{arguments.started}, {arguments.seconds} s (builds not counted)"),
        ("Machine", f"{cpu_model()}, {os.cpu_count()} cores"),
        ("Load average", f"{arguments.load} at the start of the runs, "
         f"{' '.join(Path('/proc/loadavg').read_text().split()[:3])} at the end"),
        ("Kernel", f"{platform.system()} {platform.release()} {platform.machine()}"),
    ]
    for label, build in (("Host compiler", arguments.host), ("Windows compiler",
                                                             arguments.windows)):
        compiler = compiler_of(build) if build else None
        if compiler:
            build_type = cache_value(build, "CMAKE_BUILD_TYPE") or ""
            flags = cache_value(build, "CMAKE_CXX_FLAGS_" + build_type.upper())
            version = first_line([compiler, "--version"]) or compiler
            program = os.path.realpath(shutil.which(compiler) or compiler)
            rows.append((label, f"{version} (`{program}`, {build_type} `{flags}`)"))
    if arguments.host:
        version = first_line(["dpkg-query", "-W", "-f=${Version}", "libbenchmark-dev"])
        rows.append(("Google Benchmark", version or "unknown"))
    if arguments.windows:
        wine = os.environ.get("TSEN_WINE64", "/usr/lib/wine/wine64")
        rows.append(("Wine", first_line([wine, "--version"]) or "unknown"))
    return rows


# ---- The document --------------------------------------------------------------


def table(rows):
    lines = ["| " + " | ".join(rows[0]) + " |", "|" + "---|" * len(rows[0])]
    lines += ["| " + " | ".join(row) + " |" for row in rows[1:]]
    return lines


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--host", type=Path, help="the host build folder")
    parser.add_argument("--windows", type=Path, help="the Windows build folder")
    parser.add_argument("--started", required=True, help="when the benchmarks started")
    parser.add_argument("--load", required=True, help="load average at the start")
    parser.add_argument("--seconds", required=True, help="how long the benchmarks took")
    parser.add_argument("--output", type=Path, required=True)
    arguments = parser.parse_args()
    results = Results(arguments.host, arguments.windows)

    sections, summary, missing = [], [], []
    for issue, (what, rows) in issue_rows(results).items():
        body = [["Build", "Clock", "Measured", "Time", "Against", "Time", "Ratio", "Goal",
                 "Result", "Earlier (stop 9)"]]
        for row in rows:
            clock = "CPU" if row.part == HOST else "wall"
            try:
                time, floor, ratio, met, note = row.verdict()
            except NotRun:
                body.append([row.build, clock, row.measured, "—", row.against, "—", "—",
                             row.goal.text, "not run", row.earlier])
                continue
            except Missing as error:
                missing.append(f"issue {issue}, {row.build}: {error}")
                body.append([row.build, clock, row.measured, "—", row.against, "—", "—",
                             row.goal.text, f"no figure ({error})", row.earlier])
                continue
            result = "met" if met else "**missed**"
            if note:
                result += f" ({note})"
            body.append([row.build, clock, row.measured, duration(time), row.against,
                         duration(floor), ratio, row.goal.text, result, row.earlier])
            summary.append(met)
        sections += ["", f"## Issue {issue}", "", what, ""] + table(body)
        extra = beside(results, issue)
        if extra:
            sections += ["", "Beside it:", ""] + [f"- {line}" for line in extra]

    parts = [name for name, build in (("host", arguments.host), ("Wine", arguments.windows))
             if build]
    document = [
        "# Performance",
        "",
        f"Written by `scripts/bench.sh` ({' and '.join(parts)} benchmarks); run it again "
        "rather than editing this file. "
        f"{sum(summary)} of {len(summary)} goals measured are met.",
        "",
    ] + table([["", ""]] + [list(row) for row in machine(arguments)]) + [
        "",
        "How the figures are taken:",
        "",
        "- **Host** (Google Benchmark, Release build): each benchmark is repeated 8 times, "
        "the repetitions of a program's benchmarks interleaved at random so that a busy spell "
        "of the machine falls on both sides of a comparison alike. A figure is the fastest "
        "repetition's **CPU time** per call: on a shared machine it leaves out the time the "
        "process waits for a core, which wall time counts. Wall times are in the raw results "
        "(`build/host/bench-results/*.json`).",
        "- **Wine**: the timing programs' own figures, **wall time** (steady clock): the "
        "fastest of batches that alternate between the two sides (issue 7: medians of 101 "
        "short rounds and the median of their ratios). Process CPU time would leave out the "
        "work that the Wine server does for the registry calls. Raw output in "
        "`build/windows/bench-results/`.",
        "- **Ratio**: the measured time over the time it is compared against; for issue 5 "
        "lines per second, the library's over the floor's. *Earlier* are the ratios of the "
        "last closing note, taken on a loaded machine.",
    ]
    if float(arguments.load.split()[0]) > (os.cpu_count() or 1):
        document.append(
            "- **Shared machine**: the load average at the start exceeded the number of cores, "
            "so other work competed for them; a ratio near its goal can fall on either side "
            "of it from one run to the next.")
    document += sections
    arguments.output.parent.mkdir(parents=True, exist_ok=True)
    arguments.output.write_text("\n".join(document) + "\n")
    for line in missing:
        print(f"missing: {line}", file=sys.stderr)
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
