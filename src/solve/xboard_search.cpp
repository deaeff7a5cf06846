// One search of an xboard engine. It plays the position under "st" (whole
// seconds, rounded up) and is told "?" (move now) when the limit passes,
// so that it searches as long as a UCI engine under "go movetime" and its
// own "move" stands for the UCI "bestmove". Analysis mode ("analyze", then
// "exit") would measure no better: it has no move of the engine's own, so
// the last PV would have to stand for one, and not every engine has it.
#include <chrono>

#include "chess/fen.h"
#include "solve/xboard_lines.h"
#include "solve/xboard_session.h"

namespace tarvolin::solve {

namespace {

// A line that ends the game instead of a move.
bool ends_game(const std::string& line) {
  for (const char* end : {"resign", "1-0", "0-1", "1/2-1/2"})
    if (line.rfind(end, 0) == 0) return true;
  return false;
}

}  // namespace

void XboardSession::send_position(const SuitePosition& position) {
  if (setboard_) {
    process_.send("setboard " + position.fen);
    return;
  }
  // Edit mode keeps the side to move, so a move from the start position
  // hands it to Black first. Castling rights follow from the kings and
  // rooks on their squares, and an en-passant square cannot be given.
  if (position.position.side == chess::black)
    process_.send(std::string(usermove_ ? "usermove " : "") + (san_ ? "a3" : "a2a3"));
  process_.send("edit");
  process_.send("#");
  for (chess::Color color : {chess::white, chess::black}) {
    if (color == chess::black) process_.send("c");
    for (int square = 0; square < 64; ++square) {
      char piece = position.position.board[static_cast<std::size_t>(square)];
      if (piece == chess::EMPTY || !chess::is_color(piece, color)) continue;
      std::string command = chess::square_name(square);
      command.insert(command.begin(), chess::kind_of(piece));
      process_.send(command);
    }
  }
  process_.send(".");
}

SearchOutcome XboardSession::search(const SuitePosition& position, long long limit_ms) {
  SearchOutcome outcome;
  SearchFollow follow(position, hold_ms_, watch_);
  std::optional<std::string> move;  // the text after "move"
  process_.send("new");
  if (position.chess960) process_.send("variant fischerandom");
  process_.send("force");
  send_position(position);
  process_.send("easy");
  process_.send("post");
  process_.send("st " + std::to_string((limit_ms + 999) / 1000));
  outcome.waited_for = "pong";
  EngineProcess::Read got = sync(Clock::now() + HANDSHAKE);
  if (got == EngineProcess::Read::line) {
    got = EngineProcess::Read::closed;
    outcome.waited_for = "move";
    if (process_.send("go")) {
      follow.start();
      Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limit_ms);
      int hurried = 0;  // "?" sent: at the limit (or the held answer), then after the grace
      std::string line;
      while (!move) {
        Clock::time_point wake = follow.wake(deadline);
        got = process_.read_line(line, wake);
        if (got == EngineProcess::Read::closed) break;
        std::optional<PvReport> pv;
        if (got == EngineProcess::Read::line)
          pv = read_thinking_line(line, position.position, follow.ms());
        bool settled = pv ? follow.add(pv) : wake < deadline && follow.settled_now();
        if (settled) {
          // As at the limit: "?", and the grace for the move.
          follow.stopped();
          process_.send("?");
          deadline = Clock::now() + GRACE;
          hurried = 1;
        }
        if (got == EngineProcess::Read::timeout) {
          if (wake < deadline) continue;
          if (hurried == 2) break;
          process_.send("?");
          deadline = Clock::now() + GRACE;
          ++hurried;
          continue;
        }
        if (pv) continue;
        if (line.rfind("move ", 0) == 0)
          move = line.substr(5);
        else if (ends_game(line))
          move = line;
      }
      // A move forced out by the second "?" is no answer in time.
      if (hurried == 2 && move) move.reset(), got = EngineProcess::Read::timeout;
    }
  }
  if (!move) {
    outcome.kind =
        got == EngineProcess::Read::closed ? SearchOutcome::crashed : SearchOutcome::hung;
    process_.kill();
    return outcome;
  }
  outcome.waited_for.clear();
  std::optional<std::string> played = to_coordinates(position.position, *move);
  if (!played) {
    outcome.kind = SearchOutcome::unsolved;
    outcome.warning = ends_game(*move) ? "answered '" + *move + "' instead of a move"
                                       : "played '" + *move + "', which is no legal move";
    return outcome;
  }
  std::optional<double> seconds = follow.seconds(*played, follow.ms());
  outcome.kind = seconds ? SearchOutcome::solved : SearchOutcome::unsolved;
  outcome.seconds = seconds.value_or(0);
  return outcome;
}

}  // namespace tarvolin::solve
