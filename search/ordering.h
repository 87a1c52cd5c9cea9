// Move ordering: the staged picker of the main search, selection by score,
// killers and history.
#pragma once

#include "board/position.h"
#include "movegen/move_list.h"

// Cutoff counters by moving piece code and destination square; the quiet
// generators score their moves with them. Every entry stays below 60000.
extern u16 history[13][64];

// Most valuable victim first, then least valuable attacker.
inline u16 captureScore(Move m) { return u16(16 * moveCaptured(m) + 12 - board[moveFrom(m)]); }

// Takes the highest-scored entry from the readCursor on whose move is not in
// `skip` (the nearest one on equal scores), swaps it to the cursor and
// advances; nullptr when none is left. With a skip list every other entry
// must score at least 1: a skipped entry, once met as the best, is set to 0
// and so is never the best again while another entry is left.
MoveEntry *pickBest(MoveList &list, const Move *skip = nullptr, int skipCount = 0);

// Killer and history update for a quiet move that cut the node off or was
// its exact best; reads the mover from the board, so call it after unmaking.
void recordQuietSuccess(Move m, u8 depth);

// Moves of a main-search node in stages: hash move, captures, the two killers,
// quiet moves. Quiet moves are generated only when the earlier stages did not
// end the node.
class MovePicker {
 public:
  explicit MovePicker(Move hashMove) : hashMove_(hashMove) {}
  // The next move to try; false when none is left.
  bool next(Move &m);

 private:
  enum Stage { HASH, CAPTURES_START, CAPTURES, KILLER1, KILLER2, QUIET_START, QUIET, DONE };
  MoveList list_;
  Move hashMove_;
  Stage stage_ = HASH;
};
