// kubrix-run: the log on standard output, --log-off, --settings, --set, --status, --encoding, help
// and usage errors.
#include <gtest/gtest.h>

#include <regex>

#include "engine/sjis.h"
#include "tests/cli/cli_run.h"

namespace kubrix::clitest {
namespace {

// A script with a parameter, a calculation, a drawing and an unknown command; the log of its run.
const std::vector<std::string> kBasicScript = {
    "#VAR", "d=10;*直径", "a", "#DRAW", "CAL a = d * 2", "LINE a, 0, 0, 0, 10, 0, 0", "FOO 1,2",
};
const std::string kBasicLog = logLine(1, "変数定義(18):*直径「d」 初期値:10") + logLine(2, "変数定義(19):「a」 初期値:") +
                              logLine(4, "式計算：d*2") + logLine(4, "(結果)：20→a") +
                              logLine(5, "直線作図 (<1> 0,0,0 - 10,0,0)") + logLine(6, "無効な命令です「FOO 1,2」");

TEST(CliLog, PrintsExactLogLinesAsUtf8OnStandardOutput) {
  TempDir dir;
  const auto script = dir.write("basic.kx", sjisScript(kBasicScript));
  const RunResult r = runCli({script});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, kBasicLog);
  EXPECT_EQ(r.err, "");
}

TEST(CliLog, LogOffPrintsNothingButRunsTheScript) {
  TempDir dir;
  const auto script = dir.write("basic.kx", sjisScript(kBasicScript));
  const RunResult r = runCli({"--log-off", "--vars", dir.file("v.txt"), script});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  EXPECT_NE(readFile(dir.file("v.txt")).find("\ta\t1\n"), std::string::npos);  // LINE wrote its count
}

TEST(CliLog, SpeakOptionIsAccepted) {
  TempDir dir;
  const auto script = dir.write("basic.kx", sjisScript(kBasicScript));
  const RunResult r = runCli({"--speak", script});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, kBasicLog);
}

TEST(CliLog, EmptyBodyLogsNothingAndSaysSoInTheStatus) {
  TempDir dir;
  for (const std::string& body : {std::string(), std::string(" \r\n\t\r\n"), sj("　") + "\r\n"}) {
    const RunResult r = runCli({"--status", dir.write("empty.kx", body)});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "\nスクリプトが空状態です。\n");
  }
}

TEST(CliStatus, PrintsBothPanelsOnStandardErrorAfterTheRun) {
  TempDir dir;
  const auto script = dir.write("basic.kx", sjisScript(kBasicScript));
  const RunResult r = runCli({"--status", script});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, kBasicLog);
  // Panel 1 is empty after a run; panel 2 holds the end text with the elapsed time.
  EXPECT_TRUE(std::regex_match(r.err, std::regex("\nスクリプト終了しました。（\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d）\n")))
      << r.err;
}

TEST(CliStatus, ExitLineEndsTheRunWithTheSameStatus) {
  TempDir dir;
  const auto script = dir.write("exit.kx", sjisScript({"#VAR", "i=0", "#EXIT", "i=1"}));
  const RunResult r = runCli({"--status", script});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, logLine(1, "変数定義(18):「i」 初期値:0") + logLine(2, "強制終了"));
  EXPECT_TRUE(std::regex_match(r.err, std::regex("\nスクリプト終了しました。（\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d）\n")));
}

// --settings: the line settings become the CAL values of the script header.
struct SettingsCase {
  const char* ini;       // settings file text (UTF-8 here, written as CP932)
  const char* variable;  // reserved variable the script reads
  const char* expected;  // its value after the header ran
};

