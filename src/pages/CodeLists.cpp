#include "pages/CodeLists.h"

#include <QSignalBlocker>

void CodeComboBox::FillFromTable(const CodeTable& table) {
    const QSignalBlocker blocker(this);
    for (int32_t row = 0; row < table.m_nCount; ++row)
        addItem(QString::fromStdString(table.m_pEntries[row].m_strDescription), row);
}

void CodeComboBox::ShowRow(int32_t row) {
    const QSignalBlocker blocker(this);
    setCurrentIndex(row >= 0 && row < count() ? row : -1);
}

CodeListBox::CodeListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::MultiSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void CodeListBox::FillFromTable(const CodeTable& table) {
    const QSignalBlocker blocker(this);
    for (int32_t row = 1; row < table.m_nCount; ++row) {
        auto* item =
            new QListWidgetItem(QString::fromStdString(table.m_pEntries[row].m_strDescription), this);
        item->setData(Qt::UserRole, row);
    }
}

uint32_t CodeListBox::GetSelectionMask() const {
    uint32_t mask = 0;
    for (int position = 0; position < count() && position < 32; ++position)
        if (item(position)->isSelected())
            mask |= uint32_t{1} << position;
    return mask;
}

int CodeListBox::SetSelectionMask(uint32_t mask) {
    const QSignalBlocker blocker(this);
    for (int position = 0; position < count() && position < 32; ++position)
        if (mask & (uint32_t{1} << position))
            item(position)->setSelected(true);
    return count();
}
