#!/usr/bin/env bash
# Perft speed of both builds, and of Debian's stockfish on the same positions
# when it is installed. Usage: bench/perft.sh [build-dir]
set -euo pipefail
build=${1:-build}
for arch in x64 w32; do
  "$build/perft_bench_$arch"
done

stockfish=$(command -v stockfish || echo /usr/games/stockfish)
[ -x "$stockfish" ] || { echo "stockfish not installed: no peer figures"; exit 0; }
echo "stockfish perft (counts the last ply in bulk, without making those moves), best of three"
ms() { date +%s%3N; }
run() {  # fen depth -> best wall milliseconds, start-up subtracted
  local best=999999 startup=999999 t0 t1
  for _ in 1 2 3; do
    t0=$(ms); printf 'setoption name Hash value 1\nquit\n' | "$stockfish" >/dev/null; t1=$(ms)
    (( t1 - t0 < startup )) && startup=$((t1 - t0))
    t0=$(ms); printf 'setoption name Hash value 1\nposition fen %s\ngo perft %s\nquit\n' "$1" "$2" | "$stockfish" >/tmp/perft_bench_sf.txt; t1=$(ms)
    (( t1 - t0 < best )) && best=$((t1 - t0))
  done
  local nodes; nodes=$(awk -F': ' '/Nodes searched/ {print $2}' /tmp/perft_bench_sf.txt)
  local net=$((best - startup)); (( net < 1 )) && net=1
  awk -v n="$nodes" -v t="$net" -v name="$3" -v d="$2" \
    'BEGIN { printf "%-16s depth %d %10d leaves %7.3f s %8.2f M leaves/s\n", name, d, n, t / 1000, n / (t / 1000) / 1e6 }'
}
run "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1" 5 "start position"
run "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1" 4 "second position"
run "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1" 6 "start position"
run "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1" 5 "second position"
