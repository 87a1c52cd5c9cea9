#!/usr/bin/env python3
"""Measures the rating of each level of the web build's Node entry against
rated references and prints a table of them.

  levels.py [--games 50] [--levels 1-8] [--jobs 2] [--ms 100] [--plies 200]
            [--bottom-plies 400]
            [--minutes 30] [--web build-web] [--seed 1] [--record FILE]

Level N plays as "node WEB/pelko-node.mjs --level N --seed S", with a new seed
each game; level 8, full strength, is the same entry without --level. Each
game is played under bench/movetime_match.py's referee: every move at
"go movetime MS", a reply later than MS (references: MS + 50) loses on time,
--grace adding to both on a busy machine; Debian's stockfish judges
legality, mate and stalemate, and a game longer than --plies is drawn; a
game of the random mover or the greedy capturer, both slow to mate anyone, is
played to --bottom-plies, so that it ends in a result rather than at a cut. Games
start from a fixed book of balanced opening lines, each played with both
colours.

The references:
  - Debian's stockfish (15.1) at "Skill Level" 0 to 5 and, above those, with
    UCI_LimitStrength and UCI_Elo 1950 to 2850, their ratings fixed on the
    CCRL 40/4 scale (skill_rating() below);
  - for the bottom, players of bench/weak_players.py: a random mover, a
    greedy capturer and, between that and Skill Level 0, Skill Level 0 with
    70, 50, 35, 20, 10, 5 or 2 % of its moves random. Their ratings are free
    parameters of the same fit, set by their games against the levels and a
    chain of games (--bottom-games) between neighbours from the random mover
    up to Skill Level 0.

Each level climbs a ladder of the references from a guess: one game a rung,
up after a win, down after a loss, two rungs a step until the first turn; so
its games gather where it scores about half. Adjacent levels also meet each
other (--pair-games), and level 1 meets the random mover and the greedy
capturer (--target-games) for the targets at the bottom. One maximum-likelihood fit (logistic Elo model, draws as
half points) then gives every free player's rating, with its standard error
from the likelihood's curvature; a player that won or lost every game gets a
one-sided bound instead (where the likelihood falls by e^0.5).

--minutes bounds the run: no game starts when the remaining time would not
hold the longest game so far. --games and --levels shorten it. --refit rates
the games that --record kept, of one run or several, without playing. A reference
that answers late (the machine's load) has its game left out; a level that
does loses it. --level-command replaces the level players ("{level}" and
"{seed}" are filled in), a stand-in while the entry has no --level."""
import argparse
import concurrent.futures
import json
import math
import os
import shlex
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from movetime_match import Uci, legal_moves, referee  # noqa: E402


def skill_rating(level):
    """The rating of Stockfish 15.1 at an integer "Skill Level". It turns
    UCI_Elo into a fractional level as min(20, ((UCI_Elo - 1346.6) / 143.4) **
    (1 / 0.806)): struct Skill in
    https://github.com/official-stockfish/Stockfish/blob/sf_15.1/src/search.cpp
    (the three constants are in Debian's binary too). Its README gives the
    UCI_Elo scale as fitted at 60 s + 0.6 s a game and anchored to CCRL 40/4.
    Inverted:"""
    return 1346.6 + 143.4 * level ** 0.806


class Player:
    def __init__(self, short, name, command, rating=None, options=(), grace=50, tested=False, slow=False):
        self.short, self.name, self.command = short, name, command  # command(seed) -> shell line
        self.rating, self.options, self.grace, self.tested = rating, options, grace, tested
        self.slow = slow  # slow to mate: its games are played to --bottom-plies


def stockfish(short, name, rating, options):
    return Player(short, name, lambda seed: "stockfish", rating,
                  [("Threads", 1), ("Hash", 16), *options])


def weak(kind, short=None, name=None, extra="", slow=False):
    script = shlex.quote(os.path.join(HERE, "weak_players.py"))
    return Player(short or kind, name or kind + " mover",
                  lambda seed: f"{shlex.quote(sys.executable)} {script} {kind}{extra} --seed {seed}", slow=slow)


