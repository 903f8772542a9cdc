// The files kubrix-run writes after a run: the data table, the variable store and the parameter grid.
#pragma once

#include <string>

#include "engine/engine.h"

namespace kubrix {

// UTF-8 texts with LF line ends.
std::string dataTableText(const FigureStore& fs);
std::string variablesText(const VarStore& vars, const ListStore& lists);
std::string gridText(const std::vector<GridRow>& grid);

// Writes text to path; false on any failure.
bool writeFile(const std::string& path, const std::string& text);

}  // namespace kubrix
