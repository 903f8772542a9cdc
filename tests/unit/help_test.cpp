// The script documentation: every command the engine knows has its entry in the help text, so the
// help window finds it by keyword.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "engine/command_table.h"

namespace kubrix {
namespace {

TEST(HelpText, EveryBoundCommandHasAnEntry) {
  std::ifstream in(KUBRIX_SOURCE_DIR "/resources/help.txt", std::ios::binary);
  ASSERT_TRUE(in) << "resources/help.txt is missing";
  std::stringstream text;
  text << in.rdbuf();
  const std::string help = "\n" + text.str();
  size_t bound = 0;
  for (const Keyword& k : kKeywords) {
    if (!commandTable().find(k.name)) continue;
    ++bound;
    const std::string entry = "\n■" + std::string(k.name);
    bool found = false;
    for (size_t at = help.find(entry); at != std::string::npos && !found; at = help.find(entry, at + 1)) {
      const char next = at + entry.size() < help.size() ? help[at + entry.size()] : '\n';
      found = next == ' ' || next == '\n' || next == '\r';
    }
    EXPECT_TRUE(found) << "no help entry \"■" << k.name << "\"";
  }
  EXPECT_EQ(bound, commandTable().boundCount());
}

}  // namespace
}  // namespace kubrix
