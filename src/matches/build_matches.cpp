#include "matches/build_matches.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <thread>
#include <vector>

#include "matches/match_rule.h"
#include "matches/time_score.h"

namespace tarvolin {

double estimated_time(double t, double m) {
  double s = time_score(t, m);
  return std::pow(s / (1.0 - s), -1.0 / time_exponent()) * m;
}

namespace {

using Word = uint64_t;
constexpr int WORD_BITS = 64;

// Each worker holds one program's margin scores at a time: up to 16 MB at
// capacity, which is what keeps the count of workers down.
constexpr unsigned MOST_WORKERS = 2;

// Below this many visits a second thread costs more than it saves.
constexpr int64_t SMALL_DATABASE = 1 << 20;

const double NO_VALUE = std::numeric_limits<double>::quiet_NaN();

void fill_estimates(Tables& t) {
  for (int p = 1; p <= t.program_count; ++p) {
    for (int q = 1; q <= t.position_count; ++q) {
      double time = t.solve_time[p][q];
      if (!is_tested(time)) continue;
      if (is_solved(time) || !(t.pos_mst1[q] >= 0.0))
        t.est_time[p][q] = time;
      else
        t.est_time[p][q] = estimated_time(time, t.pos_mst1[q]);
    }
  }
}

// The positions each program was tested on and solved, one bit per position,
// so that two programs find their common positions a word at a time.
struct PositionSets {
  int words = 0;
  std::vector<Word> tested, solved;  // words per program, program-major
  std::vector<Word> in_class;        // words per difficulty class 0..3

  explicit PositionSets(const Tables& t)
      : words(t.position_count / WORD_BITS + 1),
        tested(static_cast<std::size_t>(t.program_count + 1) * words, 0),
        solved(tested.size(), 0),
        in_class(static_cast<std::size_t>(4) * words, 0) {
    for (int q = 1; q <= t.position_count; ++q) {
      int c = t.difficulty_class[q];
      if (c >= 0 && c <= 3)
        in_class[static_cast<std::size_t>(c) * words + q / WORD_BITS] |= Word{1} << (q % WORD_BITS);
    }
    for (int p = 1; p <= t.program_count; ++p) {
      Word* tested_row = &tested[static_cast<std::size_t>(p) * words];
      Word* solved_row = &solved[static_cast<std::size_t>(p) * words];
      for (int q = 1; q <= t.position_count; ++q) {
        double time = t.solve_time[p][q];
        Word bit = Word{1} << (q % WORD_BITS);
        if (is_tested(time)) tested_row[q / WORD_BITS] |= bit;
        if (is_solved(time)) solved_row[q / WORD_BITS] |= bit;
      }
    }
  }
  const Word* tested_of(int p) const { return &tested[static_cast<std::size_t>(p) * words]; }
  Word class_word(int c, int w) const { return in_class[static_cast<std::size_t>(c) * words + w]; }
  const Word* solved_of(int p) const { return &solved[static_cast<std::size_t>(p) * words]; }
};

// Margin scores of one program, in the order the margins sum them: opponent
// by opponent, position by position. They can only be summed once the
// program's score fraction is known, that is after its last match.
class ScoreBuffer {
 public:
  void reserve(std::size_t count) {
    if (count <= capacity_) return;
    scores_.reset(new double[count]);  // pages are only touched as filled
    capacity_ = count;
  }
  double* data() { return scores_.get(); }

