#pragma once

#include <QComboBox>
#include <QListWidget>
#include <cstdint>

#include "vocabulary/CodeTable.h"

// A drop-down list of every row of a table: item position equals row index.
class CodeComboBox : public QComboBox {
    Q_OBJECT
  public:
    using QComboBox::QComboBox;

    void FillFromTable(const CodeTable& table);
    // Shows a stored row without counting as a user's change; a row that names no item shows none.
    void ShowRow(int32_t row);
};

// A multiple-selection list of rows 1 to count − 1 of a table, whose selection is a mask: bit k stands
// for row k + 1, shown at position k.
class CodeListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit CodeListBox(QWidget* parent = nullptr);

    void FillFromTable(const CodeTable& table);
    uint32_t GetSelectionMask() const;
    // Adds the selections named by the mask (positions from 32 on are never selected) without counting
    // as a user's change; returns the item count.
    int SetSelectionMask(uint32_t mask);
};
