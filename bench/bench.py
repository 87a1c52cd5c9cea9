#!/usr/bin/env python3
"""Speed of both programs, built in Release, with Debian's engines beside them
when they are installed:

  * perft leaves per second (start position depth 5, second position depth 4,
    fourth position depth 6), against stockfish's "go perft";
  * the fixed-depth search of the ten "test" positions: the node total (the
    build's signature: it must not change when only speed changes), nodes per
    second, and the time each position takes to reach the depth;
  * search nodes per second of stockfish (one thread), fairymax and phalanx on
    the same ten positions, at a fixed time per position;
  * the time from start to "uciok" with the default table;
  * the web build (WebAssembly, cmake/emscripten.cmake) under node beside the
    64-bit program: perft and search speed, and its signature;
  * perft and search speed of the profile-guided programs (the default build)
    beside plain ones (-DPELKO_PGO=OFF, in DIR-plain), for 64-bit Linux and,
    where mingw and wine are installed, 64-bit Windows under wine (DIR-win64,
    DIR-win64-plain).

  bench/bench.py [--build-dir DIR] [--no-build] [--depth N] [--peer-ms MS]
                 [--cmake-arg ARG]... [--no-peers] [--no-windows] [--no-w32]
                 [--web-dir DIR] [--no-web]

Figures are noisy on a busy machine: compare versions side by side in one run."""
import argparse
import os
import queue
import re
import shutil
import statistics
import subprocess
import sys
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ARCHS = ("x64", "w32")
WINE64 = "/usr/lib/wine/wine64"

PERFT_FENS = {
    "start": "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "second": "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "fourth": "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
}


def run(cmd, **kw):
    return subprocess.run(cmd, check=True, text=True, stdout=subprocess.PIPE, stdin=subprocess.DEVNULL, **kw).stdout


def build(build_dir, cmake_args, archs=ARCHS):
    run(["cmake", "-S", ROOT, "-B", build_dir, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
         "-DPELKO_TESTS=OFF", "-DPELKO_SANITIZE=OFF", *cmake_args])
    targets = [f"{p}_{a}" for a in archs for p in ("Pelko_2", "perft_bench", "search_bench")]
    run(["cmake", "--build", build_dir, "--target", *targets])


def program(build_dir, name):
    """The command that runs a program of a build: a Windows one under wine, a
    32-bit one under qemu where the kernel runs no 32-bit program, a web one
    under node."""
    path = os.path.join(build_dir, name)
    if name.endswith("wasm"):  # the web build's benchmarks are node programs
        return ["node", path + ".js"]
    if os.path.exists(path + ".exe"):
        return [WINE64, path + ".exe"]
    try:  # the perft program of the architecture, asked for no position, does nothing
        subprocess.run([os.path.join(build_dir, "perft_bench_" + name[-3:]), "none"], stdout=subprocess.DEVNULL)
    except OSError:
        return ["qemu-i386", path]
    return [path]


def benchmark_positions():
    """The ten "test" positions, read from the engine's own source."""
    text = open(os.path.join(ROOT, "frontend", "benchmark.cpp")).read()
    return re.findall(r'"([1-8kqrbnpKQRBNP/]+ [wb] [-KQkq]+ [-a-h1-8]+)"', text)


class Engine:
    """A child engine on pipes; its lines arrive through a reader thread, so
    that every wait has a timeout."""

    def __init__(self, cmd):
        self.proc = subprocess.Popen(cmd, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, text=True, bufsize=1)
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stdout:
            self.lines.put(line.rstrip("\r\n"))
        self.lines.put(None)

    def send(self, *lines):
        for line in lines:
            self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()

    def until(self, pattern, timeout=120):
        """Lines up to and including the first that matches; (None, lines) on
        end of output or timeout."""
        seen, deadline = [], time.monotonic() + timeout
        while True:
            try:
                line = self.lines.get(timeout=max(0.0, deadline - time.monotonic()))
            except queue.Empty:
                return None, seen
            if line is None:
                return None, seen
            seen.append(line)
            m = re.search(pattern, line)
            if m:
                return m, seen

    def close(self):
        try:
            self.send("quit")
            self.proc.wait(timeout=5)
        except (OSError, subprocess.TimeoutExpired):
            self.proc.kill()
            self.proc.wait()


def build_web(web_dir):
    run(["cmake", "-S", ROOT, "-B", web_dir, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release", "-DPELKO_TESTS=OFF",
         f"-DCMAKE_TOOLCHAIN_FILE={os.path.join(ROOT, 'cmake', 'emscripten.cmake')}"])
    run(["cmake", "--build", web_dir, "--target", "perft_bench_wasm", "search_bench_wasm"])


