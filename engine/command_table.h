// The table of draw-line commands: keyword to a small function. Families register their commands
// through an explicit registerXxxCommands(CommandTable&) call; registerAllCommands calls them all.
#pragma once

#include <array>
#include <string_view>
#include <unordered_map>

namespace kubrix {

class CommandCall;
using CommandFn = void (*)(CommandCall&);

struct CommandSpec {
  std::string_view name;   // script keyword, upper case
  std::string_view usage;  // "LINE var x1 y1 z1 x2 y2 z2": for help and tooltips
  CommandFn fn = nullptr;
};

// Every keyword of the language (291), with the family that implements it.
struct Keyword {
  std::string_view name;
  std::string_view family;
};
extern const std::array<Keyword, 291> kKeywords;

class CommandTable {
 public:
  // Binds a keyword of kKeywords to its function; binding an unknown keyword or twice is a bug.
  void add(std::string_view name, CommandFn fn, std::string_view usage);
  // The bound command of an upper-case keyword, or nullptr.
  const CommandSpec* find(std::string_view upperName) const;
  size_t boundCount() const { return bound_.size(); }

 private:
  std::unordered_map<std::string_view, CommandSpec> bound_;
};

// The process-wide table with every family registered.
const CommandTable& commandTable();

// Family registrations.
void registerEngineCommands(CommandTable& t);
void registerFigureCommands(CommandTable& t);
void registerMatrixCommands(CommandTable& t);
void registerPlanarCommands(CommandTable& t);
void registerCurveCommands(CommandTable& t);
void registerProfileCommands(CommandTable& t);
void registerSolidCommands(CommandTable& t);
void registerSelectionCommands(CommandTable& t);
void registerSurfaceCommands(CommandTable& t);
void registerQueryCommands(CommandTable& t);
void registerStringCommands(CommandTable& t);
void registerInteractionCommands(CommandTable& t);
void registerAllCommands(CommandTable& t);

}  // namespace kubrix
