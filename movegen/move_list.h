// The scored move list every generator appends to.
#pragma once

#include "board/position.h"

struct __attribute__((packed)) MoveEntry {
  Move move;
  u16 score;  // ordering key, larger first
};
static_assert(sizeof(MoveEntry) == 6);

constexpr int MOVE_LIST_CAPACITY = 256;

struct MoveList {
  MoveEntry entries[MOVE_LIST_CAPACITY];
  MoveEntry *writeCursor;  // one past the last entry
  MoveEntry *readCursor;   // the next entry the consumer takes

  void clear() { writeCursor = readCursor = entries; }
  int size() const { return int(writeCursor - entries); }
  bool empty() const { return writeCursor == entries; }
};

// Appends a move; a full list (only set-up positions crowded with pieces get
// there) drops it rather than write past its end.
inline void pushMove(MoveList &list, Move move, u16 score = 0) {
  if (list.writeCursor == list.entries + MOVE_LIST_CAPACITY) return;
  list.writeCursor->move = move;
  list.writeCursor->score = score;
  ++list.writeCursor;
}
