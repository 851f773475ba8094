// SPDX-License-Identifier: MIT
#include "text/HtmlEscape.h"

#include <array>
#include <cstdint>

#include "text/Utf8.h"

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// How HtmlEscape treats a byte: copied with the plain ASCII around it, escaped or replaced, or the
// start of a sequence of several bytes.
enum class ByteKind : unsigned char { Plain, Special, Multibyte };

constexpr std::array<ByteKind, 256> kByteKinds = [] {
    std::array<ByteKind, 256> kinds{};
    for (int byte = 0; byte < 256; ++byte) {
        const bool special = byte < 0x20 || byte == 0x7F || byte == '&' || byte == '<' || byte == '>' ||
                             byte == '"' || byte == '\'';
        kinds[size_t(byte)] = byte >= 0x80 ? ByteKind::Multibyte
                              : special    ? ByteKind::Special
                                           : ByteKind::Plain;
    }
    return kinds;
}();

// The direction controls (U+061C, U+200E, U+200F, U+202A to U+202E, U+2066 to U+2069): shown as
// their code points, so that a text cannot turn the rest of its line around ("txt.live" shown as
// "evil.txt").
std::string_view DirectionControl(std::string_view sequence) {
    if (sequence == "\xD8\x9C")
        return "\\u061C";
    if (sequence.size() != 3 || uint8_t(sequence[0]) != 0xE2)
        return {};
    static constexpr std::string_view kShown[] = {"\\u200E", "\\u200F", "\\u202A", "\\u202B",
                                                  "\\u202C", "\\u202D", "\\u202E", "\\u2066",
                                                  "\\u2067", "\\u2068", "\\u2069"};
    const auto second = uint8_t(sequence[1]), third = uint8_t(sequence[2]);
    if (second == 0x80 && (third == 0x8E || third == 0x8F))
        return kShown[third - 0x8E];
    if (second == 0x80 && third >= 0xAA && third <= 0xAE)
        return kShown[2 + third - 0xAA];
    if (second == 0x81 && third >= 0xA6 && third <= 0xA9)
        return kShown[7 + third - 0xA6];
    return {};
}

} // namespace

std::string HtmlEscape(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size() + text.size() / 8);
    size_t at = 0;
    while (at < text.size()) {
        // A run of plain ASCII is copied whole.
        size_t end = at;
        while (end < text.size() && kByteKinds[uint8_t(text[end])] == ByteKind::Plain)
            ++end;
        escaped.append(text.data() + at, end - at);
        at = end;
        if (at == text.size())
            break;
        const char c = text[at];
        if (kByteKinds[uint8_t(c)] == ByteKind::Multibyte) {
            const size_t length = Utf8SequenceLength(text.substr(at));
            if (length == 0) {
                escaped += kReplacement;
                ++at;
                continue;
            }
            const std::string_view sequence = text.substr(at, length);
            const std::string_view control = DirectionControl(sequence);
            escaped.append(control.empty() ? sequence : control);
            at += length;
            continue;
        }
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&#39;";
            break;
        case '\n':
        case '\r':
        case '\t':
            escaped += c;
            break;
        default:
            escaped += kReplacement; // a NUL or a control character has no place on the page
        }
        ++at;
    }
    return escaped;
}
