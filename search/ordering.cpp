#include "search/ordering.h"

u16 history[13][64];
