// The script engine: one object holds all run state (stores, figure store, log, tables of the run)
// and runs a script header followed by a script body. No globals: any number of engines may exist.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/expr.h"
#include "engine/host.h"
#include "engine/log.h"
#include "engine/random.h"
#include "engine/script_lines.h"
#include "engine/var_store.h"
#include "geometry/figure_store.h"
#include "geometry/matrix.h"

namespace kubrix {

struct CommandSpec;

// One row of the parameter grid: caption, name and the value as shown.
struct GridRow {
  std::string caption, name, shown;
};

enum class SectionMode : uint8_t { None, Var, Calc, Draw, List };

// State that a command keeps for its line between passes of a loop (a compiled expression, ...).
struct CommandCache {
  virtual ~CommandCache() = default;
};

// A draw line split once per run.
struct DrawLine {
  struct Arg {
    uint32_t offset = 0, length = 0;
    mutable uint64_t varGeneration = 0;
    mutable int var = -1;
    mutable int8_t literal = 0;  // 0 not read yet, 1 number, -1 no number
    mutable double literalValue = 0;
  };
  explicit DrawLine(std::string_view workingLine);
  std::string working;   // the line cut before "//"
  std::string prepared;  // blanks normalised, control characters dropped
  std::string tokens;    // token texts back to back
  std::vector<Arg> args; // args[0] is the keyword
  std::string keyword;   // token 0 upper-cased
  const CommandSpec* command = nullptr;
  std::unique_ptr<CommandCache> cache;
};

// A calculation line prepared once per run.
struct CalcLine {
  CalcLine() = default;
  // Splits "name=expression" at the first "=".
  explicit CalcLine(std::string_view packedLine);
  bool hasAssign = false;
  std::string name, expression;
  std::unique_ptr<CompiledExpr> compiled;
  uint64_t varGeneration = 0;
  int var = -1;
};

class Engine {
 public:
  explicit Engine(Host& host);
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // Script texts, CP932. The header is the generated block above the editor; the body the user's script.
  void setHeader(std::string text);
  void setBody(std::string text);
  size_t headerLineCount() const { return header_.size(); }
  size_t lineCount() const { return header_.size() + body_.size(); }
  // Line by line index over header and body; empty beyond the end.
  std::string_view line(long long index) const;

  // The run button: run with the stores kept.
  void run();
  // The reset button: empty the variable and list stores, then run.
  void resetAndRun();
  void clearStores();

  // Options a host sets.
  bool logOff = false;
  unsigned long long maxSteps = 0;  // 0: no limit

  // State.
  VarStore vars;
  ListStore lists;
  FigureStore figures;
  Matrix4 matrix = Matrix4::identity();        // the current matrix
  Matrix4 matrixBackup = Matrix4::identity();  // its one-level backup
  // The selection set: element numbers in the order they were added (may name deleted elements or
  // numbers outside the store; readers skip those). Emptied at the start of every run.
  std::vector<int32_t> selection;
  // The chain point list built from selected lines and read by the chain surface commands.
  std::vector<Point3> chainPoints;
  // The 4 x 4 face-point grid in local coordinates, [first index][second index]; zeros at run start.
  Point3 facePoints[4][4] = {};
  Log log;
  Random rng;
  Host& host() { return host_; }

  // Results of the last run.
  const std::string& status(int panel) const { return status_[panel]; }
  const std::vector<GridRow>& grid() const { return grid_; }
  unsigned long long stepsExecuted() const { return steps_; }

  // The log writer: one line for the current line, unless the log is off or it is a header line.
  bool logging() const { return !logOff && currentLine_ >= static_cast<long long>(header_.size()); }
  void writeLog(std::string_view message);

  // Line handlers (packed lines).
  void defineVariable(std::string_view packedLine);
  void defineList(std::string_view packedLine);
  void calculate(long long lineIndex, CalcLine& line);
  void executeDrawLine(DrawLine& line);

  // The parameter grid's edit of a variable (the accepted value replaces the value); false and a
  // reason (UTF-8) when the text is not accepted.
  bool editParameter(int var, std::string_view text, std::string& reason);

  // Scratch text for one log message; commands build their message here.
  std::string& message() {
    msg_.clear();
    return msg_;
  }

 private:
  struct LineCache;
  struct IfEntry {
    long long ifLine, elseLine, endLine;
  };
  struct WhileEntry {
    long long whileLine, endLine;
    std::string condition;
    std::unique_ptr<CompiledExpr> compiled;
  };
  enum LineKind : uint8_t { kEmpty, kOrdinary, kLabel, kExit, kSection, kIf, kElse, kWhile, kEnd, kGoto };

  void setStatus(int panel, std::string_view text);
  void resetRunState();
  void prescan();
  void walk();
  void fillGrid();
  LineCache& cacheOf(long long b);
  // Evaluates a condition; valid and truth as the control lines read them.
  void condition(const CompiledExpr& expr, bool& valid, bool& truth);
  // Control lines: each returns the line index the walk continues after.
  long long doIf(long long b);
  long long doElse(long long b);
  long long doWhile(long long b);
  long long doEnd(long long b);
  long long doGoto(long long b);
  void doOrdinary(long long b, SectionMode mode);
  void loopCondition(WhileEntry& w, bool& valid, bool& truth);
  // a + b + c as one log line.
  void logJoined(std::string_view a, std::string_view b, std::string_view c = {});
  // text + "[L:" + b + "] "
  void logAtLine(std::string_view text, long long b);

  Host& host_;
  ScriptLines header_, body_;
  std::string status_[2];
  std::vector<GridRow> grid_;
  long long currentLine_ = -1;
  unsigned long long steps_ = 0;
  std::string msg_, calcMsg_, result_;

  // Tables of the run.
  std::vector<uint8_t> kinds_;
  // Lines that can run more than once (inside a loop, or at or after a label) keep their prepared
  // form for the whole run; the others use one scratch slot, so a long straight script stays small.
  std::vector<bool> repeatable_;
  std::vector<std::unique_ptr<LineCache>> caches_;
  std::unique_ptr<LineCache> scratch_;
  long long scratchLine_ = -1;
  std::unordered_map<std::string, long long, StringHash, std::equal_to<>> labels_;
  std::vector<IfEntry> ifs_;
  std::vector<WhileEntry> whiles_;
  std::vector<int> ifOfLine_, whileOfLine_;
};

// Splits a prepared draw line (or list elements) into tokens: blanks and commas separate, double
// quotes enclose a token with "" standing for one quote; a comma at the very end adds an empty token.
void splitTokens(std::string_view line, std::string& texts, std::vector<DrawLine::Arg>& args);

// The draw-line preparation: full-width spaces outside quotes and tabs become spaces, other control
// characters are dropped.
std::string prepareDrawLine(std::string_view working);

// The working line: the raw line cut before the first "//".
std::string_view workingLine(std::string_view raw);

}  // namespace kubrix
