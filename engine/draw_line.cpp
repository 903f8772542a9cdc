// Preparing and splitting draw lines.
#include "engine/engine.h"
#include "engine/sjis.h"

#include "engine/command_table.h"

namespace kubrix {

DrawLine::DrawLine(std::string_view workingLine) : working(workingLine), prepared(prepareDrawLine(working)) {
  splitTokens(prepared, tokens, args);
  if (!args.empty()) {
    keyword = tokens.substr(args[0].offset, args[0].length);
    upperInPlace(keyword);
  }
  command = commandTable().find(keyword);
}

std::string prepareDrawLine(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  bool quoted = false;
  const size_t n = s.size();
  for (size_t i = 0; i < n;) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (isLeadByte(c) && i + 1 < n) {
      if (!quoted && isFullWidthSpace(s, i)) out.push_back(' ');
      else out.append(s.data() + i, 2);
      i += 2;
      continue;
    }
    if (c == '"') quoted = !quoted;
    if (c == '\t') out.push_back(' ');
    else if (c >= 32) out.push_back(static_cast<char>(c));
    ++i;
  }
  return out;
}

namespace {
inline bool isSep(unsigned char c) { return c >= 1 && c <= 32; }
}  // namespace

void splitTokens(std::string_view s, std::string& texts, std::vector<DrawLine::Arg>& args) {
  texts.clear();
  args.clear();
  const size_t n = s.size();
  size_t p = 0;
  auto add = [&](size_t start) {
    DrawLine::Arg a;
    a.offset = static_cast<uint32_t>(start);
    a.length = static_cast<uint32_t>(texts.size() - start);
    args.push_back(a);
  };
  while (p < n && isSep(static_cast<unsigned char>(s[p]))) ++p;
  while (p < n && s[p] != '\0') {  // a NUL ends the text, as it would a C string
    const size_t start = texts.size();
    if (s[p] == '"') {
      ++p;
      while (p < n) {
        if (s[p] == '"') {
          if (p + 1 < n && s[p + 1] == '"') {
            texts.push_back('"');
            p += 2;
            continue;
          }
          ++p;  // the closing quote
          break;
        }
        const size_t len = charLen(s, p);
        texts.append(s.data() + p, len);
        p += len;
      }
    } else {
      while (p < n && static_cast<unsigned char>(s[p]) > 32 && s[p] != ',') {
        const size_t len = charLen(s, p);
        texts.append(s.data() + p, len);
        p += len;
      }
    }
    add(start);
    while (p < n && isSep(static_cast<unsigned char>(s[p]))) ++p;
    if (p < n && s[p] == ',') {
      if (p + 1 == n) add(texts.size());  // a comma that ends the line adds an empty token
      ++p;
      while (p < n && isSep(static_cast<unsigned char>(s[p]))) ++p;
    }
  }
}

}  // namespace kubrix
