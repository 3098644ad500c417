// The limits the system sets this process: how many files (and so connections) it may have open.
#pragma once

namespace platform {

// Raises the soft limit of open files to the hard one, as a desktop program does at start-up:
// the soft limit a desktop session gives (often 1024) is far below what the system allows.
void RaiseOpenFileLimit();

// The soft limit of open files now.
int OpenFileLimit();

}  // namespace platform
