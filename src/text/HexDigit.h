// SPDX-License-Identifier: MIT
#pragma once

// The value of a hexadecimal digit (0-9, a-f, A-F), or -1 for any other character: a byte, a UTF-16
// unit or a code point alike.
constexpr int HexDigitValue(char32_t c) {
    if (c >= '0' && c <= '9')
        return int(c - '0');
    if (c >= 'a' && c <= 'f')
        return int(c - 'a') + 10;
    if (c >= 'A' && c <= 'F')
        return int(c - 'A') + 10;
    return -1;
}
