// SPDX-License-Identifier: MIT
#pragma once

// Ends the program at once with status, once everything is saved, closed and removed: its output
// flushed, but the libraries not torn down one by one. On Windows that teardown runs after every
// other thread of the process has been cut off wherever it was, and hangs for good when one was
// holding a lock the teardown needs (a system thread pool's worker, a multimedia timer's thread). On
// Unix the program ends as usual: this returns, and main returns status.
void QuickExit(int status);
