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
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EscapeControls(c.text), c.shown) << c.shown;
}

} // namespace
