// The view a command has of its draw line: argument readers by kind, output variables, the figure
// store and the log. The dispatcher builds one per executed line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/engine.h"

namespace kubrix {

class CommandCall {
 public:
  CommandCall(Engine& engine, DrawLine& line) : engine_(engine), line_(line) {}

  Engine& engine() { return engine_; }
  FigureStore& figures() { return engine_.figures; }
  std::string_view keyword() const { return line_.keyword; }
  DrawLine& line() { return line_; }

  // Arguments are numbered from 1; a missing argument reads as empty text.
  size_t argCount() const { return line_.args.empty() ? 0 : line_.args.size() - 1; }
  std::string_view token(size_t k) const;
  // The variable named by token k, or -1.
  int variable(size_t k) const;
  // Numeric argument: the named variable's value or the token, read as a number; 0 when unreadable.
  double num(size_t k) const;
  // Integer argument: the same, read as a 32-bit whole number; 0 when unreadable.
  int32_t integer(size_t k) const;
  // Text argument: the named variable's value or the token itself.
  std::string_view text(size_t k) const;
  Point3 point(size_t k) const { return Point3{num(k), num(k + 1), num(k + 2)}; }

  // Output variables: written only after they were found.
  void set(int var, std::string_view value) { engine_.vars.setValue(static_cast<size_t>(var), value); }
  void setInt(int var, long long value);
  void setNumber(int var, long double value);

  bool logging() const { return engine_.logging(); }
  std::string& message() { return engine_.message(); }
  void log(std::string_view m) { engine_.writeLog(m); }
  // "<KEYWORD>: 出力変数名が未定義です。" (with a blank after the colon when spaced).
  void logUndefinedOutput(bool spaced);

 private:
  Engine& engine_;
  DrawLine& line_;
};

// Appends "x,y,z" in the number-to-text rule.
void appendPoint(std::string& out, const Point3& p);

}  // namespace kubrix
