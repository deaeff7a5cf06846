// Synthetic test suites: a result file and an offset file whose figures look
// like real ones (programs of different strength, positions of different
// difficulty, log-spread times rounded to one or two decimals, ties, failures
// at per-program time limits), reproducible from a seed. Shared by the
// generator tool, the benchmark and the differential test.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tarvolin::suite {

struct Params {
  int programs = 10;
  int positions = 20;
  double density = 1.0;              // share of program x position cells tested
  double solved_share = 0.7;         // aimed-at share of tested cells solved
  std::vector<double> limits{60.0};  // assigned to programs in turn
  double offset_min = 0.0;           // offsets drawn from [offset_min, offset_max]
  double offset_max = 1.0;
  double offset_share = 0.5;  // share of programs given offset samples
  int groups = 1;             // programs and positions split into this many
                              // blocks that never meet: one cluster each
  double tie_share = 0.02;    // cells copying the time of the previous entry
  double limit_share = 0.01;  // cells solved exactly at the program's limit
  double repeat_share = 0.0;  // games repeating an earlier game's FEN
  uint64_t seed = 1;
};

struct Suite {
  std::string results;  // the result file's text
  std::string offsets;  // "Offset.pgn"'s text
};

// mt19937_64 would do as well; this one is a few lines and has the same
// output on every library.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t next() {
    uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
  bool chance(double p) { return uniform() < p; }
  int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
  double normal() {  // Box-Muller, one value per call
    double u = 1.0 - uniform(), v = uniform();
    return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * v);
  }

 private:
  uint64_t state_;
};

namespace detail {

inline constexpr double POSITION_SPREAD = 1.5;  // log-seconds
inline constexpr double PROGRAM_SPREAD = 0.6;
inline constexpr double NOISE_SPREAD = 1.0;

inline double normal_cdf(double x) { return 0.5 * std::erfc(-x / std::sqrt(2.0)); }

// Log-time centre at which the mean chance over the limits of solving within
// the own limit is the wanted share.
inline double centre_for_share(const std::vector<double>& limits, double share) {
  const double spread = std::sqrt(POSITION_SPREAD * POSITION_SPREAD +
                                  PROGRAM_SPREAD * PROGRAM_SPREAD + NOISE_SPREAD * NOISE_SPREAD);
  double low = -50.0, high = 50.0;
  for (int step = 0; step < 200; ++step) {
    double centre = 0.5 * (low + high), solved = 0.0;
    for (double limit : limits) solved += normal_cdf((std::log(limit) - centre) / spread);
    if (solved / static_cast<double>(limits.size()) > share)
      low = centre;
    else
      high = centre;
  }
  return 0.5 * (low + high);
}

inline void append(std::string& out, const char* format, double a) {
  char text[64];
  std::snprintf(text, sizeof text, format, a);
  out += text;
}

inline void quoted(std::string& out, const std::string& name) {
  out += '\'';
  out += name;
  out += "' ";
}

inline double rounded(double t, int decimals) {
  double scale = decimals == 1 ? 10.0 : 100.0;
  return std::round(t * scale) / scale;
}

}  // namespace detail

// Program names carry a blank that the reader squeezes out; the underscore
// keeps "Prog 1_v23" and "Prog 12_v3" apart after squeezing.
inline std::string program_name(int p, int version) {
  std::string name = "Prog ";
  name += std::to_string(p);
  name += "_v";
  name += std::to_string(version);
  return name;
}

inline Suite generate(const Params& params) {
  using namespace detail;
  Random random(params.seed);
  const int programs = params.programs, positions = params.positions;
  const int groups = params.groups < 1 ? 1 : params.groups;
  std::vector<double> limits = params.limits.empty() ? std::vector<double>{60.0} : params.limits;

  std::vector<double> strength(programs), limit(programs);
  std::vector<int> decimals(programs), version(programs);
  for (int p = 0; p < programs; ++p) {
    strength[p] = PROGRAM_SPREAD * random.normal();
    limit[p] = limits[p % limits.size()];
    decimals[p] = random.chance(0.5) ? 1 : 2;
    version[p] = 1 + random.below(20);
  }
  const double centre = centre_for_share(limits, params.solved_share);

  Suite suite;
  suite.results.reserve(static_cast<std::size_t>(programs) * positions * 24);
  std::vector<int> order(programs);
  std::vector<std::string> fens;
  for (int q = 0; q < positions; ++q) {
    std::string fen;
    if (!fens.empty() && random.chance(params.repeat_share)) {
      fen = fens[random.below(static_cast<int>(fens.size()))];
    } else {
      // Piece placement of some sort, made unique by the move number.
      static const char pieces[] = "pnbrqkPNBRQK12345678";
      for (int rank = 0; rank < 8; ++rank) {
        if (rank != 0) fen += '/';
        for (int i = 0, n = 2 + random.below(5); i < n; ++i) fen += pieces[random.below(20)];
      }
      fen += random.chance(0.5) ? " w - - 0 " : " b - - 0 ";
      fen += std::to_string(q + 1);
      fens.push_back(fen);
    }
    suite.results += "[Event \"Synthetic suite\"]\n";
    if (random.chance(0.9)) {
      suite.results += "[Annotator \"Pos ";
      suite.results += std::to_string(q + 1);
      suite.results += "\"]\n";
    }
    suite.results += "[FEN \"";
    suite.results += fen;
    suite.results += "\"]\n{";

    // Programs are listed in a fresh order on every position, so the
    // registry numbers follow first appearance, not generation order.
    for (int p = 0; p < programs; ++p) order[p] = p;
    for (int i = programs - 1; i > 0; --i) std::swap(order[i], order[random.below(i + 1)]);
    const double difficulty = POSITION_SPREAD * random.normal();
    bool first = true, previous_solved = false;
    double previous_time = 0.0;
    for (int p : order) {
      if (p % groups != q % groups || !random.chance(params.density)) continue;
      double t = std::exp(centre + difficulty - strength[p] + NOISE_SPREAD * random.normal());
      t = rounded(t, decimals[p]);
      if (previous_solved && random.chance(params.tie_share)) t = previous_time;
      if (random.chance(params.limit_share)) t = limit[p];
      const bool solved = t <= limit[p];
      if (!first) suite.results += ", ";
      first = false;
      quoted(suite.results, program_name(p + 1, version[p]));
      if (solved)
        append(suite.results, decimals[p] == 1 ? "%.1fs" : "%.2fs", t);
      else
        append(suite.results, ">%gs", limit[p]);
      previous_solved = solved;
      previous_time = t;
    }
    suite.results += "}\n1-0\n\n";
  }

  // The first game of the offset file is a warm-up that the reader skips.
  suite.offsets = "[Event \"Warm-up\"]\n{";
  quoted(suite.offsets, program_name(1, version.empty() ? 1 : version[0]));
  suite.offsets += "9.99s}\n*\n\n";
  for (int round = 0; round < 3; ++round) {
    suite.offsets += "[Event \"Offsets\"]\n{";
    bool first = true;
    for (int p = 0; p < programs; ++p) {
      if (!random.chance(params.offset_share) || (round > 0 && random.chance(0.5))) continue;
      double offset =
          params.offset_min + (params.offset_max - params.offset_min) * random.uniform();
      if (!first) suite.offsets += ", ";
      first = false;
      quoted(suite.offsets, program_name(p + 1, version[p]));
      append(suite.offsets, "%.2fs", offset);
    }
    suite.offsets += first ? "'Unknown engine' 1.5s}\n*\n\n" : ", 'Unknown engine' 1.5s}\n*\n\n";
  }
  return suite;
}

}  // namespace tarvolin::suite
