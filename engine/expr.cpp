// Expression evaluator: lexer, conversion to postfix and evaluation.
#include "engine/expr.h"

#include <cmath>
#include <cstring>

#include "engine/number_text.h"

namespace kubrix {

std::string_view exprErrorName(int code) {
  switch (code) {
    case kExprMemoryOver: return "MemoryOver";
    case kExprSyntax: return "Syntax Error";
    case kExprAnalyse: return "Analyse Error";
    case kExprCoding: return "Coding Error";
    case kExprZeroDivided: return "Zero Divided Error";
    case kExprCalc: return "Calc Error";
    case kExprVariable: return "Variable Error";
    default: return "";
  }
}

namespace {

constexpr size_t kTableEntries = 256;
constexpr size_t kMaxName = 31;
constexpr size_t kMaxNumber = 32;
constexpr long double kEps = 1e-14L;
constexpr long double kPi = 3.141592653589793238462643383279502884L;

// Operator codes.
enum Op : int {
  kAdd = 1, kSub = 2, kMul = 3, kDiv = 4, kMod = 5, kPow = 6, kNeg = 7, kAnd = 10, kOr = 11,
  kEq = 20, kNe = 21, kGe = 22, kGt = 23, kLe = 24, kLt = 25,
};
// Function codes.
enum Fn : int {
  kSin = 1, kCos, kTan, kAsin, kAcos, kAtan, kSqrt, kExp, kLog, kLog10, kAbs, kInt, kFrac, kSinh, kCosh,
  kTanh, kLog2, kInv, kAinv, kRand, kNot = 32, kAtof = 64, kAtoi = 65, kLength = 66,
};

struct FunctionName {
  const char* name;
  int code;
};
constexpr FunctionName kFunctions[] = {
    {"SIN", kSin},     {"COS", kCos},   {"TAN", kTan},     {"ASIN", kAsin}, {"ACOS", kAcos},   {"ATAN", kAtan},
    {"SQRT", kSqrt},   {"EXP", kExp},   {"LOG", kLog},     {"LOG10", kLog10}, {"ABS", kAbs},   {"INT", kInt},
    {"FRAC", kFrac},   {"SINH", kSinh}, {"COSH", kCosh},   {"TANH", kTanh}, {"LOG2", kLog2},   {"INV", kInv},
    {"AINV", kAinv},   {"RAND", kRand}, {"NOT", kNot},     {"ATOF", kAtof}, {"ATOI", kAtoi},   {"LENGTH", kLength},
};

// Token kinds of the lexer; LParen, RParen and End take part in the precedence comparison.
enum class TokKind : uint8_t { Operand, Operator, Function, LParen, RParen, End };

struct Token {
  TokKind kind = TokKind::Operand;
  int code = 0;
  std::string text;
};

int incomingPriority(const Token& t) {
  switch (t.kind) {
    case TokKind::Function: return 11;
    case TokKind::LParen: return 13;
    case TokKind::RParen:
    case TokKind::End: return 1;
    default: break;
  }
  switch (t.code) {
    case kPow: return 9;
    case kMul: case kDiv: case kMod: case kAnd: return 7;
    case kAdd: case kSub: case kNeg: case kOr: return 5;
    default: return 3;  // comparisons
  }
}

int stackedPriority(const Token& t) {
  switch (t.kind) {
    case TokKind::Function: return 12;
    case TokKind::LParen: return 1;
    case TokKind::RParen:
    case TokKind::End: return 13;
    default: break;
  }
  return incomingPriority(t) + 1;
}

inline bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

void setOp(Token& t, int code, const char* text) {
  t.kind = TokKind::Operator;
  t.code = code;
  t.text = text;
}

// Reads digits, then an exponent part when present. Returns false for an exponent mark that is not
// followed by a sign or digit.
bool lexFraction(std::string_view s, size_t& pos, std::string& text) {
  const size_t n = s.size();
  while (pos < n && isDigit(s[pos])) text.push_back(s[pos++]);
  if (pos < n && (s[pos] == 'e' || s[pos] == 'E')) {
    text.push_back(s[pos++]);
    if (pos >= n || !(s[pos] == '+' || s[pos] == '-' || isDigit(s[pos]))) return false;
    if (s[pos] == '+' || s[pos] == '-') text.push_back(s[pos++]);
    while (pos < n && isDigit(s[pos])) text.push_back(s[pos++]);
  }
  return true;
}

// Reads the next token at pos (one blank before it is skipped). False on a lexical error or at the end.
bool lex(std::string_view s, size_t& pos, Token& t) {
  const size_t n = s.size();
  if (pos < n && s[pos] == ' ') ++pos;
  if (pos >= n) return false;
  const char c = s[pos];
  t.code = 0;
  if (isLetter(c) || c == '_') {
    const size_t start = pos;
    while (pos < n && (isLetter(s[pos]) || isDigit(s[pos]) || s[pos] == '_')) ++pos;
    if (pos - start > kMaxName) return false;
    t.text.assign(s.data() + start, pos - start);
    char up[kMaxName + 1];
    for (size_t i = 0; i < t.text.size(); ++i) {
      const char ch = t.text[i];
      up[i] = (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 32) : ch;
    }
    up[t.text.size()] = 0;
    if (strcmp(up, "AND") == 0) {
      setOp(t, kAnd, "&&");
      return true;
    }
    if (strcmp(up, "OR") == 0) {
      setOp(t, kOr, "||");
      return true;
    }
    for (const auto& f : kFunctions) {
      if (f.name[0] == up[0] && strcmp(up, f.name) == 0) {
        t.kind = TokKind::Function;
        t.code = f.code;
        return true;
      }
    }
    t.kind = TokKind::Operand;
    return true;
  }
  if (isDigit(c) || c == '.') {
    t.kind = TokKind::Operand;
    t.text.clear();
    if (c == '.') {
      t.text = "0.";
      ++pos;
    } else {
      while (pos < n && isDigit(s[pos])) t.text.push_back(s[pos++]);
      if (pos < n && s[pos] == '.') t.text.push_back(s[pos++]);
    }
    if (!lexFraction(s, pos, t.text)) return false;
    return t.text.size() <= kMaxNumber;
  }
  const char next = pos + 1 < n ? s[pos + 1] : '\0';
  ++pos;
  switch (c) {
    case '|':
      if (next != '|') return false;
      ++pos;
      setOp(t, kOr, "||");
      return true;
    case '&':
      if (next != '&') return false;
      ++pos;
      setOp(t, kAnd, "&&");
      return true;
    case '=':
      if (next == '=') ++pos, setOp(t, kEq, "==");
      else if (next == '<') ++pos, setOp(t, kLe, "<=");
      else if (next == '>') ++pos, setOp(t, kGe, ">=");
      else setOp(t, kEq, "==");
      return true;
    case '!':
      if (next == '=') {
        ++pos;
        setOp(t, kNe, "!=");
      } else {
        t.kind = TokKind::Function;
        t.code = kNot;
        t.text = "!";
      }
      return true;
    case '>':
      if (next == '<') ++pos, setOp(t, kNe, "!=");
      else if (next == '=') ++pos, setOp(t, kGe, ">=");
      else setOp(t, kGt, ">");
      return true;
    case '<':
      if (next == '>') ++pos, setOp(t, kNe, "!=");
      else if (next == '=') ++pos, setOp(t, kLe, "<=");
      else setOp(t, kLt, "<");
      return true;
    case '+': setOp(t, kAdd, "+"); return true;
    case '-': setOp(t, kSub, "-"); return true;
    case '*': setOp(t, kMul, "*"); return true;
    case '/': setOp(t, kDiv, "/"); return true;
    case '%': setOp(t, kMod, "%"); return true;
    case '^': setOp(t, kPow, "^"); return true;
    case '(': t.kind = TokKind::LParen; t.text = "("; return true;
    case ')': t.kind = TokKind::RParen; t.text = ")"; return true;
    case '}': t.kind = TokKind::End; t.text = "}"; return true;
    default: return false;
  }
}

PostfixItem toItem(const Token& t) {
  PostfixItem it;
  it.text = t.text;
  it.code = t.code;
  switch (t.kind) {
    case TokKind::Operand: {
      it.kind = PostfixItem::Operand;
      const char c = t.text.empty() ? '\0' : t.text[0];
      if (isDigit(c) || c == '.' || c == '-') it.literal = parseDecimal(t.text, it.literalValue) ? 1 : -1;
      break;
    }
    case TokKind::Operator: it.kind = PostfixItem::Operator; break;
    case TokKind::Function: it.kind = PostfixItem::Function; break;
    default: it.kind = PostfixItem::Paren; break;
  }
  return it;
}

}  // namespace

CompiledExpr::CompiledExpr(std::string_view text) {
  // Preparation: runs of blanks (space, backspace) become one blank, trailing blanks go, "}" closes.
  std::string s;
  s.reserve(text.size() + 1);
  for (char c : text) {
    if (c == ' ' || c == '\b') {
      if (s.empty() || s.back() != ' ') s.push_back(' ');
    } else {
      s.push_back(c);
    }
  }
  while (!s.empty() && s.back() == ' ') s.pop_back();
  s.push_back('}');

  // Syntax check: every token up to the first end mark must read.
  Token t;
  size_t pos = 0;
  for (;;) {
    if (!lex(s, pos, t)) {
      error_ = kExprSyntax;
      return;
    }
    if (t.kind == TokKind::End) break;
  }

  // Conversion to postfix.
  std::vector<Token> stack;
  stack.reserve(16);
  Token bottom;
  bottom.kind = TokKind::LParen;
  bottom.text = "(";
  stack.push_back(bottom);
  pos = 0;
  bool havePrev = false;
  bool prevIsLParen = false;
  auto readNext = [&]() -> bool {
    if (!lex(s, pos, t)) return false;
    if (t.kind == TokKind::Operator && t.code == kSub && (!havePrev || prevIsLParen)) {
      t.code = kNeg;
      t.text = "~";
    }
    havePrev = true;
    prevIsLParen = t.kind == TokKind::LParen;
    return true;
  };
  if (!readNext()) {
    error_ = kExprAnalyse;
    return;
  }
  for (;;) {
    if (t.kind == TokKind::Operand) {
      if (items_.size() >= kTableEntries) {
        error_ = kExprAnalyse;
        return;
      }
      items_.push_back(toItem(t));
      if (!readNext()) {
        error_ = kExprAnalyse;
        return;
      }
      continue;
    }
    const int in = incomingPriority(t);
    const int st = stack.empty() ? 0 : stackedPriority(stack.back());
    if (st < in) {
      if (stack.size() >= kTableEntries) {
        error_ = kExprAnalyse;
        return;
      }
      stack.push_back(t);
      if (!readNext()) {
        error_ = kExprAnalyse;
        return;
      }
    } else if (stack.back().kind != TokKind::LParen) {
      if (items_.size() >= kTableEntries) {
        error_ = kExprAnalyse;
        return;
      }
      items_.push_back(toItem(stack.back()));
      stack.pop_back();
    } else if (t.kind == TokKind::End) {
      break;
    } else {
      stack.pop_back();
      if (!readNext()) {
        error_ = kExprAnalyse;
        return;
      }
    }
  }
}

namespace {

// A value-stack entry: an operand as written, a computed number (already rounded as its text would
// read back), or the text of a non-finite result ("INF", "-NAN", ...).
// No member initialisers: the evaluator's 256 entries must cost nothing to set up.
struct Value {
  enum Kind : uint8_t { Raw, Number, Special };
  Kind kind;
  const PostfixItem* raw;
  long double num;
  char special[8];
};

class Evaluator {
 public:
  Evaluator(const VarStore& vars, Random& rng) : vars_(vars), rng_(rng) {}