ELO_RUNGS = (1950, 2050, 2150, 2250, 2350, 2450, 2600, 2850)
MIXES = (70, 50, 35, 20, 10, 5, 2)  # per cent of random moves, weakest first
# The ladder, weakest first.
RUNGS = ([weak("random", slow=True), weak("greedy", name="greedy capturer", slow=True)]
         + [weak("mix", f"mix{p}", f"Skill Level 0, {p} % random", f" --random {p}") for p in MIXES]
         + [stockfish(f"S{k}", f"stockfish Skill Level {k}", skill_rating(k), [("Skill Level", k)])
            for k in range(6)]
         + [stockfish(f"E{e}", f"stockfish UCI_Elo {e}", e, [("UCI_LimitStrength", "true"), ("UCI_Elo", e)])
            for e in ELO_RUNGS])
# The players below Skill Level 0 are rated in the fit, linked to it by a
# chain of games between neighbours.
BOTTOM = RUNGS[:RUNGS.index(next(p for p in RUNGS if p.rating is not None)) + 1]


# Balanced lines from the start position, each played with both colours.
BOOK = [
    "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6",  # Ruy Lopez
    "d2d4 d7d5 c2c4 e7e6 b1c3 g8f6",  # Queen's Gambit Declined
    "e2e4 c7c5 g1f3 d7d6 d2d4 c5d4",  # Sicilian
    "d2d4 g8f6 c2c4 e7e6 b1c3 f8b4",  # Nimzo-Indian
    "e2e4 e7e6 d2d4 d7d5 b1c3 g8f6",  # French
    "c2c4 e7e5 b1c3 g8f6 g1f3 b8c6",  # English
    "e2e4 c7c6 d2d4 d7d5 b1c3 d5e4",  # Caro-Kann
    "d2d4 g8f6 c2c4 g7g6 b1c3 f8g7",  # King's Indian
    "e2e4 e7e5 g1f3 b8c6 f1c4 f8c5",  # Italian
    "g1f3 d7d5 g2g3 g8f6 f1g2 e7e6",  # Reti
    "d2d4 d7d5 c2c4 c7c6 g1f3 g8f6",  # Slav
    "e2e4 d7d6 d2d4 g8f6 b1c3 g7g6",  # Pirc
]


def white_score(side, ending):
    """White's points in a game that ended as referee() says."""
    return 0.5 if ending in ("stalemate", "adjudicated draw") else float(side)


def play(number, white, black, opening, seed, args):
    """One game; returns its record, or one with an "error" when a player failed."""
    limit = args.bottom_plies if white.slow or black.slow else args.plies
    record = {"game": number, "white": white.short, "black": black.short, "opening": opening, "seed": seed,
              "ms": args.ms, "limit": limit, "grace": args.grace}
    engines, starting = [], None
    try:
        for player in (white, black):
            starting = player.short
            engines.append(Uci(player.command(seed)))
            for name, value in player.options:
                engines[-1].send(f"setoption name {name} value {value}")
        starting = "arbiter"
        engines.append(Uci("stockfish"))
        starting = None
        side, ending, moves, replies = referee(engines[:2], engines[2], args.ms, limit,
                                               (white.grace + args.grace, black.grace + args.grace),
                                               BOOK[opening].split())
        record.update(side=side, ending=ending, plies=len(moves), score=white_score(side, ending),
                      slowest=[round(max(r, default=0)) for r in replies],
                      late=[sum(took > args.ms for took in r) for r in replies],
                      replies=[len(r) for r in replies], moves=" ".join(moves))
        # A reference that answers late has met the machine's load, not its
        # match: the game says nothing of the level and is left out. A level's
        # loss on time counts: no level may lose on time.
        record["void"] = ending.startswith("lost on time") and not (white, black)[side].tested
    except (RuntimeError, OSError, IndexError) as error:
        ended = [starting] if starting else [name for name, engine in zip((white.short, black.short, "arbiter"),
                                                                          engines) if engine.proc.poll() is not None]
        record["error"] = f"{error or type(error).__name__} ({', '.join(ended) or 'no process'} ended)"
    finally:
        for engine in engines:
            engine.quit()
    return record


