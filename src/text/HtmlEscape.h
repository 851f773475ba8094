// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

// Text for an HTML page: valid UTF-8 (a broken sequence shows as U+FFFD), markup characters and
// control characters escaped or replaced, the direction controls shown as "\u202E".
std::string HtmlEscape(std::string_view text);
