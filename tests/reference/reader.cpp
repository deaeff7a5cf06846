// Result and offset file readers: one character at a time, every entry
// scanned into name and time, every key looked up by searching the registry
// from the newest entry down.
#include <cctype>
#include <cmath>
#include <string>

#include "core/run_abort.h"
#include "input/entry_parser.h"
#include "input/offset_file.h"
#include "reference/reference.h"

namespace tarvolin::reference {

namespace {

std::string overflow_message(const char* format, int capacity) {
  char text[64];
  std::snprintf(text, sizeof text, format, capacity);
  return text;
}

int32_t find_or_add_position(Tables& t, const std::string& fen) {
  for (int32_t q = t.position_count; q >= 1; --q)
    if (t.position_fen[q] == fen) return q;
  if (t.position_count + 1 > MAX_POSITIONS)
    throw RunAbort{overflow_message("Mehr als %d Stellungen !\n", MAX_POSITIONS)};
  int32_t number = ++t.position_count;
  t.position_fen[number] = fen;
  return number;
}

int32_t find_or_add_program(Tables& t, const std::string& name, std::FILE* console) {
  for (int32_t p = t.program_count; p >= 1; --p)
    if (t.program_name[p] == name) return p;
  if (t.frozen_program_count != 0) return -1;
  if (t.program_count + 1 > MAX_PROGRAMS)
    throw RunAbort{overflow_message("More than %d programs !\n", MAX_PROGRAMS)};
  int32_t number = ++t.program_count;
  t.program_name[number] = name;
  if (console != nullptr) std::fprintf(console, "(%d) %s\n", number, name.c_str());
  return number;
}

// One character at a time through the C library; a carriage return right
// before a line feed reads as the line feed alone.
class PlainSource {
 public:
  explicit PlainSource(std::FILE* file) : file_(file) {}
  int get() {
    if (pushed_ != NONE) {
      int c = pushed_;
      pushed_ = NONE;
      return c;
    }
    int c = std::getc(file_);
    if (c == '\r') {
      int next = std::getc(file_);
      if (next == '\n') return next;
      if (next != EOF) std::ungetc(next, file_);
    }
    return c;
  }
  int peek() {
    if (pushed_ == NONE) pushed_ = get();
    return pushed_;
  }
  void unget(int c) { pushed_ = c; }

