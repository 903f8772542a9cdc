// The commands that belong to the engine itself: CAL, CLEAR, LAYER, PEN and RANDOMIZE.
#include <algorithm>

#include "engine/command_call.h"
#include "engine/command_table.h"
#include "engine/number_text.h"
#include "engine/sjis.h"

namespace kubrix {

namespace {

// The calculation line of a CAL draw line, kept between passes of a loop.
struct CalCache : CommandCache {
  CalcLine calc;
};

// CAL name = expression: the text after the first "CAL", packed, is a calculation line numbered -1.
void cmdCal(CommandCall& c) {
  DrawLine& dl = c.line();
  if (!dl.cache) {
    auto cache = std::make_unique<CalCache>();
    const size_t at = findCharsNoCase(dl.working, "CAL");
    const std::string body = packed(at == std::string::npos ? std::string_view() : std::string_view(dl.working).substr(at + 3));
    const size_t eq = body.find('=');
    cache->calc.hasAssign = eq != std::string::npos;
    if (cache->calc.hasAssign) {
      cache->calc.name = body.substr(0, eq);
      cache->calc.expression = body.substr(eq + 1);
    }
    dl.cache = std::move(cache);
  }
  c.engine().calculate(-1, static_cast<CalCache&>(*dl.cache).calc);
}

void cmdClear(CommandCall&) {}

void cmdLayer(CommandCall& c) {
  const int32_t n = std::clamp(c.integer(1), 0, 255);
  c.figures().layer = n;
  if (!c.logging()) return;
  std::string& m = c.message();
  m += SJ("レイヤ設定 (");
  appendInt(m, n);
  m += ")";
  c.log(m);
}

void cmdPen(CommandCall& c) {
  const int32_t n = std::clamp(c.integer(1), 1, 255);
  c.figures().colour = n;
  if (!c.logging()) return;
  std::string& m = c.message();
  m += SJ("ペン設定 (");
  appendInt(m, n);
  m += ")";
  c.log(m);
}

void cmdRandomize(CommandCall& c) {
  c.engine().rng.reseed(c.engine().host().clockSeed());
  c.log(SJ("RANDOMIZE:乱数系列初期化"));
}

}  // namespace

void registerEngineCommands(CommandTable& t) {
  t.add("CAL", cmdCal, "CAL name = expression");
  t.add("CLEAR", cmdClear, "CLEAR");
  t.add("LAYER", cmdLayer, "LAYER n");
  t.add("PEN", cmdPen, "PEN n");
  t.add("RANDOMIZE", cmdRandomize, "RANDOMIZE");
}

}  // namespace kubrix
