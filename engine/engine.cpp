// The run: reset, pre-scan, walk with its control lines, and the end of a run.
#include "engine/engine.h"

#include <cmath>
#include <cstdio>
#include <exception>

#include "engine/command_call.h"
#include "engine/command_table.h"
#include "engine/number_text.h"
#include "engine/sjis.h"

namespace kubrix {

struct Engine::LineCache {
  std::string packed;
  std::unique_ptr<CompiledExpr> condition;  // #IF
  std::unique_ptr<CalcLine> calc;
  std::unique_ptr<DrawLine> draw;
};

Engine::Engine(Host& host) : host_(host) {}
Engine::~Engine() = default;

void Engine::setHeader(std::string text) { header_.assign(std::move(text)); }
void Engine::setBody(std::string text) { body_.assign(std::move(text)); }

std::string_view Engine::line(long long index) const {
  if (index < 0) return {};
  const size_t i = static_cast<size_t>(index);
  if (i < header_.size()) return header_.line(i);
  if (i < header_.size() + body_.size()) return body_.line(i - header_.size());
  return {};
}

std::string_view workingLine(std::string_view raw) {
  const size_t cut = findChars(raw, "//");
  return cut == std::string_view::npos ? raw : raw.substr(0, cut);
}

void Engine::clearStores() {
  vars.clear();
  lists.clear();
}

void Engine::resetAndRun() {
  clearStores();
  run();
}

void Engine::setStatus(int panel, std::string_view text) {
  status_[panel].assign(text);
  host_.statusChanged(panel, status_[panel]);
}

void Engine::writeLog(std::string_view message) {
  if (!logging()) return;
  log.append(currentLine_ - static_cast<long long>(header_.size()), message);
}

void Engine::resetRunState() {
  figures.clear();
  figures.layer = 0;
  figures.colour = 1;
  matrix = Matrix4::identity();
  matrixBackup = Matrix4::identity();
  selection.clear();
  chainPoints.clear();
  for (auto& row : facePoints)
    for (auto& p : row) p = Point3{};
}

namespace {

std::string elapsedText(long long ms) {
  if (ms < 0) ms = 0;
  char buf[48];
  snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld.%03lld", ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
  return buf;
}

bool startsWith(std::string_view s, std::string_view p) { return s.substr(0, p.size()) == p; }

}  // namespace

void Engine::run() {
  const long long start = host_.nowMs();
  setStatus(0, "");
  setStatus(1, SJ("スクリプト実行中です。（[ESC]：中断）"));
  log.clear();
  grid_.clear();
  currentLine_ = -1;
  steps_ = 0;
  resetRunState();
  if (!hasNonBlank(body_.text())) {
    setStatus(1, SJ("スクリプトが空状態です。"));
    log.flush();
    return;
  }
  try {
    walk();
  } catch (const std::exception&) {
    // Out of memory while preparing a line: the walk ends there; what the run made is kept.
  }
  fillGrid();
  // The tables stay until the next run, but the per-line caches are only needed during the walk.
  caches_.clear();
  caches_.shrink_to_fit();
  scratch_.reset();
  std::string done = SJ("スクリプト終了しました。（");
  done += elapsedText(host_.nowMs() - start);
  done += SJ("）");
  setStatus(1, done);
  log.flush();
}

void Engine::prescan() {
  const size_t total = lineCount();
  kinds_.assign(total, kEmpty);
  caches_.clear();
  caches_.resize(total);
  labels_.clear();
  ifs_.clear();
  whiles_.clear();
  ifOfLine_.assign(total, -1);
  whileOfLine_.assign(total, -1);
  scratch_.reset();
  scratchLine_ = -1;
  struct Open {
    bool isIf;
    size_t entry;
  };
  std::vector<Open> open;
  std::string pk, key;
  for (size_t b = 0; b < total; ++b) {
    pk.clear();
    appendPacked(pk, workingLine(line(static_cast<long long>(b))));
    if (pk.empty()) continue;
    if (pk[0] == '*') {
      labels_.emplace(pk, static_cast<long long>(b));
      kinds_[b] = kLabel;
      continue;
    }
    if (pk[0] != '#') {
      kinds_[b] = kOrdinary;
      continue;
    }
    key = pk;
    upperInPlace(key);
    const long long lb = static_cast<long long>(b);
    // How the walk reads the line.
    uint8_t kind = kOrdinary;
    if (key == "#EXIT") kind = kExit;
    else if (key == "#LIST" || key == "#VAR" || key == "#CALC" || key == "#DRAW") kind = kSection;
    else if (startsWith(key, "#IF")) kind = kIf;
    else if (key == "#ELSE") kind = kElse;
    else if (startsWith(key, "#WHILE")) kind = kWhile;
    else if (key == "#END") kind = kEnd;
    else if (startsWith(key, "#GOTO")) kind = kGoto;
    kinds_[b] = kind;
    // How the pre-scan pairs blocks (by prefix, so "#ENDIF" closes a block).
    if (startsWith(key, "#IF")) {
      ifs_.push_back(IfEntry{lb, -1, -1});
      ifOfLine_[b] = static_cast<int>(ifs_.size() - 1);
      open.push_back(Open{true, ifs_.size() - 1});
    } else if (startsWith(key, "#ELSE")) {
      if (!open.empty() && open.back().isIf) {
        ifs_[open.back().entry].elseLine = lb;
        if (ifOfLine_[b] < 0) ifOfLine_[b] = static_cast<int>(open.back().entry);
      }
    } else if (startsWith(key, "#WHILE")) {
      whiles_.push_back(WhileEntry{lb, -1, pk.substr(6), nullptr});
      whileOfLine_[b] = static_cast<int>(whiles_.size() - 1);
      open.push_back(Open{false, whiles_.size() - 1});
    } else if (startsWith(key, "#END")) {
      if (!open.empty()) {
        const Open o = open.back();
        open.pop_back();
        if (o.isIf) {
          ifs_[o.entry].endLine = lb;
        } else {
          whiles_[o.entry].endLine = lb;
          if (whileOfLine_[b] < 0) whileOfLine_[b] = static_cast<int>(o.entry);
        }
      }
    }
  }
  // Which lines a jump can bring back: every line from the first label on, and every loop body.
  repeatable_.assign(total, false);
  long long firstLabel = -1;
  for (size_t b = 0; b < total && firstLabel < 0; ++b)
    if (kinds_[b] == kLabel) firstLabel = static_cast<long long>(b);
  if (firstLabel >= 0)
    for (size_t b = static_cast<size_t>(firstLabel); b < total; ++b) repeatable_[b] = true;
  std::vector<int> depth(total + 1, 0);  // loop bodies as a difference array: nesting stays linear
  for (const auto& w : whiles_) {
    if (w.endLine < 0) continue;
    ++depth[static_cast<size_t>(w.whileLine)];
    --depth[static_cast<size_t>(w.endLine) + 1];
  }
  int inLoops = 0;
  for (size_t b = 0; b < total; ++b) {
    inLoops += depth[b];
    if (inLoops > 0) repeatable_[b] = true;
  }
}

Engine::LineCache& Engine::cacheOf(long long b) {
  const bool keep = repeatable_[static_cast<size_t>(b)];
  if (!keep && scratchLine_ != b) {
    scratch_.reset();
    scratchLine_ = b;
  }
  auto& c = keep ? caches_[static_cast<size_t>(b)] : scratch_;
  if (!c) {
    c = std::make_unique<LineCache>();
    appendPacked(c->packed, workingLine(line(b)));
  }
  return *c;
}

void Engine::condition(const CompiledExpr& expr, bool& valid, bool& truth) {
  const int err = evaluate(expr, vars, rng, result_);
  long double v = 0;
  valid = err == 0 && parseDecimal(result_, v);
  truth = valid && std::fabs(v) >= 1e-14L;
}

void Engine::logJoined(std::string_view a, std::string_view b, std::string_view c) {
  if (!logging()) return;
  std::string& m = message();
  m += a;
  m += b;
  m += c;
  writeLog(m);
}

void Engine::logAtLine(std::string_view text, long long b) {
  if (!logging()) return;
  std::string& m = message();
  m += text;
  m += "[L:";
  appendInt(m, b);
  m += "] ";
  writeLog(m);
}

long long Engine::doIf(long long b) {
  LineCache& lc = cacheOf(b);
  const std::string_view cond = std::string_view(lc.packed).substr(3);
  logJoined(SJ("IF文 "), cond);
  if (!lc.condition) lc.condition = std::make_unique<CompiledExpr>(cond);
  bool valid, truth;
  condition(*lc.condition, valid, truth);
  if (!valid) {
    logAtLine(SJ("不正なIF文です。"), b);
    return b;
  }
  if (truth) return b;
  const IfEntry& e = ifs_[static_cast<size_t>(ifOfLine_[static_cast<size_t>(b)])];
  if (e.elseLine >= 0) return e.elseLine;
  if (e.endLine >= 0) return e.endLine;
  logAtLine(SJ("ELSE/END文がありません。"), b);
  return b;
}

long long Engine::doElse(long long b) {
  // A second #ELSE in one block takes the block over, so the first no longer belongs to it.
  int ei = ifOfLine_[static_cast<size_t>(b)];
  if (ei >= 0 && ifs_[static_cast<size_t>(ei)].elseLine != b) ei = -1;
  const long long ifLine = ei >= 0 ? ifs_[static_cast<size_t>(ei)].ifLine : -1;
  const long long endLine = ei >= 0 ? ifs_[static_cast<size_t>(ei)].endLine : -1;
  if (logging()) {
    std::string& m = message();
    m += SJ("ELSE文  #IF行:");
    appendInt(m, ifLine);
    m += SJ(" #END行:");
    appendInt(m, endLine);
    writeLog(m);
  }
  return endLine >= 0 ? endLine : b;
}

void Engine::loopCondition(WhileEntry& w, bool& valid, bool& truth) {
  if (!w.compiled) w.compiled = std::make_unique<CompiledExpr>(w.condition);
  condition(*w.compiled, valid, truth);
}

long long Engine::doWhile(long long b) {
  WhileEntry& w = whiles_[static_cast<size_t>(whileOfLine_[static_cast<size_t>(b)])];
  logJoined(SJ("WHILE文 "), w.condition);
  bool valid, truth;
  loopCondition(w, valid, truth);
  if (!valid) {
    logAtLine(SJ("不正なWHILE文です。"), b);
    return b;
  }
  if (truth) return b;
  if (w.endLine >= 0) return w.endLine;
  logAtLine(SJ("END文がありません。"), b);
  return b;
}

long long Engine::doEnd(long long b) {
  const int wi = whileOfLine_[static_cast<size_t>(b)];
  if (wi < 0) return b;  // the #END of an #IF: nothing to do
  WhileEntry& w = whiles_[static_cast<size_t>(wi)];
  logJoined(SJ("WHILEのEND文 "), w.condition);
  bool valid, truth;
  loopCondition(w, valid, truth);
  return (valid && truth) ? w.whileLine : b;
}

long long Engine::doGoto(long long b) {
  const std::string_view label = std::string_view(cacheOf(b).packed).substr(5);
  auto it = labels_.find(label);
  if (it == labels_.end()) {
    logJoined(SJ("GOTO文 "), label, SJ("：ラベルが見つかりませんのでパスします。"));
    return b;
  }
  if (logging()) {
    std::string& m = message();
    m += SJ("GOTO文 ");
    m += label;
    m += "(";
    appendInt(m, it->second);
    m += SJ("行目へ)");
    writeLog(m);
  }
  return it->second;
}

void Engine::doOrdinary(long long b, SectionMode mode) {
  switch (mode) {
    case SectionMode::Var: defineVariable(cacheOf(b).packed); break;
    case SectionMode::List: defineList(cacheOf(b).packed); break;
    case SectionMode::Calc: {
      LineCache& lc = cacheOf(b);
      if (!lc.calc) lc.calc = std::make_unique<CalcLine>(lc.packed);
      calculate(b, *lc.calc);
      break;
    }
    case SectionMode::Draw: {
      LineCache& lc = cacheOf(b);
      if (!lc.draw) lc.draw = std::make_unique<DrawLine>(workingLine(line(b)));
      executeDrawLine(*lc.draw);
      break;
    }
    case SectionMode::None: break;
  }
}

static SectionMode sectionOf(std::string_view packedMarker) {
  const char c = static_cast<char>(packedMarker.size() > 1 ? (packedMarker[1] & ~0x20) : 0);
  return c == 'L' ? SectionMode::List : c == 'V' ? SectionMode::Var : c == 'C' ? SectionMode::Calc : SectionMode::Draw;
}

void Engine::walk() {
  prescan();
  SectionMode mode = SectionMode::None;
  const long long total = static_cast<long long>(lineCount());
  for (long long b = 0; b < total; ++b) {
    currentLine_ = b;
    ++steps_;
    switch (kinds_[static_cast<size_t>(b)]) {
      case kEmpty: break;
      case kLabel:
        logJoined(SJ("ラベル"), workingLine(line(b)));
        if (maxSteps && steps_ >= maxSteps) return;
        continue;  // no Escape test after a label line
      case kExit: writeLog(SJ("強制終了")); return;
      case kSection: mode = sectionOf(cacheOf(b).packed); break;
      case kIf: b = doIf(b); break;
      case kElse: b = doElse(b); break;
      case kWhile: b = doWhile(b); break;
      case kEnd: b = doEnd(b); break;
      case kGoto: b = doGoto(b); break;
      default: doOrdinary(b, mode); break;
    }
    if (maxSteps && steps_ >= maxSteps) return;
    if (host_.escapePressed()) return;
  }
}

void Engine::executeDrawLine(DrawLine& dl) {
  if (!dl.command) {
    if (logging()) {
      std::string& m = message();
      m += SJ("無効な命令です「");
      m += dl.prepared;
      m += SJ("」");
      writeLog(m);
    }
    return;
  }
  CommandCall call(*this, dl);
  try {
    dl.command->fn(call);
  } catch (const std::exception&) {
    // A failure the command does not handle itself ends that command silently.
  }
}

}  // namespace kubrix
