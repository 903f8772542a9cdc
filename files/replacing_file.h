// A file written through a temporary file beside it: the finished text replaces the target in one
// rename, so a failed write leaves an earlier file of that name as it was and no partial file behind.
// The export writers and the script files are written this way.
#pragma once

#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

namespace kubrix {

class ReplacingFile {
 public:
  ReplacingFile() = default;
  ~ReplacingFile();  // removes the temporary file unless commit() succeeded
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Creates the temporary file in the target's folder (a symbolic link is followed to its target).
  // An existing target that is not a regular file (a device such as /dev/null, a pipe) is written
  // directly instead. False with error() set when the target cannot be written: a missing or
  // read-only folder, a directory or read-only file of that name.
  bool open(const std::string& path);
  int fd() const { return fd_; }
  // Makes the written file the target: flushes it to disk when it replaces an existing file, then
  // renames it over the target. False with error() set on failure; the temporary file is removed.
  bool commit();
  // Drops the temporary file (also done by the destructor).
  void abandon();
  int error() const { return error_; }
  // The path that will be replaced (the target of a symbolic link).
  const std::string& target() const { return target_; }

 private:
  bool fail(int err);
  std::string target_, temp_;
  int fd_ = -1;
  bool direct_ = false;     // writing into an existing device or pipe
  bool replacing_ = false;  // an existing regular file will be replaced
  int error_ = 0;
};

// A std::ostream buffer over a file descriptor (a ReplacingFile's), for writers that only know
// streams: no copy of the whole file in memory. After the first failed write it keeps the error
// number and drops the rest; flush with pubsync() and check error().
class FdOutBuf : public std::streambuf {
 public:
  explicit FdOutBuf(int fd, size_t bufferBytes = size_t{1} << 20);
  int error() const { return error_; }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  bool drain(const char* data, size_t size);
  int fd_;
  int error_ = 0;
  std::vector<char> buffer_;
};

// Writes bytes as the whole content of path through a ReplacingFile. False with the errno value in
// *error (when given) on failure; an earlier file of that name is then left as it was.
bool writeFileReplacing(const std::string& path, std::string_view bytes, int* error = nullptr);

}  // namespace kubrix
