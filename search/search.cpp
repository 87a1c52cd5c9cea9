#include "search/search.h"

#include "board/make_move.h"
#include "eval/evaluate.h"
#include "frontend/poll.h"
#include "movegen/generate.h"
#include "search/control.h"
#include "search/ordering.h"
#include "search/tt.h"

bool isRepetition() {
  const StateRecord *r = stateTop;
  if (r - stateStack < 4) return false;
  if (!(r[0].reversible & r[-1].reversible & r[-2].reversible & r[-3].reversible)) return false;
  for (const StateRecord *q = r - 4; q >= stateStack; q -= 2) {
    if (!q->reversible) return false;
    if (q->hashKey == r->hashKey) return true;
    if (q > stateStack && !q[-1].reversible) return false;
  }
  return false;
}

namespace {

// The steps both node searches take before their moves: the poll, the ply
// limit, mate-distance pruning and the table probe. Returns true with the
// node's result when the node ends here.
struct NodeEntry {
  i16 alphaOfEntry;
  Move hashMove;
};

inline bool enterNode(u8 depth, u8 ply, i16 &alpha, i16 &beta, NodeEntry &entry, i16 &result) {
  if (nodeCount >= nextPollAt && pollInput()) {
    stopSearch = 1;
    result = 0;
    return true;
  }
  if (ply >= MAX_PLY) return result = evaluate(), true;
  const i16 matedHere = i16(ply - MATE), mateHere = i16(MATE - ply);
  if (alpha < matedHere) {
    if (beta <= matedHere) return result = beta, true;
    alpha = matedHere;
  }
  if (beta > mateHere) {
    if (alpha >= mateHere) return result = alpha, true;
    beta = mateHere;
  }
  entry.alphaOfEntry = alpha;
  entry.hashMove = probeTT(alpha, beta, depth, ply);
  if (alpha == beta) return result = alpha, true;
  return false;
}

using ChildSearch = i16 (*)(u8, u8, i16, i16, u8);

// Principal-variation windows: once a move of a PV node has a score, the next
// ones get a null window first and a full re-search only when they beat alpha.
inline i16 searchChild(ChildSearch child, u8 childDepth, u8 ply, i16 alpha, i16 beta, u8 pv, bool scored) {
  if (!(pv && scored)) return i16(-child(childDepth, u8(ply + 1), i16(-beta), i16(-alpha), pv));
  i16 s = i16(-child(childDepth, u8(ply + 1), i16(-alpha - 1), i16(-alpha), 0));
  if (!stopSearch && alpha < s && s < beta) s = i16(-child(childDepth, u8(ply + 1), i16(-beta), i16(-s), 1));
  return s;
}

// Score of the move just made at a node of the given depth and window.
i16 childScore(u8 depth, u8 ply, i16 alpha, i16 beta, u8 pv, bool scored) {
  if (isRepetition()) return 0;
  if (stateTop->inCheck) return searchChild(searchInCheck, depth, ply, alpha, beta, pv, scored);
  if (depth == 1) return i16(-quiesce(u8(ply + 1), i16(-beta), i16(-alpha)));
  return searchChild(search, u8(depth - 1), ply, alpha, beta, pv, scored);
}

// Enough material that passing is unlikely to be the best move (zugzwang).
bool nullMoveAllowed() {
  const int own = whiteToMove ? 0 : 6;
  if (pieceBB[WHITE_ROOK + own] | pieceBB[WHITE_QUEEN + own]) return true;
  const u64 minors = pieceBB[WHITE_KNIGHT + own] | pieceBB[WHITE_BISHOP + own];
  return minors & (minors - 1);  // two or more
}

u16 inCheckScore(Move m, Move hashMove) {
  if (m == hashMove) return 63000;
  if (moveCaptured(m)) return u16(62000 + 16 * moveCaptured(m) - board[moveFrom(m)]);
  if (m == stateTop->killer1) return 61000;
  if (m == stateTop->killer2) return 60999;
  return history[board[moveFrom(m)]][moveTo(m)];
}

void generateEvasions(MoveList &list) {
  list.clear();
  whiteToMove ? generateEvasionsWhite(list) : generateEvasionsBlack(list);
}


// The move loop and result stores of both node searches. Only the main
// search (LEARNS) feeds killers and history; with no legal move the node
// scores `noMoves` and stores nothing.
template <bool LEARNS, typename NextMove>
i16 searchMoves(NextMove nextMove, u8 depth, u8 ply, i16 alpha, i16 beta, u8 pv, i16 alphaOfEntry, i16 noMoves) {
  i16 best = -MATE;
  Move bestMove = NoMove;
  bool scored = false;
  for (Move m; nextMove(m);) {
    if (!makeMove(m)) continue;
    const i16 s = childScore(depth, ply, alpha, beta, pv, scored);
    unmakeMove(m);
    if (stopSearch) return 0;
    scored = true;
    if (s <= best) continue;
    if (s > alpha) {
      if (s >= beta) {
        storeTT(s, depth, ply, TT_LOWER, m);
        if (LEARNS && !moveCaptured(m)) recordQuietSuccess(m, depth);
        return s;
      }
      alpha = s;
    }
    best = s;
    bestMove = m;
  }
  if (!scored) return noMoves;
  if (best > alphaOfEntry) {
    storeTT(alpha, depth, ply, TT_EXACT, bestMove);
    if (LEARNS && !moveCaptured(bestMove)) recordQuietSuccess(bestMove, depth);
    return best;
  }
  storeTT(best, depth, ply, TT_UPPER, bestMove);
  return best;
}

}  // namespace