class Ladder:
    """The references one level climbs: one game a rung, up after a win, down
    after a loss, two rungs a step until the first turn."""

    def __init__(self, player, start, games):
        self.player, self.rung, self.games = player, start, games
        self.played, self.step, self.last = 0, 2, 0

    def next_game(self):
        self.played += 1
        return self.player, RUNGS[self.rung]

    def result(self, points):
        direction = (points > 0.5) - (points < 0.5)
        if direction:
            if self.last and direction != self.last:
                self.step = 1
            self.last = direction
            self.rung = min(max(self.rung + direction * self.step, 0), len(RUNGS) - 1)


K = math.log(10) / 400


def expected(a, b):
    return 1 / (1 + 10 ** ((b - a) / 400))


def log_likelihood(games, ratings):
    total = 0.0
    for white, black, score in games:
        p = min(max(expected(ratings[white], ratings[black]), 1e-300), 1 - 1e-16)
        total += score * math.log(p) + (1 - score) * math.log(1 - p)
    return total


def solve(matrix, vector):
    """Gaussian elimination with partial pivoting on a small dense system."""
    n = len(vector)
    rows = [row[:] + [value] for row, value in zip(matrix, vector)]
    for col in range(n):
        pivot = max(range(col, n), key=lambda r: abs(rows[r][col]))
        rows[col], rows[pivot] = rows[pivot], rows[col]
        for r in range(n):
            if r != col:
                factor = rows[r][col] / rows[col][col]
                rows[r] = [x - factor * y for x, y in zip(rows[r], rows[col])]
    return [rows[i][n] / rows[i][i] for i in range(n)]


LOW, HIGH = -3000.0, 6000.0  # a rating pushed to these won or lost every game


def held(games, anchors, counts):
    """The players held by ANCHORS: those who took a score that COUNTS
    against an anchor or against a player already held."""
    found, grew = set(anchors), True
    while grew:
        grew = False
        for white, black, score in games:
            for x, y, got in ((white, black, score), (black, white, 1 - score)):
                if x not in found and y in found and counts(got):
                    found.add(x)
                    grew = True
    return found


def newton(games, ratings, free):
    """Maximum-likelihood ratings of the FREE players, the others fixed as in
    RATINGS, by Newton's method; {player: (rating, s.e., None)}."""
    r = dict(ratings, **{p: 1500.0 for p in free})
    active = list(free)
    for _ in range(500):
        index = {p: i for i, p in enumerate(active)}
        n = len(active)
        grad, info = [0.0] * n, [[1e-12 * (i == j) for j in range(n)] for i in range(n)]
        for white, black, score in games:
            p = expected(r[white], r[black])
            w = K * K * p * (1 - p)
            i, j = index.get(white), index.get(black)
            if i is not None:
                grad[i] += K * (score - p)
                info[i][i] += w
            if j is not None:
                grad[j] -= K * (score - p)
                info[j][j] += w
            if i is not None and j is not None:
                info[i][j] -= w
                info[j][i] -= w
        step = solve(info, grad) if n else []
        biggest = max((abs(s) for s in step), default=0.0)
        for p, s in zip(active, step):
            r[p] = min(max(r[p] + s * min(1.0, 300 / max(biggest, 300)), LOW), HIGH)
        stuck = [p for p in active if r[p] in (LOW, HIGH)]
        if stuck:
            active = [p for p in active if p not in stuck]
        elif biggest < 0.01:
            break
    # Standard errors: the inverse of the information matrix, at the optimum.
    n = len(active)
    inverse = [solve(info, [float(i == j) for i in range(n)]) for j in range(n)] if n else []
    covariance = {(a, b): inverse[i][j] for i, a in enumerate(active) for j, b in enumerate(active)}
    result = {p: (r[p], math.sqrt(max(inverse[k][k], 0.0)), None) for k, p in enumerate(active)}
    result.update({p: (r[p], None, "<" if r[p] == LOW else ">") for p in free if p not in result})
    return result, covariance


