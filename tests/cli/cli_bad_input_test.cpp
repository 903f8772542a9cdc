// kubrix-run on bad input: nothing may crash, hang or garble the output. A faulty line gets a log
// line or reads as 0 or empty; a file that is no script gets a clear message and status 2.
#include <gtest/gtest.h>

#include <regex>

#include "tests/cli/cli_run.h"

namespace kubrix::clitest {
namespace {

// Runs a script given as bytes and checks that the run itself went well.
RunResult runBytes(const TempDir& dir, const std::string& bytes, std::vector<std::string> args = {}) {
  args.push_back(dir.write("bad.kx", bytes));
  RunResult r = runCli(args);
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  return r;
}

// Every printed line is a log line: six characters of body line number, ": ", the message.
void expectWellFormedLog(const std::string& out) {
  ASSERT_TRUE(out.empty() || out.back() == '\n');
  static const std::regex prefix("^( {0,5}-?\\d{1,6}|\\d{7,}): ");
  for (const auto& line : splitLines(out))
    EXPECT_TRUE(std::regex_search(line.substr(0, 16), prefix)) << "not a log line: " << line.substr(0, 80);
  EXPECT_EQ(out.find('\0'), std::string::npos);
}

TEST(CliBadInput, BinaryFileIsRefusedWithAMessage) {
  TempDir dir;
  std::string bytes;
  for (int k = 0; k < 100; ++k)
    for (int c = 0; c < 256; ++c) bytes.push_back(static_cast<char>(c));
  for (const std::string& path : {dir.write("bin.kx", bytes), std::string(runnerPath())}) {
    const RunResult r = runCli({path});
    EXPECT_EQ(r.exitCode, 2) << path;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(path), std::string::npos) << r.err;
  }
}

TEST(CliBadInput, NulBytesInsideLinesAreDropped) {
  TempDir dir;
  const char raw[] = "#VAR\r\ni=0\0;*ab\0c\r\n#DRAW\r\nCAL i\0 = 1 +\0 2\r\nTEN i,1\0,2,3\r\nFOO \"a\0b\"\r\n";
  const std::string bytes(raw, sizeof raw - 1);
  const RunResult r = runBytes(dir, bytes);
  EXPECT_EQ(r.out, logLine(1, "変数定義(18):*abc「i」 初期値:0") + logLine(3, "式計算：1+2") + logLine(3, "(結果)：3→i") +
                       logLine(4, "点作図 (<1> 1,2,3)") + logLine(5, "無効な命令です「FOO \"ab\"」"));
}

// A lead byte with no second byte in its line stands for no character: it must not swallow the line
// end or the first character of what a message puts after it.
TEST(CliBadInput, LeadByteAtTheEndOfALineOrOfTheFile) {
  TempDir dir;
  const std::string bytes =
      "#VAR\r\ni=0;*\x93\r\nj=\x82\r\n#DRAW\r\nTEN i,1,2,3\x81\r\nFOO \"\x93\r\nFOO \xE0\r\nFOO \x82";
  const RunResult r = runBytes(dir, bytes);
  expectWellFormedLog(r.out);
  const auto lines = splitLines(r.out);
  ASSERT_EQ(lines.size(), 6u) << r.out;
  const std::string lone = "(\\?|\xEF\xBF\xBD)?";  // the lone byte shows as "?" or U+FFFD, or not at all
  EXPECT_TRUE(std::regex_match(lines[0], std::regex("     1: 変数定義\\(18\\):\\*" + lone + "「i」 初期値:0"))) << lines[0];
  EXPECT_TRUE(std::regex_match(lines[1], std::regex("     2: 変数定義\\(19\\):「j」 初期値:" + lone))) << lines[1];
  EXPECT_EQ(lines[2], "     4: 点作図 (<1> 1,2,0)");  // "3" plus the lone byte is no number
  EXPECT_TRUE(std::regex_match(lines[3], std::regex("     5: 無効な命令です「FOO \"" + lone + "」"))) << lines[3];
  EXPECT_TRUE(std::regex_match(lines[4], std::regex("     6: 無効な命令です「FOO " + lone + "」"))) << lines[4];
  EXPECT_TRUE(std::regex_match(lines[5], std::regex("     7: 無効な命令です「FOO " + lone + "」"))) << lines[5];
}

// A lead byte followed by a byte that cannot be a second byte (here ";" and then, in the log, the
// line end) is a lone byte too: the printed log keeps one line per log line.
// Found by fuzzing (tests/fuzz/regressions): the lead byte used to end the value before ";", and the
// conversion of the log to UTF-8 paired it with the "\n" after it, printing two log lines as one.
TEST(CliBadInput, LeadByteBeforeASeparatorKeepsTheLogLines) {
  TempDir dir;
  const RunResult r = runBytes(dir, "#VAR\r\nb=1\x9d;x\r\nc\r\nd=\x82\t\r\ne\r\n");
  expectWellFormedLog(r.out);
  const auto lines = splitLines(r.out);
  ASSERT_EQ(lines.size(), 4u) << r.out;
  EXPECT_EQ(lines[1], "     2: 変数定義(19):「c」 初期値:");
  EXPECT_EQ(lines[3], "     4: 変数定義(21):「e」 初期値:");
}

TEST(CliBadInput, UnterminatedDoubleQuoteRunsToTheLineEnd) {
  TempDir dir;
  const RunResult r = runBytes(dir, sjisScript({"#VAR", "i=0", "#LIST", "l=a,\"b,c", "#DRAW", "FOO \"abc, def",
                                                "TEN i,\"1,2,3", "TEN i,\""}));
  EXPECT_EQ(r.out, logLine(1, "変数定義(18):「i」 初期値:0") + logLine(3, "変数リスト定義(1):「l」 要素数:2") +
                       logLine(5, "無効な命令です「FOO \"abc, def」") + logLine(6, "点作図 (<1> 0,0,0)") +
                       logLine(7, "点作図 (<2> 0,0,0)"));
}

TEST(CliBadInput, OneMegabyteLines) {
  TempDir dir;
  const std::string mb(1 << 20, 'x');
  std::string sum = "1";
  while (sum.size() < (1u << 20)) sum += "+1";
  const std::string text = sjisScript({"#VAR", "i=0", mb + "=1", "#DRAW", "CAL i = " + sum, "#IF " + sum, "CLEAR",
                                       "#END", "FOO " + mb, "#GOTO *" + mb, "*" + mb, "TEN i " + mb});
  const RunResult r = runBytes(dir, text);
  const auto lines = splitLines(r.out);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], "     1: 変数定義(18):「i」 初期値:0");  // a name over 16 bytes is ignored
  EXPECT_EQ(lines[1], "     4: [L:-1] Analyse Error");
  EXPECT_EQ(lines[2], "     5: IF文 " + sum);
  EXPECT_EQ(lines[3], "     5: 不正なIF文です。[L:41] ");
  EXPECT_EQ(lines[4], "     8: 無効な命令です「FOO " + mb + "」");
  EXPECT_EQ(lines[5], "     9: GOTO文 *" + mb + "(46行目へ)");
  EXPECT_EQ(lines[6], "    11: 点作図 (<1> 0,0,0)");
}

