// Formatting a long run of elements on several cores while the text still reaches the file in order.
#pragma once

#include <cstddef>
#include <functional>

#include "output/export/text_writer.h"

namespace kubrix {

// Calls format(out, begin, end) for consecutive ranges [begin, end) covering [0, count) and writes
// the text to w in range order, exactly as one call format(w, 0, count) would. Ranges of `chunk`
// items are formatted side by side on the machine's cores when there are at least two of each;
// otherwise everything is formatted straight into w. format must only read shared data. An
// exception thrown by format (out of memory) reaches the caller after every thread has ended.
using RangeFormatter = std::function<void(TextWriter& out, size_t begin, size_t end)>;
void formatInOrder(size_t count, size_t chunk, const RangeFormatter& format, TextWriter& w);

}  // namespace kubrix
