#!/usr/bin/env python3
"""Soak run: hundreds of fast games under real xboard (headless, through
xvfb-run), each program in each protocol against itself, against the other
build and against Debian's engines, under an incremental and a
moves-per-session clock. Counts crashes, illegal moves, false result claims,
time forfeits, disconnections and games that did not finish, and measures
every think of ours from xboard's debug time stamps against the clock it had.
Not part of CTest: the default run of about 300 games takes about an hour.

  soak.py --engines build/Pelko_2_x64 build/Pelko_2_w32 [--games-per-pairing N]
          [--tc 0:02 --inc 0.02] [--mps 40 --mps-tc 0:05] [--jobs 1]
          [--only REGEX] [--list] [--self-test]

Exit status 0 only when every count of trouble on our side is zero.
--self-test instead plays a few games with a deliberately broken engine (ours
behind a proxy that plays an illegal move, dies, stalls or claims a false
result) and checks that each fault is counted."""
import argparse
import collections
import concurrent.futures
import math
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
import match  # noqa: E402  (PGN parsing, result claims, what counts as a bad ending)

# Debian opponents: (label, command, protocol). Fairymax is tried and left out
# when it cannot finish a game at these controls (see --skip-probe).
DEBIAN = [("phalanx", "phalanx -l-", "xboard"),
          ("stockfish", "stockfish", "uci"),
          ("fairymax", "fairymax", "xboard")]

DEBUG_LINE = re.compile(r"^(\d+) ([<>])(first|second) ?: ?(.*)$")
RESULT_WORD = re.compile(r"(1-0|0-1|1/2-1/2|\*)$")
COUNTS = ["crashes", "illegal moves", "false result claims", "time forfeits", "clock overruns",
          "disconnections", "games not completed or not saved"]


class Player:
    """One side of a pairing: the command xboard starts, its protocol, and
    whether it is one of ours (only our side's trouble fails the soak)."""

    def __init__(self, label, command, protocol, ours):
        self.label, self.command, self.protocol, self.ours = label, command, protocol, ours

    def name(self):
        return f"{self.label}-{self.protocol}"


class Pairing:
    def __init__(self, first, second, control, games):
        self.first, self.second, self.control, self.games = first, second, control, games

    def name(self):
        tc, inc, mps = self.control
        clock = f"{tc}/{mps}" if mps else f"{tc}+{inc}"
        return f"{self.first.name()} vs {self.second.name()} @ {clock}"


def seconds(tc):
    minutes, _, secs = tc.partition(":")
    return float(minutes) * 60 + float(secs or 0)


def xboard_command(pairing, work, pgn):
    tc, inc, mps = pairing.control
    command = ["xvfb-run", "-a", "xboard", "-noGUI", "-xexit", "-xponder", "-saveSettingsOnExit", "false"]
    if pairing.first.protocol == "uci":
        command.append("-fUCI")
    command += ["-fcp", pairing.first.command, "-fd", work]
    if pairing.second.protocol == "uci":
        command.append("-sUCI")
    command += ["-scp", pairing.second.command, "-sd", work,
                "-mg", str(pairing.games), "-tc", tc,
                *(["-mps", str(mps)] if mps else ["-inc", inc]),
                "-autoCallFlag", "true", "-pgnExtendedInfo", "true", "-sgf", pgn,
                "-debug", "-nameOfDebugFile", os.path.join(work, "xboard.debug")]
    return command


# xboard writes "usermove " and the move as two pieces, each with its own stamp:
# "583 >first : usermove 583 >first : e7e6".
MOVE_OR_GO = re.compile(r"(usermove\b.*)?\b[a-h][1-8][a-h][1-8][a-z]?$|go$")
# What an engine says when it refuses a move, as opposed to a command it does
# not know (phalanx answers "Illegal move: computer").
REFUSED_MOVE = r"Illegal move(?: \([^)]*\))?: *(?:usermove +)?[a-h][1-8][a-h][1-8]"
STOPS_THINK = re.compile(r"(result|force|new|quit|\?)\b")


# One think of ours: the game, the side ("first", "second"), which of the
# side's moves it was (1 for its first), milliseconds used and on its clock.
Think = collections.namedtuple("Think", "game side move used clock")


