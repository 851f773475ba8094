// SPDX-License-Identifier: MIT
#include "code/Notation.h"

#include <algorithm>

#include "vocabulary/Tables.h"

std::string LevelNotation(int64_t level) {
    const int64_t digit = (level + 1) / 3;
    std::string notation = (digit < 0 || digit > 9) ? std::string("!") : std::to_string(digit);
    switch (level % 3) {
    case 1:
        notation += '+';
        break;
    case 2:
        notation += '-';
        break;
    default: // 0, or a negative remainder: no modifier
        break;
    }
    return notation;
}

std::string ObsessionDescription(int64_t level) {
    std::string text = ObsessionTable.getEntry((level + 1) / 3).Description;
    if (level % 3 == 1)
        text += "(+)";
    else if (level % 3 == 2)
        text += "(-)";
    return text;
}

void AppendRepeated(std::string& out, char symbol, int64_t count) {
    if (count > 0)
        out.append(static_cast<size_t>(std::min(count, kMaxRunLength)), symbol);
}

void AppendTunedRun(std::string& out, char symbol, int64_t run, int64_t tune, int64_t maximum,
                    bool inverted) {
    AppendRepeated(out, symbol, inverted ? maximum - run : run);
    if (tune != 0) {
        out += '[';
        AppendRepeated(out, symbol, tune);
        out += ']';
    }
}

void AppendSignedRun(std::string& out, int64_t value, int64_t tune) {
    if (value > 0)
        AppendRepeated(out, '+', value);
    else
        AppendRepeated(out, '-', -value);
    if (tune != 0) {
        out += '[';
        if (tune > 0)
            AppendRepeated(out, '+', tune);
        else
            AppendRepeated(out, '-', -tune);
        out += ']';
    }
}

void AppendRatedItem(std::string& out, const CodeTable& table, int32_t index, int32_t trend,
                     int64_t intensity, int16_t boost, char symbol) {
    if (index == 0)
        return; // nothing chosen
    out += table.getEntry(index).Code;
    out += TrendTable.getEntry(trend).Code;
    AppendTunedRun(out, symbol, intensity, boost, 3, false);
}

void AppendBitList(std::string& out, uint32_t mask, const CodeTable& table) {
    const int32_t rows = std::min(table.count(), 33);
    for (int32_t i = 1; i < rows; ++i) {
        if (mask & (uint32_t{1} << (i - 1)))
            out += table.getEntry(i).Code;
    }
}

void AppendPartsList(std::string& out, uint32_t complete, uint32_t partial) {
    if (complete != 0)
        AppendBitList(out, complete, PartTable);
    if (partial != 0) {
        out += '[';
        AppendBitList(out, partial, PartTable);
        out += ']';
    }
}
