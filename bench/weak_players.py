#!/usr/bin/env python3
"""The players at the bottom of bench/levels.py, as UCI engines:

  weak_players.py random [--seed S]   a uniformly random legal move
  weak_players.py greedy [--seed S]   the capture that wins the most material,
                                      otherwise a random move
  weak_players.py mix --random P [--seed S]
                                      a random move P % of the time, otherwise
                                      stockfish's at "Skill Level" 0

The greedy player counts a capture's gain as the captured piece's value
(pawn 1, knight and bishop 3, rook 5, queen 9) when the opponent has no legal
recapture on that square, and as that value less the capturing piece's when
it has; it plays the capture of largest gain above zero, and moves at random
when there is none. The mixed players fill the gap between the greedy player
and Skill Level 0, whose move they take from "go depth 1": that level picks
its move at depth 1 whatever the time. Debian's stockfish, in a process of its
own, gives the legal moves ("go perft 1") and the board ("d"). Replies come at
once, whatever "go" says."""
import argparse
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from movetime_match import Uci, legal_moves  # noqa: E402

VALUES = {"p": 1, "n": 3, "b": 3, "r": 5, "q": 9, "k": 0}


def board(helper, moves):
    """Square name ("e4") to piece letter, from the FEN that "d" prints."""
    helper.send("position startpos moves " + " ".join(moves))
    helper.send("d")
    placement = helper.until("Fen:")[1]
    helper.until("Checkers")  # the last line of "d"
    squares = {}
    for rank, row in zip("87654321", placement.split("/")):
        file = 0
        for char in row:
            if char.isdigit():
                file += int(char)
            else:
                squares["abcdefgh"[file] + rank] = char.lower()
                file += 1
    return squares


def greedy_move(helper, moves, legal, rng):
    squares = board(helper, moves)
    captures = []
    for move in legal:
        mover, victim = squares[move[:2]], squares.get(move[2:4])
        if victim is None and mover == "p" and move[0] != move[2]:
            victim = "p"  # en passant
        if victim is not None and (len(move) == 4 or move[4] == "q"):
            captures.append((VALUES[victim], VALUES[mover], move))
    best, gain = [], 0
    # The most valuable victims first: a gain is at most the victim's value,
    # so the search for recaptures stops early.
    for victim, mover, move in sorted(captures, reverse=True):
        if victim < gain or victim == 0:
            break
        recaptured = any(reply[2:4] == move[2:4] for reply in legal_moves(helper, moves + [move]))
        value = victim - (mover if recaptured else 0)
        if value > gain:
            best, gain = [move], value
        elif value == gain and best:
            best.append(move)
    return rng.choice(sorted(best) or legal)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("kind", choices=["random", "greedy", "mix"])
    parser.add_argument("--random", type=float, default=100, help="per cent of random moves (mix)")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    os.environ["PATH"] += ":/usr/games"
    rng = random.Random(args.seed)
    helper = Uci("stockfish")
    helper.send("setoption name Skill Level value 0")
    moves = []
    try:
        for line in sys.stdin:
            words = line.split()
            if not words:
                continue
            if words[0] == "uci":
                print(f"id name {args.kind} player\nid author Pelko bench\nuciok", flush=True)
            elif words[0] == "isready":
                print("readyok", flush=True)
            elif words[0] == "position":
                # Only "position startpos [moves ...]" is served: the games start there.
                moves = words[words.index("moves") + 1:] if "moves" in words else []
            elif words[0] == "go":
                legal = legal_moves(helper, moves)
                if not legal:
                    move = "0000"
                elif args.kind == "greedy":
                    move = greedy_move(helper, moves, legal, rng)
                elif args.kind == "random" or rng.random() * 100 < args.random:
                    move = rng.choice(legal)
                else:
                    helper.send("go depth 1")
                    move = helper.until("bestmove")[1]
                print("bestmove " + move, flush=True)
            elif words[0] == "quit":
                break
    finally:
        helper.quit()


if __name__ == "__main__":
    main()
