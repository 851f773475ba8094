// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// Text for a terminal or a log line, shown as it came: control characters (C0, DEL and C1), bytes
// that are not UTF-8 and the backslash written as \xHH, so no text can move the cursor, retitle the
// window or start a line of its own; the direction controls (U+061C, U+200E, U+200F, U+202A to
// U+202E, U+2066 to U+2069) written as \uHHHH, so none can reorder what the line shows.
std::string EscapeControls(std::string_view text);
