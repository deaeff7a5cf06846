#include "core/tables.h"

#include <algorithm>
#include <limits>

namespace tarvolin {

namespace {
constexpr int PROGRAM_SLOTS = MAX_PROGRAMS + 1;
constexpr int POSITION_SLOTS = MAX_POSITIONS + 1;
constexpr int CLUSTER_SLOTS = MAX_CLUSTERS + 1;
}  // namespace

Tables::Tables()
    : program_name(PROGRAM_SLOTS),
      position_fen(POSITION_SLOTS),
      position_label(POSITION_SLOTS),
      solve_time(PROGRAM_SLOTS, POSITION_SLOTS, NOT_TESTED),
      est_time(PROGRAM_SLOTS, POSITION_SLOTS, NOT_TESTED),
      pair_games(PROGRAM_SLOTS, PROGRAM_SLOTS, 0),
      pair_score(PROGRAM_SLOTS, PROGRAM_SLOTS, 0.0),
      trend_count(PROGRAM_SLOTS, 4, 0),
      trend_sum(PROGRAM_SLOTS, 4, 0.0),
      time_offset(PROGRAM_SLOTS, 0.0),
      offset_sample_count(PROGRAM_SLOTS, 0),
      match_total(PROGRAM_SLOTS, 0),
      match_wins(PROGRAM_SLOTS, 0),
      match_draws(PROGRAM_SLOTS, 0),
      match_losses(PROGRAM_SLOTS, 0),
      score_rate(PROGRAM_SLOTS, 0.0),
      cluster_id(PROGRAM_SLOTS, 0),
      elo(PROGRAM_SLOTS, 0.0),
      avg_opponent_elo(PROGRAM_SLOTS, 0.0),
      elo_margin(PROGRAM_SLOTS, 0.0),
      pending_flag(PROGRAM_SLOTS, 0),
      pos_mst1(POSITION_SLOTS, 0.0),
      pos_mst2(POSITION_SLOTS, 0.0),
      difficulty_class(POSITION_SLOTS, 0),
      pair_faster(PROGRAM_SLOTS, PROGRAM_SLOTS, 0),
      margin_squares(PROGRAM_SLOTS, 0.0),
      margin_rate(PROGRAM_SLOTS, std::numeric_limits<double>::quiet_NaN()),
      cluster_size(CLUSTER_SLOTS, 0),
      cluster_match_sum(CLUSTER_SLOTS, 0),
      itoffset(CLUSTER_SLOTS, 0.0) {}

void Tables::clear() {
  // Every phase indexes programs and positions by the registered counts, so
  // these bound what a run can have written.
  const int programs = std::clamp(program_count, 0, MAX_PROGRAMS);
  const int positions = std::clamp(position_count, 0, MAX_POSITIONS);
  for (int p = 0; p <= programs; ++p) {
    std::fill_n(solve_time[p], positions + 1, NOT_TESTED);
    std::fill_n(est_time[p], positions + 1, NOT_TESTED);
    std::fill_n(pair_games[p], programs + 1, 0);
    std::fill_n(pair_score[p], programs + 1, 0.0);
    std::fill_n(pair_faster[p], programs + 1, int16_t{0});
    std::fill_n(trend_count[p], 4, 0);
    std::fill_n(trend_sum[p], 4, 0.0);
    program_name[p].clear();
    time_offset[p] = 0.0;
    offset_sample_count[p] = 0;
    match_total[p] = 0;
    match_wins[p] = 0;
    match_draws[p] = 0;
    match_losses[p] = 0;
    score_rate[p] = 0.0;
    cluster_id[p] = 0;
    elo[p] = 0.0;
    avg_opponent_elo[p] = 0.0;
    elo_margin[p] = 0.0;
    pending_flag[p] = 0;
    margin_squares[p] = 0.0;
    margin_rate[p] = std::numeric_limits<double>::quiet_NaN();
  }
  for (int q = 0; q <= positions; ++q) {
    position_fen[q].clear();
    position_label[q].clear();
    pos_mst1[q] = 0.0;
    pos_mst2[q] = 0.0;
    difficulty_class[q] = 0;
  }
  program_index.clear();
  position_index.clear();
  program_count = 0;
  position_count = 0;
  frozen_program_count = 0;
  start_elo = 2600.0;
  database_name.clear();
  match_count = 0;
  invalid_count = 0;
  complete_count = 0;
  tested_position_count = 0;
  overall_mst1 = 0.0;
  overall_mst2 = 0.0;
  overall_imst = 0.0;
  cluster_count = 0;
  std::fill(cluster_size.begin(), cluster_size.end(), 0);
  std::fill(cluster_match_sum.begin(), cluster_match_sum.end(), 0);
  std::fill(itoffset.begin(), itoffset.end(), 0.0);
}

}  // namespace tarvolin
