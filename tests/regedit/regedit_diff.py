"""Registry files mean to tsenv what they mean to regedit (see the README's tests/regedit).

    regedit_diff.py [WINE_RUN PREFIX] TSENV CORPUS

Files named refuse_*.reg must be refused by tsenv (exit 2, one line naming the
file) and change nothing; tsenv is as strict as Wine's regedit.
"""
import os
import pathlib
import subprocess
import sys
import tempfile

SCRATCH = r"HKEY_CURRENT_USER\Software\Quarzel\Tessaline\RegTest"
OUTSIDE = r"HKEY_CURRENT_USER\Software\TessalineRegTestOther"
SEED = (SCRATCH + r"\Zz", "Seed", "kept")  # a value no stray line may reach

# Where Wine's regedit reads a file otherwise than Windows' regedit, tsenv
# follows Windows: Wine turns \n inside a quoted string into a line feed,
# Windows knows only the \\ and \" escapes and keeps the rest as written.
WINDOWS_READS = {"escape_newline.reg": {'"Line"': '"one\\\\ntwo"'}}


def parse_export(data):
    """{key: {name: data}} of a file regedit or tsenv exported."""
    keys, current, pending = {}, None, ""
    for line in data.decode("utf-16", errors="surrogatepass").splitlines():
        line = pending + line.strip() if pending else line
        pending = ""
        if line.endswith("\\") and current is not None and "=" in line:
            pending = line[:-1]
        elif line.startswith("[") and line.endswith("]"):
            current = keys.setdefault(line[1:-1], {})
        elif current is not None and line.startswith("@="):
            current["@"] = line[2:]
        elif current is not None and "=" in line:
            i = 1
            while line[i] != '"':
                i += 2 if line[i] == "\\" else 1
            current[line[:i + 1]] = line[i + 2:]
    return keys


def flat(keys):
    """{(key, name): data}, with the name "" for the key itself."""
    return {(key, name): data for key, values in keys.items()
            for name, data in [("", "(key)"), *values.items()]}


class Registry:
    """The scratch key in Wine's registry, or in a registry file of tsenv's
    own on the host, where tsenv stands in for regedit's import and export."""

    def __init__(self, scratch, *arguments):
        *self.wine, tsenv = arguments
        self.scratch, self.file = scratch, scratch / "registry.reg"
        self.environment = dict(os.environ, TSEN_REGISTRY=str(self.file))
        self.tsenv_import, self.tsenv_export = [tsenv, "reg", "import"], [tsenv, "reg", "export"]
        self.regedit_import = ["regedit", "/S"] if self.wine else self.tsenv_import
        self.regedit_export = ["regedit", "/E"] if self.wine else self.tsenv_export

    def path(self, path):
        return "Z:" + str(path).replace("/", "\\") if self.wine else str(path)

    def run(self, *arguments):
        return subprocess.run(self.wine + list(arguments), env=self.environment,
                              capture_output=True, text=True, errors="replace")

    def snapshot(self, key=SCRATCH):
        out = self.scratch / "export.reg"
        out.unlink(missing_ok=True)
        self.run(*self.regedit_export, self.path(out), key)
        return parse_export(out.read_bytes()) if out.exists() else {}

    def clear(self):
        if not self.wine:
            self.file.write_text("Windows Registry Editor Version 5.00\r\n\r\n"
                                 f'[{SEED[0]}]\r\n"{SEED[1]}"="{SEED[2]}"\r\n', encoding="utf-16")
            return
        for key in (SCRATCH, OUTSIDE):
            self.run("reg", "delete", key, "/f")
        self.run("reg", "add", SEED[0], "/v", SEED[1], "/d", SEED[2], "/f")

    def load(self, importer, path):
        """The importer's answer, and the scratch key before and after, and outside. Under
        load, Wine may fail to run a program and still answer 0: an export of the scratch key
        without the seed shows it, and the whole load is tried once more."""
        for _ in range(2):
            self.clear()
            before = self.snapshot()
            run = self.run(*importer, self.path(path))
            after = self.snapshot()
            if SEED[0] in before and SEED[0] in after:
                return run, before, after, self.snapshot(OUTSIDE)
            print(f"    {path.name}: no seed in an export ({run.stderr.strip()}); once more")
        sys.exit(f"{path.name}: no seed in an export of {SCRATCH}, twice: Wine failed, "
                 "or a line of the file reached it")

    def regedit_problems(self, path, recorded):
        """On Wine, what is wrong with what regedit leaves."""
        if not self.wine:
            return []
        for _ in range(2):  # a regedit that Wine failed to run leaves nothing
            _, _, got, outside = self.load(self.regedit_import, path)
            got[SCRATCH].update(WINDOWS_READS.get(path.name, {}))
            if recorded == got:
                break
        return ([] if recorded == got else [f"regedit no longer leaves {path.stem}.expected"]) + (
            [] if path.name.startswith("refuse_") or not outside else [
                "regedit wrote outside the scratch key"])

    def round_trip(self, corpus):
        """tsenv's export, imported by regedit, exports to the same file."""
        self.clear()
        for name in ("everyday.reg", "hex_types.reg", "unicode_utf16.reg"):
            self.run(*self.tsenv_import, self.path(corpus / name))
        first, second = self.scratch / "first.reg", self.scratch / "second.reg"
        self.run(*self.tsenv_export, self.path(first), SCRATCH)
        self.clear()
        self.run(*self.regedit_import, self.path(first))
        self.run(*self.tsenv_export, self.path(second), SCRATCH)
        if self.wine:
            self.run("reg", "delete", SCRATCH, "/f")
        return first.exists() and first.read_bytes() == second.read_bytes()


def compare(path, expected, run, before, got, got_outside):
    """The differences between tsenv's import and regedit's, and the values compared."""
    if path.name.startswith("refuse_"):
        message = run.stderr.strip().splitlines()
        refused = run.returncode == 2 and len(message) == 1 and path.name in message[0]
        problems = [] if refused else [f"not refused in one line naming the file: {run}"]
        if got != before or got_outside:
            problems.append(f"a refused file changed the registry: {got}")
        return problems, 0
    problems = [f"exit {run.returncode}: {run.stderr.strip()}"] if run.returncode else []
    want, have = flat(expected), flat(got)
    return problems + [f"{key} {name}: regedit {want.get((key, name))}, tsenv {have.get((key, name))}"
                       for key, name in sorted(set(want) | set(have))
                       if want.get((key, name)) != have.get((key, name))], len(want)


def main():
    *arguments, corpus = sys.argv[1:]
    corpus, failures, values = pathlib.Path(corpus), [], 0
    with tempfile.TemporaryDirectory() as scratch:
        registry = Registry(pathlib.Path(scratch), *arguments)
        files = sorted(corpus.glob("*.reg"))
        for path in files:
            expected = parse_export(path.with_suffix(".expected").read_bytes())
            problems = registry.regedit_problems(path, expected)
            found, counted = compare(path, expected, *registry.load(registry.tsenv_import, path))
            values += counted
            print(f"{path.name}: {'FAIL' if problems + found else 'ok'}", flush=True)
            for problem in problems + found:
                print("    " + problem)
            failures += [path.name] if problems + found else []
        if not registry.round_trip(corpus):
            failures.append("export, regedit import, export: the files differ")
    print(f"{len(files)} files, {values} values compared; failing: {failures or 'none'}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
