// Replacing a file so that a reader, or a run cut short at any moment, sees
// either the old text or the new one, never a mix.
#pragma once

#include <optional>
#include <string>

namespace tarvolin::solve {

// Writes the text to PATH.tmp.PID beside the file, flushes it to disk and
// renames it over the file. False with a reason; the old file then stays.
bool replace_file(const std::string& path, const std::string& text, std::string& why);

// The whole file, or nullopt when it does not exist; why is set when it
// exists but cannot be read.
std::optional<std::string> read_file(const std::string& path, std::string& why);

}  // namespace tarvolin::solve
