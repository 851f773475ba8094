// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include "text/EscapeControls.h"

namespace {

// What reaches a terminal or the log: printable text as it came, anything that could steer the
// terminal or forge a line as \xHH.
TEST(EscapeControls, ShowsTextAndWritesControlsAsEscapes) {
    const struct {
        std::string text, shown;
    } cases[] = {
        {"SM:5-[7+]m+ P:x75%", "SM:5-[7+]m+ P:x75%"},
        {"caf\xC3\xA9 \xF0\x9F\x8C\x99 \xC2\xA0", "caf\xC3\xA9 \xF0\x9F\x8C\x99 \xC2\xA0"},
        {"a\nb\r\tc", "a\\x0Ab\\x0D\\x09c"},
        {std::string("a\0b", 3), "a\\x00b"},
        {"\x1B]0;pwned\x07", "\\x1B]0;pwned\\x07"},
        {"\x7F\xC2\x9B\xC2\x80", "\\x7F\\xC2\\x9B\\xC2\\x80"},                   // DEL and C1
        {"\\x41", "\\x5Cx41"},                                                   // an escape cannot be forged
        {"\xFF\xC3\xC0\xBC\xED\xA0\x80", "\\xFF\\xC3\\xC0\\xBC\\xED\\xA0\\x80"}, // not UTF-8
        {"cod\xE2\x80\xAE.exe", "cod\\u202E.exe"},                               // right-to-left override
        {"\xE2\x80\x8E\xE2\x80\x8F\xE2\x80\xAA\xE2\x80\xAD",
         "\\u200E\\u200F\\u202A\\u202D"},                              // marks, embedding
        {"\xE2\x81\xA6\xE2\x81\xA9\xD8\x9C", "\\u2066\\u2069\\u061C"}, // isolates, Arabic letter mark
        {"\xE2\x80\x8D\xE2\x80\x90\xE2\x80\xAF\xE2\x81\xAA\xD8\x9B",   // their neighbours
         "\xE2\x80\x8D\xE2\x80\x90\xE2\x80\xAF\xE2\x81\xAA\xD8\x9B"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EscapeControls(c.text), c.shown) << c.shown;
}

} // namespace