TEST(CliBadInput, MillionLineScriptNumbersItsLogLinesBeyondSixDigits) {
  TempDir dir;
  std::string text = "#VAR\r\ni=0\r\n#DRAW\r\n";
  for (int k = 0; k < 1000000; ++k) text += "\r\n";
  text += "TEN i,1,2,3\r\n";
  const RunResult r = runBytes(dir, text);
  EXPECT_EQ(r.out, logLine(1, "変数定義(18):「i」 初期値:0") + "1000003: 点作図 (<1> 1,2,3)\n");
}

TEST(CliBadInput, MillionCalculationLinesFinish) {
  TempDir dir;
  std::string text = "#VAR\r\ni=0\r\n#DRAW\r\n";
  for (int k = 0; k < 1000000; ++k) text += "CAL i = i + 1\r\n";
  const RunResult r = runBytes(dir, text, {"--log-off", "--vars", dir.file("v.txt")});
  EXPECT_NE(readFile(dir.file("v.txt")).find("\ti\t1000000\n"), std::string::npos);
  // A guard against work that grows with the square of the script, not a speed target (bench/ has those).
  EXPECT_LT(r.seconds, 60.0);
  RecordProperty("seconds", std::to_string(r.seconds));
}

TEST(CliBadInput, TenThousandNestedBlocks) {
  TempDir dir;
  struct Case {
    const char* open;
    size_t logLines;  // besides the declaration
    const char* i;
  };
  for (const Case& c : {Case{"#IF 1", 10002, "1"}, Case{"#IF 0", 1, "0"}, Case{"#WHILE i < 1", 20002, "1"}}) {
    std::string text = "#VAR\r\ni=0\r\n#DRAW\r\n";
    for (int k = 0; k < 10000; ++k) text += std::string(c.open) + "\r\n";
    text += "CAL i = i + 1\r\n";
    for (int k = 0; k < 10000; ++k) text += "#END\r\n";
    const RunResult r = runBytes(dir, text, {"--vars", dir.file("v.txt")});
    EXPECT_EQ(splitLines(r.out).size(), 1 + c.logLines) << c.open;
    EXPECT_NE(readFile(dir.file("v.txt")).find(std::string("\ti\t") + c.i + "\n"), std::string::npos) << c.open;
  }
}

