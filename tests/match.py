#!/usr/bin/env python3
"""Plays engine-against-engine games under real xboard (headless, through
xvfb-run) and checks the saved games: each must end normally (mate, draw,
resignation or adjudication), with no illegal move, time forfeit or crash.

  match.py ENGINE [--protocol uci|xboard] [--games N] [--tc 0:10] [--inc 0.1]
           [--mps MOVES] [--opponent "phalanx -l-"] [--pgn FILE]
           [--gui-line "xboard -fcp ..." [--home DIR]]

A UCI engine is run through polyglot, as xboard does for UCI engines.
--gui-line starts xboard with a person's command line instead (ENGINE then only
names the engine): the line goes through the shell with HOME set to DIR (by
default the match folder), and the match options are added after it."""
import argparse, os, re, shlex, shutil, subprocess, sys, tempfile

BAD_ENDINGS = re.compile(r"time|illegal|forfeit|crash|disconnect|exit|abort|terminated|stall", re.I)


def parse_games(text):
    """Splits a PGN file into (tags, movetext) pairs."""
    return [(dict(re.findall(r'^\[(\w+) "(.*)"\]$', tags, re.M)), " ".join(moves.split()))
            for tags, moves in re.findall(r"((?:^\[.*\]\n)+)([^[]*)", text, re.M)]


def engine_claims(debug):
    """The first result the engine announced in each game of xboard's debug log
    (None for a game where it announced none)."""
    return [(re.findall(r"<first : (1-0|0-1|1/2-1/2) \{", game) or [None])[0]
            for game in re.split(r"\nNew game \(\d+\)", debug)[1:]]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("engine")
    parser.add_argument("--protocol", default="uci", choices=["uci", "xboard"])
    parser.add_argument("--games", type=int, default=2)
    parser.add_argument("--tc", default="0:10")
    parser.add_argument("--inc", default="0.1")
    parser.add_argument("--mps", type=int, default=0, help="moves per time control (0: whole game)")
    parser.add_argument("--opponent", default="phalanx -l-")
    for option in ("--pgn", "--gui-line", "--home"):
        parser.add_argument(option)
    args = parser.parse_args()

    env = dict(os.environ, PATH=os.environ.get("PATH", "") + ":/usr/games")
    work = tempfile.mkdtemp(prefix="pelko_match_")
    pgn = args.pgn or os.path.join(work, "games.pgn")
    engine = os.path.abspath(args.engine)
    headless = ["-noGUI", "-xexit", "-xponder", "-saveSettingsOnExit", "false"]
    options = ["-scp", args.opponent, "-sd", work, "-mg", str(args.games), "-tc", args.tc,
               *(["-mps", str(args.mps)] if args.mps else ["-inc", args.inc]),
               "-autoCallFlag", "true", "-pgnExtendedInfo", "true", "-sgf", pgn,
               "-debug", "-nameOfDebugFile", os.path.join(work, "xboard.debug")]
    if args.gui_line:
        command = ["xvfb-run", "-a", "bash", "-c", args.gui_line + " " + shlex.join(headless + options)]
        env["HOME"] = os.path.abspath(args.home or work)
    else:
        first = (["-fUCI"] if args.protocol == "uci" else []) + ["-fcp", engine, "-fd", work]
        command = ["xvfb-run", "-a", "xboard", *headless, *first, *options]
    minutes, _, seconds = args.tc.partition(":")
    base = float(minutes) * 60 + float(seconds or 0)
    inc = 0.0 if args.mps else float(args.inc)
    per_game = 2 * (base * (4 if args.mps else 1) + 150 * inc) + 30
    try:
        subprocess.run(command, env=env, cwd=work, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=per_game * args.games + 60)
    except subprocess.TimeoutExpired:
        print("xboard did not finish the match in time")
    games = parse_games(open(pgn).read()) if os.path.exists(pgn) else []

    failures, results, points = [], {}, 0.0
    for number, (tags, movetext) in enumerate(games, 1):
        result = tags.get("Result", "*")
        ending = (re.findall(r"\{([^}]*)\}\s*(?:1-0|0-1|1/2-1/2|\*)\s*$", movetext) or [""])[0]
        results[result] = results.get(result, 0) + 1
        ours_white = tags.get("White", "").startswith("Pelko")
        points += {"1-0": 1.0 if ours_white else 0.0, "0-1": 0.0 if ours_white else 1.0, "1/2-1/2": 0.5}.get(result, 0)
        if result not in ("1-0", "0-1", "1/2-1/2") or not ending or BAD_ENDINGS.search(ending):
            failures.append(f"game {number}: {result} {{{ending}}}")
    # In the xboard protocol the engine announces results itself: each claim
    # must be the result the game was saved with.
    if args.protocol == "xboard" and os.path.exists(os.path.join(work, "xboard.debug")):
        claims = engine_claims(open(os.path.join(work, "xboard.debug"), errors="replace").read())
        for number, ((tags, _), claim) in enumerate(zip(games, claims), 1):
            if claim and claim != tags.get("Result"):
                failures.append(f"game {number}: the engine announced {claim}, the game ended {tags.get('Result')}")
    if len(games) != args.games:
        failures.append(f"{len(games)} of {args.games} games were saved")

    control = f"{args.tc} per {args.mps} moves" if args.mps else f"{args.tc}+{args.inc}"
    print(f"{os.path.basename(engine)} ({args.protocol}) against {args.opponent}, {len(games)} games at {control}: "
          f"{points:g} points; results " + ", ".join(f"{k} x{v}" for k, v in sorted(results.items())))
    for failure in failures:
        print("FAILED " + failure)
    if not failures:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
