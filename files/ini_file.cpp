// Settings file reading and writing.
#include "files/ini_file.h"

#include <fstream>
#include <sstream>

namespace kubrix {

namespace {

std::string_view trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return s.substr(b, e - b);
}

bool equalNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

IniFile IniFile::parse(std::string_view text) {
  IniFile ini;
  Section* current = nullptr;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      const size_t close = line.find(']');
      const std::string_view name = trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
      ini.sections_.push_back(Section{std::string(name), {}});
      current = &ini.sections_.back();
      continue;
    }
    if (!current) continue;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    current->entries.push_back(Entry{std::string(trim(line.substr(0, eq))), std::string(trim(line.substr(eq + 1)))});
  }
  return ini;
}

std::optional<IniFile> IniFile::load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream ss;
  ss << in.rdbuf();
  return parse(ss.str());
}

const IniFile::Section* IniFile::findSection(std::string_view name) const {
  for (const auto& s : sections_)
    if (equalNoCase(s.name, name)) return &s;
  return nullptr;
}

std::optional<std::string> IniFile::read(std::string_view section, std::string_view key, size_t bufferSize) const {
  const Section* s = findSection(section);
  if (!s) return std::nullopt;
  for (const auto& e : s->entries) {
    if (!equalNoCase(e.key, key)) continue;
    std::string_view v = e.value;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
    if (bufferSize > 0 && v.size() > bufferSize - 1) v = v.substr(0, bufferSize - 1);
    return std::string(v);
  }
  return std::nullopt;
}

void IniFile::write(std::string_view section, std::string_view key, std::string_view value) {
  Section* s = const_cast<Section*>(findSection(section));
  if (!s) {
    sections_.push_back(Section{std::string(section), {}});
    s = &sections_.back();
  }
  for (auto& e : s->entries) {
    if (equalNoCase(e.key, key)) {
      e.value.assign(value);
      return;
    }
  }
  s->entries.push_back(Entry{std::string(key), std::string(value)});
}

std::string IniFile::text() const {
  std::string out;
  for (const auto& s : sections_) {
    out += "[" + s.name + "]\r\n";
    for (const auto& e : s.entries) out += e.key + "=" + e.value + "\r\n";
    out += "\r\n";
  }
  return out;
}

bool IniFile::save(const std::string& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  const std::string t = text();
  out.write(t.data(), static_cast<std::streamsize>(t.size()));
  return static_cast<bool>(out);
}

}  // namespace kubrix
