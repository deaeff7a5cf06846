// The steps of replacing a file in one piece.
#pragma once

#include <string>

namespace tarvolin::platform {

// This process's id: it makes a file name ours alone.
long process_id();

// Creates the file (or empties it), writes the text and flushes it to the
// disk. False with the system's reason; opened tells whether the file could
// at least be created. A file left half written is the caller's to remove.
bool write_flushed(const std::string& path, const std::string& text, bool& opened,
                   std::string& why);
// Puts from in the place of to in one step, so that a reader, or a run cut
// short, finds one or the other whole; to stays as it was when false.
bool rename_over(const std::string& from, const std::string& to, std::string& why);
void remove_file(const std::string& path);

}  // namespace tarvolin::platform
