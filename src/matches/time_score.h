#pragma once

namespace tarvolin {

// Exponent of the logistic time curve: a time ratio of 2 is worth 50 Elo.
// Evaluated in exactly this form so every caller sees the same bits.
double time_exponent();

// Score of A against B on one position, from A's time a and B's time b in
// seconds (negative: failed within |t|). 1 / (1 + (a/b)^k) when both solved,
// (1 + y/2) / (1 + y) with y = (a/|b|)^k when only A solved, the mirror when
// only B solved. Equal solved times give exactly 0.5; a solved time below
// 0.000001 counts as 0.000001. Two failures have no score: 0.5 is returned.
double time_score(double a, double b);

}  // namespace tarvolin
