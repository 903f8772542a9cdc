// Argument readers of draw lines.
#include "engine/command_call.h"

#include <cmath>

#include "engine/number_text.h"
#include "engine/sjis.h"

namespace kubrix {

std::string_view CommandCall::token(size_t k) const {
  if (k >= line_.args.size()) return {};
  const auto& a = line_.args[k];
  return std::string_view(line_.tokens).substr(a.offset, a.length);
}

int CommandCall::variable(size_t k) const {
  if (k >= line_.args.size()) return -1;
  const auto& a = line_.args[k];
  if (a.varGeneration != engine_.vars.generation()) {
    a.var = engine_.vars.find(token(k));
    a.varGeneration = engine_.vars.generation();
  }
  return a.var;
}

double CommandCall::num(size_t k) const {
  if (k >= line_.args.size()) return 0;
  const int v = variable(k);
  if (v >= 0) {
    long double x;
    if (engine_.vars.number(static_cast<size_t>(v), x) != NumberRead::Number) return 0;
    const double d = static_cast<double>(x);
    return std::isinf(d) ? 0 : d;
  }
  const auto& a = line_.args[k];
  if (a.literal == 0) {
    double d;
    a.literal = parseDouble(token(k), d) ? 1 : -1;
    a.literalValue = a.literal > 0 ? d : 0;
  }
  return a.literalValue;
}

int32_t CommandCall::integer(size_t k) const {
  int32_t v;
  return parseInt32(text(k), v) ? v : 0;
}

std::string_view CommandCall::text(size_t k) const {
  const int v = variable(k);
  if (v >= 0) return engine_.vars.value(static_cast<size_t>(v));
  return token(k);
}

void CommandCall::setInt(int var, long long value) {
  char buf[24];
  set(var, std::string_view(buf, formatInt(value, buf)));
}

void CommandCall::setNumber(int var, long double value) {
  char buf[kNumberTextMax + 8];
  set(var, std::string_view(buf, formatNumber(value, buf)));
}

void CommandCall::logUndefinedOutput(bool spaced) {
  if (!logging()) return;
  std::string& m = message();
  m += keyword();
  m += spaced ? ": " : ":";
  m += SJ("出力変数名が未定義です。");
  log(m);
}

void appendPoint(std::string& out, const Point3& p) {
  appendNumber(out, p.x);
  out.push_back(',');
  appendNumber(out, p.y);
  out.push_back(',');
  appendNumber(out, p.z);
}

}  // namespace kubrix
