// The warning beep of the windows and dialogs. Every beep goes through here so that it can be
// counted (tests check that a refused OK press beeps) and silenced.
#pragma once

namespace kubrix::qt {

// Sounds the warning beep (on the user-interface thread).
void beep();
// Number of beeps since the program started.
int beepCount();

}  // namespace kubrix::qt