TEST(CliBadInput, ControlLinesWithoutTheirBlock) {
  TempDir dir;
  const RunResult r = runBytes(
      dir, sjisScript({"#VAR", "i=0", "#DRAW", "#END", "#ELSE", "#END", "TEN i,1,2,3", "#IF 0", "TEN i,4,5,6",
                       "#WHILE 0", "TEN i,7,8,9"}));
  EXPECT_EQ(r.out, logLine(1, "変数定義(18):「i」 初期値:0") + logLine(4, "ELSE文  #IF行:-1 #END行:-1") +
                       logLine(6, "点作図 (<1> 1,2,3)") + logLine(7, "IF文 0") +
                       logLine(7, "ELSE/END文がありません。[L:43] ") + logLine(8, "点作図 (<2> 4,5,6)") +
                       logLine(9, "WHILE文 0") + logLine(9, "END文がありません。[L:45] ") +
                       logLine(10, "点作図 (<3> 7,8,9)"));
}

// The evaluator's tables hold 256 entries: the postfix queue (operands and operators) and the
// operator stack (with "(" at the bottom). An expression that needs more is an "Analyse Error".
TEST(CliBadInput, ExpressionsBeyondTheTableLimits) {
  TempDir dir;
  auto ones = [](int n, const char* op) {
    std::string s = "1";
    for (int k = 1; k < n; ++k) s += std::string(op) + "1";
    return s;
  };
  auto nested = [](int n) { return std::string(static_cast<size_t>(n), '(') + "1" + std::string(static_cast<size_t>(n), ')'); };
  const std::vector<std::pair<std::string, std::string>> cases = {
      {ones(128, "+"), "(結果)：128→x"},   {ones(129, "+"), "[L:-1] Analyse Error"},
      {"-" + ones(128, "+"), "(結果)：126→x"}, {"-" + ones(129, "+"), "[L:-1] Analyse Error"},
      {ones(300, "+"), "[L:-1] Analyse Error"}, {ones(300, "*"), "[L:-1] Analyse Error"},
      {ones(300, "^"), "[L:-1] Analyse Error"}, {nested(255), "(結果)：1→x"},
      {nested(256), "[L:-1] Analyse Error"},   {nested(300), "[L:-1] Analyse Error"},
      {std::string(31, 'a'), "[L:-1] Variable Error"}, {std::string(32, 'a'), "[L:-1] Syntax Error"},
      {"1" + std::string(31, '0'), "(結果)：1E31→x"}, {"1" + std::string(32, '0'), "[L:-1] Syntax Error"},
  };
  std::vector<std::string> lines = {"#VAR", "x", "#DRAW"};
  for (const auto& c : cases) lines.push_back("CAL x = " + c.first);
  const std::string o300 = ones(300, "+");
  lines.insert(lines.end(), {"#CALC", "x = " + o300, "#IF " + o300, "#END", "#WHILE " + o300, "#END"});
  const RunResult r = runBytes(dir, sjisScript(lines));
  const auto out = splitLines(r.out);
  std::vector<std::string> results;  // the last log line of every CAL line
  for (const auto& l : out)
    if (l.find("(結果)") != std::string::npos || l.find("Error") != std::string::npos) results.push_back(l.substr(8));
  ASSERT_EQ(results.size(), cases.size() + 1) << r.out.substr(0, 2000);
  for (size_t k = 0; k < cases.size(); ++k) EXPECT_EQ(results[k], cases[k].second) << cases[k].first.substr(0, 40);
  const long long calc = 3 + static_cast<long long>(cases.size()) + 1;  // body line of the #CALC line
  EXPECT_EQ(results.back(), "[L:" + std::to_string(36 + calc) + "] Analyse Error");
  EXPECT_NE(r.out.find(logLine(calc + 1, "不正なIF文です。[L:" + std::to_string(36 + calc + 1) + "] ")), std::string::npos);
  EXPECT_NE(r.out.find(logLine(calc + 3, "不正なWHILE文です。[L:" + std::to_string(36 + calc + 3) + "] ")),
            std::string::npos);
}

