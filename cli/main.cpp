// kubrix-run: runs a script without a window and writes its log and results.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "files/ini_file.h"
#include "files/script_file.h"
#include "files/settings.h"
#include "cli/figure_outputs.h"
#include "cli/interaction.h"
#include "cli/outputs.h"
#include "engine/date_text.h"
#include "engine/engine.h"
#include "engine/sjis.h"
#include "output/export/export.h"

namespace {

constexpr const char* kVersion = "kubrix-run 0.1.0";

volatile std::sig_atomic_t gInterrupted = 0;
void onSigint(int) { gInterrupted = 1; }

class CliHost : public kubrix::cli::InteractionHost {
 public:
  bool escapePressed() override { return gInterrupted != 0; }
  // With --clock, GETDATE and GETTIME read the given moments in turn; the last one stays. The run
  // after --set starts again from the first.
  kubrix::LocalDateTime localNow() override {
    if (clock.empty()) return Host::localNow();
    const kubrix::LocalDateTime t = clock[nextReading];
    if (nextReading + 1 < clock.size()) ++nextReading;
    return t;
  }
  std::string scriptPath() override { return path; }

  std::vector<kubrix::LocalDateTime> clock;
  size_t nextReading = 0;
  std::string path;  // the script's absolute path, CP932
};

struct Options {
  std::string script;
  bool logOff = false, status = false;
  std::string settings, table, vars, grid;
  kubrix::cli::InteractionOptions interaction;
  std::vector<std::pair<std::string, std::string>> sets;
  std::vector<std::string> outputs;
  kubrix::render::PictureOptions picture;
  std::vector<kubrix::LocalDateTime> clock;
  unsigned long long maxSteps = 0;
  kubrix::ScriptEncoding encoding = kubrix::ScriptEncoding::Auto;
};

void usage(FILE* to) {
  fputs(
      "Usage: kubrix-run [options] SCRIPT\n"
      "Runs a Kubrix script (.kx plain text, .kxp protected) and prints its log.\n"
      "\n"
      "  --log-off              write no log\n"
      "  --settings FILE        read line settings and other keys from FILE (Kubrix.ini format)\n"
      "  --set NAME=VALUE       after the first run set variable NAME as the parameter grid would,\n"
      "                         then run again keeping the stores (repeatable)\n"
      "  --answers FILE         answers for the interaction dialogs, one line each, in the order\n"
      "                         the dialogs open (with --set: through both runs); <cancel>\n"
      "                         cancels; without answers every dialog is cancelled\n"
      "  -o, --output FILE      save the figure store as FILE: .dxf .stl .obj .wrl .x3d .dae\n"
      "                         (format by extension, export scale 1; repeatable), .glb (glTF 2.0)\n"
      "                         and .3mf with layers and colours, or the viewer's picture as\n"
      "                         .png or .bmp (drawn without a display)\n"
      "  --view xy|xz|yz|xyz    the preset view of the picture (default xyz)\n"
      "  --size WxH             the picture size in pixels (default 800x600)\n"
      "  --color                the picture in the element colours (the viewer's colour mode)\n"
      "  --no-axes              the picture without the axes\n"
      "  --table FILE           write the data table of the figure store\n"
      "  --vars FILE            write the variables and lists\n"
      "  --grid FILE            write the parameter grid\n"
      "  --max-steps N          end the walk after N executed lines\n"
      "  --encoding auto|sjis|utf8  how a plain script is read (default auto)\n"
      "  --status               print the two status texts to standard error\n"
      "  --speak                let TALK speak (silently off without a sound device)\n"
      "  --speech-wav FILE      write what TALK says to a WAV file instead of speaking\n"
      "  --clock YYYY-MM-DDTHH:MM:SS  fix the clock that GETDATE and GETTIME read (for tests);\n"
      "                         repeated, the readings of a run take the moments in turn, the last\n"
      "                         one stays\n"
      "  -h, --help             show this help\n"
      "  --version              show the version\n",
      to);
}

[[noreturn]] void usageError(const std::string& msg) {
  fprintf(stderr, "kubrix-run: %s\n", msg.c_str());
  fputs("Try 'kubrix-run --help'.\n", stderr);
  exit(2);
}

Options parseArgs(int argc, char** argv) {
  Options o;
  auto value = [&](int& i, const char* name) -> std::string {
    if (i + 1 >= argc) usageError(std::string("option ") + name + " needs a value");
    return argv[++i];
  };
  bool endOfOptions = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (!endOfOptions && a.size() > 1 && a[0] == '-') {
      if (a == "--") endOfOptions = true;
      else if (a == "-h" || a == "--help") usage(stdout), exit(0);
      else if (a == "--version") puts(kVersion), exit(0);
      else if (a == "--log-off") o.logOff = true;
      else if (a == "--status") o.status = true;
      else if (a == "--speak") o.interaction.speak = true;
      else if (a == "--settings") o.settings = value(i, "--settings");
      else if (a == "--answers") o.interaction.answers = value(i, "--answers");
      else if (a == "--speech-wav") o.interaction.speechWav = value(i, "--speech-wav");
      else if (a == "--table") o.table = value(i, "--table");
      else if (a == "--vars") o.vars = value(i, "--vars");
      else if (a == "--grid") o.grid = value(i, "--grid");
      else if (a == "-o" || a == "--output") o.outputs.push_back(value(i, "--output"));
      else if (a == "--color") o.picture.colourMode = true;
      else if (a == "--no-axes") o.picture.axes = false;
      else if (a == "--view") {
        const std::string s = value(i, "--view");
        if (!kubrix::render::parseViewPreset(s, o.picture.view)) usageError("--view takes xy, xz, yz or xyz, got '" + s + "'");
      } else if (a == "--size") {
        const std::string s = value(i, "--size");
        if (!kubrix::render::parsePictureSize(s, o.picture.width, o.picture.height))
          usageError("--size needs WIDTHxHEIGHT, each 1 to " + std::to_string(kubrix::render::kMaxPictureSide) +
                     ", got '" + s + "'");
      }
      else if (a == "--clock") {
        const std::string s = value(i, "--clock");
        if (!kubrix::parseLocalDateTime(s, o.clock.emplace_back()))
          usageError("--clock needs a moment YYYY-MM-DDTHH:MM:SS, got '" + s + "'");
      } else if (a == "--set") {
        const std::string s = value(i, "--set");
        const size_t eq = s.find('=');
        if (eq == std::string::npos || eq == 0) usageError("--set needs NAME=VALUE, got '" + s + "'");
        o.sets.emplace_back(s.substr(0, eq), s.substr(eq + 1));
      } else if (a == "--max-steps") {
        const std::string s = value(i, "--max-steps");
        char* end = nullptr;
        errno = 0;
        const unsigned long long n = strtoull(s.c_str(), &end, 10);
        if (s.empty() || *end || errno || s[0] == '-' || n == 0)
          usageError("--max-steps needs a whole number of at least 1, got '" + s + "'");
        o.maxSteps = n;
      } else if (a == "--encoding") {
        const std::string s = value(i, "--encoding");
        if (s == "auto") o.encoding = kubrix::ScriptEncoding::Auto;
        else if (s == "sjis") o.encoding = kubrix::ScriptEncoding::Sjis;
        else if (s == "utf8") o.encoding = kubrix::ScriptEncoding::Utf8;
        else usageError("--encoding takes auto, sjis or utf8, got '" + s + "'");
      } else {
        usageError("unknown option '" + a + "'");
      }
      continue;
    }
    if (!o.script.empty()) usageError("only one SCRIPT may be given");
    o.script = a;
  }
  if (o.script.empty()) usageError("no SCRIPT given");
  if (o.interaction.speak && !o.interaction.speechWav.empty()) usageError("--speak and --speech-wav exclude each other");
  return o;
}

