// Hostile input and faults through the real binary: every case checks the
// whole console transcript, the exit code and which reports are left behind.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "support/scratch.h"

namespace tarvolin::testing {
namespace {

namespace fs = std::filesystem;

const std::string BANNER =
    "Tarvolin, Version 1.0.4\nRating chess programs by their solution times\n"
    "---------------------------------\n";

// The console up to the first line of the result file's reading.
std::string prologue(const std::string& file) {
  return BANNER + "\nName of pgn-file = \nStart Elo = \nReading " + file + "...\n";
}

// Exactly the reports named exist afterwards, none of the others.
void expect_reports(const ScratchDir& dir, const std::set<std::string>& present) {
  for (const char* report : REPORT_NAMES)
    EXPECT_EQ(dir.exists(report), present.count(report) == 1) << report;
}

const std::set<std::string> ALL_REPORTS(std::begin(REPORT_NAMES), std::end(REPORT_NAMES));

// Two programs on one position: one match, one cluster of two, which settles
// in the second iteration.
const std::string TWO_PROGRAMS = "[Event \"e\"]\n[FEN \"F1\"]\n{'A' 10s, 'B' 20s} *\n";

// The transcript of TWO_PROGRAMS read from t.pgn; `failed` is the report that
// cannot be written, if any, announced where the run opens it.
std::string two_programs_transcript(const std::string& failed = "") {
  auto cannot = [&](const char* report) {
    return failed == report ? "\nCannot write '" + failed + "'\n" : std::string();
  };
  return prologue("t.pgn") +
         "(1) A\n(2) B\n2 programs\n1 positions\n\nCannot find 'Offset.pgn'\n1 matches\n" +
         cannot("general.dat") + "Analysing database structure... \n1 cluster(s)\n" +
         cannot("cluster.dat") + "Calculating ELO ratings... 2 iterations\n" +
         cannot("rating.dat") + cannot("programs.dat") + cannot("positions.dat") +
         "CPU time = 0 sec\n\nReady!";
}

// A result file that is a directory, and no answer at all on a closed input.
TEST(HostileBinary, ResultFileThatCannotBeOpened) {
  for (bool closed : {false, true}) {
    ScratchDir dir;
    fs::create_directory("x.pgn");
    RunResult result = run_binary(closed ? "" : "x\n2600\n\n", closed);
    EXPECT_EQ(result.console, BANNER + "\nName of pgn-file = \nFAILURE - Unable to open " +
                                  (closed ? ".pgn" : "x.pgn") + "\n");
    EXPECT_EQ(result.exit_code, 1);
    expect_reports(dir, {});
  }
}

TEST(HostileBinary, RegistryAndClusterLimits) {
  {
    ScratchDir dir;
    std::string pgn = "[Event \"e\"]\n[FEN \"F1\"]\n{";
    std::string echo;
    for (int p = 1; p <= 1001; ++p) {
      pgn += "'P" + std::to_string(p) + "' 1s, ";
      if (p <= 1000)
        echo.append("(").append(std::to_string(p)).append(") P").append(std::to_string(p)) += '\n';
    }
    dir.write("t.pgn", pgn + "}\n");
    RunResult result = run_binary("t\n2600\n\n");
    EXPECT_EQ(result.console, prologue("t.pgn") + echo + "More than 1000 programs !\n");
    EXPECT_EQ(result.exit_code, 1);
    expect_reports(dir, {});
  }
  {
    ScratchDir dir;
    std::string pgn;
    for (int q = 1; q <= 2001; ++q) pgn += "[Event \"e\"]\n[FEN \"F" + std::to_string(q) + "\"]\n";
    dir.write("t.pgn", pgn);
    RunResult result = run_binary("t\n2600\n\n");
    EXPECT_EQ(result.console, prologue("t.pgn") + "Mehr als 2000 Stellungen !\n");
    EXPECT_EQ(result.exit_code, 1);
    expect_reports(dir, {});
  }
  // Programs 2i-1 and 2i meet only each other, on position i: a hundred
  // such clusters run through, each settling after one step; one more stops
  // the run after the general report.
  for (int pairs : {100, 101}) {
    ScratchDir dir;
    std::string pgn, echo;
    for (int i = 1; i <= pairs; ++i) {
      std::string a = std::to_string(2 * i - 1), b = std::to_string(2 * i);
      pgn += "[Event \"e\"]\n[FEN \"F" + std::to_string(i) + "\"]\n{'P" + a + "' 1s, 'P" + b +
             "' 2s}\n";
      echo += "(" + a + ") P" + a + "\n(" + b + ") P" + b + "\n";
    }
    dir.write("t.pgn", pgn);
    RunResult result = run_binary("t\n2600\n\n");
    const std::string n = std::to_string(pairs);
    EXPECT_EQ(without_timing(result.console),
              prologue("t.pgn") + echo + std::to_string(2 * pairs) + " programs\n" + n +
                  " positions\n\nCannot find 'Offset.pgn'\n" + n +
                  " matches\nAnalysing database structure... \n" +
                  (pairs == 100 ? "100 cluster(s)\nCalculating ELO ratings... 2 iterations\n"
                                  "CPU time = 0 sec\n\nReady!"
                                : "Mehr als 100 Cluster !\n"));
    EXPECT_EQ(result.exit_code, pairs == 100 ? 0 : 1);
    if (pairs == 100)
      expect_reports(dir, ALL_REPORTS);
    else
      expect_reports(dir, {"general.dat"});
  }
}

// Peak resident memory of the largest child waited for so far, in kB.
long children_peak_kb() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return usage.ru_maxrss;
}

// A forked child starts with its parent's peak, so the test's own peak has
// to be forgotten before each run it measures.
bool forget_own_peak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return clear.good();
}

