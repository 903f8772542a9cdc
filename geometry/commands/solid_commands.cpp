// Draw-line commands of the primitive solids (boxes, prisms, cylinders, cones, spheres, tori, shaped
// boxes and cylinders) and the segment inset query GETCYJ. Every solid command shares one body: its
// argument layout says how each argument is read and which numbers the log line shows; a small build
// function hands the values to the geometry kernel.
#include <string>

#include "engine/command_call.h"
#include "engine/command_table.h"
#include "engine/number_text.h"
#include "engine/sjis.h"
#include "geometry/commands/solid_commands.h"
#include "geometry/solids.h"

namespace kubrix {

namespace {

// Reads the arguments after the output variable by the layout: 'n' an integer count, 'd' a logged
// number, 'u' a number the log leaves out, 'f' a flag, 'r' the reverse flag (non-zero reads as 1);
// a blank only marks where the log separates two groups of numbers with ", ".
SolidArgs readArgs(const CommandCall& c, std::string_view layout) {
  SolidArgs a;
  size_t k = 2;
  for (char ch : layout) {
    switch (ch) {
      case 'n': a.ints[a.intCount++] = c.integer(k++); break;
      case 'd':
      case 'u': a.num[a.numCount++] = c.num(k++); break;
      case 'f': a.flags[a.flagCount++] = c.integer(k++); break;
      case 'r': a.rev = c.integer(k++) != 0; break;
      default: break;
    }
  }
  return a;
}

// KEYWORD[count](rev: n1,n2, n3,)
void logSolid(CommandCall& c, const SolidCommand& s, const SolidArgs& a) {
  if (!c.logging()) return;
  std::string& m = c.message();
  m += c.keyword();
  m += "[";
  appendInt(m, static_cast<long long>(c.figures().count()));
  m += "](";
  if (s.revPrefix) {
    m += a.rev ? "1" : "0";
    m += ": ";
  }
  size_t i = 0;
  for (size_t p = 0; p < s.layout.size(); ++p) {
    const char ch = s.layout[p];
    if (ch == 'u') ++i;
    if (ch != 'd') continue;
    appendNumber(m, a.num[i++]);
    m += ",";
    if (p + 1 < s.layout.size() && s.layout[p + 1] == ' ') m += " ";
  }
  m += ")";
  c.log(m);
}

}  // namespace

void runSolid(CommandCall& c, const SolidCommand& s) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  const SolidArgs a = readArgs(c, s.layout);
  LocalDraw draw(c.figures(), c.engine().matrix);
  s.build(draw, a);
  c.setInt(out, static_cast<long long>(c.figures().count()));
  logSolid(c, s, a);
}

namespace {

// GETCYJ(x,y),R:r,b1,b2)
void logSegmentInset(CommandCall& c, const SegmentInset& s) {
  if (!c.logging()) return;
  std::string& m = c.message();
  m += "GETCYJ(";
  appendNumber(m, s.x);
  m += ",";
  appendNumber(m, s.y);
  m += "),R:";
  for (double v : {s.r, s.b1, s.b2}) {
    appendNumber(m, v);
    m += ",";
  }
  m.back() = ')';
  c.log(m);
}

// GETCYJ f, x, y, r, b1, b2, cx, cy, R, a1, a2, d: the segment of the circle moved in by d.
void cmdGetCyj(CommandCall& c) {
  int out[6];
  for (size_t i = 0; i < 6; ++i) {
    out[i] = c.variable(1 + i);
    if (out[i] < 0) return c.logUndefinedOutput(false);
  }
  const SegmentInset s = insetSegment(c.num(7), c.num(8), c.num(9), c.num(10), c.num(11), c.num(12));
  c.setInt(out[0], s.flag);
  const double values[5] = {s.x, s.y, s.r, s.b1, s.b2};
  for (size_t i = 0; i < 5; ++i) c.setNumber(out[i + 1], values[i]);
  logSegmentInset(c, s);
}

}  // namespace

void registerSolidCommands(CommandTable& t) {
  registerBoxSolids(t);
  registerRoundSolids(t);
  registerShapedSolids(t);
  t.add("GETCYJ", cmdGetCyj, "GETCYJ f x y r b1 b2 cx cy R a1 a2 d");
}

}  // namespace kubrix
