// The log writer.
#include "engine/log.h"

namespace kubrix {

namespace {
constexpr size_t kSinkThreshold = 1 << 20;
}

void Log::clear() {
  buf_.clear();
  lines_ = 0;
}

void Log::append(long long bodyLine, std::string_view message) {
  char num[24];
  int k = 0;
  const bool neg = bodyLine < 0;
  unsigned long long u = neg ? 0ULL - static_cast<unsigned long long>(bodyLine) : static_cast<unsigned long long>(bodyLine);
  do {
    num[k++] = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u > 0);
  if (neg) num[k++] = '-';
  for (int pad = k; pad < 6; ++pad) buf_.push_back(' ');
  while (k > 0) buf_.push_back(num[--k]);
  buf_.append(": ", 2);
  buf_.append(message);
  buf_.push_back('\n');
  ++lines_;
  if (sink_ && buf_.size() >= kSinkThreshold) flush();
}

void Log::flush() {
  if (!sink_ || buf_.empty()) return;
  sink_(buf_);
  buf_.clear();
}

}  // namespace kubrix
