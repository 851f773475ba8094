// SPDX-License-Identifier: MIT
#pragma once

#include <QComboBox>
#include <QElapsedTimer>
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
    // As wide as its longest entry where there is room, but on a small screen narrow enough for its
    // page: the open list still shows every entry whole.
    QSize minimumSizeHint() const override;
    // Shows a stored row without counting as a user's change; a row that names no item shows none.
    void showRow(int32_t row);

  protected:
    void wheelEvent(QWheelEvent* event) override;
    // Only plain letters search the list; a key with Alt, Ctrl or Meta that is no shortcut changes
    // nothing. A space opens the list, or searches as a letter while a search is under way.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QElapsedTimer m_lastSearch;
};

// A multiple-selection list of rows 1 to count − 1 of a table, whose selection is a mask: bit k stands
// for row k + 1, shown at position k.
class CodeListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit CodeListBox(QWidget* parent = nullptr);

    void fillFromTable(const CodeTable& table);
    uint32_t selectionMask() const;
    // Tall enough for every row, so that it never scrolls inside a page that scrolls.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Adds the selections named by the mask (positions from 32 on are never selected) without counting
    // as a user's change; returns the item count.
    int setSelectionMask(uint32_t mask);
    // Selects exactly the rows of the mask, without counting as a user's change.
    void showSelectionMask(uint32_t mask);
};
