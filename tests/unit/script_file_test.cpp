// Script files: the protected and distribution formats byte for byte, their readers on damaged
// input, plain script bytes in both encodings, the backup copy and writing through a temporary file.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/sjis.h"
#include "files/replacing_file.h"
#include "files/script_file.h"

namespace kubrix {
namespace {

std::string sj(std::string_view utf8) { return utf8ToSjis(utf8); }

std::string le16(size_t n) { return {static_cast<char>(n & 0xFF), static_cast<char>(n >> 8)}; }
std::string le32(size_t n) { return le16(n & 0xFFFF) + le16(n >> 16); }
std::string shifted(std::string s, int by) {
  for (char& c : s) c = static_cast<char>(static_cast<unsigned char>(c) + by);
  return s;
}

struct TempDir {
  std::filesystem::path path;
  TempDir() {
    char tmpl[] = "/tmp/kubrix-files-XXXXXX";
    path = mkdtemp(tmpl);
  }
  ~TempDir() { std::filesystem::remove_all(path); }
  std::string file(const char* name) const { return (path / name).string(); }
};

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void writeAll(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST(ProtectedScript, LayoutTrimmingAndRoundTrip) {
  const std::vector<std::string> lines = {sj("#VAR"), "", sj("　 d=10;*直径\t "), "\t\r", sj("#DRAW"), "  TEN d,1,2,3"};
  const std::string bytes = *writeProtectedScript(sj("説明"), sj("山田"), lines);
  std::string expected = "KXP_FILE" + le16(4) + sj("説明") + le16(4) + shifted(sj("山田"), kScrambleOffset);
  for (const char* l : {"#VAR", "d=10;*直径", "#DRAW", "TEN d,1,2,3"})
    expected += le16(sj(l).size()) + shifted(sj(l), -kScrambleOffset);
  EXPECT_EQ(bytes, expected);

  ProtectedScript back;
  std::string error;
  ASSERT_TRUE(readProtectedScript(bytes, back, error)) << error;
  EXPECT_EQ(back.comment, sj("説明"));
  EXPECT_EQ(back.personalName, sj("山田"));
  EXPECT_EQ(back.lines, (std::vector<std::string>{"#VAR", sj("d=10;*直径"), "#DRAW", "TEN d,1,2,3"}));
  std::string body;
  ASSERT_TRUE(readProtectedScript(bytes, body, error));
  EXPECT_EQ(body, sj("#VAR\r\nd=10;*直径\r\n#DRAW\r\nTEN d,1,2,3\r\n"));

  // The bytes 0x81 0x40 after the first byte of a double-byte character ("＝" is 0x81 0x81) are the
  // character's second byte and an "@", not a full-width blank: nothing is trimmed there.
  const std::string tail = *writeProtectedScript("c", "n", {sj("x＝@"), sj("＝@　"), sj("　")});
  ProtectedScript trimmed;
  std::string trimError;
  ASSERT_TRUE(readProtectedScript(tail, trimmed, trimError)) << trimError;
  EXPECT_EQ(trimmed.lines, (std::vector<std::string>{sj("x＝@"), sj("＝@")}));

  // An empty comment is one full-width blank, an empty name "---".
  const std::string empty = *writeProtectedScript("", "", {});
  EXPECT_EQ(empty, "KXP_FILE" + le16(2) + "\x81\x40" + le16(3) + shifted("---", kScrambleOffset));
}

TEST(ProtectedScript, LongLinesAreKeptWholeUpToTheRecordLimit) {
  for (size_t n : {size_t{2048}, size_t{2049}, size_t{3000}, kMaxRecordBytes}) {
    const std::string line(n, 'a');
    const std::string bytes = *writeProtectedScript("c", "n", {"#DRAW", line, "END"});
    ProtectedScript back;
    std::string error;
    ASSERT_TRUE(readProtectedScript(bytes, back, error)) << n << error;
    ASSERT_EQ(back.lines.size(), 3u);
    EXPECT_EQ(back.lines[1], line);
  }
  // A line a record cannot hold refuses the whole file and names the line.
  size_t overlong = 99;
  EXPECT_FALSE(writeProtectedScript("c", "n", {"a", "", std::string(kMaxRecordBytes + 1, 'x')}, &overlong));
  EXPECT_EQ(overlong, 2u);
  EXPECT_FALSE(writeDistributionScript({}, {}, {std::string(70000, 'x')}, &overlong));
  // Blanks around a line do not count.
  EXPECT_TRUE(writeProtectedScript("c", "n", {"  " + std::string(kMaxRecordBytes, 'x') + "  "}));
}

TEST(ProtectedScript, DamagedFilesReadNothing) {
  const std::string good = *writeProtectedScript("c", "n", {"#VAR", "d=1", "#DRAW"});
  const std::string head = "KXP_FILE" + le16(1) + "c" + le16(0);
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"short marker", "KXP_FIL"},
      {"wrong marker", "kxt_file" + good.substr(8)},
      {"plain text", "#VAR\r\nd=1\r\n"},
      {"no comment length", "KXP_FILE"},
      {"half a length", "KXP_FILE\x01"},
      {"comment beyond the end", "KXP_FILE" + le16(50) + "abc"},
      {"name beyond the end", "KXP_FILE" + le16(1) + "c" + le16(9) + "n"},
      {"record beyond the end", good + le16(10) + "abc"},
      {"odd byte after the records", good + "\x05"},
      {"0xFFFF record cut short", head + le16(0xFFFF) + std::string(0xFFFE, 'a')},
      {"line break in a line", head + le16(3) + shifted("a\nb", -kScrambleOffset)},
      {"carriage return in a line", head + le16(2) + shifted("a\r", -kScrambleOffset)},
      {"NUL in a line", head + le16(2) + shifted(std::string("a\0", 2), -kScrambleOffset)},
  };
  for (const auto& [what, bytes] : cases) {
    ProtectedScript back;
    back.lines = {"stale"};
    std::string body = "stale", error;
    EXPECT_FALSE(readProtectedScript(bytes, back, error)) << what;
    EXPECT_TRUE(back.lines.empty()) << what;
    EXPECT_FALSE(error.empty()) << what;
    EXPECT_FALSE(readProtectedScript(bytes, body, error)) << what;
    EXPECT_EQ(body, "") << what;
  }
  // A whole 0xFFFF-byte record is read.
  std::string body, error;
  ASSERT_TRUE(readProtectedScript(head + le16(0xFFFF) + std::string(0xFFFF, 'a'), body, error)) << error;
  EXPECT_EQ(body, std::string(0xFFFF, static_cast<char>('a' + kScrambleOffset)) + "\r\n");
}

// Cut anywhere, a protected file gives either an error or the lines before the cut.
TEST(ProtectedScript, EveryTruncationIsAnErrorOrACompletePrefix) {
  const std::vector<std::string> lines = {"#VAR", sj("d=10;*直径"), "#DRAW", "TEN d,1,2,3"};
  const std::string bytes = *writeProtectedScript(sj("説明"), "me", lines);
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    ProtectedScript back;
    std::string error;
    if (!readProtectedScript(std::string_view(bytes).substr(0, cut), back, error)) continue;
    ASSERT_LE(back.lines.size(), lines.size());
    EXPECT_TRUE(std::equal(back.lines.begin(), back.lines.end(), lines.begin())) << cut;
    if (cut == bytes.size()) {
      EXPECT_EQ(back.lines, lines);
    }
  }
}

