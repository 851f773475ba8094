// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

// The help text in a window of the encoder's own, for when the desktop cannot open the help file:
// read-only, with Find (Ctrl+F, then Return or F3 for the next place) and Close. It stays beside the
// sheet, which can still be used.
class HelpWindow : public QDialog {
    Q_OBJECT
  public:
    HelpWindow(const QString& text, QWidget* parent);

    // Finds the next place of the text in the find box after the cursor, round the end; false when
    // there is none.
    bool findNext();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showFind();

    QPlainTextEdit* m_text;
    QWidget* m_findBar;
    QLineEdit* m_find;
    QLabel* m_notFound;
};
