// The close-up beside the canvas: the frame's picture magnified about what the level shown
// bounded, or at all levels about the final run and the truly nearest point.
#pragma once

#include "web/page/search_report.h"

// Draws the close-up of the frame just drawn, and tells the page what it shows.
void drawCloseup(const SearchReport &report);
