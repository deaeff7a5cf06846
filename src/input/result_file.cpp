#include "input/result_file.h"

#include "input/entry_parser.h"
#include "input/pgn_reader.h"
#include "input/registries.h"

namespace tarvolin {

namespace {

class ResultFileVisitor : public PgnVisitor {
 public:
  ResultFileVisitor(Tables& tables, std::FILE* console) : tables_(tables), console_(console) {}

  void on_tag(std::string_view name, const std::string& value) override {
    if (name == "Annotator ") {
      held_label_ = value;
    } else if (name == "FEN ") {
      current_position_ = find_or_add_position(tables_, value);
      tables_.position_label[current_position_] = held_label_;
    }
  }

  void on_entry(std::string_view entry_text) override {
    parse_result_entry(tables_, entry_text, current_position_, console_);
  }

 private:
  Tables& tables_;
  std::FILE* console_;
  std::string held_label_;        // empty until the first "Annotator " tag
  int32_t current_position_ = 0;  // 0 until the first "FEN " tag
};

}  // namespace

void read_result_file(Tables& tables, CharSource& source, std::FILE* console) {
  ResultFileVisitor visitor(tables, console);
  read_pgn(source, visitor);
}

}  // namespace tarvolin
