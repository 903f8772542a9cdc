// The log writer.
#include "engine/log.h"

#include "engine/number_text.h"

namespace kubrix {

void Log::clear() {
  buf_.clear();
  lines_ = 0;
}

void Log::append(long long bodyLine, std::string_view message) {
  char num[24];
  const size_t len = formatInt(bodyLine, num);
  if (len < 6) buf_.append(6 - len, ' ');
  buf_.append(num, len);
  buf_.append(": ", 2);
  buf_.append(message);
  buf_.push_back('\n');
  ++lines_;
  if (sink_ && buf_.size() >= threshold_) flush();
}

void Log::flush() {
  if (!sink_ || buf_.empty()) return;
  sink_(buf_);
  buf_.clear();
}

}  // namespace kubrix
