// Draw-line commands that measure: distances, angles, turned points, intersections, tangent circles and fillets.
#include "engine/command_call.h"
#include "engine/command_table.h"

namespace kubrix {

void registerQueryCommands(CommandTable& t) { (void)t; }

}  // namespace kubrix
