#include "solve/summary_json.h"

#include <cstdio>

namespace tarvolin::solve {

namespace {

// The length of the UTF-8 sequence at text[at], 0 when it is none: no
// overlong forms, surrogates or code points past U+10FFFF.
std::size_t utf8_length(std::string_view text, std::size_t at) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(at);
  std::size_t length = lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
  if (length == 0 || at + length > text.size()) return 0;
  unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (lead == 0xE0) low = 0xA0;
  if (lead == 0xED) high = 0x9F;
  if (lead == 0xF0) low = 0x90;
  if (lead == 0xF4) high = 0x8F;
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k)
    if (byte(at + k) < 0x80 || byte(at + k) > 0xBF) return 0;
  return length;
}

std::string number(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", value);
  return text;
}

std::string number_or_null(const std::optional<double>& value) {
  return value ? number(*value) : "null";
}

}  // namespace

std::string json_string(std::string_view text) {
  std::string out = "\"";
  for (std::size_t at = 0; at < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[at]);
    if (c == '"' || c == '\\') {
      out += '\\', out += static_cast<char>(c), ++at;
    } else if (c >= 0x20 && c < 0x80) {
      out += static_cast<char>(c), ++at;
    } else if (std::size_t length = c >= 0x80 ? utf8_length(text, at) : 0; length > 0) {
      out.append(text.substr(at, length)), at += length;
    } else {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      out += escape, ++at;
    }
  }
  return out + "\"";
}

std::string summary_json(const std::vector<EngineRow>& rows,
                         const std::vector<PositionResult>& positions) {
  std::string out = "{\"engines\": [";
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const EngineRow& row = rows[k];
    std::optional<double> share;
    if (row.tried > 0) share = 100.0 * row.solved / row.tried;
    out += std::string(k ? "," : "") + "\n  {\"name\": " + json_string(row.name) +
           ", \"solved\": " + std::to_string(row.solved) +
           ", \"tried\": " + std::to_string(row.tried) +
           ", \"share_percent\": " + number_or_null(share) +
           ", \"mean_seconds\": " + number_or_null(row.mean) +
           ", \"median_seconds\": " + number_or_null(row.median) +
           ", \"not_run\": " + std::to_string(row.not_run) +
           ", \"kept\": " + std::to_string(row.kept) + "}";
  }
  out += "],\n\"positions\": [";
  for (std::size_t k = 0; k < positions.size(); ++k) {
    const PositionResult& position = positions[k];
    out += std::string(k ? "," : "") + "\n  {\"number\": " + std::to_string(position.number) +
           ", \"label\": " + json_string(position.label) +
           ", \"fen\": " + json_string(position.fen) + ", \"results\": [";
    for (std::size_t e = 0; e < position.engines.size(); ++e) {
      const EngineResult& result = position.engines[e];
      std::string name = result.engine < rows.size() ? rows[result.engine].name : "";
      out += std::string(e ? ", " : "") + "{\"engine\": " + json_string(name);
      if (result.ran)
        out += ", \"entry\": " + json_string(result.entry) +
               ", \"solved\": " + (result.solved ? "true" : "false") +
               ", \"seconds\": " + (result.solved ? number(result.seconds) : "null") + "}";
      else
        out += ", \"not_run\": true}";
    }
    out += "]}";
  }
  return out + "]}\n";
}

}  // namespace tarvolin::solve
