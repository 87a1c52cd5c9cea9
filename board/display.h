// Diagnostics: the board as text, with a consistency check of every square.
#pragma once

// Eight lines of piece letters and the side to move, to standard output and
// the log; squares whose bitboards disagree with the board get error lines.
void printBoard();

// Prints an error line to standard output for every bitboard that disagrees
// with what board[] says stands on square s.
void checkSquare(int s);
