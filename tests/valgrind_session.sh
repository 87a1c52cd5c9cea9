#!/usr/bin/env bash
# Plays a short protocol session with the engine under valgrind's memcheck and
# fails on any memory error or definitely lost block.
# Usage: valgrind_session.sh ENGINE uci|xboard
set -uo pipefail
engine=$(readlink -f "$1")
session() {
  # The engine thinks ten to fifty times slower under valgrind: pauses let each
  # search finish before the next command (during a search most are dropped).
  if [ "$1" = uci ]; then
    echo uci; echo isready; sleep 1
    echo "position startpos moves e2e4 e7e5 g1f3 b8c6"; echo "go depth 4"; sleep 4
    echo "position fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1 moves e1g1"
    echo "go wtime 2000 btime 2000 winc 20 binc 20"; sleep 1; echo isready; echo stop; sleep 1
    echo "position startpos moves e2e4 nonsense"; echo "go movetime 300"; sleep 2
    echo "position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1"; echo "go depth 2"; sleep 1
    echo quit
  else
    echo xboard; echo "protover 2"; sleep 1
    echo new; echo "st 1"; echo post; echo e2e4; sleep 4
    echo undo; echo undo; echo d4; sleep 4
    echo "setboard 8/P6k/8/8/8/8/6K1/8 w - - 0 1"; echo go; sleep 4
    echo force; echo foo; echo "usermove e2e5"; echo remove
    echo analyze; sleep 2; echo .; echo e4; sleep 1; echo exit
    echo "setboard 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1"; echo go; sleep 2
    echo quit
  fi
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
session "$2" | valgrind --error-exitcode=3 --leak-check=full --errors-for-leak-kinds=definite \
  --log-file="$work/valgrind.log" "$engine" > "$work/out"
status=$?
echo "engine exited with status $status; last output lines:"
tail -n 3 "$work/out"
grep -E "ERROR SUMMARY|definitely lost" "$work/valgrind.log"
[ $status -eq 0 ] || cat "$work/valgrind.log"
exit $status
