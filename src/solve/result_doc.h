// A result file held as its text, changed in place: an engine's entry on a
// position replaces its old one, and every byte the change does not need to
// touch stays as it was.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "solve/result_scan.h"

namespace tarvolin::solve {

struct GameTags {
  std::string event, annotator, fen;
};

class ResultDoc {
 public:
  explicit ResultDoc(std::string text = "");

  const std::string& text() const { return text_; }
  // Positions are matched by position_key: a game's FEN tag may carry other
  // move counters, or none, and keeps them.
  bool has_position(const std::string& fen) const;
  // The raw text of the program's entry that the reader takes on the
  // position ('Name' >10s), or empty when it has none.
  std::string_view entry_text(const std::string& fen, const std::string& key) const;
  // Puts one entry ('Name' 1.234s) on the position: in place of the
  // program's old entry, added to the result comment, or in a new game made
  // from the tags; such a new game goes before the game of before_fen when
  // that is given and in the file, else at the end.
  void set_entry(const GameTags& tags, const std::string& entry,
                 const std::string& before_fen = "");
  // Takes over the games of another result file: entries of known positions
  // replace ours, games of new positions are appended.
  void merge(std::string_view other);

 private:
  void rescan();
  void close();
  const ScannedGame* last_game(const std::string& fen) const;
  void append(const std::string& game_text);

  std::string text_;
  std::vector<ScannedGame> games_;
  std::vector<std::string> keys_;  // each game's position_key
  std::string closer_;
};

// "[Event ...]" to the result comment and "*", for a position new to the file.
std::string new_game_text(const GameTags& tags, const std::string& entries);

}  // namespace tarvolin::solve
