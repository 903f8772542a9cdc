// writeExport and the file system: nothing half-written is ever left behind, an earlier file survives
// a failed overwrite, refused names and an empty store give their messages, a COLLADA file keeps its
// creation date. Failures are provoked for real: missing and read-only folders, /dev/full, a
// file-size limit and a full tmpfs.
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "engine/sjis.h"
#include "tests/export/export_test_support.h"

namespace kubrix::exporttest {
namespace {

constexpr ExportFormat kAll[] = {ExportFormat::Dxf, ExportFormat::Stl, ExportFormat::Obj,
                                 ExportFormat::Vrml, ExportFormat::X3d, ExportFormat::Collada};
constexpr const char* kExt[] = {".dxf", ".stl", ".obj", ".wrl", ".x3d", ".dae"};

FigureStore smallStore() {
  FigureStore s;
  addLine(s, {0, 0, 0}, {10, 0, 0});
  addTriangle(s, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 1, 3);
  addPoint(s, {1, 2, 3});
  return s;
}

// A store whose every export runs to several megabytes.
FigureStore bigStore() {
  FigureStore s;
  for (int i = 0; i < 40000; ++i) {
    addLine(s, {i * 0.1, 1, 2}, {i * 0.1, 3, 4.5});
    addTriangle(s, {i * 0.1, 0, 0}, {i * 0.1 + 1, 0, 0}, {i * 0.1, 1, 0.25});
  }
  return s;
}

bool write(const FigureStore& s, ExportFormat f, const std::string& path, std::string& error) {
  return writeExport(s, f, path, contextFor(s), error);
}

// Runs body in a child process; returns its exit status (77 when it skipped).
int inChild(const std::function<int()>& body) {
  fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Makes the calling (child) process an ordinary user, so that permissions apply even under root.
bool becomeNobody() {
  if (geteuid() != 0) return true;
  return setgid(65534) == 0 && setuid(65534) == 0;
}

TEST(ExportFile, EveryFormatIsWrittenAsItsTextWithNoTemporaryFileLeft) {
  ScratchDir dir;
  const FigureStore s = smallStore();
  for (size_t i = 0; i < 6; ++i) {
    const std::string path = dir.file(std::string("model") + kExt[i]);
    std::string error;
    ASSERT_TRUE(write(s, kAll[i], path, error)) << error;
    EXPECT_EQ(readFile(path), exportText(s, kAll[i], std::string("model") + kExt[i], contextFor(s))) << kExt[i];
  }
  EXPECT_EQ(dir.names(), (std::vector<std::string>{"model.dae", "model.dxf", "model.obj", "model.stl", "model.wrl",
                                                   "model.x3d"}));
}

TEST(ExportFile, EmptyStoreIsRefusedWithItsMessage) {
  ScratchDir dir;
  FigureStore empty;
  for (size_t i = 0; i < 6; ++i) {
    std::string error;
    EXPECT_FALSE(write(empty, kAll[i], dir.file(std::string("e") + kExt[i]), error));
    EXPECT_EQ(error, "図形データがありません。");
  }
  EXPECT_TRUE(dir.names().empty());
}

TEST(ExportFile, NonAsciiNamesAreRefusedForVrmlX3dAndColladaOnly) {
  ScratchDir dir;
  const FigureStore s = smallStore();
  for (const char* name : {"模型", "ｱｲ", "café"}) {
    for (size_t i = 0; i < 6; ++i) {
      const std::string path = dir.file(std::string(name) + kExt[i]);
      std::string error;
      const bool refused = kAll[i] == ExportFormat::Vrml || kAll[i] == ExportFormat::X3d ||
                           kAll[i] == ExportFormat::Collada;
      EXPECT_EQ(exportFileNameAllowed(kAll[i], path), !refused);
      EXPECT_EQ(write(s, kAll[i], path, error), !refused) << path << ": " << error;
      if (refused) {
        EXPECT_EQ(error, "ファイル名に全角文字（漢字、２バイト系記号文字等）を使用する事は出来ません。");
        EXPECT_FALSE(std::filesystem::exists(path));
      }
    }
  }
  // The folder may have any name: only the file name counts.
  std::filesystem::create_directory(dir.path() / "模型");
  std::string error;
  EXPECT_TRUE(write(s, ExportFormat::Collada, dir.file("模型/m.dae"), error)) << error;
  // STL and OBJ carry the name in CP932 on their first line.
  EXPECT_EQ(readFile(dir.file("模型.stl")).substr(0, 12), "solid " + utf8ToSjis("模型.stl").substr(0, 6));
}

TEST(ExportFile, MissingFolderDirectoryAndDeviceTargetsFailCleanly) {
  ScratchDir dir;
  const FigureStore s = smallStore();
  std::string error;
  EXPECT_FALSE(write(s, ExportFormat::Stl, dir.file("no/such/folder/m.stl"), error));
  EXPECT_EQ(error, strerror(ENOENT));
  std::filesystem::create_directory(dir.path() / "m.dxf");
  EXPECT_FALSE(write(s, ExportFormat::Dxf, dir.file("m.dxf"), error));
  EXPECT_EQ(error, strerror(EISDIR));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "m.dxf"));
  EXPECT_EQ(dir.names(), std::vector<std::string>{"m.dxf"});
  // A device that is full: the write fails and the device stays.
  EXPECT_FALSE(write(bigStore(), ExportFormat::Obj, "/dev/full", error));
  EXPECT_EQ(error, strerror(ENOSPC));
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
  // /dev/null takes anything.
  EXPECT_TRUE(write(s, ExportFormat::Obj, "/dev/null", error)) << error;
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

TEST(ExportFile, ReadOnlyFolderAndReadOnlyFileAreNotWritten) {
  ScratchDir dir;
  std::filesystem::permissions(dir.path(), std::filesystem::perms::all);  // let the child in
  std::filesystem::create_directory(dir.path() / "ro");
  writeFile(dir.path() / "kept.stl", "old\r\n");
  std::filesystem::permissions(dir.path() / "kept.stl", std::filesystem::perms(0444));
  if (geteuid() == 0) {
    // The child writes as an ordinary user: give that user the writable folder.
    ASSERT_EQ(chown(dir.path().c_str(), 65534, 65534), 0);
  }
  std::filesystem::permissions(dir.path() / "ro", std::filesystem::perms(0555));
  const FigureStore s = smallStore();
  const int status = inChild([&] {
    if (!becomeNobody()) return 77;
    std::string error;
    if (write(s, ExportFormat::Dxf, dir.file("ro/m.dxf"), error) || error != strerror(EACCES)) return 1;
    if (write(s, ExportFormat::Stl, dir.file("kept.stl"), error) || error != strerror(EACCES)) return 2;
    return 0;
  });
  if (status == 77) GTEST_SKIP() << "cannot drop to an ordinary user";
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "ro"));
  EXPECT_EQ(readFile(dir.path() / "kept.stl"), "old\r\n");
  EXPECT_EQ(dir.names(), (std::vector<std::string>{"kept.stl", "ro"}));
}

