#include "run/dialogue.h"

#include "core/version.h"
#include "platform/streams.h"

namespace tarvolin {

void print_banner(std::FILE* out) {
  std::fprintf(out, "Tarvolin, Version %s\n", VERSION);
  std::fprintf(out, "Rating chess programs by their solution times\n");
  std::fprintf(out, "---------------------------------\n");
}

std::string ask_file_name(std::FILE* in, std::FILE* out) {
  std::fprintf(out, "\nName of pgn-file = ");
  std::fflush(out);
  std::string name;
  int c;
  while ((c = std::fgetc(in)) != EOF && c != '\n') name.push_back(static_cast<char>(c));
  if (c == '\n') std::ungetc(c, in);  // the line end stays for the next read
  name.resize(name.find('\0') == std::string::npos ? name.size() : name.find('\0'));
  if (!name.empty() && name.back() == '\r') name.pop_back();
  return name;
}

void ask_start_elo(std::FILE* in, std::FILE* out, double& start_elo) {
  std::fprintf(out, "\nStart Elo = ");
  std::fflush(out);
  double answer = 0.0;
  if (std::fscanf(in, "%lf", &answer) == 1) start_elo = answer;
}

std::FILE* open_result_file(const std::string& name) {
  // Binary, so that a file written on either system reads the same.
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) return nullptr;
  if (platform::is_directory(file)) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

void wait_for_enter(std::FILE* in, std::FILE* out) {
  std::fprintf(out, "\nReady!");
  std::fflush(out);
  char key;
  if (std::fscanf(in, "%c%c", &key, &key) < 0) { /* no input left: end at once */
  }
}

}  // namespace tarvolin
