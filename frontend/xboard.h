// The xboard (CECP) protocol loop.
#pragma once

// Reads commands until "quit" or the end of input; plays, analyses and takes
// moves back as the GUI asks.
void runXboard();
