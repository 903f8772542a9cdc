// A settings file in the private-profile format: [section] lines and key=value lines. Reading
// follows the platform semantics the settings rely on: section and key names compare without case,
// blanks around keys and values are dropped, one pair of enclosing quotes is stripped, and a value
// is cut to the read buffer (size - 1 bytes). The first section and key of a name win.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kubrix {

class IniFile {
 public:
  // Parses text (CP932 bytes). A missing file is an empty IniFile.
  static IniFile parse(std::string_view text);
  static std::optional<IniFile> load(const std::string& path);

  // The value of section/key cut to bufferSize - 1 bytes, or nullopt when the key is missing.
  std::optional<std::string> read(std::string_view section, std::string_view key, size_t bufferSize) const;
  // Sets a value (adds the section and key when missing).
  void write(std::string_view section, std::string_view key, std::string_view value);
  std::string text() const;  // CR LF line ends
  bool save(const std::string& path) const;

 private:
  struct Entry {
    std::string key, value;
  };
  struct Section {
    std::string name;
    std::vector<Entry> entries;
  };
  const Section* findSection(std::string_view name) const;
  std::vector<Section> sections_;
};

}  // namespace kubrix
