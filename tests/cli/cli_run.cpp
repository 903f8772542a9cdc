// Child-process runner and file helpers for the kubrix-run tests.
#include "tests/cli/cli_run.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "engine/sjis.h"

namespace kubrix::clitest {

const char* runnerPath() { return KUBRIX_RUN_PATH; }

namespace {

// An unlinked temporary file to collect one output stream of the child.
int tempFd() {
  char name[] = "/tmp/kubrix-cli-XXXXXX";
  const int fd = mkstemp(name);
  if (fd < 0) throw std::runtime_error("mkstemp failed");
  unlink(name);
  return fd;
}

std::string readAll(int fd) {
  std::string s;
  lseek(fd, 0, SEEK_SET);
  char buf[65536];
  for (;;) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) break;
    s.append(buf, static_cast<size_t>(n));
  }
  return s;
}

// True once the process has installed a handler for SIGINT (its SigCgt mask in /proc), so that a
// signal sent while the runner is still starting cannot end it before it could react.
bool catchesSigint(pid_t pid) {
  std::ifstream f("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(f, line)) {
    if (line.rfind("SigCgt:", 0) != 0) continue;
    const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
    return (mask >> (SIGINT - 1)) & 1;
  }
  return false;
}

}  // namespace

RunResult runCli(const std::vector<std::string>& args, const RunOptions& options) {
  RunResult r;
  const int outFd = options.stdoutFile.empty() ? tempFd()
                                               : open(options.stdoutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int errFd = tempFd();
  if (outFd < 0) throw std::runtime_error("cannot open " + options.stdoutFile);

  std::vector<std::string> argv0;
  argv0.push_back(runnerPath());
  argv0.insert(argv0.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argv0) argv.push_back(a.data());
  argv.push_back(nullptr);

  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    const int devNull = open("/dev/null", O_RDONLY);
    dup2(devNull, 0);
    dup2(outFd, 1);
    dup2(errFd, 2);
    signal(SIGINT, SIG_DFL);
    if (!options.workDir.empty() && chdir(options.workDir.c_str()) != 0) _exit(126);
    execv(argv[0], argv.data());
    _exit(127);
  }

  bool sigintSent = options.sigintAfter.count() == 0;
  int status = 0;
  for (;;) {
    const pid_t w = waitpid(pid, &status, WNOHANG);
    if (w == pid) break;
    const auto now = std::chrono::steady_clock::now();
    if (!sigintSent && now - start >= options.sigintAfter && catchesSigint(pid)) {
      kill(pid, SIGINT);
      sigintSent = true;
    }
    if (now - start >= options.limit) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      r.timedOut = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) r.signal = WTERMSIG(status);
  if (options.stdoutFile.empty()) r.out = readAll(outFd);
  r.err = readAll(errFd);
  close(outFd);
  close(errFd);
  return r;
}

TempDir::TempDir() {
  std::random_device rd;
  const auto base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto p = base / ("kubrix-cli-" + std::to_string(rd()));
    std::error_code ec;
    if (std::filesystem::create_directory(p, ec)) {
      path_ = p;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::file(std::string_view name) const { return (path_ / name).string(); }

std::string TempDir::write(std::string_view name, std::string_view bytes) const {
  const std::string p = file(name);
  std::ofstream f(p, std::ios::binary);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!f) throw std::runtime_error("cannot write " + p);
  return p;
}

std::string readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

bool fileExists(const std::string& path) { return std::filesystem::exists(path); }

std::string sj(std::string_view utf8) { return kubrix::utf8ToSjis(utf8); }

std::string sjisScript(const std::vector<std::string>& utf8Lines) {
  std::string s;
  for (const auto& l : utf8Lines) s += sj(l) + "\r\n";
  return s;
}

std::string crlf(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t nl = text.find('\n', start);
    if (nl == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, nl - start));
    start = nl + 1;
  }
  return lines;
}

std::string logLine(long long bodyLine, std::string_view message) {
  char num[32];
  snprintf(num, sizeof num, "%6lld: ", bodyLine);
  return std::string(num) + std::string(message) + "\n";
}

}  // namespace kubrix::clitest
