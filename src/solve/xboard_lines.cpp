#include "solve/xboard_lines.h"

#include <algorithm>
#include <charconv>

#include "chess/fen.h"
#include "chess/lan.h"
#include "chess/san.h"

namespace tarvolin::solve {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string_view> split(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < text.size()) {
    if (is_blank(text[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < text.size() && !is_blank(text[end])) ++end;
    words.push_back(text.substr(i, end - i));
    i = end;
  }
  return words;
}

// A whole word of digits, with an optional sign; nullopt otherwise.
std::optional<long long> number(std::string_view word) {
  if (!word.empty() && word.front() == '+') word.remove_prefix(1);
  long long value = 0;
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (word.empty() || error != std::errc() || end != word.data() + word.size()) return std::nullopt;
  return value;
}

// "1.", "12...", "..." before a move.
bool is_move_number(std::string_view word) {
  std::size_t digits = 0;
  while (digits < word.size() && word[digits] >= '0' && word[digits] <= '9') ++digits;
  return digits < word.size() && std::all_of(word.begin() + static_cast<long>(digits), word.end(),
                                             [](char c) { return c == '.'; });
}

}  // namespace

std::vector<Feature> read_features(std::string_view line) {
  std::vector<Feature> features;
  if (line.substr(0, 8) != "feature ") return features;
  std::size_t i = 8;
  while (i < line.size()) {
    if (is_blank(line[i])) {
      ++i;
      continue;
    }
    std::size_t equals = line.find('=', i), blank = line.find_first_of(" \t", i);
    if (equals == std::string_view::npos || equals > blank) break;  // no NAME=VALUE
    Feature feature{std::string(line.substr(i, equals - i)), ""};
    i = equals + 1;
    std::size_t end;
    if (i < line.size() && line[i] == '"') {
      end = std::min(line.find('"', i + 1), line.size());
      feature.value = line.substr(i + 1, end - i - 1);
      ++end;
    } else {
      end = std::min(line.find_first_of(" \t", i), line.size());
      feature.value = line.substr(i, end - i);
    }
    features.push_back(std::move(feature));
    i = end;
  }
  return features;
}

std::optional<std::string> to_coordinates(const chess::Position& position, std::string_view text) {
  std::optional<chess::Move> move = chess::read_lan(position, text);
  if (!move) {
    chess::SanReading reading = chess::read_san(position, text);
    if (reading.status != chess::SanReading::found) return std::nullopt;
    move = reading.move;
  }
  // The king taking its rook names castling whatever the rook's file.
  if (move->kind == chess::MoveKind::castle)
    return chess::square_name(move->from) + chess::square_name(move->to);
  return chess::to_lan(*move);
}

std::optional<PvReport> read_thinking_line(std::string_view line, const chess::Position& position,
                                           double wall_ms) {
  std::vector<std::string_view> words = split(line);
  if (words.size() < 5) return std::nullopt;
  std::optional<long long> ply = number(words[0]), score = number(words[1]),
                           centis = number(words[2]), nodes = number(words[3]);
  if (!ply || !score || !centis || !nodes || *centis < 0 || *centis > 1'000'000'000)
    return std::nullopt;
  std::size_t at = 4;
  for (int extra = 0; extra < 3 && at < words.size() && number(words[at]); ++extra) ++at;
  while (at < words.size() &&
         (is_move_number(words[at]) || words[at] == "(+)" || words[at] == "(-)"))
    ++at;
  if (at >= words.size()) return std::nullopt;
  std::optional<std::string> move = to_coordinates(position, words[at]);
  if (!move) return std::nullopt;
  PvReport report;
  report.first_move = *move;
  report.mate = mate_moves(*score);
  report.time_ms = *centis * 10;
  if (*ply >= 0 && *ply <= 10000) report.depth = static_cast<int>(*ply);
  report.wall_ms = wall_ms;
  return report;
}

std::optional<int> mate_moves(long long score) {
  if (score > 1'000'000'000 || score < -1'000'000'000) return std::nullopt;  // no negation overflow
  long long size = score < 0 ? -score : score;
  int sign = score < 0 ? -1 : 1;
  if (size > 100000 && size <= 100250) return sign * static_cast<int>(size - 100000);
  for (long long mate : {10000LL, 30000LL, 32000LL, 32767LL, 100000LL, 1000000LL})
    if (size < mate && size >= mate - 250) return sign * static_cast<int>((mate - size + 1) / 2);
  return std::nullopt;
}

}  // namespace tarvolin::solve
