#include "solve/suite_file.h"

#include <filesystem>
#include <fstream>

namespace tarvolin::solve {

bool load_suite(const std::string& path, std::vector<SuitePosition>& suite, std::string& why) {
  std::ifstream epd(path, std::ios::binary);
  std::error_code error;
  if (!epd || std::filesystem::is_directory(path, error))
    return why = "cannot read the suite " + path, false;
  if (!read_suite(epd, suite, why)) return why = path + " " + why, false;
  if (suite.empty()) return why = path + " holds no position", false;
  return true;
}

}  // namespace tarvolin::solve
