// SPDX-License-Identifier: MIT
#pragma once

// Hands memory the program has freed back to the system. The C library keeps freed memory for later
// use, and after a wave of large buffers (answers to many clients at once) it may keep hundreds of
// megabytes the program no longer needs. Nothing where the library gives it back by itself.
void ReleaseFreedMemory();