  int run(const CompiledExpr& expr, std::string& result);

 private:
  int resolveText(std::string_view text, const PostfixItem* cache, long double& out) const;
  int resolve(const Value* v, long double& out) const;
  void textOf(const Value* v, std::string& out) const;
  // Makes a stack entry of a computed value.
  static void make(Value& v, long double r);
  int function(int code, long double x, long double& r);
  int binary(int code, long double a, long double b, long double& r) const;
  int lookupFunction(int code, const Value* top, long double& r);

  const VarStore& vars_;
  Random& rng_;
  Value stack_[kTableEntries];
  int sp_ = 0;  // number of entries
};

int Evaluator::resolveText(std::string_view text, const PostfixItem* cache, long double& out) const {
  if (text.empty()) {
    out = 0;
    return kExprOk;
  }
  if (text == "PI") {
    out = kPi;
    return kExprOk;
  }
  const char c = text[0];
  if (isLetter(c) || c == '_') {
    int idx;
    if (cache) {
      if (cache->varGeneration != vars_.generation()) {
        cache->varIndex = vars_.find(text);
        cache->varGeneration = vars_.generation();
      }
      idx = cache->varIndex;
    } else {
      idx = vars_.find(text);
    }
    if (idx < 0) return kExprVariable;
    return vars_.number(static_cast<size_t>(idx), out) == NumberRead::Number ? kExprOk : kExprVariable;
  }
  if (isDigit(c) || c == '.' || c == '-') {
    if (cache && cache->literal != 0) {
      if (cache->literal < 0) return kExprSyntax;
      out = cache->literalValue;
      return kExprOk;
    }
    return parseDecimal(text, out) ? kExprOk : kExprSyntax;
  }
  return kExprVariable;
}

int Evaluator::resolve(const Value* v, long double& out) const {
  if (!v) {  // below the bottom of the stack: empty text
    out = 0;
    return kExprOk;
  }
  switch (v->kind) {
    case Value::Raw: return resolveText(v->raw->text, v->raw, out);
    case Value::Number: out = v->num; return kExprOk;
    default: return resolveText(v->special, nullptr, out);
  }
}

void Evaluator::textOf(const Value* v, std::string& out) const {
  out.clear();
  if (!v) return;
  switch (v->kind) {
    case Value::Raw: out = v->raw->text; break;
    case Value::Number: appendNumber(out, v->num); break;
    default: out = v->special; break;
  }
}

void Evaluator::make(Value& v, long double r) {
  if (std::isfinite(r)) {
    v.kind = Value::Number;
    if (r == 0) {
      v.num = 0;  // "0" reads back as +0
    } else {
      v.num = round15(r);
    }
    return;
  }
  v.kind = Value::Special;
  char buf[kNumberTextMax + 8];
  const size_t n = formatNumber(r, buf);
  memcpy(v.special, buf, n);
  v.special[n] = 0;
}

// tan x - x in 64-bit arithmetic, with tan taken as 0 where cos x vanishes.
double involute(double x) {
  const double c = std::cos(x);
  const double t = std::fabs(c) < 1e-14 ? 0.0 : std::sin(x) / c;
  return t - x;
}

long double inverseInvolute(long double y) {
  const double yd = static_cast<double>(y);
  double t = 0, step = 1;
  int refinements = 1;
  const double kDeg = 3.14159265358979323846 / 180.0;
  for (;;) {
    // The involute runs from 0 to infinity on [0, 90) degrees; past 90 degrees the search would
    // never stop for large y, so 90 degrees and beyond count as above every y.
    const bool below = t < 90.0 && involute(t * kDeg) <= yd;
    if (below) {
      t += step;
    } else {
      t -= step;
      step /= 10;
      if (++refinements >= 14) break;
    }
  }
  return static_cast<long double>(t) * kPi / 180.0L;
}

long double power(long double a, long double b) {
  if (b == 0) return 1;
  if (a == 0 && b > 0) return 0;
  if (b == std::trunc(b) && std::fabs(b) <= 2147483647.0L) {
    const unsigned long long n = static_cast<unsigned long long>(std::fabs(b));
    long double r;
    if (std::fabs(a) == 1) {
      r = (a < 0 && (n & 1)) ? -1.0L : 1.0L;
    } else if (n <= (1u << 20)) {
      // Repeated multiplication, as the value is defined; it stops early once it is 0 or infinite.
      r = 1;
      for (unsigned long long i = 0; i < n; ++i) {
        r *= a;
        if (r == 0 || std::isinf(r)) break;
      }
      // A product that reached infinity early keeps the sign the full product has.
      if (std::isinf(r)) r = (a < 0 && (n & 1)) ? -HUGE_VALL : HUGE_VALL;
    } else {
      // Millions of multiplications would stall the run; the library power gives the same value
      // within the 15 digits that are kept.
      r = std::pow(a, static_cast<long double>(n));
    }
    return b < 0 ? 1.0L / r : r;
  }
  return std::exp(b * std::log(a));
}

int Evaluator::function(int code, long double x, long double& r) {
  switch (code) {
    case kSin: r = std::fabs(x) >= 9223372036854775808.0L ? 0.0L : std::sin(x); break;
    case kCos: r = std::fabs(x) >= 9223372036854775808.0L ? 0.0L : std::cos(x); break;
    case kTan: {
      const long double c = std::fabs(x) >= 9223372036854775808.0L ? 0.0L : std::cos(x);
      if (std::fabs(c) < kEps) return kExprCalc;
      r = std::sin(x) / c;
      break;
    }
    case kAsin: r = std::atan2(x, std::sqrt(1 - x * x)); break;
    case kAcos: r = std::atan2(std::sqrt(1 - x * x), x); break;
    case kAtan: r = std::atan2(x, 1.0L); break;
    case kSqrt:
      if (x <= -kEps) return kExprCalc;
      r = std::fabs(x) <= kEps ? 0.0L : std::sqrt(x);
      break;
    case kExp: r = std::exp(x); break;
    case kLog:
      if (x < kEps) return kExprCalc;
      r = std::log(x);
      break;
    case kLog10:
      if (x < kEps) return kExprCalc;
      r = std::log(x) / std::log(10.0L);
      break;
    case kLog2:
      if (x < kEps) return kExprCalc;
      r = std::log(x) / std::log(2.0L);
      break;
    case kAbs: r = std::fabs(x); break;
    case kInt: r = std::trunc(x); break;
    case kFrac: r = x - std::trunc(x); break;
    case kSinh: r = (std::exp(x) - std::exp(-x)) / 2; break;
    case kCosh: r = (std::exp(x) + std::exp(-x)) / 2; break;
    case kTanh: {
      const long double d = std::exp(x) + std::exp(-x);
      if (std::fabs(d) < kEps) return kExprCalc;
      r = (std::exp(x) - std::exp(-x)) / d;
      break;
    }
    case kInv: r = involute(static_cast<double>(x)); break;
    case kAinv: r = inverseInvolute(x); break;
    case kRand: {
      const long double m = x < kEps ? 1.0L : x;
      r = static_cast<long double>(rng_.next()) * m;
      break;
    }
    case kNot: r = std::fabs(std::trunc(x)) < kEps ? 1 : 0; break;
    default: return kExprSyntax;
  }
  return kExprOk;
}

int Evaluator::binary(int code, long double a, long double b, long double& r) const {
  const bool equal = std::fabs(a - b) < kEps;
  switch (code) {
    case kAdd: r = a + b; break;
    case kSub: r = a - b; break;
    case kMul: r = a * b; break;
    case kDiv:
      if (std::fabs(b) < kEps) return kExprZeroDivided;
      r = a / b;
      break;
    case kMod:
      if (std::fabs(b) < kEps) return kExprZeroDivided;
      r = a - std::trunc(a / b) * b;
      break;
    case kPow: r = power(a, b); break;
    case kAnd: r = (std::fabs(std::trunc(a)) >= kEps && std::fabs(std::trunc(b)) >= kEps) ? 1 : 0; break;
    case kOr: r = (std::fabs(std::trunc(a)) >= kEps || std::fabs(std::trunc(b)) >= kEps) ? 1 : 0; break;
    case kEq: r = equal ? 1 : 0; break;
    case kNe: r = equal ? 0 : 1; break;
    case kGe: r = (equal || a > b) ? 1 : 0; break;
    case kGt: r = (!equal && a > b) ? 1 : 0; break;
    case kLe: r = (equal || a < b) ? 1 : 0; break;
    case kLt: r = (!equal && a < b) ? 1 : 0; break;
    default: return kExprSyntax;
  }
  return kExprOk;
}

int Evaluator::lookupFunction(int code, const Value* top, long double& r) {
  std::string name;
  textOf(top, name);
  const int idx = vars_.find(name);
  if (idx < 0) return kExprVariable;
  const std::string& value = vars_.value(static_cast<size_t>(idx));
  if (code == kLength) {
    r = static_cast<long double>(value.size());
    return kExprOk;
  }
  long double v;
  if (!parseDecimal(value, v)) return kExprCalc;
  r = code == kAtoi ? std::trunc(v) : v;
  return kExprOk;
}

int Evaluator::run(const CompiledExpr& expr, std::string& result) {
  result.clear();
  if (expr.compileError()) return expr.compileError();
  const auto& items = expr.items();
  if (items.size() == 1) {
    long double v;
    Value raw;
    raw.kind = Value::Raw;
    raw.raw = &items[0];
    const int e = resolve(&raw, v);
    if (e) return e;
    appendNumber(result, v);
    return kExprOk;
  }
  sp_ = 0;
  auto at = [this](int i) -> Value* { return i >= 0 && i < sp_ ? &stack_[i] : nullptr; };
  for (const PostfixItem& it : items) {
    if (it.kind == PostfixItem::Operand || it.kind == PostfixItem::Paren) {
      if (sp_ >= static_cast<int>(kTableEntries)) return kExprCoding;
      Value& v = stack_[sp_++];
      v.kind = Value::Raw;
      v.raw = &it;
      continue;
    }
    long double r;
    if (it.kind == PostfixItem::Function || it.code == kNeg) {
      Value* top = at(sp_ - 1);
      int e;
      if (it.kind == PostfixItem::Function && it.code >= kAtof) {
        e = lookupFunction(it.code, top, r);
      } else {
        long double x;
        e = resolve(top, x);
        if (e) return e;
        e = it.code == kNeg && it.kind == PostfixItem::Operator ? (r = -x, kExprOk) : function(it.code, x, r);
      }
      if (e) return e;
      if (!top) return kExprCoding;
      make(*top, r);
      continue;
    }
    long double a, b;
    int e = resolve(at(sp_ - 2), a);
    if (e) return e;
    e = resolve(at(sp_ - 1), b);
    if (e) return e;
    e = binary(it.code, a, b, r);
    if (e) return e;
    Value* left = at(sp_ - 2);
    if (!left) return kExprCoding;
    make(*left, r);
    --sp_;
  }
  if (sp_ > 0) textOf(&stack_[0], result);
  return kExprOk;
}

}  // namespace

int evaluate(const CompiledExpr& expr, const VarStore& vars, Random& rng, std::string& result) {
  Evaluator e(vars, rng);
  return e.run(expr, result);
}

int evaluate(std::string_view text, const VarStore& vars, Random& rng, std::string& result) {
  CompiledExpr expr(text);
  return evaluate(expr, vars, rng, result);
}

}  // namespace kubrix
