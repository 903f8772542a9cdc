// Draw-line commands that talk to the user through the host: messages, input dialogs, colours, beep
// and speech. Each reads its variables, asks the host, stores the answer and logs one line; a
// cancelled dialog sets the flag variable to "0" and leaves the other variables as they were.
#include <cmath>
#include <string>
#include <vector>

#include "engine/command_call.h"
#include "engine/command_table.h"
#include "engine/number_text.h"
#include "engine/sjis.h"
#include "interaction/dialog_rules.h"

namespace kubrix {

namespace {

const char* flagText(bool ok) { return ok ? "1" : "0"; }

std::string_view valueOf(CommandCall& c, int var) { return c.engine().vars.value(static_cast<size_t>(var)); }

// The items of a choice: the elements of the list variable named by text, otherwise text split at
// blanks and commas as a draw line is.
std::vector<std::string> itemsOf(CommandCall& c, std::string_view text) {
  const ListStore& lists = c.engine().lists;
  if (const int l = lists.find(text); l >= 0) return lists.at(static_cast<size_t>(l)).elements;
  std::string texts;
  std::vector<DrawLine::Arg> args;
  splitTokens(prepareDrawLine(text), texts, args);
  std::vector<std::string> items;
  items.reserve(args.size());
  for (const auto& a : args) items.emplace_back(texts, a.offset, a.length);
  return items;
}

// The host, for a dialog: the log written so far goes out first, so that the window shows every line
// up to the one that waits.
Host& dialogHost(CommandCall& c) {
  c.engine().log.flush();
  return c.engine().host();
}

// "INP_XX:出力変数名が未定義です。"
void logUndefined(CommandCall& c) { c.logUndefinedOutput(false); }

void cmdBeep(CommandCall& c) {
  c.engine().host().beep();
  if (c.logging()) c.log("<BEEP>");
}

void cmdTalk(CommandCall& c) {
  const std::string_view text = c.text(1);
  c.engine().host().speak(text);
  if (!c.logging()) return;
  std::string& m = c.message();
  m += SJ("<音声合成>「");
  m += text;
  m += SJ("」");
  c.log(m);
}

void cmdMessage(CommandCall& c) {
  Host::MessageText t;
  t.caption = c.text(1);
  t.line1 = c.text(2);
  t.line2 = c.text(3);
  const double lo = c.num(4), hi = c.num(5);
  if (!(std::fabs(lo - hi) <= 1e-14)) {
    t.rangeMin = numberText(lo);
    t.rangeMax = numberText(hi);
  }
  dialogHost(c).showMessage(t);
  if (c.logging()) c.log(SJ("<メッセージ表示>"));
}

void cmdInpYn(CommandCall& c) {
  const int answer = c.variable(1);
  if (answer < 0) {
    if (!c.logging()) return;
    std::string& m = c.message();
    m += SJ("INP_YN:出力変数名「");
    m += c.token(1);
    m += SJ("」が未定義です。");
    return c.log(m);
  }
  const Host::YesNoQuestion q{std::string(c.text(2)), std::string(c.text(3)), std::string(c.text(4))};
  const bool yes = dialogHost(c).askYesNo(q);
  c.set(answer, flagText(yes));
  if (!c.logging()) return;
  std::string& m = c.message();
  m += SJ("<Yes/No指定入力> <");
  m += flagText(yes);
  m += ">";
  c.log(m);
}

// INP_NUM and INP_STR: one text field; numbers are normalised after OK.
template <bool Number>
void inputText(CommandCall& c) {
  const int flag = c.variable(1), value = c.variable(2);
  if (flag < 0 || value < 0) return logUndefined(c);
  Host::TextQuestion q;
  q.caption = Number ? SJ("数値入力") : SJ("文字入力");
  q.prompt = c.text(3);
  q.value = valueOf(c, value);
  q.maxLength = Number ? 32 : 255;
  const bool ok = dialogHost(c).askText(q);
  c.set(flag, flagText(ok));
  if (ok) c.set(value, Number ? numberAnswer(q.value) : q.value);
  if (!c.logging()) return;
  std::string& m = c.message();
  m += Number ? SJ("<数値入力> <") : SJ("<文字入力> <");
  m += flagText(ok);
  m += "> [";
  m += valueOf(c, value);
  m += "]";
  c.log(m);
}

void cmdInpSel(CommandCall& c) {
  const int flag = c.variable(1), index = c.variable(2), item = c.variable(3);
  if (flag < 0 || index < 0 || item < 0) return logUndefined(c);
  Host::ItemQuestion q;
  q.items = itemsOf(c, c.token(4));
  q.prompt = c.text(5);
  q.wanted = valueOf(c, item);
  const bool ok = dialogHost(c).askItem(q) && q.index >= 0 && q.index < static_cast<int>(q.items.size());
  c.set(flag, flagText(ok));
  if (ok) {
    c.setInt(index, q.index);
    c.set(item, q.items[static_cast<size_t>(q.index)]);
  }
  if (!c.logging()) return;
  std::string& m = c.message();
  m += SJ("<選択指定> <");
  m += flagText(ok);
  m += SJ("> 「");
  m += valueOf(c, item);
  m += SJ("」[");
  m += valueOf(c, index);
  m += "]";
  c.log(m);
}

// INP_NS1..INP_NS4: a flag, then per row: mode, label, value variable and items.
template <int Rows>
void inputValues(CommandCall& c) {
  const int flag = c.variable(1);
  std::vector<Host::ValueRow> rows(Rows);
  int vars[Rows];
  for (int r = 0; r < Rows; ++r) {
    const size_t k = 2 + 4 * static_cast<size_t>(r);
    vars[r] = c.variable(k + 2);
    if (r == 0 && (flag < 0 || vars[0] < 0)) return logUndefined(c);
    if (vars[r] < 0) {
      if (!c.logging()) return;
      std::string& m = c.message();
      m += c.keyword();
      m += SJ(":出力変数名 ");
      m += c.token(k + 2);
      m += SJ(" が未定義です。");
      return c.log(m);
    }
    Host::ValueRow& row = rows[static_cast<size_t>(r)];
    int32_t mode = 0;
    row.mode = parseInt32(c.token(k), mode) ? mode : 0;
    row.label = c.token(k + 1);
    row.value = valueOf(c, vars[r]);
    row.items = itemsOf(c, c.text(k + 3));
  }
  const bool ok = dialogHost(c).askValues(rows) && rows.size() == static_cast<size_t>(Rows);
  c.set(flag, flagText(ok));
  if (ok) {
    for (int r = 0; r < Rows; ++r) {
      const Host::ValueRow& row = rows[static_cast<size_t>(r)];
      c.set(vars[r], isNumberMode(row.mode) ? numberAnswer(row.value) : row.value);
    }
  }
  if (!c.logging()) return;
  static const char* const kTitles[4] = {"<１数値入力／選択指定> <", "<２数値入力／選択指定> <",
                                         "<３数値入力／選択指定> <", "<４数値入力／選択指定> <"};
  static const std::string titles[4] = {utf8ToSjis(kTitles[0]), utf8ToSjis(kTitles[1]), utf8ToSjis(kTitles[2]),
                                        utf8ToSjis(kTitles[3])};
  std::string& m = c.message();
  m += titles[Rows - 1];
  m += flagText(ok);
  m += ">";
  c.log(m);
}

void cmdInpCol(CommandCall& c) {
  const int flag = c.variable(1), colour = c.variable(2);
  if (flag < 0 || colour < 0) return logUndefined(c);
  int32_t index = 0;
  if (!parseInt32(valueOf(c, colour), index)) index = 0;
  int picked = index;
  const bool ok = dialogHost(c).askColour(picked);
  c.set(flag, flagText(ok));
  if (ok) c.setInt(colour, picked);
  if (!c.logging()) return;
  std::string& m = c.message();
  m += SJ("<色指定> <");
  m += flagText(ok);
  m += "> [";
  m += valueOf(c, colour);
  m += "]";
  c.log(m);
}

}  // namespace

void registerInteractionCommands(CommandTable& t) {
  t.add("BEEP", cmdBeep, "BEEP");
  t.add("TALK", cmdTalk, "TALK text");
  t.add("MESSAGE", cmdMessage, "MESSAGE caption line1 line2 min max");
  t.add("INP_YN", cmdInpYn, "INP_YN answer caption line1 line2");
  t.add("INP_NUM", inputText<true>, "INP_NUM flag value prompt");
  t.add("INP_STR", inputText<false>, "INP_STR flag value prompt");
  t.add("INP_SEL", cmdInpSel, "INP_SEL flag index item items prompt");
  t.add("INP_NS1", inputValues<1>, "INP_NS1 flag mode label value items");
  t.add("INP_NS2", inputValues<2>, "INP_NS2 flag mode1 label1 value1 items1 mode2 label2 value2 items2");
  t.add("INP_NS3", inputValues<3>, "INP_NS3 flag (mode label value items) x 3");
  t.add("INP_NS4", inputValues<4>, "INP_NS4 flag (mode label value items) x 4");
  t.add("INP_COL", cmdInpCol, "INP_COL flag colour");
}

}  // namespace kubrix
