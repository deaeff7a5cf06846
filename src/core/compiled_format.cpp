#include "core/compiled_format.h"

#include <cstdint>
#include <cstring>
#include <utility>

namespace tarvolin {

namespace {

CompiledFormat compile(const char* format) {
  CompiledFormat c;
  c.text = format;
  const char* p = format;
  for (;;) {
    CompiledFormat::Piece piece;
    piece.literal_begin = static_cast<std::size_t>(p - format);
    while (*p != '%' && *p != '\0') ++p;
    piece.literal_length = static_cast<std::size_t>(p - format) - piece.literal_begin;
    if (*p == '\0') {
      c.pieces.push_back(piece);
      c.native = true;
      return c;
    }
    p = parse_conversion(p + 1, piece.conversion);
    if (p == nullptr) {
      c.pieces.clear();
      return c;
    }
    piece.converts = true;
    c.pieces.push_back(piece);
  }
}

}  // namespace

const CompiledFormat& FormatCache::compiled(const char* format) {
  Slot& slot = slots_[(reinterpret_cast<std::uintptr_t>(format) >> 3) % SLOTS];
  // The same address may hold another text by now: a format built at run
  // time in a reused buffer.
  if (slot.key != format ||
      std::strncmp(format, slot.compiled.text.c_str(), slot.compiled.text.size() + 1) != 0) {
    CompiledFormat fresh = compile(format);  // running out of memory leaves the slot as it was
    slot.compiled = std::move(fresh);
    slot.key = format;
  }
  return slot.compiled;
}

}  // namespace tarvolin
