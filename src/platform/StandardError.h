// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

// Writes text to the standard error straight to its descriptor, not through stdio: a writer
// blocked here holds no lock that the rest of the program or its exit would wait for. Gives up
// quietly when the error output is closed or broken.
void WriteToStandardError(std::string_view text);