def fit(games, ratings, free):
    """Maximum-likelihood ratings of the FREE players, the others fixed as in
    RATINGS: {player: (rating, s.e. or None, bound "<", ">" or None)}, and
    the covariances of the ratings that have an error, {(a, b): covariance}.

    A set of players who took no point from everyone else (or lost none) has
    no finite rating: the likelihood keeps growing as the set moves away. Such
    a set is rated within itself, and then placed as a whole where the
    likelihood has fallen by e^0.5 from its limit: a one-sided bound."""
    below = held(games, ratings, lambda got: got > 0)
    above = held(games, ratings, lambda got: got < 1)
    inner = [p for p in free if p in below and p in above]
    result, covariance = newton([g for g in games if g[0] in below & above and g[1] in below & above],
                                ratings, inner)
    known = dict(ratings, **{p: v[0] for p, v in result.items()})
    for group, sign in (([p for p in free if p not in below], "<"),
                        ([p for p in free if p in below and p not in above], ">")):
        if not group:
            continue
        inside = fit([g for g in games if g[0] in group and g[1] in group], {group[0]: 0.0}, group[1:])[0]
        relative = {group[0]: 0.0, **{p: v[0] for p, v in inside.items()}}
        cross = [g for g in games if (g[0] in group and g[1] in known) or (g[1] in group and g[0] in known)]

        def likelihood(shift):
            return log_likelihood(cross, dict(known, **{p: relative[p] + shift for p in group}))

        near = max(known.values()) - min(relative.values()) if sign == "<" else \
            min(known.values()) - max(relative.values())
        far = near + (-10000 if sign == "<" else 10000)
        limit = likelihood(far)
        for _ in range(80):
            middle = (far + near) / 2
            far, near = (middle, near) if likelihood(middle) >= limit - 0.5 else (far, middle)
        result.update({p: (relative[p] + far, None, sign) for p in group})
    return result, covariance


def parse_levels(text):
    levels = set()
    for part in text.split(","):
        low, _, high = part.partition("-")
        levels.update(range(int(low), int(high or low) + 1))
    if not levels <= set(range(1, 9)):
        raise argparse.ArgumentTypeError("levels run from 1 to 8")
    return sorted(levels)


def level_players(args):
    node = "node " + shlex.quote(os.path.join(args.web, "pelko-node.mjs"))
    template = args.level_command or node + " --level {level} --seed {seed}"
    players = {}
    for level in args.levels:
        if level == 8:
            players[level] = Player("L8", "level 8 (full strength)", lambda seed: node,
                                    grace=0, tested=True)
        else:
            players[level] = Player(f"L{level}", f"level {level}",
                                    lambda seed, level=level: template.format(level=level, seed=seed),
                                    grace=0, tested=True)
    return players


