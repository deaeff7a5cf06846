#include "solve/epd_suite.h"

#include <algorithm>
#include <map>

#include "chess/fen.h"
#include "chess/lan.h"
#include "chess/legality.h"
#include "chess/san.h"

namespace tarvolin::solve {

bool SuitePosition::is_correct(std::string_view uci_move) const {
  // A null move ("0000"), an illegal or unreadable move is never right, not
  // even where only am is given.
  std::optional<chess::Move> move = chess::read_lan(position, uci_move);
  if (!move) return false;
  auto is_it = [&](const chess::Move& listed) { return listed == *move; };
  if (!best.empty() && std::none_of(best.begin(), best.end(), is_it)) return false;
  return std::none_of(avoid.begin(), avoid.end(), is_it);
}

std::string SuitePosition::label(bool with_solution) const {
  std::string name = id.empty() ? "Pos " + std::to_string(number) : id;
  return with_solution ? name + " " + solution : name;
}

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Splits on blanks; a double-quoted operand stays one word, without quotes.
std::vector<std::string> words(std::string_view text) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (is_blank(text[i])) {
      ++i;
    } else if (text[i] == '"') {
      std::size_t end = text.find('"', i + 1);
      if (end == std::string_view::npos) end = text.size();
      out.emplace_back(text.substr(i + 1, end - i - 1));
      i = end + 1;
    } else {
      std::size_t end = i;
      while (end < text.size() && !is_blank(text[end])) ++end;
      out.emplace_back(text.substr(i, end - i));
      i = end;
    }
  }
  return out;
}

bool is_count(const std::string& text) {
  return !text.empty() && text.size() < 10 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The one legal move a bm or am text names, or why there is none.
bool read_move(const std::string& code, const std::string& text, const chess::Position& position,
               chess::Move& move, std::string& why) {
  chess::SanReading reading = chess::read_san(position, text);
  why = code + " " + text;
  switch (reading.status) {
    case chess::SanReading::found:
      move = reading.move;
      return true;
    case chess::SanReading::malformed:
      return why += " is not a SAN move", false;
    case chess::SanReading::not_legal:
      return why += " is not a legal move", false;
    case chess::SanReading::ambiguous:
      break;
  }
  why += " is ambiguous (";
  for (const chess::Move& candidate : reading.candidates)
    why +=
        (candidate == reading.candidates.front() ? "" : ", ") + chess::to_san(position, candidate);
  return why += ")", false;
}

// The solution as the suite writes it, bm first, then am and dm.
std::string solution_text(const std::vector<std::string>& best,
                          const std::vector<std::string>& avoid, int mate_in) {
  std::string text;
  for (const std::string& move : best) text += " " + move;
  if (!avoid.empty()) text += " am";
  for (const std::string& move : avoid) text += " " + move;
  if (mate_in > 0) text += " dm " + std::to_string(mate_in);
  return text.empty() ? text : text.substr(1);
}

// The operations after the FEN: "opcode operand...;" each. hmvc and fmvn
// complete a FEN without counters.
bool read_operations(std::string_view text, bool counted, SuitePosition& position,
                     std::string& why) {
  std::string hmvc = "0", fmvn = "1";
  std::vector<std::string> best_texts, avoid_texts;
  std::size_t start = 0;
  bool quoted = false;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] == '"') quoted = !quoted;
    if (i < text.size() && (quoted || text[i] != ';')) continue;
    std::vector<std::string> op = words(text.substr(start, i - start));
    start = i + 1;
    if (op.empty()) continue;
    const std::string& code = op[0];
    if (code == "bm" || code == "am") {
      if (op.size() < 2) return why = code + " without a move", false;
      for (std::size_t k = 1; k < op.size(); ++k) {
        chess::Move move;
        if (!read_move(code, op[k], position.position, move, why)) return false;
        (code == "bm" ? position.best : position.avoid).push_back(move);
        (code == "bm" ? best_texts : avoid_texts).push_back(op[k]);
      }
    } else if (code == "dm") {
      if (op.size() != 2) return why = "dm takes one number", false;
      position.mate_in = is_count(op[1]) ? std::stoi(op[1]) : 0;
      if (position.mate_in < 1 || position.mate_in > 500)
        return why = "dm " + op[1] + " is not a mate in 1 to 500 moves", false;
    } else if (code == "id" && op.size() >= 2) {
      position.id = op[1];
    } else if ((code == "hmvc" || code == "fmvn") && op.size() >= 2) {
      if (!is_count(op[1])) return why = code + " is not a number", false;
      (code == "hmvc" ? hmvc : fmvn) = op[1];
    }
  }
  if (position.best.empty() && position.avoid.empty() && position.mate_in == 0)
    return why = "no bm, am or dm", false;
  for (std::size_t k = 0; k < position.avoid.size(); ++k)
    if (std::count(position.best.begin(), position.best.end(), position.avoid[k]) > 0)
      return why = avoid_texts[k] + " is in both bm and am", false;
  position.solution = solution_text(best_texts, avoid_texts, position.mate_in);
  if (!counted) position.fen += " " + hmvc + " " + fmvn;
  return true;
}

// The next blank-separated word of rest, taken off it; empty at the end.
std::string_view next_word(std::string_view& rest) {
  while (!rest.empty() && is_blank(rest.front())) rest.remove_prefix(1);
  std::size_t end = 0;
  while (end < rest.size() && !is_blank(rest[end])) ++end;
  std::string_view word = rest.substr(0, end);
  rest.remove_prefix(end);
  return word;
}

bool read_line(const std::string& line, SuitePosition& position, std::string& why) {
  std::string_view rest = line;
  std::string_view fields[4];
  for (std::string_view& field : fields)
    if ((field = next_word(rest)).empty()) return why = "fewer than four FEN fields", false;
  std::optional<chess::Position> read =
      chess::read_fen_fields(fields[0], fields[1], fields[2], fields[3], why);
  if (!read) return false;
  why = chess::illegal_reason(*read);
  if (!why.empty()) return false;
  position.position = *read;
  position.chess960 = read->chess960;
  position.fen = std::string(fields[0]) + " " + std::string(fields[1]) + " " +
                 std::string(fields[2]) + " " + std::string(fields[3]);
  // A whole FEN, as many suites write it: two whole numbers are its counters.
  std::string_view after = rest;
  std::string halfmove(next_word(after)), fullmove(next_word(after));
  bool counted = is_count(halfmove) && is_count(fullmove);
  if (counted) position.fen += " " + halfmove + " " + fullmove;
  return read_operations(counted ? after : rest, counted, position, why);
}

}  // namespace

bool read_suite(std::istream& in, std::vector<SuitePosition>& out, std::string& error) {
  // Two lines of one position would share one game of the result file.
  std::map<std::string, int> lines;  // position fields -> its line
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::size_t first = 0;
    while (first < line.size() && is_blank(line[first])) ++first;
    if (first == line.size() || line[first] == '#') continue;
    SuitePosition position;
    position.line = number;
    position.number = static_cast<int>(out.size()) + 1;
    std::string why;
    bool good = read_line(line, position, why);
    if (good) {
      auto [at, added] = lines.emplace(chess::fen_fields(position.position), number);
      if (!added) why = "the same position as line " + std::to_string(at->second);
      good = added;
    }
    if (!good) {
      error = "line " + std::to_string(number) + ": " + why;
      return false;
    }
    out.push_back(std::move(position));
  }
  return true;
}

}  // namespace tarvolin::solve
