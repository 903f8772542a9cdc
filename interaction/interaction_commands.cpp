// Draw-line commands that talk to the user through the host: messages, input dialogs, colours, beep, speech.
#include "engine/command_call.h"
#include "engine/command_table.h"

namespace kubrix {

void registerInteractionCommands(CommandTable& t) { (void)t; }

}  // namespace kubrix
