// What the interaction commands hand to the host's dialogs (captions, presets, limits, items, row
// modes, range texts), and the answer file reader.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "interaction/answer_host.h"
#include "tests/unit/test_support.h"

namespace kubrix::test {
namespace {

// Records every question and answers from prepared lines.
struct RecordingHost : AnswerHost {
  std::vector<MessageText> messages;
  std::vector<TextQuestion> texts;
  std::vector<ItemQuestion> items;
  std::vector<std::vector<ValueRow>> rows;
  std::vector<int> colours;
  std::vector<std::string> spoken;
  int beeps = 0;

  void showMessage(const MessageText& m) override { messages.push_back(m); }
  bool askText(TextQuestion& q) override {
    texts.push_back(q);
    return AnswerHost::askText(q);
  }
  bool askItem(ItemQuestion& q) override {
    items.push_back(q);
    return AnswerHost::askItem(q);
  }
  bool askValues(std::vector<ValueRow>& r) override {
    rows.push_back(r);
    return AnswerHost::askValues(r);
  }
  bool askColour(int& index) override {
    colours.push_back(index);
    return AnswerHost::askColour(index);
  }
  void speak(std::string_view t) override { spoken.emplace_back(sjisToUtf8(t)); }
  void beep() override { ++beeps; }
};

struct AskedRun {
  RecordingHost host;
  Engine engine{host};
  AskedRun(std::string_view bodyUtf8, std::vector<std::string> answersUtf8 = {}) {
    for (auto& a : answersUtf8) a = utf8ToSjis(a);
    host.setAnswers(std::move(answersUtf8));
    engine.setHeader(scriptHeader(Settings{}));
    engine.setBody(utf8ToSjis(bodyUtf8));
    engine.resetAndRun();
  }
  std::string log() const { return commandLog(sjisToUtf8(engine.log.text())); }
  std::string value(std::string_view name) const {
    const int i = engine.vars.find(utf8ToSjis(name));
    return i < 0 ? "<undeclared>" : sjisToUtf8(engine.vars.value(static_cast<size_t>(i)));
  }
};

std::string u8(const std::string& sjis) { return sjisToUtf8(sjis); }

TEST(InteractionCommands, MessageRangeTextsAndSpeechText) {
  AskedRun r("#VAR\nlo=0.5\nt=読み上げ\n#DRAW\n"
        "MESSAGE \"題\", 一, 二, lo, 10\n"
        "MESSAGE a, b, c, 3, 3.000000000000001\n"
        "MESSAGE a, b, c, abc, 1e-15\n"
        "MESSAGE\n"
        "TALK t\nTALK \"文 字\"\nBEEP\n");
  ASSERT_EQ(r.host.messages.size(), 4u);
  const auto& m = r.host.messages[0];
  EXPECT_EQ(u8(m.caption) + u8(m.line1) + u8(m.line2), "題一二");
  EXPECT_EQ(m.rangeMin, "0.5");
  EXPECT_EQ(m.rangeMax, "10");
  // Within 1e-14 of each other: no range; an unreadable number is 0.
  EXPECT_EQ(r.host.messages[1].rangeMin + r.host.messages[1].rangeMax, "");
  EXPECT_EQ(r.host.messages[2].rangeMin + r.host.messages[2].rangeMax, "");
  EXPECT_EQ(r.host.spoken, (std::vector<std::string>{"読み上げ", "文 字"}));
  EXPECT_EQ(r.host.beeps, 1);
  EXPECT_EQ(r.log(),
            "<メッセージ表示>\n<メッセージ表示>\n<メッセージ表示>\n<メッセージ表示>\n"
            "<音声合成>「読み上げ」\n<音声合成>「文 字」\n<BEEP>\n");
}

TEST(InteractionCommands, TextDialogsGetCaptionPresetAndLimit) {
  AskedRun r("#VAR\nf=0\nv=12.50\ns=名前\np=説明文\n#DRAW\nINP_NUM f, v, p\nINP_STR f, s, \"名 前\"\n",
        {"1.0", "x"});
  ASSERT_EQ(r.host.texts.size(), 2u);
  EXPECT_EQ(u8(r.host.texts[0].caption), "数値入力");
  EXPECT_EQ(u8(r.host.texts[0].prompt), "説明文");
  EXPECT_EQ(r.host.texts[0].value, "12.50");  // the value as it stands, not normalised
  EXPECT_EQ(r.host.texts[0].maxLength, 32);
  EXPECT_EQ(u8(r.host.texts[1].caption), "文字入力");
  EXPECT_EQ(u8(r.host.texts[1].prompt), "名 前");
  EXPECT_EQ(u8(r.host.texts[1].value), "名前");
  EXPECT_EQ(r.host.texts[1].maxLength, 255);
  EXPECT_EQ(r.value("v"), "1");
  EXPECT_EQ(r.value("s"), "x");
}

TEST(InteractionCommands, ChoiceItemsComeFromAListOrFromSplitText) {
  AskedRun r("#VAR\nf=0\ni=5\nit=M8\nlst=L\ncsv=a,b\n#LIST\nL=M6,M8,M10\n#DRAW\n"
        "INP_SEL f, i, it, L, \"ねじ\"\n"
        "INP_SEL f, i, it, \"x,,y z\", \"\"\n"
        "INP_SEL f, i, it, lst, \"\"\n"
        "INP_NS3 f, $2, 見出し, it, lst, x, b, i, csv, 3, c, i, \"\"\n",
        {"2", "<cancel>", "<cancel>", "<cancel>"});
  ASSERT_EQ(r.host.items.size(), 3u);
  EXPECT_EQ(r.host.items[0].items, (std::vector<std::string>{"M6", "M8", "M10"}));
  EXPECT_EQ(r.host.items[0].wanted, "M8");
  EXPECT_EQ(u8(r.host.items[0].prompt), "ねじ");
  // Blanks and commas both separate; two commas in a row give an empty item.
  EXPECT_EQ(r.host.items[1].items, (std::vector<std::string>{"x", "", "y", "z"}));
  EXPECT_EQ(r.host.items[1].wanted, "M10");
  // The items of INP_SEL are the token as written: a variable's name is one item.
  EXPECT_EQ(r.host.items[2].items, (std::vector<std::string>{"lst"}));
  // The items of a row are a text argument: the variable's value names the list, or is split.
  ASSERT_EQ(r.host.rows.size(), 1u);
  const auto& rows = r.host.rows[0];
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].mode, 2);  // "$2": hexadecimal
  EXPECT_EQ(u8(rows[0].label), "見出し");
  EXPECT_EQ(rows[0].items, (std::vector<std::string>{"M6", "M8", "M10"}));
  EXPECT_EQ(rows[1].mode, 0);  // not a whole number
  EXPECT_EQ(rows[1].label, "b");  // the label token as written, not the variable's value
  EXPECT_EQ(rows[1].value, "2");
  EXPECT_EQ(rows[1].items, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(rows[2].mode, 3);
  EXPECT_TRUE(rows[2].items.empty());
  EXPECT_EQ(r.value("i"), "2");
  EXPECT_EQ(r.value("it"), "M10");
}

TEST(InteractionCommands, ColourPresetIsAWholeNumberAndTheAnswerAPaletteIndex) {
  AskedRun r("#VAR\nf=0\nc=3.0\nd=$FF\n#DRAW\nINP_COL f, c\nINP_COL f, d\nINP_COL f, d\n", {"250", "<cancel>", "9"});
  EXPECT_EQ(r.host.colours, (std::vector<int>{0, 255, 255}));
  EXPECT_EQ(r.value("c"), "7");  // 250 is black, first found as 7
  EXPECT_EQ(r.value("d"), "9");
  EXPECT_EQ(r.log(), "<色指定> <1> [7]\n<色指定> <0> [$FF]\n<色指定> <1> [9]\n");
}

TEST(InteractionCommands, LogOffStillAsksAndStores) {
  RecordingHost host;
  host.setAnswers({"7"});
  Engine e(host);
  e.setHeader(scriptHeader(Settings{}));
  e.setBody("#VAR\r\nf=0\r\nv=1\r\n#DRAW\r\nINP_NUM f, v, p\r\nINP_NUM g, v, p\r\n");
  e.logOff = true;
  e.resetAndRun();
  EXPECT_EQ(e.log.text(), "");
  EXPECT_EQ(host.texts.size(), 1u);
  EXPECT_EQ(e.vars.value(static_cast<size_t>(e.vars.find("v"))), "7");
}

TEST(AnswerFile, EncodingsLineEndsAndTheLastLine) {
  const std::string path = ::testing::TempDir() + "kubrix_answers.txt";
  auto read = [&](const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    std::vector<std::string> lines;
    std::string error;
    EXPECT_TRUE(AnswerHost::readAnswers(path, lines, error)) << error;
    for (auto& l : lines) l = sjisToUtf8(l);
    return lines;
  };
  using L = std::vector<std::string>;
  EXPECT_EQ(read("1\n\nabc\n"), (L{"1", "", "abc"}));
  EXPECT_EQ(read("1\r\n\r\nabc"), (L{"1", "", "abc"}));
  EXPECT_EQ(read("\xEF\xBB\xBF名前\n"), (L{"名前"}));
  EXPECT_EQ(read("名前\n"), (L{"名前"}));
  EXPECT_EQ(read(utf8ToSjis("名前") + "\r\n"), (L{"名前"}));
  EXPECT_EQ(read(""), L{});
  EXPECT_EQ(read("\n"), (L{""}));
  std::remove(path.c_str());
  std::vector<std::string> lines;
  std::string error;
  EXPECT_FALSE(AnswerHost::readAnswers(path, lines, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace kubrix::test
