// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>

// The length of the valid UTF-8 sequence at the start of text, or 0 when it is not one (a stray or
// missing continuation byte, an overlong form, a surrogate, past U+10FFFF, empty text).
size_t Utf8SequenceLength(std::string_view text);