TEST(HostileBinary, HundredMegabyteCommentStreamsThrough) {
  ScratchDir dir;
  dir.write("t.pgn", TWO_PROGRAMS);
  const bool peak_measurable = forget_own_peak();
  ASSERT_EQ(without_timing(run_binary("t\n2600\n\n").console), two_programs_transcript());
  const long ordinary_peak = children_peak_kb();
  for (const char* report : REPORT_NAMES) fs::remove(report);

  // One comment of 100 MB: a separator of 50 MB full of tag and comment
  // openers, then an entry of 50 MB whose name is cut at the entry window.
  // Written a megabyte at a time: a test holding the file in memory would
  // hand its own size to the child it forks.
  {
    std::ofstream file("t.pgn", std::ios::binary);
    file << "[Event \"e\"]\n[FEN \"F1\"]\n{'A' 5s, 'B' 7s,";
    std::string separator;
    while (separator.size() < 1'000'000) separator += " [Event \"x\"] {y [FEN \"z\"]\n";
    const std::string name(1'000'000, 'x');
    for (int i = 0; i < 50; ++i) file << separator;
    file << "'C";
    for (int i = 0; i < 50; ++i) file << name;
    file << "} *\n";
  }

  forget_own_peak();
  auto start = std::chrono::steady_clock::now();
  RunResult result = run_binary("t\n2600\n\n");
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  EXPECT_EQ(without_timing(result.console),
            prologue("t.pgn") + "(1) A\n(2) B\n(3) C" + std::string(78, 'x') +
                "\n3 programs\n1 positions\n\nCannot find 'Offset.pgn'\n1 matches\n"
                "Analysing database structure... \n1 cluster(s)\n"
                "Calculating ELO ratings... 2 iterations\nCPU time = 0 sec\n\nReady!");
  EXPECT_EQ(result.exit_code, 0);
  expect_reports(dir, ALL_REPORTS);
  // Streamed, not held: far less than the file's size on top of an ordinary
  // run, and linear time: a sanitizer build needs some 20 s, a quadratic reader hours.
  if (peak_measurable) {
    EXPECT_LT(children_peak_kb(), ordinary_peak + 30'000);
  }
  EXPECT_LT(seconds, 120.0);
}

TEST(HostileBinary, ReportNameTakenByADirectoryOrADanglingLink) {
  std::string intact[5];
  {
    // Standard input ending before the closing key ends the wait as well.
    ScratchDir dir;
    dir.write("t.pgn", TWO_PROGRAMS);
    RunResult result = run_binary("t\n2500");
    ASSERT_EQ(without_timing(result.console), two_programs_transcript());
    ASSERT_EQ(result.exit_code, 0);
    for (int i = 0; i < 5; ++i) intact[i] = dir.read(REPORT_NAMES[i]);
    EXPECT_NE(intact[0].find("\nStart Elo :   2500\n"), std::string::npos);
  }
  // Every report blocked by a directory, and one by a link into nowhere: the
  // others are written exactly as in an unhindered run.
  const std::pair<int, bool> cases[] = {{0, false}, {1, false}, {2, false},
                                        {3, false}, {4, false}, {0, true}};
  for (const auto& [blocked, as_link] : cases) {
    ScratchDir dir;
    dir.write("t.pgn", TWO_PROGRAMS);
    if (as_link)
      fs::create_symlink(std::string("no-such-folder/") + REPORT_NAMES[blocked],
                         REPORT_NAMES[blocked]);
    else
      fs::create_directory(REPORT_NAMES[blocked]);
    RunResult result = run_binary("t\n2500");
    SCOPED_TRACE(std::string(REPORT_NAMES[blocked]) + (as_link ? " as a link" : " as a directory"));
    EXPECT_EQ(without_timing(result.console), two_programs_transcript(REPORT_NAMES[blocked]));
    EXPECT_EQ(result.exit_code, 1);
    for (int i = 0; i < 5; ++i) {
      if (i != blocked) {
        EXPECT_EQ(dir.read(REPORT_NAMES[i]), intact[i]) << REPORT_NAMES[i];
      }
    }
    EXPECT_EQ(fs::is_directory(fs::symlink_status(REPORT_NAMES[blocked])), !as_link);
    EXPECT_FALSE(fs::exists("no-such-folder"));
  }
}

// 1e308 and (1e308 + 1 + 1) / 3 as "%.0f" prints them, from python3's '%.0f'.
const std::string HUGE_TIME =
    "1000000000000000010979063629440455417404923096773118463368106829031575"
    "8540491149153716332897849468889906124966972117251561159028374314008832"
    "8307009198146046031271664502933027185697489699588559043338384466165001"
    "1784268976262129451776280911957867074581227839701717844151052918028932"
    "07873272974885715430223118336";
const std::string HUGE_MEAN =
    "3333333333333333203610186303574867086652017569507181038939417727150457"
    "7216181128481377866435361508145555445312710639930751824391087300659465"
    "7373460713872980611140562636181587952277691072914559164980269517525110"
    "7393116858828437839810035501932817716196688193301722467377916317856793"
    "9256389026215879856732766208";

TEST(HostileBinary, TimesWrittenAsNanInfHugeAndNegativeZero) {
  ScratchDir dir;
  // nan and inf store nothing, so A and B are registered but never tested.
  // 1e308 is a solution; -0 and >0 both read as -0.0, which the sign test
  // counts as solved at once, floored to 1.0 s.
  dir.write("t.pgn",
            "[Event \"e\"]\n[Annotator \"odd\"]\n[FEN \"F1\"]\n"
            "{'A' nans, 'B' infs, 'C' 1e308s, 'D' -0s, 'E' >0s} *\n");
  RunResult result = run_binary("t\n2600\n\n");
  // D and E draw each other and take all points from C: score rates 0, 0.75,
  // 0.75, itoffset (2 * -800 + 4 * 400 * log10(3)) / 6; a python model of the
  // iteration settles in its 11th pass.
  EXPECT_EQ(without_timing(result.console),
            prologue("t.pgn") +
                "(1) A\n(2) B\n(3) C\n(4) D\n(5) E\n5 programs\n1 positions\n\n"
                "Cannot find 'Offset.pgn'\n3 matches\nAnalysing database structure... \n"
                "1 cluster(s)\nCalculating ELO ratings... 11 iterations\nCPU time = 0 sec\n"
                "\nReady!");
  EXPECT_EQ(result.exit_code, 0);
  expect_reports(dir, ALL_REPORTS);

  // In the expected texts @ stands for the huge mean, # for the huge time
  // and ~ for the 39 blanks after a name.
  auto expand = [](std::string text) {
    for (auto [mark, value] : {std::pair<char, std::string>{'@', HUGE_MEAN},
                               {'#', HUGE_TIME},
                               {'~', std::string(39, ' ')}})
      for (std::size_t at; (at = text.find(mark)) != std::string::npos;) text.replace(at, 1, value);
    return text;
  };
  EXPECT_EQ(
      dir.read("general.dat"),
      expand("\nDatabase  :   t.pgn\nPrograms  :      5\nPositions :      1 (tested:   1)\n\n"
             "MST1      :   @.0 s (solved positions only)\n"
             "MST2      :   @.0 s (including unsolved positions)\n"
             "iMST      :   @.0 s (estimated values for unsolved positions)\n\nMatches\n\n"
             "invalid   :      0/3 ->   0.00 %\nevaluated :      3/3 -> 100.00 %\namong them\n"
             "complete  :      3/3 -> 100.00 %\nuncomplete:      0/3 ->   0.00 %\n"
             "\nStart Elo :   2600\n"));
  EXPECT_EQ(dir.read("cluster.dat"),
            expand("Cluster No. 1:\n\nC~ (2)\nD~ (2)\nE~ (2)\n\n3 programs, 3 matches\n"
                   "\nitoffset = -139.434332\n\n\n"));
  // Ratings 2620.1885 for D and E and 1959.6230 for C (mean 2400 weighted by
  // matches); D's margin is 800 - 400 * log10(3) from a standard error of
  // 0.25; C ranks itself against three solvers and is slowest.
  std::string rating = dir.read("rating.dat");
  EXPECT_NE(rating.find(expand(
                "  1 D~ : 2820  609      2    75.0 %   2629     1/  1    1.0s    1.0s   1.00\n"
                "  2 E~ : 2820  609      2    75.0 %   2629     1/  1    1.0s    1.0s   1.00\n"
                "  3 C~ : 2160    0      2     0.0 %   2960     1/  1  #.0s  #.0s   0.33\n")),
            std::string::npos)
      << rating;
  EXPECT_EQ(rating.find(" A "), std::string::npos);
  EXPECT_EQ(rating.find(" B "), std::string::npos);
  const std::string positions = dir.read("positions.dat");
  EXPECT_EQ(positions.substr(positions.find("\n\n\nPosition")),
            expand("\n\n\nPosition   1: odd\nFEN: F1" + std::string(78, ' ') +
                   "\nSolved by 3 of 3 programs\nMST1: @.0 s\nMST2: @.0 s\niMST: @.0 s\n"
                   "Degree of difficulty (based on MST2): 2600.0 (+0.0) Elo\n\n"
                   "D~: <   1.00 s\nE~: <   1.00 s\nC~:  #.00 s"));
}

}  // namespace
}  // namespace tarvolin::testing
