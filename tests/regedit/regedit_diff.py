"""Registry files mean to tsenv what they mean to regedit.

    regedit_diff.py wine WINE_RUN PREFIX TSENV CORPUS [--record]
    regedit_diff.py host TSENV CORPUS

wine: imports each file of the corpus with Wine's regedit and with
tsenv.exe into the same scratch key, exports both results with regedit and
compares them value by value: regedit's export spells each value's type and
exact bytes, so equal lines are equal values. regedit's result must also be
the one recorded beside the file (NAME.expected, --record writes it).
host: imports each file with tsenv into a registry file of its own and
compares its export with the recorded result of regedit.

Files named refuse_*.reg, which regedit refuses or which reach beyond the
suite's keys, must be refused by tsenv (exit 2, one line naming the file)
and leave the registry as it was. Where Wine's regedit is stricter than the
format needs (a UTF-8 byte order mark, blanks after the header, DWORD: in
capitals, blanks inside hex lists), tsenv is as strict: a file must mean the
same to both.
"""
import os
import pathlib
import subprocess
import sys
import tempfile

SCRATCH = r"HKEY_CURRENT_USER\Software\Quarzel\Tessaline\RegTest"
OUTSIDE = r"HKEY_CURRENT_USER\Software\TessalineRegTestOther"
SEED = (SCRATCH + r"\Zz", '"Seed"', '"kept"')

# Where Wine's regedit reads a file otherwise than Windows' regedit, tsenv
# follows Windows, and the value is compared with what Windows leaves.
WINDOWS_READS = {
    # Wine turns \n inside a quoted string into a line feed; Windows' regedit
    # knows only the \\ and \" escapes and keeps the rest as written.
    "escape_newline.reg": {'"Line"': '"one\\\\ntwo"'},
}

# Cases that do not match yet; each is reported, none is skipped.
KNOWN_FAILURES = set()


def parse_export(data):
    """{key: {name: data}} of a file regedit or tsenv exported."""
    text = data.decode("utf-16", errors="surrogatepass")
    keys, current, pending = {}, None, ""
    for line in text.splitlines():
        line = pending + line.strip() if pending else line
        if line.endswith("\\") and current is not None and "=" in line:
            pending = line[:-1]
            continue
        pending = ""
        if line.startswith("[") and line.endswith("]"):
            current = keys.setdefault(line[1:-1], {})
        elif current is not None and "=" in line:
            name, value = split_value(line)
            current[name] = value
    return keys


def split_value(line):
    if line.startswith("@="):
        return "@", line[2:]
    i = 1
    while line[i] != '"':
        i += 2 if line[i] == "\\" else 1
    return line[:i + 1], line[i + 2:]


def format_export(keys):
    lines = ["Windows Registry Editor Version 5.00", ""]
    for key in sorted(keys):
        lines += [f"[{key}]"] + [f"{n}={v}" for n, v in sorted(keys[key].items())] + [""]
    return ("\r\n".join(lines)).encode("utf-16")


class Wine:
    def __init__(self, wine_run, prefix, tsenv, scratch):
        self.wine_run, self.prefix, self.tsenv, self.scratch = wine_run, prefix, tsenv, scratch

    def run(self, *arguments):
        return subprocess.run([self.wine_run, self.prefix, *arguments], capture_output=True,
                              text=True, errors="replace")

    def snapshot(self, key=SCRATCH):
        out = pathlib.Path(self.scratch) / "export.reg"
        out.unlink(missing_ok=True)
        self.run("regedit", "/E", windows_path(out), key)
        return parse_export(out.read_bytes()) if out.exists() else {}

    def clear(self):
        """Empties the scratch key but for one value, which a stray line must
        not reach either."""
        for key in (SCRATCH, OUTSIDE):
            self.run("reg", "delete", key, "/f")
        self.run("reg", "add", SEED[0], "/v", SEED[1].strip('"'), "/d", SEED[2].strip('"'), "/f")

    def regedit(self, path):
        self.clear()
        self.run("regedit", "/S", windows_path(path))
        return self.snapshot(), self.snapshot(OUTSIDE)

    def tsenv_import(self, path):
        self.clear()
        before = self.snapshot()
        run = self.run(self.tsenv, "reg", "import", windows_path(path))
        return run, before, self.snapshot(), self.snapshot(OUTSIDE)


