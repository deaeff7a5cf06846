#include "solve/options.h"

#include <CLI/CLI.hpp>
#include <cmath>
#include <iostream>

namespace tarvolin::solve {

namespace {

bool parse_limit(const std::string& text, long long& ms) {
  if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) return false;
  char* end = nullptr;
  double seconds = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !(seconds > 0) || seconds > 1e6) return false;
  ms = std::llround(seconds * 1000.0);
  return ms >= 1;
}

bool parse_shard(const std::string& text, int& shard, int& shards) {
  std::size_t slash = text.find('/');
  if (slash == std::string::npos || slash == 0 || slash + 1 >= text.size() ||
      text.find_first_not_of("0123456789/") != std::string::npos || text.size() > 15)
    return false;
  shard = std::stoi(text.substr(0, slash));
  shards = std::stoi(text.substr(slash + 1));
  return shards >= 1 && shard >= 1 && shard <= shards;
}

const char* const HELP =
    R"(usage: tarvolin-solve --epd SUITE.epd --engine cmd=PATH [WORD...] [--engine ...]
                      --time SECONDS --out RESULT.pgn [--concurrency N] [--shard K/N] [--rerun]
                      [--label solution|id] [--hold SECONDS] [--summary-json FILE]
       tarvolin-solve --merge OUT.pgn IN.pgn... [--epd SUITE.epd]

Runs UCI or xboard engines over an EPD test suite and writes, or extends, the result file
that tarvolin rates: one game per position, one entry per engine ('Name' 1.234s or 'Name'
>LIMITs).

  --epd SUITE.epd       the test suite: four FEN fields (castling also as in Chess960) or
                        six with the move counters, then bm, am (SAN) and/or dm (mate in N),
                        id, hmvc, fmvn; checked whole before any engine starts
  --engine WORD...      one engine, given by the words up to the next option; repeat for
                        each engine:
                          proto=uci|xboard    the protocol it speaks (default: uci)
                          cmd=PATH            the program (searched on PATH); required
                          name=NAME           the name in the file (default: its own)
                          arg=ARG             an argument for the program; repeatable
                          option.NAME=VALUE   an option sent at start; repeatable; for
                                              xboard one the engine offers, and
                                              option.memory / option.cores as its memory
                                              (MB) and cores where it offers them
  --time SECONDS        the limit per position, decimals allowed (no default)
  --out RESULT.pgn      the result file; an existing one is extended, and an engine's
                        entry already there is not run again (no default)
  --concurrency N       engine processes running at once, each on its own position
                        (default: 1)
  --shard K/N           run only the suite's positions K, K+N, K+2N, ... (default: 1/1)
  --rerun               run engines again where the file has their entry (default: off)
  --label solution|id   the label of a position new to the file: its id (else Pos N) and
                        the solution as the suite writes it ('WAC.002 Rxb2', 'x am Qh5',
                        'x dm 3'), or the id alone (default: solution)
  --hold SECONDS        stop a search once its right first move (for a mate position, with
                        its mate) has held this long: the entry is the time that move
                        was found; an engine that would have changed its mind later is
                        counted as solved (default: off, every search runs to the limit)
  --summary-json FILE   also write the table and this run's entries per position as JSON
  --merge OUT IN...     merge result files into OUT, later files' entries winning; games
                        match on the four FEN fields; a file that is not a result file (not
                        text, or text without a game with a FEN tag) stops the merge before
                        anything is written; takes no other option but --epd SUITE.epd,
                        which puts the games in the suite's order (other positions after)
  -h, --help            print this help and exit

Exit codes: 0 all done; 1 some positions could not be run (an engine crashed, hung or was
given up) or the file could not be written; 2 bad usage, bad input, or OUT in use by another
run (nothing was run).
)";

int usage_error(const std::string& message) { return fail(message + " (see --help)", 2); }

}  // namespace

int fail(const std::string& message, int code) {
  std::cerr << "tarvolin-solve: " << message << "\n";
  return code;
}

int parse_options(int argc, char** argv, Options& options) {
  CLI::App app{"", "tarvolin-solve"};
  std::vector<std::vector<std::string>> engine_words;
  std::string shard_text;
  std::string hold_text;
  bool help = false;
  // The help text above says what each option means.
  app.set_help_flag();
  app.add_flag("-h,--help", help);
  app.add_option("--epd", options.epd);
  app.add_option("--engine", engine_words)->expected(1, -1);
  app.add_option("--time", options.time_text);
  app.add_option("--out", options.out);
  app.add_option("--concurrency", options.concurrency)->check(CLI::Range(1, 256));
  app.add_option("--shard", shard_text);
  app.add_flag("--rerun", options.rerun);
  std::string label = "solution";
  app.add_option("--label", label)->check(CLI::IsMember({"solution", "id"}));
  app.add_option("--hold", hold_text);
  app.add_option("--summary-json", options.summary_json);
  app.add_option("--merge", options.merge)->expected(2, -1);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return usage_error(error.what());
  }
  if (help) {
    std::cout << HELP;
    return 0;
  }
  if (!options.merge.empty()) {
    for (const char* other : {"--engine", "--time", "--out", "--concurrency", "--shard", "--rerun",
                              "--label", "--hold", "--summary-json"})
      if (app.count(other) > 0) return usage_error("--merge takes no other option but --epd");
    return -1;
  }
  options.label_solution = label == "solution";
  if (options.epd.empty() || engine_words.empty() || options.time_text.empty() ||
      options.out.empty())
    return usage_error("--epd, --engine, --time and --out are required");
  if (!parse_limit(options.time_text, options.time_ms))
    return usage_error("--time '" + options.time_text + "' is not a positive number of seconds");
  if (app.count("--hold") > 0 && !parse_limit(hold_text, options.hold_ms))
    return usage_error("--hold '" + hold_text + "' is not a positive number of seconds");
  if (!shard_text.empty() && !parse_shard(shard_text, options.shard, options.shards))
    return usage_error("--shard '" + shard_text + "' is not K/N with 1 <= K <= N");
  for (const std::vector<std::string>& words : engine_words) {
    EngineSetup setup;
    std::string why;
    if (!parse_engine_setup(words, setup, why)) return usage_error(why);
    options.engines.push_back(std::move(setup));
  }
  return -1;
}

}  // namespace tarvolin::solve
