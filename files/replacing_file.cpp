// Temporary-file-and-rename writing of the export files and the script files.
#include "files/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kubrix {

namespace {

std::string folderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// A name that no other writer picks: process id, a counter and the clock, mixed.
std::string tempName(const std::string& folder) {
  static std::atomic<unsigned long long> counter{0};
  unsigned long long x = static_cast<unsigned long long>(getpid()) * 0x9E3779B97F4A7C15ull;
  x ^= static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  x ^= (counter.fetch_add(1) + 1) * 0xBF58476D1CE4E5B9ull;
  x ^= x >> 31;
  char buf[40];
  snprintf(buf, sizeof buf, "/.kubrix-%012llx.tmp", x & 0xFFFFFFFFFFFFull);
  return folder + buf;
}

}  // namespace

ReplacingFile::~ReplacingFile() { abandon(); }

bool ReplacingFile::fail(int err) {
  error_ = err != 0 ? err : EIO;
  abandon();
  return false;
}

void ReplacingFile::abandon() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    temp_.clear();
  }
}

bool ReplacingFile::open(const std::string& path) {
  abandon();
  error_ = 0;
  direct_ = replacing_ = false;
  target_ = path;
  if (path.empty()) return fail(ENOENT);
  struct stat st;
  if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    // Write where the link points, as opening the link for writing would; the link stays.
    char* real = realpath(path.c_str(), nullptr);
    if (real != nullptr) {
      target_ = real;
      free(real);
    }
  }
  if (stat(target_.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return fail(EISDIR);
    if (!S_ISREG(st.st_mode)) {
      // A device or pipe cannot be replaced by a rename (and must not be): write into it.
      // Not blocking on a pipe that nobody reads: that fails at once (ENXIO).
      fd_ = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NONBLOCK);
      if (fd_ < 0) return fail(errno);
      fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
      direct_ = true;
      return true;
    }
    // A file the user may not write is not replaced behind their back.
    if (access(target_.c_str(), W_OK) != 0) return fail(errno);
    replacing_ = true;
  } else if (errno != ENOENT) {
    return fail(errno);
  }
  const std::string folder = folderOf(target_);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = tempName(folder);
    fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      temp_ = name;
      break;
    }
    if (errno != EEXIST) return fail(errno);
  }
  if (fd_ < 0) return fail(EEXIST);
  if (replacing_) {
    // The new file keeps the old one's permissions (and its owner where allowed).
    if (fchown(fd_, st.st_uid, st.st_gid) != 0) {
      // Only the owner's own ids can be kept by an ordinary user: not an error.
    }
    fchmod(fd_, st.st_mode & 07777);
  }
  return true;
}

bool ReplacingFile::commit() {
  if (fd_ < 0) return fail(error_ != 0 ? error_ : EBADF);
  if (replacing_ && fsync(fd_) != 0) return fail(errno);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return fail(errno);
  if (direct_) return true;
  if (rename(temp_.c_str(), target_.c_str()) != 0) return fail(errno);
  temp_.clear();
  return true;
}

FdOutBuf::FdOutBuf(int fd, size_t bufferBytes) : fd_(fd), buffer_(bufferBytes) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

bool FdOutBuf::drain(const char* data, size_t size) {
  while (size > 0 && error_ == 0) {
    const ssize_t n = ::write(fd_, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = n < 0 ? errno : EIO;
      break;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return error_ == 0;
}

FdOutBuf::int_type FdOutBuf::overflow(int_type c) {
  if (sync() != 0) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

std::streamsize FdOutBuf::xsputn(const char* s, std::streamsize n) {
  // Large pieces (a model's vertex data) go straight to the file.
  if (n >= static_cast<std::streamsize>(buffer_.size())) {
    if (sync() != 0 || !drain(s, static_cast<size_t>(n))) return 0;
    return n;
  }
  return std::streambuf::xsputn(s, n);
}

int FdOutBuf::sync() {
  const bool ok = drain(pbase(), static_cast<size_t>(pptr() - pbase()));
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return ok ? 0 : -1;
}

bool writeFileReplacing(const std::string& path, std::string_view bytes, int* error) {
  ReplacingFile file;
  auto failed = [&](int err) {
    if (error) *error = err != 0 ? err : EIO;
    return false;
  };
  if (!file.open(path)) return failed(file.error());
  while (!bytes.empty()) {
    const ssize_t n = ::write(file.fd(), bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return failed(n < 0 ? errno : EIO);
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  if (!file.commit()) return failed(file.error());
  return true;
}

}  // namespace kubrix
