// Draw-line preparation and splitting into tokens, and the working line before "//".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace kubrix {
namespace {

// Splits a line (CP932 bytes) and returns the tokens.
std::vector<std::string> split(std::string_view line) {
  std::string texts;
  std::vector<DrawLine::Arg> args;
  splitTokens(line, texts, args);
  std::vector<std::string> out;
  for (const auto& a : args) out.push_back(texts.substr(a.offset, a.length));
  return out;
}

// Prepares and splits a UTF-8 line, tokens back in UTF-8.
std::vector<std::string> tokens(std::string_view utf8) {
  std::vector<std::string> out;
  for (const auto& t : split(prepareDrawLine(utf8ToSjis(utf8)))) out.push_back(sjisToUtf8(t));
  return out;
}

using Tokens = std::vector<std::string>;

struct TokenCase {
  const char* line;
  Tokens expected;
};

TEST(Tokens, CommasAndBlanksBothSeparate) {
  const TokenCase cases[] = {
      {"LINE2D a, 0, 0, 10, 5", {"LINE2D", "a", "0", "0", "10", "5"}},
      {"LINE2D a 0 0 10 5", {"LINE2D", "a", "0", "0", "10", "5"}},
      {"LINE2D a,0,0 ,10 , 5", {"LINE2D", "a", "0", "0", "10", "5"}},
      {"   X   a   ", {"X", "a"}},
      {"X a,,b", {"X", "a", "", "b"}},        // two commas: an empty token
      {"X a, ,b", {"X", "a", "", "b"}},
      {"X a,", {"X", "a", ""}},               // a comma at the very end adds one empty token
      {"X a, ", {"X", "a"}},                  // ... one followed by blanks adds nothing
      {"X a,  ,", {"X", "a", "", ""}},
      {"X ,a", {"X", "a"}},
      {"LINE2D a, x+1, 0", {"LINE2D", "a", "x+1", "0"}},
      {"", {}},
      {"   ", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(tokens(c.line), c.expected) << '"' << c.line << '"';
}

TEST(Tokens, DoubleQuotesEncloseOneToken) {
  const TokenCase cases[] = {
      {"X \"Hello, world\" b", {"X", "Hello, world", "b"}},
      {"X Hello, world", {"X", "Hello", "world"}},
      {"X \"a\"\"b\"", {"X", "a\"b"}},        // "" inside stands for one quote
      {"X \"\"", {"X", ""}},
      {"X \"a\",\"b\",", {"X", "a", "b", ""}},
      {"X \"a\" , b", {"X", "a", "b"}},
      {"X \"a\"b c", {"X", "a", "b", "c"}},  // the token ends at its closing quote
      {"X ab\"c d\"", {"X", "ab\"c", "d\""}},  // a quote inside a plain token is a plain character
      {"X \"open, end", {"X", "open, end"}},   // an unclosed quote runs to the end of the line
  };
  for (const auto& c : cases) EXPECT_EQ(tokens(c.line), c.expected) << '"' << c.line << '"';
}

TEST(Tokens, PreparationOfBlanksAndControlCharacters) {
  struct Case {
    const char* line;
    const char* prepared;
  };
  const Case cases[] = {
      {"X　a", "X a"},                       // a full-width space outside quotes becomes a blank
      {"X \"p　q\"　r", "X \"p　q\" r"},     // ... inside quotes it is kept
      {"X\ta", "X a"},                       // tabs become blanks, also inside quotes
      {"X \"a\tb\"", "X \"a b\""},
      {"X\x01" "a\x1f" "b\r", "Xab"},        // other control characters are dropped
      {"ａ@", "ａ@"},                        // 0x82 0x81 0x40: the 0x81 0x40 is no full-width space
  };
  for (const auto& c : cases) {
    const std::string prepared = prepareDrawLine(utf8ToSjis(c.line));
    EXPECT_EQ(sjisToUtf8(prepared), c.prepared) << '"' << c.line << '"';
  }
  EXPECT_EQ(tokens("X \"x　y\" b　c"), (Tokens{"X", "x　y", "b", "c"}));
  EXPECT_EQ(tokens("X\ta\t\tb"), (Tokens{"X", "a", "b"}));
  EXPECT_EQ(tokens("X \"a\tb\""), (Tokens{"X", "a b"}));
}

TEST(Tokens, DoubleByteCharactersAreScannedWhole) {
  EXPECT_EQ(tokens("STRCPY 表,ソ 能"), (Tokens{"STRCPY", "表", "ソ", "能"}));  // second byte 0x5C
  EXPECT_EQ(tokens("X ａ@,\"ａ@\""), (Tokens{"X", "ａ@", "ａ@"}));
  EXPECT_EQ(tokens("X 直径,\"長さ　幅\""), (Tokens{"X", "直径", "長さ　幅"}));

  // A lead byte takes the byte after it, whatever that byte is: 0x81 0x22 is one character, so
  // its second byte neither opens quotes nor closes them.
  const std::string leadQuote = "\x81\"";
  EXPECT_EQ(prepareDrawLine("X " + leadQuote + " \x81\x40" + "a"), "X " + leadQuote + "  a");
  EXPECT_EQ(split("\"a" + leadQuote + "b\" c"), (Tokens{"a" + leadQuote + "b", "c"}));
  EXPECT_EQ(split("X a\x81,b"), (Tokens{"X", "a\x81,b"}));  // 0x81 0x2C: the comma is taken along
}

TEST(Tokens, WorkingLineEndsBeforeTheFirstComment) {
  EXPECT_EQ(workingLine("LINE a, 0 // note"), "LINE a, 0 ");
  EXPECT_EQ(workingLine("X \"a//b\" c"), "X \"a");  // also inside quotes
  EXPECT_EQ(workingLine("// all"), "");
  EXPECT_EQ(workingLine("X a/b"), "X a/b");
  // A lead byte followed by "/" forms one character; the comment starts at the next pair only.
  EXPECT_EQ(workingLine("X \x81//a//b"), "X \x81//a");
}

TEST(DrawLines, KeywordsAreCaseInsensitiveAndUnknownOnesAreReported) {
  test::ScriptRun r(
      "#VAR\n"
      "a\n"
      "A\n"
      "#DRAW\n"
      "line a,0,0,0,10,0,0\n"
      "LINE A, 0, 0, 0, 0, 10, 0\n"
      "FOO 1,2\n"
      "foo\t1　2 // comment\n"
      "CLEAR\n"
      "LAYER 300\n"
      "PEN 0\n"
      "PEN\n"
      "LAYER $10\n"
      "PEN 2.5\n");
  const std::string log = r.reset();
  EXPECT_EQ(log.substr(log.find("     4:")),
            "     4: 直線作図 (<1> 0,0,0 - 10,0,0)\n"
            "     5: 直線作図 (<2> 0,0,0 - 0,10,0)\n"
            "     6: 無効な命令です「FOO 1,2」\n"
            "     7: 無効な命令です「foo 1 2 」\n"
            "     9: レイヤ設定 (255)\n"
            "    10: ペン設定 (1)\n"
            "    11: ペン設定 (1)\n"
            "    12: レイヤ設定 (16)\n"
            "    13: ペン設定 (1)\n");
  EXPECT_EQ(r.value("a"), "1");
  EXPECT_EQ(r.value("A"), "2");
}

}  // namespace
}  // namespace kubrix
