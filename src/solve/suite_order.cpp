#include "solve/suite_order.h"

#include <algorithm>
#include <map>

#include "solve/position_key.h"
#include "solve/result_scan.h"

namespace tarvolin::solve {

namespace {

bool is_layout(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

struct Block {
  std::size_t begin, rank;
};

// Where each block of games starts, and the place its position takes.
std::vector<Block> blocks_of(const std::string& text, const std::vector<std::string>& fens) {
  std::map<std::string, std::size_t> rank;
  for (std::size_t i = 0; i < fens.size(); ++i) rank.emplace(position_key(fens[i]), i);
  std::vector<Block> blocks;
  for (const ScannedGame& game : scan_result_text(text)) {
    if (!game.stands_alone || text.compare(game.begin, 7, "[Event ") != 0) continue;
    auto found = rank.find(position_key(game.fen));
    blocks.push_back({game.begin, found != rank.end() ? found->second : fens.size()});
  }
  return blocks;
}

}  // namespace

std::string in_suite_order(std::string text, const std::vector<std::string>& fens) {
  std::vector<Block> blocks = blocks_of(text, fens);
  std::vector<std::size_t> order(blocks.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return blocks[a].rank < blocks[b].rank; });
  if (std::is_sorted(order.begin(), order.end())) return text;
  std::string closer;
  scan_result_text(text, &closer);
  text += closer;  // or the game cut off would take in the one moved after it

  // Each block without the layout that ends it, which stays in its place.
  std::vector<std::string_view> bodies, layouts;
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    std::size_t end = i + 1 < blocks.size() ? blocks[i + 1].begin : text.size();
    std::size_t last = end;
    while (last > blocks[i].begin && is_layout(text[last - 1])) --last;
    bodies.push_back(std::string_view(text).substr(blocks[i].begin, last - blocks[i].begin));
    layouts.push_back(std::string_view(text).substr(last, end - last));
  }
  std::string sorted = text.substr(0, blocks.front().begin);
  for (std::size_t i = 0; i < blocks.size(); ++i)
    sorted.append(bodies[order[i]]).append(layouts[i]);
  return sorted;
}

}  // namespace tarvolin::solve
