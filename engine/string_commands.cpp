// Draw-line commands on texts: list lookups, string building and conversion, date, time and file-name parts.
#include "engine/command_call.h"
#include "engine/command_table.h"

namespace kubrix {

void registerStringCommands(CommandTable& t) { (void)t; }

}  // namespace kubrix
