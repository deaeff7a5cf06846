#include "solve/atomic_file.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/files.h"

namespace tarvolin::solve {

bool replace_file(const std::string& path, const std::string& text, std::string& why) {
  std::string temporary = path + ".tmp." + std::to_string(platform::process_id());
  bool opened = false;
  std::string reason;
  if (platform::write_flushed(temporary, text, opened, reason) &&
      platform::rename_over(temporary, path, reason))
    return true;
  if (!opened) return why = "cannot write " + temporary + ": " + reason, false;
  platform::remove_file(temporary);
  return why = "cannot write " + path + ": " + reason, false;
}

std::optional<std::string> read_file(const std::string& path, std::string& why) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  if (in) text << in.rdbuf();
  if (!in || std::filesystem::is_directory(path, error)) {
    why = "cannot read " + path;
    return std::nullopt;
  }
  return text.str();
}

}  // namespace tarvolin::solve
