#include "solve/result_doc.h"

#include "solve/position_key.h"

namespace tarvolin::solve {

namespace {

bool is_layout(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Tag values cannot hold a double quote or a line end.
std::string tag_value(std::string value) {
  for (char& c : value)
    if (c == '"' || static_cast<unsigned char>(c) < 32) c = '\'';
  return value;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && is_layout(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string new_game_text(const GameTags& tags, const std::string& entries) {
  return "[Event \"" + tag_value(tags.event) + "\"]\n[Site \"?\"]\n[Annotator \"" +
         tag_value(tags.annotator) + "\"]\n[FEN \"" + tag_value(tags.fen) +
         "\"]\n[Result \"*\"]\n\n{" + entries + "} *\n";
}

ResultDoc::ResultDoc(std::string text) : text_(std::move(text)) { rescan(); }

void ResultDoc::rescan() {
  games_ = scan_result_text(text_, &closer_);
  keys_.clear();
  for (const ScannedGame& game : games_) keys_.push_back(position_key(game.fen));
}

// A file cut off inside a tag or a comment is closed before anything is added,
// or what follows would be read as part of it.
void ResultDoc::close() {
  if (closer_.empty()) return;
  text_ += closer_;
  rescan();
}

const ScannedGame* ResultDoc::last_game(const std::string& fen) const {
  // Of several games of one position the reader lets the last one's entries win.
  std::string key = position_key(fen);
  for (std::size_t i = games_.size(); i-- > 0;)
    if (games_[i].has_fen && keys_[i] == key) return &games_[i];
  return nullptr;
}

bool ResultDoc::has_position(const std::string& fen) const { return last_game(fen) != nullptr; }

std::string_view ResultDoc::entry_text(const std::string& fen, const std::string& key) const {
  // Of several games of one position the reader takes the last entry.
  std::string position = position_key(fen);
  std::string_view found;
  for (std::size_t i = 0; i < games_.size(); ++i)
    if (games_[i].has_fen && keys_[i] == position)
      for (const ScannedEntry& entry : games_[i].entries)
        if (entry.key == key)
          found = std::string_view(text_).substr(entry.begin, entry.end - entry.begin);
  return found;
}

void ResultDoc::append(const std::string& game_text) {
  close();
  if (!text_.empty() && text_.back() != '\n') text_ += '\n';
  if (!text_.empty() && (text_.size() < 2 || text_[text_.size() - 2] != '\n')) text_ += '\n';
  text_ += game_text;
}

void ResultDoc::set_entry(const GameTags& tags, const std::string& entry,
                          const std::string& before_fen) {
  close();
  const ScannedGame* game = last_game(tags.fen);
  const ScannedGame* next = before_fen.empty() ? nullptr : last_game(before_fen);
  if (game == nullptr && next != nullptr && next->begin > 0) {
    text_.insert(next->begin, new_game_text(tags, entry) + "\n");
  } else if (game == nullptr) {
    append(new_game_text(tags, entry));
  } else if (game->has_comment) {
    std::string key = entry_key(entry);
    const ScannedEntry* old = nullptr;
    for (const ScannedEntry& scanned : game->entries)
      if (scanned.key == key) old = &scanned;
    if (old != nullptr) {
      std::size_t length =
          trimmed(std::string_view(text_).substr(old->begin, old->end - old->begin)).size();
      text_.replace(old->begin, length, entry);
    } else {
      std::size_t close = game->comment_close;
      std::size_t last = close;
      while (last > game->comment_open + 1 && is_layout(text_[last - 1])) --last;
      std::string addition = entry;
      if (last > game->comment_open + 1) addition = (text_[last - 1] == ',' ? " " : ", ") + entry;
      if (close == text_.size()) addition += "}";
      text_.insert(close, addition);
    }
  } else if (game->termination != std::string::npos && game->termination >= game->body) {
    text_.insert(game->termination, "{" + entry + "} ");
  } else {
    std::size_t last = game->end;
    while (last > game->begin && is_layout(text_[last - 1])) --last;
    text_.insert(last, "\n{" + entry + "}");
  }
  rescan();
}

void ResultDoc::merge(std::string_view other) {
  for (const ScannedGame& game : scan_result_text(other)) {
    if (!game.has_fen) continue;
    std::string_view whole = other.substr(game.begin, game.end - game.begin);
    if (!has_position(game.fen) && game.own_fen && whole.rfind("[Event ", 0) == 0) {
      append(std::string(trimmed(whole)));
      rescan();
      close();  // a game cut off at the end of that file ends here
      text_ += '\n';
      rescan();
      continue;
    }
    GameTags tags{"?", "", game.fen};
    for (const ScannedEntry& entry : game.entries)
      set_entry(tags, std::string(trimmed(other.substr(entry.begin, entry.end - entry.begin))));
  }
}

}  // namespace tarvolin::solve
