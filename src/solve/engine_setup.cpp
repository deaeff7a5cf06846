#include "solve/engine_setup.h"

namespace tarvolin::solve {

std::vector<std::string> EngineSetup::argv() const {
  std::vector<std::string> out{command};
  out.insert(out.end(), args.begin(), args.end());
  return out;
}

bool parse_engine_setup(const std::vector<std::string>& words, EngineSetup& setup,
                        std::string& why) {
  for (const std::string& word : words) {
    std::size_t equals = word.find('=');
    std::string key = word.substr(0, equals);
    std::string value = equals == std::string::npos ? "" : word.substr(equals + 1);
    if (equals == std::string::npos) {
      return why = "'" + word + "' is not KEY=VALUE", false;
    } else if (key == "proto") {
      if (value != "uci" && value != "xboard")
        return why = "proto=" + value + " is neither uci nor xboard", false;
      setup.protocol = value == "uci" ? EngineSetup::Protocol::uci : EngineSetup::Protocol::xboard;
    } else if (key == "cmd") {
      setup.command = value;
    } else if (key == "name") {
      setup.name = value;
    } else if (key == "arg") {
      setup.args.push_back(value);
    } else if (key.rfind("option.", 0) == 0 && key.size() > 7) {
      setup.options.emplace_back(key.substr(7), value);
    } else {
      return why = "unknown engine setting '" + key + "'", false;
    }
  }
  if (setup.command.empty()) return why = "an --engine without cmd=", false;
  return true;
}

std::string name_key(const std::string& name) {
  std::string key;
  for (char c : name)
    if (c != ' ' && c != '\n') key += c;
  return key;
}

bool check_engine_name(const std::string& name, std::size_t time_width, std::string& why) {
  if (name.find_first_of(",'}") != std::string::npos)
    return why = "the engine name '" + name + "' contains a comma, a quote or '}'", false;
  if (name_key(name).empty()) return why = "an empty engine name", false;
  // The reader looks at 79 characters after the opening quote: the name, its
  // closing quote, a blank and the time must fit.
  if (name.size() + 2 + time_width > 79)
    return why = "the engine name '" + name + "' is too long for the result file", false;
  for (char c : name)
    if (static_cast<unsigned char>(c) < 32)
      return why = "the engine name '" + name + "' contains a control character", false;
  return true;
}

}  // namespace tarvolin::solve
