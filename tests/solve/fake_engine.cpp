// A scripted UCI engine for the tests; its one argument is a script file of
// lines "name NAME" (its id name), "no-uciok" (never answers uci), "gone-if
// PATH" (ends at uci or xboard, unanswered, once PATH exists), "hang-ready
// FEN" (answers nothing more once given a FEN starting with FEN), "log PATH"
// (appends every line it receives to PATH), "args PATH" (writes the
// arguments after the script's to PATH, one a line), "hold PATH" (keeps
// PATH open while it runs, which on Windows keeps others from replacing
// it), "option ..." (said as it stands after its name at uci) and "position
// FEN": the lines up to the next "position" are its search on every FEN
// that starts with FEN.
// A search prints its lines as they stand, but for "sleep MS", "wait-stop"
// (reads input until "stop" or "?"), "crash-once PATH" (crashes unless PATH
// exists, which it creates) and "hang" (answers nothing more, "stop"
// included). A position without a search answers "bestmove 0000" at once.
// Told "xboard" first, it speaks that protocol: "protover" runs the search
// of "position protover" (its features), "ping N" is answered, and "go"
// searches the FEN of "setboard", or the side ("b" after "a2a3") and the
// commands of "edit" up to ".", joined by blanks.
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

struct Script {
  std::string name = "Fake";
  bool uciok = true;
  std::string log, gone_if, hang_ready, args, hold;
  std::vector<std::string> options;
  std::vector<std::pair<std::string, std::vector<std::string>>> searches;
};

Script load(const char* path) {
  Script script;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("name ", 0) == 0)
      script.name = line.substr(5);
    else if (line == "no-uciok")
      script.uciok = false;
    else if (line.rfind("gone-if ", 0) == 0)
      script.gone_if = line.substr(8);
    else if (line.rfind("hang-ready ", 0) == 0)
      script.hang_ready = line.substr(11);
    else if (line.rfind("log ", 0) == 0)
      script.log = line.substr(4);
    else if (line.rfind("args ", 0) == 0)
      script.args = line.substr(5);
    else if (line.rfind("hold ", 0) == 0)
      script.hold = line.substr(5);
    else if (line.rfind("option ", 0) == 0)
      script.options.push_back(line);
    else if (line.rfind("position ", 0) == 0)
      script.searches.push_back({line.substr(9), {}});
    else if (!line.empty() && line[0] != '#' && !script.searches.empty())
      script.searches.back().second.push_back(line);
  }
  return script;
}

void say(const std::string& line) { std::cout << line << std::endl; }

void search(const Script& script, const std::string& fen, const char* otherwise) {
  for (const auto& [prefix, steps] : script.searches) {
    if (fen.rfind(prefix, 0) != 0) continue;
    for (const std::string& step : steps) {
      if (step.rfind("sleep ", 0) == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(step.c_str() + 6)));
      } else if (step == "wait-stop") {
        std::string line;
        while (std::getline(std::cin, line)) {
          if (!script.log.empty()) std::ofstream(script.log, std::ios::app) << line << "\n";
          if (line == "stop" || line == "?") break;
        }
      } else if (step.rfind("crash-once ", 0) == 0) {
        if (std::ifstream(step.substr(11))) continue;  // it crashed before
        std::ofstream(step.substr(11)) << "crashed\n";
        std::_Exit(3);
      } else if (step == "hang") {
        for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
      } else {
        say(step);
      }
    }
    return;
  }
  if (*otherwise) say(otherwise);
}

// The xboard conversation, after its first line.
int xboard(const Script& script) {
  std::string line, fen;
  bool black = false;
  while (std::getline(std::cin, line)) {
    if (!script.log.empty()) std::ofstream(script.log, std::ios::app) << line << "\n";
    if (line.rfind("protover", 0) == 0) search(script, "protover", "");
    if (line.rfind("ping ", 0) == 0) say("pong " + line.substr(5));
    if (line == "new" || line == "a2a3") black = line == "a2a3";
    if (line.rfind("setboard ", 0) == 0) fen = line.substr(9);
    if (line == "edit")  // its position: the side, then the edit commands
      for (fen.assign(1, black ? 'b' : 'w'); std::getline(std::cin, line) && line != ".";)
        fen += " " + line;
    if (line == "go") search(script, fen, "move 0000");
    if (line == "quit") return 0;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  Script script = load(argv[1]);
  if (!script.args.empty()) {
    std::ofstream args(script.args);
    for (int k = 2; k < argc; ++k) args << argv[k] << "\n";
  }
  std::ifstream held;
  if (!script.hold.empty()) held.open(script.hold);
  std::string line, fen;
  while (std::getline(std::cin, line)) {
    if (!script.log.empty()) std::ofstream(script.log, std::ios::app) << line << "\n";
    if (line == "xboard") {
      if (!script.gone_if.empty() && std::ifstream(script.gone_if)) return 3;
      return xboard(script);
    } else if (line == "uci") {
      if (!script.gone_if.empty() && std::ifstream(script.gone_if)) return 3;
      say("id name " + script.name);
      for (const std::string& option : script.options) say(option);
      if (script.uciok) say("uciok");
    } else if (line == "isready") {
      say("readyok");
    } else if (line.rfind("position fen ", 0) == 0) {
      fen = line.substr(13);
      while (!script.hang_ready.empty() && fen.rfind(script.hang_ready, 0) == 0)
        std::this_thread::sleep_for(std::chrono::seconds(1));
    } else if (line.rfind("go", 0) == 0) {
      search(script, fen, "bestmove 0000");
    } else if (line == "quit") {
      return 0;
    }
  }
  return 0;
}
