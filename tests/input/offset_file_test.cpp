#include "input/offset_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "input/registries.h"
#include "matches/normalise_times.h"
#include "support/scratch.h"

namespace tarvolin {
namespace {

// Tables after a result file that introduced Alpha and Beta (registry
// frozen), with the text read as their offset file.
std::unique_ptr<Tables> offsets_read(const std::string& text) {
  auto t = std::make_unique<Tables>();
  find_or_add_program(*t, "Alpha", nullptr);
  find_or_add_program(*t, "Beta", nullptr);
  t->frozen_program_count = t->program_count;
  std::FILE* file = testing::file_with(text);
  {
    CharSource source(file);
    read_offset_source(*t, source);
  }
  std::fclose(file);
  return t;
}

struct Row {
  const char* what;
  std::string text;
  int alpha_samples, beta_samples;
  double alpha_sum, beta_sum;
};

TEST(OffsetFile, LaterGamesGiveSamplesToKnownProgramsOnly) {
  const std::string three_games =
      "[Event \"warm-up\"]\n[FEN \"8/8/8/8/8/8/8/K6k w - - 0 1\"]\n{'Alpha' 9s, 'Beta' 9s}\n*\n\n"
      "[Event \"two\"]\n[Annotator \"x\"]\n{'Alpha' 0.4s, 'Be\nta' 1.2s, 'Omega' 3s}\n*\n\n"
      "[Event \"three\"]\n{'Alpha' 0.6s}\n*\n";
  std::string crlf;
  for (char c : three_games) crlf += c == '\n' ? "\r\n" : std::string(1, c);
  const Row rows[] = {
      // Omega is unknown; Beta's name is wrapped inside.
      {"three games", three_games, 2, 1, 1.0, 1.2},
      {"three games, CR LF", crlf, 2, 1, 1.0, 1.2},
      {"indented comment after a remark",
       "[Event \"a\"]\n{'Alpha' 9s}\n[Event \"b\"]\n{\n  machine two\n}\n{\r\n 'Alpha' 2s, 'Beta' "
       "4s}\n",
       1, 1, 2.0, 4.0},
      {"one game only: the warm-up", "[Event \"a\"]\n{'Alpha' 4s, 'Beta' 2s}\n", 0, 0, 0.0, 0.0},
      {"no Event tag: never past the first game",
       "{'Alpha' 4s}\n{'Alpha' 5s}\n[Site \"x\"]\n{'Beta' 6s}\n", 0, 0, 0.0, 0.0},
      // A second comment is skipped, blanks leave a name, a program named
      // twice gives two samples, a failure adds its negative limit, an
      // unparsable time or a name in another case gives none.
      {"first comment of each later game",
       "[Event \"a\"]\n{'Alpha' 100s}\n[Event \"b\"]\n{'Al pha' 2s, 'Beta' 1s, 'Beta' 3s, 'Gamma' "
       "7s, 'alpha' 9s, 'Alpha' x} 1. e4 {'Alpha' 50s}\n[Event \"c\"]\n{'Beta' >2s}\n",
       1, 3, 2.0, 2.0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    auto t = offsets_read(row.text);
    EXPECT_EQ(t->program_count, 2);
    EXPECT_EQ(t->offset_sample_count[1], row.alpha_samples);
    EXPECT_EQ(t->offset_sample_count[2], row.beta_samples);
    EXPECT_DOUBLE_EQ(t->time_offset[1], row.alpha_sum);
    EXPECT_DOUBLE_EQ(t->time_offset[2], row.beta_sum);
  }
  // The sums become means once the times are normalised.
  auto t = offsets_read(three_games);
  normalise_times(*t);
  EXPECT_DOUBLE_EQ(t->time_offset[1], 0.5);
  EXPECT_DOUBLE_EQ(t->time_offset[2], 1.2);
}

}  // namespace
}  // namespace tarvolin
