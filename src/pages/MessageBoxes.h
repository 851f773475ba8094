// SPDX-License-Identifier: MIT
#pragma once

#include <QMessageBox>
#include <QString>

class QDialog;

// The program's name, as every message and dialog of the encoder is titled.
QString ProgramTitle();

// A message box or dialog as the encoder shows every one: titled with the program's name, a dialog
// with no minimise or maximise button. (Qt's application display name is not set for this: on X11 it
// would be appended to every window's title, the sheet's too.)
void PrepareDialog(QDialog& dialog, const QString& title = ProgramTitle());

// A message with OK alone.
void ShowMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                 const QString& informative = {});
