// The fuzzer's seed corpus and the reproducers of its findings (tests/fuzz/corpus, tests/fuzz/regressions)
// run through kubrix-run with a step limit, and through an engine in this process as the fuzz target
// runs them: a finding that was fixed stays fixed.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "files/settings.h"
#include "engine/engine.h"
#include "engine/sjis.h"
#include "tests/cli/cli_run.h"

namespace kubrix::clitest {
namespace {

constexpr const char* kMaxSteps = "20000";

std::vector<std::string> fuzzInputs() {
  std::vector<std::string> files;
  for (const char* sub : {"corpus", "regressions"}) {
    const std::filesystem::path dir = std::filesystem::path(KUBRIX_FUZZ_DIR) / sub;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(dir, ec))
      if (e.is_regular_file() && e.path().filename().string()[0] != '.') files.push_back(e.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
  const std::filesystem::path p(info.param);
  std::string name = p.parent_path().filename().string() + "_" + p.filename().string();
  for (char& c : name)
    if (!isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

// "%6d: " or a longer number, then ": ".
bool hasLogPrefix(std::string_view line) {
  size_t digits = 0, i = 0;
  while (i < line.size() && line[i] == ' ') ++i;
  while (i + digits < line.size() && isdigit(static_cast<unsigned char>(line[i + digits]))) ++digits;
  const size_t end = i + digits;
  return digits > 0 && end >= 6 && (i == 0 || end == 6) && line.substr(end, 2) == ": ";
}

class FuzzInput : public ::testing::TestWithParam<std::string> {};

// The printed log holds exactly the engine's log lines, each with its line number.
TEST_P(FuzzInput, RunsThroughTheRunnerWithAWellFormedLog) {
  RunOptions o;
  o.limit = std::chrono::milliseconds(30000);
  const RunResult r = runCli({"--max-steps", kMaxSteps, "--encoding", "sjis", "--vars", "/dev/null", "--table",
                              "/dev/null", "--grid", "/dev/null", GetParam()},
                             o);
  ASSERT_FALSE(r.timedOut);
  ASSERT_EQ(r.signal, 0) << r.err;
  if (r.exitCode == 2) {  // a body the runner takes for binary data is refused with a message
    EXPECT_NE(r.err.find("binary"), std::string::npos) << r.err;
    return;
  }
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_TRUE(r.out.empty() || r.out.back() == '\n');
  const auto lines = splitLines(r.out);
  for (const auto& line : lines) ASSERT_TRUE(hasLogPrefix(line)) << "not a log line: " << line.substr(0, 120);

  const std::string body = readFile(GetParam());
  if (upper(body).find("RANDOMIZE") != std::string::npos) return;  // the clock seeds RAND: runs differ
  Host host;
  Engine engine(host);
  engine.setHeader(scriptHeader(Settings{}));
  engine.setBody(body);
  engine.maxSteps = std::stoull(kMaxSteps);
  engine.resetAndRun();
  EXPECT_EQ(lines.size(), engine.log.lineCount());
}

TEST_P(FuzzInput, RunsTwiceThroughAnEngineWithoutFault) {
  Host host;
  Engine engine(host);
  engine.setHeader(scriptHeader(Settings{}));
  engine.setBody(readFile(GetParam()));
  engine.maxSteps = std::stoull(kMaxSteps);
  engine.resetAndRun();
  engine.maxSteps = 5000;
  engine.run();
  EXPECT_LE(engine.stepsExecuted(), 5000u);
}

INSTANTIATE_TEST_SUITE_P(Files, FuzzInput, ::testing::ValuesIn(fuzzInputs()), testName);

// The seeds of the script-file fuzz target (tests/fuzz/corpus-files), whole and cut at every tenth
// byte, run as protected scripts: each either runs or is refused with a message naming the file.
TEST(FuzzScriptFiles, SeedsAndTheirCutsRunOrAreRefused) {
  TempDir dir;
  size_t seeds = 0;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(KUBRIX_FUZZ_DIR) / "corpus-files", ec)) {
    const std::string bytes = readFile(e.path().string());
    ++seeds;
    for (size_t cut = bytes.size();; cut = cut > 10 ? cut - 10 : 0) {
      const std::string path = dir.write("seed.kxp", bytes.substr(0, cut));
      const RunResult r = runCli({"--max-steps", kMaxSteps, path});
      ASSERT_EQ(r.signal, 0) << e.path() << " cut at " << cut;
      ASSERT_TRUE(r.exitCode == 0 || r.exitCode == 2) << e.path() << " cut at " << cut << r.err;
      if (r.exitCode == 2) {
        EXPECT_NE(r.err.find("seed.kxp"), std::string::npos) << r.err;
      }
      if (cut == 0) break;
    }
  }
  EXPECT_GE(seeds, 3u);
}

}  // namespace
}  // namespace kubrix::clitest