TEST(DistributionScript, LayoutAndRoundTrip) {
  std::array<std::string, kThumbnailCount> pictures;
  for (size_t n = 0; n < kThumbnailCount; ++n)
    if (n != 4) pictures[n] = "BM" + std::string(n + 1, static_cast<char>('0' + n));
  const DistributionHeader header{sj("歯車"), "Taro", "http://x", ""};
  const std::string bytes = *writeDistributionScript(header, pictures, {" #DRAW ", "", "TEN e,1,2,3"});
  std::string expected = "kxt_file" + le16(4) + sj("歯車") + le16(4) + "Taro" + le16(8) + "http://x" + le16(0) + le16(0);
  for (const auto& p : pictures) expected += le32(p.size()) + p;
  expected += le16(5) + shifted("#DRAW", -kScrambleOffset) + le16(11) + shifted("TEN e,1,2,3", -kScrambleOffset) + le16(0);
  EXPECT_EQ(bytes, expected);

  DistributionScript back;
  std::string error;
  ASSERT_TRUE(readDistributionScript(bytes, back, error)) << error;
  EXPECT_EQ(back.header.title, header.title);
  EXPECT_EQ(back.header.url, "http://x");
  EXPECT_EQ(back.thumbnails, pictures);
  EXPECT_EQ(back.lines, (std::vector<std::string>{"#DRAW", "TEN e,1,2,3"}));

  // Every cut of the file, and anything after its end record, is an error.
  for (size_t cut = 0; cut < bytes.size(); ++cut)
    EXPECT_FALSE(readDistributionScript(std::string_view(bytes).substr(0, cut), back, error)) << cut;
  EXPECT_FALSE(readDistributionScript(bytes + "x", back, error));
  EXPECT_FALSE(readDistributionScript("KXP_FILE" + bytes.substr(8), back, error));
  EXPECT_TRUE(back.lines.empty());
  // A picture length beyond the end.
  EXPECT_FALSE(readDistributionScript("kxt_file" + std::string(10, '\0') + le32(0xFFFFFFFF), back, error));
}

