// SPDX-License-Identifier: MIT
#pragma once

// Makes a write to a closed pipe or socket fail with an error instead of ending the program (Unix's
// SIGPIPE). Windows has no such signal: such a write fails there already.
void IgnoreBrokenPipe();
