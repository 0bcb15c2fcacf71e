// The caption under the controls: the numbers of what the step on the screen did, for the
// page to put in words.
#pragma once

#include "web/page/search_report.h"

// At a level, from the search's record of it; at all levels, from the report of its result.
void reportCaption(const SearchReport &report);