 private:
  std::unique_ptr<double[]> scores_;
  std::size_t capacity_ = 0;
};

struct WorkerTotals {
  int64_t raw_invalid = 0;
  int64_t raw_complete = 0;
};

// Score of a on b where both solved: equal finite times score exactly 0.5,
// which time_score would also give, only after a pow.
inline double solved_score(double a, double b) {
  if (a == b && a < std::numeric_limits<double>::infinity()) return 0.5;
  return time_score(a, b);
}

// Every match of program p, in the order of the builder's loops: opponents r
// ascending, positions q ascending. Writes only p's entries of the tables, so
// programs can be walked side by side. A word of positions at a time: the
// scores of its matches go to scratch slots, one per bit, and are then added
// up in position order.
void walk_program(Tables& t, const PositionSets& sets, int p, ScoreBuffer& buffer,
                  WorkerTotals& totals) {
  const int n = t.program_count;
  const int words = sets.words;
  const Word* tested_p = sets.tested_of(p);
  const Word* solved_p = sets.solved_of(p);
  const double* time_p = t.solve_time[p];
  const double* est_p = t.est_time[p];

  int tested_count = 0;
  for (int w = 0; w < words; ++w) tested_count += std::popcount(tested_p[w]);
  buffer.reserve(static_cast<std::size_t>(n) * static_cast<std::size_t>(tested_count));
  double* margin_scores = buffer.data();
  std::size_t margin_count = 0;

  int32_t total = 0, wins = 0, draws = 0, losses = 0;
  int32_t class_count[4] = {0, 0, 0, 0};
  double class_sum[4];
  for (int c = 0; c < 4; ++c) class_sum[c] = t.trend_sum[p][c];
  double score_of[WORD_BITS], margin_of[WORD_BITS];

  for (int r = 1; r <= n; ++r) {
    if (r == p) continue;
    const Word* tested_r = sets.tested_of(r);
    const Word* solved_r = sets.solved_of(r);
    const double* time_r = t.solve_time[r];
    const double* est_r = t.est_time[r];
    int32_t games = 0, faster = 0;
    double pair_sum = t.pair_score[p][r];

    for (int w = 0; w < words; ++w) {
      const Word both = tested_p[w] & tested_r[w];
      if (both == 0) continue;
      const int base = w * WORD_BITS;
      const double* a = time_p + base;
      const double* b = time_r + base;
      const Word p_solved = solved_p[w] & both, r_solved = solved_r[w] & both;
      const Word complete = p_solved & r_solved;

      // Exactly one solved: a match only if the solver was not slower than
      // the other's limit.
      Word p_ahead = 0, r_ahead = 0;
      for (Word bits = p_solved & ~r_solved; bits != 0; bits &= bits - 1) {
        int i = std::countr_zero(bits);
        p_ahead |= Word{!(a[i] > std::fabs(b[i]))} << i;
      }
      for (Word bits = r_solved & ~p_solved; bits != 0; bits &= bits - 1) {
        int i = std::countr_zero(bits);
        r_ahead |= Word{!(b[i] > std::fabs(a[i]))} << i;
      }
      const Word matches = complete | p_ahead | r_ahead;
      totals.raw_invalid += std::popcount(both) - std::popcount(matches);
      totals.raw_complete += std::popcount(complete);
      if (matches == 0) continue;

      // Both solved: the estimates are the times, so the margin's score is
      // the builder's.
      for (Word bits = complete; bits != 0; bits &= bits - 1) {
        int i = std::countr_zero(bits);
        score_of[i] = margin_of[i] = solved_score(a[i], b[i]);
        faster += a[i] < b[i];
      }
      // One failed: the builder scores the failure's estimate, the margin its
      // limit. A failure is never faster than the solver that met it.
      for (Word bits = p_ahead | r_ahead; bits != 0; bits &= bits - 1) {
        int i = std::countr_zero(bits);
        score_of[i] = time_score(est_p[base + i], est_r[base + i]);
        margin_of[i] = time_score(a[i], b[i]);
        faster += std::fabs(a[i]) < std::fabs(b[i]);
      }

      games += std::popcount(matches);
      for (Word bits = matches; bits != 0; bits &= bits - 1) {
        int i = std::countr_zero(bits);
        const double s = score_of[i];
        pair_sum += s;
        wins += s > 0.5;
        losses += s < 0.5;
        draws += s == 0.5;
        margin_scores[margin_count++] = margin_of[i];
      }
      // Each difficulty class has a sum of its own, so the classes can be
      // added up one after the other.
      for (int c = 0; c < 4; ++c) {
        const Word in_class = matches & sets.class_word(c, w);
        class_count[c] += std::popcount(in_class);
        double sum = class_sum[c];
        for (Word bits = in_class; bits != 0; bits &= bits - 1)
          sum += score_of[std::countr_zero(bits)];
        class_sum[c] = sum;
      }
    }
    total += games;
    t.pair_games[p][r] += games;
    t.pair_score[p][r] = pair_sum;
    t.pair_faster[p][r] = static_cast<int16_t>(faster);
  }

  t.match_total[p] += total;
  t.match_wins[p] += wins;
  t.match_draws[p] += draws;
  t.match_losses[p] += losses;
  for (int c = 0; c < 4; ++c) {
    if (class_count[c] == 0) continue;
    t.trend_count[p][c] += class_count[c];
    t.trend_sum[p][c] = class_sum[c];
  }

  // The score fraction as the cluster analysis forms it, and the spread of
  // the margin scores around it.
  if (t.match_total[p] == 0) return;
  double points = 0.0;
  for (int r = 1; r <= n; ++r) points += t.pair_score[p][r];
  const double rate = points / t.match_total[p];
  double squares = 0.0;
  for (std::size_t i = 0; i < margin_count; ++i) {
    double deviation = margin_scores[i] - rate;
    squares += deviation * deviation;
  }
  t.margin_squares[p] = squares;
  t.margin_rate[p] = rate;
}

unsigned default_workers() {
  unsigned cores = std::thread::hardware_concurrency();
  return std::clamp(cores, 1u, MOST_WORKERS);
}

void score_matches(Tables& t, unsigned workers, int64_t& raw_invalid, int64_t& raw_complete) {
  const PositionSets sets(t);
  for (int p = 1; p <= t.program_count; ++p) t.margin_rate[p] = NO_VALUE;

  const int64_t visits = static_cast<int64_t>(t.program_count) * t.program_count *
                         static_cast<int64_t>(t.position_count);
  if (visits < SMALL_DATABASE) workers = 1;
  workers = std::clamp(workers, 1u, static_cast<unsigned>(std::max(t.program_count, 1)));

  std::atomic<int> next_program{1};
  std::vector<WorkerTotals> totals(workers);
  auto work = [&](unsigned worker) {
    ScoreBuffer buffer;
    for (int p = next_program++; p <= t.program_count; p = next_program++)
      walk_program(t, sets, p, buffer, totals[worker]);
  };
  std::vector<std::thread> threads;
  for (unsigned worker = 1; worker < workers; ++worker) threads.emplace_back(work, worker);
  work(0);
  for (std::thread& thread : threads) thread.join();

  for (const WorkerTotals& part : totals) {
    raw_invalid += part.raw_invalid;
    raw_complete += part.raw_complete;
  }
  t.pair_faster_ready = true;
}

double mean_or_zero(double sum, int64_t count) {
  return count != 0 ? sum / static_cast<double>(count) : 0.0;
}

void compute_overall_means(Tables& t) {
  double solved_sum = 0.0, tested_sum = 0.0, estimate_sum = 0.0;
  int64_t solved_count = 0, tested_count = 0, estimate_count = 0;
  t.tested_position_count = 0;
  for (int q = 1; q <= t.position_count; ++q) {
    bool position_tested = false;
    for (int p = 1; p <= t.program_count; ++p) {
      double x = t.solve_time[p][q];
      if (is_solved(x)) {
        solved_sum += x;
        ++solved_count;
      }
      if (is_tested(x)) {
        tested_sum += std::fabs(x);
        ++tested_count;
        if (!position_tested) ++t.tested_position_count;
        position_tested = true;
      }
      double y = t.est_time[p][q];
      if (y >= 0.0) {
        estimate_sum += y;
        ++estimate_count;
      }
    }
  }
  t.overall_mst1 = mean_or_zero(solved_sum, solved_count);
  t.overall_mst2 = mean_or_zero(tested_sum, tested_count);
  t.overall_imst = mean_or_zero(estimate_sum, estimate_count);
}

}  // namespace

void build_matches(Tables& tables) { build_matches(tables, default_workers()); }

void build_matches(Tables& tables, unsigned workers) {
  fill_estimates(tables);
  int64_t raw_invalid = 0, raw_complete = 0;
  score_matches(tables, workers, raw_invalid, raw_complete);
  compute_overall_means(tables);

  int64_t total = 0;
  for (int p = 1; p <= tables.program_count; ++p) total += tables.match_total[p];
  tables.invalid_count = static_cast<int32_t>(raw_invalid / 2);
  tables.complete_count = static_cast<int32_t>(raw_complete / 2);
  tables.match_count = static_cast<int32_t>(total / 2);
}

}  // namespace tarvolin
