// kubrix-run: ending the walk early with --max-steps and with SIGINT, as the Escape key does; the run
// still counts as done (status 0) and every output is written.
#include <gtest/gtest.h>

#include <regex>

#include "tests/cli/cli_run.h"

namespace kubrix::clitest {
namespace {

// The value of variable name in a --vars file, or "?" when it is not there.
std::string varValue(const std::string& varsText, const std::string& name) {
  for (const auto& line : splitLines(varsText)) {
    const std::string prefix = "\t" + name + "\t";
    const size_t at = line.find(prefix);
    if (at != std::string::npos && line.find('\t') == at) return line.substr(at + prefix.size());
  }
  return "?";
}

const std::regex kDoneStatus("\nスクリプト終了しました。（\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d）\n");

// The header's 36 lines are steps 1 to 36; the body lines 0 to 2 are steps 37 to 39, the label 40;
// then every pass is the CAL line and the #GOTO (the jump resumes after the label).
const std::vector<std::string> kGotoLoop = {"#VAR", "i=0", "#DRAW", "*L", "CAL i = i + 1", "#GOTO *L"};

TEST(CliMaxSteps, EndsTheWalkAfterExactlyNExecutedLines) {
  TempDir dir;
  const auto script = dir.write("loop.kx", sjisScript(kGotoLoop));
  struct Case {
    int steps;
    const char* i;
  };
  for (const Case& c : {Case{41, "1"}, Case{42, "1"}, Case{43, "2"}, Case{239, "100"}, Case{240, "100"},
                        Case{241, "101"}, Case{38, "0"}}) {
    const RunResult r = runCli({"--log-off", "--max-steps", std::to_string(c.steps), "--vars", dir.file("v.txt"), script});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(varValue(readFile(dir.file("v.txt")), "i"), c.i) << "--max-steps " << c.steps;
  }
}

TEST(CliMaxSteps, LogOfAShortenedLoop) {
  TempDir dir;
  const auto script = dir.write("loop.kx", sjisScript(kGotoLoop));
  const RunResult r = runCli({"--max-steps", "44", script});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, logLine(1, "変数定義(18):「i」 初期値:0") + logLine(3, "ラベル*L") + logLine(4, "式計算：i+1") +
                       logLine(4, "(結果)：1→i") + logLine(5, "GOTO文 *L(39行目へ)") + logLine(4, "式計算：i+1") +
                       logLine(4, "(結果)：2→i") + logLine(5, "GOTO文 *L(39行目へ)"));
}

TEST(CliMaxSteps, StepsWithinTheHeaderLeaveTheBodyUnrun) {
  TempDir dir;
  const auto script = dir.write("loop.kx", sjisScript(kGotoLoop));
  const RunResult r = runCli({"--max-steps", "36", "--vars", dir.file("v.txt"), script});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "");
  const std::string vars = readFile(dir.file("v.txt"));
  EXPECT_EQ(varValue(vars, "SetCorSep"), "5");
  EXPECT_EQ(varValue(vars, "i"), "?");
}

TEST(CliMaxSteps, EndlessLoopEndsWithEveryOutputWritten) {
  TempDir dir;
  const auto script =
      dir.write("endless.kx", sjisScript({"#VAR", "i=0", "p", "#DRAW", "#WHILE 1", "TEN p,i,0,0", "CAL i = i + 1", "#END"}));
  const RunResult r = runCli({"--max-steps", "200000", "--status", "--table", dir.file("t.tsv"), "--vars",
                              dir.file("v.txt"), "--grid", dir.file("g.txt"), script},
                             RunOptions{std::chrono::milliseconds(20000), {}, dir.file("log.txt"), {}});
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(std::regex_match(r.err, kDoneStatus)) << r.err;
  // Steps 1-40 are the header and the first body lines, 41 the #WHILE; then TEN, CAL and #END are
  // steps 42 + 3k, 43 + 3k and 44 + 3k.
  EXPECT_EQ(varValue(readFile(dir.file("v.txt")), "i"), std::to_string((200000 - 43) / 3 + 1));
  EXPECT_EQ(splitLines(readFile(dir.file("t.tsv"))).size(), 1u + (200000 - 42) / 3 + 1);
  EXPECT_TRUE(fileExists(dir.file("g.txt")));
  const std::string log = readFile(dir.file("log.txt"));
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), '\n');
}

// The runner's SIGINT handler ends the walk as the Escape key does.
TEST(CliInterrupt, SigintEndsAnEndlessLoopAndTheOutputsAreWritten) {
  TempDir dir;
  const auto script = dir.write("endless.kx", sjisScript({"#VAR", "i=0", "#DRAW", "*L", "CAL i = i + 1", "#GOTO *L"}));
  RunOptions o;
  o.sigintAfter = std::chrono::milliseconds(300);
  o.limit = std::chrono::milliseconds(10000);
  const RunResult r =
      runCli({"--log-off", "--status", "--vars", dir.file("v.txt"), "--table", dir.file("t.tsv"), script}, o);
  EXPECT_FALSE(r.timedOut) << "SIGINT did not end the walk";
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(std::regex_match(r.err, kDoneStatus)) << r.err;
  EXPECT_GT(std::stoll(varValue(readFile(dir.file("v.txt")), "i")), 0);
  EXPECT_EQ(readFile(dir.file("t.tsv")).substr(0, 3), "No\t");
}

TEST(CliInterrupt, SigintWithTheLogOnLeavesACompleteLog) {
  TempDir dir;
  const auto script = dir.write("endless.kx", sjisScript({"#VAR", "i=0", "#DRAW", "#WHILE 1", "CAL i = i + 1", "#END"}));
  RunOptions o;
  o.sigintAfter = std::chrono::milliseconds(300);
  o.limit = std::chrono::milliseconds(10000);
  o.stdoutFile = dir.file("log.txt");
  const RunResult r = runCli({"--vars", dir.file("v.txt"), script}, o);
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.exitCode, 0);
  const std::string log = readFile(dir.file("log.txt"));
  ASSERT_FALSE(log.empty());
  ASSERT_EQ(log.back(), '\n');
  // The last result line written names the value the variable store holds.
  const std::string i = varValue(readFile(dir.file("v.txt")), "i");
  const size_t last = log.rfind("(結果)：");
  ASSERT_NE(last, std::string::npos);
  EXPECT_EQ(log.substr(last, log.find('\n', last) - last), "(結果)：" + i + "→i");
}

}  // namespace
}  // namespace kubrix::clitest
