// The text operations behind the string commands (characters as units, angles, hexadecimal text,
// path parts), the full-width mapping, the Japanese calendar's date and time texts across era
// boundaries and the 12-hour edges, and the commands through whole runs with a host whose clock and
// script path the test sets.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "engine/date_text.h"
#include "engine/text_ops.h"
#include "engine/zenkaku.h"
#include "test_support.h"

namespace kubrix {
namespace {

using test::commandLog;

std::string sj(std::string_view utf8) { return utf8ToSjis(utf8); }
std::string u8(std::string_view sjis) { return sjisToUtf8(sjis); }

LocalDateTime at(std::string_view text) {
  LocalDateTime t;
  EXPECT_TRUE(parseLocalDateTime(text, t)) << text;
  return t;
}

std::string formatted(std::string_view pattern, std::string_view moment) {
  std::string out;
  appendDateTime(out, pattern, at(moment));
  return u8(out);
}

TEST(TextOps, CharactersCountDoubleByteCharactersAsOne) {
  EXPECT_EQ(charCount(sj("日本ab")), 4u);
  EXPECT_EQ(charCount(""), 0u);
  EXPECT_EQ(charCount(sj("ｱｲ")), 2u);  // half-width katakana are single bytes
  EXPECT_EQ(charCount("a\x82"), 2u);    // a lead byte at the end counts as a character

  EXPECT_EQ(charPosition("ab", sj("日本ab")), 3u);
  EXPECT_EQ(charPosition(sj("本"), sj("日本ab")), 2u);
  EXPECT_EQ(charPosition("x", sj("日本ab")), 0u);
  EXPECT_EQ(charPosition("", "abc"), 0u);
  // 表 is 0x95 0x5C: the backslash is its second byte, never a character of its own.
  EXPECT_EQ(charPosition("\\", sj("表")), 0u);
  EXPECT_EQ(charPosition("\\", sj("表\\")), 2u);

  const std::string s = sj("日本ab");
  EXPECT_EQ(u8(charSlice(s, 2, 2)), "本a");
  EXPECT_EQ(u8(charSlice(s, 1, 100)), "日本ab");
  EXPECT_EQ(u8(charSlice(s, 0, 2)), "日本");
  EXPECT_EQ(u8(charSlice(s, -5, 1)), "日");
  EXPECT_EQ(charSlice(s, 5, 1), "");
  EXPECT_EQ(charSlice(s, 2, 0), "");
  EXPECT_EQ(charSlice(s, 2, -1), "");

  std::string t = sj("ABC表Zｱ");
  lowerInPlace(t);
  EXPECT_EQ(u8(t), "abc表zｱ");
  std::string soft = sj("ソA");  // ソ is 0x83 0x5C; its second byte is no letter to fold anyway
  lowerInPlace(soft);
  EXPECT_EQ(u8(soft), "ソa");
}

TEST(TextOps, AnglesAsDegreesMinutesAndSeconds) {
  const struct {
    double degrees;
    const char* text;
  } cases[] = {
      {30, "30ﾟ"},           {30.5, "30ﾟ30'"},       {30.2525, "30ﾟ15'9\""}, {0.0025, "0ﾟ0'9\""},
      {-30.5, "-30ﾟ30'"},    {0.99999999, "1ﾟ"},      {-0.99999999, "-1ﾟ"},   {0, "0ﾟ"},
      {-0.5, "-0ﾟ30'"},      {-0.0001, "0ﾟ"},        {59.999999, "60ﾟ"},      {1.0 / 3600, "0ﾟ0'1\""},
      {359.9998, "359ﾟ59'59\""}, {359.9999, "360ﾟ"},  {1e15, "1E15ﾟ"},
  };
  for (const auto& c : cases) {
    std::string out;
    appendDegrees(out, c.degrees);
    EXPECT_EQ(u8(out), c.text) << c.degrees;
  }
}

TEST(TextOps, HexadecimalText) {
  int32_t v = 0;
  EXPECT_TRUE(parseHex32("FF", v));
  EXPECT_EQ(v, 255);
  EXPECT_TRUE(parseHex32("ffffffff", v));
  EXPECT_EQ(v, -1);
  EXPECT_TRUE(parseHex32("7FFFFFFF", v));
  EXPECT_EQ(v, 2147483647);
  EXPECT_TRUE(parseHex32("00000001", v));
  EXPECT_EQ(v, 1);
  for (const char* bad : {"", "123456789", "G", "$FF", "0xFF", "-1", " FF", "F F"}) EXPECT_FALSE(parseHex32(bad, v)) << bad;

  const struct {
    int32_t v;
    int digits;
    const char* text;
  } cases[] = {{255, 4, "00FF"}, {255, 0, "FF"}, {0, 0, "0"}, {0, 3, "000"}, {-1, 2, "FFFFFFFF"},
               {-2147483647 - 1, 10, "0080000000"}, {171, -5, "AB"}};
  for (const auto& c : cases) {
    std::string out;
    appendHex(out, c.v, c.digits);
    EXPECT_EQ(out, c.text);
  }
  std::string longest;
  appendHex(longest, 1, 2147483647);
  EXPECT_EQ(longest.size(), static_cast<size_t>(kMaxHexDigits));
}

TEST(TextOps, PathParts) {
  const struct {
    const char* path;
    const char* parts[6];  // parts 0 .. 5
  } cases[] = {
      {"/home/user/gear.kx", {"/home/user/gear.kx", "gear.kx", "gear", "/home/user/", "/home/user", ".kx"}},
      {"/gear.kx", {"/gear.kx", "gear.kx", "gear", "/", "/", ".kx"}},
      {"/a.b/README", {"/a.b/README", "README", "README", "/a.b/", "/a.b", ""}},
      {"/w/archive.tar.kxp", {"/w/archive.tar.kxp", "archive.tar.kxp", "archive.tar", "/w/", "/w", ".kxp"}},
      {"gear.kx", {"gear.kx", "gear.kx", "gear", "", "", ".kx"}},
      {"/w/表/ソ.kx", {"/w/表/ソ.kx", "ソ.kx", "ソ", "/w/表/", "/w/表", ".kx"}},
      {"", {"", "", "", "", "", ""}},
  };
  for (const auto& c : cases) {
    const std::string path = sj(c.path);
    for (int part = 0; part < 6; ++part) EXPECT_EQ(u8(pathPart(path, part)), c.parts[part]) << c.path << " " << part;
    EXPECT_EQ(pathPart(path, 6), path);
    EXPECT_EQ(pathPart(path, -1), path);
  }
}

TEST(FullWidth, AsciiKatakanaAndVoicedMarks) {
  auto full = [](std::string_view utf8) {
    std::string out;
    appendFullWidth(out, sj(utf8));
    return u8(out);
  };
  EXPECT_EQ(full(" !\"#$%&'()*+,-./0123456789:;<=>?@"), "　！＂＃＄％＆＇（）＊＋，－．／０１２３４５６７８９：；＜＝＞？＠");
  EXPECT_EQ(full("ABCXYZ[]^_`abcxyz{|}~"), "ＡＢＣＸＹＺ［］＾＿｀ａｂｃｘｙｚ｛｜｝～");
  EXPECT_EQ(full("\\"), "＼");  // ASCII's backslash, shown as the yen sign, like every other sign
  EXPECT_EQ(full("｡｢｣､･ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝﾞﾟ"),
            "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜");
  EXPECT_EQ(full("ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞｳﾞ"), "ガギグゲゴザジズゼゾダヂヅデドバビブベボヴ");
  EXPECT_EQ(full("ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ"), "パピプペポ");
  // Marks that combine with nothing stand alone.
  EXPECT_EQ(full("ﾜﾞｱﾟﾝﾞﾞﾟｶﾟﾞ"), "ワ゛ア゜ン゛゛゜カ゜゛");
  EXPECT_EQ(full("ｶ"), "カ");
  // Double-byte characters (also those whose second byte is an ASCII letter or sign), control
  // characters and full-width text stay as they are.
  EXPECT_EQ(full("表ソ能ガＡ　\t\x7F"), "表ソ能ガＡ　\t\x7F");
  // Long texts combine their marks wherever they stand.
  std::string wide;
  for (int i = 0; i < 125; ++i) wide += "ａ";
  EXPECT_EQ(full(std::string(125, 'a') + "ｶﾞ"), wide + "ガ");
}

TEST(DateText, AllDatePatterns) {
  const char* const expected[30] = {
      "2019/05/01", "2019/5/1", "19/05/01", "19/5/1", "令和01/05/01", "令和1/5/1", "令01/05/01", "令1/5/1",
      "2019/05",    "2019/5",   "19/05",    "19/5",   "令和01/05",    "令和1/5",   "令01/05",    "令1/5",
      "2019",       "19",       "令和01",   "令和1",  "令01",         "令1",       "05/01",      "5/1",
      "05",         "5",        "01",       "1",      "水曜日",       "水",
  };
  for (size_t k = 0; k < kDatePatterns.size(); ++k)
    EXPECT_EQ(formatted(kDatePatterns[k], "2019-05-01T09:05:03"), expected[k]) << k;
  EXPECT_EQ(formatted("yyyy/mm/dd", "0999-12-31"), "0999/12/31");
}

TEST(DateText, EraBoundaries) {
  const struct {
    const char* moment;
    const char* text;  // "gggee ge"
  } cases[] = {
      {"1867-12-31", "1867 1867"},         {"1868-01-01", "明治01 明1"},  {"1912-07-29", "明治45 明45"},
      {"1912-07-30", "大正01 大1"},    {"1926-12-24", "大正15 大15"}, {"1926-12-25", "昭和01 昭1"},
      {"1988-12-31", "昭和63 昭63"},   {"1989-01-07", "昭和64 昭64"}, {"1989-01-08", "平成01 平1"},
      {"1989-12-31", "平成01 平1"},    {"1990-01-01", "平成02 平2"},  {"2019-04-30", "平成31 平31"},
      {"2019-05-01", "令和01 令1"},    {"2019-12-31", "令和01 令1"},  {"2020-01-01", "令和02 令2"},
      {"2118-01-01", "令和100 令100"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formatted("gggee ge", std::string(c.moment) + "T23:59:59"), c.text) << c.moment;
    EXPECT_EQ(formatted("gggee ge", std::string(c.moment) + "T00:00:00"), c.text) << c.moment;
  }
  EXPECT_EQ(formatted("ggggee gge", "1989-01-07"), "昭和64 昭和64");
}

TEST(DateText, TwelveHourEdges) {
  const struct {
    const char* time;
    const char* text;  // patterns 4 and 11
  } cases[] = {
      {"00:00:00", "12:00:00 AM|12:0 am"}, {"00:59:59", "12:59:59 AM|12:59 am"}, {"01:00:00", "01:00:00 AM|1:0 am"},
      {"11:59:59", "11:59:59 AM|11:59 am"}, {"12:00:00", "12:00:00 PM|12:0 pm"},  {"12:59:59", "12:59:59 PM|12:59 pm"},
      {"13:00:00", "01:00:00 PM|1:0 pm"},   {"23:59:59", "11:59:59 PM|11:59 pm"},
  };
  for (const auto& c : cases) {
    const std::string moment = std::string("2019-04-30T") + c.time;
    EXPECT_EQ(formatted(kTimePatterns[4], moment) + "|" + formatted(kTimePatterns[11], moment), c.text) << c.time;
  }
  const char* const expected[18] = {"09:05:03",    "9:5:3",    "09:05",    "9:5",         "09:05:03 AM", "9:5:3 AM",
                                    "09:05 AM",    "9:5 AM",   "09:05:03 am", "9:5:3 am", "09:05 am",    "9:5 am",
                                    "09",          "9",        "05",       "5",           "03",          "3"};
  for (size_t k = 0; k < kTimePatterns.size(); ++k)
    EXPECT_EQ(formatted(kTimePatterns[k], "2019-05-01T09:05:03"), expected[k]) << k;
  // The hours of a 24-hour pattern run 0 to 23; the marker keeps the case written.
  EXPECT_EQ(formatted("h hh", "2019-05-01T00:07:00"), "0 00");
  EXPECT_EQ(formatted("hh Am/Pm", "2019-05-01T15:00:00"), "03 Pm");
}

TEST(DateText, WeekdaysAndParsing) {
  // Against the C library's calendar for every day of a few years around the era changes.
  for (int year : {1868, 1900, 1912, 1926, 1989, 2000, 2019, 2024}) {
    for (int yday = 0; yday < 366; ++yday) {
      std::tm tm{};
      tm.tm_year = year - 1900;
      tm.tm_mon = 0;
      tm.tm_mday = 1 + yday;
      tm.tm_hour = 12;
      timegm(&tm);
      if (tm.tm_year != year - 1900) break;
      EXPECT_EQ(weekdayOf(year, tm.tm_mon + 1, tm.tm_mday), tm.tm_wday) << year << "-" << tm.tm_mon + 1 << "-" << tm.tm_mday;
    }
  }
  LocalDateTime t;
  ASSERT_TRUE(parseLocalDateTime("1989-01-07T23:59:59", t));
  EXPECT_EQ(t.year, 1989);
  EXPECT_EQ(t.month, 1);
  EXPECT_EQ(t.day, 7);
  EXPECT_EQ(t.hour, 23);
  EXPECT_EQ(t.minute, 59);
  EXPECT_EQ(t.second, 59);
  EXPECT_EQ(t.weekday, 6);
  ASSERT_TRUE(parseLocalDateTime("2024-02-29 08:30", t));
  EXPECT_EQ(t.second, 0);
  EXPECT_EQ(t.weekday, 4);
  ASSERT_TRUE(parseLocalDateTime("2019-05-01", t));
  EXPECT_EQ(t.hour, 0);
  for (const char* bad : {"", "2019-5-1", "2019-02-29", "2019-13-01", "2019-04-31", "2019-05-01T24:00:00",
                          "2019-05-01T12:60", "2019-05-01T12:00:00Z", "0000-01-01", "2019/05/01", "2019-05-01T"})
    EXPECT_FALSE(parseLocalDateTime(bad, t)) << bad;
}

// A host whose clock gives the moments set in turn and whose script path the test sets.
struct TestHost : Host {
  std::vector<LocalDateTime> moments;
  size_t next = 0, reads = 0;
  std::string path;
  LocalDateTime localNow() override {
    ++reads;
    return moments[next < moments.size() - 1 ? next++ : next];
  }
  std::string scriptPath() override { return path; }
};

struct HostRun {
  TestHost host;
  Engine engine{host};
  explicit HostRun(std::string_view bodyUtf8) {
    engine.setHeader(scriptHeader(Settings{}));
    engine.setBody(sj(bodyUtf8));
  }
  std::string reset() {
    engine.resetAndRun();
    return commandLog(sjisToUtf8(engine.log.text()));
  }
  std::string value(std::string_view name) const {
    const int i = engine.vars.find(sj(name));
    return i < 0 ? "<undeclared>" : sjisToUtf8(engine.vars.value(static_cast<size_t>(i)));
  }
};

TEST(StringCommands, ClockIsReadWhenEachCommandRuns) {
  HostRun r("#VAR\nd\nt\nx\n#DRAW\nGETDATE d, 4\nGETDATE d, 6\nGETTIME t, 4\nGETDATE d, x\nGETTIME t, 99\nGETDATE q, 0\n");
  for (const char* m : {"2019-04-30T23:59:59", "2019-05-01T00:00:00", "2019-05-01T12:00:00", "1989-01-07T10:00:00",
                        "1989-01-08T00:00:01"})
    r.host.moments.push_back(at(m));
  EXPECT_EQ(r.reset(),
            "GETDATE d = 平成31/04/30\n"
            "GETDATE d = 令01/05/01\n"
            "GETTIME t = 12:00:00 PM\n"
            "GETDATE d = 1989/01/07\n"  // an empty variable reads as 0: pattern 0
            "GETTIME t = 00:00:01\n"    // an index outside the table: pattern 0
            "GETDATE:出力変数名が未定義です。\n");
  EXPECT_EQ(r.host.reads, 5u);  // the undeclared output variable read no clock
}

TEST(StringCommands, FileNameOfTheHostsScript) {
  HostRun r("#VAR\nf\n#DRAW\nGETFNAME f, 0\nGETFNAME f, 1\nGETFNAME f, 2\nGETFNAME f, 3\nGETFNAME f, 4\nGETFNAME f, 5\n"
        "GETFNAME f, 9\n");
  r.host.moments.push_back(LocalDateTime{});
  r.host.path = sj("/home/ユーザ/表計算.kx");
  EXPECT_EQ(r.reset(),
            "GETFNAME f = /home/ユーザ/表計算.kx\n"
            "GETFNAME f = 表計算.kx\n"
            "GETFNAME f = 表計算\n"
            "GETFNAME f = /home/ユーザ/\n"
            "GETFNAME f = /home/ユーザ\n"
            "GETFNAME f = .kx\n"
            "GETFNAME f = /home/ユーザ/表計算.kx\n");
  r.host.path.clear();
  EXPECT_EQ(r.reset(), "GETFNAME f = \n" + std::string("GETFNAME f = \n") + "GETFNAME f = \nGETFNAME f = \n" +
                           "GETFNAME f = \nGETFNAME f = \nGETFNAME f = \n");
}

TEST(StringCommands, ArgumentsThatAreTheOutputVariableItself) {
  HostRun r("#VAR\ns=ab\nn=日本\ni=M8\n#LIST\nL=M6,M8\n#DRAW\nSTRCAT s, s\nSTRLEN n, n\nSTRSTR n, n, n\nCHKITEM i, L, i\n"
        "STRCMP s, s, s\nSTRCPY s, s\n");
  r.host.moments.push_back(LocalDateTime{});
  EXPECT_EQ(r.reset(),
            "変数リスト定義(1):「L」 要素数:2\n"
            "STRCAT s = abab\n"
            "STRLEN 2 = KLen(日本)\n"
            "STRSTR 1 = Pos(2,2)\n"
            "1 = CHKITEM(i,L,\"M8\")\n"
            "STRCMP 0 = Compare(abab,abab)\n"
            "STRCPY s = 0\n");
  EXPECT_EQ(r.value("n"), "1");
  EXPECT_EQ(r.value("i"), "1");
  EXPECT_EQ(r.value("s"), "0");
}

}  // namespace
}  // namespace kubrix
