// libFuzzer entry: the input is the content of a protected (".kxp") or distribution (".kxt") script
// file. Besides the sanitizers' findings, the harness aborts when a reader gives lines and an error
// at once, when a line it gives holds a line break or NUL byte, or when the lines written again do
// not read back the same.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/script_file.h"

namespace {

[[noreturn]] void broken(const char* what) {
  fprintf(stderr, "invariant broken: %s\n", what);
  abort();
}

void checkLines(const std::vector<std::string>& lines) {
  for (const auto& l : lines)
    if (l.size() > kubrix::kMaxRecordBytes || l.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
      broken("a line that no record can hold");
}

// Lines written again and read back: trimming leaves them as they are from the second round on.
void checkRewrite(const kubrix::ProtectedScript& s) {
  const auto once = kubrix::writeProtectedScript(s.comment, s.personalName, s.lines);
  if (!once) broken("lines that were read cannot be written");
  kubrix::ProtectedScript back, again;
  std::string error;
  if (!kubrix::readProtectedScript(*once, back, error)) broken("a written file does not read back");
  if (back.lines.size() > s.lines.size()) broken("writing added lines");
  if (!kubrix::readProtectedScript(*kubrix::writeProtectedScript(back.comment, back.personalName, back.lines), again, error) ||
      again.lines != back.lines)
    broken("writing is not stable");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string error, body;
  kubrix::ProtectedScript p;
  if (kubrix::readProtectedScript(bytes, p, error)) {
    checkLines(p.lines);
    checkRewrite(p);
    if (!kubrix::readProtectedScript(bytes, body, error)) broken("the body reader disagrees");
  } else if (!p.lines.empty() || error.empty() || kubrix::readProtectedScript(bytes, body, error) || !body.empty()) {
    broken("a failed read gave lines or no error");
  }
  kubrix::DistributionScript d;
  error.clear();
  if (kubrix::readDistributionScript(bytes, d, error)) {
    checkLines(d.lines);
    const auto again = kubrix::writeDistributionScript(d.header, d.thumbnails, d.lines);
    kubrix::DistributionScript back;
    if (!again || !kubrix::readDistributionScript(*again, back, error) || back.thumbnails != d.thumbnails ||
        back.header.title != d.header.title)
      broken("a distribution file written again does not read back");
  } else if (!d.lines.empty() || error.empty()) {
    broken("a failed distribution read gave lines or no error");
  }
  return 0;
}
