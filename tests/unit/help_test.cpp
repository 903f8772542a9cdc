// The script documentation: every command the engine knows has its entry in the help text, so the
// help window finds it by keyword, and every entry shows how the command is written and an example.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/command_table.h"

namespace kubrix {
namespace {

std::vector<std::string> helpLines() {
  std::ifstream in(KUBRIX_SOURCE_DIR "/resources/help.txt", std::ios::binary);
  EXPECT_TRUE(in) << "resources/help.txt is missing";
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool startsWith(const std::string& s, std::string_view prefix) { return s.compare(0, prefix.size(), prefix) == 0; }

// "■KEYWORD" heading lines: the keyword is followed by a blank (then the arguments) or ends the line.
std::string headingKeyword(const std::string& line) {
  if (!startsWith(line, "■")) return {};
  const std::string rest = line.substr(std::string("■").size());
  return rest.substr(0, rest.find(' '));
}

// An entry: one or more "■KEYWORD" headings (commands documented together), then its text up to the
// first empty line, the next heading or a chapter rule. Texts between entries introduce a group of
// commands and belong to none.
struct Entry {
  std::vector<std::string> headings;
  std::vector<std::string> body;
};

std::vector<Entry> entries(const std::vector<std::string>& lines) {
  std::vector<Entry> out;
  for (size_t i = 0; i < lines.size();) {
    if (!startsWith(lines[i], "■")) {
      ++i;
      continue;
    }
    Entry e;
    while (i < lines.size() && startsWith(lines[i], "■")) e.headings.push_back(lines[i++]);
    while (i < lines.size() && !lines[i].empty() && !startsWith(lines[i], "■") && !startsWith(lines[i], "---") &&
           !startsWith(lines[i], "==="))
      e.body.push_back(lines[i++]);
    out.push_back(std::move(e));
  }
  return out;
}

// A keyword written as a command in a line of text: at the line's start or after a blank, and
// followed by a blank, a comma or the line's end.
bool mentionsCommand(const std::string& line, const std::string& keyword) {
  for (size_t at = line.find(keyword); at != std::string::npos; at = line.find(keyword, at + 1)) {
    const bool before = at == 0 || line[at - 1] == ' ';
    const size_t end = at + keyword.size();
    const bool after = end == line.size() || line[end] == ' ' || line[end] == ',';
    if (before && after) return true;
  }
  return false;
}

TEST(HelpText, EveryBoundCommandHasAnEntry) {
  const std::vector<std::string> lines = helpLines();
  size_t bound = 0;
  for (const Keyword& k : kKeywords) {
    if (!commandTable().find(k.name)) continue;
    ++bound;
    bool found = false;
    for (const std::string& line : lines) found = found || headingKeyword(line) == k.name;
    EXPECT_TRUE(found) << "no help entry \"■" << k.name << "\"";
  }
  EXPECT_EQ(bound, commandTable().boundCount());
}

// The house style of a command entry: its heading line is the syntax, the keyword followed by the
// arguments ("■LINE 出力変数, X1, Y1, Z1, X2, Y2, Z2"; a command without arguments is its keyword
// alone), and the entry holds an example ("例：") that writes the command or one documented with it.
TEST(HelpText, EveryCommandEntryHasItsSyntaxAndAnExample) {
  const std::vector<Entry> all = entries(helpLines());
  for (const Keyword& k : kKeywords) {
    const CommandSpec* command = commandTable().find(k.name);
    if (!command) continue;
    const std::string name(k.name);
    const Entry* entry = nullptr;
    std::string heading;
    for (const Entry& e : all)
      for (const std::string& h : e.headings)
        if (!entry && headingKeyword(h) == name) entry = &e, heading = h;
    if (!entry) continue;  // reported by EveryBoundCommandHasAnEntry

    const bool takesArguments = command->usage.find(' ') != std::string_view::npos;
    const std::string arguments = heading.substr(std::string("■").size() + name.size());
    if (takesArguments)
      EXPECT_TRUE(startsWith(arguments, " ") && arguments.find_first_not_of(' ') != std::string::npos)
          << "\"" << heading << "\": the heading shows no arguments (usage \"" << command->usage << "\")";
    else
      EXPECT_TRUE(arguments.empty()) << "\"" << heading << "\": " << name << " takes no arguments";

    bool inExample = false, example = false;
    for (const std::string& line : entry->body) {
      inExample = inExample || line.find("例：") != std::string::npos;
      for (const std::string& h : entry->headings)
        example = example || (inExample && mentionsCommand(line, headingKeyword(h)));
    }
    EXPECT_TRUE(example) << "the entry of " << name << " has no example (\"例：\" and a line that writes the command)";
  }
}

}  // namespace
}  // namespace kubrix
