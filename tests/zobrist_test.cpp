#include <gtest/gtest.h>

#include <algorithm>

#include "board/zobrist.h"
#include "frontend/startup.h"
#include "tests/test_position.h"

TEST(HashKeys, FirstDrawsAndSideKey) {
  EXPECT_EQ(zobristPiece[0][0], 0xC83FA926AEDBA7E4ULL);
  EXPECT_EQ(zobristPiece[1][0], 0x3C1F9DB21A6FFB08ULL);
  EXPECT_EQ(zobristSide, 0x787A8E1FC5991945ULL);
  EXPECT_EQ(zobristCastle[0], 0xFA2FE0CC9CDFCC0FULL);
  EXPECT_EQ(zobristCastle[15], 0u);
}

TEST(HashKeys, EnPassantKeysOnlyOnThirdAndSixthRank) {
  for (int s = 0; s < 64; ++s) {
    bool used = (s >= A6 && s <= H6) || (s >= A3 && s <= H3);
    EXPECT_EQ(zobristEp[s] != 0, used) << s;
  }
}

TEST(HashKeys, AllKeysDistinct) {
  std::vector<u64> keys;
  for (auto &row : zobristPiece) keys.insert(keys.end(), std::begin(row), std::end(row));
  for (u64 k : zobristEp)
    if (k) keys.push_back(k);
  keys.insert(keys.end(), zobristCastle, zobristCastle + 15);
  keys.push_back(zobristSide);
  EXPECT_EQ(keys.size(), 832u + 16 + 15 + 1);
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(std::adjacent_find(keys.begin(), keys.end()), keys.end());
}

TEST(HashKeys, StartPosition) {
  setFen(START_FEN);
  EXPECT_EQ(stateTop->hashKey, 0x053CF5ADCB5E0DA5ULL);
  EXPECT_EQ(stateTop->pawnKey, 0x60C69E401A908548ULL);
}

TEST(HashKeys, NoCastlingRightsStillHashed) {
  setFen("4k3/8/8/8/8/8/8/4K3 w - -");
  EXPECT_EQ(stateTop->hashKey, zobristPiece[WHITE_KING][E1] ^ zobristPiece[BLACK_KING][E8] ^ zobristCastle[0] ^ zobristSide);
  EXPECT_EQ(stateTop->pawnKey, 0u);
}
