#pragma once

namespace fc::shell {

// Brings the program up, shows the settings window and runs until it is closed.
// Needs a QApplication. Always returns 0; a failure ends the process instead.
int ProgramMain();

// Makes the designs of both windows available; nothing is shown. Idempotent.
void PrepareWindows();

}  // namespace fc::shell
