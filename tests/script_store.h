// The figure store a script file leaves, run once as kubrix-run runs it (default settings, log
// off), for tests that need the store in their own process.
#pragma once

#include <stdexcept>
#include <string>

#include "engine/engine.h"
#include "files/script_file.h"
#include "files/settings.h"

namespace kubrix::test {

inline FigureStore storeOfScriptFile(const std::string& path) {
  const ScriptLoad load = loadScriptFile(path, ScriptEncoding::Auto);
  if (!load.ok) throw std::runtime_error("cannot load " + path + ": " + load.error);
  Host host;
  Engine engine(host);
  engine.setHeader(scriptHeader(Settings{}));
  engine.setBody(load.body);
  engine.logOff = true;
  engine.resetAndRun();
  return engine.figures;
}

}  // namespace kubrix::test
