"""Registry files mean to tsenv what they mean to regedit.

    regedit_diff.py [WINE_RUN PREFIX] TSENV CORPUS

Each file of the corpus is imported by tsenv into a scratch key and compared,
value by value as regedit exports them (type and exact bytes), with what
regedit left: on Wine, Wine's regedit imports the file too and must leave what
is recorded beside it (NAME.expected); on the host, the recorded result is
the reference. tsenv's export, imported by regedit (by tsenv on the host),
exports the same file.

Files named refuse_*.reg, which regedit refuses or which reach beyond the
suite's keys, must be refused by tsenv (exit 2, one line naming the file) and
leave the registry as it was. Where Wine's regedit is stricter than the format
needs (a UTF-8 byte order mark, blanks after the header, DWORD: in capitals,
blanks inside hex lists), tsenv is as strict: a file must mean the same to both.
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


class Registry:
    """The scratch key in Wine's registry, or in a registry file of tsenv's
    own on the host, where tsenv stands in for regedit's import and export."""

    def __init__(self, scratch, *arguments):
        *self.wine, tsenv = arguments
        self.scratch, self.file = scratch, scratch / "registry.reg"
        self.environment = dict(os.environ, TSEN_REGISTRY=str(self.file))
        self.tsenv_import = [tsenv, "reg", "import"]
        self.tsenv_export = [tsenv, "reg", "export"]
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
            seed = f'[{SEED[0]}]\r\n"{SEED[1]}"="{SEED[2]}"\r\n'
            self.file.write_bytes(("Windows Registry Editor Version 5.00\r\n\r\n" + seed)
                                  .encode("utf-16"))
            return
        for key in (SCRATCH, OUTSIDE):
            self.run("reg", "delete", key, "/f")
        self.run("reg", "add", SEED[0], "/v", SEED[1], "/d", SEED[2], "/f")

    def load(self, importer, path):
        """The importer's answer, and the scratch key before and after, and outside."""
        self.clear()
        before = self.snapshot()
        run = self.run(*importer, self.path(path))
        return run, before, self.snapshot(), self.snapshot(OUTSIDE)

    def reference(self, path):
        """What regedit leaves, and the problems with it."""
        recorded = parse_export(path.with_suffix(".expected").read_bytes())
        if not self.wine:
            return recorded, []
        _, _, got, outside = self.load(self.regedit_import, path)
        for name, data in WINDOWS_READS.get(path.name, {}).items():
            got[SCRATCH][name] = data
        problems = [] if path.name.startswith("refuse_") or not outside else [
            "regedit wrote outside the scratch key"]
        return got, problems + ([] if recorded == got else [
            f"regedit no longer leaves {path.stem}.expected"])

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
    values = 0
    for key in sorted(set(expected) | set(got)):
        want, have = expected.get(key), got.get(key)
        if want is None or have is None:
            problems.append(f"key {key}: only {'regedit' if have is None else 'tsenv'} has it")
            continue
        for name in sorted(set(want) | set(have)):
            values += 1
            if want.get(name) != have.get(name):
                problems.append(f"{key} {name}: regedit {want.get(name)}, tsenv {have.get(name)}")
    return problems, values


def main():
    *arguments, corpus = sys.argv[1:]
    corpus, failures, values = pathlib.Path(corpus), [], 0
    with tempfile.TemporaryDirectory() as scratch:
        registry = Registry(pathlib.Path(scratch), *arguments)
        files = sorted(corpus.glob("*.reg"))
        for path in files:
            expected, problems = registry.reference(path)
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
