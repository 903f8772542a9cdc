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
    const size_t at = findCharsNoCase(dl.working, "CAL");
    auto cache = std::make_unique<CalCache>();
    cache->calc = CalcLine(packed(at == std::string::npos ? std::string_view() : std::string_view(dl.working).substr(at + 3)));
    dl.cache = std::move(cache);
  }
  c.engine().calculate(-1, static_cast<CalCache&>(*dl.cache).calc);
}

void cmdClear(CommandCall&) {}

// LAYER and PEN: an integer clamped to the range, the current layer or colour, one log line.
template <int32_t Low, int32_t FigureStore::*Field>
void setCurrent(CommandCall& c, const std::string& title) {
  const int32_t n = std::clamp(c.integer(1), Low, int32_t{255});
  c.figures().*Field = n;
  if (!c.logging()) return;
  std::string& m = c.message();
  m += title;
  appendInt(m, n);
  m += ")";
  c.log(m);
}

void cmdLayer(CommandCall& c) { setCurrent<0, &FigureStore::layer>(c, SJ("レイヤ設定 (")); }
void cmdPen(CommandCall& c) { setCurrent<1, &FigureStore::colour>(c, SJ("ペン設定 (")); }

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