def our_perft(build_dir, arch):
    out = run(program(build_dir, f"perft_bench_{arch}"))
    rows = {}
    for m in re.finditer(r"^(\w+) +depth (\d+) +(\d+) leaves +([\d.]+) s", out, re.M):
        rows[m.group(1)] = (int(m.group(2)), int(m.group(3)), float(m.group(4)))
    return rows


def our_search(build_dir, arch, depth):
    out = run(program(build_dir, f"search_bench_{arch}") + [str(depth)])
    per_position = [(int(m.group(1)), m.group(2), int(m.group(3)), float(m.group(4)))
                    for m in re.finditer(r"^ *(\d+) (\S+) +(\d+) nodes +([\d.]+) s", out, re.M)]
    bench = int(re.search(r"^Bench: (\d+)", out, re.M).group(1))
    return per_position, bench


def time_to_uciok(program, runs=20):
    times = []
    for _ in range(runs):
        t0 = time.monotonic()
        engine = Engine(program)
        engine.send("uci")
        m, _ = engine.until(r"^uciok$", timeout=10)
        elapsed = time.monotonic() - t0
        engine.close()
        if m:
            times.append(elapsed * 1000)
    return times


def find(name):
    return shutil.which(name) or (f"/usr/games/{name}" if os.access(f"/usr/games/{name}", os.X_OK) else None)


def stockfish_start():
    engine = Engine([find("stockfish")])
    engine.send("uci")
    engine.until(r"^uciok$")
    engine.send("setoption name Threads value 1", "setoption name Hash value 16", "isready")
    engine.until(r"^readyok$")
    return engine


def stockfish_perft(depths):
    engine = stockfish_start()
    rows = {}
    for name, depth in depths.items():
        best, spent, leaves = None, 0.0, 0
        for _ in range(3):
            engine.send(f"position fen {PERFT_FENS[name]}", "isready")
            engine.until(r"^readyok$")
            t0 = time.monotonic()
            engine.send(f"go perft {depth}")
            m, _ = engine.until(r"^Nodes searched: (\d+)")
            elapsed = time.monotonic() - t0
            leaves = int(m.group(1))
            best = elapsed if best is None else min(best, elapsed)
            spent += elapsed
            if spent > 20:
                break
        rows[name] = (depth, leaves, best)
    engine.close()
    return rows


def stockfish_search(fens, ms):
    engine = stockfish_start()
    nodes = seconds = 0
    for fen in fens:
        engine.send("ucinewgame", "isready")
        engine.until(r"^readyok$")
        engine.send(f"position fen {fen}", f"go movetime {ms}")
        _, lines = engine.until(r"^bestmove")
        last = [l for l in lines if " nodes " in l and " time " in l][-1]
        nodes += int(re.search(r" nodes (\d+)", last).group(1))
        seconds += int(re.search(r" time (\d+)", last).group(1)) / 1000
    engine.close()
    return nodes, seconds


def mirrored(fen):
    """The colour-flipped position, so that white is to move."""
    placement, side, rights, ep = fen.split()[:4]
    placement = "/".join(reversed(placement.split("/"))).swapcase()
    rights = "".join(sorted(rights.swapcase(), key="KQkq".index)) if rights != "-" else "-"
    ep = ep if ep == "-" else ep[0] + str(9 - int(ep[1]))
    return f"{placement} {'w' if side == 'b' else 'b'} {rights} {ep}"


def edit_commands(fen):
    """xboard's "edit" commands for a white-to-move FEN (fairymax has no setboard)."""
    commands, colour = ["edit", "#"], "w"
    for want in ("w", "b"):
        if want == "b":
            commands.append("c")
        for row, rank in enumerate(fen.split()[0].split("/")):
            file = 0
            for ch in rank:
                if ch.isdigit():
                    file += int(ch)
                    continue
                if (ch.isupper() and want == "w") or (ch.islower() and want == "b"):
                    commands.append(f"{ch.upper()}{'abcdefgh'[file]}{8 - row}")
                file += 1
    commands.append(".")
    return commands


def xboard_search(cmd, fens, ms, setup):
    """Nodes and seconds over the positions from the last thinking line of
    each search ("depth score centiseconds nodes pv")."""
    engine = Engine(cmd)
    engine.send("xboard", "protover 2", "ping 1")
    engine.until(r"^pong 1")
    nodes = seconds = 0
    seconds_per_move = max(1, round(ms / 1000))
    for i, fen in enumerate(fens):
        engine.send("new", "force", *setup(fen), "post", f"st {seconds_per_move}", "go")
        _, lines = engine.until(r"^move ", timeout=60)
        thinking = [l.split() for l in lines if re.match(r"^ *\d+\.? +-?\d+ +\d+ +\d+ ", l)]
        if thinking:
            nodes += int(thinking[-1][3])
            seconds += int(thinking[-1][2]) / 100
        engine.send("force", f"ping {i + 2}")
        engine.until(rf"^pong {i + 2}")
    engine.close()
    return nodes, seconds


