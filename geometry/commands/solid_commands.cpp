// Draw-line commands of the primitive solids (boxes, prisms, cylinders, cones, spheres, tori, shaped boxes).
#include "engine/command_call.h"
#include "engine/command_table.h"

namespace kubrix {

void registerSolidCommands(CommandTable& t) { (void)t; }

}  // namespace kubrix
