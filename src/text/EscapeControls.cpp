#include "text/EscapeControls.h"

#include <cstdint>

#include "text/Utf8.h"

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
        escaped.append(text.substr(0, length));
        text.remove_prefix(length);
    }
    return escaped;
}