// A file-size limit (EFBIG): the earlier file of that name survives and no partial file is left.
TEST(ExportFile, FailedOverwriteKeepsTheEarlierFile) {
  ScratchDir dir;
  const FigureStore big = bigStore();
  for (size_t i = 0; i < 6; ++i) {
    const std::string path = dir.file(std::string("m") + kExt[i]);
    const std::string before = "earlier export\r\n";
    writeFile(path, before);
    const int status = inChild([&] {
      signal(SIGXFSZ, SIG_IGN);
      const rlimit limit{200000, 200000};
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 77;
      std::string error;
      if (write(big, kAll[i], path, error)) return 1;
      return error == strerror(EFBIG) ? 0 : 2;
    });
    EXPECT_EQ(status, 0) << kExt[i];
    EXPECT_EQ(readFile(path), before) << kExt[i];
  }
  EXPECT_EQ(dir.names().size(), 6u);
}

// A real full file system: a 256 KiB tmpfs in a mount namespace of a child (needs root or user
// namespaces; skipped where neither is available).
TEST(ExportFile, FullDiskKeepsTheEarlierFileAndLeavesNothingElse) {
  ScratchDir dir;
  const FigureStore big = bigStore();
  const std::string mountPoint = dir.file("disk");
  std::filesystem::create_directory(mountPoint);
  const int status = inChild([&] {
    if (geteuid() != 0) {
      // An ordinary user may still own a mount namespace inside a user namespace of its own.
      const uid_t uid = geteuid();
      const gid_t gid = getegid();
      if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return 77;
      writeFile("/proc/self/setgroups", "deny");
      writeFile("/proc/self/uid_map", std::to_string(uid) + " " + std::to_string(uid) + " 1");
      writeFile("/proc/self/gid_map", std::to_string(gid) + " " + std::to_string(gid) + " 1");
    } else if (unshare(CLONE_NEWNS) != 0) {
      return 77;
    }
    if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return 77;
    if (mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=256k") != 0) return 77;
    const std::string path = mountPoint + "/m.stl";
    const std::string before(100000, 'x');
    writeFile(path, before);
    std::string error;
    if (write(big, ExportFormat::Stl, path, error)) return 1;
    if (error != strerror(ENOSPC)) return 2;
    if (readFile(path) != before) return 3;
    size_t names = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(mountPoint)) ++names;
    if (names != 1) return 4;
    // A small store still fits and replaces the file.
    if (!write(smallStore(), ExportFormat::Stl, path, error)) return 5;
    return readFile(path).rfind("solid m.stl\r\n", 0) == 0 ? 0 : 6;
  });
  if (status == 77) GTEST_SKIP() << "no mount namespace for a small tmpfs here";
  EXPECT_EQ(status, 0);
}