def thinks(debug, sides):
    """Every think of the given sides ("first", "second") in an xboard debug
    log, as Think tuples.
    A think runs from the move or "go" xboard sent that side to the side's
    move, measured against the last "time" sent to it. A think cut short by the
    game's end (a flag that fell, an engine that died) is measured up to the
    "result" or "force" xboard then sends."""
    result, game = [], 0
    start, clock, moves = {}, {}, {}
    for line in debug.splitlines():
        if line.startswith("New game ("):
            game += 1
            start, clock, moves = {}, {}, {}
            continue
        m = DEBUG_LINE.match(line)
        if not m or m.group(3) not in sides:
            continue
        stamp, direction, side, text = int(m.group(1)), m.group(2), m.group(3), m.group(4).strip()
        if direction == ">":
            t = re.match(r"time (-?\d+)", text)
            if t:
                clock[side] = int(t.group(1)) * 10
            elif MOVE_OR_GO.match(text) and side in clock:
                start[side] = stamp
            elif STOPS_THINK.match(text) and side in start:
                result.append(Think(game, side, moves.get(side, 0) + 1, stamp - start.pop(side), clock.pop(side)))
        elif re.match(r"move \S", text):
            moves[side] = moves.get(side, 0) + 1
            if side in start:
                result.append(Think(game, side, moves[side], stamp - start.pop(side), clock.pop(side)))
    return result


def game_sections(debug):
    """The debug log cut at each "New game" line; [0] is what came before game 1."""
    return re.split(r"\n(?=New game \(\d+\))", debug)


def ending_kind(ending, result):
    """The kind of trouble a saved game's result and last comment tell of, or None."""
    if result not in ("1-0", "0-1", "1/2-1/2") or not ending:
        return "games not completed or not saved"
    if re.search(r"on time|flag fell|forfeit.*time", ending, re.I):
        return "time forfeits"
    if re.search(r"illegal|invalid move", ending, re.I):
        return "illegal moves"
    if re.search(r"disconnect", ending, re.I):
        return "disconnections"
    if re.search(r"crash|exit|died|terminated|abort|error (reading|writing)", ending, re.I):
        return "crashes"
    if match.BAD_ENDINGS.search(ending):
        return "games not completed or not saved"
    return None


def section_troubles(section, side):
    """(kind, text) for what one game's part of the debug log tells about one
    side: a process that died, a move the engine refused."""
    found = []
    label = f"{side} chess program"
    died = (re.search(rf"Error: {label} \(.*\) exited unexpectedly", section)
            or re.search(rf"^\d+ <{side} ?: tellusererror POLYGLOT: .*(exited|died|signal).*$", section, re.M)
            or re.search(rf"GameEnds\(\d+, Error (?:reading from|writing to) {label}", section))
    if died:
        found.append(("crashes", died.group(0).strip()))
    for claim in re.findall(rf"^\d+ <{side} ?: ({REFUSED_MOVE}.*)$", section, re.M):
        found.append(("illegal moves", f"refused a move: {claim}"))
    return found


# At most one kind of trouble is counted per game and player: the one nearest
# the cause (an engine that died also loses on time, say).
PRIORITY = ["crashes", "illegal moves", "false result claims", "disconnections", "time forfeits",
            "clock overruns", "games not completed or not saved"]


def clock_margin(movetext, white, base, inc, mps):
    """Smallest clock left after any of one side's moves, in seconds, from the
    move times xboard writes into its comments ({score/depth seconds}). Every
    move of the side counts towards the session, with or without a time:
    xboard leaves out times under 0.05 s."""
    clock, smallest, ply, moves = base, base, 0, 0
    pending = False  # a move of the side whose comment may still follow

    def close():
        nonlocal clock, moves
        clock += inc
        moves += 1
        if mps and moves % mps == 0:
            clock += base

    for token in re.finditer(r"(\d+\.(?:\.\.)?)|\{([^}]*)\}|(\S+)", movetext):
        _, comment, word = token.groups()
        if word and not re.match(r"(1-0|0-1|1/2-1/2|\*)$", word):
            if pending:
                close()
            ply += 1
            pending = (ply % 2 == 1) == white
        elif comment is not None and pending:
            m = re.match(r"\s*[-+#]?[\d.]+/\d+\s+([\d.]+)", comment)
            if m:
                clock -= float(m.group(1))
                smallest = min(smallest, clock)
            close()
            pending = False
    return smallest


