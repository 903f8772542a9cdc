// Draw-line commands on texts: list lookups, string building and conversion, date, time and file-name parts.
#include <initializer_list>

#include "engine/command_call.h"
#include "engine/command_table.h"
#include "engine/date_text.h"
#include "engine/number_text.h"
#include "engine/sjis.h"
#include "engine/text_ops.h"
#include "engine/zenkaku.h"

namespace kubrix {

namespace {

// Result text of the current command, reused from line to line.
std::string& scratch() {
  thread_local std::string r;
  r.clear();
  return r;
}

// Appends fn + "(" + the arguments separated by "," + ")".
void appendCall(std::string& m, std::string_view fn, std::initializer_list<std::string_view> args) {
  m += fn;
  m += '(';
  bool first = true;
  for (const std::string_view a : args) {
    if (!first) m += ',';
    m += a;
    first = false;
  }
  m += ')';
}

// ---------------------------------------------------------------------------------------------
// List commands: the list name is the token itself. An undeclared output variable is reported with
// its name, and the command still logs its call with an empty result.

// Logs keyword + ":" + the parts.
void logKeyed(CommandCall& c, std::initializer_list<std::string_view> parts) {
  if (!c.logging()) return;
  std::string& m = c.message();
  m += c.keyword();
  m += ':';
  for (const std::string_view p : parts) m += p;
  c.log(m);
}

void logUndefinedListOutput(CommandCall& c) { logKeyed(c, {SJ("出力変数名「"), c.token(1), SJ("」が未定義です。")}); }
void logNoList(CommandCall& c) { logKeyed(c, {SJ("リスト定義変数「"), c.token(2), SJ("」が未定義です。")}); }

// Logs result + " = KEYWORD(o,L" + the further arguments as shown + ")".
template <class... Shown>
void logListCall(CommandCall& c, std::string_view result, Shown... shown) {
  if (!c.logging()) return;
  std::string& m = c.message();
  m += result;
  m += " = ";
  appendCall(m, c.keyword(), {c.token(1), c.token(2), std::string_view(shown)...});
  c.log(m);
}

std::string_view intText(long long v, char (&buf)[24]) { return {buf, formatInt(v, buf)}; }

void cmdCntList(CommandCall& c) {
  const int out = c.variable(1);
  long long n = 0;
  if (out < 0) {
    logUndefinedListOutput(c);
  } else {
    const ListStore& lists = c.engine().lists;
    const int l = lists.find(c.token(2));
    n = l < 0 ? -1 : lists.at(static_cast<size_t>(l)).count;
    if (l < 0) logNoList(c);
    c.setInt(out, n);
  }
  char buf[24];
  logListCall(c, intText(n, buf));
}

// CHKLIST and CHKITEM: the index of the first element equal to text; shown is the text as logged.
void findInList(CommandCall& c, std::string_view text, std::string_view shown) {
  const int out = c.variable(1);
  long long index = 0;
  if (out < 0) {
    logUndefinedListOutput(c);
  } else {
    const int found = c.engine().lists.findElement(c.token(2), text);
    index = found < 0 ? -1 : found;
    if (found == -1) logNoList(c);
    if (found == -2) logKeyed(c, {SJ("リスト定義変数「"), c.token(2), SJ("」に該当値「"), text, SJ("」がありません。")});
  }
  char buf[24];
  logListCall(c, intText(index, buf), shown);
  // Written last: text may be the output variable's own value.
  if (out >= 0) c.setInt(out, index);
}

void cmdChkList(CommandCall& c) {
  char buf[kNumberTextMax + 8];
  const std::string_view v(buf, formatNumber(c.num(3), buf));
  findInList(c, v, v);
}

void cmdChkItem(CommandCall& c) {
  const std::string_view t = c.text(3);
  std::string& shown = scratch();
  shown += '"';
  shown += t;
  shown += '"';
  findInList(c, t, shown);
}

void cmdGetList(CommandCall& c) {
  const int out = c.variable(1);
  const int32_t i = c.integer(3);
  std::string_view element;
  if (out < 0) {
    logUndefinedListOutput(c);
  } else {
    const auto status = c.engine().lists.element(c.token(2), i, element);
    if (status == ListStore::ElementStatus::NoSuchList) logNoList(c);
    if (status == ListStore::ElementStatus::OutOfRange)
      logKeyed(c, {SJ("リスト定義変数「"), c.token(2), SJ("」の該当値がありません。")});
    c.set(out, element);
  }
  std::string& shown = scratch();
  shown += '"';
  shown += element;
  shown += '"';
  char buf[24];
  logListCall(c, shown, intText(i, buf));
}

// ---------------------------------------------------------------------------------------------
// String, date and file-name commands: the output variable must be declared ("KEYWORD:出力変数名が
// 未定義です。" otherwise). A builder appends the result to r and returns false when the command
// fails, which ends it without a log line and leaves the output variable as it was.

using Builder = bool (*)(CommandCall& c, int out, std::string& r);

// Commands logged as "KEYWORD n = result", n being the output variable's name.
template <Builder Build>
void namedResult(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(false);
  std::string& r = scratch();
  if (!Build(c, out, r)) return;
  c.set(out, r);
  if (!c.logging()) return;
  std::string& m = c.message();
  m += c.keyword();
  m += ' ';
  m += c.token(1);
  m += " = ";
  m += r;
  c.log(m);
}

// Commands logged as "KEYWORD result = Fn(arguments)" with their one or two text arguments.
template <Builder Build, int Args>
void calledResult(CommandCall& c, std::string_view fn) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(false);
  std::string& r = scratch();
  if (!Build(c, out, r)) return;
  // The line is built before the result is written: an argument may be the output variable itself.
  std::string* m = nullptr;
  if (c.logging()) {
    m = &c.message();
    *m += c.keyword();
    *m += ' ';
    *m += r;
    *m += " = ";
    if (Args == 1) appendCall(*m, fn, {c.text(2)});
    else appendCall(*m, fn, {c.text(2), c.text(3)});
  }
  c.set(out, r);
  if (m) c.log(*m);
}

bool buildHex(CommandCall& c, int, std::string& r) {
  int32_t v;
  if (!parseHex32(c.text(2), v)) return false;
  appendInt(r, v);
  return true;
}

bool build2Hex(CommandCall& c, int, std::string& r) {
  appendHex(r, c.integer(2), c.integer(3));
  return true;
}

bool buildLen(CommandCall& c, int, std::string& r) {
  appendInt(r, static_cast<long long>(charCount(c.text(2))));
  return true;
}

bool buildPos(CommandCall& c, int, std::string& r) {
  appendInt(r, static_cast<long long>(charPosition(c.text(2), c.text(3))));
  return true;
}

bool buildCompare(CommandCall& c, int, std::string& r) {
  const int cmp = c.text(2).compare(c.text(3));  // bytes compared as unsigned
  appendInt(r, cmp < 0 ? -1 : cmp > 0 ? 1 : 0);
  return true;
}

bool buildCopy(CommandCall& c, int, std::string& r) {
  r += c.text(2);
  return true;
}

bool buildCat(CommandCall& c, int out, std::string& r) {
  r += c.engine().vars.value(static_cast<size_t>(out));
  r += c.text(2);
  return true;
}

bool buildSlice(CommandCall& c, int, std::string& r) {
  r += charSlice(c.text(2), c.integer(3), c.integer(4));
  return true;
}

bool buildAngle(CommandCall& c, int, std::string& r) {
  appendDegrees(r, c.num(2));
  return true;
}

// STRNUM: the i-th letter of the alphabet, k selecting ASCII or full-width and the case.
bool buildLetter(CommandCall& c, int, std::string& r) {
  const int32_t i = c.integer(2), k = c.integer(3);
  if (i < 1 || i > 26) return true;
  const char n = static_cast<char>(i - 1);
  switch (k) {
    case 0: r += static_cast<char>('A' + n); break;
    case 1: r += static_cast<char>('a' + n); break;
    case 2: r += {'\x82', static_cast<char>(0x60 + n)}; break;  // Ａ .. Ｚ
    case 3: r += {'\x82', static_cast<char>(0x81 + n)}; break;  // ａ .. ｚ
    default: r += ' '; break;
  }
  return true;
}

bool buildTrim(CommandCall& c, int, std::string& r) {
  appendPacked(r, c.text(2));
  return true;
}

bool buildUpper(CommandCall& c, int, std::string& r) {
  r += c.text(2);
  upperInPlace(r);
  return true;
}

bool buildLower(CommandCall& c, int, std::string& r) {
  r += c.text(2);
  lowerInPlace(r);
  return true;
}

bool buildFullWidth(CommandCall& c, int, std::string& r) {
  appendFullWidth(r, c.text(2));
  return true;
}

// GETDATE and GETTIME: the host's clock, read when the command runs, in the pattern of index k.
template <size_t N, const std::array<std::string_view, N>& Patterns>
bool buildClock(CommandCall& c, int, std::string& r) {
  const int32_t k = c.integer(2);
  const std::string_view pattern = k >= 0 && static_cast<size_t>(k) < N ? Patterns[static_cast<size_t>(k)] : Patterns[0];
  appendDateTime(r, pattern, c.engine().host().localNow());
  return true;
}

bool buildFileName(CommandCall& c, int, std::string& r) {
  const int32_t k = c.integer(2);
  r += pathPart(c.engine().host().scriptPath(), k);
  return true;
}

void cmdStrHex(CommandCall& c) { calledResult<buildHex, 1>(c, "HexToInt"); }
void cmdStrLen(CommandCall& c) { calledResult<buildLen, 1>(c, "KLen"); }
void cmdStrStr(CommandCall& c) { calledResult<buildPos, 2>(c, "Pos"); }
void cmdStrCmp(CommandCall& c) { calledResult<buildCompare, 2>(c, "Compare"); }

}  // namespace

