// Helpers shared by the unit tests: an engine with the standard script header, and UTF-8 views of
// the engine's CP932 texts so that expectations can be written in plain UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "files/settings.h"
#include "engine/engine.h"
#include "engine/sjis.h"

namespace kubrix::test {

// Number of lines of the script header built from default settings; body line b has line index
// b + kHeaderLines in "[L:n]" messages.
inline constexpr long long kHeaderLines = 36;
// Variables the header declares before any body variable.
inline constexpr int kHeaderVars = 17;

// An engine loaded with the default header and a UTF-8 body (lines joined with CR LF).
struct ScriptRun {
  Host host;
  Engine engine{host};

  explicit ScriptRun(std::string_view bodyUtf8, const Settings& settings = Settings{}) {
    engine.setHeader(scriptHeader(settings));
    engine.setBody(utf8ToSjis(bodyUtf8));
  }
  // The reset button: empty the stores, then run. Returns the log as UTF-8.
  std::string reset() {
    engine.resetAndRun();
    return log();
  }
  // The run button: run with the stores kept.
  std::string run() {
    engine.run();
    return log();
  }
  std::string log() const { return sjisToUtf8(engine.log.text()); }
  // Value of the variable named (UTF-8) as UTF-8; "<undeclared>" when there is none.
  std::string value(std::string_view nameUtf8) const {
    const int i = engine.vars.find(utf8ToSjis(nameUtf8));
    return i < 0 ? std::string("<undeclared>") : sjisToUtf8(engine.vars.value(static_cast<size_t>(i)));
  }
};

// The messages of a UTF-8 log without the line-number column, one per line, leaving out the
// variable definitions, so expectations show only the commands.
inline std::string commandLog(const std::string& log) {
  std::string out;
  size_t pos = 0;
  while (pos < log.size()) {
    size_t end = log.find('\n', pos);
    if (end == std::string::npos) end = log.size();
    const std::string line = log.substr(pos, end - pos);
    if (line.find("変数定義") == std::string::npos) out += line.substr(line.find(": ") + 2) + "\n";
    pos = end + 1;
  }
  return out;
}

}  // namespace kubrix::test
