#include <cmath>

#include "matches/match_walk.h"

namespace tarvolin::matching {

namespace {

// Matches in a word up to which the class sums are added match by match.
constexpr int FEW_MATCHES = 6;

}  // namespace

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

}  // namespace tarvolin::matching
