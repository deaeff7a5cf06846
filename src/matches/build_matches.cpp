#include "matches/build_matches.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <memory>
#include <thread>
#include <vector>

#include "matches/time_score.h"

namespace tarvolin {

double estimated_time(double t, double m) {
  double s = time_score(t, m);
  return std::pow(s / (1.0 - s), -1.0 / time_exponent()) * m;
}

namespace {

// Positions go in words of 64, one bit each, so that two programs find the
// positions they share a word at a time instead of one position at a time.
using Word = uint64_t;
constexpr int WORD_BITS = 64;

// Each worker holds one program's margin scores at a time: up to 16 MB at
// capacity, which is what keeps the count of workers down.
constexpr unsigned MOST_WORKERS = 2;

// Below this many visits a second thread costs more than it saves.
constexpr int64_t SMALL_DATABASE = int64_t{1} << 20;

// When at most this share of the table is tested, matches are gathered
// position by position from lists of the programs tested there, rather than
// by comparing every pair of programs a word of positions at a time.
constexpr int64_t SPARSE_SHARE_DIVISOR = 4;
constexpr int64_t MOST_SPARSE_MEETINGS = int64_t{1} << 18;

// Times that several programs share on a position score alike against any
// one program: each worker keeps their scores for the program it walks. Per
// position at most this many values get a slot, the most shared first, and
// this many slots in all, so the slots stay within a few MB.
constexpr int MOST_SHARED_PER_POSITION = 255;
constexpr int64_t MOST_SHARED_SLOTS = int64_t{1} << 15;

// Matches in a word up to which the class sums are added match by match.
constexpr int FEW_MATCHES = 6;

// Counted by hand: built for processors without a counting instruction, the
// library's count is a function call.
inline int bit_count(Word x) {
  x = x - ((x >> 1) & 0x5555555555555555ULL);
  x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
  x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0fULL;
  return static_cast<int>((x * 0x0101010101010101ULL) >> 56);
}

inline int lowest_bit(Word x) { return __builtin_ctzll(x); }

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

// Runs work(worker) on the given number of threads, the calling one
// included; the workers share out the work among themselves, so a thread
// that cannot be started leaves its part to the others. A failure in any of
// them (memory running out) is passed on once all have stopped.
template <class Work>
void on_workers(unsigned workers, Work work) {
  std::vector<std::exception_ptr> failures(workers);
  auto guarded = [&](unsigned worker) {
    try {
      work(worker);
    } catch (...) {
      failures[worker] = std::current_exception();
    }
  };
  std::vector<std::thread> threads;
  threads.reserve(workers);
  for (unsigned worker = 1; worker < workers; ++worker) {
    try {
      threads.emplace_back(guarded, worker);
    } catch (...) {
      break;
    }
  }
  guarded(0u);
  for (std::thread& thread : threads) thread.join();
  for (const std::exception_ptr& failure : failures)
    if (failure) std::rethrow_exception(failure);
}

// Everything the walk reads besides the tables themselves.
struct Layout {
  int n = 0;          // programs
  int positions = 0;  // positions
  int words = 0;
  std::vector<Word> tested, solved, shared;  // words per program, program-major
  std::vector<Word> in_class;                // words per difficulty class 0..3

  // Sparse tables: per position, the results of the programs tested there
  // (entries listed[q] to listed[q + 1]), the solutions first, fastest
  // first, then the failures, longest limit first. Against a given result
  // the matches on a position are then one run of each part, and equal
  // times sit side by side.
  bool sparse = false;
  struct Listed {
    double time, est;
    int32_t program;
  };
  std::vector<int32_t> listed, failures_from;
  std::vector<Listed> entries;

  // Dense tables: per result, 1 + the number of its value's slot among the
  // position's shared values, 0 when unshared; slot_base[q] + id is the
  // slot.
  std::vector<uint8_t> shared_id;
  std::vector<int32_t> slot_base;
  int32_t slot_count = 0;

