// Move-ordering knowledge the generators and the search share.
#pragma once

#include "board/position.h"

// Cutoff counters by moving piece code and destination square; the quiet
// generators score their moves with them.
extern u16 history[13][64];
