#include "input/offset_file.h"

#include "input/entry_parser.h"
#include "input/pgn_reader.h"

namespace tarvolin {

namespace {

class OffsetFileVisitor : public PgnVisitor {
 public:
  explicit OffsetFileVisitor(Tables& tables) : tables_(tables) {}

  void on_tag(std::string_view name, const std::string&) override {
    if (name == "Event ") ++game_count_;
  }

  void on_entry(std::string_view entry_text) override {
    if (game_count_ > 1) parse_offset_entry(tables_, entry_text);
  }

 private:
  Tables& tables_;
  long game_count_ = 0;
};

}  // namespace

void read_offset_source(Tables& tables, CharSource& source) {
  OffsetFileVisitor visitor(tables);
  read_pgn(source, visitor);
}

void read_offset_file(Tables& tables, std::FILE* console) {
  std::FILE* file = std::fopen(OFFSET_FILE_NAME, "rb");
  if (file == nullptr) {
    std::fprintf(console, "\nCannot find 'Offset.pgn'\n");
    return;
  }
  std::fprintf(console, "\nReading 'Offset.pgn'\n");
  CharSource source(file);
  read_offset_source(tables, source);
  std::fclose(file);
}

}  // namespace tarvolin
