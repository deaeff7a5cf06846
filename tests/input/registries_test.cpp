#include "input/registries.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/scratch.h"

namespace tarvolin {
namespace {

TEST(Registries, NamesAndFensAreNumberedOnFirstSightAndMatchedExactly) {
  auto t = std::make_unique<Tables>();
  std::FILE* console = std::tmpfile();
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
