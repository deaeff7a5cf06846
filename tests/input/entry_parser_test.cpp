#include "input/entry_parser.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "input/registries.h"
#include "support/scratch.h"

namespace tarvolin {
namespace {

struct Example {
  std::string text, name, time_field;
  std::optional<double> value;
};

// The first character is skipped and seventy-nine more are seen.
TEST(EntryParser, ReadsNameAndTimeWithinTheEntryWindow) {
  const std::string n77(77, 'n'), n78(78, 'n');
  const Example examples[] = {
      {"'Alpha 3.1' 12.3s", "Alpha3.1", "12.3", 12.3},
      {"'Beta' >60s", "Beta", "-60", -60.0},
      {"'Epsilon' > 120s", "Epsilon", "-120", -120.0},
      // Blanks and line ends vanish from names.
      {"'Al p\nha\n' 12.3s", "Alpha", "12.3", 12.3},
      // Only a lower-case s ends the time; inside the name it is a letter.
      {"'Alpha' 1s5", "Alpha", "1", 1.0},
      {"'Bass' 2S", "Bass", "2S", 2.0},
      // An empty name is a name like any other.
      {"''5s", "", "5", 5.0},
      // Tab and carriage return are ordinary characters, not blanks.
      {"'Al\tpha'\t5s", "Al\tpha", "\t5", 5.0},
      {"'Alpha' 5\rs", "Alpha", "5\r", 5.0},
      // A blank in front of the quote: the quote at index 1 closes an empty
      // name and the rest, with its quote, becomes a time that is no number.
      {" 'Alpha' 5s", "", "Alpha'5", std::nullopt},
      // No closing quote: everything but blanks is name, and the s with it.
      {"'Alpha 5s", "Alpha5s", "", std::nullopt},
      // Name at 1..77, quote at 78, the time's first digit at 79 is the last
      // character seen: "56" reads as 5.
      {"'" + n77 + "'56s", n77, "5", 5.0},
      // Name at 1..78 puts the closing quote at 79: no room for a time.
      {"'" + n78 + "' 5s", n78, "", std::nullopt},
      // Dropped blanks still take their place in the window.
      {std::string("'A").append(76, ' ') + "'56s", "A", "5", 5.0},
      {std::string("'A' ").append(76, ' ') + "5s", "A", "", std::nullopt},
  };
  for (const Example& e : examples) {
    ScannedEntry entry = scan_entry(e.text);
    EXPECT_EQ(entry.name, e.name) << e.text.substr(0, 90);
    EXPECT_EQ(entry.time_field, e.time_field) << e.text.substr(0, 90);
    EXPECT_EQ(convert_time(entry.time_field), e.value) << e.text.substr(0, 90);
  }
}

// Signs, trailing text and rounding come with the library scan; a field
// with nothing finite in it gives no value at all.
TEST(EntryParser, ConvertsOnlyFiniteNumbers) {
  EXPECT_EQ(convert_time("+.5x"), 0.5);
  EXPECT_EQ(convert_time("9007199254740993"), 9007199254740992.0);
  for (const char* field : {"", "-", ".", "abc", "nan", "-inf", "infinity", "1e400", "-1e400"})
    EXPECT_FALSE(convert_time(field).has_value()) << field;
}

TEST(EntryParser, ResultEntryRegistersEvenWhenTheTimeIsUnusable) {
  auto t = std::make_unique<Tables>();
  parse_result_entry(*t, "'Alpha' 12.3s", 1, nullptr);
  parse_result_entry(*t, "'Alpha' 4s", 2, nullptr);
  parse_result_entry(*t, "'Al pha' 7s", 2, nullptr);  // same program, later value wins
  EXPECT_EQ(t->program_count, 1);
  EXPECT_EQ(t->solve_time[1][2], 7.0);

  // Unusable times keep the cell, but the names still count as programs.
  parse_result_entry(*t, "'Alpha' 1e400s", 1, nullptr);
  parse_result_entry(*t, "'Beta' >", 1, nullptr);
  parse_result_entry(*t, " 'Gamma' 5s", 1, nullptr);
  EXPECT_EQ(t->solve_time[1][1], 12.3);
  EXPECT_EQ(t->program_name[2] + "," + t->program_name[3], "Beta,");
  EXPECT_EQ(t->solve_time[2][1], NOT_TESTED);
  EXPECT_EQ(t->solve_time[3][1], NOT_TESTED);
}

TEST(Registries, NamesAndFensAreNumberedOnFirstSightAndMatchedExactly) {
  auto t = std::make_unique<Tables>();
  std::FILE* console = testing::temporary_file();
  const std::pair<const char*, int> programs[] = {{"Alpha", 1}, {"Beta", 2}, {"Alpha", 1},
                                                  {"alpha", 3}, {"", 4},     {"", 4}};
  for (const auto& [name, number] : programs)
    EXPECT_EQ(find_or_add_program(*t, name, console), number) << name;
  EXPECT_EQ(t->program_name[3], "alpha");

  // Frozen: known names are still found, new ones are refused silently.
  t->frozen_program_count = t->program_count;
  EXPECT_EQ(find_or_add_program(*t, "Beta", console), 2);
  EXPECT_EQ(find_or_add_program(*t, "Gamma", console), -1);
  EXPECT_EQ(find_or_add_program(*t, "Gamma", console), -1);
  EXPECT_EQ(t->program_count, 4);
  EXPECT_EQ(testing::read_stream(console), "(1) Alpha\n(2) Beta\n(3) alpha\n(4) \n");
  std::fclose(console);

  const std::string fen = "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1";
  const std::pair<std::string, int> positions[] = {
      {fen, 1}, {"4k3/8/8/8/8/8/4P3/4K3 w - - 0 2", 2}, {fen + " ", 3}, {"", 4}, {fen, 1}, {"", 4}};
  for (const auto& [text, number] : positions)
    EXPECT_EQ(find_or_add_position(*t, text), number) << text;
  EXPECT_EQ(t->position_count, 4);
  EXPECT_EQ(t->position_fen[3], fen + " ");
}

}  // namespace
}  // namespace tarvolin
