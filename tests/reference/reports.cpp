// Rating table, program details and position report: listings by repeated
// selection, opponent lines and rank index by rescanning the time table.
#include <cmath>

#include "core/report_stream.h"
#include "matches/match_rule.h"
#include "rating/score_to_elo.h"
#include "reference/reference.h"

namespace tarvolin::reference {

double rank_index(const Tables& t, int32_t p) {
  if (t.position_count < 1) return 0.0;
  int32_t comparisons = 0, hits = 0;
  for (int q = 1; q <= t.position_count; ++q) {
    double time = t.solve_time[p][q];
    if (!is_tested(time)) continue;
    double a = std::fabs(time);
    bool failed = time < 0.0;
    for (int r = 1; r <= t.program_count; ++r) {
      double u = t.solve_time[r][q];
      if (u < 0.0) continue;
      if (failed && u > a) continue;
      ++comparisons;
      if (a <= u) ++hits;
    }
  }
  return comparisons != 0 ? static_cast<double>(hits) / static_cast<double>(comparisons) : 0.0;
}

namespace {

struct TimeStats {
  int32_t tested_count = 0, solved_count = 0, internal_count = 0;
  double tested_sum = 0.0, solved_sum = 0.0, internal_sum = 0.0;
  double mst1() const { return solved_count != 0 ? solved_sum / solved_count : 0.0; }
  double mst2() const { return tested_count != 0 ? tested_sum / tested_count : 0.0; }
  double imst() const { return internal_count != 0 ? internal_sum / internal_count : 0.0; }
};

TimeStats time_stats(const Tables& t, int32_t p) {
  TimeStats stats;
  for (int q = 1; q <= t.position_count; ++q) {
    double time = t.solve_time[p][q];
    if (is_tested(time)) {
      ++stats.tested_count;
      stats.tested_sum += std::fabs(time);
    }
    if (is_solved(time)) {
      ++stats.solved_count;
      stats.solved_sum += time;
    }
    double internal = t.est_time[p][q];
    if (internal >= 0.0) {
      ++stats.internal_count;
      stats.internal_sum += internal;
    }
  }
  return stats;
}

double printed_elo(const Tables& t, int32_t p) { return t.elo[p] - ELO_BASE + t.start_elo; }

double printed_av_op(const Tables& t, int32_t p) {
  return t.avg_opponent_elo[p] - ELO_BASE + t.start_elo - t.itoffset[t.cluster_id[p]];
}

double trend_value(const Tables& t, int32_t p, int k, double av_op) {
  if (t.trend_count[p][k] == 0) return TREND_MISSING;
  return score_to_elo(t.trend_sum[p][k] / t.trend_count[p][k]) + av_op - printed_elo(t, p);
}

char comparison(double before, double value) {
  if (value == before) return '=';
  return value > before ? '<' : '>';
}

void write_trends(ReportStream& out, const Tables& t, int32_t p, double av_op) {
  double previous = 0.0;
  for (int k = 1; k <= 3; ++k) {
    double value = trend_value(t, p, k, av_op);
    if (!(value > TREND_MISSING))
      out.print(" - ");
    else if (k == 1)
      out.print(" %+.1f ", value);
    else
      out.print(" %c %+.1f ", comparison(previous, value), value);
    previous = value;
  }
}

void write_program_details(ReportStream& out, const Tables& t, int32_t p, int32_t rank,
                           double av_op) {
  out.print("\n\n%d %-40s (%.1f Elo) Trend: ", rank, t.program_name[p].c_str(), printed_elo(t, p));
  write_trends(out, t, p, av_op);

  TimeStats stats = time_stats(t, p);
  out.print("\n\nSolved positions:  %3d/%3d  (%.2f %%)\n", stats.solved_count, stats.tested_count,
            stats.solved_count * 100.0 / stats.tested_count);
  out.print("TimeOffset      : %7.2f s\n", t.time_offset[p]);
  out.print("MST1            : %7.2f s\n", stats.mst1());
  out.print("MST2            : %7.2f s\n", stats.mst2());
  out.print("iMST            : %7.2f s\n", stats.imst());
  out.print("RankIndex       :    %4.2f\n", rank_index(t, p));

  out.print("\nMatch results:\n");
  out.print("Total                                   : %5ld (+%4ld,=%4ld,-%4ld), %4.1f %%\n\n",
            static_cast<long>(t.match_total[p]), static_cast<long>(t.match_wins[p]),
            static_cast<long>(t.match_draws[p]), static_cast<long>(t.match_losses[p]),
            t.score_rate[p] * 100.0);
  for (int r = 1; r <= t.program_count; ++r) {
    if (r == p) continue;
    long wins = 0, draws = 0, losses = 0;
    for (int q = 1; q <= t.position_count; ++q) {
      double a = t.solve_time[p][q], b = t.solve_time[r][q];
      if (!forms_match(a, b)) continue;
      if (std::fabs(a) < std::fabs(b))
        ++wins;
      else if (std::fabs(a) > std::fabs(b))
        ++losses;
      else
        ++draws;
    }
    long games = wins + draws + losses;
    if (games == 0) continue;
    out.print("%-40s: %5ld (+%4ld,=%4ld,-%4ld), %4.1f %%\n", t.program_name[r].c_str(), games, wins,
              draws, losses,
              t.pair_score[p][r] * 100.0 / (t.pair_score[p][r] + t.pair_score[r][p]));
  }
}

void write_rating_row(ReportStream& out, const Tables& t, int32_t p, int32_t rank) {
  TimeStats stats = time_stats(t, p);
  out.print(
      "%3d %-40s : %4.0f  %3.0f  %5ld   %5.1f %%   %4.0f   %3ld/%3ld  %5.1fs  %5.1fs   %4.2f\n",
      rank, t.program_name[p].c_str(), printed_elo(t, p), std::fabs(t.elo_margin[p]),
      static_cast<long>(t.match_total[p]), t.score_rate[p] * 100.0, printed_av_op(t, p),
      static_cast<long>(stats.solved_count), static_cast<long>(stats.tested_count), stats.mst1(),
      stats.mst2(), rank_index(t, p));
}

int32_t select_best(const Tables& t, int32_t c) {
  int32_t choice = 0;
  for (int p = 1; p <= t.program_count; ++p) {
    if (t.pending_flag[p] != 1 || t.cluster_id[p] != c) continue;
    if (choice == 0 || t.elo[p] > t.elo[choice]) choice = p;
  }
  return choice;
}

int32_t select_fastest(const Tables& t, int32_t q) {
  int32_t choice = 0;
  for (int r = 1; r <= t.program_count; ++r) {
    if (t.pending_flag[r] != 1) continue;
    if (choice == 0 || std::fabs(t.solve_time[r][q]) < std::fabs(t.solve_time[choice][q]))
      choice = r;
  }
  return choice;
}

void write_position(ReportStream& out, Tables& t, int32_t q) {
  out.print("\n\n\nPosition %3d: %s\nFEN: %-80s", q, t.position_label[q].c_str(),
            t.position_fen[q].c_str());

  int32_t tested = 0, solved = 0, internal = 0;
  double tested_sum = 0.0, internal_sum = 0.0, shown_estimate = 0.0;
  for (int r = 1; r <= t.program_count; ++r) {
    double time = t.solve_time[r][q];
    if (!is_tested(time)) continue;
    t.pending_flag[r] = 1;
    ++tested;
    tested_sum += std::fabs(time);
    if (is_solved(time)) ++solved;
    double estimate = t.est_time[r][q];
    if (estimate >= 0.0) {
      ++internal;
      internal_sum += estimate;
      if (time < 0.0) shown_estimate = estimate;
    }
  }
  if (tested == 0) {
    out.print("\nNot tested yet!\n");
    return;
  }

  const double mst2 = tested_sum / tested;
  out.print("\nSolved by %d of %d programs", solved, tested);
  if (solved != 0)
    out.print("\nMST1: %6.1f s", t.pos_mst1[q]);
  else
    out.print("\nMST1:    -");
  out.print("\nMST2: %6.1f s", mst2);
  if (internal != 0)
    out.print("\niMST: %6.1f s", internal_sum / internal);
  else
    out.print("\niMST:    -");
  if (solved != internal) out.print(" (estimated: %.1f s)", shown_estimate);
  const double difficulty_elo = 50.0 * std::log10(mst2 / t.overall_mst2) / std::log10(2.0);
  out.print("\nDegree of difficulty (based on MST2): %.1f (%+.1f) Elo\n",
            t.start_elo + difficulty_elo, difficulty_elo);

  for (int32_t listed = 0; listed < tested; ++listed) {
    int32_t r = select_fastest(t, q);
    if (r == 0) break;
    t.pending_flag[r] = 0;
    double time = t.solve_time[r][q];
    char mark = time < 0.0 ? '>' : (time <= 1.0 ? '<' : ' ');
    out.print("\n%-40s: %c%7.2f s", t.program_name[r].c_str(), mark, std::fabs(time));
  }
}

}  // namespace

ReportOutcome write_rating_report(Tables& t, std::FILE* console) {
  ReportStream rating("rating.dat", console);
  ReportStream programs("programs.dat", console);
  programs.print("Individual statistics: programs\n");
  programs.print("\nMST1     : Mean solution time (solved positions only)\n");
  programs.print("MST2     : Mean solution time (solved and unsolved positions)\n");
  programs.print(
      "iMST     : Internal mean solution time (using estimated values for unsolved positions)\n");
  programs.print("RankIndex: Score according to solution time ranking for each position\n");

  for (int p = 1; p <= t.program_count; ++p) t.pending_flag[p] = t.match_total[p] != 0 ? 1 : 0;

  for (int c = 1; c <= t.cluster_count; ++c) {
    rating.print(
        "\n\n    Program %s Elo   +/-  Matches  Score   Av.Op.   S.Pos.   MST1    MST2   "
        "RIndex\n\n",
        "                                  ");
    for (int rank = 1; rank <= t.cluster_size[c]; ++rank) {
      int32_t p = select_best(t, c);
      if (p == 0) break;
      write_rating_row(rating, t, p, rank);
      t.pending_flag[p] = 0;
      write_program_details(programs, t, p, rank, printed_av_op(t, p));
    }
  }

  rating.print("\n\n\nMST1  : Mean solution time (solved positions only)\n");
  rating.print("MST2  : Mean solution time (solved and unsolved positions)\n");
  rating.print("RIndex: Score according to solution time ranking for each position\n");
  ReportOutcome outcome{rating.close(), false};
  outcome.programs_written = programs.close();
  return outcome;
}

bool write_position_report(Tables& t, std::FILE* console) {
  ReportStream out("positions.dat", console);
  out.print("Individual statistics: positions");
  out.print("\n\nMST1  : Mean solution time (only programs solving the position)\n");
  out.print("MST2  : Mean solution time (also programs not solving the position)\n");
  out.print("iMST  : Internal mean solution time (using estimated time for unsolved results)");
  for (int q = 1; q <= t.position_count; ++q) write_position(out, t, q);
  return out.close();
}

}  // namespace tarvolin::reference