TEST(PlainScript, BytesKeepTheEncodingAndLoseNothing) {
  const std::string text = "#VAR\nd=3;*長さ\n#DRAW\n";
  bool utf8 = true;
  EXPECT_EQ(plainScriptBytes(text, {}, &utf8), sj("#VAR\r\nd=3;*長さ\r\n#DRAW\r\n"));
  EXPECT_FALSE(utf8);
  EXPECT_EQ(plainScriptBytes("a\nb", {}), "a\r\nb\r\n");  // every line ends in a line end
  EXPECT_EQ(plainScriptBytes("a\n\n", {}), "a\r\n\r\n");
  EXPECT_EQ(plainScriptBytes("", {}), "");
  EXPECT_EQ(plainScriptBytes(text, {true, false, false}), "#VAR\r\nd=3;*長さ\r\n#DRAW\r\n");
  EXPECT_EQ(plainScriptBytes(text, {true, true, true}), "\xEF\xBB\xBF#VAR\nd=3;*長さ\n#DRAW\n");
  // A character CP932 lacks: the file is written in UTF-8 rather than losing it.
  EXPECT_EQ(plainScriptBytes("// 😀 ①\n", {}, &utf8), "// 😀 ①\r\n");
  EXPECT_TRUE(utf8);
  EXPECT_TRUE(fitsCp932("ｱ①～〜−"));
  EXPECT_FALSE(fitsCp932("😀"));
  EXPECT_FALSE(fitsCp932("\xFF"));

  const PlainScriptFormat lf = plainScriptFormatOf("\xEF\xBB\xBF#VAR\nx\r\n", true);
  EXPECT_TRUE(lf.utf8 && lf.bom && lf.lfOnly);
  const PlainScriptFormat crlf = plainScriptFormatOf("#VAR\r\nx\n", false);
  EXPECT_FALSE(crlf.utf8 || crlf.bom || crlf.lfOnly);
  EXPECT_FALSE(plainScriptFormatOf("one line", true).lfOnly);
  EXPECT_EQ(splitScriptLines("a\r\nb\rc\n\nd"), (std::vector<std::string>{"a", "b", "c", "", "d"}));
}

TEST(PlainScript, SavedAndLoadedAgainInBothEncodings) {
  TempDir dir;
  const std::string text = "#VAR\nd=3;*長さ\ne\n#DRAW\nLINE e, 0, 0, 0, d, 0, 0\n";
  for (const PlainScriptFormat& format : {PlainScriptFormat{}, PlainScriptFormat{true, false, true}, PlainScriptFormat{true, true, false}}) {
    const std::string path = dir.file("s.kx");
    ASSERT_TRUE(writeFileReplacing(path, plainScriptBytes(text, format)));
    const ScriptLoad load = loadScriptFile(path, ScriptEncoding::Auto);
    ASSERT_TRUE(load.ok) << load.error;
    EXPECT_EQ(splitScriptLines(sjisToUtf8(load.body)), splitScriptLines(text));
    EXPECT_EQ(load.format.utf8, format.utf8);
    EXPECT_EQ(load.format.bom, format.bom);
    EXPECT_EQ(load.format.lfOnly, format.lfOnly);
    // Saving what was loaded gives the same bytes.
    EXPECT_EQ(plainScriptBytes(text, load.format), readAll(path));
  }
}

TEST(ScriptFiles, BackupCopy) {
  TempDir dir;
  EXPECT_EQ(backupPath("/a/b/s.kx"), "/a/b/s.bak");
  EXPECT_EQ(backupPath("/a/b.c/s"), "/a/b.c/s.bak");
  EXPECT_EQ(backupPath("s.x.kx"), "s.x.bak");
  EXPECT_FALSE(makeBackupCopy(dir.file("none.kx")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("none.bak")));
  const std::string bytes = std::string("\x00\xFF\r\n", 4) + std::string(5000, 'x');
  writeAll(dir.file("s.kx"), bytes);
  writeAll(dir.file("s.bak"), "old backup");
  EXPECT_TRUE(makeBackupCopy(dir.file("s.kx")));
  EXPECT_EQ(readAll(dir.file("s.bak")), bytes);
  EXPECT_EQ(readAll(dir.file("s.kx")), bytes);
}

// A write that fails half-way (here: the file size limit) leaves the earlier file as it was and no
// temporary file behind.
TEST(ScriptFiles, FailedWriteKeepsTheEarlierFile) {
  TempDir dir;
  const std::string path = dir.file("p.kxp");
  writeAll(path, "earlier");
  struct rlimit old;
  getrlimit(RLIMIT_FSIZE, &old);
  auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 1000;
  setrlimit(RLIMIT_FSIZE, &small);
  int error = 0;
  const bool ok = writeFileReplacing(path, *writeProtectedScript("c", "n", {std::string(5000, 'a')}), &error);
  setrlimit(RLIMIT_FSIZE, &old);
  signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ok);
  EXPECT_EQ(error, EFBIG);
  EXPECT_EQ(readAll(path), "earlier");
  size_t files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path)) ++files;
  EXPECT_EQ(files, 1u);
  // Missing folders and directories of that name are refused before anything is written.
  EXPECT_FALSE(writeFileReplacing(dir.file("no/such.kx"), "x", &error));
  EXPECT_EQ(error, ENOENT);
  EXPECT_FALSE(writeFileReplacing(dir.path.string(), "x", &error));
  EXPECT_EQ(error, EISDIR);
}

}  // namespace
}  // namespace kubrix