class Host:
    def __init__(self, tsenv, scratch):
        self.tsenv, self.scratch = tsenv, pathlib.Path(scratch)
        self.environment = dict(os.environ, TSEN_REGISTRY=str(self.scratch / "registry.reg"))

    def snapshot(self):
        out = self.scratch / "export.reg"
        out.unlink(missing_ok=True)
        subprocess.run([self.tsenv, "reg", "export", str(out), SCRATCH], env=self.environment,
                       capture_output=True, check=True)
        return parse_export(out.read_bytes())

    def tsenv_import(self, path):
        seed = f"[{SEED[0]}]\r\n{SEED[1]}={SEED[2]}\r\n"
        (self.scratch / "registry.reg").write_bytes(format_export({}) + seed.encode("utf-16-le"))
        before = self.snapshot()
        run = subprocess.run([self.tsenv, "reg", "import", str(path)], env=self.environment,
                             capture_output=True, text=True, errors="replace")
        return run, before, self.snapshot(), {}


def round_trip(wine, corpus, scratch):
    """tsenv's export, imported by regedit, exports to the same file."""
    wine.clear()
    for name in ("everyday.reg", "hex_types.reg", "unicode_utf16.reg"):
        wine.run(wine.tsenv, "reg", "import", windows_path(corpus / name))
    first, second = scratch / "first.reg", scratch / "second.reg"
    wine.run(wine.tsenv, "reg", "export", windows_path(first), SCRATCH)
    wine.clear()
    wine.run("regedit", "/S", windows_path(first))
    wine.run(wine.tsenv, "reg", "export", windows_path(second), SCRATCH)
    same = first.exists() and first.read_bytes() == second.read_bytes()
    print(f"export, regedit import, export: {'ok' if same else 'FAIL: the files differ'}")
    return same


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def compare(path, expected, run, before, got, got_outside):
    problems = []
    values = 0
    if path.name.startswith("refuse_"):
        message = run.stderr.strip().splitlines()
        if run.returncode != 2 or len(message) != 1 or path.name not in message[0]:
            problems.append(f"not refused in one line naming the file: exit "
                            f"{run.returncode}, {run.stderr.strip()!r}")
        if got != before or got_outside:
            problems.append(f"a refused file changed the registry: {got}")
        return problems, values
    if run.returncode != 0:
        problems.append(f"exit {run.returncode}: {run.stderr.strip()}")
    for key in sorted(set(expected) | set(got)):
        want, have = expected.get(key), got.get(key)
        if want is None or have is None:
            problems.append(f"key {key}: regedit {'has' if want is not None else 'lacks'} "
                            f"it, tsenv {'has' if have is not None else 'lacks'} it")
            continue
        for name in sorted(set(want) | set(have)):
            values += 1
            if want.get(name) != have.get(name):
                problems.append(f"{key} {name}: regedit {want.get(name)}, tsenv {have.get(name)}")
    return problems, values


def main():
    side, arguments = sys.argv[1], sys.argv[2:]
    corpus = pathlib.Path(arguments[-1] if side == "host" else arguments[3])
    record = "--record" in arguments
    failures, values, files = [], 0, 0
    with tempfile.TemporaryDirectory() as scratch:
        system = Wine(*arguments[:3], scratch) if side == "wine" else Host(arguments[0], scratch)
        for path in sorted(corpus.glob("*.reg")):
            files += 1
            recorded = path.with_suffix(".expected")
            problems = []
            if side == "wine":
                expected, outside = system.regedit(path)
                for key, named in WINDOWS_READS.get(path.name, {}).items():
                    expected[SCRATCH][key] = named
                if outside and not path.name.startswith("refuse_"):
                    problems.append("regedit wrote outside the scratch key")
                if record:
                    recorded.write_bytes(format_export(expected))
                elif parse_export(recorded.read_bytes()) != expected:
                    problems.append(f"regedit no longer leaves {recorded.name}")
            else:
                expected = parse_export(recorded.read_bytes())
            found, counted = compare(path, expected, *system.tsenv_import(path))
            problems += found
            values += counted
            known = path.name in KNOWN_FAILURES
            print(f"{path.name}: {('known failure' if known else 'FAIL') if problems else 'ok'}",
                  flush=True)
            for problem in problems:
                print("    " + problem)
            if problems and not known:
                failures.append(path.name)
            if known and not problems:
                failures.append(path.name + " (listed as failing but matches)")
        if side == "wine":
            if not round_trip(system, corpus, pathlib.Path(scratch)):
                failures.append("export, regedit import, export")
            system.clear()
            system.run("reg", "delete", SCRATCH, "/f")
    print(f"{files} files, {values} values compared; failing: {failures or 'none'}; "
          f"known failures: {sorted(KNOWN_FAILURES) or 'none'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
