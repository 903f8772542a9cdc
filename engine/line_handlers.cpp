// The handlers of #VAR, #LIST and #CALC lines (and of the CAL draw line).
#include "engine/engine.h"
#include "engine/number_text.h"
#include "engine/sjis.h"

namespace kubrix {

CalcLine::CalcLine(std::string_view pk) {
  const size_t eq = findChars(pk, "=");
  hasAssign = eq != std::string_view::npos;
  if (hasAssign) {
    name = pk.substr(0, eq);
    expression = pk.substr(eq + 1);
  }
}

void Engine::defineVariable(std::string_view pk) {
  std::string_view caption;
  const size_t semi = findChars(pk, ";");
  if (semi != std::string_view::npos) {
    caption = cutBytes(pk.substr(semi + 1), kMaxCaptionBytes);
    pk = pk.substr(0, semi);
  }
  std::string_view name = pk, value;
  const size_t eq = findChars(pk, "=");
  if (eq != std::string_view::npos) {
    name = pk.substr(0, eq);
    value = pk.substr(eq + 1);
  }
  if (name.empty() || name.size() > kMaxNameBytes) return;
  if (vars.find(name) >= 0) {
    logJoined(SJ("変数「"), name, SJ("」は既に定義されています。"));
    return;
  }
  const int pos = vars.add(std::string(caption), std::string(name), std::string(value));
  if (logging()) {
    std::string& m = message();
    m += SJ("変数定義(");
    appendInt(m, pos + 1);
    m += "):";
    m += caption;
    m += SJ("「");
    m += name;
    m += SJ("」 初期値:");
    m += value;
    writeLog(m);
  }
}

void Engine::defineList(std::string_view pk) {
  const size_t eq = findChars(pk, "=");
  const std::string_view name = eq == std::string_view::npos ? std::string_view() : pk.substr(0, eq);
  const std::string_view elements = eq == std::string_view::npos ? std::string_view() : pk.substr(eq + 1);
  if (eq == std::string_view::npos || name.empty() || elements.empty() || name.size() > kMaxNameBytes) {
    logJoined(SJ("定義エラー("), pk, ")");
    return;
  }
  if (lists.find(name) >= 0) {
    logJoined(SJ("変数「"), name, SJ("」は既にリスト定義されています。"));
    return;
  }
  std::string texts;
  std::vector<DrawLine::Arg> parts;
  splitTokens(elements, texts, parts);
  std::vector<std::string> items;
  items.reserve(parts.size());
  for (const auto& a : parts) items.emplace_back(texts, a.offset, a.length);
  const int count = static_cast<int>(items.size());
  const int pos = lists.add(std::string(name), std::move(items));
  if (logging()) {
    std::string& m = message();
    m += SJ("変数リスト定義(");
    appendInt(m, pos + 1);
    m += SJ("):「");
    m += name;
    m += SJ("」 要素数:");
    appendInt(m, count);
    writeLog(m);
  }
}

void Engine::calculate(long long n, CalcLine& cl) {
  // Messages go through calcMsg_: a CAL line is itself built inside a command.
  auto lineError = [&](std::string_view text) {
    if (!logging()) return;
    calcMsg_.assign("[L:");
    appendInt(calcMsg_, n);
    calcMsg_ += "] ";
    calcMsg_ += text;
    writeLog(calcMsg_);
  };
  if (!cl.hasAssign) {
    lineError(SJ("代入状態になっていません。"));
    return;
  }
  if (cl.varGeneration != vars.generation()) {
    cl.var = vars.find(cl.name);
    cl.varGeneration = vars.generation();
  }
  if (cl.var < 0) {
    lineError(SJ("代入変数が宣言されていません。"));
    return;
  }
  if (!cl.compiled) cl.compiled = std::make_unique<CompiledExpr>(cl.expression);
  const int err = evaluate(*cl.compiled, vars, rng, result_);
  if (err) {
    lineError(exprErrorName(err));
    return;
  }
  vars.setValue(static_cast<size_t>(cl.var), result_);
  if (logging()) {
    calcMsg_.assign(SJ("式計算："));
    calcMsg_ += cl.expression;
    writeLog(calcMsg_);
    calcMsg_.assign(SJ("(結果)："));
    calcMsg_ += result_;
    calcMsg_ += SJ("→");
    calcMsg_ += cl.name;
    writeLog(calcMsg_);
  }
}

}  // namespace kubrix