class CliSettings : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(CliSettings, HeaderCalLinesFollowTheLineSettings) {
  const SettingsCase& c = GetParam();
  TempDir dir;
  const auto ini = dir.write("Kubrix.ini", sj(c.ini));
  const auto script = dir.write("s.kx", sjisScript({"#VAR", "x", "#DRAW", std::string("CAL x = ") + c.variable}));
  const RunResult r = runCli({"--settings", ini, script});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, logLine(1, "変数定義(18):「x」 初期値:") + logLine(3, std::string("式計算：") + c.variable) +
                       logLine(3, std::string("(結果)：") + c.expected + "→x"));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CliSettings,
    ::testing::Values(SettingsCase{"[Set]\r\nLCol3=9\r\n", "SetLineCol3", "9"},
                      SettingsCase{"[Set]\r\nLLay1=12\r\nLCol1=200\r\n", "SetLineLay1", "12"},
                      SettingsCase{"[Set]\r\nLLay7=255\r\n", "SetLineLay7", "255"},
                      SettingsCase{"[Set]\r\nASep=48\r\nCSep=4\r\nRSep=2\r\n", "SetArcSep", "48"},
                      SettingsCase{"[Set]\r\nASep=48\r\nCSep=4\r\nRSep=2\r\n", "SetCrvSep", "4"},
                      SettingsCase{"[Set]\r\nASep=48\r\nCSep=4\r\nRSep=2\r\n", "SetCorSep", "2"},
                      // A value that is not a number reads as 0; a missing or empty key keeps the default.
                      SettingsCase{"[Set]\r\nASep=abc\r\n", "SetArcSep", "0"},
                      SettingsCase{"[Set]\r\nLCol3=\r\n", "SetLineCol3", "3"},
                      SettingsCase{"[Form]\r\nF1X=10\r\n", "SetLineCol5", "5"},
                      SettingsCase{"", "SetCorSep", "5"},
                      // Section and key names ignore case; blanks and one pair of quotes are stripped.
                      SettingsCase{"[set]\r\n lcol4 = \"17\" \r\n", "SetLineCol4", "17"}));

TEST(CliSettingsFile, Cb1TurnsTheLogOff) {
  TempDir dir;
  const auto script = dir.write("basic.kx", sjisScript(kBasicScript));
  for (const auto& [cb1, logged] : std::vector<std::pair<std::string, bool>>{{"1", false}, {"5", false}, {"0", true}}) {
    const auto ini = dir.write("Kubrix.ini", "[Comp]\r\nCB1=" + cb1 + "\r\n");
    const RunResult r = runCli({"--settings", ini, script});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, logged ? kBasicLog : "") << "CB1=" << cb1;
  }
}

TEST(CliSettingsFile, MissingFileIsAUsageError) {
  TempDir dir;
  const auto script = dir.write("basic.kx", sjisScript(kBasicScript));
  const RunResult r = runCli({"--settings", dir.file("none.ini"), script});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find(dir.file("none.ini")), std::string::npos) << r.err;
}

TEST(CliSettingsFile, WithoutTheOptionNoSettingsFileIsReadOrWritten) {
  TempDir dir;
  // A settings file in the working directory must not be used, and none is written.
  dir.write("Kubrix.ini", "[Set]\r\nLCol3=99\r\n");
  const auto script = dir.write("s.kx", sjisScript({"#VAR", "x", "#DRAW", "CAL x = SetLineCol3"}));
  RunOptions o;
  o.workDir = dir.path().string();
  const RunResult r = runCli({script}, o);
  EXPECT_NE(r.out.find("(結果)：3→x"), std::string::npos) << r.out;
  EXPECT_EQ(readFile(dir.file("Kubrix.ini")), "[Set]\r\nLCol3=99\r\n");
  size_t files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 2u);
}

