// The run: reset, pre-scan, walk with its control lines, and the end of a run.
#include "engine/engine.h"

#include <cmath>
#include <cstdio>

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
  walk();
  fillGrid();
  // The tables stay until the next run, but the per-line caches are only needed during the walk.
  caches_.clear();
  caches_.shrink_to_fit();
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
  struct Open {
    bool isIf;
    size_t entry;
  };
  std::vector<Open> open;
  std::string pk, key;
  for (size_t b = 0; b < total; ++b) {
    pk.clear();
    appendPacked(pk, line(static_cast<long long>(b)));
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
}

Engine::LineCache& Engine::cacheOf(long long b) {
  auto& c = caches_[static_cast<size_t>(b)];
  if (!c) {
    c = std::make_unique<LineCache>();
    appendPacked(c->packed, line(b));
  }
  return *c;
}

void Engine::condition(const CompiledExpr& expr, bool& valid, bool& truth) {
  const int err = evaluate(expr, vars, rng, result_);
  long double v = 0;
  valid = err == 0 && parseDecimal(result_, v);
  truth = valid && std::fabs(v) >= 1e-14L;
}

void Engine::walk() {
  prescan();
  SectionMode mode = SectionMode::None;
  const long long total = static_cast<long long>(lineCount());
  const std::string& ifText = SJ("IF文 ");
  const std::string& whileText = SJ("WHILE文 ");
  const std::string& endText = SJ("WHILEのEND文 ");
  for (long long b = 0; b < total;) {
    currentLine_ = b;
    const uint8_t kind = kinds_[static_cast<size_t>(b)];
    ++steps_;
    switch (kind) {
      case kEmpty: break;
      case kLabel: {
        if (logging()) {
          std::string& m = message();
          m += SJ("ラベル");
          m += workingLine(line(b));
          writeLog(m);
        }
        ++b;
        if (maxSteps && steps_ >= maxSteps) return;
        continue;  // no Escape test after a label line
      }
      case kExit:
        writeLog(SJ("強制終了"));
        return;
      case kSection: {
        const std::string& pk = cacheOf(b).packed;
        const char c = static_cast<char>(pk.size() > 1 ? (pk[1] & ~0x20) : 0);
        mode = c == 'L' ? SectionMode::List : c == 'V' ? SectionMode::Var : c == 'C' ? SectionMode::Calc : SectionMode::Draw;
        break;
      }
      case kIf: {
        LineCache& lc = cacheOf(b);
        const std::string_view cond = std::string_view(lc.packed).substr(3);
        if (logging()) {
          std::string& m = message();
          m += ifText;
          m += cond;
          writeLog(m);
        }
        if (!lc.condition) lc.condition = std::make_unique<CompiledExpr>(cond);
        bool valid, truth;
        condition(*lc.condition, valid, truth);
        if (!valid) {
          if (logging()) {
            std::string& m = message();
            m += SJ("不正なIF文です。[L:");
            appendInt(m, b);
            m += "] ";
            writeLog(m);
          }
        } else if (!truth) {
          const IfEntry* e = ifOfLine_[static_cast<size_t>(b)] >= 0 ? &ifs_[static_cast<size_t>(ifOfLine_[static_cast<size_t>(b)])] : nullptr;
          if (e && e->elseLine >= 0) {
            b = e->elseLine;
          } else if (e && e->endLine >= 0) {
            b = e->endLine;
          } else if (logging()) {
            std::string& m = message();
            m += SJ("ELSE/END文がありません。[L:");
            appendInt(m, b);
            m += "] ";
            writeLog(m);
          }
        }
        break;
      }
      case kElse: {
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
        if (endLine >= 0) b = endLine;
        break;
      }
      case kWhile: {
        const int wi = whileOfLine_[static_cast<size_t>(b)];
        WhileEntry& w = whiles_[static_cast<size_t>(wi)];
        if (logging()) {
          std::string& m = message();
          m += whileText;
          m += w.condition;
          writeLog(m);
        }
        if (!w.compiled) w.compiled = std::make_unique<CompiledExpr>(w.condition);
        bool valid, truth;
        condition(*w.compiled, valid, truth);
        if (!valid) {
          if (logging()) {
            std::string& m = message();
            m += SJ("不正なWHILE文です。[L:");
            appendInt(m, b);
            m += "] ";
            writeLog(m);
          }
        } else if (!truth) {
          if (w.endLine < 0) {
            if (logging()) {
              std::string& m = message();
              m += SJ("END文がありません。[L:");
              appendInt(m, b);
              m += "] ";
              writeLog(m);
            }
          } else {
            b = w.endLine;
          }
        }
        break;
      }
      case kEnd: {
        const int wi = whileOfLine_[static_cast<size_t>(b)];
        if (wi < 0) break;  // the #END of an #IF: nothing to do
        WhileEntry& w = whiles_[static_cast<size_t>(wi)];
        if (w.endLine != b) break;  // a #WHILE line, reached as an #END cannot be
        if (logging()) {
          std::string& m = message();
          m += endText;
          m += w.condition;
          writeLog(m);
        }
        if (!w.compiled) w.compiled = std::make_unique<CompiledExpr>(w.condition);
        bool valid, truth;
        condition(*w.compiled, valid, truth);
        if (valid && truth) b = w.whileLine;
        break;
      }
      case kGoto: {
        const std::string_view label = std::string_view(cacheOf(b).packed).substr(5);
        auto it = labels_.find(label);
        if (it != labels_.end()) {
          if (logging()) {
            std::string& m = message();
            m += SJ("GOTO文 ");
            m += label;
            m += "(";
            appendInt(m, it->second);
            m += SJ("行目へ)");
            writeLog(m);
          }
          b = it->second;
        } else if (logging()) {
          std::string& m = message();
          m += SJ("GOTO文 ");
          m += label;
          m += SJ("：ラベルが見つかりませんのでパスします。");
          writeLog(m);
        }
        break;
      }
      default: {  // an ordinary line, handled by the section mode
        switch (mode) {
          case SectionMode::Var: defineVariable(cacheOf(b).packed); break;
          case SectionMode::List: defineList(cacheOf(b).packed); break;
          case SectionMode::Calc: {
            LineCache& lc = cacheOf(b);
            if (!lc.calc) {
              lc.calc = std::make_unique<CalcLine>();
              const size_t eq = lc.packed.find('=');
              lc.calc->hasAssign = eq != std::string::npos;
              if (lc.calc->hasAssign) {
                lc.calc->name = lc.packed.substr(0, eq);
                lc.calc->expression = lc.packed.substr(eq + 1);
              }
            }
            calculate(b, *lc.calc);
            break;
          }
          case SectionMode::Draw: {
            LineCache& lc = cacheOf(b);
            if (!lc.draw) {
              lc.draw = std::make_unique<DrawLine>();
              lc.draw->working.assign(workingLine(line(b)));
              lc.draw->prepared = prepareDrawLine(lc.draw->working);
              splitTokens(lc.draw->prepared, lc.draw->tokens, lc.draw->args);
              if (!lc.draw->args.empty()) {
                lc.draw->keyword = lc.draw->tokens.substr(lc.draw->args[0].offset, lc.draw->args[0].length);
                upperInPlace(lc.draw->keyword);
              }
              lc.draw->command = commandTable().find(lc.draw->keyword);
            }
            executeDrawLine(*lc.draw);
            break;
          }
          case SectionMode::None: break;
        }
        break;
      }
    }
    ++b;
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
