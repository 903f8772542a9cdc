// kubrix-run: the files it reads (plain and protected scripts) and writes (data table, variables,
// parameter grid, exports), and what happens when one cannot be read or written.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>

#include "files/script_file.h"
#include "tests/cli/cli_run.h"

namespace kubrix::clitest {
namespace {

const std::vector<std::string> kFigureScript = {
    "#VAR",
    "a",
    "w=2.5;*幅",
    "z=0;*高さ",
    "s=abc;*文字列",
    "r=1.23456;*半径",
    "#LIST",
    "sz=M6,M8,\"M10,fine\"",
    "e=,",
    "#DRAW",
    "LAYER 3",
    "PEN 5",
    "LINE a,0,0,0,1,2,3",
    "TEN a,0.1,1e-5,-7",
    "LAYER 0",
    "3SOLID a,0,0,0,1,0,0,0,1,0",
    "PEN 255",
    "4SOLID a,0,0,0,1,0,0,1,1,0,0,1,123456789012345678",
    "DELEFIG 2",
};

const char* kTableHeader = "No\t有無\tTYP\tLAY\tCOL\tP1X\tP1Y\tP1Z\tP2X\tP2Y\tP2Z\tP3X\tP3Y\tP3Z\tP4X\tP4Y\tP4Z\n";

TEST(CliOutputs, TableVarsAndGridFilesHoldTheStoresAfterTheRun) {
  TempDir dir;
  const auto script = dir.write("fig.kx", sjisScript(kFigureScript));
  const RunResult r = runCli({"--log-off", "--table", dir.file("t.tsv"), "--vars", dir.file("v.txt"), "--grid",
                              dir.file("g.txt"), script});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(readFile(dir.file("t.tsv")),
            std::string(kTableHeader) +
                "1\t○\t直線\t3\t5\t0\t0\t0\t1\t2\t3\t0\t0\t0\t0\t0\t0\n"
                "2\t－\t点\t3\t5\t0.1\t1E-5\t-7\t0\t0\t0\t0\t0\t0\t0\t0\t0\n"
                "3\t○\t三角面\t0\t5\t0\t0\t0\t1\t0\t0\t0\t1\t0\t0\t0\t0\n"
                "4\t○\t四角面\t0\t255\t0\t0\t0\t1\t0\t0\t1\t1\t0\t0\t1\t1.23456789012346E17\n");
  std::string vars;
  for (int n = 1; n <= 7; ++n)
    vars += "\tSetLineLay" + std::to_string(n) + "\t0\n\tSetLineCol" + std::to_string(n) + "\t" + std::to_string(n) + "\n";
  vars += "\tSetArcSep\t24\n\tSetCrvSep\t10\n\tSetCorSep\t5\n";
  vars += "\ta\t4\n*幅\tw\t2.5\n*高さ\tz\t0\n*文字列\ts\tabc\n*半径\tr\t1.23456\n";
  vars += "LIST\tsz\t3\n\tM6\n\tM8\n\tM10,fine\nLIST\te\t2\n\t\n\t\n";
  EXPECT_EQ(readFile(dir.file("v.txt")), vars);
  // Numbers rounded to four places, 0 as "---", text parameters as they are.
  EXPECT_EQ(readFile(dir.file("g.txt")), "*幅\tw\t2.5\n*高さ\tz\t---\n*文字列\ts\tabc\n*半径\tr\t1.2346\n");
}

TEST(CliOutputs, EmptyStoresGiveTheHeaderLineAndEmptyFiles) {
  TempDir dir;
  const auto script = dir.write("clear.kx", "CLEAR\r\n");
  const RunResult r = runCli({"--table", dir.file("t.tsv"), "--grid", dir.file("g.txt"), script});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(readFile(dir.file("t.tsv")), kTableHeader);
  EXPECT_EQ(readFile(dir.file("g.txt")), "");
}

TEST(CliOutputs, DataTableHasNoRowLimit) {
  TempDir dir;
  const auto script =
      dir.write("many.kx", sjisScript({"#VAR", "i=0", "a", "#DRAW", "#WHILE i < 40000", "TEN a,i,0,0", "CAL i = i + 1", "#END"}));
  const RunResult r = runCli({"--log-off", "--table", dir.file("t.tsv"), script});
  EXPECT_EQ(r.exitCode, 0);
  const auto lines = splitLines(readFile(dir.file("t.tsv")));
  ASSERT_EQ(lines.size(), 40001u);
  EXPECT_EQ(lines[32766], "32766\t○\t点\t0\t1\t32765\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0");
  EXPECT_EQ(lines[40000], "40000\t○\t点\t0\t1\t39999\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0");
}

TEST(CliOutputs, UnwritableFileGivesStatusOneNamingItButTheRestIsWritten) {
  TempDir dir;
  const auto script = dir.write("fig.kx", sjisScript(kFigureScript));
  const std::string missingDir = dir.file("no/such/dir/t.tsv");
  for (const auto& [option, bad] : std::vector<std::pair<std::string, std::string>>{
           {"--table", missingDir}, {"--vars", dir.path().string()}, {"--grid", "/dev/full"}}) {
    std::vector<std::string> args = {option, bad, script};
    // One good output beside the bad one.
    const std::string good = option == "--table" ? "--vars" : "--table";
    args.insert(args.begin(), {good, dir.file("good.txt")});
    std::filesystem::remove(dir.file("good.txt"));
    const RunResult r = runCli(args);
    EXPECT_EQ(r.exitCode, 1) << option;
    EXPECT_NE(r.err.find(bad), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("直線作図 (<1> 0,0,0 - 1,2,3)"), std::string::npos);  // the log is printed as usual
    EXPECT_TRUE(fileExists(dir.file("good.txt"))) << option;
    EXPECT_FALSE(readFile(dir.file("good.txt")).empty());
  }
}

TEST(CliOutputs, ExportWritesEveryFormatByItsExtensionAfterTheRun) {
  TempDir dir;
  const auto script = dir.write("fig.kx", sjisScript(kFigureScript));
  std::vector<std::string> args = {"--table", dir.file("t.tsv")};
  const std::vector<std::string> names = {"m.dxf", "m.stl", "m.obj", "m.wrl", "m.x3d", "m.dae", "UP.STL", "b.Obj"};
  for (size_t i = 0; i < names.size(); ++i) {
    args.push_back(i % 2 == 0 ? "-o" : "--output");
    args.push_back(dir.file(names[i]));
  }
  args.push_back(script);
  const RunResult r = runCli(args);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("直線作図 (<1> 0,0,0 - 1,2,3)"), std::string::npos);  // the log as usual
  EXPECT_TRUE(fileExists(dir.file("t.tsv")));
  EXPECT_EQ(readFile(dir.file("m.dxf")).substr(0, 21), "  0\r\nSECTION\r\n  2\r\nHE");
  EXPECT_EQ(readFile(dir.file("m.stl")).substr(0, 13), "solid m.stl\r\n");
  EXPECT_EQ(readFile(dir.file("UP.STL")).substr(0, 14), "solid UP.STL\r\n");
  EXPECT_EQ(readFile(dir.file("m.obj")).substr(0, 14), "# m.obj\r\n#\r\nv ");
  EXPECT_EQ(readFile(dir.file("b.Obj")).substr(0, 9), "# b.Obj\r\n");
  EXPECT_EQ(readFile(dir.file("m.wrl")).substr(0, 17), "#VRML V2.0 utf8\r\n");
  EXPECT_NE(readFile(dir.file("m.x3d")).find("<meta name='filename' content='m.x3d' />"), std::string::npos);
  EXPECT_NE(readFile(dir.file("m.dae")).find("<geometry id=\"layer3-C5\""), std::string::npos);
  // The deleted point is not written; the live line, triangle and quad are.
  EXPECT_EQ(readFile(dir.file("m.obj")).find("\np "), std::string::npos);
}

TEST(CliOutputs, ExportThatCannotBeWrittenGivesStatusOneWithItsMessage) {
  TempDir dir;
  const auto script = dir.write("fig.kx", sjisScript(kFigureScript));
  const auto empty = dir.write("empty.kx", sjisScript({"CLEAR"}));
  std::filesystem::create_symlink("/dev/full", dir.file("full.obj"));
  struct Case {
    std::string script, out, message;
  };
  const std::vector<Case> cases = {
      {script, dir.file("no/such/dir/m.stl"), "No such file or directory"},
      {script, dir.file("模型.dae"), "ファイル名に全角文字（漢字、２バイト系記号文字等）を使用する事は出来ません。"},
      {script, dir.file("模型.wrl"), "ファイル名に全角文字（漢字、２バイト系記号文字等）を使用する事は出来ません。"},
      {script, dir.file("模型.x3d"), "ファイル名に全角文字（漢字、２バイト系記号文字等）を使用する事は出来ません。"},
      {script, dir.file("full.obj"), "No space left on device"},  // a link to /dev/full
      {empty, dir.file("e.obj"), "図形データがありません。"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(dir.file("t.tsv"));
    const RunResult r = runCli({"--log-off", "-o", c.out, "--table", dir.file("t.tsv"), c.script});
    EXPECT_EQ(r.exitCode, 1) << c.out;
    EXPECT_EQ(r.err, "kubrix-run: cannot write " + c.out + ": " + c.message + "\n");
    EXPECT_TRUE(fileExists(dir.file("t.tsv")));  // the run and the other outputs still happen
  }
  // Nothing half-written is left; a Japanese name is fine for the other formats.
  const RunResult ok = runCli({"--log-off", "-o", dir.file("模型.stl"), script});
  EXPECT_EQ(ok.exitCode, 0) << ok.err;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
    const std::string name = e.path().filename().string();
    EXPECT_TRUE(name == "fig.kx" || name == "empty.kx" || name == "t.tsv" || name == "模型.stl" || name == "full.obj")
        << name;
  }
  // Two failing outputs: both are named, the good one between them is written.
  const RunResult both = runCli({"--output", dir.file("x/a.obj"), "-o", dir.file("g.dxf"), "-o", dir.file("x/b.wrl"), script});
  EXPECT_EQ(both.exitCode, 1);
  EXPECT_NE(both.err.find("a.obj"), std::string::npos);
  EXPECT_NE(both.err.find("b.wrl"), std::string::npos);
  EXPECT_TRUE(fileExists(dir.file("g.dxf")));
}

// Past a file-size limit the export fails (EFBIG) instead of killing the runner, and the earlier file
// of that name is kept.
TEST(CliOutputs, ExportPastTheFileSizeLimitKeepsTheEarlierFile) {
  TempDir dir;
  const auto script = dir.write(
      "many.kx", sjisScript({"#VAR", "i=0", "a", "#DRAW", "#WHILE i < 20000", "LINE a,i,0,0,i,1,2", "CAL i = i + 1", "#END"}));
  const std::string out = dir.file("m.dxf");
  const std::string before = "an earlier export\r\n";
  dir.write("m.dxf", before);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 100000;  // the child inherits it; this process writes nothing that large meanwhile
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const RunResult r = runCli({"--log-off", "-o", out, script});
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "kubrix-run: cannot write " + out + ": File too large\n");
  EXPECT_EQ(readFile(out), before);
  size_t files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 2u);  // the script and the earlier file, no partial one
}