TEST(CliBadInput, HugeAndTinyNumbers) {
  TempDir dir;
  const RunResult r = runBytes(
      dir, sjisScript({"#VAR", "x", "y", "p", "#DRAW", "CAL x = 1e400", "CAL y = -1e-400", "CAL y = 1e4000*1e4000",
                       "CAL y = y + 1", "CAL y = 1e5000", "TEN p,1e400,-1e-400,1e308", "TEN p,x,-0,-1e-300",
                       "LAYER 1e400", "PEN 99999999999", "DELEFIG 1e400"}),
      {"--table", dir.file("t.tsv")});
  EXPECT_EQ(r.out, logLine(1, "変数定義(18):「x」 初期値:") + logLine(2, "変数定義(19):「y」 初期値:") +
                       logLine(3, "変数定義(20):「p」 初期値:") + logLine(5, "式計算：1e400") +
                       logLine(5, "(結果)：1E400→x") + logLine(6, "式計算：-1e-400") +
                       logLine(6, "(結果)：-1E-400→y") + logLine(7, "式計算：1e4000*1e4000") +
                       logLine(7, "(結果)：INF→y") + logLine(8, "[L:-1] Variable Error") +
                       logLine(9, "[L:-1] Syntax Error") + logLine(10, "点作図 (<1> 0,0,1E308)") +
                       logLine(11, "点作図 (<2> 0,0,-1E-300)") + logLine(12, "レイヤ設定 (0)") +
                       logLine(13, "ペン設定 (1)") + logLine(14, "DELEFIG(0) ？ (FIGN=2)"));
  // A draw argument is a 64-bit number: what does not fit reads as 0, never as an infinite value.
  const auto table = splitLines(readFile(dir.file("t.tsv")));
  ASSERT_EQ(table.size(), 3u);
  EXPECT_EQ(table[1], "1\t○\t点\t0\t1\t0\t0\t1E308\t0\t0\t0\t0\t0\t0\t0\t0\t0");
  EXPECT_EQ(table[2], "2\t○\t点\t0\t1\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0");  // -1e-300 rounds to 0
}

TEST(CliBadInput, NamesOfSeventeenBytes) {
  TempDir dir;
  const std::string n16 = "abcdefghijklmnop", n17 = n16 + "q";
  const RunResult r = runBytes(
      dir, sjisScript({"#VAR", n17 + "=1", n16 + "=2", "直径直径直径直径=3", "直径直径直径直径直=4", "x", "#LIST",
                       n17 + "=a,b", n16 + "=a,b", "#DRAW", "CAL " + n17 + " = 1", "CAL x = " + n17,
                       "TEN " + n17 + ",1,2,3", "TEN 直径直径直径直径,1,2,3"}));
  EXPECT_EQ(r.out, logLine(2, "変数定義(18):「" + n16 + "」 初期値:2") +
                       logLine(3, "変数定義(19):「直径直径直径直径」 初期値:3") +
                       logLine(5, "変数定義(20):「x」 初期値:") + logLine(7, "定義エラー(" + n17 + "=a,b)") +
                       logLine(8, "変数リスト定義(1):「" + n16 + "」 要素数:2") +
                       logLine(10, "[L:-1] 代入変数が宣言されていません。") + logLine(11, "[L:-1] Variable Error") +
                       logLine(12, "TEN: 出力変数名が未定義です。") + logLine(13, "点作図 (<1> 1,2,3)"));
}

TEST(CliBadInput, GotoIntoTheMiddleOfALoop) {
  TempDir dir;
  const RunResult r = runBytes(dir, sjisScript({"#VAR", "i=-20", "#DRAW", "#GOTO *IN", "#WHILE i < 3", "CAL i = i + 1",
                                                "*IN", "CAL i = i + 10", "#END"}));
  // The jump lands after the label; the loop's #END then tests its condition and goes back as usual.
  EXPECT_EQ(r.out, logLine(1, "変数定義(18):「i」 初期値:-20") + logLine(3, "GOTO文 *IN(42行目へ)") +
                       logLine(7, "式計算：i+10") + logLine(7, "(結果)：-10→i") + logLine(8, "WHILEのEND文 i<3") +
                       logLine(5, "式計算：i+1") + logLine(5, "(結果)：-9→i") + logLine(6, "ラベル*IN") +
                       logLine(7, "式計算：i+10") + logLine(7, "(結果)：1→i") + logLine(8, "WHILEのEND文 i<3") +
                       logLine(5, "式計算：i+1") + logLine(5, "(結果)：2→i") + logLine(6, "ラベル*IN") +
                       logLine(7, "式計算：i+10") + logLine(7, "(結果)：12→i") + logLine(8, "WHILEのEND文 i<3"));
}

TEST(CliBadInput, EndlessLoopUnderMaxSteps) {
  TempDir dir;
  const RunResult r = runBytes(dir, sjisScript({"#WHILE 1", "#END"}), {"--max-steps", "100036"});
  // 36 header lines, then the #WHILE once and the #END 99,999 times.
  const auto lines = splitLines(r.out);
  ASSERT_EQ(lines.size(), 100000u);
  EXPECT_EQ(lines.front(), "     0: WHILE文 1");
  EXPECT_EQ(lines.back(), "     1: WHILEのEND文 1");
}

}  // namespace
}  // namespace kubrix::clitest
