// The facts of the frame on the screen that the challenges' goals are checked against.
#pragma once

#include "web/page/search_report.h"

void reportChallenges(const SearchReport &report);