i16 search(u8 depth, u8 ply, i16 alpha, i16 beta, u8 pv) {
  NodeEntry entry;
  i16 result;
  if (enterNode(depth, ply, alpha, beta, entry, result)) return result;

  if (!pv && depth >= 2 && beta < MATE_BOUND && nullMoveAllowed() && makeNullMove()) {
    const i16 v = depth > 3 ? i16(-search(u8(depth - 3), u8(ply + 1), i16(-beta), i16(-beta + 1), 0))
                            : i16(-quiesce(u8(ply + 1), i16(-beta), i16(-beta + 1)));
    unmakeNullMove();
    if (stopSearch) return 0;
    if (v >= beta) {
      storeTT(v, depth, ply, TT_LOWER, NoMove);
      return v;
    }
  }

  MovePicker picker(entry.hashMove);
  // No legal move and not in check: stalemate.
  return searchMoves<true>([&picker](Move &m) { return picker.next(m); }, depth, ply, alpha, beta, pv,
                           entry.alphaOfEntry, 0);
}

i16 searchInCheck(u8 depth, u8 ply, i16 alpha, i16 beta, u8 pv) {
  NodeEntry entry;
  i16 result;
  if (enterNode(depth, ply, alpha, beta, entry, result)) return result;

  MoveList list;
  generateEvasions(list);
  for (MoveEntry *e = list.entries; e != list.writeCursor; ++e) e->score = inCheckScore(e->move, entry.hashMove);
  auto next = [&list](Move &m) {
    const MoveEntry *e = pickBest(list);
    if (e) m = e->move;
    return e != nullptr;
  };
  // No legal evasion: checkmate.
  return searchMoves<false>(next, depth, ply, alpha, beta, pv, entry.alphaOfEntry, i16(ply - MATE));
}

namespace {
// Whether every quiescence node may poll. The web build's may not: there each
// function that can wait for input is instrumented to unwind to the event
// loop, which costs these, the most frequent nodes, a tenth of their speed.
// When a poll comes due its capture tree is dropped and searched again from
// its root by the polling version: the same moves, score and node count.
#ifndef QUIESCENCE_POLLS_INPUT
#define QUIESCENCE_POLLS_INPUT 1
#endif
// stopSearch's value while a capture tree is dropped to be searched again.
constexpr u8 REDO_WITH_POLLS = 2;

template <bool POLLS>
i16 quiesceNodes(u8 ply, i16 alpha, i16 beta) {
  // Chains of checks and evasions have no natural end here: a single capture
  // tree can run for millions of nodes, so it polls like the full-width nodes
  // and the clock and "stop" still end the search.
  if (stopSearch) return 0;
  if (nodeCount >= nextPollAt && (!POLLS || pollInput())) {
    stopSearch = POLLS ? 1 : REDO_WITH_POLLS;
    return 0;
  }
  if (ply >= MAX_PLY) return evaluate();
  MoveList list;
  i16 best = -MATE;
  if (stateTop->inCheck) {
    generateEvasions(list);
    for (MoveEntry *e = list.entries; e != list.writeCursor; ++e) e->score = captureScore(e->move);
  } else {
    const i16 standPat = evaluate();
    if (standPat > alpha) {
      if (standPat >= beta) return standPat;
      alpha = standPat;
    }
    best = standPat;
    list.clear();
    whiteToMove ? generateCapturesWhite(list) : generateCapturesBlack(list);
  }

  while (const MoveEntry *e = pickBest(list)) {
    const Move m = e->move;
    if (!makeMove(m)) continue;
    const i16 s = i16(-quiesceNodes<POLLS>(u8(ply + 1), i16(-beta), i16(-alpha)));
    unmakeMove(m);
    if (stopSearch) return 0;
    if (s <= best) continue;
    if (s > alpha) {
      if (s >= beta) return s;
      alpha = s;
    }
    best = s;
  }
  return best == -MATE ? i16(ply - MATE) : best;
}
}  // namespace

i16 quiesce(u8 ply, i16 alpha, i16 beta) {
  if constexpr (QUIESCENCE_POLLS_INPUT) return quiesceNodes<true>(ply, alpha, beta);
  const u64 nodesBefore = nodeCount;
  const i16 score = quiesceNodes<false>(ply, alpha, beta);
  if (stopSearch != REDO_WITH_POLLS) return score;
  stopSearch = 0;
  nodeCount = nodesBefore;
  return quiesceNodes<true>(ply, alpha, beta);
}
