// The reader's guess of the nearest point, drawn over the program's frame.
#pragma once

#include "quenlow.h"

void drawGuess(Point truePoint);
