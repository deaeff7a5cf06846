// The console questions of a run and the answers as the program takes them.
#pragma once

#include <cstdio>
#include <string>

namespace tarvolin {

void print_banner(std::FILE* out);

// The whole answer line, however long. Nothing typed (or no input at all)
// gives the empty name; a carriage return left by a Windows-made answer file
// is dropped.
std::string ask_file_name(std::FILE* in, std::FILE* out);

// A number as "%lf" reads it; anything else leaves the default in place.
void ask_start_elo(std::FILE* in, std::FILE* out, double& start_elo);

// Opens the result file for reading; a directory counts as unopenable.
std::FILE* open_result_file(const std::string& name);

// "Ready!", then waits for the line end that closes the Elo answer and one
// more key; no input left ends the wait at once.
void wait_for_enter(std::FILE* in, std::FILE* out);

}  // namespace tarvolin