TEST(ExportFile, ReplacingKeepsPermissionsAndWritesThroughLinks) {
  ScratchDir dir;
  const FigureStore s = smallStore();
  const std::string path = dir.file("m.obj");
  writeFile(path, "old");
  std::filesystem::permissions(path, std::filesystem::perms(0640));
  std::string error;
  ASSERT_TRUE(write(s, ExportFormat::Obj, path, error)) << error;
  EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));
  EXPECT_EQ(readFile(path).substr(0, 9), "# m.obj\r\n");
  std::filesystem::create_symlink("m.obj", dir.path() / "link.obj");
  ASSERT_TRUE(write(s, ExportFormat::Obj, dir.file("link.obj"), error)) << error;
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.obj"));
  EXPECT_EQ(readFile(path).substr(0, 12), "# link.obj\r\n");
  EXPECT_EQ(dir.names(), (std::vector<std::string>{"link.obj", "m.obj"}));
}

TEST(ExportFile, ColladaOverwriteKeepsTheCreationDate) {
  ScratchDir dir;
  const FigureStore s = smallStore();
  const std::string path = dir.file("m.dae");
  ExportContext c = contextFor(s);
  std::string error;
  c.now = 1000000000;  // 2001-09-09T01:46:40Z
  ASSERT_TRUE(writeExport(s, ExportFormat::Collada, path, c, error)) << error;
  EXPECT_NE(readFile(path).find("  <created>2001-09-09T01:46:40Z</created>\r\n  <modified>2001-09-09T01:46:40Z"),
            std::string::npos);
  c.now = kTestClock;
  ASSERT_TRUE(writeExport(s, ExportFormat::Collada, path, c, error)) << error;
  EXPECT_NE(readFile(path).find("  <created>2001-09-09T01:46:40Z</created>\r\n  <modified>2024-01-02T03:04:05Z"),
            std::string::npos);

  // Found case-insensitively, blanks removed; or on the next line when nothing follows the tag.
  writeFile(path, "<x>\r\n  <CREATED> 1999-12-31T23:59:59Z </Created>\r\n");
  EXPECT_EQ(colladaCreatedDate(path), "1999-12-31T23:59:59Z");
  writeFile(path, "<created>\n\t2005-05-05T05:05:05Z\n</created>\n");
  EXPECT_EQ(colladaCreatedDate(path), "2005-05-05T05:05:05Z");
  // No date there, or something that is no date: the new file is dated now.
  for (const char* old : {"not collada at all\n", "<created>&amp;<b></created>\n", "<created>\n"}) {
    writeFile(path, old);
    ASSERT_TRUE(writeExport(s, ExportFormat::Collada, path, c, error)) << error;
    EXPECT_NE(readFile(path).find("<created>2024-01-02T03:04:05Z</created>"), std::string::npos) << old;
  }
  EXPECT_EQ(colladaCreatedDate(dir.file("none.dae")), "");
}

}  // namespace
}  // namespace kubrix::exporttest
