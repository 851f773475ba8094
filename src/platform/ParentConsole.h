// SPDX-License-Identifier: MIT
#pragma once

// Lets a program without a console of its own (the encoder on Windows is a GUI program) print to
// the console of the program that started it: its standard output and error, where they lead
// nowhere, write there from now on; one that was redirected stays where it was sent. Does nothing
// when the program has a console already, when nothing with a console started it (Explorer), and
// on Unix, where the output always goes where it was sent.
void AttachToParentConsole();
