#include "core/tables.h"

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

}  // namespace tarvolin