def rate(count, seconds):
    return count / seconds if seconds > 0 else float("nan")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build-bench"))
    parser.add_argument("--no-build", action="store_true", help="use the programs already in the build folder")
    parser.add_argument("--cmake-arg", action="append", default=[], help="passed to the configure step")
    parser.add_argument("--depth", type=int, default=10, help="fixed search depth (10 gives the Bench signature)")
    parser.add_argument("--peer-ms", type=int, default=1000, help="peers' search time per position")
    parser.add_argument("--no-peers", action="store_true")
    parser.add_argument("--web-dir", default=os.path.join(ROOT, "build-web-bench"))
    parser.add_argument("--no-web", action="store_true", help="leave out the web build")
    parser.add_argument("--no-windows", action="store_true", help="leave out the Windows program under wine")
    parser.add_argument("--no-w32", action="store_true", help="leave out the 32-bit program (its columns show nan)")
    args = parser.parse_args()
    build_dir = os.path.abspath(args.build_dir)
    # Profile-guided (the default) beside plain, the Windows ones where they can be built and run.
    pairs = [("Linux x64", build_dir, [])]
    if not args.no_windows and shutil.which("x86_64-w64-mingw32-g++-posix") and os.access(WINE64, os.X_OK):
        pairs.append(("Windows x64", build_dir + "-win64", [f"-DCMAKE_TOOLCHAIN_FILE={ROOT}/cmake/mingw-x86_64.cmake"]))
    os.environ.update(WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
    if not args.no_build:
        build(build_dir, args.cmake_arg, ARCHS[:1] if args.no_w32 else ARCHS)
        build(build_dir + "-plain", args.cmake_arg + ["-DPELKO_PGO=OFF"], ("x64",))
        for _, folder, toolchain in pairs[1:]:
            build(folder, args.cmake_arg + toolchain, ("x64",))
            build(folder + "-plain", args.cmake_arg + toolchain + ["-DPELKO_PGO=OFF"], ("x64",))
    fens = benchmark_positions()
    peers = not args.no_peers

    archs = ARCHS[:1] if args.no_w32 else ARCHS
    perft = {a: our_perft(build_dir, a) for a in archs}
    perft.setdefault("w32", {n: (0, 0, float("nan")) for n in perft["x64"]})
    sf_perft = stockfish_perft({n: d for n, (d, _, _) in perft["x64"].items()}) if peers and find("stockfish") else {}
    print("Perft, leaves per second (M): every leaf made and unmade; stockfish counts the last ply in bulk")
    print(f"{'position':<8} {'depth':>5} {'leaves':>11} {'x64':>8} {'w32':>8} {'x64/w32':>8}"
          f" {'stockfish':>10} {'x64/sf':>7}")
    for name, (depth, leaves, s64) in perft["x64"].items():
        _, leaves32, s32 = perft["w32"][name]
        line = (f"{name:<8} {depth:>5} {leaves:>11} {rate(leaves, s64) / 1e6:>8.2f} {rate(leaves32, s32) / 1e6:>8.2f}"
                f" {s32 / s64:>8.2f}")
        if name in sf_perft:
            _, sf_leaves, sf_s = sf_perft[name]
            line += f" {rate(sf_leaves, sf_s) / 1e6:>10.2f} {rate(leaves, s64) / rate(sf_leaves, sf_s):>7.2f}"
        if leaves != leaves32 and not args.no_w32 or (name in sf_perft and sf_perft[name][1] != leaves):
            line += "  COUNTS DIFFER"
        print(line)

    search = {a: our_search(build_dir, a, args.depth) for a in archs}
    search.setdefault("w32", ([(i, m, n, float("nan")) for i, m, n, _ in search["x64"][0]], search["x64"][1]))
    print(f"\nFixed-depth search, depth {args.depth}, 16 MB table: time to reach the depth")
    print(f"{'#':>2} {'move':<6} {'nodes':>11} {'x64 s':>8} {'w32 s':>8} {'x64 knps':>9} {'w32 knps':>9}")
    for (i, move, nodes, s64), (_, move32, nodes32, s32) in zip(search["x64"][0], search["w32"][0]):
        differ = "  DIFFERENT SEARCH" if (move, nodes) != (move32, nodes32) else ""
        print(f"{i:>2} {move:<6} {nodes:>11} {s64:>8.3f} {s32:>8.3f} {rate(nodes, s64) / 1e3:>9.0f}"
              f" {rate(nodes32, s32) / 1e3:>9.0f}{differ}")
    total = {a: (sum(p[2] for p in search[a][0]), sum(p[3] for p in search[a][0])) for a in ARCHS}
    (n64, t64), (n32, t32) = total["x64"], total["w32"]
    print(f"{'all':>2} {'':<6} {n64:>11} {t64:>8.3f} {t32:>8.3f} {rate(n64, t64) / 1e3:>9.0f} {rate(n32, t32) / 1e3:>9.0f}")
    print(f"Bench: x64 {search['x64'][1]}, w32 {search['w32'][1]}"
          + ("" if search["x64"][1] == search["w32"][1] else "  DIFFERENT SEARCH"))

    print(f"\nProfile-guided against plain: perft M leaves/s, search (depth {args.depth}) knps and seconds")
    print(f"{'program':<20} {'start':>7} {'second':>7} {'fourth':>7} {'knps':>7} {'seconds':>8}  Bench")
    for name, folder, _ in pairs:
        for kind, where in (("plain", folder + "-plain"), ("PGO", folder)):
            leaves = our_perft(where, "x64")
            positions, bench = search["x64"] if where == build_dir else our_search(where, "x64", args.depth)
            nodes, seconds = sum(p[2] for p in positions), sum(p[3] for p in positions)
            print(f"{name + ' ' + kind:<20}" + "".join(f" {rate(n, t) / 1e6:>7.2f}" for _, n, t in leaves.values())
                  + f" {rate(nodes, seconds) / 1e3:>7.0f} {seconds:>8.3f}  {bench}"
                  + ("" if bench == search["x64"][1] else "  DIFFERENT SEARCH"))

    if peers:
        print(f"\nSearch speed on the same positions; peers search {args.peer_ms} ms a position")
        print(f"{'engine':<22} {'nodes':>11} {'seconds':>8} {'knps':>8} {'x64/peer':>9}")
        ours = rate(n64, t64)
        print(f"{'Pelko 2 x64':<22} {n64:>11} {t64:>8.2f} {ours / 1e3:>8.0f} {1:>9.2f}")
        print(f"{'Pelko 2 w32':<22} {n32:>11} {t32:>8.2f} {rate(n32, t32) / 1e3:>8.0f} {ours / rate(n32, t32):>9.2f}")
        others = []
        if find("stockfish"):
            others.append(("stockfish (1 thread)", lambda: stockfish_search(fens, args.peer_ms)))
        if find("fairymax"):
            others.append(("fairymax", lambda: xboard_search(
                [find("fairymax")], fens, args.peer_ms,
                lambda f: edit_commands(f if f.split()[1] == "w" else mirrored(f)))))
        if find("phalanx"):
            others.append(("phalanx (no book)", lambda: xboard_search(
                [find("phalanx"), "-b-", "-l-"], fens, args.peer_ms, lambda f: [f"setboard {f}"])))
        for name, measure in others:
            nodes, seconds = measure()
            peer = rate(nodes, seconds)
            print(f"{name:<22} {nodes:>11} {seconds:>8.2f} {peer / 1e3:>8.0f} {ours / peer:>9.2f}")

    if not args.no_web and shutil.which("em++") and shutil.which("node"):
        web_dir = os.path.abspath(args.web_dir)
        if not args.no_build:
            build_web(web_dir)
        web_perft = our_perft(web_dir, "wasm")
        print("\nThe web build under node (Pelko 2 wasm, asyncify input path in place) beside x64")
        print(f"{'perft':<8} {'depth':>5} {'x64 kN/s':>10} {'wasm kN/s':>10} {'wasm/x64':>9}")
        for name, (depth, leaves, s64) in perft["x64"].items():
            _, web_leaves, s_web = web_perft[name]
            print(f"{name:<8} {depth:>5} {rate(leaves, s64) / 1e3:>10.0f} {rate(web_leaves, s_web) / 1e3:>10.0f}"
                  f" {s64 / s_web:>9.2f}" + ("" if web_leaves == leaves else "  COUNTS DIFFER"))
        web_positions, web_bench = our_search(web_dir, "wasm", args.depth)
        nw, tw = sum(p[2] for p in web_positions), sum(p[3] for p in web_positions)
        print(f"{'search':<8} {args.depth:>5} {rate(n64, t64) / 1e3:>10.0f} {rate(nw, tw) / 1e3:>10.0f}"
              f" {rate(nw, tw) / rate(n64, t64):>9.2f}   (knps)")
        print(f"Bench: wasm {web_bench}" + ("" if web_bench == search["x64"][1] else "  DIFFERENT SEARCH"))

    print("\nStart to \"uciok\" with the default 128 MB table, 20 starts (ms)")
    for a in archs:
        times = time_to_uciok(program(build_dir, f"Pelko_2_{a}"))
        print(f"Pelko 2 {a}: best {min(times):.1f}, median {statistics.median(times):.1f}, worst {max(times):.1f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
