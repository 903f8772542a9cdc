// Draw-line commands that work on the figure store directly, in world coordinates:
// LINE, TEN, 3SOLID, 4SOLID, GETFIGN, GETFIGD, SETFIGD, DELEFIG, DELEFGS, UNDOFIG, UNDOFGS.
#include "engine/command_call.h"
#include "engine/command_table.h"
#include "engine/number_text.h"
#include "engine/sjis.h"

namespace kubrix {

namespace {

// LINE / TEN / 3SOLID / 4SOLID share one body: output variable, N points, one append, one log line.
template <int N>
void appendFigure(CommandCall& c, const std::string& title) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  Point3 p[4];
  for (int i = 0; i < N; ++i) p[i] = c.point(2 + 3 * static_cast<size_t>(i));
  FigureStore& fs = c.figures();
  if constexpr (N == 1) fs.appendPoint(p[0]);
  if constexpr (N == 2) fs.appendLine(p[0], p[1]);
  if constexpr (N == 3) fs.appendTriangle(p[0], p[1], p[2]);
  if constexpr (N == 4) fs.appendQuad(p[0], p[1], p[2], p[3]);
  c.setInt(out, static_cast<long long>(fs.count()));
  if (!c.logging()) return;
  std::string& m = c.message();
  m += title;
  m += "<";
  appendInt(m, static_cast<long long>(fs.count()));
  m += "> ";
  for (int i = 0; i < N; ++i) {
    if (i) m += " - ";
    appendPoint(m, p[i]);
  }
  m += ")";
  c.log(m);
}

void cmdLine(CommandCall& c) { appendFigure<2>(c, SJ("直線作図 (")); }
void cmdTen(CommandCall& c) { appendFigure<1>(c, SJ("点作図 (")); }
void cmd3Solid(CommandCall& c) { appendFigure<3>(c, SJ("3SOLID作図 (")); }
void cmd4Solid(CommandCall& c) { appendFigure<4>(c, SJ("4SOLID作図 (")); }

void cmdGetFigN(CommandCall& c) {
  const int total = c.variable(1), live = c.variable(2);
  if (total < 0 || live < 0) return c.logUndefinedOutput(false);
  const FigureStore& fs = c.figures();
  c.setInt(total, static_cast<long long>(fs.count()));
  c.setInt(live, static_cast<long long>(fs.liveCount()));
  if (!c.logging()) return;
  std::string& m = c.message();
  m += "GETFIGN = ";
  appendInt(m, static_cast<long long>(fs.count()));
  m += ",";
  appendInt(m, static_cast<long long>(fs.liveCount()));
  c.log(m);
}

// "<KEYWORD>(n) ？ (FIGN=count)" or "<KEYWORD>(n - m) ？ (FIGN=count)".
void logOutOfRange(CommandCall& c, long long n, const long long* m) {
  if (!c.logging()) return;
  std::string& s = c.message();
  s += c.keyword();
  s += "(";
  appendInt(s, n);
  if (m) {
    s += " - ";
    appendInt(s, *m);
  }
  s += SJ(") ？ (FIGN=");
  appendInt(s, static_cast<long long>(c.figures().count()));
  s += ")";
  c.log(s);
}

// "<KEYWORD>(n) = kind,layer,colour".
void logRecord(CommandCall& c, long long n, const FigureElement& e) {
  if (!c.logging()) return;
  std::string& s = c.message();
  s += c.keyword();
  s += "(";
  appendInt(s, n);
  s += ") = ";
  appendInt(s, e.kind);
  s += ",";
  appendInt(s, e.layer);
  s += ",";
  appendInt(s, e.colour);
  c.log(s);
}

void cmdGetFigD(CommandCall& c) {
  int out[15];
  for (size_t i = 0; i < 15; ++i) {
    out[i] = c.variable(2 + i);
    if (out[i] < 0) return c.logUndefinedOutput(false);
  }
  for (int v : out) c.set(v, "0");
  const long long n = c.integer(1);
  const FigureStore& fs = c.figures();
  if (!fs.inRange(n)) return logOutOfRange(c, n, nullptr);
  const FigureElement& e = fs.at(static_cast<size_t>(n));
  c.setInt(out[0], e.kind);
  c.setInt(out[1], e.layer);
  c.setInt(out[2], e.colour);
  for (size_t i = 0; i < 4; ++i) {
    c.setNumber(out[3 + 3 * i], e.p[i].x);
    c.setNumber(out[4 + 3 * i], e.p[i].y);
    c.setNumber(out[5 + 3 * i], e.p[i].z);
  }
  logRecord(c, n, e);
}

void cmdSetFigD(CommandCall& c) {
  const long long n = c.integer(1);
  const int32_t kind = c.integer(2), layer = c.integer(3), colour = c.integer(4);
  FigureStore& fs = c.figures();
  const bool kindOk = kind == kKindLine || kind == kKindPoint || kind == kKindTriangle || kind == kKindQuad;
  if (!fs.inRange(n) || !kindOk || layer < 0 || layer > 255 || colour < 1 || colour > 255)
    return logOutOfRange(c, n, nullptr);
  FigureElement& e = fs.at(static_cast<size_t>(n));
  e.kind = kind;
  e.layer = layer;
  e.colour = colour;
  for (size_t i = 0; i < 4; ++i) e.p[i] = c.point(5 + 3 * i);
  logRecord(c, n, e);
}

// DELEFIG / UNDOFIG: one element; DELEFGS / UNDOFGS: a range n..m.
template <bool Live, bool Range>
void setLive(CommandCall& c) {
  const long long n = c.integer(1);
  const long long m = Range ? c.integer(2) : n;
  FigureStore& fs = c.figures();
  if (!fs.inRange(n) || !fs.inRange(m) || n > m) return logOutOfRange(c, n, Range ? &m : nullptr);
  for (long long i = n; i <= m; ++i) fs.at(static_cast<size_t>(i)).live = Live;
  if (!c.logging()) return;
  std::string& s = c.message();
  s += c.keyword();
  s += "(";
  appendInt(s, n);
  if (Range) {
    s += " - ";
    appendInt(s, m);
  }
  s += ")";
  c.log(s);
}

}  // namespace

void registerFigureCommands(CommandTable& t) {
  t.add("LINE", cmdLine, "LINE var x1 y1 z1 x2 y2 z2");
  t.add("TEN", cmdTen, "TEN var x y z");
  t.add("3SOLID", cmd3Solid, "3SOLID var x1 y1 z1 x2 y2 z2 x3 y3 z3");
  t.add("4SOLID", cmd4Solid, "4SOLID var x1 y1 z1 x2 y2 z2 x3 y3 z3 x4 y4 z4");
  t.add("GETFIGN", cmdGetFigN, "GETFIGN total live");
  t.add("GETFIGD", cmdGetFigD, "GETFIGD n kind layer colour p1x p1y p1z p2x p2y p2z p3x p3y p3z p4x p4y p4z");
  t.add("SETFIGD", cmdSetFigD, "SETFIGD n kind layer colour p1x p1y p1z p2x p2y p2z p3x p3y p3z p4x p4y p4z");
  t.add("DELEFIG", setLive<false, false>, "DELEFIG n");
  t.add("DELEFGS", setLive<false, true>, "DELEFGS n m");
  t.add("UNDOFIG", setLive<true, false>, "UNDOFIG n");
  t.add("UNDOFGS", setLive<true, true>, "UNDOFGS n m");
}

}  // namespace kubrix
