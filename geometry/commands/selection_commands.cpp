// Draw-line commands of the selection set, its edits, the chain point list and the chain surfaces.
#include "engine/command_call.h"
#include "engine/command_table.h"

namespace kubrix {

void registerSelectionCommands(CommandTable& t) { (void)t; }

}  // namespace kubrix
