// Test support for the rating floor: tables with matches entered directly,
// as the match builder would have left them, without any result file.
#pragma once

#include <memory>
#include <string>

#include "core/tables.h"
#include "rating/clusters.h"

namespace tarvolin::testing {

// Fresh tables with programs 1..count named "Prog1", "Prog2", ...
inline std::unique_ptr<Tables> tables_with_programs(int count) {
  auto t = std::make_unique<Tables>();
  t->program_count = count;
  t->frozen_program_count = count;
  for (int p = 1; p <= count; ++p) t->program_name[p] = "Prog" + std::to_string(p);
  return t;
}

// Enters `games` matches between a and b in which a took `points_of_a`.
inline void add_matches(Tables& t, int a, int b, int games, double points_of_a) {
  t.match_total[a] += games;
  t.match_total[b] += games;
  t.pair_games[a][b] += games;
  t.pair_games[b][a] += games;
  t.pair_score[a][b] += points_of_a;
  t.pair_score[b][a] += games - points_of_a;
}

// Programs 1..count in a row, each meeting its neighbours only: 10 matches
// per neighbour, the lower-numbered one taking 6 points of them.
inline std::unique_ptr<Tables> chain_of_programs(int count) {
  auto t = tables_with_programs(count);
  for (int p = 1; p < count; ++p) add_matches(*t, p, p + 1, 10, 6.0);
  return t;
}

}  // namespace tarvolin::testing
