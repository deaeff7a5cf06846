#pragma once

#include "core/tables.h"
#include "matches/match_layout.h"

namespace tarvolin::matching {

// overall_mst1, overall_mst2, overall_imst and tested_position_count.
void compute_overall_means(Tables& tables, const Layout& layout);

}  // namespace tarvolin::matching
