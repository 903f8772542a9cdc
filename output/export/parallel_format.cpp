// Ordered parallel formatting: worker threads format ranges into a ring of texts while the calling
// thread writes the finished texts in range order, so formatting and writing overlap.
#include "output/export/parallel_format.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kubrix {

namespace {

class OrderedFormatting {
 public:
  OrderedFormatting(size_t count, size_t chunk, size_t workers, const RangeFormatter& format)
      : count_(count), chunk_(chunk), ranges_((count + chunk - 1) / chunk), format_(format), slots_(4 * workers) {}

  void run(TextWriter& w) {
    std::vector<std::thread> workers;
    const size_t n = slots_.size() / 4;
    workers.reserve(n);
    for (size_t k = 0; k < n; ++k) workers.emplace_back([this] { work(); });
    std::exception_ptr failure;
    for (size_t r = 0; r < ranges_ && !failure && w.ok(); ++r) {
      Slot& slot = slots_[r % slots_.size()];
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [&] { return slot.done && slot.range == r; });
      failure = slot.failure;
      lock.unlock();
      if (!failure) w.put(std::string_view(slot.text.data(), slot.text.size()));
      lock.lock();
      slot.done = false;
      written_ = r + 1;
      if (failure || !w.ok()) stop_ = true;
      changed_.notify_all();
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    for (std::thread& t : workers) t.join();
    if (failure) std::rethrow_exception(failure);
  }

 private:
  struct Slot {
    PlainBuffer<char> text;
    size_t range = 0;
    bool done = false;
    std::exception_ptr failure;
  };

  // Takes the next range once its slot has been written out, formats it, hands it over.
  void work() {
    for (;;) {
      std::unique_lock<std::mutex> lock(mutex_);
      if (stop_ || next_ >= ranges_) return;
      const size_t r = next_++;
      changed_.wait(lock, [&] { return stop_ || r < written_ + slots_.size(); });
      if (stop_) return;
      Slot& slot = slots_[r % slots_.size()];
      lock.unlock();
      std::exception_ptr failure;
      try {
        slot.text.clear();
        TextWriter out(slot.text);
        format_(out, r * chunk_, std::min(count_, (r + 1) * chunk_));
        out.flush();
      } catch (...) {
        failure = std::current_exception();
      }
      lock.lock();
      slot.range = r;
      slot.failure = failure;
      slot.done = true;
      changed_.notify_all();
    }
  }

  const size_t count_, chunk_, ranges_;
  const RangeFormatter& format_;
  std::vector<Slot> slots_;
  std::mutex mutex_;
  std::condition_variable changed_;
  size_t next_ = 0;     // the next range a worker takes
  size_t written_ = 0;  // ranges written to the file so far
  bool stop_ = false;
};

}  // namespace

void formatInOrder(size_t count, size_t chunk, const RangeFormatter& format, TextWriter& w) {
  chunk = std::max<size_t>(chunk, 1);
  const size_t cores = std::min<size_t>(std::max(1u, std::thread::hardware_concurrency()), 8);
  if (cores < 2 || count < 2 * chunk) {
    format(w, 0, count);
    return;
  }
  OrderedFormatting(count, chunk, cores, format).run(w);
}

}  // namespace kubrix
