#pragma once

#include <optional>

#include "core/report_stream.h"
#include "core/tables.h"

namespace tarvolin {

// Header of "programs.dat".
void begin_program_report(ReportStream& out);

// What each program's opponents scored against it and how often they were
// faster, laid out by program so that one program's opponent lines read them
// in a row; the program's own side is read from pair_score and pair_faster
// as they stand.
class OpponentTallies {
 public:
  explicit OpponentTallies(const Tables& tables);
  long losses(int32_t p, int32_t r) const {
    return losses_ ? (*losses_)[p][r] : tables_.pair_faster[r][p];
  }
  double opponent_score(int32_t p, int32_t r) const {
    return opponent_score_ ? (*opponent_score_)[p][r] : tables_.pair_score[r][p];
  }

 private:
  const Tables& tables_;  // read in place when the copy did not fit
  // The copies come from the tables' own memory, in huge pages where
  // offered: a thousand programs fill 12 MB, which in small pages cost
  // more in faults than the copying.
  std::optional<Grid<int32_t>> losses_;         // pair_faster[r][p]
  std::optional<Grid<double>> opponent_score_;  // pair_score[r][p]
};

// One program's section: Trend figures against its printed rating, time
// statistics, RankIndex, and match results in total and per opponent.
// av_op is the program's printed average opponent.
void write_program_details(ReportStream& out, const Tables& tables, int32_t p, int32_t rank,
                           double av_op, double rank_index_of_p, const OpponentTallies& tallies);

}  // namespace tarvolin