def run_pairing(pairing, keep_all=False):
    """Plays one pairing in its own xboard and returns its report (a dict)."""
    work = tempfile.mkdtemp(prefix="pelko_soak_")
    pgn = os.path.join(work, "games.pgn")
    tc, inc, mps = pairing.control
    base = seconds(tc)
    increment = 0.0 if mps else float(inc)
    per_game = 2 * (base * (4 if mps else 1) + 150 * increment) + 30
    env = dict(os.environ, PATH=os.environ.get("PATH", "") + ":/usr/games")
    started = time.monotonic()
    timed_out = False
    with open(os.path.join(work, "xboard.out"), "w") as out:
        # Its own process group, so that a hung xboard goes down together with
        # the engines it started.
        proc = subprocess.Popen(xboard_command(pairing, work, pgn), env=env, cwd=work, stdin=subprocess.DEVNULL,
                                stdout=out, stderr=subprocess.STDOUT, start_new_session=True)
        try:
            proc.wait(timeout=per_game * pairing.games + 60)
        except subprocess.TimeoutExpired:
            timed_out = True
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
    wall = time.monotonic() - started

    games = match.parse_games(open(pgn, errors="replace").read()) if os.path.exists(pgn) else []
    debug_path = os.path.join(work, "xboard.debug")
    debug = open(debug_path, errors="replace").read() if os.path.exists(debug_path) else ""
    sections = game_sections(debug)
    players = {"first": pairing.first, "second": pairing.second}
    ours_sides = [side for side, player in players.items() if player.ours]
    report = {"pairing": pairing, "work": work, "wall": wall, "games": len(games),
              "counts": dict.fromkeys(COUNTS, 0), "problems": [], "opponent": [],
              "thinks": thinks(debug, ours_sides), "margin": None, "errors": 0, "results": {}}

    # troubles[(game number, side)]: [(kind, text)]
    troubles = {}

    def add(game, side, kind, text):
        troubles.setdefault((game, side), []).append((kind, text))

    first_white = {}
    for number, section in enumerate(sections[1:], 1):
        m = re.match(r"New game \(\d+\): .*\(([wb])\)", section)
        first_white[number] = (m.group(1) == "w") if m else bool(number % 2)
        for side in players:
            for kind, text in section_troubles(section, side):
                add(number, side, kind, text)
            if players[side].ours:
                # Replies to commands it did not take: harmless to xboard, but
                # worth a look.
                report["errors"] += len([1 for line in re.findall(rf"^\d+ <{side} ?: ((?:Error|Illegal move).*)$",
                                                                  section, re.M)
                                         if not re.match(REFUSED_MOVE, line)])

    for number, (tags, movetext) in enumerate(games, 1):
        result = tags.get("Result", "*")
        report["results"][result] = report["results"].get(result, 0) + 1
        white = "first" if first_white.get(number, bool(number % 2)) else "second"
        black = "second" if white == "first" else "first"
        for side, is_white in ((white, True), (black, False)):
            if players[side].ours:
                margin = clock_margin(movetext, is_white, base, increment, mps)
                report["margin"] = margin if report["margin"] is None else min(report["margin"], margin)
        ending = re.findall(r"\{([^}]*)\}\s*(?:1-0|0-1|1/2-1/2|\*)\s*$", movetext)
        ending = ending[0] if ending else ""
        kind = ending_kind(ending, result)
        if kind:
            culprit = {"1-0": black, "0-1": white}.get(result, white if players[white].ours else black)
            add(number, culprit, kind, f"{result} {{{ending}}}")
    # In the xboard protocol the engine announces results itself: each claim
    # must be the result the game was saved with. engine_claims reads the
    # "<first :" lines, so for the second side the two labels are swapped.
    for side, player in players.items():
        if player.protocol == "xboard":
            text = debug if side == "first" else \
                debug.replace("<first :", "<other :").replace("<second:", "<first :")
            for number, ((tags, _), claim) in enumerate(zip(games, match.engine_claims(text)), 1):
                if claim and claim != tags.get("Result"):
                    add(number, side, "false result claims",
                        f"announced {claim}, the game ended {tags.get('Result')}")

    for t in report["thinks"]:
        if t.used > t.clock:
            add(t.game, t.side, "clock overruns", f"move {t.move}: thought {t.used} ms with {t.clock} ms left")

    for (game, side), found in sorted(troubles.items()):
        found.sort(key=lambda t: PRIORITY.index(t[0]))
        kind, text = found[0]
        line = f"game {game}: {players[side].name()}: {kind}: {text}"
        if len(found) > 1:
            line += "; also " + "; ".join(f"{k}: {t}" for k, t in found[1:])
        if players[side].ours:
            report["counts"][kind] += 1
            report["problems"].append(line)
        else:
            report["opponent"].append(line)

    if len(games) < pairing.games:
        missing = pairing.games - len(games)
        report["counts"]["games not completed or not saved"] += missing
        report["problems"].append(f"{missing} of {pairing.games} games not saved"
                                  + (" (xboard did not finish in time)" if timed_out else ""))

    if any(report["counts"].values()) or report["opponent"] or keep_all:
        report["kept"] = work
    else:
        shutil.rmtree(work, ignore_errors=True)
        report["kept"] = None
    return report