TEST(CliOutputs, ExportWithAnUnknownExtensionIsAUsageErrorBeforeTheRun) {
  TempDir dir;
  const auto script = dir.write("fig.kx", sjisScript(kFigureScript));
  for (const char* out : {"m.pdf", "m.jpg", "noextension", "dir.dxf/m", "dir.png/m"}) {
    const RunResult r = runCli({"-o", dir.file(out), "--table", dir.file("t.tsv"), script});
    EXPECT_EQ(r.exitCode, 2) << out;
    EXPECT_EQ(r.out, "");  // nothing ran
    EXPECT_EQ(r.err.rfind("kubrix-run: ", 0), 0u) << r.err;
    EXPECT_FALSE(fileExists(dir.file("t.tsv")));
  }
}

TEST(CliScriptFile, MissingScriptIsStatusTwoWithAMessage) {
  TempDir dir;
  const RunResult r = runCli({dir.file("none.kx")});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find(dir.file("none.kx")), std::string::npos) << r.err;
}

// A directory cannot be read as a script: it is not an empty script.
TEST(CliScriptFile, DirectoryIsNotAReadableScript) {
  TempDir dir;
  const RunResult r = runCli({"--status", dir.path().string()});
  EXPECT_EQ(r.exitCode, 2) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find(dir.path().string()), std::string::npos) << r.err;
}

