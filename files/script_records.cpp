// The record formats of protected (".kxp") and distribution (".kxt") script files.

#include "engine/number_text.h"
#include "engine/sjis.h"
#include "files/script_file.h"

namespace kubrix {

namespace {

constexpr std::string_view kProtectedMarker = "KXP_FILE";
constexpr std::string_view kDistributionMarker = "kxt_file";

// The line without leading and trailing blanks (control characters, half-width and full-width
// spaces). The walk goes forward a character at a time: a 0x81 0x40 pair whose 0x81 is the second
// byte of a double-byte character is no full-width space.
std::string_view trimLine(std::string_view s) {
  size_t b = s.size(), e = 0;
  for (size_t i = 0; i < s.size();) {
    const size_t n = charLen(s, i);
    const bool blank = static_cast<unsigned char>(s[i]) <= 32 || isFullWidthSpace(s, i);
    if (!blank) {
      if (b == s.size()) b = i;
      e = i + n;
    }
    i += n;
  }
  return b < e ? s.substr(b, e - b) : std::string_view();
}

void appendLength(std::string& out, size_t n, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
}

void appendRecord(std::string& out, std::string_view bytes) {
  appendLength(out, bytes.size(), 2);
  out.append(bytes);
}

// One record per non-empty trimmed line, every byte decreased by the offset. False (with the line's
// index) when a line does not fit a record.
bool appendLineRecords(std::string& out, const std::vector<std::string>& lines, size_t* overlongLine) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = trimLine(lines[i]);
    if (line.empty()) continue;
    if (line.size() > kMaxRecordBytes) {
      if (overlongLine) *overlongLine = i;
      return false;
    }
    appendLength(out, line.size(), 2);
    for (char c : line) out.push_back(static_cast<char>(static_cast<unsigned char>(c) - kScrambleOffset));
  }
  return true;
}

// Reads the records of a file from its first byte after the marker; every read checks the bytes
// that are left, so no length can reach past the end.
class RecordReader {
 public:
  RecordReader(std::string_view bytes, const char* kind) : bytes_(bytes), kind_(kind) {}

  bool atEnd() const { return pos_ == bytes_.size(); }
  bool marker(std::string_view m, std::string& error) {
    if (bytes_.size() < m.size() || bytes_.substr(0, m.size()) != m) {
      error = std::string("not a ") + kind_ + " file (no " + std::string(m) + " marker)";
      return false;
    }
    pos_ = m.size();
    return true;
  }
  bool length(int width, size_t& n, std::string& error) {
    if (bytes_.size() - pos_ < static_cast<size_t>(width)) return truncated(error, "a length");
    n = 0;
    for (int i = 0; i < width; ++i) n |= static_cast<size_t>(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
    pos_ += static_cast<size_t>(width);
    return true;
  }
  bool take(size_t n, std::string_view& out, std::string& error) {
    if (bytes_.size() - pos_ < n) return truncated(error, "a record");
    out = bytes_.substr(pos_, n);
    pos_ += n;
    return true;
  }
  bool string(std::string& out, std::string& error) {
    size_t n = 0;
    std::string_view s;
    if (!length(2, n, error) || !take(n, s, error)) return false;
    out.assign(s);
    return true;
  }
  // One line record (length already read): its bytes increased by the offset.
  bool line(size_t n, std::vector<std::string>& lines, std::string& error) {
    std::string_view s;
    if (!take(n, s, error)) return false;
    std::string& l = lines.emplace_back(s);
    for (char& c : l) {
      c = static_cast<char>(static_cast<unsigned char>(c) + kScrambleOffset);
      if (c == '\r' || c == '\n' || c == '\0') {
        error = std::string(kind_) + " file is damaged: line " + std::to_string(lines.size()) +
                " holds a line break or a NUL byte";
        return false;
      }
    }
    return true;
  }

 private:
  bool truncated(std::string& error, const char* what) {
    std::string at;
    appendInt(at, static_cast<long long>(pos_));
    error = std::string(kind_) + " file is truncated: " + what + " at byte " + at + " runs past the end of the file";
    return false;
  }
  std::string_view bytes_;
  const char* kind_;
  size_t pos_ = 0;
};

std::string cutField(std::string_view s) { return std::string(cutBytes(s, kMaxRecordBytes)); }

}  // namespace

std::optional<std::string> writeProtectedScript(std::string_view comment, std::string_view personalName,
                                                const std::vector<std::string>& lines, size_t* overlongLine) {
  std::string out(kProtectedMarker);
  appendRecord(out, cutField(comment.empty() ? std::string_view("\x81\x40") : comment));
  std::string name = cutField(personalName.empty() ? std::string_view("---") : personalName);
  for (char& c : name) c = static_cast<char>(static_cast<unsigned char>(c) + kScrambleOffset);
  appendRecord(out, name);
  if (!appendLineRecords(out, lines, overlongLine)) return std::nullopt;
  return out;
}

std::optional<std::string> writeDistributionScript(const DistributionHeader& header,
                                                   const std::array<std::string, kThumbnailCount>& thumbnails,
                                                   const std::vector<std::string>& lines, size_t* overlongLine) {
  size_t size = 64;
  for (const auto& t : thumbnails) size += t.size() + 4;
  std::string out;
  out.reserve(size);
  out += kDistributionMarker;
  for (const std::string* field : {&header.title, &header.author, &header.url, &header.comment})
    appendRecord(out, cutField(*field));
  appendRecord(out, {});  // reserved
  for (const auto& t : thumbnails) {
    appendLength(out, t.size(), 4);
    out += t;
  }
  if (!appendLineRecords(out, lines, overlongLine)) return std::nullopt;
  appendRecord(out, {});  // end
  return out;
}

bool readProtectedScript(std::string_view bytes, ProtectedScript& out, std::string& error) {
  out = {};
  RecordReader r(bytes, "protected script");
  ProtectedScript s;
  if (!r.marker(kProtectedMarker, error) || !r.string(s.comment, error) || !r.string(s.personalName, error))
    return false;
  for (char& c : s.personalName) c = static_cast<char>(static_cast<unsigned char>(c) - kScrambleOffset);
  while (!r.atEnd()) {
    size_t n = 0;
    if (!r.length(2, n, error) || !r.line(n, s.lines, error)) return false;
  }
  out = std::move(s);
  return true;
}

bool readProtectedScript(std::string_view bytes, std::string& body, std::string& error) {
  body.clear();
  ProtectedScript s;
  if (!readProtectedScript(bytes, s, error)) return false;
  for (const auto& line : s.lines) {
    body += line;
    body += "\r\n";
  }
  return true;
}

bool readDistributionScript(std::string_view bytes, DistributionScript& out, std::string& error) {
  out = {};
  RecordReader r(bytes, "distribution script");
  DistributionScript s;
  std::string reserved;
  if (!r.marker(kDistributionMarker, error)) return false;
  for (std::string* field : {&s.header.title, &s.header.author, &s.header.url, &s.header.comment, &reserved})
    if (!r.string(*field, error)) return false;
  for (auto& t : s.thumbnails) {
    size_t n = 0;
    std::string_view picture;
    if (!r.length(4, n, error) || !r.take(n, picture, error)) return false;
    t.assign(picture);
  }
  for (;;) {
    size_t n = 0;
    if (!r.length(2, n, error)) return false;
    if (n == 0) break;  // the end record
    if (!r.line(n, s.lines, error)) return false;
  }
  if (!r.atEnd()) {
    error = "distribution script file is damaged: data after its end record";
    return false;
  }
  out = std::move(s);
  return true;
}

}  // namespace kubrix
