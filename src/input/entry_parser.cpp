#include "input/entry_parser.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "input/registries.h"

namespace tarvolin {

ScannedEntry scan_entry(std::string_view entry_text) {
  std::size_t end = entry_text.find('\0');
  if (end == std::string_view::npos) end = entry_text.size();
  if (end > ENTRY_WINDOW + 1) end = ENTRY_WINDOW + 1;

  // Both parts fit the window; they are gathered here and copied out once.
  char name[ENTRY_WINDOW + 1], time_field[ENTRY_WINDOW + 1];
  std::size_t name_length = 0, time_length = 0;
  bool in_name = true;
  for (std::size_t i = 1; i < end; ++i) {
    char c = entry_text[i];
    if (c == ' ' || c == '\n') continue;
    if (in_name) {
      if (c == '\'')
        in_name = false;
      else
        name[name_length++] = c;
    } else {
      if (c == 's') break;
      time_field[time_length++] = c == '>' ? '-' : c;
    }
  }
  return {std::string(name, name_length), std::string(time_field, time_length)};
}

namespace {

// Plain decimals ([-]digits[.digits]) are by far the common case; strtod and
// from_chars give the very bits that "%lf" gives for them, at a fraction of
// the cost.
bool is_plain_decimal(const std::string& field) {
  std::size_t i = field[0] == '-' ? 1 : 0;
  std::size_t digits = 0;
  while (i < field.size() && field[i] >= '0' && field[i] <= '9') ++i, ++digits;
  if (digits == 0) return false;
  if (i < field.size() && field[i] == '.') ++i;
  while (i < field.size() && field[i] >= '0' && field[i] <= '9') ++i;
  return i == field.size();
}

}  // namespace

std::optional<double> convert_time(const std::string& time_field) {
  if (time_field.empty()) return std::nullopt;
  double value = 0.0;
  if (is_plain_decimal(time_field)) {
    // from_chars rounds as strtod does; out of range, strtod has the say.
    const char* end = time_field.data() + time_field.size();
    auto [stop, error] = std::from_chars(time_field.data(), end, value);
    if (error != std::errc() || stop != end) value = std::strtod(time_field.c_str(), nullptr);
  } else if (std::sscanf(time_field.c_str(), "%lf", &value) != 1) {
    return std::nullopt;
  }
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

void parse_result_entry(Tables& tables, std::string_view entry_text, int32_t position,
                        std::FILE* console) {
  ScannedEntry entry = scan_entry(entry_text);
  std::optional<double> time = convert_time(entry.time_field);
  int32_t program = find_or_add_program(tables, entry.name, console);
  if (program > 0 && position > 0 && time) tables.solve_time[program][position] = *time;
}

void parse_offset_entry(Tables& tables, std::string_view entry_text) {
  ScannedEntry entry = scan_entry(entry_text);
  int32_t program = find_or_add_program(tables, entry.name, nullptr);
  if (program < 0) return;
  std::optional<double> time = convert_time(entry.time_field);
  if (!time) return;
  tables.time_offset[program] += *time;
  tables.offset_sample_count[program] += 1;
}

}  // namespace tarvolin
