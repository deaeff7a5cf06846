// The walks that visit every match of one program, and the scratch and
// totals they share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "core/tables.h"
#include "matches/match_layout.h"
#include "matches/time_score.h"

namespace tarvolin::matching {

// One match of the sparse walk with its scores, kept until the matches are
// put in opponent order.
struct Meeting {
  double score, margin;
  int16_t opponent, position;
  bool faster;
};

// The most scratch the walk of any one program needs.
struct Room {
  std::size_t margins = 0;   // margin scores
  std::size_t meetings = 0;  // matches of the sparse walk
};
Room room_needed(const Layout& layout);

// A worker's scratch: one program's margin scores, in the order the margins
// sum them (opponent by opponent, position by position), which can only be
// summed once the program's score fraction is known after its last match;
// and the scores against shared values, valid where owner is the program.
// It is all had before the walks begin, so that they allocate nothing.
struct Worker {
  std::unique_ptr<double[]> margin_scores;
  struct Slot {
    double score, margin;
    int32_t owner;  // the program they were scored for
  };
  std::vector<Slot> slots;
  std::vector<Meeting> met, by_opponent;  // sparse walk only
  std::vector<int32_t> opponent_start;
  bool ready = false;  // false: no scratch, every walk plain
  int64_t raw_invalid = 0;
  int64_t raw_complete = 0;

  // False when memory ran out; the worker then holds nothing.
  bool make_room(const Layout& layout, const Room& room);
};

// What make_room takes for the room, known before any of it is had.
std::size_t scratch_bytes(const Layout& layout, const Room& room);

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
// fills, each summed over opponents ascending, then positions ascending.
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
// with p a word at a time.
void walk_words(Tables& tables, const Layout& layout, int p, Worker& worker, ProgramTotals& sums);

// Sparse tables: p's matches gathered position by position from the lists
// of tested results, then put in opponent order.
void walk_lists(Tables& tables, const Layout& layout, int p, Worker& worker, ProgramTotals& sums);

// Any tables, without scratch: p's matches straight from the tables.
void walk_plain(Tables& tables, int p, Worker& worker, ProgramTotals& sums);

// The sum of the squared deviations of p's margin scores from rate, scored
// again match by match in walk order.
double plain_squares(const Tables& tables, int p, double rate);

// Every match of program p: opponents ascending, positions ascending within
// each. Writes only p's entries of the tables, so programs can be walked
// side by side.
void walk_program(Tables& tables, const Layout& layout, int p, Worker& worker);

}  // namespace tarvolin::matching
