// libFuzzer entry: the input is a script body (CP932 bytes). It runs under the default script header
// with a step limit, once as the reset button does and once more, shorter, as the run button does
// (stores kept),
// and the runner's output texts are built from the result. Besides the sanitizers' findings, broken
// invariants of the log and the figure store abort the run.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/settings.h"
#include "cli/outputs.h"
#include "engine/engine.h"
#include "engine/sjis.h"

namespace {

// A host without clocks: runs of the same input behave the same. A script that doubles its drawing
// in a loop reaches millions of elements within the step limit; the host presses Escape once the
// store holds 200,000, as a user would, so the fuzzer's time goes to many inputs, not to one.
class FixedHost : public kubrix::Host {
 public:
  long long nowMs() override { return 0; }
  unsigned long long clockSeed() override { return 12345; }
  bool escapePressed() override { return figures && figures->count() > 200000; }
  const kubrix::FigureStore* figures = nullptr;
};

[[noreturn]] void broken(const char* what, std::string_view text) {
  fprintf(stderr, "invariant broken: %s\n%.*s\n", what, static_cast<int>(std::min<size_t>(text.size(), 400)),
          text.data());
  abort();
}

// Bytes of log still to be checked in this input: checking is slow under the fuzzer's
// instrumentation, and the first lines of a long loop's log repeat the rest.
size_t gLogBudget = 0;

// Every log line is "%6d: message\n"; the UTF-8 form keeps every line end.
void checkLog(std::string_view block) {
  if (block.empty() || gLogBudget == 0) return;
  if (block.size() > gLogBudget) {
    const size_t cut = block.rfind('\n', gLogBudget);
    block = cut == std::string_view::npos ? std::string_view() : block.substr(0, cut + 1);
  }
  gLogBudget -= std::min(gLogBudget, block.size() + 1);
  if (block.empty()) return;
  if (block.back() != '\n') broken("log block does not end with a line end", block);
  size_t lines = 0;
  for (size_t start = 0; start < block.size();) {
    const size_t nl = block.find('\n', start);
    const std::string_view line = block.substr(start, nl - start);
    const size_t colon = line.find(": ");
    if (line.size() < 8 || colon == std::string_view::npos || colon < 6) broken("log line without its number", line);
    for (size_t i = 0; i < colon; ++i) {
      const char c = line[i];
      if (!(c == ' ' || c == '-' || (c >= '0' && c <= '9'))) broken("log line number", line);
    }
    ++lines;
    start = nl + 1;
  }
  const std::string utf8 = kubrix::sjisToUtf8(block);
  if (!kubrix::isValidUtf8(utf8)) broken("log converted to invalid UTF-8", utf8);
  size_t utf8Lines = 0;
  for (char c : utf8) utf8Lines += c == '\n';
  if (utf8Lines != lines) broken("log conversion lost or added line ends", utf8);
}

void checkFigures(const kubrix::FigureStore& fs) {
  for (const auto& e : fs.elements()) {
    const bool kind = e.kind == kubrix::kKindLine || e.kind == kubrix::kKindPoint || e.kind == kubrix::kKindTriangle ||
                      e.kind == kubrix::kKindQuad;
    if (!kind || e.layer < 0 || e.layer > 255 || e.colour < 1 || e.colour > 255) broken("figure element", "");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string header = kubrix::scriptHeader(kubrix::Settings{});
  FixedHost host;
  kubrix::Engine engine(host);
  host.figures = &engine.figures;
  engine.setHeader(header);
  engine.setBody(std::string(reinterpret_cast<const char*>(data), size));
  engine.maxSteps = 20000;
  engine.log.setSink(checkLog);
  gLogBudget = 64 * 1024;

  engine.resetAndRun();
  engine.log.flush();
  checkFigures(engine.figures);
  engine.maxSteps = 5000;
  engine.run();
  engine.log.flush();
  checkFigures(engine.figures);

  const std::string texts[] = {kubrix::dataTableText(engine.figures), kubrix::variablesText(engine.vars, engine.lists),
                               kubrix::gridText(engine.grid()), kubrix::sjisToUtf8(engine.status(0)),
                               kubrix::sjisToUtf8(engine.status(1))};
  for (const auto& t : texts)
    if (!kubrix::isValidUtf8(t)) broken("output text is not UTF-8", t);
  return 0;
}
