// One result entry, such as 'Alpha 3.1' 12.3s or 'Beta' >60s, turned into a
// program name and a time.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "core/tables.h"

namespace tarvolin {

// Only this many characters after the first are ever looked at.
inline constexpr std::size_t ENTRY_WINDOW = 79;

struct ScannedEntry {
  std::string name;        // blanks and line ends squeezed out
  std::string time_field;  // '>' already turned into '-'
};

// Splits entry text into name and time field. The first character (normally
// the opening quote) is skipped unseen; the text ends at its first NUL.
ScannedEntry scan_entry(std::string_view entry_text);

// The time field read as a number the way "%lf" reads it; nothing when it
// does not start with a number or the number is not finite.
std::optional<double> convert_time(const std::string& time_field);

// Registers the entry's program and stores its time for the position. A
// position of 0 (no "FEN " tag read yet) keeps only the registration.
void parse_result_entry(Tables& tables, std::string_view entry_text, int32_t position,
                        std::FILE* console);

// Adds the entry's time to a known program's offset samples; an unknown name
// changes nothing.
void parse_offset_entry(Tables& tables, std::string_view entry_text);

}  // namespace tarvolin