def build_pairings(engines, games, control_inc, control_mps):
    """Each program in each protocol against itself, against each other build
    and against the Debian engines; the clocks alternate between the
    incremental and the moves-per-session control so that every program and
    protocol sees both."""
    ours = []
    for path in engines:
        label = re.sub(r"^Pelko_2_", "", os.path.basename(path))
        ours.append({p: Player(label, path, p, True) for p in ("uci", "xboard")})
    pairings = []
    for i, program in enumerate(ours):
        pairings.append(Pairing(program["xboard"], program["uci"], control_mps if i % 2 else control_inc, games))
    for i in range(len(ours)):
        for j in range(i + 1, len(ours)):
            pairings.append(Pairing(ours[i]["uci"], ours[j]["xboard"], control_mps, games))
            pairings.append(Pairing(ours[i]["xboard"], ours[j]["uci"], control_inc, games))
    for label, command, protocol in DEBIAN:
        opponent = Player(label, command, protocol, False)
        for program in ours:
            for p in ("uci", "xboard"):
                control = control_mps if label == "phalanx" else control_inc
                pairings.append(Pairing(program[p], opponent, control, games))
    return pairings


def probe_fairymax(engine, control):
    """Whether fairymax finishes two games against us at the incremental control."""
    first = Player("probe", engine, "xboard", True)
    report = run_pairing(Pairing(first, Player("fairymax", "fairymax", "xboard", False), control, 2))
    # Trouble of our own keeps fairymax in, so that the soak shows it.
    ours = any(v for k, v in report["counts"].items() if k != "games not completed or not saved")
    ok = ours or (report["games"] == 2 and not report["opponent"])
    if not ok:
        print_report(report)
    elif report["kept"]:
        shutil.rmtree(report["kept"], ignore_errors=True)
    return ok, report


def print_report(report):
    p = report["pairing"]
    worst = max((t.used - t.clock for t in report["thinks"]), default=None)
    line = (f"{p.name()}: {report['games']}/{p.games} games, {report['wall']:.0f} s; results "
            + ", ".join(f"{k} x{v}" for k, v in sorted(report["results"].items())))
    if worst is not None:
        line += f"; largest overrun {worst / 1000:+.3f} s"
    if report["margin"] is not None:
        line += f"; smallest margin {report['margin']:.1f} s"
    print(line, flush=True)
    for problem in report["problems"]:
        print(f"  FAILED {problem}")
    for problem in report["opponent"]:
        print(f"  opponent trouble (not counted): {problem}")
    if report["kept"]:
        print(f"  work folder kept: {report['kept']}")


NEAR_FLAG = 0.9  # a think using more of the clock than this is listed, though not failed