// --set: the second run's log, with the stores of the first run kept.
TEST(CliSet, SecondRunUsesTheEditedValueAndKeepsTheStores) {
  TempDir dir;
  const auto script = dir.write(
      "p.kx", sjisScript({"#VAR", "d=10;*直径", "c=0", "y", "#DRAW", "CAL y = d * 2", "CAL c = c + 1"}));
  const RunResult r = runCli({"--set", "d=5", "--grid", dir.file("g.txt"), "--vars", dir.file("v.txt"), script});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, logLine(1, "変数「d」は既に定義されています。") + logLine(2, "変数「c」は既に定義されています。") +
                       logLine(3, "変数「y」は既に定義されています。") + logLine(5, "式計算：d*2") +
                       logLine(5, "(結果)：10→y") + logLine(6, "式計算：c+1") + logLine(6, "(結果)：2→c"));
  EXPECT_EQ(readFile(dir.file("g.txt")), "*直径\td\t5\n");
  EXPECT_NE(readFile(dir.file("v.txt")).find("\tc\t2\n"), std::string::npos);
}

TEST(CliSet, IsRepeatableAndFollowsTheGridEditRules) {
  TempDir dir;
  const auto script = dir.write("p.kx", sjisScript({"#VAR", "w=1;*幅", "s=a;*文字列", "直径=3;*径", "#DRAW", "CLEAR"}));
  const RunResult r = runCli(
      {"--set", "w=1.23456", "--set", "s=日本 語=x", "--set", "直径=0", "--grid", dir.file("g.txt"), script});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  // A number is rounded to four places; a text parameter keeps the text (all after the first "=");
  // 0 shows as "---".
  EXPECT_EQ(readFile(dir.file("g.txt")), "*幅\tw\t1.2346\n*文字列\ts\t日本 語=x\n*径\t直径\t---\n");
}

TEST(CliSet, UnknownNameIsAnErrorWithAMessage) {
  TempDir dir;
  const auto script = dir.write("basic.kx", sjisScript(kBasicScript));
  const RunResult r = runCli({"--set", "nosuch=1", script});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("nosuch"), std::string::npos) << r.err;
}

// --encoding: how a plain script file is read.
// The caption's UTF-8 bytes, read as CP932, make whole characters (no lead byte left at the end).
const std::vector<std::string> kEncodingScript = {"#VAR", "d=10;*直径x", "#DRAW", "CLEAR"};
const std::string kEncodingLog = logLine(1, "変数定義(18):*直径x「d」 初期値:10");

std::string utf8Script() { return crlf(kEncodingScript); }

// The log when the UTF-8 bytes of the caption are taken as CP932: printed converted from CP932.
std::string utf8CaptionReadAsSjisLog() {
  return kubrix::sjisToUtf8("     1: " + sj("変数定義(18):") + "*\xE7\x9B\xB4\xE5\xBE\x84x" + sj("「d」 初期値:10") + "\n");
}

TEST(CliEncoding, AutoReadsShiftJisUtf8AndUtf8WithBom) {
  TempDir dir;
  for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::string>>{
           {"sjis.kx", sjisScript(kEncodingScript)},
           {"utf8.kx", utf8Script()},
           {"bom.kx", "\xEF\xBB\xBF" + utf8Script()}}) {
    const auto path = dir.write(name, bytes);
    for (const std::vector<std::string>& extra : {std::vector<std::string>{}, {"--encoding", "auto"}}) {
      std::vector<std::string> args = extra;
      args.push_back(path);
      const RunResult r = runCli(args);
      EXPECT_EQ(r.exitCode, 0) << name;
      EXPECT_EQ(r.out, kEncodingLog) << name;
    }
  }
}

TEST(CliEncoding, AutoReadsUtf8WithAnInvalidByteAsShiftJis) {
  TempDir dir;
  const std::string bytes = utf8Script() + "CLEAR \xFF\r\n";
  const RunResult r = runCli({dir.write("mixed.kx", bytes)});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, utf8CaptionReadAsSjisLog());
}