// Protected scripts: every non-empty trimmed line is one record; the body is the records in order.
TEST(CliScriptFile, ProtectedScriptRunsItsRecords) {
  TempDir dir;
  const std::vector<std::string> lines = {sj("#VAR"), "", sj("  d=10;*直径  "), "\t", sj("#DRAW"), sj("CAL d = d + 1"),
                                          sj("TEN d,1,2,3")};
  const std::string bytes = *kubrix::writeProtectedScript(sj("テスト"), sj("作者"), lines);
  const std::string expected = logLine(1, "変数定義(18):*直径「d」 初期値:10") + logLine(3, "式計算：d+1") +
                               logLine(3, "(結果)：11→d") + logLine(4, "点作図 (<1> 1,2,3)");
  for (const char* name : {"p.kxp", "P.KXP"}) {
    const RunResult r = runCli({dir.write(name, bytes)});
    EXPECT_EQ(r.exitCode, 0) << name << r.err;
    EXPECT_EQ(r.out, expected) << name;
  }
  // The encoding option concerns plain scripts only.
  const RunResult u = runCli({"--encoding", "utf8", dir.file("p.kxp")});
  EXPECT_EQ(u.out, expected);
}

TEST(CliScriptFile, DamagedProtectedScriptIsStatusTwo) {
  TempDir dir;
  const std::string good = *kubrix::writeProtectedScript("c", "n", {"#VAR", "d=1"});
  for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::string>>{
           {"nomarker.kxp", "#VAR\r\nd=1\r\n"},
           {"short.kxp", "KXP"},
           {"truncated.kxp", good.substr(0, good.size() - 2)},
           {"badlength.kxp", good + "\xFF\xFF" + "abc"}}) {
    const RunResult r = runCli({dir.write(name, bytes)});
    EXPECT_EQ(r.exitCode, 2) << name;
    EXPECT_EQ(r.out, "") << name;
    EXPECT_NE(r.err.find(name), std::string::npos) << r.err;
  }
}

TEST(CliScriptFile, PlainScriptLineEndsMayBeCrLfLfOrCr) {
  TempDir dir;
  const std::string expected = logLine(1, "変数定義(18):「i」 初期値:1") + logLine(3, "点作図 (<1> 1,0,0)");
  for (const std::string& eol : {std::string("\r\n"), std::string("\n"), std::string("\r")}) {
    const std::string text = "#VAR" + eol + "i=1" + eol + "#DRAW" + eol + "TEN i,i,0,0";  // no final line end
    const RunResult r = runCli({dir.write("eol.kx", text)});
    EXPECT_EQ(r.out, expected);
  }
}

}  // namespace
}  // namespace kubrix::clitest