void printLog(std::string_view sjis) {
  const std::string u = kubrix::sjisToUtf8(sjis);
  fwrite(u.data(), 1, u.size(), stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = parseArgs(argc, argv);

  for (const auto& out : o.outputs) {
    if (!kubrix::figureOutputKnown(out))
      usageError(out + ": unknown output format '" + kubrix::outputExtension(out) + "' (use " +
                 kubrix::kFigureOutputExtensions + ")");
  }

  kubrix::Settings settings;
  if (!o.settings.empty()) {
    auto ini = kubrix::IniFile::load(o.settings);
    if (!ini) usageError("cannot read settings file " + o.settings + ": " + strerror(errno));
    settings.read(*ini);
  }

  const kubrix::ScriptLoad load = kubrix::loadScriptFile(o.script, o.encoding);
  if (!load.ok) {
    fprintf(stderr, "kubrix-run: %s\n", load.error.c_str());
    return 2;
  }

  CliHost host;
  kubrix::cli::startInteraction(host, o.interaction);
  host.clock = o.clock;
  std::error_code pathError;
  const std::filesystem::path absolute = std::filesystem::absolute(o.script, pathError);
  host.path = kubrix::utf8ToSjis((pathError ? std::filesystem::path(o.script) : absolute).lexically_normal().string());
  kubrix::Engine engine(host);
  engine.setHeader(kubrix::scriptHeader(settings));
  engine.setBody(load.body);
  engine.logOff = o.logOff || settings.logOff;
  engine.maxSteps = o.maxSteps;

  std::signal(SIGINT, onSigint);
  // A file-size limit makes a write fail (EFBIG) instead of ending the process, so that the export
  // can clean up after itself and report it.
  std::signal(SIGXFSZ, SIG_IGN);
  static char outBuf[1 << 16];
  setvbuf(stdout, outBuf, _IOFBF, sizeof outBuf);

  if (!o.sets.empty()) {
    engine.log.setSink([](std::string_view) {});  // the first run's log is not printed
    engine.resetAndRun();
    for (const auto& [name, value] : o.sets) {
      const int var = engine.vars.find(kubrix::utf8ToSjis(name));
      if (var < 0) {
        fprintf(stderr, "kubrix-run: --set %s: no variable of that name\n", name.c_str());
        return 2;
      }
      std::string reason;
      if (!engine.editParameter(var, kubrix::utf8ToSjis(value), reason)) {
        fprintf(stderr, "kubrix-run: --set %s=%s: %s\n", name.c_str(), value.c_str(), reason.c_str());
        return 2;
      }
    }
    engine.log.setSink(printLog);
    host.nextReading = 0;  // the printed run reads the clock's moments from the first
    engine.run();
  } else {
    engine.log.setSink(printLog);
    engine.resetAndRun();
  }
  engine.log.flush();
  fflush(stdout);

  int status = kubrix::cli::finishInteraction(host, o.interaction, gInterrupted);
  auto write = [&](const std::string& path, auto makeText) {
    if (path.empty()) return;
    if (!kubrix::writeFile(path, makeText())) {
      fprintf(stderr, "kubrix-run: cannot write %s: %s\n", path.c_str(), strerror(errno));
      status = 1;
    }
  };
  write(o.table, [&] { return kubrix::dataTableText(engine.figures); });
  write(o.vars, [&] { return kubrix::variablesText(engine.vars, engine.lists); });
  write(o.grid, [&] { return kubrix::gridText(engine.grid()); });
  if (kubrix::writeFigureOutputs(engine.figures, o.outputs, o.picture) != 0) status = 1;
  if (o.status) {
    fprintf(stderr, "%s\n%s\n", kubrix::sjisToUtf8(engine.status(0)).c_str(), kubrix::sjisToUtf8(engine.status(1)).c_str());
  }
  return status;
}