  std::size_t row(int p) const { return static_cast<std::size_t>(p) * words; }
  std::size_t grid(int p, int q) const {
    return static_cast<std::size_t>(p) * (positions + 1) + static_cast<std::size_t>(q);
  }
};

void mark_results(const Tables& t, Layout& l) {
  l.tested.assign(l.row(l.n + 1), 0);
  l.solved.assign(l.tested.size(), 0);
  l.shared.assign(l.tested.size(), 0);
  l.in_class.assign(static_cast<std::size_t>(4) * l.words, 0);
  int64_t tested_count = 0;
  for (int p = 1; p <= l.n; ++p) {
    for (int q = 1; q <= l.positions; ++q) {
      double time = t.solve_time[p][q];
      Word bit = Word{1} << (q % WORD_BITS);
      if (is_tested(time)) l.tested[l.row(p) + q / WORD_BITS] |= bit, ++tested_count;
      if (is_solved(time)) l.solved[l.row(p) + q / WORD_BITS] |= bit;
    }
  }
  for (int q = 1; q <= l.positions; ++q) {
    int c = t.difficulty_class[q];
    if (c >= 0 && c <= 3)
      l.in_class[static_cast<std::size_t>(c) * l.words + q / WORD_BITS] |= Word{1}
                                                                           << (q % WORD_BITS);
  }

  const int64_t cells = static_cast<int64_t>(l.n) * l.positions;
  if (tested_count * SPARSE_SHARE_DIVISOR > cells) return;
  l.listed.assign(static_cast<std::size_t>(l.positions) + 2, 0);
  for (int p = 1; p <= l.n; ++p)
    for (int w = 0; w < l.words; ++w)
      for (Word bits = l.tested[l.row(p) + w]; bits != 0; bits &= bits - 1)
        ++l.listed[w * WORD_BITS + lowest_bit(bits) + 1];
  // A program's matches are held until they are put in order: few tested
  // cells crowded onto few positions still make too many of them.
  int64_t most_met = 0;
  for (int p = 1; p <= l.n; ++p) {
    int64_t met = 0;
    for (int w = 0; w < l.words; ++w)
      for (Word bits = l.tested[l.row(p) + w]; bits != 0; bits &= bits - 1)
        met += l.listed[w * WORD_BITS + lowest_bit(bits) + 1];
    most_met = std::max(most_met, met);
  }
  if (most_met > MOST_SPARSE_MEETINGS) return;
  l.sparse = true;
  for (int q = 1; q <= l.positions + 1; ++q) l.listed[q] += l.listed[q - 1];
  std::vector<int32_t> next(l.listed.begin(), l.listed.end() - 1);
  l.entries.resize(static_cast<std::size_t>(tested_count));
  for (int p = 1; p <= l.n; ++p) {
    for (int w = 0; w < l.words; ++w) {
      for (Word bits = l.tested[l.row(p) + w]; bits != 0; bits &= bits - 1) {
        const int q = w * WORD_BITS + lowest_bit(bits);
        l.entries[next[q]++] = {t.solve_time[p][q], t.est_time[p][q], p};
      }
    }
  }
  l.failures_from.assign(l.listed.size(), 0);
  for (int q = 1; q <= l.positions; ++q) {
    auto first = l.entries.begin() + l.listed[q], last = l.entries.begin() + l.listed[q + 1];
    auto failures =
        std::partition(first, last, [](const Layout::Listed& e) { return is_solved(e.time); });
    auto by_time = [](const Layout::Listed& x, const Layout::Listed& y) { return x.time < y.time; };
    std::sort(first, failures, by_time);
    std::sort(failures, last, by_time);  // negative: the longest limit first
    l.failures_from[q] = static_cast<int32_t>(failures - l.entries.begin());
  }
}

// Finds the values shared on each position. Workers take whole words of
// positions, so no two of them touch the same word of the shared bits.
void find_shared_values(const Tables& t, Layout& l, unsigned workers) {
  l.shared_id.assign(l.grid(l.n + 1, 0), 0);
  const int per_position = static_cast<int>(
      std::min<int64_t>(MOST_SHARED_PER_POSITION, MOST_SHARED_SLOTS / std::max(l.positions, 1)));
  std::vector<int32_t> shared_count(static_cast<std::size_t>(l.positions) + 1, 0);

  std::atomic<int> next_word{0};
  on_workers(workers, [&](unsigned) {
    struct Entry {
      double time;
      int32_t program;
    };
    struct Group {
      int32_t start, size;
    };
    std::vector<Entry> entries;
    std::vector<Group> groups;
    for (int w = next_word++; w < l.words; w = next_word++) {
      for (int q = std::max(1, w * WORD_BITS); q < (w + 1) * WORD_BITS && q <= l.positions; ++q) {
        entries.clear();
        for (int p = 1; p <= l.n; ++p)
          if (is_tested(t.solve_time[p][q])) entries.push_back({t.solve_time[p][q], p});
        std::sort(entries.begin(), entries.end(),
                  [](const Entry& x, const Entry& y) { return x.time < y.time; });
        groups.clear();
        for (int32_t i = 0, j; i < static_cast<int32_t>(entries.size()); i = j) {
          for (j = i + 1;
               j < static_cast<int32_t>(entries.size()) && entries[j].time == entries[i].time;)
            ++j;
          if (j - i >= 2) groups.push_back({i, j - i});
        }
        std::stable_sort(groups.begin(), groups.end(),
                         [](const Group& x, const Group& y) { return x.size > y.size; });
        if (static_cast<int>(groups.size()) > per_position) groups.resize(per_position);
        shared_count[q] = static_cast<int32_t>(groups.size());
        for (std::size_t g = 0; g < groups.size(); ++g) {
          for (int32_t i = groups[g].start; i < groups[g].start + groups[g].size; ++i) {
            l.shared[l.row(entries[i].program) + w] |= Word{1} << (q % WORD_BITS);
            l.shared_id[l.grid(entries[i].program, q)] = static_cast<uint8_t>(g + 1);
          }
        }
      }
    }
  });

  l.slot_base.assign(static_cast<std::size_t>(l.positions) + 1, 0);
  l.slot_count = 0;
  for (int q = 1; q <= l.positions; ++q) {
    l.slot_base[q] = l.slot_count - 1;  // ids count from 1
    l.slot_count += shared_count[q];
  }
}

// One match of the sparse walk with its scores, kept until the matches are
// put in opponent order.
struct Meeting {
  double score, margin;
  int16_t opponent, position;
  bool faster;
};

// A worker's scratch: one program's margin scores, in the order the margins
// sum them (opponent by opponent, position by position), which can only be
// summed once the program's score fraction is known after its last match;
// and the scores against shared values, valid where owner is the program.
struct Worker {
  std::unique_ptr<double[]> margin_scores;
  std::size_t capacity = 0;
  struct Slot {
    double score, margin;
    int32_t owner;  // the program they were scored for
  };
  std::vector<Slot> slots;
  std::vector<Meeting> met, by_opponent;  // sparse walk only
  std::vector<int32_t> opponent_start;
  int64_t raw_invalid = 0;
  int64_t raw_complete = 0;

