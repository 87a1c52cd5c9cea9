#!/usr/bin/env python3
"""Builds the Debian package from a build folder and checks it as a user would
meet it: its file list and metadata, the manual pages, the installed programs,
and the two xboard command lines of doc/linux-guis.md (native protocol, and UCI through the
packaged polyglot set-up), each playing a two-game match headless.

  install_test.py BUILD_DIR [--games N]"""
import argparse, os, re, shlex, shutil, subprocess, sys, tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PROGRAMS = ("Pelko_2_x64", "Pelko_2_w32")
FILES = {f"usr/games/{p}": "-rwxr-xr-x" for p in PROGRAMS} | {f"usr/share/{path}": "-rw-r--r--" for path in (
    "man/man6/pelko.6", "man/man6/Pelko_2_x64.6", "man/man6/Pelko_2_w32.6", "doc/pelko/examples/pelko.ini",
    "doc/pelko/examples/gnome-chess-engines.conf", "doc/pelko/examples/pychess-engines.json", "doc/pelko/copyright")}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAILED " + message)


def run(cmd, **kw):
    return subprocess.run(cmd, text=True, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                          stdin=subprocess.DEVNULL, **kw)


def check_package(deb):
    listing = run(["dpkg-deb", "-c", deb]).stdout
    entries = {}
    for line in listing.splitlines():
        fields = line.split()
        entries[fields[-1].removeprefix("./").rstrip("/")] = (fields[0], fields[1])
    files = {path: mode for path, (mode, _) in entries.items() if not mode.startswith("d")}
    check(files == FILES, f"package files {sorted(files.items())}, expected {sorted(FILES.items())}")
    owners = {owner for _, owner in entries.values()}
    check(owners == {"root/root"}, f"package owners {owners}")
    # Every folder holds something of ours: removing the package removes them all.
    folders = {path for path, (mode, _) in entries.items() if mode.startswith("d") and path}
    needed = {os.path.dirname(path) for path in list(files) + list(folders)} - {""}
    check(folders == needed, f"package folders {sorted(folders)}, expected {sorted(needed)}")

    fields = run(["dpkg-deb", "-f", deb]).stdout
    field = dict(re.findall(r"^([\w-]+): (.*)$", fields, re.M))
    for name, value in (("Package", "pelko"), ("Section", "games"), ("Architecture", "amd64")):
        check(field.get(name) == value, f"{name}: {field.get(name)}")
    depends = field.get("Depends", "")
    for library in ("libc6", "libstdc++6", "libc6-i386", "lib32stdc++6"):
        check(re.search(rf"(^|, ){re.escape(library)}( |,|$)", depends), f"Depends lacks {library}: {depends}")
    check(field.get("Description", "").startswith("chess engine"), f"Description: {field.get('Description')}")
    check(re.search(r"^ \S", fields, re.M), "the description has no long part")


def check_manual(root):
    mandir = os.path.join(root, "usr/share/man")
    for name in ("pelko",) + PROGRAMS:
        page = run(["man", "--warnings", "-M", mandir, "6", name], env=dict(os.environ, MANWIDTH="80"))
        check(page.returncode == 0 and "SYNOPSIS" in page.stdout and "Pelko_2_w32 [-l] [-h megabytes]" in page.stdout,
              f"man 6 {name}: {page.stdout[:300]}")
        check("warning" not in page.stdout, f"man 6 {name} warns: {page.stdout[:300]}")
    names = run(["lexgrog", os.path.join(mandir, "man6/pelko.6")]).stdout
    for name in ("pelko",) + PROGRAMS:
        check(f'"{name} - chess engine' in names, f"whatis entry for {name}: {names}")


def check_programs(env, run32):
    for program in PROGRAMS:
        runner = shlex.split(run32) + [shutil.which(program, path=env["PATH"])] if run32 and program.endswith("w32") else [program]
        reply = subprocess.run(runner, input="uci\nquit\n", text=True, capture_output=True, env=env, timeout=30)
        arch = program[-3:]
        check(f"id name Pelko 2 {arch}" in reply.stdout and "uciok" in reply.stdout,
              f"installed {program} answered {reply.stdout!r}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build_dir")
    parser.add_argument("--games", type=int, default=2)
    parser.add_argument("--run32", default="", help="command to run a 32-bit program under, on a kernel that cannot")
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="pelko_install_")
    made = run(["cpack", "-G", "DEB", "--config", os.path.join(args.build_dir, "CPackConfig.cmake"), "-B", work])
    debs = [name for name in os.listdir(work) if name.endswith(".deb")]
    if made.returncode != 0 or len(debs) != 1:
        print(made.stdout + "\nFAILED cpack made no package")
        return 1
    deb = os.path.join(work, debs[0])
    print("package " + debs[0])
    check_package(deb)

    root = os.path.join(work, "root")
    run(["dpkg-deb", "-x", deb, root])
    check_manual(root)
    env = dict(os.environ, PATH=os.path.join(root, "usr/games") + ":" + os.environ.get("PATH", ""))
    check_programs(env, args.run32)

    lines = re.findall(r"^(xboard -fcp .*)$", open(os.path.join(ROOT, "doc/linux-guis.md")).read(), re.M)  # for a person to type
    check(len(lines) == 2 and "polyglot" in lines[1], f"doc/linux-guis.md xboard lines: {lines}")
    for number, line in enumerate(lines):
        home = tempfile.mkdtemp(prefix="pelko_home_", dir=work)
        if "polyglot" in line:
            shutil.copy(os.path.join(root, "usr/share/doc/pelko/examples/pelko.ini"), home)
        match = subprocess.run([sys.executable, os.path.join(ROOT, "tests", "match.py"), "Pelko_2_x64",
                                "--protocol", "uci" if "polyglot" in line else "xboard",
                                "--games", str(args.games), "--gui-line", line, "--home", home],
                               env=env, text=True, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        print(f"{line}\n{match.stdout}", end="")
        check(match.returncode == 0, f"the match of {line!r} failed")

    if not failures:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
