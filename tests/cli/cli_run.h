// Runs the built kubrix-run as a child process and captures what it prints and how it ends.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kubrix::clitest {

struct RunResult {
  int exitCode = -1;    // the exit status when the process exited normally, else -1
  int signal = 0;       // the signal that ended the process, 0 when it exited
  bool timedOut = false;  // killed because it ran past the time limit
  std::string out, err;   // standard output and standard error
  double seconds = 0;     // wall time
};

struct RunOptions {
  std::chrono::milliseconds limit{20000};
  // When set, SIGINT is sent this long after the start, as soon as the process catches it.
  std::chrono::milliseconds sigintAfter{0};
  // Standard output goes to this file instead of being captured (for runs that print a lot).
  std::string stdoutFile;
  // Working directory of the child; empty keeps the current one.
  std::string workDir;
};

// Path of the kubrix-run under test.
const char* runnerPath();

RunResult runCli(const std::vector<std::string>& args, const RunOptions& options = {});

// A fresh directory under the system temp directory, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // this directory / name, as text.
  std::string file(std::string_view name) const;
  // Writes bytes to this directory / name and returns its path.
  std::string write(std::string_view name, std::string_view bytes) const;

 private:
  std::filesystem::path path_;
};

std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

// UTF-8 text in the source to CP932 bytes, as script files hold them.
std::string sj(std::string_view utf8);

// A script file from UTF-8 lines: each line in CP932 followed by CR LF.
std::string sjisScript(const std::vector<std::string>& utf8Lines);

// Joins lines with CR LF (a script file as the editor writes it), with a final CR LF.
std::string crlf(const std::vector<std::string>& lines);

// Splits text at '\n' (a final '\n' adds no empty line).
std::vector<std::string> splitLines(std::string_view text);

// "%6d: message\n": one log line as kubrix-run prints it.
std::string logLine(long long bodyLine, std::string_view message);

}  // namespace kubrix::clitest