  double* margin_buffer(std::size_t count) {
    if (count > capacity) {
      margin_scores.reset(new double[count]);  // pages are only touched as filled
      capacity = count;
    }
    return margin_scores.get();
  }
};

// Both solved: the estimates are the times, so the margin's score is the
// builder's. Equal finite times score exactly 0.5, which time_score would
// also give, only after a pow.
inline double solved_score(double a, double b) {
  if (a == b && a < std::numeric_limits<double>::infinity()) return 0.5;
  return time_score(a, b);
}

// The builder's and the margin's score of p's result (a, ea) against r's
// (b, eb), times and estimates. Where one failed, the builder scores the
// failure's estimate and the margin its limit.
inline void scores(bool complete, double a, double ea, double b, double eb, double& score,
                   double& margin) {
  if (complete) {
    score = margin = solved_score(a, b);
  } else {
    score = time_score(ea, eb);
    margin = time_score(a, b);
  }
}

// One program's running totals: the table entries of p that the walk
// fills, each summed in the order of the builder's loops.
struct ProgramTotals {
  int32_t total = 0, wins = 0, draws = 0, losses = 0;
  int32_t class_count[4] = {0, 0, 0, 0};
  double class_sum[4];
  double* margin_scores;
  std::size_t margin_count = 0;

