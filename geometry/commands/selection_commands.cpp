// Draw-line commands of the selection set and the chain point list: CLRSEL, GETSELN, GETSEL, ALLSEL,
// ADDSEL, DELSEL, ARISEL, AROSEL, ARRSEL, RLSEL1..4, RENCLR, RENSET, RENADD, RENLEN. The edits and the
// sweeps of the selection are bound in their own files.
#include <string>
#include <vector>

#include "engine/command_call.h"
#include "engine/command_table.h"
#include "engine/number_text.h"
#include "geometry/chain.h"
#include "geometry/commands/selection_bindings.h"
#include "geometry/selection.h"

namespace kubrix {

void registerSelectionEditCommands(CommandTable& t);
void registerSelectionSweepCommands(CommandTable& t);

namespace {

using namespace selection_bindings;

Selection& selectionOf(CommandCall& c) { return c.engine().selection; }

// The filter read from four integer arguments.
ElementFilter filterAt(const CommandCall& c, size_t first) {
  const auto v = integers<4>(c, first);
  return {v[0], v[1], v[2], v[3]};
}

// KEYWORD "[" value "]" and the opening of the argument part.
std::string& beginLog(CommandCall& c, long long value) {
  std::string& m = c.message();
  m += c.keyword();
  m += "[";
  appendInt(m, value);
  m += "]";
  return m;
}

// state "," kind "," layer "," colour ")"
void appendFilter(std::string& m, const ElementFilter& f) {
  const int32_t v[4] = {f.state, f.kind, f.layer, f.colour};
  for (int i = 0; i < 4; ++i) {
    appendInt(m, v[i]);
    m += i < 3 ? "," : ")";
  }
}

// Writes the selection count into the output variable and returns it.
long long storeCount(CommandCall& c, int out) {
  const long long n = static_cast<long long>(selectionOf(c).size());
  c.setInt(out, n);
  return n;
}

void cmdClrSel(CommandCall& c) {
  selectionOf(c).clear();
  c.log(c.keyword());
}

void cmdGetSelN(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  const long long n = storeCount(c, out);
  if (c.logging()) c.log(beginLog(c, n));
}

void cmdGetSel(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  const long long i = c.integer(2);
  const Selection& sel = selectionOf(c);
  const long long v = i >= 1 && i <= static_cast<long long>(sel.size()) ? sel[static_cast<size_t>(i - 1)] : 0;
  c.setInt(out, v);
  if (c.logging()) c.log(beginLog(c, v));
}

void cmdAllSel(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  const ElementFilter f = filterAt(c, 2);
  selectAll(c.figures(), selectionOf(c), f);
  const long long n = storeCount(c, out);
  if (!c.logging()) return;
  std::string& m = beginLog(c, n);
  m += "(";
  appendFilter(m, f);
  c.log(m);
}

// ADDSEL / DELSEL: out, from, to, four filter values.
template <bool Add>
void cmdRangeSel(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  const long long from = c.integer(2), to = c.integer(3);
  const ElementFilter f = filterAt(c, 4);
  Add ? addRange(c.figures(), selectionOf(c), from, to, f) : removeRange(c.figures(), selectionOf(c), from, to, f);
  const long long n = storeCount(c, out);
  if (!c.logging()) return;
  std::string& m = beginLog(c, n);
  m += "(";
  appendInt(m, from);
  m += ": ";
  appendInt(m, to);
  m += ": ";
  appendFilter(m, f);
  c.log(m);
}

// ARISEL / AROSEL: out, two corners, four filter values.
template <bool Inside>
void cmdBoxSel(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  const auto v = numbers<6>(c, 2);
  addInBox(c.figures(), selectionOf(c), pointOf(&v[0]), pointOf(&v[3]), filterAt(c, 8), Inside);
  const long long n = storeCount(c, out);
  if (!c.logging()) return;
  std::string& m = beginLog(c, n);
  m += "(";
  appendNumbers(m, &v[0], 3, ",");
  m += "-";
  appendNumbers(m, &v[3], 3, ",");
  m += ")";
  c.log(m);
}

// "(" x "," y "," z "-" tol ")"
void logTrace(CommandCall& c, long long n, const double* v) {
  if (!c.logging()) return;
  std::string& m = beginLog(c, n);
  m += "(";
  appendNumbers(m, v, 3, ",");
  m += "-";
  appendNumber(m, v[3]);
  m += ")";
  c.log(m);
}

void cmdArrSel(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  const auto v = numbers<4>(c, 2);
  addConnected(c.figures(), selectionOf(c), pointOf(&v[0]), v[3], filterAt(c, 6));
  logTrace(c, storeCount(c, out), v.data());
}

// RLSEL1..4: out, layer, colour, reverse, x, y, z, tol, four filter values.
template <TraceRule Rule>
void cmdTraceSel(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  const LayerColour lc = layerColour(c);
  const bool reverse = c.integer(4) != 0;
  const auto v = numbers<4>(c, 5);
  FigureStore& fs = c.figures();
  const std::vector<Point3> chain = traceChain(fs, pointOf(&v[0]), v[3], filterAt(c, 9), Rule, c.engine().matrix);
  const size_t start = fs.count();
  {
    PenScope pen(fs);
    pen.useCurrent(lc);
    for (size_t i = 0; i + 1 < chain.size(); ++i) {
      if (reverse)
        fs.appendLine(chain[chain.size() - 1 - i], chain[chain.size() - 2 - i]);
      else
        fs.appendLine(chain[i], chain[i + 1]);
    }
  }
  reselectRange(selectionOf(c), start + 1, fs.count());
  logTrace(c, storeCount(c, out), v.data());
}

void cmdRenClr(CommandCall& c) {
  c.engine().chainPoints.clear();
  c.log(c.keyword());
}

void cmdRenSet(CommandCall& c) {
  appendSelectedLines(c.engine().chainPoints, c.figures(), selectionOf(c));
  c.log(c.keyword());
}

void cmdRenAdd(CommandCall& c) {
  const int out = c.variable(1);
  if (out < 0) return c.logUndefinedOutput(true);
  const auto v = numbers<3>(c, 2);
  std::vector<Point3>& chain = c.engine().chainPoints;
  const Point3 p = pointOf(v.data());
  if (chain.empty() || !coincide(chain.back(), p)) chain.push_back(p);
  const long long n = static_cast<long long>(chain.size());
  c.setInt(out, n);
  if (!c.logging()) return;
  std::string& m = beginLog(c, n);
  m += "(";
  appendNumbers(m, v.data(), 3, ",");
  m += ")";
  c.log(m);
}

void cmdRenLen(CommandCall& c) {
  const int outN = c.variable(1), outL = c.variable(2);
  if (outN < 0 || outL < 0) return c.logUndefinedOutput(true);
  const std::vector<Point3>& chain = c.engine().chainPoints;
  const long long n = static_cast<long long>(chain.size());
  const double length = chain.size() < 2 ? 0.0 : chainLength(chain);
  c.setInt(outN, n);
  c.setNumber(outL, length);
  if (!c.logging()) return;
  std::string& m = beginLog(c, n);
  m += "(";
  appendNumber(m, length);
  m += ")";
  c.log(m);
}

}  // namespace

void registerSelectionCommands(CommandTable& t) {
  t.add("CLRSEL", cmdClrSel, "CLRSEL");
  t.add("GETSELN", cmdGetSelN, "GETSELN var");
  t.add("GETSEL", cmdGetSel, "GETSEL var i");
  t.add("ALLSEL", cmdAllSel, "ALLSEL var state kind layer colour");
  t.add("ADDSEL", cmdRangeSel<true>, "ADDSEL var from to state kind layer colour");
  t.add("DELSEL", cmdRangeSel<false>, "DELSEL var from to state kind layer colour");
  t.add("ARISEL", cmdBoxSel<true>, "ARISEL var x1 y1 z1 x2 y2 z2 state kind layer colour");
  t.add("AROSEL", cmdBoxSel<false>, "AROSEL var x1 y1 z1 x2 y2 z2 state kind layer colour");
  t.add("ARRSEL", cmdArrSel, "ARRSEL var x y z tol state kind layer colour");
  t.add("RLSEL1", cmdTraceSel<TraceRule::First>, "RLSEL1 var layer colour rev x y z tol state kind layer colour");
  t.add("RLSEL2", cmdTraceSel<TraceRule::Straightest>, "RLSEL2 var layer colour rev x y z tol state kind layer colour");
  t.add("RLSEL3", cmdTraceSel<TraceRule::Leftmost>, "RLSEL3 var layer colour rev x y z tol state kind layer colour");
  t.add("RLSEL4", cmdTraceSel<TraceRule::Rightmost>, "RLSEL4 var layer colour rev x y z tol state kind layer colour");
  t.add("RENCLR", cmdRenClr, "RENCLR");
  t.add("RENSET", cmdRenSet, "RENSET");
  t.add("RENADD", cmdRenAdd, "RENADD var x y z");
  t.add("RENLEN", cmdRenLen, "RENLEN varN varL");
  registerSelectionEditCommands(t);
  registerSelectionSweepCommands(t);
}

}  // namespace kubrix