def summarise(reports, wall):
    totals = dict.fromkeys(COUNTS, 0)
    for r in reports:
        for k, v in r["counts"].items():
            totals[k] += v
    expected = sum(r["pairing"].games for r in reports)
    played = sum(r["games"] for r in reports)
    # (pairing, Think) for every think of ours
    all_thinks = [(r["pairing"], t) for r in reports for t in r["thinks"]]

    def where(pt):
        p, t = pt
        return f"{(p.first if t.side == 'first' else p.second).name()} in {p.name()}, game {t.game} move {t.move}"

    def share(pt):
        return pt[1].used / max(pt[1].clock, 1)

    worst = max(all_thinks, key=lambda pt: pt[1].used - pt[1].clock, default=None)
    fraction = max(all_thinks, key=share, default=None)
    longest = max(all_thinks, key=lambda pt: pt[1].used, default=None)
    near = [pt for pt in all_thinks if share(pt) > NEAR_FLAG]
    margins = [r["margin"] for r in reports if r["margin"] is not None]
    errors = sum(r["errors"] for r in reports)
    opponent = sum(len(r["opponent"]) for r in reports)
    game_time = sum(r["wall"] for r in reports) / max(played, 1)
    print()
    print(f"soak: {len(reports)} pairings, {played} of {expected} games played in {wall:.0f} s "
          f"({game_time:.1f} s of xboard time a game), {len(all_thinks)} thinks of ours measured")
    for k in COUNTS:
        print(f"soak: {k}: {totals[k]}")
    if worst:
        w, f, g = worst[1], fraction[1], longest[1]
        print(f"soak: largest clock overrun: {(w.used - w.clock) / 1000:+.3f} s "
              f"(think {w.used} ms with {w.clock} ms left, {where(worst)}; negative is inside the clock)")
        print(f"soak: largest think as a fraction of the clock left: {share(fraction):.3f} "
              f"({f.used} ms of {f.clock} ms, {where(fraction)})")
        print(f"soak: longest think: {g.used} ms ({where(longest)})")
    print(f"soak: thinks over {NEAR_FLAG:.0%} of the clock left (not counted): {len(near)}")
    for pt in sorted(near, key=share, reverse=True)[:10]:
        print(f"  {pt[1].used} ms of {pt[1].clock} ms: {where(pt)}")
    if margins:
        print(f"soak: smallest clock margin: {min(margins):.1f} s (from PGN move times, 0.1 s steps)")
    print(f"soak: error replies from our engine: {errors}")
    print(f"soak: opponent trouble (not counted): {opponent}")
    bad = sum(totals.values())
    print(f"soak: {'PASSED' if not bad else 'FAILED'}")
    return totals


# --- the deliberately broken engine, for --self-test -----------------------

def fake_engine(mode, after, command):
    """Passes everything through to the real engine, but at its AFTER-th move
    plays an illegal move, exits, stalls past the clock or (xboard) announces
    a false result, so that the soak's counters can be seen to work."""
    signal.signal(signal.SIGINT, signal.SIG_IGN)  # xboard interrupts engines that do not say sigint=0
    proc = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)

    def forward():
        for line in sys.stdin:
            try:
                proc.stdin.write(line)
                proc.stdin.flush()
            except BrokenPipeError:
                break
        try:
            proc.stdin.close()
        except BrokenPipeError:
            pass
    threading.Thread(target=forward, daemon=True).start()
    moves = 0
    for line in proc.stdout:
        m = re.match(r"(bestmove|move) (\S+)", line)
        if m:
            moves += 1
            if moves == after:
                if mode == "illegal":
                    line = f"{m.group(1)} a1h8\n" if m.group(2) != "a1h8" else f"{m.group(1)} h8a1\n"
                elif mode == "exit":
                    proc.kill()
                    os._exit(3)
                elif mode == "stall":
                    time.sleep(8)
                elif mode == "claim":
                    sys.stdout.write("1-0 {White mates}\n")
        sys.stdout.write(line)
        sys.stdout.flush()
    proc.wait()
    return 0


