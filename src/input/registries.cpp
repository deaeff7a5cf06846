#include "input/registries.h"

#include "core/run_abort.h"

namespace tarvolin {

namespace {

std::string overflow_message(const char* format, int capacity) {
  char text[64];
  std::snprintf(text, sizeof text, format, capacity);
  return text;
}

}  // namespace

int32_t find_or_add_position(Tables& tables, const std::string& fen) {
  auto found = tables.position_index.find(fen);
  if (found != tables.position_index.end()) return found->second;
  if (tables.position_count + 1 > MAX_POSITIONS)
    throw RunAbort{overflow_message("Mehr als %d Stellungen !\n", MAX_POSITIONS)};
  int32_t number = ++tables.position_count;
  tables.position_fen[number] = fen;
  tables.position_index.emplace(fen, number);
  return number;
}

int32_t find_or_add_program(Tables& tables, const std::string& name, std::FILE* console) {
  auto found = tables.program_index.find(name);
  if (found != tables.program_index.end()) return found->second;
  if (tables.frozen_program_count != 0) return -1;
  if (tables.program_count + 1 > MAX_PROGRAMS)
    throw RunAbort{overflow_message("More than %d programs !\n", MAX_PROGRAMS)};
  int32_t number = ++tables.program_count;
  tables.program_name[number] = name;
  tables.program_index.emplace(name, number);
  if (console != nullptr) std::fprintf(console, "(%d) %s\n", number, name.c_str());
  return number;
}

}  // namespace tarvolin
