// The methods most programs use instead of the search, on the page: their answers for the
// scene on the screen, drawn over the frame and listed beside the search's.
#pragma once

#include "web/page/search_report.h"

// When they are shown: draws each answer's mark and segment over the frame just drawn, and
// hands the page's table every answer's numbers.
void reportOtherMethods(const SearchReport &report);