void registerStringCommands(CommandTable& t) {
  t.add("CNTLIST", cmdCntList, "CNTLIST o, list");
  t.add("CHKLIST", cmdChkList, "CHKLIST o, list, value");
  t.add("GETLIST", cmdGetList, "GETLIST o, list, index");
  t.add("CHKITEM", cmdChkItem, "CHKITEM o, list, text");
  t.add("STRHEX", cmdStrHex, "STRHEX o, hex");
  t.add("STR2HEX", namedResult<build2Hex>, "STR2HEX o, n, digits");
  t.add("STRLEN", cmdStrLen, "STRLEN o, text");
  t.add("STRSTR", cmdStrStr, "STRSTR o, part, text");
  t.add("STRCMP", cmdStrCmp, "STRCMP o, text1, text2");
  t.add("STRCPY", namedResult<buildCopy>, "STRCPY o, text");
  t.add("STRCAT", namedResult<buildCat>, "STRCAT o, text");
  t.add("STRNCPY", namedResult<buildSlice>, "STRNCPY o, text, start, count");
  t.add("STRANG", namedResult<buildAngle>, "STRANG o, degrees");
  t.add("GETDATE", namedResult<buildClock<kDatePatterns.size(), kDatePatterns>>, "GETDATE o, format");
  t.add("GETTIME", namedResult<buildClock<kTimePatterns.size(), kTimePatterns>>, "GETTIME o, format");
  t.add("GETFNAME", namedResult<buildFileName>, "GETFNAME o, part");
  t.add("STRNUM", namedResult<buildLetter>, "STRNUM o, n, kind");
  t.add("TRIM", namedResult<buildTrim>, "TRIM o, text");
  t.add("UPCASE", namedResult<buildUpper>, "UPCASE o, text");
  t.add("LOWCASE", namedResult<buildLower>, "LOWCASE o, text");
  t.add("ZENKAKU", namedResult<buildFullWidth>, "ZENKAKU o, text");
}

}  // namespace kubrix
