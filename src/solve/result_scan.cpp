#include "solve/result_scan.h"

#include <algorithm>
#include <cctype>

namespace tarvolin::solve {

namespace {

constexpr std::size_t ENTRY_WINDOW = 79;

bool is_layout(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string cut_at_nul(std::string_view text) {
  return std::string(text.substr(0, text.find('\0')));
}

class Scanner {
 public:
  explicit Scanner(std::string_view text) : t_(text) {}

  std::vector<ScannedGame> run() {
    games_.emplace_back();
    bool in_comment = false, results_read = false;
    for (i_ = 0; i_ < t_.size();) {
      char c = t_[i_++];
      if (c == '{') {
        in_comment = true;
        if (!results_read) {
          if (!result_comment_follows()) continue;
          read_result_comment(i_ - 1);
          in_comment = false;
          results_read = true;
        }
      } else if (c == '}') {
        in_comment = false;
      } else if (c == '[' && !in_comment) {
        if (read_tag(i_ - 1) == "Event ") results_read = false;
      } else if (!in_comment) {
        note_termination(i_ - 1);
      }
    }
    end_game(t_.size());
    if (in_comment) closer_ = "}";
    if (!games_.front().has_fen) games_.erase(games_.begin());
    return std::move(games_);
  }

 private:
  std::size_t scan_to(std::string_view stops) {
    std::size_t start = i_;
    while (i_ < t_.size() && stops.find(t_[i_]) == std::string_view::npos) ++i_;
    return i_ - start;
  }

  // As the reader: name to the first '"', the quote, the value, the quote,
  // one more character and white space; a part that is empty ends the tag.
  std::string read_tag(std::size_t open) {
    std::size_t name_begin = i_;
    bool have_name = scan_to("\"") > 0;
    if (i_ >= t_.size()) {
      closer_ = "\"?\"]";  // a '[' at the end would take in all that follows
      return std::string();
    }
    if (!have_name) return std::string();
    std::string name = cut_at_nul(t_.substr(name_begin, i_ - name_begin));
    if (name == "Event ") {
      end_game(open);
      games_.emplace_back();
      games_.back().begin = open;
      results_done_ = labelled_ = false;
    }
    if (name == "Annotator ") labelled_ = true;
    std::size_t value_begin = ++i_;
    bool have_value = scan_to("\"") > 0;
    if (name == "FEN ") {
      have_position_ = true;
      current_fen_ = have_value ? cut_at_nul(t_.substr(value_begin, i_ - value_begin)) : "";
      games_.back().own_fen = true;
      fen_labelled_ = labelled_;
    }
    if (i_ >= t_.size()) closer_ = "\"]";
    if (have_value && i_ < t_.size()) {
      i_ = std::min(i_ + 2, t_.size());
      while (i_ < t_.size() && std::isspace(static_cast<unsigned char>(t_[i_]))) ++i_;
    }
    games_.back().body = i_;
    return name;
  }

  // A game without results would have them count for the position current
  // at its end.
  void end_game(std::size_t at) {
    ScannedGame& game = games_.back();
    game.end = at;
    if (!results_done_) fix_position(game);
  }

  void fix_position(ScannedGame& game) {
    game.has_fen = have_position_;
    game.fen = current_fen_;
    game.stands_alone = game.own_fen && fen_labelled_;
  }

  bool result_comment_follows() {
    while (i_ < t_.size() && is_layout(t_[i_])) ++i_;
    if (i_ >= t_.size() || t_[i_] == '\'' || t_[i_] == ',' || t_[i_] == '}') return true;
    scan_to("}");
    return false;
  }

  // A game's results belong to the position of the last FEN tag before
  // them, in this game or an earlier one; none before the first FEN tag.
  void read_result_comment(std::size_t open) {
    ScannedGame& game = games_.back();
    bool counts = have_position_;
    results_done_ = true;
    if (counts) {
      fix_position(game);
      game.has_comment = true;
      game.comment_open = open;
    }
    for (;;) {
      std::size_t entry_begin = i_;
      if (scan_to(",}") > 0 && counts)
        game.entries.push_back(
            {entry_begin, i_, entry_key(t_.substr(entry_begin, i_ - entry_begin))});
      // Nothing between the entry and '}' (left to the character loop), or
      // the end of the text: the comment is over.
      if (scan_to("'}") == 0 || i_ >= t_.size()) {
        if (counts) game.comment_close = i_ < t_.size() && t_[i_] == '}' ? i_ : t_.size();
        if (i_ >= t_.size()) closer_ = "}";
        return;
      }
      if (t_[i_] == '}') {
        if (counts) game.comment_close = i_;
        ++i_;
        return;
      }
    }
  }

  void note_termination(std::size_t at) {
    if (at > 0 && !is_layout(t_[at - 1])) return;
    for (std::string_view marker : {"1/2-1/2", "1-0", "0-1", "*"}) {
      std::size_t end = at + marker.size();
      if (t_.substr(at, marker.size()) == marker && (end == t_.size() || is_layout(t_[end]))) {
        games_.back().termination = at;
        return;
      }
    }
  }

  std::string_view t_;
  std::size_t i_ = 0;

 public:
  const char* closer_ = "";  // what the text lacks to end outside tags and comments

 private:
  bool results_done_ = false;  // the current game's result comment has been read
  bool have_position_ = false;
  bool labelled_ = false;      // the current game has had an Annotator tag
  bool fen_labelled_ = false;  // and had it before its last FEN tag
  std::string current_fen_;
  std::vector<ScannedGame> games_;
};

}  // namespace

std::string entry_key(std::string_view entry_text) {
  std::string key;
  std::size_t end = std::min(entry_text.size(), ENTRY_WINDOW + 1);
  end = std::min(end, entry_text.find('\0'));
  for (std::size_t i = 1; i < end; ++i) {
    char c = entry_text[i];
    if (c == '\'') break;
    if (c != ' ' && c != '\n') key += c;
  }
  return key;
}

std::vector<ScannedGame> scan_result_text(std::string_view text, std::string* closer) {
  Scanner scanner(text);
  std::vector<ScannedGame> games = scanner.run();
  if (closer != nullptr) *closer = scanner.closer_;
  return games;
}

}  // namespace tarvolin::solve
