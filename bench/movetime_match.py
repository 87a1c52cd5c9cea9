#!/usr/bin/env python3
"""Games at a fixed time per move, with the time enforced as a strict referee
does: each "go movetime MS" must be answered with "bestmove" within MS
milliseconds, measured from the write of "go" to the read of the reply, or the
side to move loses on time (the opponent, not under test, has 50 ms of grace). Both sides speak UCI; Debian's stockfish is the
opponent by default and, in a process of its own, the arbiter of legal moves,
mate and stalemate. Games longer than --plies are adjudicated drawn.

  movetime_match.py ENGINE [--games 40] [--jobs 2] [--ms 100] [--hogs 1]
                    [--opponent stockfish] [--plies 160]

--hogs starts that many busy processes beside the games (a shared machine).
Prints each game, then the forfeits of each side and the slowest replies."""
import argparse
import concurrent.futures
import multiprocessing
import os
import subprocess
import sys
import time


class Uci:
    def __init__(self, command):
        self.proc = subprocess.Popen(command, shell=True, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=subprocess.DEVNULL, text=True, bufsize=1)
        self.send("uci")
        self.until("uciok")

    def send(self, line):
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()

    def until(self, prefix):
        while True:
            line = self.proc.stdout.readline()
            if not line:
                raise RuntimeError("the engine ended")
            if line.startswith(prefix):
                return line.split()

    def ready(self):
        self.send("isready")
        self.until("readyok")

    def quit(self):
        try:
            self.send("quit")
            self.proc.wait(timeout=5)
        except (OSError, subprocess.TimeoutExpired):
            self.proc.kill()


def legal_moves(arbiter, moves):
    arbiter.send("position startpos moves " + " ".join(moves))
    arbiter.send("go perft 1")
    found = []
    while True:
        line = arbiter.proc.stdout.readline().strip()
        if line.startswith("Nodes searched"):
            return found
        if ":" in line:
            found.append(line.split(":")[0])


def in_check(arbiter, moves):
    arbiter.send("position startpos moves " + " ".join(moves))
    arbiter.send("d")
    return arbiter.until("Checkers")[1:] != []


def referee(sides, arbiter, ms, plies, grace=(0, 0), opening=()):
    """Plays a game between sides[0] (white) and sides[1] (black) from the
    start position after the moves OPENING, each move at "go movetime MS",
    with GRACE[side] milliseconds more allowed to each side. Returns (side,
    ending, moves, replies): the side (0 white, 1 black) to move when the game
    ended, the ending ("mated", "stalemate", "adjudicated draw", "lost on time
    (N ms)" or "played the illegal M"), all the moves and each side's reply
    times in milliseconds."""
    moves, replies = list(opening), ([], [])
    for side in sides:
        side.send("ucinewgame")
        side.ready()
    while True:
        legal = legal_moves(arbiter, moves)
        turn = len(moves) % 2
        mover = sides[turn]
        if not legal:
            return turn, "mated" if in_check(arbiter, moves) else "stalemate", moves, replies
        if len(moves) >= plies:
            return turn, "adjudicated draw", moves, replies
        mover.send("position startpos moves " + " ".join(moves))
        mover.ready()
        start = time.monotonic()
        mover.send(f"go movetime {ms}")
        reply = mover.until("bestmove")
        took = (time.monotonic() - start) * 1000
        replies[turn].append(took)
        if took > ms + grace[turn]:
            return turn, f"lost on time ({took:.0f} ms)", moves, replies
        if reply[1] not in legal:
            return turn, f"played the illegal {reply[1]}", moves, replies
        moves.append(reply[1])


def play(number, args):
    ours, theirs, arbiter = Uci(args.engine), Uci(args.opponent), Uci("stockfish")
    theirs.send("setoption name Threads value 1")
    theirs.send("setoption name Hash value 16")
    sides = [ours, theirs] if number % 2 else [theirs, ours]  # white first
    try:
        # The opponent, which is not under test and plans up to the limit
        # itself, gets 50 ms of grace.
        side, ending, moves, replies = referee(sides, arbiter, args.ms, args.plies,
                                               [0 if s is ours else 50 for s in sides])
    finally:
        for engine in (ours, theirs, arbiter):
            engine.quit()
    name = "ours" if sides[side] is ours else "theirs"
    result = {"mated": "mated " + name, "stalemate": "stalemate " + name,
              "adjudicated draw": ending}.get(ending, f"{name} {ending}")
    return number, len(moves), result, replies[sides.index(ours)]


def hog():
    while True:
        pass


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("engine")
    parser.add_argument("--games", type=int, default=40)
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--ms", type=int, default=100)
    parser.add_argument("--hogs", type=int, default=1)
    parser.add_argument("--opponent", default="stockfish")
    parser.add_argument("--plies", type=int, default=160)
    args = parser.parse_args()
    os.environ["PATH"] += ":/usr/games"  # where Debian puts its engines
    hogs = [multiprocessing.Process(target=hog, daemon=True) for _ in range(args.hogs)]
    for h in hogs:
        h.start()
    forfeits, replies = {"ours": 0, "theirs": 0}, []
    try:
        with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
            for number, plies, result, times in pool.map(lambda n: play(n, args), range(1, args.games + 1)):
                print(f"game {number}: {plies} plies, {result}", flush=True)
                replies += times
                for side in forfeits:
                    forfeits[side] += result.startswith(side + " lost on time")
    finally:
        for h in hogs:
            h.terminate()
    replies.sort()
    print(f"{args.games} games, {args.jobs} at a time, {args.hogs} busy processes, {args.ms} ms a move: "
          f"losses on time: ours {forfeits['ours']}, the opponent's {forfeits['theirs']}; our {len(replies)} "
          f"replies: median {replies[len(replies) // 2]:.1f} ms, 99th percentile "
          f"{replies[len(replies) * 99 // 100]:.1f} ms, slowest {replies[-1]:.1f} ms")
    return 1 if forfeits["ours"] else 0


if __name__ == "__main__":
    sys.exit(main())
