// SPDX-License-Identifier: MIT
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <cstdint>

#include "vocabulary/CodeTable.h"

// A drop-down list of every row of a table: item position equals row index. A screen reader hears
// it by its own name, whatever it shows; the mouse wheel changes it only while it has the focus.
class CodeComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit CodeComboBox(QWidget* parent = nullptr);

    void fillFromTable(const CodeTable& table);
    // Shows a stored row without counting as a user's change; a row that names no item shows none.
    void showRow(int32_t row);

  protected:
    void wheelEvent(QWheelEvent* event) override;
};

// A multiple-selection list of rows 1 to count − 1 of a table, whose selection is a mask: bit k stands
// for row k + 1, shown at position k.
class CodeListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit CodeListBox(QWidget* parent = nullptr);

    void fillFromTable(const CodeTable& table);
    uint32_t selectionMask() const;
    // Adds the selections named by the mask (positions from 32 on are never selected) without counting
    // as a user's change; returns the item count.
    int setSelectionMask(uint32_t mask);
    // Selects exactly the rows of the mask, without counting as a user's change.
    void showSelectionMask(uint32_t mask);
};
