// SPDX-License-Identifier: MIT
#include "text/EscapeControls.h"

#include <cstdint>

#include "text/Utf8.h"

namespace {

// The code point of a valid UTF-8 sequence of the given length.
char32_t CodePoint(std::string_view sequence, size_t length) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(sequence[i]); };
    if (length == 1)
        return byte(0);
    char32_t point = byte(0) & (0xFF >> (length + 1));
    for (size_t i = 1; i < length; ++i)
        point = (point << 6) | (byte(i) & 0x3F);
    return point;
}

// A character that turns the direction of the text around it (Unicode's Bidi_Control): shown as it
// is, it can make a line read otherwise than its bytes go.
bool IsDirectionControl(char32_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

} // namespace

std::string EscapeControls(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(text.size());
    const auto escape = [&](uint8_t byte) {
        escaped += "\\x";
        escaped += kHex[byte >> 4];
        escaped += kHex[byte & 0xF];
    };
    while (!text.empty()) {
        const size_t length = Utf8SequenceLength(text);
        const auto lead = static_cast<uint8_t>(text[0]);
        const bool c1 = length == 2 && lead == 0xC2 && static_cast<uint8_t>(text[1]) < 0xA0;
        if (length == 0 || c1 || lead < 0x20 || lead == 0x7F || lead == '\\') {
            const size_t bytes = c1 ? 2 : 1;
            for (size_t i = 0; i < bytes; ++i)
                escape(static_cast<uint8_t>(text[i]));
            text.remove_prefix(bytes);
            continue;
        }
        if (const char32_t point = CodePoint(text, length); IsDirectionControl(point)) {
            escaped += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4)
                escaped += kHex[(point >> shift) & 0xF];
            text.remove_prefix(length);
            continue;
        }
        escaped.append(text.substr(0, length));
        text.remove_prefix(length);
    }
    return escaped;
}
