// Draw-line commands of this family (bindings are added here).
#include "engine/command_table.h"

namespace kubrix {

void registerPlanarCommands(CommandTable&) {}

}  // namespace kubrix
