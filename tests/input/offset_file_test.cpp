#include "input/offset_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "input/registries.h"
#include "matches/normalise_times.h"

namespace tarvolin {
namespace {

// Tables as they stand after a result file that introduced the given
// programs: registry frozen, no samples yet.
std::unique_ptr<Tables> known_programs(std::initializer_list<const char*> names) {
  auto t = std::make_unique<Tables>();
  std::FILE* echo = std::tmpfile();
  for (const char* name : names) find_or_add_program(*t, name, echo);
  std::fclose(echo);
  t->frozen_program_count = t->program_count;
  return t;
}

void read_offsets(Tables& t, const std::string& text) {
  std::FILE* file = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), file);
  std::rewind(file);
  auto source = std::make_unique<CharSource>(file);
  read_offset_source(t, *source);
  std::fclose(file);
}

const char* const THREE_GAMES =
    "[Event \"warm-up\"]\n"
    "[FEN \"8/8/8/8/8/8/8/K6k w - - 0 1\"]\n"
    "{'Alpha' 9s, 'Beta' 9s}\n*\n\n"
    "[Event \"two\"]\n"
    "[Annotator \"x\"]\n"
    "{'Alpha' 0.4s, 'Be\nta' 1.2s, 'Omega' 3s}\n*\n\n"  // wrapped inside a name
    "[Event \"three\"]\n"
    "{'Alpha' 0.6s}\n*\n";

TEST(OffsetFile, LaterGamesGiveEachKnownProgramItsMeanOffset) {
  auto t = known_programs({"Alpha", "Beta"});
  read_offsets(*t, THREE_GAMES);
  EXPECT_EQ(t->program_count, 2);  // Omega is not registered
  EXPECT_EQ(t->offset_sample_count[1], 2);
  EXPECT_EQ(t->offset_sample_count[2], 1);
  EXPECT_DOUBLE_EQ(t->time_offset[1], 1.0);
  EXPECT_DOUBLE_EQ(t->time_offset[2], 1.2);
  normalise_times(*t);
  EXPECT_DOUBLE_EQ(t->time_offset[1], 0.5);
  EXPECT_DOUBLE_EQ(t->time_offset[2], 1.2);

  // Windows line ends read the same, the one inside Beta's name included.
  std::string crlf;
  for (const char* c = THREE_GAMES; *c != '\0'; ++c) {
    if (*c == '\n') crlf += '\r';
    crlf += *c;
  }
  auto w = known_programs({"Alpha", "Beta"});
  read_offsets(*w, crlf);
  EXPECT_EQ(w->offset_sample_count[1], 2);
  EXPECT_EQ(w->offset_sample_count[2], 1);
  EXPECT_DOUBLE_EQ(w->time_offset[1], 1.0);
  EXPECT_DOUBLE_EQ(w->time_offset[2], 1.2);
}

TEST(OffsetFile, OnlyTheFirstCommentOfLaterGamesCounts) {
  for (const char* text :
       {"[Event \"a\"]\n{'Alpha' 4s, 'Beta' 2s}\n",  // one game only: the warm-up, ignored
                                                     // No "Event " tag at all: nothing is ever past
                                                     // the first game.
        "{'Alpha' 4s}\n{'Alpha' 5s}\n[Site \"x\"]\n{'Beta' 6s}\n"}) {
    auto none = known_programs({"Alpha", "Beta"});
    read_offsets(*none, text);
    EXPECT_EQ(none->offset_sample_count[1], 0) << text;
    EXPECT_EQ(none->offset_sample_count[2], 0) << text;
    EXPECT_EQ(none->time_offset[1], 0.0) << text;
  }

  // Second game: its second comment is skipped; a program named twice in
  // the first one gives two samples; a failure adds its negative limit.
  auto t = known_programs({"Alpha", "Beta"});
  read_offsets(*t,
               "[Event \"a\"]\n{'Alpha' 100s}\n"
               "[Event \"b\"]\n{'Alpha' 2s, 'Beta' 1s, 'Beta' 3s, 'Gamma' 7s} 1. e4 {'Alpha' 50s}\n"
               "[Event \"c\"]\n{'Beta' >2s}\n");
  EXPECT_EQ(t->offset_sample_count[1], 1);
  EXPECT_DOUBLE_EQ(t->time_offset[1], 2.0);
  EXPECT_EQ(t->offset_sample_count[2], 3);
  EXPECT_DOUBLE_EQ(t->time_offset[2], 2.0);  // 1 + 3 - 2
  EXPECT_EQ(t->program_count, 2);
}

}  // namespace
}  // namespace tarvolin
