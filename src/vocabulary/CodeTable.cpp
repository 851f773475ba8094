#include "vocabulary/CodeTable.h"

CodeEntry::CodeEntry(std::string_view literal) {
    // Only the first line feed splits; later ones belong to the description.
    const auto split = literal.find('\n');
    if (split == std::string_view::npos) {
        m_strDescription = literal;
        return;
    }
    m_strCode = literal.substr(0, split);
    m_strDescription = literal.substr(split + 1);
}
