// SPDX-License-Identifier: MIT
#include "vocabulary/CodeTable.h"

CodeEntry::CodeEntry(std::string_view literal) {
    // Only the first line feed splits; later ones belong to the description.
    const auto split = literal.find('\n');
    if (split == std::string_view::npos) {
        Description = literal;
        return;
    }
    Code = literal.substr(0, split);
    Description = literal.substr(split + 1);
}
