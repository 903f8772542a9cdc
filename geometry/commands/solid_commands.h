// The shared body of the primitive-solid commands: each command is a descriptor (argument layout,
// build function, log form) run by one template body. The families' descriptor tables register
// themselves through the functions below, called from registerSolidCommands.
#pragma once

#include <string_view>

#include "engine/command_call.h"
#include "engine/command_table.h"
#include "geometry/local_draw.h"

namespace kubrix {

// The argument values of a solid command in argument order, by kind.
struct SolidArgs {
  int ints[2] = {0, 0};       // division counts
  double num[12] = {};        // numbers
  int flags[6] = {};          // closing flags, kinds and edge types as given
  bool rev = false;           // the reverse flag (non-zero reads as 1)
  int intCount = 0, numCount = 0, flagCount = 0;
};

using SolidBuild = void (*)(LocalDraw&, const SolidArgs&);

// layout: one letter per argument after the output variable: 'n' an integer count, 'd' a number
// shown in the log, 'u' a number the log leaves out, 'f' an integer flag, 'r' the reverse flag; a
// blank marks where the log separates two groups of numbers with ", ".
struct SolidCommand {
  std::string_view layout;
  SolidBuild build;
  bool revPrefix = true;  // the log shows "rev: " before the numbers
};

// Reads the arguments, checks the output variable, builds, stores the element count and logs
// "KEYWORD[count](rev: numbers)".
void runSolid(CommandCall& c, const SolidCommand& s);

template <const SolidCommand& S>
void cmdSolid(CommandCall& c) {
  runSolid(c, S);
}

void registerBoxSolids(CommandTable& t);
void registerRoundSolids(CommandTable& t);
void registerShapedSolids(CommandTable& t);

}  // namespace kubrix