TEST(CliEncoding, ForcedEncodingsReadTheBytesAsTold) {
  TempDir dir;
  const auto utf8 = dir.write("utf8.kx", utf8Script());
  const auto sjis = dir.write("sjis.kx", sjisScript(kEncodingScript));
  const RunResult asUtf8 = runCli({"--encoding", "utf8", utf8});
  EXPECT_EQ(asUtf8.out, kEncodingLog);
  const RunResult asSjis = runCli({"--encoding", "sjis", sjis});
  EXPECT_EQ(asSjis.out, kEncodingLog);
  // UTF-8 bytes read as CP932 give other characters, but the run goes on.
  const RunResult wrong = runCli({"--encoding", "sjis", utf8});
  EXPECT_EQ(wrong.exitCode, 0);
  EXPECT_EQ(wrong.out, utf8CaptionReadAsSjisLog());
  // CP932 bytes read as UTF-8 are invalid UTF-8; they must not crash the run or lose the line.
  const RunResult wrong2 = runCli({"--encoding", "utf8", sjis});
  EXPECT_EQ(wrong2.exitCode, 0);
  const auto lines = splitLines(wrong2.out);
  ASSERT_EQ(lines.size(), 1u) << wrong2.out;
  EXPECT_EQ(lines[0].substr(0, 8), "     1: ");
  EXPECT_NE(lines[0].find("「d」 初期値:10"), std::string::npos);
}

TEST(CliHelp, HelpAndVersionPrintToStandardOutputAndSucceed) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"-h"}, {"--help"}, {"--help", "missing.kx"}}) {
    const RunResult r = runCli(args);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("Usage: kubrix-run", 0), 0u) << r.out;
    for (const char* option : {"--log-off", "--settings", "--set", "--answers", "--output", "--table", "--vars",
                               "--grid", "--max-steps", "--encoding", "--status", "--version"})
      EXPECT_NE(r.out.find(option), std::string::npos) << option;
    EXPECT_EQ(r.err, "");
  }
  const RunResult v = runCli({"--version"});
  EXPECT_EQ(v.exitCode, 0);
  EXPECT_TRUE(std::regex_match(v.out, std::regex("kubrix-run \\d+\\.\\d+\\.\\d+\n"))) << v.out;
}

class CliUsageError : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(CliUsageError, ExitsWithStatusTwoAndAMessage) {
  TempDir dir;
  const auto script = dir.write("basic.kx", sjisScript(kBasicScript));
  std::vector<std::string> args;
  for (const auto& a : GetParam()) args.push_back(a == "SCRIPT" ? script : a);
  const RunResult r = runCli(args);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.rfind("kubrix-run: ", 0), 0u) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CliUsageError,
    ::testing::Values(std::vector<std::string>{}, std::vector<std::string>{"SCRIPT", "SCRIPT"},
                      std::vector<std::string>{"--bogus", "SCRIPT"}, std::vector<std::string>{"-x", "SCRIPT"},
                      std::vector<std::string>{"SCRIPT", "--max-steps"},
                      std::vector<std::string>{"--max-steps", "0", "SCRIPT"},
                      std::vector<std::string>{"--max-steps", "-5", "SCRIPT"},
                      std::vector<std::string>{"--max-steps", "12x", "SCRIPT"},
                      std::vector<std::string>{"--max-steps", "99999999999999999999999", "SCRIPT"},
                      std::vector<std::string>{"--encoding", "latin1", "SCRIPT"},
                      std::vector<std::string>{"--set", "novalue", "SCRIPT"},
                      std::vector<std::string>{"--set", "=3", "SCRIPT"}, std::vector<std::string>{"SCRIPT", "--set"},
                      std::vector<std::string>{"-o", "model.pdf", "SCRIPT"},
                      std::vector<std::string>{"--view", "top", "SCRIPT"}, std::vector<std::string>{"SCRIPT", "--view"},
                      std::vector<std::string>{"--size", "0x600", "SCRIPT"},
                      std::vector<std::string>{"--size", "800x9000", "SCRIPT"},
                      std::vector<std::string>{"--size", "800", "SCRIPT"},
                      std::vector<std::string>{"--size", "-8x6", "SCRIPT"},
                      std::vector<std::string>{"SCRIPT", "--table"}, std::vector<std::string>{"--settings"}));

}  // namespace
}  // namespace kubrix::clitest
