// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

// Writes all of the bytes to a file descriptor, going on after a short or interrupted write. False
// when the system refuses, with errno saying why (EIO where it wrote nothing and said nothing).
bool WriteAll(int descriptor, std::string_view bytes);

// Writes text to the standard error straight to its descriptor, not through stdio: a writer
// blocked here holds no lock that the rest of the program or its exit would wait for. Gives up
// quietly when the error output is closed or broken.
void WriteToStandardError(std::string_view text);
