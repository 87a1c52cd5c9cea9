#include <gtest/gtest.h>

#include "frontend/startup.h"
#include "search/tt.h"
#include "tests/test_position.h"

namespace {

struct Probe {
  i16 alpha, beta;
  Move move;
};

Probe probe(i16 alpha, i16 beta, u8 depth, u8 ply) {
  Probe p{alpha, beta, NoMove};
  p.move = probeTT(p.alpha, p.beta, depth, ply);
  return p;
}

}  // namespace

TEST(TranspositionTable, MateScoresAreStoredRelativeToTheNode) {
  setFen(START_FEN);
  storeTT(32757, 6, 5, TT_EXACT, encodeMove(E2, E4, DoublePushFlag));
  EXPECT_EQ(transpositionTable[stateTop->hashKey & ttMask].score, 32762);
  Probe p = probe(-MATE, MATE, 4, 3);
  EXPECT_EQ(p.alpha, 32759);
  EXPECT_EQ(p.beta, 32759);
  EXPECT_EQ(p.move, encodeMove(E2, E4, DoublePushFlag));
  storeTT(-32757, 6, 5, TT_EXACT, NoMove);
  EXPECT_EQ(transpositionTable[stateTop->hashKey & ttMask].score, -32762);
  p = probe(-MATE, MATE, 4, 3);
  EXPECT_EQ(p.alpha, -32759);
  // The mate bound itself is an ordinary score.
  storeTT(32000, 6, 5, TT_EXACT, NoMove);
  EXPECT_EQ(transpositionTable[stateTop->hashKey & ttMask].score, 32000);
  EXPECT_EQ(probe(-MATE, MATE, 1, 9).alpha, 32000);
  storeTT(-32000, 6, 5, TT_EXACT, NoMove);
  EXPECT_EQ(probe(-MATE, MATE, 1, 9).beta, -32000);
}

TEST(TranspositionTable, ShallowEntriesGiveTheirMoveButNotTheirScore) {
  setFen(START_FEN);
  const Move move = encodeMove(G1, F3);
  storeTT(50, 3, 0, TT_EXACT, move);
  Probe p = probe(-100, 100, 4, 0);
  EXPECT_EQ(p.move, move);
  EXPECT_EQ(p.alpha, -100);
  EXPECT_EQ(p.beta, 100);
  p = probe(-100, 100, 3, 0);
  EXPECT_EQ(p.alpha, 50);
  EXPECT_EQ(p.beta, 50);
}

TEST(TranspositionTable, BoundsNarrowOrSettleTheWindow) {
  setFen(START_FEN);
  storeTT(30, 5, 0, TT_UPPER, NoMove);
  Probe p = probe(-100, 100, 5, 0);
  EXPECT_EQ(p.alpha, -100);
  EXPECT_EQ(p.beta, 30);
  p = probe(40, 100, 5, 0);  // upper bound at or below alpha ends the node
  EXPECT_EQ(p.alpha, 30);
  EXPECT_EQ(p.beta, 30);
  p = probe(-100, 20, 5, 0);  // above beta: nothing changes
  EXPECT_EQ(p.alpha, -100);
  EXPECT_EQ(p.beta, 20);
  storeTT(30, 5, 0, TT_LOWER, NoMove);
  p = probe(-100, 100, 5, 0);
  EXPECT_EQ(p.alpha, 30);
  EXPECT_EQ(p.beta, 100);
  p = probe(-100, 20, 5, 0);  // lower bound at or above beta ends the node
  EXPECT_EQ(p.alpha, 30);
  EXPECT_EQ(p.beta, 30);
  p = probe(40, 100, 5, 0);
  EXPECT_EQ(p.alpha, 40);
  EXPECT_EQ(p.beta, 100);
}

TEST(TranspositionTable, OtherPositionMisses) {
  setFen(START_FEN);
  storeTT(10, 5, 0, TT_EXACT, encodeMove(G1, F3));
  setFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -");
  Probe p = probe(-5, 5, 0, 0);
  EXPECT_TRUE(isNoMove(p.move));
  EXPECT_EQ(p.alpha, -5);
  EXPECT_EQ(p.beta, 5);
}

TEST(TranspositionTable, OneEntryTableIsSharedByEveryPosition) {
  const u32 savedMask = ttMask;
  ttMask = 0;  // every key indexes the same single slot
  setFen(START_FEN);
  storeTT(10, 5, 0, TT_EXACT, encodeMove(G1, F3));
  setFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq -");
  EXPECT_TRUE(isNoMove(probe(-5, 5, 0, 0).move));
  storeTT(-7, 2, 0, TT_EXACT, encodeMove(G8, F6));
  setFen(START_FEN);
  EXPECT_TRUE(isNoMove(probe(-5, 5, 0, 0).move));  // overwritten
  ttMask = savedMask;
}

TEST(TranspositionTable, EntryLayout) {
  EXPECT_EQ(sizeof(TTEntry), 16u);
  EXPECT_EQ(offsetof(TTEntry, move), 8u);
  EXPECT_EQ(offsetof(TTEntry, score), 12u);
  EXPECT_EQ(offsetof(TTEntry, flags), 14u);
  EXPECT_EQ(offsetof(TTEntry, depth), 15u);
}
