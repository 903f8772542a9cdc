// Reading script files.
#include "files/script_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/sjis.h"

namespace kubrix {

bool looksBinary(std::string_view bytes) {
  // Text scripts may hold a stray control character; data files are full of them.
  const size_t n = std::min<size_t>(bytes.size(), 65536);
  if (n == 0) return false;
  size_t control = 0;
  for (size_t i = 0; i < n; ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 32 && c != '\t' && c != '\r' && c != '\n' && c != '\f' && c != 0x1A) ++control;
  }
  return control * 10 > n;  // more than a tenth
}

std::string plainScriptToSjis(std::string_view bytes, ScriptEncoding enc, bool* wasUtf8) {
  bool utf8 = false;
  const bool bom = bytes.size() >= 3 && memcmp(bytes.data(), "\xEF\xBB\xBF", 3) == 0;
  if (enc == ScriptEncoding::Utf8) {
    utf8 = true;
  } else if (enc == ScriptEncoding::Auto) {
    bool high = false;
    for (char c : bytes) high = high || static_cast<unsigned char>(c) >= 0x80;
    utf8 = bom || (high && isValidUtf8(bytes));
  }
  if (wasUtf8) *wasUtf8 = utf8;
  if (!utf8) return std::string(bytes);
  if (bom) bytes.remove_prefix(3);
  return utf8ToSjis(bytes);
}

bool readProtectedScript(std::string_view bytes, std::string& body, std::string& error) {
  body.clear();
  if (bytes.size() < 8 || bytes.substr(0, 8) != "KXP_FILE") {
    error = "not a protected script file (no KXP_FILE marker)";
    return false;
  }
  size_t pos = 8;
  auto readLen = [&](size_t& len) {
    if (pos + 2 > bytes.size()) return false;
    len = static_cast<unsigned char>(bytes[pos]) | (static_cast<size_t>(static_cast<unsigned char>(bytes[pos + 1])) << 8);
    pos += 2;
    return true;
  };
  for (int skip = 0; skip < 2; ++skip) {  // comment, then personal name
    size_t len;
    if (!readLen(len) || pos + len > bytes.size()) {
      error = "protected script file is truncated";
      return false;
    }
    pos += len;
  }
  while (pos < bytes.size()) {
    size_t len;
    if (!readLen(len) || pos + len > bytes.size()) {
      error = "protected script file is truncated";
      body.clear();
      return false;
    }
    for (size_t i = 0; i < len; ++i) body.push_back(static_cast<char>(static_cast<unsigned char>(bytes[pos + i]) + kScrambleOffset));
    body += "\r\n";
    pos += len;
  }
  return true;
}

namespace {

std::string_view trimLine(std::string_view s) {
  auto blank = [](unsigned char c) { return c <= 32; };
  size_t b = 0, e = s.size();
  for (;;) {
    if (b < e && blank(static_cast<unsigned char>(s[b]))) ++b;
    else if (isFullWidthSpace(s, b) && b + 2 <= e) b += 2;
    else break;
  }
  for (;;) {
    if (e > b && blank(static_cast<unsigned char>(s[e - 1]))) --e;
    else if (e >= b + 2 && isFullWidthSpace(s, e - 2)) e -= 2;
    else break;
  }
  return s.substr(b, e - b);
}

void appendRecord(std::string& out, std::string_view bytes) {
  out.push_back(static_cast<char>(bytes.size() & 0xFF));
  out.push_back(static_cast<char>((bytes.size() >> 8) & 0xFF));
  out.append(bytes);
}

}  // namespace

std::string writeProtectedScript(std::string_view comment, std::string_view personalName,
                                 const std::vector<std::string>& lines) {
  std::string out = "KXP_FILE";
  appendRecord(out, comment.empty() ? std::string_view("\x81\x40") : comment);
  std::string name(personalName.empty() ? std::string_view("---") : personalName);
  for (char& c : name) c = static_cast<char>(static_cast<unsigned char>(c) + kScrambleOffset);
  appendRecord(out, name);
  for (const auto& raw : lines) {
    std::string_view line = cutBytes(trimLine(raw), 2048);
    if (line.empty()) continue;
    std::string rec(line);
    for (char& c : rec) c = static_cast<char>(static_cast<unsigned char>(c) - kScrambleOffset);
    appendRecord(out, rec);
  }
  return out;
}

ScriptLoad loadScriptFile(const std::string& path, ScriptEncoding enc) {
  ScriptLoad r;
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    r.error = "cannot read " + path + ": it is a directory";
    return r;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    r.error = std::string("cannot read ") + path + ": " + strerror(errno);
    return r;
  }
  std::ostringstream ss;
  ss << in.rdbuf();
  if (in.bad()) {
    r.error = std::string("cannot read ") + path;
    return r;
  }
  const std::string bytes = ss.str();
  std::string ext;
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of('/');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ext = upper(path.substr(dot));
  if (ext == ".KXP") {
    r.protectedFile = true;
    std::string err;
    if (!readProtectedScript(bytes, r.body, err)) {
      r.error = path + ": " + err;
      return r;
    }
    r.ok = true;
    return r;
  }
  if (looksBinary(bytes)) {
    r.error = path + ": not a script (the file holds binary data)";
    return r;
  }
  r.body = plainScriptToSjis(bytes, enc, &r.utf8);
  r.ok = true;
  return r;
}

}  // namespace kubrix
