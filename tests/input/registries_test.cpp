#include "input/registries.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace tarvolin {
namespace {

// Everything written to a temporary console so far.
std::string console_text(std::FILE* console) {
  std::string text;
  std::rewind(console);
  int c;
  while ((c = std::fgetc(console)) != EOF) text.push_back(static_cast<char>(c));
  return text;
}

TEST(Registries, ProgramsAreNumberedAndEchoedOnFirstSight) {
  auto t = std::make_unique<Tables>();
  std::FILE* console = std::tmpfile();
  EXPECT_EQ(find_or_add_program(*t, "Alpha", console), 1);
  EXPECT_EQ(find_or_add_program(*t, "Beta", console), 2);
  EXPECT_EQ(find_or_add_program(*t, "Alpha", console), 1);
  EXPECT_EQ(find_or_add_program(*t, "alpha", console), 3);  // case counts
  EXPECT_EQ(find_or_add_program(*t, "", console), 4);       // so does the empty name
  EXPECT_EQ(find_or_add_program(*t, "", console), 4);
  EXPECT_EQ(console_text(console), "(1) Alpha\n(2) Beta\n(3) alpha\n(4) \n");
  EXPECT_EQ(t->program_name[3], "alpha");

  // Frozen: known names are still found, new ones are refused silently.
  t->frozen_program_count = t->program_count;
  EXPECT_EQ(find_or_add_program(*t, "Beta", console), 2);
  EXPECT_EQ(find_or_add_program(*t, "Gamma", console), -1);
  EXPECT_EQ(find_or_add_program(*t, "Gamma", console), -1);
  EXPECT_EQ(t->program_count, 4);
  EXPECT_EQ(console_text(console), "(1) Alpha\n(2) Beta\n(3) alpha\n(4) \n");
  std::fclose(console);
}

TEST(Registries, PositionsAreTheirFenExactly) {
  auto t = std::make_unique<Tables>();
  const std::string fen = "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1";
  EXPECT_EQ(find_or_add_position(*t, fen), 1);
  EXPECT_EQ(find_or_add_position(*t, "4k3/8/8/8/8/8/4P3/4K3 w - - 0 2"), 2);
  EXPECT_EQ(find_or_add_position(*t, fen + " "), 3);
  EXPECT_EQ(find_or_add_position(*t, ""), 4);
  EXPECT_EQ(find_or_add_position(*t, fen), 1);
  EXPECT_EQ(find_or_add_position(*t, ""), 4);
  EXPECT_EQ(t->position_count, 4);
  EXPECT_EQ(t->position_fen[3], fen + " ");
}

TEST(Registries, ThousandProgramsFitAndAFullFrozenRegistryOnlyRefuses) {
  auto t = std::make_unique<Tables>();
  for (int i = 1; i <= 1000; ++i)
    ASSERT_EQ(find_or_add_program(*t, std::string("P").append(std::to_string(i)), nullptr), i);
  EXPECT_EQ(find_or_add_program(*t, "P1000", nullptr), 1000);
  EXPECT_EQ(find_or_add_program(*t, "P1", nullptr), 1);
  // (The 1001st stops the run, checked through the binary.) Once frozen, an
  // unknown name is only refused, even with a full registry.
  t->frozen_program_count = 1000;
  EXPECT_EQ(find_or_add_program(*t, "P1002", nullptr), -1);
}

}  // namespace
}  // namespace tarvolin
