#pragma once

namespace orvane {

// Called before a password is read: from then on this process leaves no core
// file, and other users' debuggers cannot attach, so the password cannot be
// read from either. Kept for the rest of the run, since memory the program
// does not manage (a toolkit's buffers) may keep a copy after the password
// has been wiped. core_files_linux.cpp / core_files_win.cpp.
void KeepSecretsOutOfCoreFiles();

}  // namespace orvane