 private:
  static constexpr int NONE = -2;
  std::FILE* file_;
  int pushed_ = NONE;
};

struct Entry {
  std::string name;
  std::string time_field;
};

// The first character is skipped unseen; at most ENTRY_WINDOW after it.
Entry scan_entry(const std::string& text) {
  Entry entry;
  std::size_t end = text.size();
  if (end > ENTRY_WINDOW + 1) end = ENTRY_WINDOW + 1;
  bool in_name = true;
  for (std::size_t i = 1; i < end; ++i) {
    char c = text[i];
    if (c == ' ' || c == '\n') continue;
    if (in_name) {
      if (c == '\'')
        in_name = false;
      else
        entry.name += c;
    } else {
      if (c == 's') break;
      entry.time_field += c == '>' ? '-' : c;
    }
  }
  return entry;
}

// "%lf" and nothing else; a field that reads no finite number gives false.
bool convert_time(const std::string& field, double& value) {
  if (std::sscanf(field.c_str(), "%lf", &value) != 1) return false;
  return std::isfinite(value);
}

// What to do with the tags and entries the machine below finds.
struct Sink {
  virtual ~Sink() = default;
  virtual void tag(const std::string& name, const std::string& value) = 0;
  virtual void entry(const std::string& text) = 0;
};

template <class IsStop>
bool scan_until(PlainSource& source, IsStop is_stop, std::string* out, std::size_t keep) {
  if (out != nullptr) out->clear();
  bool matched = false;
  for (;;) {
    int c = source.peek();
    if (c == EOF || is_stop(c)) return matched;
    source.get();
    matched = true;
    if (out != nullptr && out->size() < keep) out->push_back(static_cast<char>(c));
  }
}

void cut_at_nul(std::string& text) {
  std::size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
}

void read_tag(PlainSource& source, std::string& name, std::string& value) {
  auto is_quote = [](int c) { return c == '"'; };
  const std::size_t whole = std::string::npos;
  value.clear();
  if (!scan_until(source, is_quote, &name, whole)) return;
  if (source.get() == EOF) return;
  if (!scan_until(source, is_quote, &value, whole)) return;
  if (source.get() == EOF) return;
  if (source.get() == EOF) return;
  while (std::isspace(source.peek())) source.get();
}

void read_result_comment(PlainSource& source, Sink& sink, std::string& entry) {
  auto ends_entry = [](int c) { return c == ',' || c == '}'; };
  auto ends_separator = [](int c) { return c == '\'' || c == '}'; };
  for (;;) {
    bool have_entry = scan_until(source, ends_entry, &entry, ENTRY_WINDOW + 1);
    int end_character = '}';
    if (scan_until(source, ends_separator, nullptr, 0)) {
      int c = source.get();
      if (c != EOF) end_character = c;
      if (end_character == '\'') source.unget(c);
    }
    if (have_entry) {
      cut_at_nul(entry);
      sink.entry(entry);
    }
    if (end_character != '\'') return;
  }
}

void read_pgn(PlainSource& source, Sink& sink) {
  bool in_comment = false;
  bool results_read = false;
  std::string name, value, entry;
  for (int c = source.get(); c != EOF; c = source.get()) {
    if (c == '{') {
      in_comment = true;
      if (!results_read) {
        read_result_comment(source, sink, entry);
        in_comment = false;
        results_read = true;
      }
    } else if (c == '}') {
      in_comment = false;
    } else if (c == '[' && !in_comment) {
      read_tag(source, name, value);
      cut_at_nul(name);
      cut_at_nul(value);
      if (name == "Event ") results_read = false;
      sink.tag(name, value);
    }
  }
}

struct ResultSink : Sink {
  ResultSink(Tables& t, std::FILE* console) : t(t), console(console) {}
  void tag(const std::string& name, const std::string& value) override {
    if (name == "Annotator ") {
      label = value;
    } else if (name == "FEN ") {
      position = find_or_add_position(t, value);
      t.position_label[position] = label;
    }
  }
  void entry(const std::string& text) override {
    Entry e = scan_entry(text);
    double time = 0.0;
    bool converted = convert_time(e.time_field, time);
    int32_t program = find_or_add_program(t, e.name, console);
    if (program > 0 && position > 0 && converted) t.solve_time[program][position] = time;
  }
  Tables& t;
  std::FILE* console;
  std::string label;
  int32_t position = 0;
};

struct OffsetSink : Sink {
  explicit OffsetSink(Tables& t) : t(t) {}
  void tag(const std::string& name, const std::string&) override {
    if (name == "Event ") ++games;
  }
  void entry(const std::string& text) override {
    if (games <= 1) return;  // the first game is a warm-up
    Entry e = scan_entry(text);
    int32_t program = find_or_add_program(t, e.name, nullptr);
    double time = 0.0;
    if (program < 0 || !convert_time(e.time_field, time)) return;
    t.time_offset[program] += time;
    t.offset_sample_count[program] += 1;
  }
  Tables& t;
  long games = 0;
};

}  // namespace

void read_result_file(Tables& tables, std::FILE* file, std::FILE* console) {
  PlainSource source(file);
  ResultSink sink(tables, console);
  read_pgn(source, sink);
}

void read_offset_source(Tables& tables, std::FILE* file) {
  PlainSource source(file);
  OffsetSink sink(tables);
  read_pgn(source, sink);
}

void read_offset_file(Tables& tables, std::FILE* console) {
  std::FILE* file = std::fopen(OFFSET_FILE_NAME, "r");
  if (file == nullptr) {
    std::fprintf(console, "\nCannot find 'Offset.pgn'\n");
    return;
  }
  std::fprintf(console, "\nReading 'Offset.pgn'\n");
  reference::read_offset_source(tables, file);
  std::fclose(file);
}

}  // namespace tarvolin::reference
