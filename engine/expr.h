// The expression evaluator: infix text to postfix (operator precedence over two 256-entry tables),
// then evaluation on a value stack. Every intermediate value passes through the number-to-text rule,
// so it is rounded to 15 significant digits exactly as if it had been written out and read back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/random.h"
#include "engine/var_store.h"

namespace kubrix {

enum ExprError : int {
  kExprOk = 0,
  kExprMemoryOver = 1,
  kExprSyntax = 2,
  kExprAnalyse = 3,
  kExprCoding = 10,
  kExprZeroDivided = 11,
  kExprCalc = 12,
  kExprVariable = 13,
};

// The name a calculation line writes to the log for an error code ("Syntax Error", ...).
std::string_view exprErrorName(int code);

// One entry of the postfix queue.
struct PostfixItem {
  enum Kind : uint8_t { Operand, Operator, Function, Paren };
  Kind kind = Operand;
  int code = 0;      // operator or function code
  std::string text;  // as written
  // Operand caches: a number literal read once; a variable name looked up once per store generation.
  int8_t literal = 0;  // 0 not a literal, 1 readable, -1 unreadable
  long double literalValue = 0;
  mutable uint64_t varGeneration = 0;
  mutable int varIndex = -1;
};

// An expression converted once and evaluated any number of times.
class CompiledExpr {
 public:
  explicit CompiledExpr(std::string_view text);
  int compileError() const { return error_; }
  const std::vector<PostfixItem>& items() const { return items_; }

 private:
  int error_ = 0;
  std::vector<PostfixItem> items_;
};

// Evaluates; on success (0) result holds the result text, otherwise the error code is returned and
// result is left empty.
int evaluate(const CompiledExpr& expr, const VarStore& vars, Random& rng, std::string& result);

// Convenience for one-off evaluations (tests, tools).
int evaluate(std::string_view text, const VarStore& vars, Random& rng, std::string& result);

}  // namespace kubrix
