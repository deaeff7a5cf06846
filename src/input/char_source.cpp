#include "input/char_source.h"

namespace tarvolin {

bool CharSource::refill() {
  if (file_ == nullptr) return false;
  next_ = 0;
  end_ = std::fread(buffer_, 1, BUFFER_SIZE, file_);
  return end_ > 0;
}

}  // namespace tarvolin
