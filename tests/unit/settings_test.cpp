// The settings file reader and writer, the settings that use them, and the script header.
#include <gtest/gtest.h>

#include <string>

#include "files/ini_file.h"
#include "files/settings.h"

namespace kubrix {
namespace {

TEST(IniFile, ReadsLikeThePrivateProfileReader) {
  const IniFile ini = IniFile::parse(
      "[Keys]\r\n"
      "ACAD_T=\" AutoCAD \"\r\n"
      "GSU6_T='Sketch'\r\n"
      "Half=\"open\r\n"
      "  Spaced  =  value with blanks  \r\n"
      "acad_w=0.25\r\n"
      "ACAD_W=9\r\n"  // the first key of a name wins
      "Empty=\r\n"
      "\r\n"
      "[keys]\r\n"
      "Other=1\r\n"
      "[Set]\n"       // LF line ends read too
      "ASep=36\n");
  auto read = [&](const char* section, const char* key, size_t buffer = 255) {
    const auto v = ini.read(section, key, buffer);
    return v ? "[" + *v + "]" : std::string("<missing>");
  };
  EXPECT_EQ(read("Keys", "ACAD_T"), "[ AutoCAD ]");  // one pair of enclosing quotes is stripped
  EXPECT_EQ(read("Keys", "GSU6_T"), "[Sketch]");
  EXPECT_EQ(read("Keys", "Half"), "[\"open]");
  EXPECT_EQ(read("Keys", "Spaced"), "[value with blanks]");
  EXPECT_EQ(read("KEYS", "ACAD_W"), "[0.25]");  // sections and keys compare without case
  EXPECT_EQ(read("Keys", "Empty"), "[]");
  EXPECT_EQ(read("Keys", "Other"), "<missing>");  // only the first section of a name is read
  EXPECT_EQ(read("Keys", "Nothing"), "<missing>");
  EXPECT_EQ(read("Form", "F1X"), "<missing>");
  EXPECT_EQ(read("set", "asep"), "[36]");
  // The buffer holds the terminator: a value is cut to size - 1 bytes.
  EXPECT_EQ(read("Keys", "ACAD_T", 5), "[ Aut]");
  EXPECT_EQ(read("Keys", "Spaced", 6), "[value]");
}

TEST(IniFile, QuotedValueWithLeadingBlankSurvivesWriteAndRead) {
  IniFile ini;
  ini.write("Keys", "ACAD_T", "\" AutoCAD\"");
  ini.write("Keys", "ACAD_C", "\"@IB{TAB}{ENTER}^V{ENTER} \"");
  ini.write("Set", "ASep", "24");
  ini.write("keys", "acad_t", "\"  SketchUp\"");  // replaces the existing key
  const std::string text = ini.text();
  EXPECT_EQ(text,
            "[Keys]\r\nACAD_T=\"  SketchUp\"\r\nACAD_C=\"@IB{TAB}{ENTER}^V{ENTER} \"\r\n\r\n"
            "[Set]\r\nASep=24\r\n\r\n");
  const IniFile back = IniFile::parse(text);
  EXPECT_EQ(back.read("Keys", "ACAD_T", 255).value_or("<missing>"), "  SketchUp");
  EXPECT_EQ(back.read("Keys", "ACAD_C", 255).value_or("<missing>"), "@IB{TAB}{ENTER}^V{ENTER} ");
}

TEST(Settings, MissingEmptyAndInvalidKeys) {
  Settings s;
  s.read(IniFile::parse(
      "[Set]\r\n"
      "LLay1=12\r\n"
      "LCol1=\r\n"        // empty: keeps the default
      "LCol2=200\r\n"
      "ASep=abc\r\n"      // not a number: 0
      "CSep=12.5\r\n"     // not a whole number: 0
      "RSep=\"7\"\r\n"
      "LLay2=00000000000000000000000000000000007\r\n"  // cut to 31 bytes by the 32-byte buffer
      "[Comp]\r\n"
      "CB1=2\r\n"
      "[Fold]\r\n"
      "PSNM=\r\n"
      "DSNM=Taro\r\n"));
  EXPECT_EQ(s.lineLayer[0], 12);
  EXPECT_EQ(s.lineLayer[1], 0);
  EXPECT_EQ(s.lineColour[0], 1);
  EXPECT_EQ(s.lineColour[1], 200);
  EXPECT_EQ(s.lineColour[2], 3);  // missing "LCol3": colour 3 for the third line kind
  EXPECT_EQ(s.lineColour[6], 7);
  EXPECT_EQ(s.arcSegments, 0);
  EXPECT_EQ(s.curveSegments, 0);
  EXPECT_EQ(s.cornerSegments, 7);
  EXPECT_TRUE(s.logOff);  // non-zero reads as checked
  EXPECT_EQ(s.personalName, "---");
  EXPECT_EQ(s.authorName, "Taro");
  EXPECT_EQ(s.authorUrl, "No Url");

  Settings fresh;
  fresh.read(IniFile::parse(""));
  EXPECT_EQ(fresh.arcSegments, 24);
  EXPECT_EQ(fresh.curveSegments, 10);
  EXPECT_EQ(fresh.cornerSegments, 5);
  EXPECT_FALSE(fresh.logOff);
  EXPECT_EQ(fresh.authorName, "No Name");
}

TEST(Settings, WriteThenReadGivesTheSameSettings) {
  Settings s;
  s.lineLayer = {1, 2, 3, 4, 5, 6, 255};
  s.lineColour = {255, 9, 8, 7, 6, 5, 4};
  s.arcSegments = 1000;
  s.curveSegments = 1;
  s.cornerSegments = 500;
  s.logOff = true;
  s.personalName = "Hanako";
  s.authorUrl = "http://example.org/";
  IniFile ini;
  s.write(ini);
  const std::string text = ini.text();
  EXPECT_NE(text.find("[Set]\r\nLLay1=1\r\nLCol1=255\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("ASep=1000\r\nCSep=1\r\nRSep=500\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("[Comp]\r\nCB1=1\r\n"), std::string::npos) << text;
  Settings back;
  back.read(IniFile::parse(text));
  EXPECT_EQ(back.lineLayer, s.lineLayer);
  EXPECT_EQ(back.lineColour, s.lineColour);
  EXPECT_EQ(back.arcSegments, 1000);
  EXPECT_EQ(back.curveSegments, 1);
  EXPECT_EQ(back.cornerSegments, 500);
  EXPECT_TRUE(back.logOff);
  EXPECT_EQ(back.personalName, "Hanako");
  EXPECT_EQ(back.authorName, "No Name");
  EXPECT_EQ(back.authorUrl, "http://example.org/");
}

TEST(ScriptHeader, ExactTextFromTheLineSettings) {
  const char* expected =
      "#VAR\r\n"
      "  SetLineLay1\r\n  SetLineCol1\r\n  SetLineLay2\r\n  SetLineCol2\r\n"
      "  SetLineLay3\r\n  SetLineCol3\r\n  SetLineLay4\r\n  SetLineCol4\r\n"
      "  SetLineLay5\r\n  SetLineCol5\r\n  SetLineLay6\r\n  SetLineCol6\r\n"
      "  SetLineLay7\r\n  SetLineCol7\r\n"
      "  SetArcSep\r\n  SetCrvSep\r\n  SetCorSep\r\n"
      "#DRAW\r\n"
      "  CAL SetLineLay1 = 0\r\n  CAL SetLineCol1 = 1\r\n  CAL SetLineLay2 = 0\r\n  CAL SetLineCol2 = 2\r\n"
      "  CAL SetLineLay3 = 0\r\n  CAL SetLineCol3 = 3\r\n  CAL SetLineLay4 = 0\r\n  CAL SetLineCol4 = 4\r\n"
      "  CAL SetLineLay5 = 0\r\n  CAL SetLineCol5 = 5\r\n  CAL SetLineLay6 = 0\r\n  CAL SetLineCol6 = 6\r\n"
      "  CAL SetLineLay7 = 0\r\n  CAL SetLineCol7 = 7\r\n"
      "  CAL SetArcSep = 24\r\n  CAL SetCrvSep = 10\r\n  CAL SetCorSep = 5\r\n";
  EXPECT_EQ(scriptHeader(Settings{}), expected);

  Settings s;
  s.lineLayer[4] = 255;
  s.lineColour[4] = 123;
  s.arcSegments = 3;
  s.curveSegments = 1000;
  s.cornerSegments = 1;
  const std::string h = scriptHeader(s);
  EXPECT_NE(h.find("  CAL SetLineLay5 = 255\r\n  CAL SetLineCol5 = 123\r\n"), std::string::npos);
  EXPECT_NE(h.find("  CAL SetArcSep = 3\r\n  CAL SetCrvSep = 1000\r\n  CAL SetCorSep = 1\r\n"), std::string::npos);
}

}  // namespace
}  // namespace kubrix