  void count(double s) {
    wins += s > 0.5;
    losses += s < 0.5;
    draws += s == 0.5;
  }
};

// Fills the shared value's slot on first use; scores of p against it after.
inline void shared_scores(Worker& worker, int p, int32_t slot, bool complete, double a, double ea,
                          double b, double eb, double& score, double& margin) {
  Worker::Slot& s = worker.slots[slot];
  if (s.owner != p) {
    scores(complete, a, ea, b, eb, s.score, s.margin);
    s.owner = p;
  }
  score = s.score;
  margin = s.margin;
}

// Dense tables: opponents r ascending, and for each the positions shared
// with p a word at a time. The scores of a word's matches go to scratch
// slots, one per bit, and are then added up in position order.
void walk_words(Tables& t, const Layout& l, int p, Worker& worker, ProgramTotals& sums) {
  const Word* tested_p = &l.tested[l.row(p)];
  const Word* solved_p = &l.solved[l.row(p)];
  const double* time_p = t.solve_time[p];
  const double* est_p = t.est_time[p];
  double score_of[WORD_BITS], margin_of[WORD_BITS];

  for (int r = 1; r <= l.n; ++r) {
    if (r == p) continue;
    const Word* tested_r = &l.tested[l.row(r)];
    const Word* solved_r = &l.solved[l.row(r)];
    const Word* shared_r = &l.shared[l.row(r)];
    int32_t games = 0, faster = 0;
    double pair_sum = t.pair_score[p][r];

    for (int w = 0; w < l.words; ++w) {
      const Word both = tested_p[w] & tested_r[w];
      if (both == 0) continue;
      const int base = w * WORD_BITS;
      const double* a = time_p + base;
      const double* ea = est_p + base;
      const double* b = t.solve_time[r] + base;
      const double* eb = t.est_time[r] + base;
      const Word p_solved = solved_p[w] & both, r_solved = solved_r[w] & both;
      const Word complete = p_solved & r_solved;

      // Exactly one solved: a match only if the solver was not slower than
      // the other's limit.
      Word p_ahead = 0, r_ahead = 0;
      for (Word bits = p_solved & ~r_solved; bits != 0; bits &= bits - 1) {
        int i = lowest_bit(bits);
        p_ahead |= Word{!(a[i] > std::fabs(b[i]))} << i;
      }
      for (Word bits = r_solved & ~p_solved; bits != 0; bits &= bits - 1) {
        int i = lowest_bit(bits);
        r_ahead |= Word{!(b[i] > std::fabs(a[i]))} << i;
      }
      const Word matches = complete | p_ahead | r_ahead;
      worker.raw_invalid += bit_count(both) - bit_count(matches);
      worker.raw_complete += bit_count(complete);
      if (matches == 0) continue;

      const Word shared = matches & shared_r[w];
      for (Word bits = matches & ~shared; bits != 0; bits &= bits - 1) {
        int i = lowest_bit(bits);
        scores((complete >> i) & 1, a[i], ea[i], b[i], eb[i], score_of[i], margin_of[i]);
        faster += std::fabs(a[i]) < std::fabs(b[i]);
      }
      const uint8_t* shared_id = &l.shared_id[l.grid(r, base)];
      for (Word bits = shared; bits != 0; bits &= bits - 1) {
        int i = lowest_bit(bits);
        shared_scores(worker, p, l.slot_base[base + i] + shared_id[i], (complete >> i) & 1, a[i],
                      ea[i], b[i], eb[i], score_of[i], margin_of[i]);
        faster += std::fabs(a[i]) < std::fabs(b[i]);
      }

      const int count = bit_count(matches);
      games += count;
      for (Word bits = matches; bits != 0; bits &= bits - 1) {
        const int i = lowest_bit(bits);
        pair_sum += score_of[i];
        sums.count(score_of[i]);
        sums.margin_scores[sums.margin_count++] = margin_of[i];
      }
      // Each difficulty class has a sum of its own. With many matches in the
      // word, the classes are added up one after the other, so that no sum
      // waits for another.
      if (count <= FEW_MATCHES) {
        for (Word bits = matches; bits != 0; bits &= bits - 1) {
          const int i = lowest_bit(bits), c = t.difficulty_class[base + i];
          if (c < 0 || c > 3) continue;
          sums.class_count[c] += 1;
          sums.class_sum[c] += score_of[i];
        }
      } else {
        for (int c = 0; c < 4; ++c) {
          const Word in_class = matches & l.in_class[static_cast<std::size_t>(c) * l.words + w];
          if (in_class == 0) continue;
          sums.class_count[c] += bit_count(in_class);
          double sum = sums.class_sum[c];
          for (Word bits = in_class; bits != 0; bits &= bits - 1) sum += score_of[lowest_bit(bits)];
          sums.class_sum[c] = sum;
        }
      }
    }
    sums.total += games;
    t.pair_games[p][r] += games;
    t.pair_score[p][r] = pair_sum;
    t.pair_faster[p][r] = static_cast<int16_t>(faster);
  }
}

// Sparse tables: p's matches gathered and scored position by position from
// the lists of tested results, then put in opponent order, positions
// ascending within each opponent, by a counting sort. A run of equal times
// in a list is scored once.
void walk_lists(Tables& t, const Layout& l, int p, Worker& worker, ProgramTotals& sums) {
  const double* time_p = t.solve_time[p];
  const double* est_p = t.est_time[p];
  std::vector<Meeting>& met = worker.met;
  std::vector<int32_t>& start = worker.opponent_start;
  met.clear();
  start.assign(static_cast<std::size_t>(l.n) + 2, 0);

  for (int w = 0; w < l.words; ++w) {
    for (Word bits = l.tested[l.row(p) + w]; bits != 0; bits &= bits - 1) {
      const int q = w * WORD_BITS + lowest_bit(bits);
      const double a = time_p[q], ea = est_p[q];
      const Layout::Listed* first = &l.entries[l.listed[q]];
      const Layout::Listed* failures = &l.entries[l.failures_from[q]];
      const Layout::Listed* last = &l.entries[l.listed[q + 1]];
      const Layout::Listed *from, *to;
      const bool p_solved = is_solved(a);
      if (p_solved) {
        // Every other solution, and the failures within limits not below a.
        from = first;
        for (to = failures; to != last && !(a > std::fabs(to->time));) ++to;
        worker.raw_complete += failures - first - 1;
      } else {
        // The solutions not slower than p's limit.
        from = first;
        for (to = first; to != failures && !(to->time > std::fabs(a));) ++to;
      }
      worker.raw_invalid += (last - first - 1) - (to - from - (p_solved ? 1 : 0));

      double b = 0.0, score = 0.0, margin = 0.0;
      bool scored = false;
      for (const Layout::Listed* e = from; e != to; ++e) {
        if (e->program == p) continue;
        if (!scored || !(e->time == b)) {
          b = e->time;
          scores(p_solved && is_solved(b), a, ea, b, e->est, score, margin);
          scored = true;
        }
        met.push_back({score, margin, static_cast<int16_t>(e->program), static_cast<int16_t>(q),
                       std::fabs(a) < std::fabs(e->time)});
        ++start[e->program + 1];
      }
    }
  }
  for (int r = 1; r <= l.n + 1; ++r) start[r] += start[r - 1];
  worker.by_opponent.resize(met.size());
  for (const Meeting& m : met) worker.by_opponent[start[m.opponent]++] = m;
  // start[r] now ends opponent r's matches, which begin where r - 1's end.

  std::size_t i = 0;
  for (int r = 1; r <= l.n; ++r) {
    if (r == p) continue;
    int32_t games = 0, faster = 0;
    double pair_sum = t.pair_score[p][r];
    for (; i < static_cast<std::size_t>(start[r]); ++i) {
      const Meeting& m = worker.by_opponent[i];
      ++games;
      faster += m.faster;
      pair_sum += m.score;
      sums.count(m.score);
      sums.margin_scores[sums.margin_count++] = m.margin;
      const int c = t.difficulty_class[m.position];
      if (c < 0 || c > 3) continue;
      sums.class_count[c] += 1;
      sums.class_sum[c] += m.score;
    }
    sums.total += games;
    t.pair_games[p][r] += games;
    t.pair_score[p][r] = pair_sum;
    t.pair_faster[p][r] = static_cast<int16_t>(faster);
  }
}

// Every match of program p, in the order of the builder's loops: opponents r
// ascending, positions q ascending. Writes only p's entries of the tables, so
// programs can be walked side by side.
void walk_program(Tables& t, const Layout& l, int p, Worker& worker) {
  int tested_count = 0;
  for (int w = 0; w < l.words; ++w) tested_count += bit_count(l.tested[l.row(p) + w]);
  ProgramTotals sums;
  sums.margin_scores =
      worker.margin_buffer(static_cast<std::size_t>(l.n) * static_cast<std::size_t>(tested_count));
  for (int c = 0; c < 4; ++c) sums.class_sum[c] = t.trend_sum[p][c];

  if (l.sparse)
    walk_lists(t, l, p, worker, sums);
  else
    walk_words(t, l, p, worker, sums);

  t.match_total[p] += sums.total;
  t.match_wins[p] += sums.wins;
  t.match_draws[p] += sums.draws;
  t.match_losses[p] += sums.losses;
  for (int c = 0; c < 4; ++c) {
    if (sums.class_count[c] == 0) continue;
    t.trend_count[p][c] += sums.class_count[c];
    t.trend_sum[p][c] = sums.class_sum[c];
  }

  // The score fraction as the cluster analysis forms it, and the spread of
  // the margin scores around it.
  if (t.match_total[p] == 0) return;
  double points = 0.0;
  for (int r = 1; r <= l.n; ++r) points += t.pair_score[p][r];
  const double rate = points / t.match_total[p];
  double squares = 0.0;
  for (std::size_t i = 0; i < sums.margin_count; ++i) {
    double deviation = sums.margin_scores[i] - rate;
    squares += deviation * deviation;
  }
  t.margin_squares[p] = squares;
  t.margin_rate[p] = rate;
}

unsigned default_workers(const Tables& t) {
  const int64_t visits = static_cast<int64_t>(t.program_count) * t.program_count *
                         static_cast<int64_t>(t.position_count);
  if (visits < SMALL_DATABASE) return 1;
  return std::clamp(std::thread::hardware_concurrency(), 1u, MOST_WORKERS);
}

void score_matches(Tables& t, Layout& layout, unsigned workers, int64_t& raw_invalid,
                   int64_t& raw_complete) {
  for (int p = 1; p <= t.program_count; ++p) t.margin_rate[p] = std::nan("");
  workers = std::clamp(workers, 1u, static_cast<unsigned>(std::max(t.program_count, 1)));
  if (!layout.sparse) find_shared_values(t, layout, workers);

  std::vector<Worker> scratch(workers);
  std::atomic<int> next_program{1};
  on_workers(workers, [&](unsigned w) {
    Worker& worker = scratch[w];
    worker.slots.assign(static_cast<std::size_t>(layout.slot_count), {0.0, 0.0, 0});
    for (int p = next_program++; p <= t.program_count; p = next_program++)
      walk_program(t, layout, p, worker);
  });
  for (const Worker& worker : scratch) {
    raw_invalid += worker.raw_invalid;
    raw_complete += worker.raw_complete;
  }
}

double mean_or_zero(double sum, int64_t count) {
  return count != 0 ? sum / static_cast<double>(count) : 0.0;
}

// Positions outer, programs inner, as the sums must run; the marks skip the
// results never tested, which add nothing.
void compute_overall_means(Tables& t, const Layout& l) {
  double solved_sum = 0.0, tested_sum = 0.0, estimate_sum = 0.0;
  int64_t solved_count = 0, tested_count = 0, estimate_count = 0;
  t.tested_position_count = 0;
  for (int q = 1; q <= t.position_count; ++q) {
    bool position_tested = false;
    const Word bit = Word{1} << (q % WORD_BITS);
    for (int p = 1; p <= t.program_count; ++p) {
      if ((l.tested[l.row(p) + q / WORD_BITS] & bit) == 0) continue;
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

void build_matches(Tables& tables) { build_matches(tables, default_workers(tables)); }

void build_matches(Tables& tables, unsigned workers) {
  fill_estimates(tables);
  Layout layout;
  layout.n = tables.program_count;
  layout.positions = tables.position_count;
  layout.words = tables.position_count / WORD_BITS + 1;
  mark_results(tables, layout);
  int64_t raw_invalid = 0, raw_complete = 0;
  score_matches(tables, layout, workers, raw_invalid, raw_complete);
  compute_overall_means(tables, layout);

  int64_t total = 0;
  for (int p = 1; p <= tables.program_count; ++p) total += tables.match_total[p];
  tables.invalid_count = static_cast<int32_t>(raw_invalid / 2);
  tables.complete_count = static_cast<int32_t>(raw_complete / 2);
  tables.match_count = static_cast<int32_t>(total / 2);
}

}  // namespace tarvolin
