// The run log: one line per step, "%6d: message", kept as one CP932 append buffer. A host may attach
// a sink that takes finished lines in blocks, so that long runs need not keep the whole log.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kubrix {

class Log {
 public:
  using Sink = std::function<void(std::string_view)>;

  void clear();
  // Appends "<bodyLine right-aligned in 6>: <message>\n".
  void append(long long bodyLine, std::string_view message);
  // The text not yet handed to the sink (all of it when there is no sink), lines ending in '\n'.
  const std::string& text() const { return buf_; }
  size_t lineCount() const { return lines_; }

  // With a sink, finished text is handed over whenever the buffer passes a threshold, and by flush().
  void setSink(Sink sink) { sink_ = std::move(sink); }
  // How much text the buffer collects before it goes to the sink (1 MiB unless set); a window that
  // shows the log while a run goes on takes smaller blocks.
  void setSinkThreshold(size_t bytes) { threshold_ = bytes; }
  void flush();

 private:
  std::string buf_;
  size_t lines_ = 0;
  Sink sink_;
  size_t threshold_ = size_t{1} << 20;
};

}  // namespace kubrix