def check_book():
    arbiter = Uci("stockfish")
    try:
        for line in BOOK:
            moves = line.split()
            for ply, move in enumerate(moves):
                if move not in legal_moves(arbiter, moves[:ply]):
                    sys.exit(f"the opening line {line} has the illegal {move}")
    finally:
        arbiter.quit()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--games", type=int, default=50, help="ladder games of each level")
    parser.add_argument("--levels", type=parse_levels, default=list(range(1, 9)), help="as 1-8 or 1,3,8")
    parser.add_argument("--pair-games", type=int, default=2, help="games between adjacent levels")
    parser.add_argument("--bottom-games", type=int, default=6,
                        help="games between neighbours from the random mover up to Skill Level 0")
    parser.add_argument("--target-games", type=int, default=40,
                        help="games of level 1 against the random mover and against the greedy capturer")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--ms", type=int, default=100)
    parser.add_argument("--grace", type=int, default=0,
                        help="milliseconds more allowed to every player (a busy machine)")
    parser.add_argument("--plies", type=int, default=200)
    parser.add_argument("--bottom-plies", type=int, default=400,
                        help="the ply limit of the random mover's and the greedy capturer's games")
    parser.add_argument("--minutes", type=float, default=30)
    parser.add_argument("--web", default=os.path.join(os.path.dirname(HERE), "build-web"))
    parser.add_argument("--level-command")
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--record", help="write each game as a line of JSON to this file")
    parser.add_argument("--refit", nargs="+", metavar="FILE", help="play nothing: rate the games of these records")
    args = parser.parse_args()
    if args.refit:
        return refit(args)
    started = time.monotonic()
    os.environ["PATH"] += ":/usr/games"  # where Debian puts its engines
    entry = os.path.join(args.web, "pelko-node.mjs")
    if not os.path.exists(entry):
        sys.exit(f"no {entry}: build the web build first")
    if not args.level_command and any(level < 8 for level in args.levels) and "--level" not in open(entry).read():
        sys.exit(f"{entry} has no --level: measure --levels 8, or give --level-command")
    check_book()
    print("command: " + shlex.join([os.path.relpath(sys.argv[0])] + sys.argv[1:]), flush=True)

    levels = level_players(args)
    by_short = {p.short: p for p in RUNGS + list(levels.values())}
    # Each level starts its ladder at a guess spread from the greedy capturer
    # (level 1) to UCI_Elo 2050 (level 8).
    top = RUNGS.index(by_short["E2050"])
    ladders = [Ladder(player, round(1 + (level - 1) * (top - 1) / 7), args.games)
               for level, player in levels.items()]
    fixed = []
    for low, high in zip(BOTTOM, BOTTOM[1:]):
        fixed += [(low, high)] * args.bottom_games
    for level in levels:
        if level + 1 in levels:
            fixed += [(levels[level], levels[level + 1])] * args.pair_games
    if 1 in levels:  # the targets at the bottom, measured directly
        fixed += [(levels[1], by_short["random"]), (levels[1], by_short["greedy"])] * args.target_games
    records, running, number, durations, openings = [], {}, 0, [], {}

    fixed_total = len(fixed)

    def pick():
        """The next game: the fixed ones spread evenly among the ladders'; the
        ladder with the fewest games among those not waiting for a result."""
        idle = [l for l in ladders if l.played < l.games and l not in running.values()]
        ladder_left = sum(l.games - l.played for l in ladders)
        ladder_total = sum(l.games for l in ladders)
        if fixed and (not idle or len(fixed) * ladder_total >= ladder_left * fixed_total):
            a, b = fixed.pop(0)
            return None, (a, b), (a.short, b.short)
        if idle:
            ladder = min(idle, key=lambda l: l.played)
            return ladder, ladder.next_game(), ladder.player.short
        return None, None, None

    def colours(pair, key):
        """Alternates colours, and book lines every two games, for each ladder
        and each fixed pairing."""
        count = openings.get(key, 0)
        openings[key] = count + 1
        return (pair if count % 2 == 0 else pair[::-1]), (count // 2) % len(BOOK)

    deadline = started + args.minutes * 60
    skipped = 0
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        while True:
            if time.monotonic() + max(durations, default=60) > deadline:
                skipped += len(fixed) + sum(l.games - l.played for l in ladders)
                fixed.clear()
                for ladder in ladders:
                    ladder.games = ladder.played
            while len(running) < args.jobs:
                ladder, pair, key = pick()
                if pair is None:
                    break
                (white, black), opening = colours(pair, key)
                number += 1
                future = pool.submit(play, number, white, black, opening, args.seed * 100000 + number, args)
                future.started = time.monotonic()
                running[future] = ladder
            if not running:
                break
            done, _ = concurrent.futures.wait(running, return_when=concurrent.futures.FIRST_COMPLETED)
            for future in done:
                ladder = running.pop(future)
                durations.append(time.monotonic() - future.started)
                record = future.result()
                records.append(record)
                report(record)
                if ladder and "error" not in record and not record["void"]:
                    mine = record["score"] if record["white"] == ladder.player.short else 1 - record["score"]
                    ladder.result(mine)
                if args.record:
                    with open(args.record, "a") as out:
                        out.write(json.dumps(record) + "\n")
    table(args, records, levels, by_short, skipped, time.monotonic() - started)
    return 0


def refit(args):
    records = [json.loads(line) for name in args.refit for line in open(name)]
    args.levels = sorted({int(p[1:]) for r in records for p in (r["white"], r["black"]) if p[:1] == "L"})
    # The conditions the games were played under, for the table's header.
    args.ms, args.grace = (max(r.get(key, 0) for r in records) for key in ("ms", "grace"))
    # The ply limits: the ladder's, and the bottom players'.
    slow = {p.short for p in RUNGS if p.slow}
    args.plies, args.bottom_plies = (max((r.get("limit", 200) for r in records
                                          if bool(slow & {r["white"], r["black"]}) == bottom), default=200)
                                     for bottom in (False, True))
    levels = level_players(args)
    print(f"the {len(records)} games of " + ", ".join(args.refit))
    table(args, records, levels, {p.short: p for p in RUNGS + list(levels.values())}, 0, None)
    return 0


def report(record):
    if "error" in record:
        print(f"game {record['game']}: {record['white']} - {record['black']}: FAILED {record['error']}", flush=True)
        return
    result = {1.0: "1-0", 0.0: "0-1", 0.5: "1/2"}[record["score"]]
    ending = record["ending"] + (", left out" if record["void"] else "")
    print(f"game {record['game']}: {record['white']} - {record['black']} {result} "
          f"({ending}, {record['plies']} plies, opening {record['opening'] + 1}, seed {record['seed']})", flush=True)


def table(args, records, levels, by_short, skipped, elapsed):
    finished = [r for r in records if "error" not in r and not r["void"]]
    games = [(r["white"], r["black"], r["score"]) for r in finished]
    fixed = {p.short: p.rating for p in RUNGS if p.rating is not None}
    # Only players linked to a reference through games have a rating.
    anchored = set(fixed)
    while True:
        linked = {x for w, b, _ in games for x, y in ((w, b), (b, w)) if y in anchored} - anchored
        if not linked:
            break
        anchored |= linked
    unrated = list(levels.values()) + [p for p in RUNGS if p.rating is None]
    free = [p.short for p in unrated if p.short in anchored]
    loose = [p.short for p in unrated
             if p.short not in anchored and any(p.short in (w, b) for w, b, _ in games)]
    games = [(w, b, s) for w, b, s in games if w in anchored and b in anchored]
    fitted, covariance = fit(games, fixed, free)

    print()
    print("Ratings: engine ratings on the CCRL 40/4 scale, not human ratings. The references' are fixed:")
    print("  " + ", ".join(f"{p.short} {p.rating:.0f}" for p in RUNGS if p.rating is not None))
    print(f"  (S0-S5: stockfish 15.1 Skill Level 0-5, their ratings from its UCI_Elo mapping; E: UCI_Elo.) The games "
          f"were faster than the calibration's: {args.ms} ms a move, drawn after {args.plies} plies "
          f"({args.bottom_plies} in the random mover's and the greedy capturer's games).")
    print("  random, greedy and mix2-mix70 (Skill Level 0 with 2-70 % random moves) are free parameters of "
          "the same fit.")
    print()
    print(f"{'player':<25} {'rating':>7} {'± s.e.':>7} {'games':>6} {'score':>7}  per opponent (points/games)")
    for short in free:
        player = by_short[short]
        rating, error, bound = fitted[short]
        mine = [(b if w == short else w, s if w == short else 1 - s) for w, b, s in games if short in (w, b)]
        opponents = {}
        for opponent, points in mine:
            got = opponents.setdefault(opponent, [0.0, 0])
            got[0] += points
            got[1] += 1
        order = sorted(opponents, key=lambda o: fitted.get(o, (fixed.get(o, 0),))[0])
        per = ", ".join(f"{o} {opponents[o][0]:g}/{opponents[o][1]}" for o in order)
        shown = f"{bound}{rating:.0f}" if bound else f"{rating:.0f}"
        points = sum(s for _, s in mine)
        print(f"{player.name:<25} {shown:>7} {'' if bound else f'{error:.0f}':>7} {len(mine):>6} "
              f"{points:>7g}  {per}")
    losses = {}
    for r in records:
        if "error" not in r and r["ending"].startswith("lost on time"):
            loser = r["white"] if r["side"] == 0 else r["black"]
            loser += " (game left out)" if r["void"] else ""
            losses[loser] = losses.get(loser, 0) + 1
    if loose:
        print("no rating (no games linking them to a reference): " + ", ".join(loose))
    slowest, late = {}, {}
    for r in records:
        for k, who in enumerate((r["white"], r["black"])):
            if "slowest" in r:
                slowest[who] = max(slowest.get(who, 0), r["slowest"][k])
                counts = late.setdefault(who, [0, 0])
                counts[0] += r["late"][k]
                counts[1] += r["replies"][k]
    tested = [s for s in by_short if by_short[s].tested and s in slowest]
    print()
    print(f"replies later than {args.ms} ms (late/all, slowest): "
          + ", ".join(f"{s} {late[s][0]}/{late[s][1]}, {slowest[s]} ms" for s in tested))
    if args.grace:
        print(f"--grace {args.grace}: every player was allowed {args.grace} ms more")
    print("losses on time: " + (", ".join(f"{k} {v}" for k, v in losses.items()) or "none"))
    failed = sum("error" in r for r in records)
    if failed:
        print(f"{failed} games failed and were left out")
    if skipped:
        print(f"{skipped} games were not started: --minutes {args.minutes:g} would not have held them")
    checks(fitted, covariance, games, levels)
    if elapsed is not None:
        minutes, seconds = divmod(round(elapsed), 60)
        print(f"{len(records)} games, {args.jobs} at a time, in {minutes} min {seconds} s")


def checks(fitted, covariance, games, levels):
    """The targets: strictly ordered levels, adjacent ones at least 100 apart;
    level 1 at least 90 % against the random mover, at most half against the
    greedy capturer."""
    lines = []
    shown = [f"L{level}" for level in sorted(levels)]
    shown = [short for short in shown if short in fitted]
    for low, high in zip(shown, shown[1:]):
        gap = fitted[high][0] - fitted[low][0]
        # Against a bound, the gap is a bound too; within one bounded group
        # it is the group's own difference.
        more = "more than " if fitted[low][2] == "<" and fitted[high][2] is None else ""
        # The error of a difference: levels that share opponents share much
        # of their error, which the difference cancels.
        error = ""
        if (low, high) in covariance:
            variance = covariance[low, low] + covariance[high, high] - 2 * covariance[low, high]
            error = f" ± {math.sqrt(max(variance, 0.0)):.0f}"
        lines.append(f"{high} - {low}: {more}{gap:+.0f}{error} {'ok' if gap >= 100 else 'UNDER 100'}")

    def score(player, opponent):
        points = [s if w == player else 1 - s for w, b, s in games if {w, b} == {player, opponent}]
        return sum(points), len(points)

    if "L1" in shown:
        points, count = score("L1", "random")
        if count:
            lines.append(f"L1 against random: {points:g}/{count} {'ok' if points >= 0.9 * count else 'UNDER 90 %'}")
        points, count = score("L1", "greedy")
        if count:
            lines.append(f"L1 against greedy: {points:g}/{count} {'ok' if points <= 0.5 * count else 'OVER HALF'}")
    if lines:
        print("targets: " + "; ".join(lines))


if __name__ == "__main__":
    sys.exit(main())
