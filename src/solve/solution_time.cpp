#include "solve/solution_time.h"

#include <charconv>
#include <limits>

namespace tarvolin::solve {

namespace {

// Cuts the next blank-separated word off the front of the text.
std::string_view next_word(std::string_view& text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  std::size_t end = 0;
  while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
  std::string_view word = text.substr(0, end);
  text.remove_prefix(end);
  return word;
}

std::optional<long long> number(std::string_view word) {
  long long value = 0;
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

// "score cp X" or "score mate M", each perhaps followed by "lowerbound" or
// "upperbound": the mate the score proves. A bound proves a mate only when it
// points the mate's way: a lower bound on a mate for the side to move (it
// mates in at most M), an upper bound on a mate against it. Takes off the
// front of the text only the words that belong to the score.
std::optional<int> read_score(std::string_view& text) {
  std::string_view rest = text;
  std::string_view kind = next_word(rest);
  if (kind != "cp" && kind != "mate") return std::nullopt;
  std::optional<long long> value = number(next_word(rest));
  if (!value) return std::nullopt;
  text = rest;
  std::string_view bound = next_word(rest);
  if (bound == "lowerbound" || bound == "upperbound") text = rest;
  if (kind != "mate" || *value < std::numeric_limits<int>::min() ||
      *value > std::numeric_limits<int>::max())
    return std::nullopt;
  if ((bound == "lowerbound" && *value < 0) || (bound == "upperbound" && *value > 0))
    return std::nullopt;
  return static_cast<int>(*value);
}

// The first PV of the run at the end of pvs whose first moves are all
// correct (and, with mate_in, all score the mate); pvs.size() without one.
std::size_t run_start(const std::vector<PvReport>& pvs,
                      const std::function<bool(std::string_view)>& correct, int mate_in) {
  auto holds = [&](const PvReport& pv) {
    if (!correct(pv.first_move)) return false;
    return mate_in <= 0 || (pv.mate && *pv.mate > 0 && *pv.mate <= mate_in);
  };
  std::size_t first = pvs.size();
  while (first > 0 && holds(pvs[first - 1])) --first;
  return first;
}

double engine_ms(const PvReport& pv) {
  return pv.time_ms ? static_cast<double>(*pv.time_ms) : pv.wall_ms;
}

}  // namespace

std::optional<PvReport> read_pv_line(std::string_view line, double wall_ms) {
  if (next_word(line) != "info") return std::nullopt;
  PvReport report;
  report.wall_ms = wall_ms;
  for (std::string_view word = next_word(line); !word.empty(); word = next_word(line)) {
    if (word == "string") return std::nullopt;  // free text to the end of the line
    if (word == "multipv") {
      std::optional<long long> index = number(next_word(line));
      if (index && *index != 1) return std::nullopt;
    } else if (word == "score") {
      report.mate = read_score(line);
    } else if (word == "depth") {
      std::optional<long long> depth = number(next_word(line));
      if (depth && *depth >= 0 && *depth <= 10000) report.depth = static_cast<int>(*depth);
    } else if (word == "time") {
      report.time_ms = number(next_word(line));
    } else if (word == "pv") {
      report.first_move = std::string(next_word(line));
      return report.first_move.empty() ? std::nullopt : std::optional(report);
    }
  }
  return std::nullopt;
}

std::optional<std::string> read_bestmove(std::string_view line) {
  if (next_word(line) != "bestmove") return std::nullopt;
  return std::string(next_word(line));
}

std::optional<double> solution_seconds(const std::vector<PvReport>& pvs,
                                       const std::string& bestmove, double bestmove_wall_ms,
                                       const std::function<bool(std::string_view)>& correct,
                                       int mate_in) {
  if (!correct(bestmove)) return std::nullopt;
  std::size_t first_of_run = run_start(pvs, correct, mate_in);
  if (first_of_run == pvs.size()) {
    // Only an announced mate shows that the engine saw it.
    if (mate_in > 0) return std::nullopt;
    return bestmove_wall_ms / 1000.0;
  }
  return engine_ms(pvs[first_of_run]) / 1000.0;
}

bool settled(const std::vector<PvReport>& pvs, double now_ms, double hold_ms,
             const std::function<bool(std::string_view)>& correct, int mate_in) {
  std::size_t first = run_start(pvs, correct, mate_in);
  if (first == pvs.size()) return false;
  double engine_now = now_ms;
  for (std::size_t k = pvs.size(); k-- > 0;)
    if (pvs[k].time_ms) {
      engine_now = static_cast<double>(*pvs[k].time_ms) + (now_ms - pvs[k].wall_ms);
      break;
    }
  return engine_now - engine_ms(pvs[first]) >= hold_ms;
}

}  // namespace tarvolin::solve