def self_test(engine, control):
    """Plays short pairings with each fault and checks that each is counted."""
    me = os.path.abspath(__file__)
    cases = [("illegal", "xboard", "illegal moves"), ("illegal", "uci", "illegal moves"),
             ("exit", "xboard", "crashes"), ("exit", "uci", "crashes"),
             ("stall", "xboard", "time forfeits"), ("stall", "uci", "time forfeits"),
             ("claim", "xboard", "false result claims")]
    ok = True
    phalanx = Player("phalanx", "phalanx -l-", "xboard", False)
    for mode, protocol, kind in cases:
        command = f"{sys.executable} {me} --fake-engine {mode} 6 {engine}"
        player = Player(f"fake-{mode}", command, protocol, True)
        report = run_pairing(Pairing(player, phalanx, control, 2))
        counted = report["counts"][kind]
        good = counted > 0
        if good and report["kept"]:
            shutil.rmtree(report["kept"], ignore_errors=True)  # the failure was the point
            report["kept"] = None
        print_report(report)
        print(f"self-test {mode} ({protocol}): {kind} {counted}: {'ok' if good else 'NOT COUNTED'}", flush=True)
        ok = ok and good
    # The real engine, unwrapped, must come out clean in the same setting.
    report = run_pairing(Pairing(Player("clean", engine, "xboard", True), phalanx, control, 2))
    print_report(report)
    clean = not any(report["counts"].values())
    print(f"self-test clean engine: {'ok' if clean else 'TROUBLE COUNTED'}")
    ok = ok and clean
    print(f"self-test: {'PASSED' if ok else 'FAILED'}")
    return 0 if ok else 1


def main():
    if len(sys.argv) > 4 and sys.argv[1] == "--fake-engine":
        return fake_engine(sys.argv[2], int(sys.argv[3]), sys.argv[4:])
    parser = argparse.ArgumentParser(description="Soak our engines under xboard.")
    parser.add_argument("--engines", nargs="+", required=True)
    parser.add_argument("--games-per-pairing", type=int, default=0,
                        help="games per pairing (default: an even number giving about 300 games in all)")
    parser.add_argument("--tc", default="0:02", help="base time of the incremental control")
    parser.add_argument("--inc", default="0.02", help="increment of the incremental control, seconds")
    parser.add_argument("--mps", type=int, default=40, help="moves per session of the other control")
    parser.add_argument("--mps-tc", default="0:05", help="time per session of the moves-per-session control")
    parser.add_argument("--jobs", type=int, default=1, help="xboard runs at once")
    parser.add_argument("--only", help="play only the pairings whose name matches this regular expression")
    parser.add_argument("--list", action="store_true", help="list the pairings and stop")
    parser.add_argument("--skip-probe", action="store_true",
                        help="include fairymax without first checking that it copes with the control")
    parser.add_argument("--keep", action="store_true", help="keep every work folder")
    parser.add_argument("--self-test", action="store_true",
                        help="check that the counters catch a broken engine (uses the first engine)")
    args = parser.parse_args()

    engines = [os.path.abspath(e) for e in args.engines]
    for e in engines:
        if not os.access(e, os.X_OK):
            parser.error(f"{e} is not an executable program")
    control_inc = (args.tc, args.inc, 0)
    control_mps = (args.mps_tc, "0", args.mps)
    if args.self_test:
        return self_test(engines[0], control_inc)

    pairings = build_pairings(engines, 1, control_inc, control_mps)
    if args.only:
        pairings = [p for p in pairings if re.search(args.only, p.name())]
    if not args.list and not args.skip_probe and any(p.second.label == "fairymax" for p in pairings):
        fairymax, probe = probe_fairymax(engines[0], control_inc)
        print(f"fairymax at {args.tc}+{args.inc}: {'copes, included' if fairymax else 'left out'} "
              f"({probe['games']} of 2 probe games, {probe['wall']:.0f} s)", flush=True)
        if not fairymax:
            pairings = [p for p in pairings if p.second.label != "fairymax"]
    games = args.games_per_pairing or 2 * math.ceil(300 / max(len(pairings), 1) / 2)
    for p in pairings:
        p.games = games
    if args.list:
        for p in pairings:
            print(f"{p.name()}: {p.games} games")
        print(f"{len(pairings)} pairings, {games * len(pairings)} games")
        return 0

    print(f"{len(pairings)} pairings of {games} games, {games * len(pairings)} games, {args.jobs} at once", flush=True)
    started = time.monotonic()
    reports = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, args.jobs)) as pool:
        for report in pool.map(lambda p: run_pairing(p, args.keep), pairings):
            print_report(report)
            reports.append(report)
    totals = summarise(reports, time.monotonic() - started)
    return 1 if any(totals.values()) else 0


if __name__ == "__main__":
    sys.exit(main())
